// fiscal-admin --db postgresql://OWNER@HOST[:PORT]/DB grant ROLE 01,02 | revoke ROLE 01,02 | list | audit --desde DATA
#include "AuditTrail.h"
#include "DatabaseError.h"
#include "FiscalDatabase.h"
#include "Grants.h"
#include "ScopedConnection.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int exitDone = 0;
constexpr int exitDatabaseFailed = 1;
constexpr int exitUsage = 64;

void say(FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stream);
}

// Thrown for a command line that asks for nothing fiscal-admin does.
struct Usage {
    QString problem;
};

QDate dateOf(const QString& text)
{
    for (const QString& format : {u"dd/MM/yyyy"_s, u"yyyy-MM-dd"_s})
        if (const QDate date = QDate::fromString(text, format); date.isValid())
            return date;
    throw Usage{u"--desde \"%1\" não é uma data: use DD/MM/AAAA."_s.arg(text)};
}

QStringList codesOf(const QString& text)
{
    try {
        return admin::companyCodes(text);
    } catch (const database::DatabaseError& error) {
        throw Usage{error.message()};
    }
}

void grant(database::ScopedConnection& connection, const QStringList& arguments)
{
    if (arguments.size() != 3)
        throw Usage{u"Use: fiscal-admin --db URL grant PAPEL 01,02"_s};
    const QStringList codes = codesOf(arguments[2]);
    const QStringList unknown = admin::grantCompanies(connection, arguments[1], codes);
    say(stdout, u"%1 vê as empresas %2."_s.arg(arguments[1], codes.join(u", "_s)));
    if (!unknown.isEmpty())
        say(stdout, u"Atenção: o banco ainda não tem as empresas %1."_s.arg(unknown.join(u", "_s)));
}

void revoke(database::ScopedConnection& connection, const QStringList& arguments)
{
    if (arguments.size() != 3)
        throw Usage{u"Use: fiscal-admin --db URL revoke PAPEL 01,02"_s};
    const int revoked = admin::revokeCompanies(connection, arguments[1], codesOf(arguments[2]));
    say(stdout, u"%1 deixou de ver %2 empresa(s)."_s.arg(arguments[1]).arg(revoked));
}

void list(database::ScopedConnection& connection)
{
    const QMap<QString, QStringList> grants = admin::grantedCompanies(connection);
    if (grants.isEmpty())
        say(stdout, u"Nenhum papel vê empresa alguma."_s);
    for (auto grant = grants.begin(); grant != grants.end(); ++grant)
        say(stdout, u"%1\t%2"_s.arg(grant.key(), grant.value().join(u',')));
}

void audit(database::ScopedConnection& connection, const QCommandLineParser& parser, const QCommandLineOption& since)
{
    if (!parser.isSet(since) || parser.positionalArguments().size() != 1)
        throw Usage{u"Use: fiscal-admin --db URL audit --desde DD/MM/AAAA"_s};
    say(stdout, u"QUANDO\tPAPEL\tORIGEM\tACAO\tPARAMETROS\tLINHAS\tRESULTADO"_s);
    for (const database::AuditRecord& record : admin::auditSince(connection, dateOf(parser.value(since))))
        say(stdout, admin::auditLine(record));
}

int run(const QCommandLineParser& parser, const QCommandLineOption& dbOption, const QCommandLineOption& since)
{
    const QStringList arguments = parser.positionalArguments();
    if (!parser.isSet(dbOption) || arguments.isEmpty())
        throw Usage{u"Informe o banco (--db postgresql://DONO@SERVIDOR/BANCO) e o que fazer: grant, revoke, list ou "
                    "audit."_s};
    const database::DatabaseAddress address = database::DatabaseAddress::parse(parser.value(dbOption));
    if (address.engine() != database::Engine::PostgreSQL)
        throw Usage{u"fiscal-admin trabalha num banco PostgreSQL: um banco SQLite tem um só usuário, que vê tudo."_s};
    const QString command = arguments.first();
    if (!QStringList{u"grant"_s, u"revoke"_s, u"list"_s, u"audit"_s}.contains(command))
        throw Usage{u"Comando desconhecido: \"%1\" (grant, revoke, list ou audit)."_s.arg(command)};
    fiscal::checkDatabase(address.text());
    database::ScopedConnection connection(address, database::Access::ReadWrite);
    if (command == u"grant")
        grant(connection, arguments);
    else if (command == u"revoke")
        revoke(connection, arguments);
    else if (command == u"list")
        list(connection);
    else
        audit(connection, parser, since);
    return exitDone;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"fiscal-admin"_s);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Acesso dos analistas (papéis do PostgreSQL) às empresas do banco fiscal, e a trilha de auditoria.\n"
        "  grant PAPEL 01,02     o papel passa a ver essas empresas (e a ler as tabelas fiscais)\n"
        "  revoke PAPEL 01,02    o papel deixa de ver essas empresas\n"
        "  list                  os papéis e as empresas que cada um vê\n"
        "  audit --desde DATA    as chamadas ao servidor e os relatórios desde a data\n"
        "Roda com o dono das tabelas (quem roda fiscal-server --init); senha em PGPASSWORD ou ~/.pgpass.\n"
        "Saída: 0 feito; 1 falha do banco de dados; 64 linha de comando inválida."_s);
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption dbOption(u"db"_s, u"Banco de dados fiscal: postgresql://DONO@SERVIDOR[:PORTA]/BANCO."_s,
                                      u"URL"_s);
    const QCommandLineOption sinceOption(u"desde"_s, u"Primeiro dia da auditoria listada (DD/MM/AAAA)."_s, u"DATA"_s);
    parser.addOptions({dbOption, sinceOption});
    parser.addPositionalArgument(u"COMANDO"_s, u"grant, revoke, list ou audit"_s, u"COMANDO [PAPEL EMPRESAS]"_s);
    if (!parser.parse(app.arguments())) {
        say(stderr, parser.errorText() + u"\n\n"_s + parser.helpText());
        return exitUsage;
    }
    if (parser.isSet(helpOption)) {
        say(stdout, parser.helpText());
        return exitDone;
    }
    try {
        return run(parser, dbOption, sinceOption);
    } catch (const Usage& usage) {
        say(stderr, usage.problem + u"\n\n"_s + parser.helpText());
        return exitUsage;
    } catch (const database::DatabaseError& error) {
        say(stderr, error.message());
        return exitDatabaseFailed;
    }
}
