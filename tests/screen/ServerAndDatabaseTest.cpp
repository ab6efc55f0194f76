// The screen against the real application server and a real local database: the connection's life, the
// server's packets in the screen's datasets, and the local queries on the host's tables.
#include "ScreenFixture.h"

#include "CheckResultServ.h"
#include "TADOIBQuery.h"
#include "TClientDataSet.h"
#include "TDBConnection.h"
#include "TNetConnection.h"
#include "TdtmDBGeral.h"
#include "TestServer.h"

using namespace Qt::StringLiterals;

namespace {

class ServerAndDatabaseTest : public ScreenTest {
protected:
    void useServer(const TestServer& server)
    {
        HostSettings::current().serverHost = server.host();
        HostSettings::current().serverPort = server.port();
    }

    // The host's local queries read the server's database file, as in the embedded installation.
    static void useDatabase(const TestServer& server) { useHostDatabase(server.databasePath()); }

    static QStringList column(TDataSet* dataSet, const QString& field)
    {
        QStringList values;
        for (dataSet->First(); !dataSet->Eof(); dataSet->Next())
            values.append(dataSet->FieldByName(field)->AsString());
        return values;
    }
};

} // namespace

TEST_F(ServerAndDatabaseTest, TheScreenConnectsWhenCreatedAndDisconnectsWhenClosed)
{
    TestServer server;
    useServer(server);
    TfrmConFisc& screen = openScreen();
    EXPECT_TRUE(screen.netConFisc->Connected());
    EXPECT_EQ(screen.netConFisc->Port, server.port());

    screen.Close();
    EXPECT_FALSE(screen.netConFisc->Connected());
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

TEST_F(ServerAndDatabaseTest, EveryRemoteMethodsPacketFitsItsDataset)
{
    TestServer server({}, TestServer::Data::SampleData);
    useServer(server);
    useDatabase(server);
    TfrmConFisc& screen = openScreen();
    const QString company = u"01"_s, registration = u"123456785119"_s, tax = u"01"_s;
    QString models, types;
    struct Row {
        QString method;
        QVariantList arguments;
        TClientDataSet* dataSet;
        QList<QString*> byReference;
    };
    const QList<Row> rows = {
        {u"GetImpoGrup"_s, {u""_s, u"T"_s}, screen.cdsImpo, {}},
        {u"GetLivroMag"_s, {u""_s}, screen.cdsLivro, {}},
        {u"GetDtIni"_s, {company, registration, tax}, screen.cdsDataInicial, {}},
        {u"GetDtFim"_s, {company, registration, QDate(2026, 1, 1), tax}, screen.cdsDataFinal, {}},
        {u"GetVdDataIni"_s, {company, registration, QDate(2026, 1, 1), tax}, screen.cdsVdDataIni, {}},
        {u"GetVdDataFinal"_s, {company, registration, QDate(2026, 1, 31), tax}, screen.cdsVdDataFinal, {}},
        {u"getDadosGia"_s,
         {company, registration, QDate(2026, 1, 1), QDate(2026, 1, 31), tax, u"2"_s, u""_s},
         screen.cdsDadosGiaSP,
         {&models, &types}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.method.toStdString());
        EXPECT_NO_THROW(row.dataSet->SetData(
            CheckResultServ(screen.netConFisc->AppServer().call(row.method, row.arguments, row.byReference), true, 0)));
        EXPECT_FALSE(row.dataSet->IsEmpty());
    }
    EXPECT_EQ(screen.cdsImpoSGIMPOSTONFE->AsString(), u"ICMS"_s);
    EXPECT_EQ(screen.cdsDataInicialDTINICIAL->AsString(), u"01/01/2025"_s);
    EXPECT_EQ(screen.cdsVdDataFinalDTFINAL->AsString(), u"31/01/2026"_s);
}

TEST_F(ServerAndDatabaseTest, LocalQueriesReadTheHostsTables)
{
    TestServer server({
        u"INSERT INTO EMPRESA VALUES ('02', 'Metalúrgica Gaúcha S.A.', '23456789000104', 'RS')"_s,
        u"INSERT INTO EMPRESA VALUES ('01', 'Comercial Paulista', '12345678000195', 'SP')"_s,
        u"INSERT INTO INSCRESTAD VALUES ('01', '900012345112', 'SP')"_s,
        u"INSERT INTO INSCRESTAD VALUES ('01', '123456785119', 'SP')"_s,
        u"INSERT INTO INSCRESTAD VALUES ('02', '0961234563', 'RS')"_s,
        u"INSERT INTO INSCRMUNICIP VALUES ('01', '12345678', 'São Paulo')"_s,
        u"INSERT INTO INSCRMUNICIP VALUES ('02', '4321', 'Caxias do Sul')"_s,
        u"INSERT INTO MODDOCFISC VALUES ('65', 'NFC-e')"_s,
        u"INSERT INTO MODDOCFISC VALUES ('55', 'NF-e')"_s,
        u"INSERT INTO TIPOOPERAC VALUES ('S', 'TR', 'Transferência enviada')"_s,
        u"INSERT INTO TIPOOPERAC VALUES ('E', 'TR', 'Transferência recebida')"_s,
        u"INSERT INTO TIPOOPERAC VALUES ('E', 'CO', 'Compra')"_s,
    });
    useDatabase(server);
    TfrmConFisc& screen = openScreen();

    screen.qryEmpresa->ParamByName(u"P_TEMPRESA"_s)->SetAsString(u"T"_s);
    screen.qryEmpresa->ParamByName(u"P_EMPRESA"_s)->Clear();
    screen.qryEmpresa->Open();
    EXPECT_EQ(column(screen.qryEmpresa->Query(), u"CDEMPRESA"_s), (QStringList{u"01"_s, u"02"_s}));
    screen.qryEmpresa->Close();
    screen.qryEmpresa->ParamByName(u"P_TEMPRESA"_s)->Clear();
    screen.qryEmpresa->ParamByName(u"P_EMPRESA"_s)->SetAsString(u"02"_s);
    screen.qryEmpresa->Open();
    EXPECT_EQ(column(screen.qryEmpresa->Query(), u"NMEMPRESA"_s), QStringList{u"Metalúrgica Gaúcha S.A."_s});

    for (const auto& [query, prefix, expected] :
         {std::tuple{screen.qryInscEsta, u"CDINSCESTA"_s, QStringList{u"123456785119"_s, u"900012345112"_s}},
          std::tuple{screen.qryInscMuni, u"CDINSCMUNI"_s, QStringList{u"12345678"_s}}}) {
        SCOPED_TRACE(query->objectName().toStdString());
        query->ParamByName(u"P_CDEMPRESA"_s)->SetAsString(u"01"_s);
        query->ParamByName(u"P_T"_s + prefix)->SetAsString(u"T"_s);
        query->ParamByName(u"P_"_s + prefix)->Clear();
        query->Open();
        EXPECT_EQ(column(query->Query(), prefix), expected) << "the company's registrations only";
    }

    screen.qryModDoc->Open();
    EXPECT_EQ(column(screen.qryModDoc->Query(), u"CDMODDOCFISC"_s), (QStringList{u"55"_s, u"65"_s}));

    screen.qrtTpOperacao->Open();
    EXPECT_EQ(column(screen.qrtTpOperacao->Query(), u"CHAVE"_s), (QStringList{u"ECO"_s, u"ETR"_s, u"STR"_s}))
        << "entry and exit with one code are two keys";
    EXPECT_TRUE(dialogs->shown.isEmpty());
}
