#pragma once

#include <QSqlError>
#include <QString>

namespace database {

// A failure of the database driver in words an analyst reads. The common SQLite and PostgreSQL failures are said in
// Portuguese: a database that cannot be written, one busy or locked by another program, a missing table or column (a
// database of an older version, or not the fiscal one), a syntax error, a statement a report may not run, a file that
// is not a database or cannot be opened, a lost or refused connection, a refused user or password, an unknown
// database. Anything else keeps the engine's own words after "o banco de dados respondeu:".
QString failureText(const QSqlError& error);

} // namespace database
