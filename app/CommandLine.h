#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <utility>

struct HostSettings;

// What host-app was asked to do beyond configuring the host.
struct AppOptions {
    QString openModule;    // --open: the module to load at start, e.g. "RLX58200"; empty: none
    QVariant presets;      // --preset: a list of five texts for the module's IniProc; null without it
    QString screenshotDir; // --screenshots: write one PNG per report title of the opened screen, then quit
    // --save FILE: choose --report in the opened screen, fill each --set NAME=TEXT in order, press "Salvar como"
    // answering FILE, then quit; without a display.
    QString saveFile;
    QString report;
    QList<std::pair<QString, QString>> fields;
    QString helpText;      // not empty when --help was asked: print it and quit
};

// Reads host-app's command line (the program name first) into settings and the returned options, without
// needing the application object. Unset options keep settings' values, except the reports folder, which defaults
// to <programDir>/../reports. A malformed option raises EHostConfigError with a message for the user.
AppOptions ParseCommandLine(const QStringList& arguments, const QString& programDir, HostSettings& settings);
