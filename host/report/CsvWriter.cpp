#include "CsvWriter.h"

#include "ReportFormat.h"
#include "ReportProgress.h"

#include <QIODevice>

using namespace Qt::StringLiterals;

namespace {

constexpr int RowsPerStep = 2000;

QString field(const QString& text)
{
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    return u'"' + quoted.replace(u"\""_s, u"\"\""_s) + u'"';
}

} // namespace

void writeCsv(const ReportData& data, QIODevice& device, ReportProgress& progress)
{
    const QList<ReportColumn>& columns = data.definition.columns;
    QList<int> fields;
    QStringList record;
    for (const ReportColumn& column : columns) {
        fields.append(data.detail.fieldIndex(column.field));
        record.append(field(column.caption));
    }
    QByteArray out = "\xEF\xBB\xBF" + record.join(u';').toUtf8() + "\r\n";
    for (qsizetype row = 0; row < data.detail.rows.size(); ++row) {
        const QVariantList& values = data.detail.rows[row];
        record.clear();
        for (qsizetype i = 0; i < columns.size(); ++i)
            record.append(field(csvText(values[fields[i]], columns[i].format)));
        out += record.join(u';').toUtf8() + "\r\n";
        if ((row + 1) % RowsPerStep == 0) {
            device.write(out);
            out.clear();
            Advance(progress, u"Gravando linhas"_s, row + 1, data.detail.rows.size());
        }
    }
    device.write(out);
}
