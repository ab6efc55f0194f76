#pragma once

#include "DatabaseAddress.h"

#include <QString>
#include <QStringList>

// The few SQL texts that differ between the engines. Everything else is written once, in the SQL both engines read.
namespace database::dialect {

// The date column as "dd/MM/yyyy" text.
QString brazilianDate(Engine engine, const QString& column);

// The column compared so that no index serves the comparison. SQLite keeps no statistics of ranges: it takes the
// index on any range, even one that holds most of the table, where reading by index jumps between pages. PostgreSQL
// weighs the range itself: the column as it is.
QString unindexed(Engine engine, const QString& column);

// A table of one text column, "value", holding the items of the JSON array of texts bound at its "?".
QString jsonTexts(Engine engine);

// The text, of a statement written once per database dialect, that runs on a connection's Qt driver: Oracle (QOCI)
// runs oracle, MS SQL (QODBC, QTDS) runs mssql, every other driver (SQLite, PostgreSQL) runs sql; an empty dialect
// text falls back to sql. Lines are joined with "\n".
QString forDriver(const QString& driverName, const QStringList& sql, const QStringList& oracle,
                  const QStringList& mssql);

} // namespace database::dialect
