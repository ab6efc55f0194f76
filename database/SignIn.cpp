#include "SignIn.h"

#include <QSqlDriver>
#include <QVariant>
#include <libpq-fe.h>

using namespace Qt::StringLiterals;

namespace database {

void throwWhenSignInRefused(const QSqlError& error)
{
    // libpq keeps no SQLSTATE of a failed sign-in: its words tell, in English or in the server's Portuguese.
    const QString text = error.databaseText() + u' ' + error.driverText();
    if (text.contains(u"no password supplied"_s))
        throw SignInRefused(u"o banco de dados pede a senha do usuário"_s, true);
    if (error.nativeErrorCode() == u"28P01" || text.contains(u"password authentication failed"_s) ||
        text.contains(u"autenticação do tipo senha falhou"_s))
        throw SignInRefused(u"o banco de dados recusou o usuário ou a senha"_s, false);
}

Credentials signedInAs(const QSqlDatabase& database)
{
    const QVariant handle = database.driver()->handle();
    // Qt's driver names the handle's type by libpq's struct, "pg_conn*", not by its typedef.
    const bool libpqConnection =
        qstrcmp(handle.typeName(), "pg_conn*") == 0 || qstrcmp(handle.typeName(), "PGconn*") == 0;
    if (database.driverName() != u"QPSQL" || !libpqConnection)
        return {};
    PGconn* connection = *static_cast<PGconn* const*>(handle.constData());
    return {QString::fromUtf8(PQuser(connection)), QString::fromUtf8(PQpass(connection))};
}

} // namespace database
