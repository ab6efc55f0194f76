#pragma once

#include "hostfw_core_export.h"

#include <QString>
#include <QStringList>

// The SQL text that runs on a connection's driver, of a statement written once per database dialect: Oracle (QOCI)
// runs oracle, MS SQL (QODBC, QTDS) runs mssql, every other driver (SQLite, PostgreSQL, Firebird) runs sql; an empty
// dialect text falls back to sql. Lines are joined with "\n".
HOSTFW_CORE_EXPORT QString DialectText(const QString& driverName, const QStringList& sql, const QStringList& oracle,
                                       const QStringList& mssql);
