#pragma once

#include "ScreenFixture.h"

#include "RecordingRelay.h"
#include "TADOIBQuery.h"
#include "TBtnPesquisa.h"
#include "TDBConnection.h"
#include "TDataSet.h"
#include "TEdit.h"
#include "TMaskEdit.h"
#include "TdtmDBGeral.h"
#include "TestServer.h"

#include <QApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <memory>

// Taxes and books of every collecting-authority indicator, companies with state and municipal registrations,
// monthly ICMS maps of company 01 under a state registration and one ISS map under its municipal one, document
// models, and operation types of which an entry and an exit share a code.
inline const QStringList& LookupFixtures()
{
    using namespace Qt::StringLiterals;
    static const QStringList fixtures = {
        u"INSERT INTO IMPOSTONFE VALUES ('01', 'ICMS', 'ICMS próprio', 'E')"_s,
        u"INSERT INTO IMPOSTONFE VALUES ('03', 'IPI', 'Imposto sobre Produtos Industrializados', 'F')"_s,
        u"INSERT INTO IMPOSTONFE VALUES ('06', 'ISS', 'ISSQN', 'M')"_s,
        u"INSERT INTO IMPOSTONFE VALUES ('07', 'ICMSMIN', 'indicador em minúscula', 'e')"_s,
        u"INSERT INTO IMPOSTONFE VALUES ('08', 'SEMORGAO', 'sem indicador', '')"_s,
        u"INSERT INTO LIVROMAG VALUES ('0000000001', 'Registro de Entradas', '01')"_s,
        u"INSERT INTO LIVROMAG VALUES ('0000000006', 'Livro do ISS', '06')"_s,
        u"INSERT INTO LIVROMAG VALUES ('0000000008', 'RAIPI', '03')"_s,
        u"INSERT INTO LIVROMAG VALUES ('0000000011', 'Livro de indicador em minúscula', '07')"_s,
        u"INSERT INTO LIVROMAG VALUES ('0000000012', 'Livro sem indicador', '08')"_s,
        u"INSERT INTO EMPRESA VALUES ('01', 'Comercial Paulista', '12345678000195', 'SP')"_s,
        u"INSERT INTO EMPRESA VALUES ('02', 'Metalúrgica Gaúcha S.A.', '23456789000104', 'RS')"_s,
        u"INSERT INTO EMPRESA VALUES ('03', 'Serviços Paulistanos Ltda.', '34567890000113', 'SP')"_s,
        u"INSERT INTO INSCRESTAD VALUES ('01', '123456785119', 'SP')"_s,
        u"INSERT INTO INSCRESTAD VALUES ('01', '555666770102  ', 'SP')"_s,
        u"INSERT INTO INSCRESTAD VALUES ('02', '0961234563', 'RS')"_s,
        u"INSERT INTO INSCRMUNICIP VALUES ('01', '12345678', 'São Paulo')"_s,
        u"INSERT INTO INSCRMUNICIP VALUES ('03', '00458721', 'São Paulo')"_s,
        u"INSERT INTO MAPAAPUR (NRMAPAAPUR, CDEMPRESA, CDINSCRICAO, CDIMPOSTO, NMMAPAAPUR, DTINIPERIODO, DTFIMPERIODO) "
        "VALUES (1, '01', '123456785119', '01', 'Apuração ICMS 01/2025', '2025-01-01', '2025-01-31'), "
        "(2, '01', '123456785119', '01', 'Apuração ICMS 02/2025', '2025-02-01', '2025-02-28'), "
        "(3, '01', '123456785119', '01', 'Apuração ICMS 03/2025', '2025-03-01', '2025-03-31'), "
        "(4, '01', '12345678', '06', 'Apuração ISS 01/2025', '2025-01-01', '2025-01-31')"_s,
        u"INSERT INTO MODDOCFISC VALUES ('55', 'NF-e'), ('57', 'CT-e'), ('65', 'NFC-e')"_s,
        u"INSERT INTO TIPOOPERAC VALUES ('E', 'TR', 'Transferência recebida'), ('S', 'TR', 'Transferência enviada'), "
        "('S', 'VD', 'Venda')"_s,
    };
    return fixtures;
}

// The screen, shown and active, against the real application server (through a relay that records the calls) and a
// local database: both on one file made from the schema and LookupFixtures(), as in the embedded installation.
class LookupTest : public ScreenTest {
protected:
    // extraFixtures: statements run after LookupFixtures().
    TfrmConFisc& start(const QStringList& extraFixtures = {})
    {
        return startOn(std::make_unique<TestServer>(LookupFixtures() + extraFixtures));
    }

    // The same on the sample data of a new installation instead of the fixtures.
    TfrmConFisc& startOnSampleData()
    {
        return startOn(std::make_unique<TestServer>(QStringList{}, TestServer::Data::SampleData));
    }

    TfrmConFisc& startOn(std::unique_ptr<TestServer> fiscalServer)
    {
        delete frmConFisc;
        relay.reset();
        server = std::move(fiscalServer);
        relay = std::make_unique<RecordingRelay>(*server);
        dialogs = &ScriptedDialogs::reset();
        HostSettings& settings = HostSettings::current();
        settings.serverPort = relay->port();
        useHostDatabase(server->databasePath());
        TfrmConFisc& screen = openScreen();
        screen.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&screen));
        return screen;
    }

    // The database fails: the table is gone for the server and for the local queries.
    void dropTable(const QString& table)
    {
        using namespace Qt::StringLiterals;
        QSqlQuery query(dtmDBGeral()->adcGeral->Database());
        const QString dependents = TestDatabase::onPostgreSql() ? u" CASCADE"_s : QString();
        ASSERT_TRUE(query.exec(u"DROP TABLE "_s + table + dependents)) << qPrintable(query.lastError().text());
    }

    // The server is down: nothing answers on its port.
    void stopServer()
    {
        relay->stop();
        server->stop();
    }

    QStringList errors() const { return dialogs->texts(u"error"_s); }
    static QWidget* focused() { return QApplication::focusWidget(); }

    // The codes the dataset holds, in order, without moving its current row.
    static QStringList codes(const TDataSet* dataSet, const QString& field)
    {
        QStringList values;
        for (int row = 0; row < dataSet->RecordCount(); ++row)
            values.append(dataSet->Value(row, dataSet->FieldIndex(field)).toString());
        return values;
    }

    std::unique_ptr<TestServer> server;
    std::unique_ptr<RecordingRelay> relay;
};
