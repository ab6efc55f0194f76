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
