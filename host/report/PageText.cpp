#include "PageText.h"

#include <QFontMetricsF>
#include <QImage>

#include <array>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Measures are taken at a printer's resolution; a screen's hinting may widen a text a little.
constexpr double MeasureDpi = 1200;
constexpr double Spare = 1.03;

const QFontMetricsF& metricsOf(TextStyle style)
{
    static std::array<std::unique_ptr<QFontMetricsF>, TextStyleCount> metrics;
    std::unique_ptr<QFontMetricsF>& known = metrics[static_cast<int>(style)];
    if (!known) {
        QImage device(1, 1, QImage::Format_RGB32);
        device.setDotsPerMeterX(qRound(MeasureDpi / 0.0254));
        device.setDotsPerMeterY(qRound(MeasureDpi / 0.0254));
        known = std::make_unique<QFontMetricsF>(fontOf(style), &device);
    }
    return *known;
}

// The longest start of text that fits width, at least one character.
qsizetype fittingLength(TextStyle style, QStringView text, double width)
{
    qsizetype length = text.size();
    while (length > 1 && textWidth(style, text.left(length).toString()) > width)
        --length;
    return length;
}

} // namespace

QFont fontOf(TextStyle style)
{
    struct Look {
        double points;
        bool bold;
        bool italic;
    };
    static const std::array<Look, TextStyleCount> looks = {{
        {13, true, false},   // Title
        {10, true, false},   // Code
        {8.5, false, false}, // Header
        {7.5, true, false},  // ParameterCaption
        {7.5, false, false}, // Parameter
        {6, false, false},   // BoundParameter
        {7.5, true, false},  // Caption
        {7.5, false, false}, // Cell
        {8, true, false},    // Heading
        {7.5, true, false},  // Sum
        {9, false, true},    // Notice
        {7, false, false},   // Footer
    }};
    const Look& look = looks[static_cast<int>(style)];
    QFont font;
    font.setFamilies({u"Liberation Sans"_s, u"Arial"_s, u"DejaVu Sans"_s, u"Helvetica"_s});
    font.setPointSizeF(look.points);
    font.setBold(look.bold);
    font.setItalic(look.italic);
    // Unhinted, a text is as wide on the screen as on paper, in proportion.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

double textWidth(TextStyle style, const QString& text)
{
    return metricsOf(style).horizontalAdvance(text) * Spare * 25.4 / MeasureDpi;
}

QStringList wrappedText(TextStyle style, const QString& text, double width)
{
    if (textWidth(style, text) <= width)
        return {text};
    QStringList lines;
    QString line;
    for (QString word : text.split(u' ', Qt::SkipEmptyParts)) {
        const QString joined = line.isEmpty() ? word : line + u' ' + word;
        if (textWidth(style, joined) <= width) {
            line = joined;
            continue;
        }
        if (!line.isEmpty())
            lines.append(line);
        while (textWidth(style, word) > width) {
            const qsizetype length = fittingLength(style, word, width);
            lines.append(word.left(length));
            word = word.mid(length);
        }
        line = word;
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines.append(line);
    return lines;
}
