#include "ProgressWindow.h"

#include <QApplication>
#include <QProgressDialog>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 ShowAfterMs = 500;
constexpr qint64 EventsEveryMs = 40;

} // namespace

ProgressWindow::ProgressWindow(const QString& title) : m_title(title)
{
    m_started.start();
    m_sinceEvents.start();
}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::show()
{
    if (m_dialog)
        return;
    m_dialog = std::make_unique<QProgressDialog>(); // the object owns it, not a window that may go first
    m_dialog->setWindowTitle(m_title);
    m_dialog->setCancelButtonText(u"Cancelar"_s);
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setMinimumWidth(360);
    m_dialog->show();
}

bool ProgressWindow::update(const QString& text, qint64 done, qint64 total)
{
    m_dialog->setLabelText(text);
    m_dialog->setRange(0, total > 0 ? int(std::min<qint64>(total, INT_MAX)) : 0);
    m_dialog->setValue(total > 0 ? int(std::min<qint64>(done, INT_MAX)) : 0);
    QCoreApplication::processEvents();
    m_sinceEvents.restart();
    return !m_dialog->wasCanceled();
}

bool ProgressWindow::step(const QString& stage, qint64 done, qint64 total)
{
    if (!m_dialog && m_started.elapsed() < ShowAfterMs)
        return true;
    show();
    if (m_sinceEvents.elapsed() < EventsEveryMs)
        return !m_dialog->wasCanceled();
    return update(total > 0  ? u"%1: %2 de %3"_s.arg(stage).arg(done).arg(total)
                  : done > 0 ? u"%1: %2"_s.arg(stage).arg(done)
                             : stage + u"..."_s,
                  done, total);
}

bool ProgressWindow::waitingForServer(const QString& text)
{
    show(); // at once: the work has already waited for the server's answer
    return update(text, 0, 0);
}
