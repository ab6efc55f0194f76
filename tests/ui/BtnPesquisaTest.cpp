#include "Exceptions.h"
#include "TBtnPesquisa.h"
#include "UiTest.h"

using namespace Qt::StringLiterals;

namespace {

class BtnPesquisaTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        button = new TBtnPesquisa(form.get(), u"btnImposto"_s);
        button->Title = u"Imposto"_s;
        button->EmptyError = u"Não há imposto cadastrado."_s;
        button->SetDataSource(&source);
        button->OnBeforePesq = [this](QObject* sender, bool&) {
            log.entries.append(u"before:"_s + sender->objectName());
            source.SetDataSet(dataSet.get());
        };
        button->OnAfterPesq = [this](QObject* sender) {
            log.entries.append(u"after:"_s + sender->objectName() + u'=' +
                               dataSet->FieldByName(u"CDIMPOSTONFE"_s)->AsString());
        };
        button->OnClick = log.recorder(u"click"_s);
    }

    std::unique_ptr<TClientDataSet> dataSet = TaxDataSet();
    TDataSource source;
    TBtnPesquisa* button = nullptr;
    EventLog log;
};

} // namespace

TEST_F(BtnPesquisaTest, PickMovesTheDatasetThenFiresAfter)
{
    dialogs->answerPick(2);
    button->Click();
    EXPECT_EQ(log.entries, (QStringList{u"before:btnImposto"_s, u"after:btnImposto=06"_s}));
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown[0].kind, u"pick"_s);
    EXPECT_EQ(dialogs->shown[0].title, u"Imposto"_s);
    EXPECT_EQ(dialogs->shown[0].text, u"Codigo|Sigla"_s) << "the visible fields, by their labels";
}

TEST_F(BtnPesquisaTest, CancelledListFiresNoAfter)
{
    dialogs->answerPick(std::nullopt);
    button->Click();
    EXPECT_EQ(log.entries, QStringList{u"before:btnImposto"_s});
    EXPECT_EQ(dataSet->RecNo(), 0);
}

TEST_F(BtnPesquisaTest, EmptyDatasetShowsTheEmptyError)
{
    dataSet = TaxDataSet({});
    button->Click();
    EXPECT_EQ(log.entries, QStringList{u"before:btnImposto"_s});
    EXPECT_EQ(dialogs->texts(u"error"_s), QStringList{u"Não há imposto cadastrado."_s});
    EXPECT_TRUE(dialogs->texts(u"pick"_s).isEmpty());
}

TEST_F(BtnPesquisaTest, RefusedOrFailedBeforeEndsTheClickWithoutAList)
{
    SCOPED_TRACE("Allow cleared");
    button->OnBeforePesq = [](QObject*, bool& allow) { allow = false; };
    button->Click();
    EXPECT_TRUE(dialogs->shown.isEmpty());

    SCOPED_TRACE("an exception, clicked by the user: shown by the guard, no list");
    button->OnBeforePesq = [](QObject*, bool&) { throw EServerError(u"Servidor indisponível."_s); };
    showForm();
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(dialogs->texts(u"error"_s), QStringList{u"Servidor indisponível."_s});
    EXPECT_TRUE(dialogs->texts(u"pick"_s).isEmpty());
    EXPECT_TRUE(log.entries.isEmpty());
}

TEST_F(BtnPesquisaTest, WithoutDataSourceOnlyClickFires)
{
    button->SetDataSource(nullptr);
    EXPECT_EQ(button->DataSource(), nullptr);
    button->Click();
    EXPECT_EQ(log.entries, QStringList{u"click:btnImposto"_s});
    EXPECT_TRUE(dialogs->shown.isEmpty());

    SCOPED_TRACE("the data source is read back by identity");
    TDataSource other;
    button->SetDataSource(&other);
    EXPECT_EQ(button->DataSource(), &other);
}

TEST_F(BtnPesquisaTest, LooksLikeTheHostsLookupButton)
{
    EXPECT_EQ(button->size(), QSize(21, 21));
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(button->toolTip(), u"Pesquisar"_s);
    EXPECT_FALSE(button->icon().pixmap(16, 16, QIcon::Normal).isNull());
    EXPECT_NE(button->icon().pixmap(16, 16, QIcon::Normal).toImage(),
              button->icon().pixmap(16, 16, QIcon::Disabled).toImage());
}
