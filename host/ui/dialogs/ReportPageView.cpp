#include "ReportPageView.h"

#include "Dispatch.h"
#include "PagePainter.h"

#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace {

constexpr int Border = 24; // pixels around the page
const QList<int> ZoomSteps = {25, 50, 75, 100, 125, 150, 200, 300, 400};
enum ZoomItem { FitWidth, FitPage, FirstStep };

} // namespace

ReportPageView::ReportPageView(QWidget* parent)
    : QScrollArea(parent), m_picture(new QLabel), m_zoomBox(new QComboBox(this))
{
    m_picture->setAlignment(Qt::AlignCenter);
    setWidget(m_picture);
    setWidgetResizable(true);
    setAlignment(Qt::AlignCenter);
    setBackgroundRole(QPalette::Dark);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(u"Página do relatório"_s);
    m_zoomBox->setObjectName(u"zoom"_s);
    m_zoomBox->setAccessibleName(u"Zoom"_s);
    m_zoomBox->addItems({u"Ajustar à largura"_s, u"Página inteira"_s});
    for (int percent : ZoomSteps)
        m_zoomBox->addItem(u"%1%"_s.arg(percent));
    connect(m_zoomBox, &QComboBox::activated, this, [this](int item) { Dispatch([&] { setZoomItem(item); }); });
    viewport()->installEventFilter(this);
}

ReportPageView::~ReportPageView() = default;

void ReportPageView::setReport(std::shared_ptr<const ReportLayout> layout)
{
    m_layout = std::move(layout);
    m_page = std::clamp(m_page, 0, m_layout->pageCount() - 1);
    render();
}

void ReportPageView::showPage(int index)
{
    const int page = std::clamp(index, 0, m_layout->pageCount() - 1);
    if (page == m_page)
        return;
    m_page = page;
    render();
    verticalScrollBar()->setValue(0);
}

void ReportPageView::zoomIn() { zoomBy(+1); }
void ReportPageView::zoomOut() { zoomBy(-1); }

int ReportPageView::zoomPercent() const { return qRound(zoomDpi() * 100 / logicalDpiX()); }

void ReportPageView::setZoomItem(int item)
{
    m_zoomItem = item;
    render();
}

// To the next fixed zoom above or below the zoom in force; none beyond 25 % and 400 %.
void ReportPageView::zoomBy(int direction)
{
    const int now = zoomPercent();
    for (qsizetype i = 0; i < ZoomSteps.size(); ++i) {
        const qsizetype step = direction > 0 ? i : ZoomSteps.size() - 1 - i;
        if (direction > 0 ? ZoomSteps[step] > now : ZoomSteps[step] < now) {
            setZoomItem(FirstStep + int(step));
            return;
        }
    }
}

double ReportPageView::zoomDpi() const
{
    const double real = logicalDpiX();
    if (m_zoomItem >= FirstStep)
        return real * ZoomSteps[m_zoomItem - FirstStep] / 100;
    if (!m_layout)
        return real;
    const QSizeF page = m_layout->pageLayout().fullRect(QPageLayout::Inch).size();
    const QSize room = viewport()->size() - QSize(Border, Border);
    double fitting = room.width() / page.width();
    if (m_zoomItem == FitPage)
        fitting = std::min(fitting, room.height() / page.height());
    return std::clamp(fitting, real * ZoomSteps.first() / 100, real * ZoomSteps.last() / 100);
}

bool ReportPageView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == viewport() && event->type() == QEvent::Resize && m_zoomItem < FirstStep)
        Dispatch([this] { render(); });
    if (watched == viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int turn = wheel->angleDelta().y();
            if (turn != 0)
                Dispatch([&] { zoomBy(turn > 0 ? +1 : -1); });
            return true;
        }
    }
    return QScrollArea::eventFilter(watched, event);
}

void ReportPageView::render()
{
    m_zoomBox->setCurrentIndex(m_zoomItem);
    if (!m_layout)
        return;
    const double ratio = devicePixelRatioF();
    QPixmap pixmap = QPixmap::fromImage(renderPage(*m_layout, m_page, zoomDpi() * ratio));
    pixmap.setDevicePixelRatio(ratio);
    m_picture->setPixmap(pixmap);
}
