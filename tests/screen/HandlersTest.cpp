// What a change of a code field empties, and what the list radios do to their button and their list.
#include "ScreenFixture.h"

#include "TBtnPesquisa.h"
#include "TEdit.h"
#include "TMaskEdit.h"
#include "TRadioButton.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using HandlersTest = ScreenTest;

void FillNamesAndRegistration(TfrmConFisc& screen)
{
    screen.edtNmImposto->setText(u"ICMS"_s);
    screen.edtNmLivro->setText(u"Livro de Apuração do ICMS"_s);
    screen.edtNmEmpresa->setText(u"Comercial Paulista"_s);
    screen.edtInscricao->setText(u"110042490114"_s);
}

// What a person does in a field already filled: select it all and type.
void TypeOver(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

} // namespace

TEST_F(HandlersTest, ChangingACodeEmptiesItsNameAndTheFieldsThatDependOnIt)
{
    TfrmConFisc& screen = openScreen();
    struct Row {
        const char* change;
        std::function<void()> act;
        QList<TEdit*> emptied, kept;
    };
    const QList<Row> rows = {
        {"tax written by code",
         [&] { screen.medImposto->setText(u"01"_s); },
         {screen.edtNmImposto, screen.edtInscricao},
         {screen.edtNmLivro, screen.edtNmEmpresa}},
        {"tax typed",
         [&] { TypeOver(screen.medImposto, u"2"_s); },
         {screen.edtNmImposto, screen.edtInscricao},
         {screen.edtNmLivro, screen.edtNmEmpresa}},
        {"company written by code",
         [&] { screen.medEmpresa->setText(u"03"_s); },
         {screen.edtNmEmpresa, screen.edtInscricao},
         {screen.edtNmImposto, screen.edtNmLivro}},
        {"company typed",
         [&] { TypeOver(screen.medEmpresa, u"4"_s); },
         {screen.edtNmEmpresa, screen.edtInscricao},
         {screen.edtNmImposto, screen.edtNmLivro}},
        {"book written by code",
         [&] { screen.medLivro->setText(u"0000000001"_s); },
         {screen.edtNmLivro},
         {screen.edtInscricao, screen.edtNmImposto, screen.edtNmEmpresa}},
        {"book typed",
         [&] { TypeOver(screen.medLivro, u"7"_s); },
         {screen.edtNmLivro},
         {screen.edtInscricao, screen.edtNmImposto, screen.edtNmEmpresa}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.change);
        FillNamesAndRegistration(screen);
        row.act();
        for (TEdit* edit : row.emptied)
            EXPECT_EQ(edit->text(), QString()) << qPrintable(edit->objectName());
        for (TEdit* edit : row.kept)
            EXPECT_FALSE(edit->text().isEmpty()) << qPrintable(edit->objectName());
    }
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

TEST_F(HandlersTest, TodosDisablesTheListButtonAndForgetsTheListListaOnlyEnablesIt)
{
    TfrmConFisc& screen = openScreen();
    struct Group {
        const char* name;
        TRadioButton *todos, *lista;
        TBtnPesquisa* button;
        QString& list;
    };
    for (const Group& group :
         {Group{"document models", screen.rdbTodosMod, screen.rdbListaMod, screen.btnModDoc, stListaMod},
          Group{"operation types", screen.rdbTodosTp, screen.rdbListaTp, screen.btnTpOperacao, stListaTp}}) {
        SCOPED_TRACE(group.name);
        group.lista->setChecked(true);
        EXPECT_TRUE(group.button->isEnabled());
        group.list = u"55,65"_s;

        group.todos->setChecked(true);
        EXPECT_FALSE(group.button->isEnabled());
        EXPECT_EQ(group.list, QString());

        group.list = u"01"_s;
        QTest::mouseClick(group.lista, Qt::LeftButton);
        EXPECT_TRUE(group.lista->isChecked());
        EXPECT_TRUE(group.button->isEnabled());
        EXPECT_EQ(group.list, u"01"_s) << "Lista keeps the list";

        QTest::mouseClick(group.todos, Qt::LeftButton);
        EXPECT_TRUE(group.todos->isChecked());
        EXPECT_FALSE(group.button->isEnabled());
        EXPECT_EQ(group.list, QString());
    }
    EXPECT_TRUE(dialogs->shown.isEmpty());
}
