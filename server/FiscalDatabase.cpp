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

namespace fiscal {

namespace {

QString resourceText(const QString& name) {
    QFile file(QStringLiteral(":/fiscal/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("O roteiro %1 não está embutido no programa.").arg(name));
    return QString::fromUtf8(file.readAll());
}

// The tables the remote methods read.
const QStringList servedTables = {
    QStringLiteral("IMPOSTONFE"), QStringLiteral("LIVROMAG"),       QStringLiteral("MAPAAPUR"),
    QStringLiteral("NOTAFISCAL"), QStringLiteral("ITEMNOTAFISCAL"), QStringLiteral("ITEMNFIMPOSTO"),
};

void removeDatabaseFiles(const QString& path) {
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(path + suffix);
}

bool isNewFile(const QString& path) {
    const QFileInfo info(path);
    return !info.exists() || (info.isFile() && info.size() == 0);
}

} // namespace

QString schemaScript() {
    return resourceText(QStringLiteral("schema.sql"));
}

QString sampleScript() {
    return resourceText(QStringLiteral("sample.sql"));
}

void createDatabase(const QString& path, const QStringList& scripts) {
    if (!isNewFile(path))
        throw DatabaseError(
            QStringLiteral("O arquivo %1 já existe; o banco de dados fiscal só é criado num arquivo novo.")
                .arg(path));
    // Built under another name and renamed once complete: a creation cut short (the process killed, say)
    // leaves no half-made database at path, only that file, which the next creation replaces.
    const QString building = path + QStringLiteral(".criando");
    removeDatabaseFiles(building);
    try {
        {
            ScopedConnection connection(building);
            QSqlQuery(connection.database()).exec(QStringLiteral("PRAGMA journal_mode=WAL"));
            runSqlScripts(connection.database(), scripts);
        } // the last connection's close folds the journal back into the file
        if (std::rename(QFile::encodeName(building).constData(), QFile::encodeName(path).constData()) != 0)
            throw DatabaseError(QStringLiteral("Não foi possível criar o banco de dados fiscal %1: %2")
                                    .arg(path, qt_error_string(errno)));
    } catch (const DatabaseError&) {
        removeDatabaseFiles(building);
        throw;
    }
}

InitOutcome initDatabase(const QString& path) {
    if (isNewFile(path)) {
        QDir().mkpath(QFileInfo(path).absolutePath()); // var/ on a fresh checkout
        createDatabase(path, {schemaScript(), sampleScript()});
        return InitOutcome::Created;
    }
    checkDatabase(path);
    return InitOutcome::AlreadyThere;
}

void checkDatabase(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        throw DatabaseError(
            QStringLiteral(
                "O banco de dados fiscal %1 não existe (--init cria um novo com os dados de exemplo).")
                .arg(path));
    if (!info.isFile())
        throw DatabaseError(QStringLiteral("%1 não é um arquivo.").arg(path));

    ScopedConnection connection(path, QStringLiteral("QSQLITE_OPEN_READONLY"));
    QSqlQuery query(connection.database());
    if (!query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
        throw DatabaseError(QStringLiteral("%1 não é um banco de dados SQLite legível: %2")
                                .arg(path, query.lastError().text()));
    QStringList missing = servedTables;
    while (query.next())
        missing.removeAll(query.value(0).toString().toUpper());
    if (!missing.isEmpty())
        throw DatabaseError(QStringLiteral("O banco de dados %1 não traz as tabelas fiscais %2.")
                                .arg(path, missing.join(QStringLiteral(", "))));
}

} // namespace fiscal
