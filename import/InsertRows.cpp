#include "InsertRows.h"

#include "PacketQuery.h"
#include "ScopedConnection.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace fiscalimport {

namespace {

constexpr qsizetype rowsPerStatement = 100;

// The statement for count rows, made once per table and count.
const QString& insertText(const QString& table, const QStringList& columns, qsizetype count)
{
    static QHash<QString, QString> texts;
    const QString key = table + QString::number(count);
    auto text = texts.find(key);
    if (text == texts.end()) {
        const QString row = u'(' + QStringList(columns.size(), u"?"_s).join(u", "_s) + u')';
        text = texts.insert(key, u"INSERT INTO %1 (%2) VALUES %3"_s.arg(table, columns.join(u", "_s),
                                                                        QStringList(count, row).join(u", "_s)));
    }
    return *text;
}

} // namespace

void insertRows(database::ScopedConnection& connection, const QString& table, const QStringList& columns,
                const QList<QVariantList>& rows)
{
    for (qsizetype first = 0; first < rows.size(); first += rowsPerStatement) {
        const qsizetype count = std::min(rowsPerStatement, rows.size() - first);
        QVariantList values;
        values.reserve(count * columns.size());
        for (qsizetype i = first; i < first + count; ++i)
            values += rows[i];
        fiscal::execOrThrow(connection.prepared(insertText(table, columns, count), values));
    }
}

} // namespace fiscalimport
