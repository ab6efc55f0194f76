#include "CsvWriter.h"

#include "ReportFormat.h"
#include "ReportProgress.h"

#include <QFuture>
#include <QIODevice>
#include <QScopeGuard>
#include <QtConcurrent/QtConcurrentMap>

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
    QString captions;
    for (const ReportColumn& column : columns) {
        fields.append(data.detail.fieldIndex(column.field));
        if (!captions.isEmpty())
            captions += u';';
        appendField(captions, inert(column.caption), false);
    }
    device.write("\xEF\xBB\xBF");
    device.write((captions + u"\r\n"_s).toUtf8());

    const qsizetype rows = data.detail.rows.size();
    const auto records = [&](qsizetype first) {
        QString text;
        for (qsizetype row = first; row < std::min(first + RowsPerStep, rows); ++row) {
            const QVariantList& values = data.detail.rows[row];
            for (qsizetype i = 0; i < columns.size(); ++i) {
                if (i > 0)
                    text += u';';
                appendCell(text, values[fields[i]], columns[i].format);
            }
            text += u"\r\n"_s;
        }
        return text.toUtf8();
    };
    // The blocks of rows are put into text on the pool's threads, this one writing each in its turn once it is done.
    QList<qsizetype> blockStarts;
    for (qsizetype first = 0; first < rows; first += RowsPerStep)
        blockStarts.append(first);
    QFuture<QByteArray> blocks = QtConcurrent::mapped(blockStarts, records);
    const auto stopBlocks = qScopeGuard([&] {
        blocks.cancel();
        blocks.waitForFinished();
    });
    for (qsizetype block = 0; block < blockStarts.size(); ++block) {
        device.write(blocks.resultAt(block));
        Advance(progress, u"Gravando linhas"_s, std::min(blockStarts[block] + RowsPerStep, rows), rows);
    }
}
