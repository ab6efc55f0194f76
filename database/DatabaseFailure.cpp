#include "DatabaseFailure.h"

#include <QRegularExpression>

#include <optional>

using namespace Qt::StringLiterals;

namespace database {

namespace {

// The object a message of the engine names: "no such table: NOTAS", "relation \"notas\" does not exist".
QString named(const QString& text, const QString& pattern)
{
    return QRegularExpression(pattern).match(text).captured(1);
}

QString missing(const QString& kind, const QString& name)
{
    return u"%1 %2 não existe neste banco de dados (é o banco fiscal, na versão atual? O servidor o atualiza com "
           "fiscal-server --init)"_s.arg(kind, name);
}

const QString Busy = u"o banco de dados está ocupado por outro programa; tente de novo em instantes"_s;
const QString ReadOnly = u"o banco de dados não pode ser gravado (o arquivo, a pasta ou a conexão é somente leitura)"_s;
const QString NotAllowed = u"o comando não é permitido aqui: um relatório só lê dados"_s;
const QString Lost = u"a conexão com o banco de dados foi perdida ou recusada; confira se o servidor do banco está no "
                     "ar e tente de novo"_s;

std::optional<QString> sqliteText(int code, const QString& text)
{
    switch (code & 0xFF) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return Busy;
    case 8: // SQLITE_READONLY
        return ReadOnly;
    case 23: // SQLITE_AUTH: the report's authorizer refused the statement
        return NotAllowed;
    case 11: // SQLITE_CORRUPT
        return u"o arquivo do banco de dados está danificado"_s;
    case 13: // SQLITE_FULL
        return u"o disco está cheio"_s;
    case 14: // SQLITE_CANTOPEN
        return u"o arquivo do banco de dados não pode ser aberto; confira o caminho e as permissões"_s;
    case 26: // SQLITE_NOTADB
        return u"o arquivo não é um banco de dados"_s;
    default:
        break;
    }
    if (const QString table = named(text, u"no such table: (\\S+)"_s); !table.isEmpty())
        return missing(u"a tabela"_s, table);
    if (const QString column = named(text, u"no such column: (\\S+)"_s); !column.isEmpty())
        return missing(u"a coluna"_s, column);
    if (const QString near = named(text, u"near \"(.*)\": syntax error"_s); !near.isEmpty())
        return u"erro de sintaxe no SQL perto de \"%1\""_s.arg(near);
    if (text.startsWith(u"incomplete input"_s))
        return u"erro de sintaxe no SQL: o texto termina antes do fim do comando"_s;
    if (text.contains(u"not authorized"_s))
        return NotAllowed;
    return std::nullopt;
}

std::optional<QString> postgreSqlText(const QString& state, const QString& text)
{
    // PostgreSQL folds the names to lower case; the schema writes them in upper case.
    if (state == u"42P01")
        return missing(u"a tabela"_s, named(text, u"relation \"([^\"]+)\""_s).toUpper());
    if (state == u"42703")
        return missing(u"a coluna"_s, named(text, u"column \"?([^\" ]+)\"? does not exist"_s).toUpper());
    if (state == u"42601")
        return u"erro de sintaxe no SQL perto de \"%1\""_s.arg(named(text, u"at or near \"([^\"]*)\""_s));
    if (state == u"25006")
        return NotAllowed;
    if (state == u"55P03" || state == u"40P01")
        return Busy;
    if (state == u"28P01" || state == u"28000")
        return u"o banco de dados recusou o usuário ou a senha"_s;
    if (state == u"3D000")
        return u"o banco de dados não existe no servidor PostgreSQL"_s;
    if (state == u"42501")
        return u"o usuário não tem permissão para isso no banco de dados"_s;
    if (state.startsWith(u"08") || state == u"57P01")
        return Lost;
    return std::nullopt;
}

} // namespace

QString failureText(const QSqlError& error)
{
    // The engine's own words; Qt's (driverText) only say which step failed.
    const QString text = (error.databaseText().isEmpty() ? error.driverText() : error.databaseText()).trimmed();
    const QString code = error.nativeErrorCode();
    // PostgreSQL's codes are SQLSTATEs of five characters; SQLite's, numbers of at most four digits.
    if (const std::optional<QString> known =
            code.size() == 5 ? postgreSqlText(code, text) : sqliteText(code.toInt(), text))
        return *known;
    // libpq's own failures to reach the server carry no code.
    for (const QString& unreachable :
         {u"could not connect"_s, u"server closed the connection"_s, u"no connection to the server"_s})
        if (text.contains(unreachable))
            return Lost;
    return u"o banco de dados respondeu: %1"_s.arg(text);
}

} // namespace database
