#pragma once

#include <QSqlDatabase>

namespace fiscal {

// Fills the fiscal tables of database, just created and empty, with the sample data. The sample script is written
// for SQLite: it is run on a database in memory, whose rows are then copied table by table, so that every engine
// gets the same rows from the one script. Identity columns go on after the highest number copied.
// Throws database::DatabaseError.
void copySampleData(QSqlDatabase& database);

// Copies the rows of every table of the SQLite database from into the same tables of to (PostgreSQL, its fiscal
// tables created and empty but for the rows of the schema script itself, which are kept), then sets its identity
// columns to go on after the highest number copied.
// Throws database::DatabaseError.
void copyTables(QSqlDatabase& from, QSqlDatabase& to);

} // namespace fiscal
