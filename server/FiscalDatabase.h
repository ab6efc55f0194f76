#pragma once

#include <QString>
#include <QStringList>

namespace fiscal {

// The version of the schema this program reads and writes (table VERSAOESQUEMA; a database without it is version 1).
constexpr int schemaVersion = 2;

// The schema, the PostgreSQL dialect of the schema and the sample data (data/schema.sql, data/postgresql.sql,
// data/sample.sql), built into the program.
QString schemaScript();
QString postgresqlScript();
QString sampleScript();
// The script that takes a database of version - 1 to version (data/upgrade-N.sql), for both engines.
QString upgradeScript(int version);

// Creates a new SQLite database file at path (WAL journal) and runs the scripts on it in order, in one transaction.
// The file must not exist yet, or be empty. The file appears at path only once complete: on failure, or when
// the process dies midway, none is there. Throws DatabaseError.
void createDatabase(const QString& path, const QStringList& scripts);

// Creates the fiscal tables in the PostgreSQL database at address (a --db value), which must hold none of them,
// fills them with the sample data when withSampleData, then runs extraScripts; in one transaction, so that a
// failure or a lost connection leaves the database as it was. Throws DatabaseError.
void createPostgreSqlTables(const QString& address, bool withSampleData, const QStringList& extraScripts = {});

enum class InitOutcome { Created, Upgraded, AlreadyThere };
enum class InitData { SampleData, SchemaOnly };

// --init, for the database at address (a --db value): a missing or empty SQLite file (its folder is made when
// missing), or a PostgreSQL database without the fiscal tables, gets the schema and, unless SchemaOnly, the sample
// data; a database of an older schema version is brought up to date in one transaction, its data kept; a database
// of this version is checked (checkDatabase) and left unchanged. Servers started together on one PostgreSQL database
// create or upgrade it once. Throws DatabaseError.
InitOutcome initDatabase(const QString& address, InitData data = InitData::SampleData);

// Checks that address (a --db value) is a database holding the fiscal tables the server reads, in this program's
// schema version; throws DatabaseError with a message that says what is wrong (missing file, not a database, no
// connection, tables missing, an older schema that --init brings up to date, a newer one).
void checkDatabase(const QString& address);

} // namespace fiscal
