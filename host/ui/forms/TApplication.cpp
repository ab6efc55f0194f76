#include "TApplication.h"

#include "Dispatch.h"

#include <QApplication>
#include <QMdiSubWindow>

TApplication& TApplication::instance()
{
    static QPointer<TApplication> application;
    if (!application) {
        application = new TApplication();
        application->setParent(QCoreApplication::instance());
    }
    return *application;
}

void TApplication::setMdiArea(QMdiArea* area)
{
    if (m_mdiArea)
        disconnect(m_mdiArea, nullptr, this, nullptr);
    m_mdiArea = area;
    if (area)
        connect(area, &QMdiArea::subWindowActivated, this, &TApplication::subWindowActivated);
}

void TApplication::attach(TfrmDadosGerRel* form)
{
    connect(form, &TfrmDadosGerRel::Activated, this, [this, form] { formActivated(form); });
    connect(form, &TfrmDadosGerRel::Hidden, this, [this, form] { formHidden(form); });
    if (!m_mdiArea)
        return;
    QMdiSubWindow* window =
        m_mdiArea->addSubWindow(form, Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
}

void TApplication::discard(TfrmDadosGerRel* form) { delete form->containerWindow(); }

void TApplication::subWindowActivated(QMdiSubWindow* window)
{
    if (!window)
        return;
    if (auto* form = qobject_cast<TfrmDadosGerRel*>(window->widget()))
        formActivated(form);
    else
        m_activeForm = nullptr;
}

void TApplication::formActivated(TfrmDadosGerRel* form)
{
    if (m_activeForm == form)
        return;
    m_activeForm = form;
    Dispatch([form] { form->FormActivate(form); });
}

void TApplication::formHidden(TfrmDadosGerRel* form)
{
    if (m_activeForm == form)
        m_activeForm = nullptr;
}

void TApplication::SetScreenCursor(int cursor)
{
    const bool busy = cursor == -11;
    if (busy != (m_cursor == -11)) {
        if (busy)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QGuiApplication::restoreOverrideCursor();
    }
    m_cursor = cursor;
}
