// A user at the keyboard: codes typed into the real widgets, Tab to leave them, the focus and texts as they show.
#include "LookupFixture.h"

#include "Dispatch.h"
#include "TComboBox.h"

using namespace Qt::StringLiterals;

namespace {

using LookupFlowTest = LookupTest;
using PostgreSqlRestartTest = LookupTest;

// Runs the exit handlers queued by a focus change.
void Settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

void TypeOver(QLineEdit* edit, const QString& keys)
{
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, keys);
}

void Tab()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    Settle();
}

} // namespace

TEST_F(LookupFlowTest, TypingCodesAndTabbingShowsTheirNamesAndOffersTheRegistrationOfTheTax)
{
    TfrmConFisc& screen = start();
    screen.medImposto->SetFocus();
    QTest::keyClicks(screen.medImposto, u"1"_s);
    Tab();
    EXPECT_EQ(screen.medImposto->text(), u"01"_s);
    EXPECT_EQ(screen.edtNmImposto->text(), u"ICMS"_s);
    EXPECT_EQ(relay->calls(), QStringList{uR"(GetImpoGrup ["01",""])"_s}) << "the adjusted code, no all-rows flag";
    EXPECT_TRUE(screen.edtInscricao->isEnabled());
    EXPECT_EQ(screen.btnInscricao->Title, u"Inscrição Estadual"_s);
    EXPECT_EQ(focused(), screen.medEmpresa);

    TypeOver(screen.medImposto, u"3"_s);
    Tab();
    EXPECT_EQ(screen.edtNmImposto->text(), u"IPI"_s);
    EXPECT_FALSE(screen.edtInscricao->isEnabled()) << "a federal tax takes no registration";
    EXPECT_EQ(focused(), screen.medEmpresa);

    TypeOver(screen.medImposto, u"9"_s);
    Tab();
    EXPECT_EQ(errors(), QStringList{u"Imposto não cadastrado."_s});
    EXPECT_EQ(screen.medImposto->text(), u"09"_s);
    EXPECT_EQ(screen.edtNmImposto->text(), QString());
    EXPECT_EQ(focused(), screen.medImposto) << "an unknown code keeps the focus";

    TypeOver(screen.medImposto, u"6"_s);
    Tab();
    EXPECT_EQ(screen.edtNmImposto->text(), u"ISS"_s);
    EXPECT_EQ(screen.btnInscricao->Title, u"Inscrição Municipal"_s);
    EXPECT_EQ(focused(), screen.medEmpresa);

    QTest::keyClicks(screen.medEmpresa, u"3"_s);
    Tab();
    EXPECT_EQ(screen.medEmpresa->text(), u"03"_s);
    EXPECT_EQ(screen.edtNmEmpresa->text(), u"Serviços Paulistanos Ltda."_s);
    EXPECT_EQ(screen.qryEmpresa->ParamByName(u"P_EMPRESA"_s)->Value(), QVariant(u"03"_s));
    EXPECT_TRUE(screen.qryEmpresa->ParamByName(u"P_TEMPRESA"_s)->IsNull());
    EXPECT_EQ(codes(screen.qryEmpresa->Query(), u"CDEMPRESA"_s), QStringList{u"03"_s});
    EXPECT_EQ(focused(), screen.edtInscricao);

    dialogs->answerPick(0);
    QTest::keyClick(screen.edtInscricao, Qt::Key_F2);
    EXPECT_EQ(screen.edtInscricao->text(), u"00458721"_s) << "F2 opens the company's municipal registrations";
    Tab();
    EXPECT_EQ(focused(), screen.cbbEntrSaid) << "a registration of the company passes";

    TypeOver(screen.medImposto, QString());
    QTest::keyClick(screen.medImposto, Qt::Key_Delete);
    Tab();
    EXPECT_EQ(focused(), screen.medEmpresa) << "an empty field may be left";
    EXPECT_EQ(screen.edtInscricao->text(), QString()) << "a new tax clears the registration";
    EXPECT_EQ(errors().size(), 1);
}

// The database server restarts under the screen: the lookups that follow, on the server and local, work as before.
TEST_F(PostgreSqlRestartTest, TheLookupsAfterADatabaseRestartWork)
{
    TfrmConFisc& screen = start();
    const auto leaveTaxAndCompany = [&](const QString& tax, const QString& company) {
        screen.medImposto->setText(tax);
        Dispatch([&] { screen.medImpostoExit(screen.medImposto); });
        screen.medEmpresa->setText(company);
        Dispatch([&] { screen.medEmpresaExit(screen.medEmpresa); });
    };
    leaveTaxAndCompany(u"01"_s, u"01"_s);

    ASSERT_TRUE(TestDatabase::controlPostgreSql(u"restart"_s));
    leaveTaxAndCompany(u"03"_s, u"02"_s);
    EXPECT_EQ(screen.edtNmEmpresa->text(), u"Metalúrgica Gaúcha S.A."_s);
    leaveTaxAndCompany(u"06"_s, u"03"_s);
    EXPECT_EQ(screen.edtNmEmpresa->text(), u"Serviços Paulistanos Ltda."_s);
    EXPECT_TRUE(errors().isEmpty()) << qPrintable(errors().join(u'\n'));
}
