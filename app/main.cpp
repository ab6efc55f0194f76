#include "CommandLine.h"
#include "Dialogs.h"
#include "Dispatch.h"
#include "Exceptions.h"
#include "HostSettings.h"
#include "MainWindow.h"
#include "ModuleLoader.h"
#include "QtDialogs.h"
#include "ScreenshotTour.h"
#include "ScriptedDialogs.h"
#include "UnattendedSave.h"
#include "TApplication.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// The folder of the running program, known before the application object exists.
QString ProgramDir() { return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2); }

void PrintTo(FILE* stream, const QString& text) { std::fputs(qPrintable(text + u'\n'), stream); }

// Saves the chosen report of the opened screen, then ends the program: 0 when the file was written, 1 with the
// screen's messages on the error output.
void ScheduleUnattendedSave(MainWindow& window, ScriptedDialogs& dialogs, const AppOptions& options)
{
    QTimer::singleShot(0, &window, [&window, &dialogs, options] {
        const QStringList messages =
            SaveReportUnattended(*window.mdiArea(), dialogs, options.report, options.fields, options.saveFile);
        for (const QString& message : messages)
            PrintTo(stderr, message);
        if (messages.isEmpty())
            PrintTo(stdout, options.saveFile);
        QCoreApplication::exit(messages.isEmpty() ? 0 : 1);
    });
}

// Saves the screenshots of the opened screen, then ends the program: 0 when every picture was written.
void ScheduleScreenshots(MainWindow& window, const QString& dir)
{
    QTimer::singleShot(0, &window, [&window, dir] {
        int exitCode = 1;
        Dispatch([&] {
            for (const QString& file : TakeReportScreenshots(*window.mdiArea(), dir))
                PrintTo(stdout, file);
            exitCode = 0;
        });
        QCoreApplication::exit(exitCode);
    });
}

} // namespace

int main(int argc, char** argv)
{
    // The command line is read before the application object, so that --help and mistakes need no display.
    QCoreApplication::setApplicationName(QStringLiteral("host-app"));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    AppOptions options;
    try {
        options = ParseCommandLine(arguments, ProgramDir(), HostSettings::current());
    } catch (const EHostError& e) {
        PrintTo(stderr, e.message());
        return 2;
    }
    if (!options.helpText.isEmpty()) {
        PrintTo(stdout, options.helpText);
        return 0;
    }

    if (!options.saveFile.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen"); // unattended: no display needed
    QApplication app(argc, argv);
    // The host speaks Brazilian Portuguese: Qt's own dialogs (file, print, message buttons) included.
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), u"qtbase"_s, u"_"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);

    // Unattended, every message is recorded for the error output instead of waiting for a person.
    ScriptedDialogs* unattended = options.saveFile.isEmpty() ? nullptr : &ScriptedDialogs::reset();
    if (!unattended)
        Dialogs::install(std::make_unique<QtDialogs>());
    ModuleLoader modules(ModuleLoader::defaultLibraryDir());
    MainWindow window(modules);
    TApplication::instance().setMdiArea(window.mdiArea());
    window.resize(1024, 700);
    window.show();

    if (!options.openModule.isEmpty())
        window.openModule(options.openModule, options.presets);
    if (!options.screenshotDir.isEmpty())
        ScheduleScreenshots(window, options.screenshotDir);
    if (unattended)
        ScheduleUnattendedSave(window, *unattended, options);
    return QApplication::exec();
}
