#include "DatabaseAddress.h"

#include <QFileInfo>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace database {

namespace {

bool isPostgreSqlUrl(const QString& text)
{
    return text.startsWith(u"postgresql://"_s, Qt::CaseInsensitive) ||
           text.startsWith(u"postgres://"_s, Qt::CaseInsensitive);
}

QString expectedForm(const QString& text)
{
    return u"Endereço de banco de dados inválido: \"%1\". Use postgresql://USUARIO@SERVIDOR[:PORTA]/BANCO ou o "
           "caminho de um arquivo SQLite."_s.arg(text);
}

} // namespace

DatabaseAddress DatabaseAddress::parse(const QString& text)
{
    DatabaseAddress address;
    address.m_text = text;
    if (text.trimmed().isEmpty())
        throw BadDatabaseAddress(u"Informe o banco de dados fiscal: o caminho de um arquivo SQLite ou "
                                 "postgresql://USUARIO@SERVIDOR[:PORTA]/BANCO."_s);
    if (!isPostgreSqlUrl(text))
        return address;

    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        throw BadDatabaseAddress(expectedForm(text));
    if (!url.password().isEmpty())
        throw BadDatabaseAddress(u"A senha do PostgreSQL não vai no endereço do banco (ficaria à vista na linha de "
                                 "comando e nos registros): use a variável PGPASSWORD ou o arquivo ~/.pgpass."_s);
    const QString name = url.path().mid(1);
    if (url.host().isEmpty() || name.isEmpty() || name.contains(u'/') || url.hasQuery() || url.hasFragment())
        throw BadDatabaseAddress(expectedForm(text));
    address.m_engine = Engine::PostgreSQL;
    address.m_user = url.userName();
    address.m_host = url.host();
    address.m_port = url.port(5432);
    address.m_name = name;
    return address;
}

void DatabaseAddress::requireExistingFile() const
{
    if (m_engine == Engine::SQLite && !QFileInfo(m_text).isFile())
        throw BadDatabaseAddress(u"O banco de dados \"%1\" não existe. Confira o caminho (um banco novo é criado pelo "
                                 "servidor: fiscal-server --db ARQUIVO --init)."_s.arg(m_text));
}

QString DatabaseAddress::driverName() const { return m_engine == Engine::PostgreSQL ? u"QPSQL"_s : u"QSQLITE"_s; }

QSqlDatabase DatabaseAddress::addConnection(const QString& connectionName, Access access,
                                            const Credentials& credentials) const
{
    QSqlDatabase database = QSqlDatabase::addDatabase(driverName(), connectionName);
    applyTo(database, access, credentials);
    return database;
}

void DatabaseAddress::applyTo(QSqlDatabase& database, Access access, const Credentials& credentials) const
{
    if (m_engine == Engine::SQLite) {
        database.setDatabaseName(m_text);
        database.setConnectOptions(access == Access::ReadOnly ? u"QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"_s
                                                              : QString());
        return;
    }
    database.setHostName(m_host);
    database.setPort(m_port);
    database.setUserName(credentials.given() ? credentials.user : m_user);
    database.setPassword(credentials.given() ? credentials.password : QString());
    database.setDatabaseName(m_name);
    // Dates travel as ISO text both ways, whatever the server's DateStyle.
    QString options = u"connect_timeout=5;options='-c DateStyle=ISO"_s;
    if (access == Access::ReadOnly)
        options += u" -c default_transaction_read_only=on"_s;
    database.setConnectOptions(options + u'\'');
}

} // namespace database
