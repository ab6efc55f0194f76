// The document-model and operation-type lists chosen from the local tables: what the list offers and keeps, and
// "Lista" with nothing chosen stopping the output.
#include "LookupFixture.h"

#include "Dispatch.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TRadioButton.h"

using namespace Qt::StringLiterals;

namespace {

using ListChoiceTest = LookupTest;

// Everything before the lists passes: ICMS, company 01 and its registration, a period.
void FillValid(TfrmConFisc& screen)
{
    screen.medImposto->setText(u"01"_s);
    screen.medEmpresa->setText(u"01"_s);
    screen.edtInscricao->setText(u"123456785119"_s);
    screen.depInicial->setText(u"01/02/2025"_s);
    screen.depFinal->setText(u"28/02/2025"_s);
}

} // namespace

TEST_F(ListChoiceTest, TodosForgetsTheChoiceSoLaterOutputNeedsANewOne)
{
    TfrmConFisc& screen = start();
    FillValid(screen);
    screen.rdbListaMod->setChecked(true);
    dialogs->answerChoose(QList<int>{0, 2});
    Dispatch([&] { screen.btnModDoc->Click(); });
    EXPECT_EQ(stListaMod, u"55,65"_s);
    dialogs->answerChoose(std::nullopt);
    Dispatch([&] { screen.btnModDoc->Click(); });
    EXPECT_EQ(dialogs->shown.last().ticked, (QList<int>{0, 2})) << "the list opens on the current choice";
    EXPECT_EQ(stListaMod, u"55,65"_s) << "cancelling keeps it";
    EXPECT_TRUE(Dispatch([&] { screen.Vd_ValidaCampos(true); }));

    screen.rdbTodosMod->setChecked(true);
    screen.rdbListaMod->setChecked(true);
    EXPECT_TRUE(screen.btnModDoc->isEnabled());
    EXPECT_EQ(stListaMod, QString());
    EXPECT_FALSE(Dispatch([&] { screen.Vd_ValidaCampos(true); }));
    EXPECT_EQ(errors(), QStringList{u"Modelo de documento deve ser informado."_s});
    dialogs->answerChoose(std::nullopt);
    Dispatch([&] { screen.btnModDoc->Click(); });
    EXPECT_EQ(dialogs->shown.last().ticked, QList<int>{});
}

// Each click reads the table again; types are keyed by indicator and code; an empty table says so.
TEST_F(ListChoiceTest, EachClickOffersTheTableAsItIsNow)
{
    TfrmConFisc& screen = start();
    screen.rdbListaMod->setChecked(true);
    screen.rdbListaTp->setChecked(true);
    dialogs->answerChoose(QList<int>{0, 1});
    Dispatch([&] { screen.btnTpOperacao->Click(); });
    EXPECT_EQ(stListaTp, u"ETR,STR"_s) << "an entry and an exit type sharing a code are two choices";
    EXPECT_EQ(dialogs->shown.last().title, u"Tipo de Operação"_s);
    EXPECT_EQ(dialogs->shown.last().text, u"Código|Nome|Entrada/Saída"_s);

    QSqlQuery insert(dtmDBGeral()->adcGeral->Database());
    ASSERT_TRUE(insert.exec(u"INSERT INTO MODDOCFISC VALUES ('01', 'Nota Fiscal modelo 1/1-A')"_s));
    dialogs->answerChoose(QList<int>{0});
    Dispatch([&] { screen.btnModDoc->Click(); });
    EXPECT_EQ(stListaMod, u"01"_s) << "the model added while the screen is open";
    EXPECT_EQ(dialogs->shown.last().title, u"Modelo de Documento"_s);

    ASSERT_TRUE(insert.exec(u"DELETE FROM MODDOCFISC"_s));
    Dispatch([&] { screen.btnModDoc->Click(); });
    EXPECT_EQ(errors(), QStringList{u"Não há modelo de documento cadastrado."_s});
    EXPECT_EQ(stListaMod, u"01"_s);
}

// A report that disables the list radios while "Lista" is checked with nothing chosen still stops the output; the
// disabled radio cannot take the focus, which stays where it was.
TEST_F(ListChoiceTest, ADisabledListaWithNothingChosenStillStopsTheOutput)
{
    TfrmConFisc& screen = start();
    FillValid(screen);
    screen.rdbListaTp->setChecked(true);
    TComboBox* reports = child<TComboBox>(u"cbbReportNames"_s);
    reports->setItemIndex(reports->findText(u"Conferência GIA RS"_s));
    screen.cbbReportNamesChange(reports);
    ASSERT_FALSE(screen.rdbListaTp->isEnabled());
    screen.depFinal->SetFocus();

    EXPECT_FALSE(Dispatch([&] { screen.Vd_ValidaCampos(true); }));
    EXPECT_EQ(errors(), QStringList{u"Tipo de Operação deve ser informado."_s});
    EXPECT_TRUE(screen.depFinal->isAncestorOf(focused()));
}
