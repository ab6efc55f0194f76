#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

struct HostSettings;

// What an unattended run (--batch) fills in the opened screen and where it saves the report. An option left out is
// empty (or nullopt); one given is typed or chosen even when its value is empty, so that the screen judges it.
struct BatchRequest {
    QString report;                    // --report: the title in the screen's report list
    QString output;                    // --output: PDF, CSV or XLSX by its type
    QStringList presets;               // --preset: the five values, as IniProc takes them; empty without it
    std::optional<QString> book;       // --book: the magnetic book's code
    std::optional<QString> direction;  // --direction: Entrada, Saída or Todas
    std::optional<QString> cfop;       // --cfop
    std::optional<QString> cst;        // --cst
    std::optional<QStringList> models; // --models: document-model codes
    std::optional<QStringList> types;  // --types: operation types, direction and code ("ECO")
};

// What host-app was asked to do beyond configuring the host.
struct AppOptions {
    QString openModule;                // --open: the module to load at start, e.g. "RLX58200"; empty: none
    QVariant presets;                  // --preset: a list of five texts for the module's IniProc; null without it
    QString screenshotDir;             // --screenshots: write one PNG per report title of the opened screen, then quit
    std::optional<BatchRequest> batch; // --batch: save a report of the opened screen without a person, then quit
    QString helpText;                  // not empty when --help was asked: print it and quit
};

// Reads host-app's command line (the program name first) into settings and the returned options, without
// needing the application object. Unset options keep settings' values, except the reports folder, which defaults
// to <programDir>/../reports. A malformed option raises EHostConfigError with a message for the user.
AppOptions ParseCommandLine(const QStringList& arguments, const QString& programDir, HostSettings& settings);

// What --help prints.
QString CommandLineHelp(const QString& programName);
