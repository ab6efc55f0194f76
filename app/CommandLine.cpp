#include "CommandLine.h"

#include "DatabaseAddress.h"
#include "Exceptions.h"
#include "HostSettings.h"
#include "ReportFiles.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

const QCommandLineOption serverOption(u"server"_s,
                                      u"Servidor de aplicação: HOST:PORTA, ou https://HOST:PORTA para uma conexão "
                                      "segura (TLS)."_s,
                                      u"[https://]HOST:PORT"_s);
const QCommandLineOption caOption(u"ca"_s,
                                  u"Autoridade que assina o certificado do servidor (PEM), em vez das do sistema "
                                  "(com --server https://...)."_s,
                                  u"FILE"_s);
const QCommandLineOption dbOption(u"db"_s,
                                  u"Banco de dados local: arquivo SQLite, ou postgresql://USUARIO@SERVIDOR[:PORTA]/"
                                  "BANCO (senha em PGPASSWORD ou ~/.pgpass)."_s,
                                  u"PATH|URL"_s);
const QCommandLineOption reportsOption(u"reports"_s, u"Pasta das definições de relatórios."_s, u"DIR"_s);
const QCommandLineOption dateFormatOption(u"date-format"_s, u"Formato curto de data (padrão dd/MM/yyyy)."_s, u"FMT"_s);
const QCommandLineOption openOption(u"open"_s, u"Módulo a abrir ao iniciar, por exemplo RLX58200."_s, u"MODULE"_s);
const QCommandLineOption
    presetOption(u"preset"_s, u"Valores iniciais da tela: IMPOSTO;EMPRESA;INSCRICAO;DTINI;DTFIM."_s, u"VALUES"_s);
const QCommandLineOption screenshotsOption(u"screenshots"_s,
                                           u"Grava uma imagem PNG da tela aberta para cada relatório e encerra."_s,
                                           u"DIR"_s);
const QCommandLineOption batchOption(
    u"batch"_s,
    u"Salva um relatório da tela aberta sem tela nem pessoa e encerra (pede --open, --report e --output)."_s);
const QCommandLineOption reportOption(u"report"_s, u"Relatório a escolher na lista da tela (com --batch)."_s,
                                      u"TITLE"_s);
const QCommandLineOption
    outputOption(u"output"_s, u"Arquivo a gravar: PDF, CSV ou XLSX, pelo tipo do arquivo (com --batch)."_s, u"FILE"_s);
const QCommandLineOption bookOption(u"book"_s, u"Livro magnético (com --batch)."_s, u"CODE"_s);
const QCommandLineOption directionOption(u"direction"_s, u"Entrada, Saída ou Todas (com --batch)."_s, u"DIRECTION"_s);
const QCommandLineOption cfopOption(u"cfop"_s, u"CFOP, por exemplo 5102 (com --batch)."_s, u"CFOP"_s);
const QCommandLineOption cstOption(u"cst"_s, u"CST, por exemplo 000 (com --batch)."_s, u"CST"_s);
const QCommandLineOption modelsOption(u"models"_s, u"Modelos de documento, separados por vírgula (com --batch)."_s,
                                      u"55,65"_s);
const QCommandLineOption
    typesOption(u"types"_s, u"Tipos de operação, direção e código, separados por vírgula: ECO,SVD (com --batch)."_s,
                u"ECO,SVD"_s);

const QList<QCommandLineOption> batchDetails = {reportOption, outputOption, bookOption,   directionOption,
                                                cfopOption,   cstOption,    modelsOption, typesOption};

void ReadServer(const QString& value, HostSettings& settings)
{
    const bool tls = value.startsWith(u"https://"_s, Qt::CaseInsensitive);
    const QString text = tls ? value.mid(8) : value;
    const qsizetype colon = text.lastIndexOf(u':');
    bool portIsNumber = false;
    const int port = colon < 0 ? 0 : text.mid(colon + 1).toInt(&portIsNumber);
    if (colon <= 0 || !portIsNumber || port < 1 || port > 65535)
        throw EHostConfigError(
            u"--server deve ter a forma HOST:PORTA ou https://HOST:PORTA (porta de 1 a 65535): '%1'."_s.arg(value));
    settings.serverHost = text.left(colon);
    settings.serverPort = port;
    settings.serverTls = tls;
}

QStringList ReadPresets(const QString& text)
{
    const QStringList values = text.split(u';');
    if (values.size() != 5)
        throw EHostConfigError(
            u"--preset deve ter cinco valores separados por ';' (IMPOSTO;EMPRESA;INSCRICAO;DTINI;DTFIM): '%1'."_s.arg(
                text));
    return values;
}

// The presets as IniProc takes them: a list of five texts.
QVariant PresetVariant(const QStringList& values)
{
    QVariantList presets;
    for (const QString& value : values)
        presets.append(value);
    return presets;
}

QStringList ReadCodes(const QString& text)
{
    QStringList codes;
    for (const QString& code : text.split(u',', Qt::SkipEmptyParts))
        if (!code.trimmed().isEmpty())
            codes.append(code.trimmed());
    return codes;
}

std::optional<QString> OptionalValue(const QCommandLineParser& parser, const QCommandLineOption& option)
{
    return parser.isSet(option) ? std::optional(parser.value(option)) : std::nullopt;
}

std::optional<QStringList> OptionalCodes(const QCommandLineParser& parser, const QCommandLineOption& option)
{
    return parser.isSet(option) ? std::optional(ReadCodes(parser.value(option))) : std::nullopt;
}

std::optional<BatchRequest> ReadBatch(const QCommandLineParser& parser, const AppOptions& options)
{
    if (!parser.isSet(batchOption)) {
        for (const QCommandLineOption& option : batchDetails)
            if (parser.isSet(option))
                throw EHostConfigError(u"--%1 só vale junto com --batch."_s.arg(option.names().constFirst()));
        return std::nullopt;
    }
    if (options.openModule.isEmpty() || !parser.isSet(reportOption) || !parser.isSet(outputOption))
        throw EHostConfigError(u"--batch pede --open, --report e --output."_s);
    if (parser.value(outputOption).trimmed().isEmpty())
        throw EHostConfigError(u"--output deve dar o arquivo a gravar."_s);
    if (!reportFileTypeOf(parser.value(outputOption)))
        throw EHostConfigError(
            u"--output deve ser um arquivo PDF, CSV ou XLSX (pelo tipo: .pdf, .csv ou .xlsx): '%1'."_s.arg(
                parser.value(outputOption)));
    BatchRequest request;
    request.report = parser.value(reportOption);
    request.output = parser.value(outputOption);
    if (parser.isSet(presetOption))
        request.presets = ReadPresets(parser.value(presetOption));
    request.book = OptionalValue(parser, bookOption);
    request.direction = OptionalValue(parser, directionOption);
    request.cfop = OptionalValue(parser, cfopOption);
    request.cst = OptionalValue(parser, cstOption);
    request.models = OptionalCodes(parser, modelsOption);
    request.types = OptionalCodes(parser, typesOption);
    return request;
}

void AddOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        u"Aplicação hospedeira dos módulos de relatórios.\n\n"
        "Sem pessoa, por exemplo num fechamento de mês:\n"
        "  host-app --batch --open RLX58200 --report \"Listagem de Documentos - GIA SP\"\n"
        "           --preset \"01;01;123456785119;01/03/2025;31/03/2025\" --direction Todas --output gia.pdf\n"
        "Saída: 0 gravado (o arquivo e o número de linhas), 1 falha do servidor ou do banco,\n"
        "2 um campo recusado pela tela (a mensagem e o campo), 64 linha de comando errada."_s);
    parser.addHelpOption();
    parser.addOptions({serverOption, caOption, dbOption, reportsOption, dateFormatOption, openOption, presetOption,
                       screenshotsOption, batchOption});
    parser.addOptions(batchDetails);
}

// The --db value, refused at once when it names no database (a password in a PostgreSQL URL, a missing file).
QString CheckedDatabaseAddress(const QString& value)
{
    try {
        const database::DatabaseAddress address = database::DatabaseAddress::parse(value);
        address.requireExistingFile();
        return address.text();
    } catch (const database::BadDatabaseAddress& error) {
        throw EHostConfigError(error.message());
    }
}

} // namespace

QString CommandLineHelp(const QString& programName)
{
    QCommandLineParser parser;
    AddOptions(parser);
    // Without the application object the parser does not know the program's name.
    return parser.helpText().replace(u"<executable_name>"_s, programName);
}

AppOptions ParseCommandLine(const QStringList& arguments, const QString& programDir, HostSettings& settings)
{
    QCommandLineParser parser;
    AddOptions(parser);
    if (!parser.parse(arguments))
        throw EHostConfigError(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        throw EHostConfigError(u"Argumento desconhecido: '%1'."_s.arg(parser.positionalArguments().first()));

    AppOptions options;
    if (parser.isSet(u"help"_s)) {
        options.helpText = CommandLineHelp(QFileInfo(arguments.value(0)).fileName());
        return options;
    }
    if (parser.isSet(serverOption))
        ReadServer(parser.value(serverOption), settings);
    if (parser.isSet(caOption)) {
        if (!settings.serverTls)
            throw EHostConfigError(u"--ca só vale com um servidor HTTPS: --server https://HOST:PORTA."_s);
        if (!QFileInfo(parser.value(caOption)).isFile())
            throw EHostConfigError(u"--ca: o arquivo '%1' não existe."_s.arg(parser.value(caOption)));
        settings.serverCaFile = parser.value(caOption);
    }
    if (parser.isSet(dbOption))
        settings.databasePath = CheckedDatabaseAddress(parser.value(dbOption));
    settings.reportsDir =
        parser.isSet(reportsOption) ? parser.value(reportsOption) : QDir::cleanPath(programDir + u"/../reports"_s);
    if (parser.isSet(dateFormatOption)) {
        if (parser.value(dateFormatOption).trimmed().isEmpty())
            throw EHostConfigError(u"--date-format não pode ser vazio."_s);
        settings.shortDateFormat = parser.value(dateFormatOption);
    }
    options.openModule = parser.value(openOption);
    if (parser.isSet(presetOption)) {
        if (options.openModule.isEmpty())
            throw EHostConfigError(u"--preset só vale junto com --open."_s);
        options.presets = PresetVariant(ReadPresets(parser.value(presetOption)));
    }
    if (parser.isSet(screenshotsOption)) {
        if (options.openModule.isEmpty())
            throw EHostConfigError(u"--screenshots só vale junto com --open."_s);
        options.screenshotDir = parser.value(screenshotsOption);
    }
    options.batch = ReadBatch(parser, options);
    return options;
}
