#pragma once

#include <QString>
#include <QStringList>

namespace fiscal {

// The schema, the PostgreSQL dialect of the schema and the sample data (data/schema.sql, data/postgresql.sql,
// data/sample.sql), built into the program.
QString schemaScript();
QString postgresqlScript();
QString sampleScript();

// Creates a new SQLite database file at path (WAL journal) and runs the scripts on it in order, in one transaction.
// The file must not exist yet, or be empty. The file appears at path only once complete: on failure, or when
// the process dies midway, none is there. Throws DatabaseError.
void createDatabase(const QString& path, const QStringList& scripts);

// Creates the fiscal tables in the PostgreSQL database at address (a --db value), which must hold none of them,
// fills them with the sample data when withSampleData, then runs extraScripts; in one transaction, so that a
// failure or a lost connection leaves the database as it was. Throws DatabaseError.
void createPostgreSqlTables(const QString& address, bool withSampleData, const QStringList& extraScripts = {});

enum class InitOutcome { Created, AlreadyThere };

// --init, for the database at address (a --db value): a missing or empty SQLite file (its folder is made when
// missing), or a PostgreSQL database without the fiscal tables, gets the schema and the sample data; a database
// that has them is checked (checkDatabase) and left unchanged. Servers started together on one PostgreSQL database
// create it once. Throws DatabaseError.
InitOutcome initDatabase(const QString& address);

// Checks that address (a --db value) is a database holding the fiscal tables the server reads; throws DatabaseError
// with a message that says what is wrong (missing file, not a database, no connection, tables missing).
void checkDatabase(const QString& address);

} // namespace fiscal
