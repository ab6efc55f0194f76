// fiscal-import --db PATH|postgresql://USER@HOST[:PORT]/DB [--empresa CNPJ] PATH...
#include "DatabaseError.h"
#include "Importer.h"
#include "TerminalProgress.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int exitImported = 0;
constexpr int exitDatabaseFailed = 1;
constexpr int exitSomeRefused = 2;
constexpr int exitUsage = 64;

void say(FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stream);
}

int usage(const QCommandLineParser& parser, const QString& problem)
{
    say(stderr, problem);
    say(stderr, parser.helpText());
    return exitUsage;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"fiscal-import"_s);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Importa para o banco de dados fiscal os XMLs de NF-e e NFC-e, os seus eventos de cancelamento, e os arquivos "
        "da EFD ICMS/IPI e da EFD-Contribuições; pastas (com as subpastas) e arquivos .zip também.\n"
        "Saída: 0 tudo importado; 2 algum arquivo recusado (os outros importados); 1 falha do banco de dados; "
        "64 linha de comando inválida."_s);
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption dbOption(
        u"db"_s,
        u"Banco de dados fiscal: arquivo SQLite (criado se não existir), ou postgresql://USUARIO@SERVIDOR[:PORTA]/"
        "BANCO (senha em PGPASSWORD ou ~/.pgpass)."_s,
        u"PATH|URL"_s);
    const QCommandLineOption companyOption(
        u"empresa"_s, u"CNPJ de uma empresa a cadastrar a partir dos XMLs em que aparece, se o banco não a tiver."_s,
        u"CNPJ"_s);
    parser.addOptions({dbOption, companyOption});
    parser.addPositionalArgument(u"CAMINHO"_s, u"Arquivos, pastas ou arquivos .zip a importar."_s, u"CAMINHO..."_s);

    if (!parser.parse(app.arguments()))
        return usage(parser, parser.errorText());
    if (parser.isSet(helpOption)) {
        say(stdout, parser.helpText());
        return exitImported;
    }
    if (!parser.isSet(dbOption))
        return usage(parser, u"Informe o banco de dados fiscal com --db."_s);
    if (parser.positionalArguments().isEmpty())
        return usage(parser, u"Informe os arquivos ou pastas a importar."_s);
    const QString company = parser.value(companyOption);
    if (parser.isSet(companyOption) && !QRegularExpression(u"^\\d{14}$"_s).match(company).hasMatch())
        return usage(parser, u"--empresa \"%1\" não é um CNPJ de 14 dígitos (sem pontos nem barras)."_s.arg(company));

    try {
        fiscalimport::Importer importer(parser.value(dbOption), company);
        fiscalimport::ImportSummary summary;
        {
            TerminalProgress progress;
            summary = importer.run(parser.positionalArguments(), progress);
        }
        say(stdout, summary.text());
        return summary.refused.isEmpty() ? exitImported : exitSomeRefused;
    } catch (const database::DatabaseError& error) {
        say(stderr, error.message());
        return exitDatabaseFailed;
    }
}
