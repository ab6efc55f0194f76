#include "FiscalDatabase.h"

#include "DatabaseError.h"
#include "ScopedConnection.h"
#include "SqlScript.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <cerrno>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace fiscal {

namespace {

QString resourceText(const QString& name)
{
    QFile file(u":/fiscal/"_s + name);
    if (!file.open(QIODevice::ReadOnly))
        throw DatabaseError(u"O roteiro %1 não está embutido no programa."_s.arg(name));
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

} // namespace

QString schemaScript() { return resourceText(u"schema.sql"_s); }

QString sampleScript() { return resourceText(u"sample.sql"_s); }

void createDatabase(const QString& path, const QStringList& scripts)
{
    if (!isNewFile(path))
        throw DatabaseError(
            u"O arquivo %1 já existe; o banco de dados fiscal só é criado num arquivo novo."_s.arg(path));
    // Built under another name and renamed once complete: a creation cut short (the process killed, say)
    // leaves no half-made database at path, only that file, which the next creation replaces.
    const QString building = path + u".criando"_s;
    removeDatabaseFiles(building);
    try {
        {
            ScopedConnection connection(building);
            QSqlQuery(connection.database()).exec(u"PRAGMA journal_mode=WAL"_s);
            runSqlScripts(connection.database(), scripts);
        } // the last connection's close folds the journal back into the file
        if (std::rename(QFile::encodeName(building).constData(), QFile::encodeName(path).constData()) != 0)
            throw DatabaseError(
                u"Não foi possível criar o banco de dados fiscal %1: %2"_s.arg(path, qt_error_string(errno)));
    } catch (const DatabaseError&) {
        removeDatabaseFiles(building);
        throw;
    }
}

InitOutcome initDatabase(const QString& path)
{
    if (isNewFile(path)) {
        QDir().mkpath(QFileInfo(path).absolutePath()); // var/ on a fresh checkout
        createDatabase(path, {schemaScript(), sampleScript()});
        return InitOutcome::Created;
    }
    checkDatabase(path);
    return InitOutcome::AlreadyThere;
}

void checkDatabase(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw DatabaseError(
            u"O banco de dados fiscal %1 não existe (--init cria um novo com os dados de exemplo)."_s.arg(path));
    if (!info.isFile())
        throw DatabaseError(u"%1 não é um arquivo."_s.arg(path));

    ScopedConnection connection(path, u"QSQLITE_OPEN_READONLY"_s);
    QSqlQuery query(connection.database());
    if (!query.exec(u"SELECT name FROM sqlite_master WHERE type = 'table'"_s))
        throw DatabaseError(u"%1 não é um banco de dados SQLite legível: %2"_s.arg(path, query.lastError().text()));
    QStringList missing = servedTables;
    while (query.next())
        missing.removeAll(query.value(0).toString().toUpper());
    if (!missing.isEmpty())
        throw DatabaseError(u"O banco de dados %1 não traz as tabelas fiscais %2."_s.arg(path, missing.join(u", "_s)));
}

} // namespace fiscal
