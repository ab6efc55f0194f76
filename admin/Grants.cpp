#include "Grants.h"

#include "DatabaseError.h"
#include "PacketQuery.h"
#include "ScopedConnection.h"
#include "SqlScript.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace admin {

namespace {

void execute(QSqlDatabase& database, const QString& statement)
{
    if (QSqlQuery query(database); !query.exec(statement))
        throw database::DatabaseError(
            u"O banco de dados recusou \"%1\": %2"_s.arg(statement, query.lastError().text()));
}

void requireRole(database::ScopedConnection& connection, const QString& role)
{
    QSqlQuery& query = connection.prepared(u"SELECT 1 FROM pg_roles WHERE rolname = ?"_s, {role});
    fiscal::execOrThrow(query);
    const bool exists = query.next();
    query.finish();
    if (!exists)
        throw database::DatabaseError(u"O papel \"%1\" não existe no PostgreSQL: crie-o antes, com login e senha "
                                      "(sudo -u postgres createuser --pwprompt %1)."_s.arg(role));
}

// What an analyst's role may do beyond the rows it is granted: read every fiscal table but the audit trail, and add
// records to it in its own name (the role and the time are the database's).
void grantPrivileges(QSqlDatabase& database, const QString& role)
{
    const QString quoted = database.driver()->escapeIdentifier(role, QSqlDriver::TableName);
    QSqlQuery schema(database);
    if (!schema.exec(u"SELECT current_schema()"_s) || !schema.next())
        throw database::DatabaseError(
            u"O esquema do banco de dados não pôde ser lido: %1"_s.arg(schema.lastError().text()));
    const QString schemaName = database.driver()->escapeIdentifier(schema.value(0).toString(), QSqlDriver::TableName);
    execute(database, u"GRANT USAGE ON SCHEMA %1 TO %2"_s.arg(schemaName, quoted));
    execute(database, u"GRANT SELECT ON ALL TABLES IN SCHEMA %1 TO %2"_s.arg(schemaName, quoted));
    execute(database, u"REVOKE ALL ON AUDITORIA FROM %1"_s.arg(quoted));
    execute(database,
            u"GRANT INSERT (DSORIGEM, DSACAO, DSPARAMETROS, QTLINHAS, DSRESULTADO) ON AUDITORIA TO %1"_s.arg(quoted));
}

} // namespace

QStringList companyCodes(const QString& text)
{
    static const QRegularExpression twoDigits(u"^\\d{2}$"_s);
    QStringList codes;
    for (const QString& part : text.split(u',')) {
        const QString code = part.trimmed();
        if (!twoDigits.match(code).hasMatch())
            throw database::DatabaseError(
                u"\"%1\" não é um código de empresa: use dois dígitos, separados por vírgula (01,02)."_s.arg(code));
        if (!codes.contains(code))
            codes.append(code);
    }
    return codes;
}

QStringList grantCompanies(database::ScopedConnection& connection, const QString& role, const QStringList& codes)
{
    requireRole(connection, role);
    QStringList unknown;
    fiscal::inTransaction(connection.database(), [&] {
        grantPrivileges(connection.database(), role);
        for (const QString& code : codes) {
            fiscal::execOrThrow(connection.prepared(
                u"INSERT INTO ACESSOEMPRESA (NMPAPEL, CDEMPRESA) VALUES (?, ?) ON CONFLICT DO NOTHING"_s,
                {role, code}));
            QSqlQuery& company = connection.prepared(u"SELECT 1 FROM EMPRESA WHERE CDEMPRESA = ?"_s, {code});
            fiscal::execOrThrow(company);
            if (!company.next())
                unknown.append(code);
            company.finish();
        }
    });
    return unknown;
}

int revokeCompanies(database::ScopedConnection& connection, const QString& role, const QStringList& codes)
{
    int revoked = 0;
    fiscal::inTransaction(connection.database(), [&] {
        for (const QString& code : codes) {
            QSqlQuery& query =
                connection.prepared(u"DELETE FROM ACESSOEMPRESA WHERE NMPAPEL = ? AND CDEMPRESA = ?"_s, {role, code});
            fiscal::execOrThrow(query);
            revoked += query.numRowsAffected();
        }
    });
    return revoked;
}

QMap<QString, QStringList> grantedCompanies(database::ScopedConnection& connection)
{
    QSqlQuery& query =
        connection.prepared(u"SELECT NMPAPEL, CDEMPRESA FROM ACESSOEMPRESA ORDER BY NMPAPEL, CDEMPRESA"_s, {});
    fiscal::execOrThrow(query);
    QMap<QString, QStringList> grants;
    while (query.next())
        grants[query.value(0).toString()].append(query.value(1).toString());
    query.finish();
    return grants;
}

} // namespace admin
