#include "CsvWriter.h"

#include "ReportFormat.h"
#include "ReportProgress.h"

#include <QIODevice>

using namespace Qt::StringLiterals;

namespace {

constexpr int RowsPerStep = 2000;

// The field as RFC 4180 wants it, with ";" between fields.
void appendField(QString& line, const QString& text)
{
    const bool quoted = std::any_of(text.begin(), text.end(),
                                    [](QChar c) { return c == u';' || c == u'"' || c == u'\n' || c == u'\r'; });
    if (!quoted) {
        line += text;
        return;
    }
    line += u'"';
    for (QChar c : text) {
        if (c == u'"')
            line += u'"';
        line += c;
    }
    line += u'"';
}

} // namespace

void writeCsv(const ReportData& data, QIODevice& device, ReportProgress& progress)
{
    const QList<ReportColumn>& columns = data.definition.columns;
    QList<int> fields;
    QString text;
    for (const ReportColumn& column : columns) {
        fields.append(data.detail.fieldIndex(column.field));
        if (!text.isEmpty())
            text += u';';
        appendField(text, column.caption);
    }
    text += u"\r\n"_s;
    device.write("\xEF\xBB\xBF");
    for (qsizetype row = 0; row < data.detail.rows.size(); ++row) {
        const QVariantList& values = data.detail.rows[row];
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (i > 0)
                text += u';';
            appendField(text, csvText(values[fields[i]], columns[i].format));
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
