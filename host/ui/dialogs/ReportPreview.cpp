#include "ReportPreview.h"

#include "Dispatch.h"
#include "PagePainter.h"
#include "ReportOutput.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr double Border = 24; // pixels around the page

} // namespace

ReportPreview::ReportPreview(std::shared_ptr<const ReportLayout> layout, QWidget* parent)
    : QWidget(parent, Qt::Window), m_layout(std::move(layout)), m_scroll(new QScrollArea(this)), m_view(new QLabel),
      m_pageNumber(new QSpinBox), m_zoomChoice(new QComboBox)
{
    setObjectName(u"ReportPreview"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"Visualizar - %1"_s.arg(m_layout->data().definition.title));
    resize(960, 720);
    m_view->setObjectName(u"page"_s);
    m_view->setAlignment(Qt::AlignCenter);
    m_scroll->setWidget(m_view);
    m_scroll->setWidgetResizable(true);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setFocusPolicy(Qt::StrongFocus);
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(buildToolBar());
    box->addWidget(m_scroll);
    setFocusProxy(m_scroll);
    m_scroll->viewport()->installEventFilter(this);
    render();
}

ReportPreview::~ReportPreview() = default;

QToolBar* ReportPreview::buildToolBar()
{
    auto* bar = new QToolBar;
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
    action(u"Página anterior"_s, QStyle::SP_MediaSeekBackward, Qt::Key_PageUp, [this] { showPage(m_page - 1); });
    m_pageNumber->setRange(1, m_layout->pageCount());
    m_pageNumber->setObjectName(u"pageNumber"_s);
    m_pageNumber->setKeyboardTracking(false);
    connect(m_pageNumber, &QSpinBox::valueChanged, this,
            [this](int number) { Dispatch([&] { showPage(number - 1); }); });
    bar->addWidget(m_pageNumber);
    bar->addWidget(new QLabel(u" de %1 "_s.arg(m_layout->pageCount())));
    action(u"Próxima página"_s, QStyle::SP_MediaSeekForward, Qt::Key_PageDown, [this] { showPage(m_page + 1); });
    action(u"Última página"_s, QStyle::SP_MediaSkipForward, Qt::Key_End,
           [this] { showPage(m_layout->pageCount() - 1); });
    bar->addSeparator();
    m_zoomChoice->addItems({u"Ajustar à largura"_s, u"Página inteira"_s, u"100%"_s});
    m_zoomChoice->setObjectName(u"zoom"_s);
    connect(m_zoomChoice, &QComboBox::activated, this, [this](int index) { Dispatch([&] { setZoom(Zoom(index)); }); });
    bar->addWidget(m_zoomChoice);
    const auto textOnly = [&](QAction* added) {
        qobject_cast<QToolButton*>(bar->widgetForAction(added))->setToolButtonStyle(Qt::ToolButtonTextOnly);
    };
    textOnly(action(u"Ampliar"_s, QStyle::SP_ArrowUp, QKeySequence::ZoomIn, [this] {
        m_scale *= 1.25;
        render();
    }));
    textOnly(action(u"Reduzir"_s, QStyle::SP_ArrowDown, QKeySequence::ZoomOut, [this] {
        m_scale /= 1.25;
        render();
    }));
    bar->addSeparator();
    const auto besideIcon = [&](QAction* added) {
        qobject_cast<QToolButton*>(bar->widgetForAction(added))->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    };
    besideIcon(action(u"Imprimir"_s, QStyle::SP_FileIcon, QKeySequence::Print, [this] { PrintReport(*m_layout); }));
    besideIcon(action(u"Salvar como"_s, QStyle::SP_DialogSaveButton, QKeySequence::Save, [this] {
        const QString fileName = AskReportFile(m_layout->data().definition.title);
        if (!fileName.isEmpty())
            SaveReport(*m_layout, fileName);
    }));
    besideIcon(action(u"Fechar"_s, QStyle::SP_DialogCloseButton, Qt::Key_Escape, [this] { close(); }));
    return bar;
}

void ReportPreview::showPage(int index)
{
    const int page = std::clamp(index, 0, m_layout->pageCount() - 1);
    if (page == m_page && !m_view->pixmap().isNull())
        return;
    m_page = page;
    render();
    m_scroll->verticalScrollBar()->setValue(0);
}

void ReportPreview::setZoom(Zoom zoom)
{
    m_zoom = zoom;
    m_scale = 1.0;
    m_zoomChoice->setCurrentIndex(int(zoom));
    render();
}

bool ReportPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize && m_zoom != Zoom::Actual)
        Dispatch([this] { render(); });
    return QWidget::eventFilter(watched, event);
}

double ReportPreview::fittingDpi() const
{
    const QSizeF page = m_layout->pageLayout().fullRect(QPageLayout::Inch).size();
    const QSize room = m_scroll->viewport()->size() - QSize(int(Border), int(Border));
    const double byWidth = room.width() / page.width();
    switch (m_zoom) {
    case Zoom::FitWidth:
        return byWidth;
    case Zoom::FitPage:
        return std::min(byWidth, room.height() / page.height());
    case Zoom::Actual:
        break;
    }
    return logicalDpiX();
}

void ReportPreview::render()
{
    const double dpi = std::clamp(fittingDpi() * m_scale, 24.0, 300.0); // a page at 300 dpi is some 35 MB
    const QImage image = renderPage(*m_layout, m_page, dpi * devicePixelRatioF());
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(devicePixelRatioF());
    m_view->setPixmap(pixmap);
    const QSignalBlocker quiet(m_pageNumber);
    m_pageNumber->setValue(m_page + 1);
}
