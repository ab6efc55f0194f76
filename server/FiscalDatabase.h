#pragma once

#include "DatabaseAddress.h"

#include <QString>
#include <QStringList>

namespace fiscal {

// The version of the schema this program reads and writes (table VERSAOESQUEMA; a database without it is version 1).
constexpr int schemaVersion = 3;

// The schema, what PostgreSQL adds to it (data/postgresql.sql, then data/postgresql-N.sql of each version that has
// one: per-company access and the audit trail) and the sample data, built into the program.
QString schemaScript();
QStringList postgresqlScripts();
QString sampleScript();
// The scripts that take a database of the engine from version - 1 to version: data/upgrade-N.sql, for both engines,
// then data/postgresql-N.sql on PostgreSQL, when there is one.
QStringList upgradeScripts(database::Engine engine, int version);

// Creates a new SQLite database file at path (WAL journal) and runs the scripts on it in order, in one transaction.
// The file must not exist yet, or be empty. The file appears at path only once complete: on failure, or when
// the process dies midway, none is there. Throws database::DatabaseError.
void createDatabase(const QString& path, const QStringList& scripts);

// Creates the fiscal tables in the PostgreSQL database at address (a --db value), which must hold none of them,
// fills them with the sample data when withSampleData, then runs extraScripts; in one transaction, so that a
// failure or a lost connection leaves the database as it was. Throws database::DatabaseError.
void createPostgreSqlTables(const QString& address, bool withSampleData, const QStringList& extraScripts = {});

enum class InitOutcome { Created, Upgraded, AlreadyThere };
enum class InitData { SampleData, SchemaOnly };

// --init, for the database at address (a --db value): a missing or empty SQLite file (its folder is made when
// missing), or a PostgreSQL database without the fiscal tables, gets the schema and, unless SchemaOnly, the sample
// data; a database of an older schema version is brought up to date in one transaction, its data kept; a database
// of this version is checked (checkDatabase) and left unchanged. Servers started together on one PostgreSQL database
// create or upgrade it once. credentials: who signs in to a PostgreSQL database (the address's own user without
// them). Throws database::DatabaseError.
InitOutcome initDatabase(const QString& address, InitData data = InitData::SampleData,
                         const database::Credentials& credentials = {});

// Checks that address (a --db value) is a database holding the fiscal tables the server reads, in this program's
// schema version; throws database::DatabaseError with a message that says what is wrong (missing file, not a database, no
// connection, tables missing, an older schema that --init brings up to date, a newer one).
void checkDatabase(const QString& address);

} // namespace fiscal
