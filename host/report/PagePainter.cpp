#include "PagePainter.h"

#include "ReportProgress.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRawFont>

#include <array>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// A style's font on the painter's device. A report draws a hundred thousand cells: a text of characters the font
// has is drawn from its glyphs, looked up once and placed by their advances, so that it is neither shaped to be
// measured nor shaped again to be drawn. Any other text (a character the font lacks, a combining mark) is shaped.
struct DeviceFont {
    DeviceFont(TextStyle style, QPaintDevice* device)
        : font(fontOf(style), device), metrics(font, device), raw(QRawFont::fromFont(font))
    {}

    QFont font;
    QFontMetricsF metrics;
    QRawFont raw;
};

// A text's glyphs and where each starts from the text's origin.
struct Glyphs {
    QList<quint32> indexes;
    QList<double> offsets;
    double advance = 0;
};

// Nothing when the text must be shaped.
std::optional<Glyphs> glyphsOf(const QRawFont& raw, const QString& text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() >= 0x300)
            return std::nullopt;
    Glyphs glyphs{raw.glyphIndexesForString(text), {}, 0};
    if (glyphs.indexes.size() != text.size() || glyphs.indexes.contains(0))
        return std::nullopt;
    glyphs.offsets.reserve(glyphs.indexes.size());
    for (const QPointF& step : raw.advancesForGlyphIndexes(glyphs.indexes, QRawFont::KernedAdvances)) {
        glyphs.offsets.append(glyphs.advance);
        glyphs.advance += step.x();
    }
    return glyphs;
}

// The glyphs of the texts of one style that follow each other on a page, drawn as one run: a PDF then writes one text
// object for a page's cells, not one per cell.
class GlyphBatch {
public:
    void add(const QRawFont& raw, const Glyphs& glyphs, const QPointF& origin)
    {
        m_raw = raw;
        m_indexes += glyphs.indexes;
        for (double offset : glyphs.offsets)
            m_positions.append({origin.x() + offset, origin.y()});
    }

    void draw(QPainter& painter)
    {
        if (m_indexes.isEmpty())
            return;
        QGlyphRun run;
        run.setRawFont(m_raw);
        run.setGlyphIndexes(m_indexes);
        run.setPositions(m_positions);
        painter.drawGlyphRun(QPointF(), run);
        m_indexes.clear();
        m_positions.clear();
    }

private:
    QRawFont m_raw;
    QList<quint32> m_indexes;
    QList<QPointF> m_positions;
};

} // namespace

void paintPage(QPainter& painter, const PageContent& page)
{
    const double dotsPerMm = painter.device()->logicalDpiX() / 25.4;
    std::array<std::optional<DeviceFont>, TextStyleCount> fonts;
    painter.save();
    painter.setPen(QPen(Qt::black, 0.2 * dotsPerMm));
    int current = -1;
    GlyphBatch batch;
    for (const PageItem& item : page) {
        const QRectF box(item.rect.topLeft() * dotsPerMm, item.rect.size() * dotsPerMm);
        if (item.kind == PageItem::Kind::Line) {
            painter.drawLine(box.topLeft(), box.topRight());
            continue;
        }
        const int style = static_cast<int>(item.style);
        if (!fonts[style])
            fonts[style].emplace(item.style, painter.device());
        const DeviceFont& font = *fonts[style];
        if (style != current) {
            batch.draw(painter);
            painter.setFont(font.font);
            current = style;
        }
        QString shown = item.text;
        std::optional<Glyphs> glyphs = glyphsOf(font.raw, shown);
        double advance = glyphs ? glyphs->advance : font.metrics.horizontalAdvance(shown);
        if (advance > box.width()) {
            shown = font.metrics.elidedText(shown, Qt::ElideRight, box.width());
            advance = font.metrics.horizontalAdvance(shown);
            glyphs.reset();
        }
        double x = box.left();
        if (item.alignment & Qt::AlignRight)
            x = box.right() - advance;
        else if (item.alignment & Qt::AlignHCenter)
            x = box.left() + (box.width() - advance) / 2;
        const QPointF origin(x, box.top() + (box.height() + font.metrics.ascent() - font.metrics.descent()) / 2);
        if (glyphs)
            batch.add(font.raw, *glyphs, origin);
        else
            painter.drawText(origin, shown);
    }
    batch.draw(painter);
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
