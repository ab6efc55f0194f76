#include "ReportLayout.h"

#include "ReportFormat.h"

#include <QPageSize>

#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// Millimetres.
constexpr double Margin = 10;
constexpr double TitleHeight = 7;
constexpr double HeaderLineHeight = 4.5;
constexpr double ParameterLineHeight = 3.6;
constexpr double BoundParameterLineHeight = 2.9;
constexpr double CaptionHeight = 5.5;
constexpr double CaptionLineHeight = 3.2;
constexpr double FooterHeight = 8;
constexpr double Gap = 1.5;
constexpr double CellPadding = 1; // on each side: 2 mm between the texts of two columns
constexpr double LevelIndent = 4;
constexpr double RowHeight = 4.2;
constexpr double BandHeight = 5.2;   // a heading or a subtotal of one line
constexpr double TotalsHeight = 6.5; // the totals of one line, under a double rule
constexpr double NoRowsHeight = 10;
constexpr double LineHeight = 3.6;   // each further line of a heading, subtotal or totals band
constexpr double MinLabelWidth = 25; // narrower, a sums label goes on lines of its own above the sums
constexpr double GridCellGap = 2;

PageItem text(const QRectF& rect, const QString& value, TextStyle style, Qt::Alignment alignment = Qt::AlignLeft)
{
    return {PageItem::Kind::Text, rect, value, style, alignment};
}

PageItem line(double left, double right, double y) { return {PageItem::Kind::Line, QRectF(left, y, right - left, 0)}; }

double sum(const QList<double>& values) { return std::accumulate(values.begin(), values.end(), 0.0); }

// Widths that fit the room: narrowed together when they are wider; then each at least its least width, taken from
// the columns wider than theirs; when even the least widths do not fit, narrowed together again.
void shareWidths(QList<double>& widths, const QList<double>& least, double room)
{
    if (const double wanted = sum(widths); wanted > room)
        for (double& width : widths)
            width *= room / wanted;
    double slack = 0;
    for (qsizetype i = 0; i < widths.size(); ++i) {
        widths[i] = std::max(widths[i], least[i]);
        slack += widths[i] - least[i];
    }
    if (const double excess = sum(widths) - room; excess > 0 && slack > 0)
        for (qsizetype i = 0; i < widths.size(); ++i)
            widths[i] -= (widths[i] - least[i]) * std::min(1.0, excess / slack);
    if (const double wanted = sum(widths); wanted > room)
        for (double& width : widths)
            width *= room / wanted;
}

// The texts in rows of perRow cells, each wrapped within its cell; the height they take.
double addGrid(PageContent& items, const QStringList& texts, TextStyle style, int perRow, double left, double width,
               double top, double lineHeight)
{
    const double cell = width / perRow;
    double y = top;
    for (qsizetype first = 0; first < texts.size(); first += perRow) {
        qsizetype rowLines = 1;
        for (qsizetype i = first; i < std::min(first + perRow, texts.size()); ++i) {
            const double cellLeft = left + double(i - first) * cell;
            const QStringList lines = wrappedText(style, texts[i], cell - GridCellGap);
            for (qsizetype k = 0; k < lines.size(); ++k)
                items.append(
                    text({cellLeft, y + double(k) * lineHeight, cell - GridCellGap, lineHeight}, lines[k], style));
            rowLines = std::max(rowLines, lines.size());
        }
        y += double(rowLines) * lineHeight;
    }
    return y - top;
}

double headingHeight(qsizetype lines) { return BandHeight + double(lines - 1) * LineHeight; }

} // namespace

ReportLayout::ReportLayout(std::shared_ptr<const ReportData> data) : m_data(std::move(data))
{
    for (const QString& header : m_data->header)
        m_header += wrappedText(TextStyle::Header, header, pageWidth() - 2 * Margin);
    placeColumns();
    wrapCaptions();
    buildParameterBlock();
    buildBands();
    breakPages();
}

QPageLayout ReportLayout::pageLayout() const
{
    return QPageLayout(QPageSize(QPageSize::A4), m_data->definition.orientation, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter);
}

double ReportLayout::pageWidth() const { return m_data->definition.orientation == QPageLayout::Landscape ? 297 : 210; }

double ReportLayout::pageHeight() const { return m_data->definition.orientation == QPageLayout::Landscape ? 210 : 297; }

// The columns side by side from the left margin, but for those of a group's field; each at least as wide as the
// longest word of its caption.
void ReportLayout::placeColumns()
{
    const ReportDefinition& definition = m_data->definition;
    for (const ReportGroup& group : definition.groups)
        m_groupFields.append(m_data->detail.fieldIndex(group.field));
    QList<int> shown;
    for (int i = 0; i < definition.columns.size(); ++i)
        if (!m_groupFields.contains(m_data->detail.fieldIndex(definition.columns[i].field)))
            shown.append(i);
    if (shown.isEmpty())
        for (int i = 0; i < definition.columns.size(); ++i)
            shown.append(i);

    QList<double> widths, least;
    for (int source : shown) {
        const ReportColumn& column = definition.columns[source];
        widths.append(column.width);
        double widest = 0;
        for (const QString& word : column.caption.split(u' ', Qt::SkipEmptyParts))
            widest = std::max(widest, textWidth(TextStyle::Caption, word));
        least.append(widest + 2 * CellPadding);
    }
    shareWidths(widths, least, pageWidth() - 2 * Margin);
    double left = Margin;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const ReportColumn& column = definition.columns[shown[i]];
        m_columns.append(
            {m_data->detail.fieldIndex(column.field), shown[i], left, widths[i], column.format, column.alignment});
        left += widths[i];
    }
}

void ReportLayout::wrapCaptions()
{
    for (const Column& column : m_columns) {
        m_captions.append(wrappedText(TextStyle::Caption, m_data->definition.columns[column.source].caption,
                                      column.width - 2 * CellPadding));
        m_captionLines = std::max(m_captionLines, int(m_captions.last().size()));
    }
}

// "Parâmetros", the screen's lines, then "P_NAME = value" of every parameter, smaller.
void ReportLayout::buildParameterBlock()
{
    const bool landscape = m_data->definition.orientation == QPageLayout::Landscape;
    const double width = pageWidth() - 2 * Margin;
    double y = 0;
    m_parameterBlock.append(text({Margin, y, width, HeaderLineHeight}, u"Parâmetros"_s, TextStyle::ParameterCaption));
    y += HeaderLineHeight;
    y += addGrid(m_parameterBlock, m_data->description.parameterLines, TextStyle::Parameter, landscape ? 3 : 2, Margin,
                 width, y, ParameterLineHeight);
    QStringList bound;
    for (const ReportParameter& parameter : m_data->parameters)
        bound.append(parameter.name + u" = "_s + parameterText(parameter.value));
    y += addGrid(m_parameterBlock, bound, TextStyle::BoundParameter, landscape ? 5 : 4, Margin, width, y,
                 BoundParameterLineHeight);
    m_parameterHeight = y + Gap;
}

// Walks the rows once: a heading where a group's value changes, a subtotal where it ends, the totals at the end.
void ReportLayout::buildBands()
{
    const ReportDefinition& definition = m_data->definition;
    const QList<QVariantList>& rows = m_data->detail.rows;
    if (rows.isEmpty()) {
        m_bands.push_back({Band::NoRows, 0, 1, 0});
        return;
    }
    const auto fieldOf = [&](const QString& name) { return m_data->detail.fieldIndex(name); };
    const auto linesOf = [](const SumsPlace& place) {
        return quint16(std::max(place.label.size(), qsizetype(place.sumsLine) + 1));
    };
    const qsizetype levels = definition.groups.size();
    QList<QList<int>> subtotalFields(levels);
    for (qsizetype level = 0; level < levels; ++level)
        for (const QString& name : definition.groups[level].subtotals)
            subtotalFields[level].append(fieldOf(name));
    QList<int> totalFields;
    for (const QString& name : definition.totals)
        totalFields.append(fieldOf(name));

    QList<Subtotal> open(levels);
    m_totals.fill(0.0, totalFields.size());
    const auto close = [&](qsizetype from) {
        for (qsizetype level = levels - 1; level >= from; --level)
            if (!subtotalFields[level].isEmpty()) {
                const SumsPlace place =
                    sumsPlace(subtotalLabel(int(level), open[level].row), Margin + double(level) * LevelIndent,
                              definition.groups[level].subtotals);
                m_bands.push_back({Band::Subtotal, quint8(level), linesOf(place), int(m_subtotals.size())});
                m_subtotals.push_back(open[level]);
            }
    };
    for (int row = 0; row < rows.size(); ++row) {
        const QVariantList& values = rows[row];
        qsizetype changed = row == 0 ? 0 : levels;
        for (qsizetype level = 0; level < levels && changed == levels; ++level)
            if (values[m_groupFields[level]] != rows[row - 1][m_groupFields[level]])
                changed = level;
        if (row > 0)
            close(changed);
        for (qsizetype level = changed; level < levels; ++level) {
            m_bands.push_back(
                {Band::Heading, quint8(level), quint16(headingLines(int(level), row, false).size()), row});
            open[level] = {row, QList<double>(subtotalFields[level].size(), 0.0)};
        }
        m_bands.push_back({Band::Row, 0, 1, row});
        for (qsizetype level = 0; level < levels; ++level)
            for (qsizetype i = 0; i < subtotalFields[level].size(); ++i)
                open[level].sums[i] += amountOf(values[subtotalFields[level][i]]);
        for (qsizetype i = 0; i < totalFields.size(); ++i)
            m_totals[i] += amountOf(values[totalFields[i]]);
    }
    close(0);
    if (!totalFields.isEmpty())
        m_bands.push_back({Band::Totals, 0, linesOf(sumsPlace(u"Total geral"_s, Margin, definition.totals)), 0});
}

double ReportLayout::heightOf(const Band& band) const
{
    const double further = double(band.lines - 1) * LineHeight;
    switch (band.kind) {
    case Band::Row:
        return RowHeight;
    case Band::Heading:
    case Band::Subtotal:
        return BandHeight + further;
    case Band::Totals:
        return TotalsHeight + further;
    case Band::NoRows:
        return NoRowsHeight;
    }
    return 0;
}

// The band and those that must share its page: the headings that open groups together, with their first row; a row
// with the subtotals and totals that follow it (a group's last row).
double ReportLayout::keptTogether(size_t band) const
{
    double height = 0;
    size_t next = band;
    while (next < m_bands.size() && m_bands[next].kind == Band::Heading)
        height += heightOf(m_bands[next++]);
    if (next < m_bands.size() && m_bands[next].kind == Band::Row) {
        height += heightOf(m_bands[next++]);
        while (next < m_bands.size() && (m_bands[next].kind == Band::Subtotal || m_bands[next].kind == Band::Totals))
            height += heightOf(m_bands[next++]);
    }
    return next == band ? heightOf(m_bands[band]) : height;
}

double ReportLayout::bodyTop(int page) const
{
    double top = Margin + TitleHeight + double(m_header.size()) * HeaderLineHeight + Gap;
    if (page == 0)
        top += m_parameterHeight;
    return top + CaptionHeight + (m_captionLines - 1) * CaptionLineHeight + Gap;
}

double ReportLayout::bodyBottom() const { return pageHeight() - Margin - FooterHeight; }

// Follows which groups are open, so that a page that starts within them repeats their headings.
void ReportLayout::breakPages()
{
    QList<int> open; // a row of each open group, outermost first
    m_pages.push_back({0, {}});
    double top = bodyTop(0), y = top;
    for (size_t i = 0; i < m_bands.size(); ++i) {
        const Band& band = m_bands[i];
        if (band.kind == Band::Heading)
            open.resize(std::min(open.size(), qsizetype(band.level)));
        else if (band.kind == Band::Subtotal)
            open.resize(std::min(open.size(), qsizetype(band.level) + 1));
        if (y + keptTogether(i) > bodyBottom() && y > top) {
            const int page = pageCount();
            m_pages.push_back({int(i), open});
            top = bodyTop(page);
            for (qsizetype level = 0; level < open.size(); ++level)
                top += headingHeight(headingLines(int(level), open[level], true).size());
            y = top;
        }
        y += heightOf(band);
        if (band.kind == Band::Heading)
            open.append(band.index);
        else if (band.kind == Band::Subtotal)
            open.resize(band.level);
    }
}

PageContent ReportLayout::page(int index) const
{
    PageContent content;
    addPageHeader(content, index);
    const PageStart& start = m_pages.at(index);
    const size_t end = index + 1 < pageCount() ? m_pages.at(index + 1).band : m_bands.size();
    double y = bodyTop(index);
    for (qsizetype level = 0; level < start.continued.size(); ++level)
        y += addHeading(content, int(level), start.continued[level], true, y);
    for (size_t i = start.band; i < end; ++i) {
        addBand(content, m_bands[i], y);
        y += heightOf(m_bands[i]);
    }
    addFooter(content, index);
    return content;
}

QString ReportLayout::headingText(int level, int row, bool continued) const
{
    const ReportGroup& group = m_data->definition.groups[level];
    const QString value = cellText(m_data->detail.rows[row][m_groupFields[level]], group.format);
    return group.caption + u": "_s + value + (continued ? u" (continuação)"_s : QString());
}

QStringList ReportLayout::headingLines(int level, int row, bool continued) const
{
    return wrappedText(TextStyle::Heading, headingText(level, row, continued),
                       pageWidth() - 2 * Margin - level * LevelIndent);
}

QString ReportLayout::subtotalLabel(int level, int row) const
{
    const ReportGroup& group = m_data->definition.groups[level];
    return u"Subtotal %1 %2"_s.arg(group.caption,
                                   cellText(m_data->detail.rows[row][m_groupFields[level]], group.format));
}

// Beside the sums, from labelLeft up to the first summed column, when there is room; otherwise on lines of its own
// above them.
ReportLayout::SumsPlace ReportLayout::sumsPlace(const QString& label, double labelLeft, const QStringList& fields) const
{
    const double right = pageWidth() - Margin;
    double labelRight = right;
    for (const Column& column : m_columns)
        if (fields.contains(m_data->definition.columns[column.source].field, Qt::CaseInsensitive))
            labelRight = std::min(labelRight, column.left);
    const double beside = labelRight - labelLeft - CellPadding;
    if (beside >= MinLabelWidth || textWidth(TextStyle::Sum, label) <= beside)
        return {wrappedText(TextStyle::Sum, label, beside), labelLeft, beside, 0};
    const QStringList above = wrappedText(TextStyle::Sum, label, right - labelLeft);
    return {above, labelLeft, right - labelLeft, int(above.size())};
}

void ReportLayout::addPageHeader(PageContent& page, int index) const
{
    const ReportDefinition& definition = m_data->definition;
    const double left = Margin, right = pageWidth() - Margin, width = right - left;
    page.append(text({left, Margin, width - 30, TitleHeight}, definition.title, TextStyle::Title));
    page.append(text({right - 30, Margin, 30, TitleHeight}, definition.code, TextStyle::Code, Qt::AlignRight));
    double y = Margin + TitleHeight;
    for (const QString& header : m_header) {
        page.append(text({left, y, width, HeaderLineHeight}, header, TextStyle::Header));
        y += HeaderLineHeight;
    }
    page.append(line(left, right, y + Gap / 2));
    y += Gap;
    if (index == 0) {
        for (PageItem item : m_parameterBlock) {
            item.rect.translate(0, y);
            page.append(item);
        }
        y += m_parameterHeight;
        page.append(line(left, right, y - Gap / 2));
    }
    // Captions of fewer lines stand on the bottom line, over their column.
    for (qsizetype i = 0; i < m_columns.size(); ++i) {
        const Column& column = m_columns[i];
        const qsizetype offset = m_captionLines - m_captions[i].size();
        for (qsizetype k = 0; k < m_captions[i].size(); ++k)
            page.append(text({column.left + CellPadding, y + double(offset + k) * CaptionLineHeight,
                              column.width - 2 * CellPadding, CaptionHeight},
                             m_captions[i][k], TextStyle::Caption, column.alignment));
    }
    page.append(line(left, right, y + CaptionHeight + (m_captionLines - 1) * CaptionLineHeight));
}

void ReportLayout::addFooter(PageContent& page, int index) const
{
    const double left = Margin, right = pageWidth() - Margin, top = bodyBottom() + Gap;
    page.append(line(left, right, top));
    const QString emitted = u"Emitido em %1 às %2"_s.arg(m_data->emitted.toString(u"dd/MM/yyyy"_s),
                                                         m_data->emitted.toString(u"HH:mm:ss"_s));
    page.append(text({left, top + 1, 120, 5}, emitted, TextStyle::Footer));
    // A run cut short does not know how many pages the report has.
    const QString number = m_data->partial ? u"Página %1 de ? (prévia parcial)"_s.arg(index + 1)
                                           : u"Página %1 de %2"_s.arg(index + 1).arg(pageCount());
    page.append(text({right - 60, top + 1, 60, 5}, number, TextStyle::Footer, Qt::AlignRight));
}

double ReportLayout::addHeading(PageContent& page, int level, int row, bool continued, double top) const
{
    const double indent = Margin + level * LevelIndent, right = pageWidth() - Margin;
    const QStringList lines = headingLines(level, row, continued);
    for (qsizetype k = 0; k < lines.size(); ++k)
        page.append(
            text({indent, top + double(k) * LineHeight, right - indent, BandHeight}, lines[k], TextStyle::Heading));
    return headingHeight(lines.size());
}

void ReportLayout::addBand(PageContent& page, const Band& band, double top) const
{
    const ReportDefinition& definition = m_data->definition;
    const double left = Margin, right = pageWidth() - Margin;
    switch (band.kind) {
    case Band::Row: {
        const QVariantList& row = m_data->detail.rows[band.index];
        for (const Column& column : m_columns) {
            const QString value = cellText(row[column.field], column.format);
            if (!value.isEmpty())
                page.append(text({column.left + CellPadding, top, column.width - 2 * CellPadding, RowHeight}, value,
                                 TextStyle::Cell, column.alignment));
        }
        break;
    }
    case Band::Heading:
        addHeading(page, band.level, band.index, false, top);
        break;
    case Band::Subtotal: {
        const ReportGroup& group = definition.groups[band.level];
        const Subtotal& subtotal = m_subtotals[band.index];
        const double indent = left + band.level * LevelIndent;
        page.append(line(indent, right, top + 0.3));
        addSums(page, sumsPlace(subtotalLabel(band.level, subtotal.row), indent, group.subtotals), group.subtotals,
                subtotal.sums, top, BandHeight);
        break;
    }
    case Band::Totals:
        page.append(line(left, right, top + 0.3));
        page.append(line(left, right, top + 0.9));
        addSums(page, sumsPlace(u"Total geral"_s, left, definition.totals), definition.totals, m_totals, top + 0.6,
                TotalsHeight - 0.6);
        break;
    case Band::NoRows:
        page.append(text({left, top + 2, right - left, 6}, u"Nenhum documento atende aos parâmetros informados."_s,
                         TextStyle::Notice, Qt::AlignHCenter));
        break;
    }
}

// Each line of the label, then each sum under its column, on the place's line of sums.
void ReportLayout::addSums(PageContent& page, const SumsPlace& place, const QStringList& fields,
                           const QList<double>& sums, double top, double height) const
{
    for (qsizetype k = 0; k < place.label.size(); ++k)
        page.append(text({place.labelLeft, top + double(k) * LineHeight, place.labelWidth, height}, place.label[k],
                         TextStyle::Sum));
    const double sumsTop = top + place.sumsLine * LineHeight;
    for (const Column& column : m_columns) {
        const QString& field = m_data->definition.columns[column.source].field;
        const auto named = std::find_if(fields.begin(), fields.end(), [&](const QString& name) {
            return name.compare(field, Qt::CaseInsensitive) == 0;
        });
        if (named == fields.end())
            continue;
        const qsizetype i = named - fields.begin();
        page.append(text({column.left + CellPadding, sumsTop, column.width - 2 * CellPadding, height},
                         cellText(sums[i], column.format), TextStyle::Sum, column.alignment));
    }
}
