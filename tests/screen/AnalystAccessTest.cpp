// On PostgreSQL, the screen signed in as one analyst or another: each sees only the companies granted to it, in the
// lookups of the local database, in the server's answers and in a report; each report run is audited in its name.
#include "LookupFixture.h"

#include "AuditTrail.h"
#include "CheckResultServ.h"
#include "Grants.h"
#include "ReportCatalogue.h"
#include "ReportDefinition.h"
#include "ReportLayout.h"
#include "ScopedConnection.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TNetConnection.h"
#include "TReportDesignerDialog.h"

#include <QUuid>

using namespace Qt::StringLiterals;

namespace {

class AnalystAccessTest : public LookupTest {
protected:
    // A login role of the cluster seeing companies; the screen then signs in as it, to the database and the server.
    void signInAsNewAnalyst(database::ScopedConnection& owner, const QStringList& companies)
    {
        const QString role = u"analista_%1"_s.arg(QUuid::createUuid().toString(QUuid::Id128).left(8));
        QSqlQuery create(owner.database());
        ASSERT_TRUE(create.exec(u"CREATE ROLE %1 LOGIN PASSWORD 'senha secreta'"_s.arg(role)));
        admin::grantCompanies(owner, role, companies);
        HostSettings::current().databaseUser = role;
        HostSettings::current().databasePassword = u"senha secreta"_s;
        dtmDBGeral()->adcGeral->SetConnected(false);
        frmConFisc->netConFisc->SetConnected(false);
    }

    QStringList companiesInTheLookup()
    {
        dialogs->answerPick(std::nullopt);
        frmConFisc->btnEmpresa->Click();
        return codes(frmConFisc->qryEmpresa->Query(), u"CDEMPRESA"_s);
    }

    qsizetype periodsFromTheServer(const QString& company, const QString& registration)
    {
        const RemoteResult result =
            frmConFisc->netConFisc->AppServer().call(u"GetDtIni"_s, {company, registration, u"01"_s});
        return CheckResultServ(result, true, 0).rows.size();
    }

    // "Apuração de Impostos" of company 01's second quarter of 2025, as the print button runs it.
    qsizetype apportionmentRows()
    {
        const QString title = u"Apuração de Impostos"_s;
        auto* reports = child<TComboBox>(u"cbbReportNames"_s);
        reports->setItemIndex(reports->findText(title));
        frmConFisc->cbbReportNamesChange(reports);
        frmConFisc->medEmpresa->setText(u"01"_s);
        frmConFisc->depInicial->SetDate({2025, 4, 1});
        frmConFisc->depFinal->SetDate({2025, 6, 30});
        for (const QString& file : DefinitionFiles(HostSettings::current().reportsDir + u"/RLX582"_s))
            if (const ReportDefinition definition = ReportDefinition::fromFile(file); definition.title == title)
                return child<TReportDesignerDialog>(u"rpddPadrao"_s)->Run(definition)->data().detail.rows.size();
        ADD_FAILURE() << "no definition titled " << qPrintable(title);
        return -1;
    }

    void TearDown() override
    {
        HostSettings::current().databaseUser.clear();
        HostSettings::current().databasePassword.clear();
        LookupTest::TearDown();
    }
};

} // namespace

TEST_F(AnalystAccessTest, EachAnalystSeesOnlyItsCompaniesInLookupsServerAnswersAndReports)
{
    startOnSampleData();
    database::ScopedConnection owner(database::DatabaseAddress::parse(server->databasePath()),
                                     database::Access::ReadWrite);
    const qsizetype allPeriods = periodsFromTheServer(u"01"_s, u"123456785119"_s);
    const qsizetype allRows = apportionmentRows();
    ASSERT_GT(allPeriods, 0);
    ASSERT_GT(allRows, 0);
    const qsizetype audited = admin::auditSince(owner, QDate::currentDate()).size();
    const struct {
        const char* name;
        QStringList companies;
    } analysts[] = {{"granted 01", {u"01"_s}}, {"granted 02 and 03", {u"02"_s, u"03"_s}}, {"granted nothing", {}}};
    for (const auto& analyst : analysts) {
        SCOPED_TRACE(analyst.name);
        signInAsNewAnalyst(owner, analyst.companies);
        const bool sees01 = analyst.companies.contains(u"01"_s);
        EXPECT_EQ(companiesInTheLookup(), analyst.companies);
        EXPECT_EQ(periodsFromTheServer(u"01"_s, u"123456785119"_s), sees01 ? allPeriods : 0);
        EXPECT_EQ(apportionmentRows(), sees01 ? allRows : 0);
        const QList<database::AuditRecord> trail = admin::auditSince(owner, QDate::currentDate());
        ASSERT_FALSE(trail.isEmpty());
        EXPECT_EQ(trail.last().role, HostSettings::current().databaseUser);
        EXPECT_EQ(trail.last().action, u"Apuração de Impostos"_s);
        EXPECT_EQ(trail.last().rows, sees01 ? allRows : 0);
    }
    // Per analyst: the lookup of the server and the report, each once.
    EXPECT_EQ(admin::auditSince(owner, QDate::currentDate()).size(), audited + 2 * std::size(analysts));
}
