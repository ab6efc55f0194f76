#include "FiscalDatabase.h"

#include "DatabaseError.h"
#include "SampleData.h"
#include "ScopedConnection.h"
#include "SqlScript.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <cerrno>
#include <cstdio>
#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

using database::Access;
using database::DatabaseAddress;
using database::Engine;

namespace fiscal {

namespace {

bool hasResource(const QString& name) { return QFile::exists(u":/fiscal/"_s + name); }

QString resourceText(const QString& name)
{
    QFile file(u":/fiscal/"_s + name);
    if (!file.open(QIODevice::ReadOnly))
        throw database::DatabaseError(u"O roteiro %1 não está embutido no programa."_s.arg(name));
    return QString::fromUtf8(file.readAll());
}

// The tables the remote methods read.
const QStringList servedTables = {
    u"IMPOSTONFE"_s, u"LIVROMAG"_s, u"MAPAAPUR"_s, u"NOTAFISCAL"_s, u"ITEMNOTAFISCAL"_s, u"ITEMNFIMPOSTO"_s,
};

void removeDatabaseFiles(const QString& path)
{
    for (const QString& suffix : {QString(), u"-wal"_s, u"-shm"_s})
        QFile::remove(path + suffix);
}

bool isNewFile(const QString& path)
{
    const QFileInfo info(path);
    return !info.exists() || (info.isFile() && info.size() == 0);
}

// The names of the connected database's tables, in upper case.
QStringList tableNames(database::ScopedConnection& connection, const QString& name)
{
    QSqlQuery query(connection.database());
    const QString tables = connection.engine() == Engine::PostgreSQL
                               ? u"SELECT table_name FROM information_schema.tables "
                                 "WHERE table_schema = current_schema()"_s
                               : u"SELECT name FROM sqlite_master WHERE type = 'table'"_s;
    if (!query.exec(tables))
        throw database::DatabaseError(u"%1 não é um banco de dados legível: %2"_s.arg(name, query.lastError().text()));
    QStringList names;
    while (query.next())
        names.append(query.value(0).toString().toUpper());
    return names;
}

// The served tables that the connected database lacks.
QStringList missingTables(database::ScopedConnection& connection, const QString& name)
{
    const QStringList present = tableNames(connection, name);
    QStringList missing = servedTables;
    missing.removeIf([&](const QString& table) { return present.contains(table); });
    return missing;
}

void throwWhenMissing(const QStringList& missing, const QString& name)
{
    if (!missing.isEmpty())
        throw database::DatabaseError(
            u"O banco de dados %1 não traz as tabelas fiscais %2."_s.arg(name, missing.join(u", "_s)));
}

// The schema version of a database that holds the fiscal tables: version 1 had no VERSAOESQUEMA.
int versionOf(database::ScopedConnection& connection, const QString& name)
{
    if (!tableNames(connection, name).contains(u"VERSAOESQUEMA"_s))
        return 1;
    QSqlQuery query(connection.database());
    if (!query.exec(u"SELECT MAX(NRVERSAO) FROM VERSAOESQUEMA"_s) || !query.next())
        throw database::DatabaseError(
            u"Não foi possível ler a versão do esquema de %1: %2"_s.arg(name, query.lastError().text()));
    return query.value(0).toInt();
}

void throwWhenNewer(int version, const QString& name)
{
    if (version > schemaVersion)
        throw database::DatabaseError(
            u"O banco de dados fiscal %1 está na versão %2 do esquema, mais nova que a versão %3 deste "
            "programa: atualize o programa."_s.arg(name)
                .arg(version)
                .arg(schemaVersion));
}

// Runs the upgrade scripts from the database's version up to this program's, in the transaction already open.
// Returns whether there was anything to run.
bool upgradeInTransaction(database::ScopedConnection& connection, const QString& name)
{
    const int version = versionOf(connection, name);
    throwWhenNewer(version, name);
    QStringList scripts;
    for (int next = version + 1; next <= schemaVersion; ++next)
        scripts.append(upgradeScripts(connection.engine(), next));
    executeSqlScripts(connection.database(), scripts);
    return !scripts.isEmpty();
}

// Servers started together on one PostgreSQL database wait here, inside their transaction, for the first to finish.
void lockPostgreSql(QSqlDatabase& database, const QString& name)
{
    if (QSqlQuery query(database); !query.exec(u"SELECT pg_advisory_xact_lock(58200)"_s))
        throw database::DatabaseError(
            u"Não foi possível reservar o banco de dados %1: %2"_s.arg(name, query.lastError().text()));
}

void fillPostgreSqlTables(QSqlDatabase& database, bool withSampleData, const QStringList& extraScripts)
{
    executeSqlScripts(database, QStringList{schemaScript()} + postgresqlScripts());
    if (withSampleData)
        copySampleData(database);
    executeSqlScripts(database, extraScripts);
}

// Whether the SQLite file at path is in WAL mode (its header's read version is 2).
bool inWalMode(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false; // opening the database says why
    const QByteArray header = file.read(20);
    return header.size() == 20 && header.startsWith("SQLite format 3") && header[19] == 2;
}

QString userName()
{
    const passwd* user = getpwuid(geteuid());
    return user ? QString::fromLocal8Bit(user->pw_name) : QString::number(geteuid());
}

// SQLite reads a database in WAL mode through the files -wal and -shm beside it, and creates them when they are
// missing (as they are whenever no program has the database open): reading it needs a folder this process can write.
// Without one the reads would fail only when those files happen to be gone, so the database is refused from the start.
void requireWritableWalFolder(const QString& path)
{
    const QFileInfo file(path);
    if (!inWalMode(path) || ::access(QFile::encodeName(file.absolutePath()).constData(), W_OK | X_OK) == 0)
        return;
    throw database::DatabaseError(
        u"O banco de dados fiscal %1 está no modo WAL: para lê-lo, o SQLite cria os arquivos %2-wal e "
        "%2-shm na pasta %3, onde o usuário %4 não pode gravar. Permita que %4 grave nessa pasta (o "
        "servidor não altera o banco), ou passe o banco ao modo DELETE: "
        "sqlite3 %1 \"PRAGMA journal_mode=DELETE\"."_s.arg(path, file.fileName(), file.absolutePath(), userName()));
}

// Checks that address names a database holding the served tables, whatever its schema version.
void checkTables(const QString& address)
{
    const DatabaseAddress parsed = DatabaseAddress::parse(address);
    if (parsed.engine() == Engine::SQLite) {
        const QFileInfo info(address);
        if (!info.exists())
            throw database::DatabaseError(
                u"O banco de dados fiscal %1 não existe (--init cria um novo com os dados de exemplo)."_s.arg(address));
        if (!info.isFile())
            throw database::DatabaseError(u"%1 não é um arquivo."_s.arg(address));
        requireWritableWalFolder(address);
    }
    database::ScopedConnection connection(parsed, Access::ReadOnly);
    throwWhenMissing(missingTables(connection, address), address);
}

InitOutcome upgradeSqliteFile(const QString& path)
{
    checkTables(path);
    {
        database::ScopedConnection reading(DatabaseAddress::parse(path), Access::ReadOnly);
        const int version = versionOf(reading, path);
        throwWhenNewer(version, path);
        if (version == schemaVersion)
            return InitOutcome::AlreadyThere; // not even opened for writing: the file stays as it is
    }
    database::ScopedConnection connection(DatabaseAddress::parse(path), Access::ReadWrite);
    bool upgraded = false;
    inTransaction(connection.database(), [&] { upgraded = upgradeInTransaction(connection, path); });
    return upgraded ? InitOutcome::Upgraded : InitOutcome::AlreadyThere;
}

InitOutcome initSqliteFile(const QString& path, InitData data)
{
    if (!isNewFile(path))
        return upgradeSqliteFile(path);
    QDir().mkpath(QFileInfo(path).absolutePath()); // var/ on a fresh checkout
    QStringList scripts{schemaScript()};
    if (data == InitData::SampleData)
        scripts.append(sampleScript());
    createDatabase(path, scripts);
    return InitOutcome::Created;
}

InitOutcome initPostgreSql(const DatabaseAddress& address, InitData data, const database::Credentials& credentials)
{
    database::ScopedConnection connection(address, Access::ReadWrite, credentials);
    QSqlDatabase& database = connection.database();
    InitOutcome outcome = InitOutcome::AlreadyThere;
    inTransaction(database, [&] {
        lockPostgreSql(database, address.text());
        const QStringList missing = missingTables(connection, address.text());
        if (missing.size() < servedTables.size()) {
            throwWhenMissing(missing, address.text());
            if (upgradeInTransaction(connection, address.text()))
                outcome = InitOutcome::Upgraded;
            return;
        }
        fillPostgreSqlTables(database, data == InitData::SampleData, {});
        outcome = InitOutcome::Created;
    });
    return outcome;
}

} // namespace

QString schemaScript() { return resourceText(u"schema.sql"_s); }

QStringList postgresqlScripts()
{
    QStringList scripts{resourceText(u"postgresql.sql"_s)};
    for (int version = 2; version <= schemaVersion; ++version)
        if (hasResource(u"postgresql-%1.sql"_s.arg(version)))
            scripts.append(resourceText(u"postgresql-%1.sql"_s.arg(version)));
    return scripts;
}

QString sampleScript() { return resourceText(u"sample.sql"_s); }

QStringList upgradeScripts(Engine engine, int version)
{
    QStringList scripts{resourceText(u"upgrade-%1.sql"_s.arg(version))};
    if (const QString postgreSql = u"postgresql-%1.sql"_s.arg(version);
        engine == Engine::PostgreSQL && hasResource(postgreSql))
        scripts.append(resourceText(postgreSql));
    return scripts;
}

void createDatabase(const QString& path, const QStringList& scripts)
{
    if (!isNewFile(path))
        throw database::DatabaseError(
            u"O arquivo %1 já existe; o banco de dados fiscal só é criado num arquivo novo."_s.arg(path));
    // Built under another name and renamed once complete: a creation cut short (the process killed, say)
    // leaves no half-made database at path, only that file, which the next creation replaces.
    const QString building = path + u".criando"_s;
    removeDatabaseFiles(building);
    try {
        {
            database::ScopedConnection connection(DatabaseAddress::parse(building), Access::ReadWrite);
            QSqlQuery(connection.database()).exec(u"PRAGMA journal_mode=WAL"_s);
            runSqlScripts(connection.database(), scripts);
        } // the last connection's close folds the journal back into the file
        if (std::rename(QFile::encodeName(building).constData(), QFile::encodeName(path).constData()) != 0)
            throw database::DatabaseError(
                u"Não foi possível criar o banco de dados fiscal %1: %2"_s.arg(path, qt_error_string(errno)));
    } catch (const database::DatabaseError&) {
        removeDatabaseFiles(building);
        throw;
    }
}

void createPostgreSqlTables(const QString& address, bool withSampleData, const QStringList& extraScripts)
{
    database::ScopedConnection connection(DatabaseAddress::parse(address), Access::ReadWrite);
    inTransaction(connection.database(),
                  [&] { fillPostgreSqlTables(connection.database(), withSampleData, extraScripts); });
}

InitOutcome initDatabase(const QString& address, InitData data, const database::Credentials& credentials)
{
    const DatabaseAddress parsed = DatabaseAddress::parse(address);
    return parsed.engine() == Engine::PostgreSQL ? initPostgreSql(parsed, data, credentials)
                                                 : initSqliteFile(address, data);
}

void checkDatabase(const QString& address)
{
    checkTables(address);
    database::ScopedConnection connection(DatabaseAddress::parse(address), Access::ReadOnly);
    const int version = versionOf(connection, address);
    throwWhenNewer(version, address);
    if (version < schemaVersion)
        throw database::DatabaseError(
            u"O banco de dados fiscal %1 está na versão %2 do esquema e este programa usa a versão %3: "
            "rode fiscal-server --init para atualizá-lo (os dados são mantidos)."_s.arg(address)
                .arg(version)
                .arg(schemaVersion));
}

} // namespace fiscal
