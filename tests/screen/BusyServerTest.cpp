// A report run whose GIA SP listing the real server turns away as busy: the progress window says the run waits for the
// server, and Cancelar ends the run without a message, or the run goes on once the server has a place.
#include "ScreenFixture.h"

#include "Exceptions.h"
#include "ProgressWindow.h"
#include "ReportDefinition.h"
#include "ReportLayout.h"
#include "TComboBox.h"
#include "TDBConnection.h"
#include "TDateEditPlus.h"
#include "TEdit.h"
#include "TMaskEdit.h"
#include "TReportDesignerDialog.h"
#include "TdtmDBGeral.h"
#include "TestServer.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

using BusyServerTest = ScreenTest;

// The scripted dialogs with the real progress window.
class WindowedProgress : public ScriptedDialogs {
public:
    std::unique_ptr<ReportProgress> progress(const QString& title) override
    {
        return std::make_unique<ProgressWindow>(title);
    }
};

QProgressDialog* ShownProgress()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* progress = qobject_cast<QProgressDialog*>(window); progress && progress->isVisible())
            return progress;
    return nullptr;
}

} // namespace

TEST_F(BusyServerTest, AReportWaitingForABusyServerSaysSoAndCanBeCancelled)
{
    struct Case {
        const char* name;
        bool cancel; // or the server frees a place
    };
    const Case cases[] = {{"Cancelar ends the run", true}, {"a place freed lets the run go on", false}};
    const ReportDefinition giaSp = ReportDefinition::fromFile(HostSettings::current().reportsDir +
                                                              u"/RLX582/02-listagem-documentos-gia-sp.json"_s);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fiscal::HttpLimits oneConnection;
        oneConnection.maxConnections = 1;
        const TestServer server({}, TestServer::Data::SampleData, oneConnection);
        IdleClient idle(server.port());
        HostSettings::current().serverPort = server.port();
        HostSettings::current().databasePath = server.databasePath();
        dtmDBGeral()->adcGeral->SetConnected(false);
        auto windowed = std::make_unique<WindowedProgress>();
        dialogs = windowed.get();
        Dialogs::install(std::move(windowed));
        delete frmConFisc;
        TfrmConFisc& screen =
            openScreen(Presets(u"01"_s, u"01"_s, u"123456785119"_s, u"01/03/2025"_s, u"31/03/2025"_s));
        auto* reports = screen.findChild<TComboBox*>(u"cbbReportNames"_s);
        reports->setItemIndex(reports->findText(giaSp.title));
        screen.cbbEntrSaid->setItemIndex(2);

        QString shown;
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            QProgressDialog* progress = ShownProgress();
            if (!progress || !shown.isEmpty())
                return;
            shown = progress->labelText();
            if (c.cancel)
                progress->findChild<QPushButton*>()->click();
            else
                idle.release();
        });
        watcher.start(20);
        const auto run = [&] { return child<TReportDesignerDialog>(u"rpddPadrao"_s)->Run(giaSp); };

        if (c.cancel)
            EXPECT_THROW(run(), EAbort);
        else
            EXPECT_FALSE(run()->data().detail.rows.isEmpty());
        EXPECT_EQ(shown, u"Aguardando o servidor…"_s);
        EXPECT_TRUE(dialogs->shown.isEmpty());
    }
}
