#include "ReportPreview.h"

#include "Dispatch.h"
#include "ReportLayout.h"
#include "ReportOutput.h"
#include "ReportPageView.h"

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

ReportPreview::ReportPreview(std::shared_ptr<const ReportLayout> layout, QWidget* parent)
    : QMainWindow(parent), m_layout(std::move(layout)), m_view(new ReportPageView), m_pageNumber(new QSpinBox)
{
    setObjectName(u"ReportPreview"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"Visualizar - %1"_s.arg(m_layout->data().definition.title));
    resize(960, 720);
    m_view->setObjectName(u"page"_s);
    addToolBar(buildToolBar());
    setCentralWidget(m_view);
    setFocusProxy(m_view);
    m_view->setReport(m_layout);
}

ReportPreview::~ReportPreview() = default;

QToolBar* ReportPreview::buildToolBar()
{
    auto* bar = new QToolBar(u"Visualização"_s);
    bar->setObjectName(u"toolbar"_s);
    bar->setMovable(false);
    const auto action = [&](const QString& text, QStyle::StandardPixmap icon, const QKeySequence& key,
                            std::function<void()> run) {
        QAction* added = bar->addAction(style()->standardIcon(icon), text);
        added->setObjectName(text);
        added->setShortcut(key);
        added->setToolTip(key.isEmpty() ? text : u"%1 (%2)"_s.arg(text, key.toString(QKeySequence::NativeText)));
        connect(added, &QAction::triggered, this, [run] { Dispatch(run); });
        return added;
    };
    action(u"Primeira página"_s, QStyle::SP_MediaSkipBackward, Qt::Key_Home, [this] { showPage(0); });
    action(u"Página anterior"_s, QStyle::SP_MediaSeekBackward, Qt::Key_PageUp,
           [this] { showPage(m_view->page() - 1); });
    m_pageNumber->setRange(1, m_layout->pageCount());
    m_pageNumber->setObjectName(u"pageNumber"_s);
    m_pageNumber->setAccessibleName(u"Número da página"_s);
    m_pageNumber->setKeyboardTracking(false);
    connect(m_pageNumber, &QSpinBox::valueChanged, this,
            [this](int number) { Dispatch([&] { showPage(number - 1); }); });
    bar->addWidget(m_pageNumber);
    bar->addWidget(new QLabel(u" de %1 "_s.arg(m_layout->pageCount())));
    action(u"Próxima página"_s, QStyle::SP_MediaSeekForward, Qt::Key_PageDown,
           [this] { showPage(m_view->page() + 1); });
    action(u"Última página"_s, QStyle::SP_MediaSkipForward, Qt::Key_End,
           [this] { showPage(m_layout->pageCount() - 1); });
    bar->addSeparator();
    bar->addWidget(m_view->zoomBox());
    const auto textOnly = [&](QAction* added) {
        qobject_cast<QToolButton*>(bar->widgetForAction(added))->setToolButtonStyle(Qt::ToolButtonTextOnly);
    };
    textOnly(action(u"Ampliar"_s, QStyle::SP_ArrowUp, QKeySequence::ZoomIn, [this] { m_view->zoomIn(); }));
    textOnly(action(u"Reduzir"_s, QStyle::SP_ArrowDown, QKeySequence::ZoomOut, [this] { m_view->zoomOut(); }));
    bar->addSeparator();
    const auto besideIcon = [&](QAction* added) {
        qobject_cast<QToolButton*>(bar->widgetForAction(added))->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    };
    besideIcon(action(u"Imprimir"_s, QStyle::SP_FileIcon, QKeySequence::Print, [this] { PrintReport(*m_layout); }));
    besideIcon(action(u"Salvar como"_s, QStyle::SP_DialogSaveButton, QKeySequence::Save, [this] {
        const QString fileName = AskReportFile(m_layout->data().definition.title);
        if (!fileName.isEmpty())
            SaveReport(m_layout->sharedData(), fileName);
    }));
    besideIcon(action(u"Fechar"_s, QStyle::SP_DialogCloseButton, Qt::Key_Escape, [this] { close(); }));
    return bar;
}

void ReportPreview::showPage(int index)
{
    m_view->showPage(index);
    const QSignalBlocker quiet(m_pageNumber);
    m_pageNumber->setValue(m_view->page() + 1);
}
