#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace fiscal {

// The statements of an SQL script, in order, without their closing semicolons. A semicolon ends a statement
// unless it stands inside a quoted text or identifier or a comment; comments and blank statements are
// dropped.
QStringList splitSqlStatements(const QString& script);

// Runs every statement of the script on the database, in one transaction: all of it or nothing.
// Throws DatabaseError naming the statement that failed.
void runSqlScript(QSqlDatabase& database, const QString& script);

} // namespace fiscal
