#include "BatchDialogs.h"
#include "BatchRun.h"
#include "CommandLine.h"
#include "ConsoleOutput.h"
#include "DatabaseSignIn.h"
#include "Dialogs.h"
#include "Dispatch.h"
#include "Exceptions.h"
#include "HostSettings.h"
#include "MainWindow.h"
#include "ModuleLoader.h"
#include "QtDialogs.h"
#include "ReportFiles.h"
#include "ScreenshotTour.h"
#include "TApplication.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

// The folder of the running program, known before the application object exists.
QString ProgramDir() { return QFileInfo(u"/proc/self/exe"_s).canonicalFilePath().section(u'/', 0, -2); }

// Runs the unattended report of the opened screen, then ends the program with its exit code.
void ScheduleBatch(MainWindow& window, BatchDialogs& dialogs, const BatchRequest& request, const QString& module)
{
    QTimer::singleShot(0, &window, [&window, &dialogs, request, module] {
        const auto presetScreen = [&window, &module](const QVariant& presets) { window.openModule(module, presets); };
        QCoreApplication::exit(RunBatch(*window.mdiArea(), dialogs, request, presetScreen));
    });
}

// Saves the screenshots of the opened screen, then ends the program: 0 when every picture was written.
void ScheduleScreenshots(MainWindow& window, const QString& dir)
{
    QTimer::singleShot(0, &window, [&window, dir] {
        int exitCode = 1;
        Dispatch([&] {
            for (const QString& file : TakeReportScreenshots(*window.mdiArea(), dir))
                PrintLine(stdout, file);
            exitCode = 0;
        });
        QCoreApplication::exit(exitCode);
    });
}

} // namespace

int main(int argc, char** argv)
{
    // The command line is read before the application object, so that --help and mistakes need no display.
    QCoreApplication::setApplicationName(u"host-app"_s);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    AppOptions options;
    try {
        options = ParseCommandLine(arguments, ProgramDir(), HostSettings::current());
    } catch (const EHostError& e) {
        PrintLine(stderr, e.message() + u"\n\n"_s + CommandLineHelp(QFileInfo(arguments.value(0)).fileName()));
        return 64; // a usage error, as sysexits has it
    }
    if (!options.helpText.isEmpty()) {
        PrintLine(stdout, options.helpText);
        return 0;
    }

    if (options.batch) // the error output is for the run's own messages, not Qt's notes about the platform
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                PrintLine(stderr, message);
        });
    // Unattended, no display is needed. Pages are drawn in the system's fonts; a table of rows is drawn nowhere,
    // and the platform that loads no fonts spares it the time they take to load.
    if (options.batch && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", reportFileTypeOf(options.batch->output)->pages ? "offscreen" : "minimal");
    QApplication app(argc, argv);
    // The host speaks Brazilian Portuguese: Qt's own dialogs (file, print, message buttons) included.
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), u"qtbase"_s, u"_"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);

    // Unattended, every message is recorded for the error output instead of waiting for a person.
    BatchDialogs* unattended = options.batch ? &BatchDialogs::install() : nullptr;
    if (!unattended)
        Dialogs::install(std::make_unique<QtDialogs>());
    try {
        if (!SignInToDatabase(Dialogs::current())) {
            PrintLine(stderr, u"Sem entrar no banco de dados fiscal, a aplicação não abre. Sem uma pessoa para "
                              "informar a senha, defina-a em PGPASSWORD ou em ~/.pgpass."_s);
            return 1;
        }
    } catch (const EHostError& e) {
        if (unattended)
            PrintLine(stderr, e.message());
        else
            Dialogs::current().showFailure(e.message());
        return 1;
    }
    ModuleLoader modules(ModuleLoader::defaultLibraryDir());
    if (unattended && !modules.has(options.openModule)) {
        PrintLine(stderr, ModuleLoader::unknownModule(options.openModule));
        return 64;
    }
    MainWindow window(modules);
    TApplication::instance().setMdiArea(window.mdiArea());
    window.resize(1024, 700);
    window.show();

    // Unattended, the presets go in once the run has checked them.
    if (!options.openModule.isEmpty())
        window.openModule(options.openModule, unattended ? QVariant() : options.presets);
    if (!options.screenshotDir.isEmpty())
        ScheduleScreenshots(window, options.screenshotDir);
    if (unattended)
        ScheduleBatch(window, *unattended, *options.batch, options.openModule);
    return QApplication::exec();
}
