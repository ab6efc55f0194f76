#include "PagePainter.h"

#include "ReportProgress.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>

#include <array>
#include <optional>

using namespace Qt::StringLiterals;

void paintPage(QPainter& painter, const PageContent& page)
{
    const double dotsPerMm = painter.device()->logicalDpiX() / 25.4;
    std::array<std::optional<QFont>, TextStyleCount> fonts;
    std::array<std::optional<QFontMetricsF>, TextStyleCount> metrics;
    painter.save();
    painter.setPen(QPen(Qt::black, 0.2 * dotsPerMm));
    int current = -1;
    for (const PageItem& item : page) {
        const QRectF box(item.rect.topLeft() * dotsPerMm, item.rect.size() * dotsPerMm);
        if (item.kind == PageItem::Kind::Line) {
            painter.drawLine(box.topLeft(), box.topRight());
            continue;
        }
        const int style = static_cast<int>(item.style);
        if (!fonts[style]) {
            fonts[style] = fontOf(item.style);
            metrics[style].emplace(*fonts[style], painter.device());
        }
        if (style != current) {
            painter.setFont(*fonts[style]);
            current = style;
        }
        const QFontMetricsF& fm = *metrics[style];
        QString shown = item.text;
        double advance = fm.horizontalAdvance(shown);
        if (advance > box.width()) {
            shown = fm.elidedText(shown, Qt::ElideRight, box.width());
            advance = fm.horizontalAdvance(shown);
        }
        double x = box.left();
        if (item.alignment & Qt::AlignRight)
            x = box.right() - advance;
        else if (item.alignment & Qt::AlignHCenter)
            x = box.left() + (box.width() - advance) / 2;
        const double baseline = box.top() + (box.height() + fm.ascent() - fm.descent()) / 2;
        painter.drawText(QPointF(x, baseline), shown);
    }
    painter.restore();
}

QImage renderPage(const ReportLayout& layout, int index, double dpi)
{
    const QSizeF size = layout.pageLayout().fullRect(QPageLayout::Millimeter).size() * (dpi / 25.4);
    QImage image(size.toSize(), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintPage(painter, layout.page(index));
    return image;
}

void paintPages(const ReportLayout& layout, QPagedPaintDevice& device, ReportProgress& progress, int first, int last)
{
    last = last < 0 ? layout.pageCount() - 1 : std::min(last, layout.pageCount() - 1);
    device.setPageLayout(layout.pageLayout());
    QPainter painter(&device);
    for (int index = first; index <= last; ++index) {
        if (index > first)
            device.newPage();
        paintPage(painter, layout.page(index));
        Advance(progress, u"Gerando páginas"_s, index - first + 1, last - first + 1);
    }
}
