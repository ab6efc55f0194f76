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
constexpr double ParameterLineHeight = 3.8;
constexpr double CaptionHeight = 5.5;
constexpr double FooterHeight = 8;
constexpr double Gap = 1.5;
constexpr double CellPadding = 0.8;
constexpr double LevelIndent = 4;

int parametersPerLine(QPageLayout::Orientation orientation) { return orientation == QPageLayout::Landscape ? 4 : 3; }

PageItem text(const QRectF& rect, const QString& value, TextStyle style, Qt::Alignment alignment = Qt::AlignLeft)
{
    return {PageItem::Kind::Text, rect, value, style, alignment};
}

PageItem line(double left, double right, double y) { return {PageItem::Kind::Line, QRectF(left, y, right - left, 0)}; }

} // namespace

ReportLayout::ReportLayout(std::shared_ptr<const ReportData> data) : m_data(std::move(data))
{
    placeColumns();
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

// The columns side by side from the left margin, narrowed together when they are wider than the page.
void ReportLayout::placeColumns()
{
    const ReportDefinition& definition = m_data->definition;
    const double wanted = std::accumulate(definition.columns.begin(), definition.columns.end(), 0.0,
                                          [](double sum, const ReportColumn& c) { return sum + c.width; });
    const double scale = std::min(1.0, (pageWidth() - 2 * Margin) / wanted);
    double left = Margin;
    for (const ReportColumn& column : definition.columns) {
        m_columns.append(
            {m_data->detail.fieldIndex(column.field), left, column.width * scale, column.format, column.alignment});
        left += column.width * scale;
    }
    for (const ReportGroup& group : definition.groups)
        m_groupFields.append(m_data->detail.fieldIndex(group.field));
}

// Walks the rows once: a heading where a group's value changes, a subtotal where it ends, the totals at the end.
void ReportLayout::buildBands()
{
    const ReportDefinition& definition = m_data->definition;
    const QList<QVariantList>& rows = m_data->detail.rows;
    if (rows.isEmpty()) {
        m_bands.push_back({Band::NoRows, 0, 0});
        return;
    }
    const auto fieldOf = [&](const QString& name) { return m_data->detail.fieldIndex(name); };
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
                m_bands.push_back({Band::Subtotal, quint8(level), int(m_subtotals.size())});
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
            m_bands.push_back({Band::Heading, quint8(level), row});
            open[level] = {row, QList<double>(subtotalFields[level].size(), 0.0)};
        }
        m_bands.push_back({Band::Row, 0, row});
        for (qsizetype level = 0; level < levels; ++level)
            for (qsizetype i = 0; i < subtotalFields[level].size(); ++i)
                open[level].sums[i] += amountOf(values[subtotalFields[level][i]]);
        for (qsizetype i = 0; i < totalFields.size(); ++i)
            m_totals[i] += amountOf(values[totalFields[i]]);
    }
    close(0);
    if (!totalFields.isEmpty())
        m_bands.push_back({Band::Totals, 0, 0});
}

double ReportLayout::heightOf(Band::Kind kind)
{
    switch (kind) {
    case Band::Row:
        return 4.2;
    case Band::Heading:
    case Band::Subtotal:
        return 5.2;
    case Band::Totals:
        return 6.5;
    case Band::NoRows:
        return 10;
    }
    return 0;
}

int ReportLayout::parameterLines() const
{
    const int perLine = parametersPerLine(m_data->definition.orientation);
    return (static_cast<int>(m_data->parameters.size()) + perLine - 1) / perLine;
}

double ReportLayout::bodyTop(int page) const
{
    double top = Margin + TitleHeight + m_data->header.size() * HeaderLineHeight + Gap;
    if (page == 0)
        top += HeaderLineHeight + parameterLines() * ParameterLineHeight + Gap;
    return top + CaptionHeight + Gap;
}

double ReportLayout::bodyBottom() const { return pageHeight() - Margin - FooterHeight; }

void ReportLayout::breakPages()
{
    m_pageStarts.push_back(0);
    double y = bodyTop(0);
    for (size_t i = 0; i < m_bands.size(); ++i) {
        const double height = heightOf(m_bands[i].kind);
        double needed = height;
        if (m_bands[i].kind == Band::Heading) { // the headings that open groups together, and the first row
            size_t next = i + 1;
            while (next < m_bands.size() && m_bands[next].kind == Band::Heading)
                needed += heightOf(m_bands[next++].kind);
            needed += heightOf(Band::Row);
        }
        const int page = static_cast<int>(m_pageStarts.size()) - 1;
        if (y + needed > bodyBottom() && y > bodyTop(page)) {
            m_pageStarts.push_back(static_cast<int>(i));
            y = bodyTop(page + 1);
        }
        y += height;
    }
}

PageContent ReportLayout::page(int index) const
{
    PageContent content;
    addPageHeader(content, index);
    const size_t first = m_pageStarts.at(index);
    const size_t end = index + 1 < pageCount() ? m_pageStarts.at(index + 1) : m_bands.size();
    double y = bodyTop(index);
    for (size_t i = first; i < end; ++i) {
        addBand(content, m_bands[i], y);
        y += heightOf(m_bands[i].kind);
    }
    addFooter(content, index);
    return content;
}

void ReportLayout::addPageHeader(PageContent& page, int index) const
{
    const ReportDefinition& definition = m_data->definition;
    const double left = Margin, right = pageWidth() - Margin, width = right - left;
    page.append(text({left, Margin, width - 30, TitleHeight}, definition.title, TextStyle::Title));
    page.append(text({right - 30, Margin, 30, TitleHeight}, definition.code, TextStyle::Code, Qt::AlignRight));
    double y = Margin + TitleHeight;
    for (const QString& header : m_data->header) {
        page.append(text({left, y, width, HeaderLineHeight}, header, TextStyle::Header));
        y += HeaderLineHeight;
    }
    page.append(line(left, right, y + Gap / 2));
    y += Gap;
    if (index == 0) {
        page.append(text({left, y, width, HeaderLineHeight}, u"Parâmetros"_s, TextStyle::ParameterCaption));
        y += HeaderLineHeight;
        const int perLine = parametersPerLine(definition.orientation);
        const double cell = width / perLine;
        for (qsizetype i = 0; i < m_data->parameters.size(); ++i) {
            const ReportParameter& parameter = m_data->parameters[i];
            page.append(text(
                {left + (i % perLine) * cell, y + (i / perLine) * ParameterLineHeight, cell - 2, ParameterLineHeight},
                parameter.name + u" = "_s + parameterText(parameter.value), TextStyle::Parameter));
        }
        y += parameterLines() * ParameterLineHeight + Gap;
        page.append(line(left, right, y - Gap / 2));
    }
    for (qsizetype i = 0; i < m_columns.size(); ++i) {
        const Column& column = m_columns[i];
        page.append(text({column.left + CellPadding, y, column.width - 2 * CellPadding, CaptionHeight},
                         definition.columns[i].caption, TextStyle::Caption, column.alignment));
    }
    page.append(line(left, right, y + CaptionHeight));
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

void ReportLayout::addBand(PageContent& page, const Band& band, double top) const
{
    const ReportDefinition& definition = m_data->definition;
    const double left = Margin, right = pageWidth() - Margin, height = heightOf(band.kind);
    switch (band.kind) {
    case Band::Row: {
        const QVariantList& row = m_data->detail.rows[band.index];
        for (const Column& column : m_columns) {
            const QString value = cellText(row[column.field], column.format);
            if (!value.isEmpty())
                page.append(text({column.left + CellPadding, top, column.width - 2 * CellPadding, height}, value,
                                 TextStyle::Cell, column.alignment));
        }
        break;
    }
    case Band::Heading: {
        const ReportGroup& group = definition.groups[band.level];
        const double indent = left + band.level * LevelIndent;
        const QVariant& value = m_data->detail.rows[band.index][m_groupFields[band.level]];
        page.append(text({indent, top, right - indent, height}, group.caption + u": "_s + cellText(value, group.format),
                         TextStyle::Heading));
        break;
    }
    case Band::Subtotal: {
        const ReportGroup& group = definition.groups[band.level];
        const Subtotal& subtotal = m_subtotals[band.index];
        const QVariant& value = m_data->detail.rows[subtotal.row][m_groupFields[band.level]];
        page.append(line(left + band.level * LevelIndent, right, top + 0.3));
        addSums(page, u"Subtotal %1 %2"_s.arg(group.caption, cellText(value, group.format)),
                left + band.level * LevelIndent, group.subtotals, subtotal.sums, top, height);
        break;
    }
    case Band::Totals:
        page.append(line(left, right, top + 0.3));
        page.append(line(left, right, top + 0.9));
        addSums(page, u"Total geral"_s, left, definition.totals, m_totals, top + 0.6, height - 0.6);
        break;
    case Band::NoRows:
        page.append(text({left, top + 2, right - left, 6}, u"Nenhum documento atende aos parâmetros informados."_s,
                         TextStyle::Notice, Qt::AlignHCenter));
        break;
    }
}

// The label from labelLeft up to the first summed column, each sum under its column.
void ReportLayout::addSums(PageContent& page, const QString& label, double labelLeft, const QStringList& fields,
                           const QList<double>& sums, double top, double height) const
{
    const ReportDefinition& definition = m_data->definition;
    QList<qsizetype> columns;
    double labelRight = pageWidth() - Margin;
    for (const QString& field : fields) {
        columns.append(definition.column(field) - definition.columns.constData());
        labelRight = std::min(labelRight, m_columns[columns.last()].left);
    }
    if (labelRight - labelLeft > 2 * CellPadding)
        page.append(text({labelLeft, top, labelRight - labelLeft - CellPadding, height}, label, TextStyle::Sum));
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const Column& column = m_columns[columns[i]];
        page.append(text({column.left + CellPadding, top, column.width - 2 * CellPadding, height},
                         cellText(sums[i], column.format), TextStyle::Sum, column.alignment));
    }
}
