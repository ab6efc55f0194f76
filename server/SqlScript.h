#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>

namespace fiscal {

// The statements of an SQL script, in order, without their closing semicolons. A semicolon ends a statement
// unless it stands inside a quoted text or identifier, a comment, or a trigger's BEGIN ... END; comments and
// blank statements are dropped.
QStringList splitSqlStatements(const QString& script);

// Runs work in one transaction on the database: committed when it returns, rolled back when it throws.
// Throws database::DatabaseError, or what work throws.
void inTransaction(QSqlDatabase& database, const std::function<void()>& work);

// Runs every statement of the scripts on the database, in order. Throws database::DatabaseError naming the statement that
// failed.
void executeSqlScripts(QSqlDatabase& database, const QStringList& scripts);

// The same in one transaction: all of it or nothing.
void runSqlScripts(QSqlDatabase& database, const QStringList& scripts);

} // namespace fiscal
