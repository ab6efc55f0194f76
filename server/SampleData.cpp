#include "SampleData.h"

#include "DatabaseError.h"
#include "FiscalDatabase.h"
#include "ScopedConnection.h"
#include "SqlScript.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace fiscal {

namespace {

// Rows sent in one INSERT: a round trip per row would make the copy slow on a distant server.
constexpr int rowsPerInsert = 100;

void execOrThrow(QSqlQuery& query, const QString& what)
{
    if (!query.exec())
        throw database::DatabaseError(
            u"Falha ao copiar os dados de exemplo (%1): %2"_s.arg(what, query.lastError().text()));
}

QString insertText(const QString& table, const QStringList& columns, int rows)
{
    const QString row = u'(' + QStringList(columns.size(), u"?"_s).join(u", "_s) + u')';
    // A row the schema script already wrote (its version) stays as it is.
    return u"INSERT INTO %1 (%2) VALUES %3 ON CONFLICT DO NOTHING"_s.arg(table, columns.join(u", "_s),
                                                                         QStringList(rows, row).join(u", "_s));
}

void copyTable(QSqlDatabase& from, QSqlDatabase& to, const QString& table)
{
    QSqlQuery source(from);
    source.setForwardOnly(true);
    source.prepare(u"SELECT * FROM "_s + table);
    execOrThrow(source, table);
    const QSqlRecord record = source.record();
    QStringList columns;
    for (int i = 0; i < record.count(); ++i)
        columns.append(record.fieldName(i));

    QVariantList values;
    auto insert = [&] {
        QSqlQuery query(to);
        query.prepare(insertText(table, columns, int(values.size() / columns.size())));
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, values[i]);
        execOrThrow(query, table);
        values.clear();
    };
    while (source.next()) {
        for (int i = 0; i < columns.size(); ++i)
            values.append(source.value(i));
        if (values.size() == rowsPerInsert * columns.size())
            insert();
    }
    if (!values.isEmpty())
        insert();
}

// The tables of the database in memory, in the order the schema creates them: referenced tables first.
QStringList tablesInCreationOrder(QSqlDatabase& database)
{
    QSqlQuery query(database);
    query.prepare(u"SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid"_s);
    execOrThrow(query, u"tabelas"_s);
    QStringList tables;
    while (query.next())
        tables.append(query.value(0).toString());
    return tables;
}

void continueIdentities(QSqlDatabase& database)
{
    QSqlQuery columns(database);
    columns.prepare(u"SELECT table_name, column_name FROM information_schema.columns "
                    "WHERE table_schema = current_schema() AND is_identity = 'YES'"_s);
    execOrThrow(columns, u"identidades"_s);
    while (columns.next()) {
        const QString table = columns.value(0).toString();
        const QString column = columns.value(1).toString();
        QSqlQuery restart(database);
        restart.prepare(u"SELECT setval(pg_get_serial_sequence(?, ?), COALESCE(MAX(%2), 0) + 1, false) FROM %1"_s.arg(
            table, column));
        restart.addBindValue(table);
        restart.addBindValue(column);
        execOrThrow(restart, table);
    }
}

} // namespace

void copySampleData(QSqlDatabase& database)
{
    database::ScopedConnection sample(database::DatabaseAddress::parse(u":memory:"_s), database::Access::ReadWrite);
    runSqlScripts(sample.database(), {schemaScript(), sampleScript()});
    copyTables(sample.database(), database);
}

void copyTables(QSqlDatabase& from, QSqlDatabase& to)
{
    for (const QString& table : tablesInCreationOrder(from))
        copyTable(from, to, table);
    continueIdentities(to);
}

} // namespace fiscal
