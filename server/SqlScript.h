#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace fiscal {

// The statements of an SQL script, in order, without their closing semicolons. A semicolon ends a statement
// unless it stands inside a quoted text or identifier, a comment, or a trigger's BEGIN ... END; comments and
// blank statements are dropped.
QStringList splitSqlStatements(const QString& script);

// Runs every statement of the scripts on the database, in order, in one transaction: all of it or nothing.
// Throws DatabaseError naming the statement that failed.
void runSqlScripts(QSqlDatabase& database, const QStringList& scripts);

} // namespace fiscal
