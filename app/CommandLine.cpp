#include "CommandLine.h"

#include "Exceptions.h"
#include "HostSettings.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

const QCommandLineOption serverOption(u"server"_s, u"Servidor de aplicação (HOST:PORTA)."_s, u"HOST:PORT"_s);
const QCommandLineOption dbOption(u"db"_s, u"Banco de dados local (SQLite)."_s, u"PATH"_s);
const QCommandLineOption reportsOption(u"reports"_s, u"Pasta das definições de relatórios."_s, u"DIR"_s);
const QCommandLineOption dateFormatOption(u"date-format"_s, u"Formato curto de data (padrão dd/MM/yyyy)."_s,
                                          u"FMT"_s);
const QCommandLineOption openOption(u"open"_s, u"Módulo a abrir ao iniciar, por exemplo RLX58200."_s,
                                    u"MODULE"_s);
const QCommandLineOption presetOption(u"preset"_s,
                                      u"Valores iniciais da tela: IMPOSTO;EMPRESA;INSCRICAO;DTINI;DTFIM."_s,
                                      u"VALUES"_s);
const QCommandLineOption screenshotsOption(
    u"screenshots"_s, u"Grava uma imagem PNG da tela aberta para cada relatório e encerra."_s, u"DIR"_s);
const QCommandLineOption reportOption(u"report"_s, u"Relatório a escolher na tela aberta (com --save)."_s,
                                      u"TITLE"_s);
const QCommandLineOption setOption(u"set"_s,
                                   u"Preenche um campo da tela aberta antes de salvar (com --save); repetível."_s,
                                   u"NAME=TEXT"_s);
const QCommandLineOption saveOption(
    u"save"_s, u"Salva o relatório escolhido (PDF, CSV ou XLSX, pelo tipo do arquivo) sem tela e encerra."_s,
    u"FILE"_s);

void ReadServer(const QString& text, HostSettings& settings)
{
    const qsizetype colon = text.lastIndexOf(u':');
    bool portIsNumber = false;
    const int port = colon < 0 ? 0 : text.mid(colon + 1).toInt(&portIsNumber);
    if (colon <= 0 || !portIsNumber || port < 1 || port > 65535)
        throw EHostConfigError(u"--server deve ter a forma HOST:PORTA (porta de 1 a 65535): '%1'."_s.arg(text));
    settings.serverHost = text.left(colon);
    settings.serverPort = port;
}

QVariant ReadPresets(const QString& text)
{
    const QStringList values = text.split(u';');
    if (values.size() != 5)
        throw EHostConfigError(
            u"--preset deve ter cinco valores separados por ';' (IMPOSTO;EMPRESA;INSCRICAO;DTINI;DTFIM): '%1'."_s
                .arg(text));
    QVariantList presets;
    for (const QString& value : values)
        presets.append(value);
    return presets;
}

void ReadUnattendedSave(const QCommandLineParser& parser, AppOptions& options)
{
    if (!parser.isSet(saveOption)) {
        if (parser.isSet(reportOption) || parser.isSet(setOption))
            throw EHostConfigError(u"--report e --set só valem junto com --save."_s);
        return;
    }
    if (options.openModule.isEmpty() || !parser.isSet(reportOption))
        throw EHostConfigError(u"--save pede --open e --report."_s);
    options.saveFile = parser.value(saveOption);
    options.report = parser.value(reportOption);
    for (const QString& field : parser.values(setOption)) {
        const qsizetype equals = field.indexOf(u'=');
        if (equals <= 0)
            throw EHostConfigError(u"--set deve ter a forma NOME=TEXTO: '%1'."_s.arg(field));
        options.fields.append({field.left(equals), field.mid(equals + 1)});
    }
}

} // namespace

AppOptions ParseCommandLine(const QStringList& arguments, const QString& programDir, HostSettings& settings)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Aplicação hospedeira dos módulos de relatórios."_s);
    const QCommandLineOption helpOption = parser.addHelpOption();
    parser.addOptions({serverOption, dbOption, reportsOption, dateFormatOption, openOption, presetOption,
                       screenshotsOption, reportOption, setOption, saveOption});
    if (!parser.parse(arguments))
        throw EHostConfigError(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        throw EHostConfigError(u"Argumento desconhecido: '%1'."_s.arg(parser.positionalArguments().first()));

    AppOptions options;
    if (parser.isSet(helpOption)) {
        // Without the application object the parser does not know the program's name.
        options.helpText = parser.helpText().replace(u"<executable_name>"_s, QFileInfo(arguments.value(0)).fileName());
        return options;
    }
    if (parser.isSet(serverOption))
        ReadServer(parser.value(serverOption), settings);
    if (parser.isSet(dbOption))
        settings.databasePath = parser.value(dbOption);
    settings.reportsDir = parser.isSet(reportsOption)
                              ? parser.value(reportsOption)
                              : QDir::cleanPath(programDir + u"/../reports"_s);
    if (parser.isSet(dateFormatOption)) {
        if (parser.value(dateFormatOption).trimmed().isEmpty())
            throw EHostConfigError(u"--date-format não pode ser vazio."_s);
        settings.shortDateFormat = parser.value(dateFormatOption);
    }
    options.openModule = parser.value(openOption);
    if (parser.isSet(presetOption)) {
        if (options.openModule.isEmpty())
            throw EHostConfigError(u"--preset só vale junto com --open."_s);
        options.presets = ReadPresets(parser.value(presetOption));
    }
    if (parser.isSet(screenshotsOption)) {
        if (options.openModule.isEmpty())
            throw EHostConfigError(u"--screenshots só vale junto com --open."_s);
        options.screenshotDir = parser.value(screenshotsOption);
    }
    ReadUnattendedSave(parser, options);
    return options;
}
