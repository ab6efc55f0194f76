#pragma once

#include <QString>
#include <QStringList>

namespace fiscal {

// The schema and the sample data (data/schema.sql, data/sample.sql), built into the program.
QString schemaScript();
QString sampleScript();

// Creates a new database file at path (WAL journal) and runs the scripts on it in order, in one transaction.
// The file must not exist yet, or be empty. The file appears at path only once complete: on failure, or when
// the process dies midway, none is there. Throws DatabaseError.
void createDatabase(const QString& path, const QStringList& scripts);

enum class InitOutcome { Created, AlreadyThere };

// --init: a missing or empty file gets the schema and the sample data (its folder is made when missing); an
// existing database is checked (checkDatabase) and left unchanged. Throws DatabaseError.
InitOutcome initDatabase(const QString& path);

// Checks that path is an SQLite database holding the fiscal tables the server reads; throws DatabaseError
// with a message that says what is wrong (missing file, not a database, tables missing).
void checkDatabase(const QString& path);

} // namespace fiscal
