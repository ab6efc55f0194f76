#include "CsvWriter.h"

#include "ReportFormat.h"
#include "ReportProgress.h"

#include <QFuture>
#include <QIODevice>
#include <QScopeGuard>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>
#include <deque>

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

// The text in UTF-8; the codes and marks that fill most cells are ASCII, copied as they are.
void appendUtf8(QByteArray& line, QStringView text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return void(line += text.toUtf8());
    for (QChar c : text)
        line += char(c.unicode());
}

// The field as RFC 4180 wants it, with ";" between fields.
void appendField(QByteArray& line, const QString& text, bool quoted)
{
    bool hasQuote = false, special = false;
    for (QChar c : text) {
        hasQuote = hasQuote || c == u'"';
        special = special || c == u';' || c == u'\n' || c == u'\r';
    }
    if (!quoted && !hasQuote && !special) {
        appendUtf8(line, text);
        return;
    }
    line += '"';
    appendUtf8(line, hasQuote ? QString(text).replace(u'"', u"\"\""_s) : text);
    line += '"';
}

void appendCell(QByteArray& line, const QVariant& value, ColumnFormat format)
{
    if (value.isNull())
        return;
    if (isText(format))
        appendField(line, inert(csvText(value, format)), true);
    else if (!appendCsvNumber(line, value, format))
        appendField(line, csvText(value, format), false);
}

} // namespace

void writeCsv(const ReportData& data, QIODevice& device, ReportProgress& progress)
{
    const QList<ReportColumn> columns = tableColumns(data.definition);
    QList<int> fields;
    QByteArray captions;
    for (const ReportColumn& column : columns) {
        fields.append(data.detail.fieldIndex(column.field));
        if (!captions.isEmpty())
            captions += ';';
        appendField(captions, inert(column.caption), false);
    }
    device.write("\xEF\xBB\xBF");
    device.write(captions + "\r\n");

    const qsizetype rows = data.detail.rows.size();
    const auto records = [&](qsizetype first) {
        QByteArray text;
        for (qsizetype row = first; row < std::min(first + RowsPerStep, rows); ++row) {
            const QVariantList& values = data.detail.rows[row];
            for (qsizetype i = 0; i < columns.size(); ++i) {
                if (i > 0)
                    text += ';';
                appendCell(text, values[fields[i]], columns[i].format);
            }
            text += "\r\n";
        }
        return text;
    };
    // The blocks of rows are put into text on the pool's threads, as many at once as it has threads, while this one
    // writes each in its turn: a few blocks are held at a time, never the whole file.
    std::deque<QFuture<QByteArray>> pending;
    qsizetype nextBlock = 0;
    const auto startBlock = [&] {
        if (nextBlock < rows)
            pending.push_back(QtConcurrent::run(records, std::exchange(nextBlock, nextBlock + RowsPerStep)));
    };
    const auto waitForBlocks = qScopeGuard([&] {
        for (QFuture<QByteArray>& block : pending)
            block.waitForFinished();
    });
    for (int i = 0; i < QThreadPool::globalInstance()->maxThreadCount(); ++i)
        startBlock();
    for (qsizetype written = 0; !pending.empty();) {
        const QByteArray block = pending.front().result();
        pending.pop_front();
        startBlock();
        device.write(block);
        written = std::min(written + RowsPerStep, rows);
        Advance(progress, u"Gravando linhas"_s, written, rows);
    }
}
