#include "CsvWriter.h"

#include "ReportFormat.h"
#include "ReportProgress.h"

#include <QIODevice>

using namespace Qt::StringLiterals;

namespace {

constexpr int RowsPerStep = 2000;

bool isText(ColumnFormat format)
{
    return format == ColumnFormat::Text || format == ColumnFormat::Cfop || format == ColumnFormat::Direction;
}

// A text as a spreadsheet will not run it: after an apostrophe when it would read as a formula.
QString inert(const QString& text)
{
    static constexpr QStringView FormulaStarts = u"=+-@\t\r";
    return !text.isEmpty() && FormulaStarts.contains(text.front()) ? u'\'' + text : text;
}

// The field as RFC 4180 wants it, with ";" between fields.
void appendField(QString& line, const QString& text, bool quoted)
{
    bool hasQuote = false, special = false;
    for (QChar c : text) {
        hasQuote = hasQuote || c == u'"';
        special = special || c == u';' || c == u'\n' || c == u'\r';
    }
    if (!quoted && !hasQuote && !special) {
        line += text;
        return;
    }
    line += u'"';
    line += hasQuote ? QString(text).replace(u'"', u"\"\""_s) : text;
    line += u'"';
}

void appendCell(QString& line, const QVariant& value, ColumnFormat format)
{
    if (value.isNull())
        return;
    if (isText(format))
        appendField(line, inert(csvText(value, format)), true);
    else
        appendField(line, csvText(value, format), false);
}

} // namespace

void writeCsv(const ReportData& data, QIODevice& device, ReportProgress& progress)
{
    const QList<ReportColumn> columns = tableColumns(data.definition);
    QList<int> fields;
    QString text;
    for (const ReportColumn& column : columns) {
        fields.append(data.detail.fieldIndex(column.field));
        if (!text.isEmpty())
            text += u';';
        appendField(text, inert(column.caption), false);
    }
    text += u"\r\n"_s;
    device.write("\xEF\xBB\xBF");
    for (qsizetype row = 0; row < data.detail.rows.size(); ++row) {
        const QVariantList& values = data.detail.rows[row];
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (i > 0)
                text += u';';
            appendCell(text, values[fields[i]], columns[i].format);
        }
        text += u"\r\n"_s;
        if ((row + 1) % RowsPerStep == 0) {
            device.write(text.toUtf8());
            text.clear();
            Advance(progress, u"Gravando linhas"_s, row + 1, data.detail.rows.size());
        }
    }
    device.write(text.toUtf8());
}
