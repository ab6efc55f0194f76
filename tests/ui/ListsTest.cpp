#include "PesquisaLista.h"
#include "SetChildEnabled.h"
#include "TEdit.h"
#include "TLabel.h"
#include "TNotebook.h"
#include "UiTest.h"

#include <QDialog>

using namespace Qt::StringLiterals;

namespace {

class PesquisaListaTest : public UiTest {
protected:
    bool choose(QString& output)
    {
        return PesquisaLista(&source, u"CDIMPOSTONFE"_s, u"Imposto|Não há imposto cadastrado."_s, false, output);
    }

    std::unique_ptr<TClientDataSet> dataSet = TaxDataSet();
    TDataSource source{nullptr, u"dtsImposto"_s, dataSet.get()};
};

} // namespace

TEST_F(PesquisaListaTest, ChosenKeysInListOrderJoinedByCommas)
{
    const struct {
        const char* name;
        QList<int> chosen;
        QString output;
    } cases[] = {
        {"one", {1}, u"02"_s},
        {"answered out of order", {2, 0}, u"01,06"_s},
        {"all", {0, 1, 2}, u"01,02,06"_s},
        {"none", {}, u""_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs->answerChoose(c.chosen);
        QString output = u"previous"_s;
        EXPECT_TRUE(choose(output));
        EXPECT_EQ(output, c.output);
    }
    EXPECT_EQ(dialogs->shown.last().kind, u"choose"_s);
    EXPECT_EQ(dialogs->shown.last().title, u"Imposto"_s);
    EXPECT_EQ(dialogs->shown.last().text, u"Codigo|Sigla"_s);
}

TEST_F(PesquisaListaTest, CancelAndEmptyListLeaveTheOutputAsItWas)
{
    QString output = u"55,65"_s;
    dialogs->answerChoose(std::nullopt);
    EXPECT_FALSE(choose(output));
    EXPECT_EQ(output, u"55,65"_s);
    EXPECT_TRUE(dialogs->texts(u"error"_s).isEmpty());

    dataSet = TaxDataSet({});
    source.SetDataSet(dataSet.get());
    EXPECT_FALSE(choose(output));
    EXPECT_EQ(output, u"55,65"_s);
    EXPECT_EQ(dialogs->texts(u"error"_s), QStringList{u"Não há imposto cadastrado."_s});
    EXPECT_EQ(dialogs->texts(u"choose"_s).size(), 1) << "no list for an empty dataset";
}

using SetChildEnabledTest = UiTest;

TEST_F(SetChildEnabledTest, ReachesEveryDescendantOfEveryPage)
{
    TNotebook notebook(form.get(), u"nbkImposto"_s);
    auto* tax = new TEdit(notebook.addPage(u"Imposto"_s), u"medImposto"_s);
    auto* book = new TEdit(notebook.addPage(u"Livro"_s), u"medLivro"_s);
    auto* name = new TEdit(book->parentWidget(), u"edtNmLivro"_s);
    name->setEnabled(false);
    QDialog ownWindow(&notebook);

    SetChildEnabled(&notebook, false);
    EXPECT_TRUE(notebook.isEnabled()) << "the container itself is not changed";
    for (QWidget* w : std::initializer_list<QWidget*>{tax, book, name, notebook.widget(1)}) {
        SCOPED_TRACE(qPrintable(w->objectName()));
        EXPECT_FALSE(w->isEnabled());
    }
    EXPECT_TRUE(ownWindow.isEnabled()) << "a window is not a control of the container";

    SetChildEnabled(&notebook, true);
    for (QWidget* w : std::initializer_list<QWidget*>{tax, book, name}) {
        SCOPED_TRACE(qPrintable(w->objectName()));
        EXPECT_TRUE(w->isEnabled());
    }
}

TEST(LabelBuddy, NamesItsControlForAccessibility)
{
    QWidget form;
    TLabel label(&form, u"lblEmpresa"_s);
    label.setText(u"&Empresa"_s);
    TEdit edit(&form, u"medEmpresa"_s);
    label.setBuddy(&edit);
    EXPECT_EQ(label.buddy(), &edit);
    EXPECT_EQ(edit.accessibleName(), u"Empresa"_s);
}
