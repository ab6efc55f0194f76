// The screen as its definition builds it, before it is created through the host (no report list, no activation).
#include "ScreenFixture.h"

#include "TADOIBQuery.h"
#include "TBtnPesquisa.h"
#include "TClientDataSet.h"
#include "TColor.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TEdit.h"
#include "TGroupBox.h"
#include "TLabel.h"
#include "TMaskEdit.h"
#include "TMessages.h"
#include "TNotebook.h"
#include "TRadioButton.h"

#include <QFrame>
#include <QTest>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

std::optional<TColor> ColourOf(QWidget* widget)
{
    if (auto* edit = qobject_cast<TMaskEdit*>(widget))
        return edit->color();
    if (auto* edit = qobject_cast<TEdit*>(widget))
        return edit->color();
    if (auto* combo = qobject_cast<TComboBox*>(widget))
        return combo->color();
    if (auto* date = qobject_cast<TDateEditPlus*>(widget))
        return date->color();
    return std::nullopt;
}

class LayoutTest : public ::testing::Test {
protected:
    template <class T = QWidget>
    T* find(const QString& name) const
    {
        T* found = screen.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << qPrintable(name);
        return found;
    }

    TfrmConFisc screen;
};

} // namespace

TEST_F(LayoutTest, FormAndTheInheritedPartsItChanges)
{
    EXPECT_EQ(screen.objectName(), u"frmConFisc"_s);
    EXPECT_EQ(screen.windowTitle(), u"Conferência Fiscal"_s);
    EXPECT_EQ(screen.minimumSize(), QSize(468, 303)) << "fixed client area";
    EXPECT_EQ(screen.maximumSize(), QSize(468, 303)) << "fixed client area";
    EXPECT_EQ(find<TLabel>(u"lblCodTela"_s)->text(), u"RLX58200"_s);
    EXPECT_EQ(find(u"grbDadosRel"_s)->size(), QSize(468, 276));
    EXPECT_EQ(find(u"bvlSeparator"_s)->width(), 464);
    EXPECT_EQ(find(u"panRelat"_s)->width(), 464);
    EXPECT_EQ(find(u"panMenu"_s)->width(), 468);
    EXPECT_EQ(find<TLabel>(u"lblCodRel"_s)->text(), u"RLX582"_s);
    EXPECT_EQ(find(u"lblCodRel"_s)->width(), std::max(34, find(u"lblCodRel"_s)->sizeHint().width()));
}

TEST_F(LayoutTest, LabelsNameTheirFields)
{
    struct Row {
        QString label, caption, page;
        QRect geometry;
        QString field;
    };
    const QList<Row> rows = {
        {u"lblImposto"_s, u"Imposto"_s, u"Imposto"_s, {4, 7, 45, 13}, u"medImposto"_s},
        {u"lblLivro"_s, u"Livro Magnético"_s, u"Livro"_s, {4, 7, 92, 13}, u"medLivro"_s},
        {u"lblEmpresa"_s, u"Empresa"_s, u"grbDadosRel"_s, {6, 79, 49, 13}, u"medEmpresa"_s},
        {u"lblInscEst"_s, u"Inscrição"_s, u"grbDadosRel"_s, {6, 104, 53, 13}, u"edtInscricao"_s},
        {u"lblEntrSaid"_s, u"Entr./Said"_s, u"grbDadosRel"_s, {6, 129, 59, 13}, u"cbbEntrSaid"_s},
        {u"lblDataInicial"_s, u"Data Inicial"_s, u"grbDadosRel"_s, {6, 154, 66, 13}, u"depInicial"_s},
        {u"lblDataFinal"_s, u"Data Final"_s, u"grbDadosRel"_s, {231, 154, 59, 13}, u"depFinal"_s},
        {u"lblCfop"_s, u"CFOp"_s, u"grbDadosRel"_s, {6, 179, 32, 13}, u"medCfop"_s},
        {u"lblCst"_s, u"CST"_s, u"grbDadosRel"_s, {231, 179, 25, 13}, u"medCst"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label.toStdString());
        auto* label = find<TLabel>(row.label);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), row.caption);
        EXPECT_EQ(label->parentWidget()->objectName(), row.page);
        EXPECT_EQ(label->pos(), row.geometry.topLeft());
        EXPECT_EQ(label->height(), row.geometry.height());
        EXPECT_EQ(label->width(), std::max(row.geometry.width(), label->sizeHint().width()))
            << "the layout's width, or the caption's where the font is wider";
        EXPECT_EQ(label->font().family(), u"MS Sans Serif"_s);
        EXPECT_EQ(label->font().pixelSize(), 11);
        EXPECT_TRUE(label->font().bold());
        EXPECT_EQ(label->palette().color(QPalette::Active, QPalette::WindowText), toQColor(TColor::clWindowText));
        EXPECT_NE(label->palette().color(QPalette::Disabled, QPalette::WindowText), toQColor(TColor::clWindowText))
            << "a disabled label is greyed";
        EXPECT_EQ(label->buddy(), find(row.field));
        EXPECT_EQ(find(row.field)->accessibleName(), row.caption);
    }
}

TEST_F(LayoutTest, InputControlsGeometryColourMaskLengthAndStartingState)
{
    struct Row {
        QString name, parent;
        QRect geometry;
        std::optional<TColor> colour;
        QString mask;
        int maxLength;
        bool enabled;
    };
    constexpr auto Info = TColor::clInfoBk;
    constexpr auto Face = TColor::clBtnFace;
    constexpr auto Window = TColor::clWindow;
    const QString group = u"grbDadosRel"_s;
    const QList<Row> rows = {
        {u"medImposto"_s, u"Imposto"_s, {99, 3, 25, 21}, Info, u"99;0; "_s, 2, true},
        {u"btnImposto"_s, u"Imposto"_s, {128, 3, 21, 21}, {}, {}, 0, true},
        {u"edtNmImposto"_s, u"Imposto"_s, {154, 3, 270, 21}, Face, {}, 0, false},
        {u"medLivro"_s, u"Livro"_s, {99, 3, 73, 21}, Info, u"9999999999;0; "_s, 10, true},
        {u"btnLivro"_s, u"Livro"_s, {176, 3, 21, 21}, {}, {}, 0, true},
        {u"edtNmLivro"_s, u"Livro"_s, {201, 3, 223, 21}, Face, {}, 0, false},
        {u"medEmpresa"_s, group, {101, 76, 25, 21}, Info, u"99;0; "_s, 2, true},
        {u"btnEmpresa"_s, group, {130, 76, 21, 21}, {}, {}, 0, true},
        {u"edtNmEmpresa"_s, group, {156, 76, 271, 21}, Face, {}, 0, false},
        {u"edtInscricao"_s, group, {101, 101, 170, 21}, Info, {}, 16, true},
        {u"btnInscricao"_s, group, {275, 101, 21, 21}, {}, {}, 0, true},
        {u"cbbEntrSaid"_s, group, {101, 126, 95, 21}, Info, {}, 0, true},
        {u"depInicial"_s, group, {101, 151, 95, 21}, Info, {}, 0, true},
        {u"btnDataInicial"_s, group, {200, 151, 21, 21}, {}, {}, 0, true},
        {u"depFinal"_s, group, {301, 151, 95, 21}, Info, {}, 0, true},
        {u"btnDataFinal"_s, group, {400, 151, 21, 21}, {}, {}, 0, true},
        {u"medCfop"_s, group, {101, 176, 57, 21}, Window, u"9.999;0; "_s, 5, true},
        {u"medCst"_s, group, {301, 176, 43, 21}, Window, u"999;0; "_s, 3, true},
        {u"grbModDoc"_s, group, {6, 201, 121, 69}, {}, {}, 0, true},
        {u"rdbTodosMod"_s, u"grbModDoc"_s, {7, 16, 58, 16}, {}, {}, 0, true},
        {u"rdbListaMod"_s, u"grbModDoc"_s, {7, 40, 51, 13}, {}, {}, 0, true},
        {u"btnModDoc"_s, u"grbModDoc"_s, {62, 37, 21, 21}, {}, {}, 0, false},
        {u"grbTpOperacao"_s, group, {142, 201, 121, 69}, {}, {}, 0, true},
        {u"rdbTodosTp"_s, u"grbTpOperacao"_s, {6, 16, 58, 17}, {}, {}, 0, true},
        {u"rdbListaTp"_s, u"grbTpOperacao"_s, {6, 40, 50, 17}, {}, {}, 0, true},
        {u"btnTpOperacao"_s, u"grbTpOperacao"_s, {61, 37, 21, 21}, {}, {}, 0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        QWidget* control = find(row.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget()->objectName(), row.parent);
        EXPECT_EQ(control->geometry(), row.geometry);
        if (row.colour) {
            EXPECT_EQ(ColourOf(control), row.colour);
        }
        if (auto* masked = qobject_cast<TMaskEdit*>(control)) {
            EXPECT_EQ(masked->editMask(), row.mask);
        }
        if (row.maxLength > 0) {
            EXPECT_EQ(qobject_cast<QLineEdit*>(control)->maxLength(), row.maxLength);
        }
        EXPECT_EQ(control->isEnabled(), row.enabled);
    }
}

TEST_F(LayoutTest, NotebookHasTheTaxAndTheBookLineAndShowsTheTaxLine)
{
    auto* notebook = find<TNotebook>(u"nbkImposto"_s);
    ASSERT_NE(notebook, nullptr);
    EXPECT_EQ(notebook->parentWidget()->objectName(), u"grbDadosRel"_s);
    EXPECT_EQ(notebook->geometry(), QRect(2, 49, 462, 27));
    ASSERT_EQ(notebook->count(), 2);
    EXPECT_EQ(notebook->pageCaption(0), u"Imposto"_s);
    EXPECT_EQ(notebook->pageCaption(1), u"Livro"_s);
    EXPECT_EQ(notebook->pageIndex(), 0);
    EXPECT_EQ(notebook->widget(0)->findChild<TMaskEdit*>(), screen.medImposto);
    EXPECT_EQ(notebook->widget(1)->findChild<TMaskEdit*>(), screen.medLivro);
}

TEST_F(LayoutTest, LookupButtonsKnowTheirFieldListAndEmptyListText)
{
    struct Row {
        QString button, associate, title, source, emptyError;
    };
    const QList<Row> rows = {
        {u"btnImposto"_s, u"medImposto"_s, u"Imposto"_s, u"dtsImposto"_s, u"Não há imposto cadastrado."_s},
        {u"btnLivro"_s, u"medLivro"_s, u"Livro Magnético"_s, u"dtsLivro"_s, u"Não há livro magnético cadastrado."_s},
        {u"btnEmpresa"_s, u"medEmpresa"_s, u"Empresa"_s, u"dtsEmpresa"_s, u"Não há empresa cadastrada."_s},
        {u"btnInscricao"_s, u"edtInscricao"_s, u"Inscrição Estadual"_s, u"dtsInscEsta"_s,
         u"Não há inscrição cadastrada."_s},
        {u"btnDataInicial"_s, u"depInicial"_s, u"Data Inicial"_s, u"dtsDataInicial"_s,
         u"Não há data inicial cadastrada."_s},
        {u"btnDataFinal"_s, u"depFinal"_s, u"Data Final"_s, u"dtsDataFinal"_s, u"Não há data final cadastrada."_s},
        {u"btnModDoc"_s, u"rdbListaMod"_s, {}, {}, {}},
        {u"btnTpOperacao"_s, u"rdbListaTp"_s, {}, {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.button.toStdString());
        auto* button = find<TBtnPesquisa>(row.button);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->Associate, find(row.associate));
        EXPECT_EQ(button->Title, row.title);
        EXPECT_EQ(button->DataSource() ? button->DataSource()->objectName() : QString(), row.source);
        EXPECT_EQ(button->EmptyError, row.emptyError);
        EXPECT_EQ(button->toolTip(), u"Pesquisar"_s);
        EXPECT_EQ(button->size(), QSize(21, 21));
        EXPECT_FALSE(button->icon().isNull()) << "the search glyph";
    }
}

TEST_F(LayoutTest, ListGroupsStartOnNeitherChoiceWithTheirButtonsDisabled)
{
    for (const auto& [group, caption] :
         {std::pair{screen.grbModDoc, u"Modelo Documento"_s}, std::pair{screen.grbTpOperacao, u"Tp.Operação"_s}}) {
        SCOPED_TRACE(caption.toStdString());
        EXPECT_EQ(group->title(), caption);
        EXPECT_TRUE(group->font().bold());
        const QList<TRadioButton*> radios = group->findChildren<TRadioButton*>();
        ASSERT_EQ(radios.size(), 2);
        EXPECT_EQ(radios[0]->text(), u"Todos"_s);
        EXPECT_EQ(radios[1]->text(), u"Lista"_s);
        for (TRadioButton* radio : radios) {
            EXPECT_FALSE(radio->isChecked()) << qPrintable(radio->objectName());
            EXPECT_TRUE(radio->font().bold()) << "takes over the group's font";
        }
    }
    EXPECT_FALSE(screen.btnModDoc->isEnabled());
    EXPECT_FALSE(screen.btnTpOperacao->isEnabled());
}

TEST_F(LayoutTest, EntryExitOffersThreeChoices)
{
    QStringList items;
    for (int i = 0; i < screen.cbbEntrSaid->count(); ++i)
        items.append(screen.cbbEntrSaid->itemText(i));
    EXPECT_EQ(items, (QStringList{u"Entrada"_s, u"Saída"_s, u"Todas"_s}));
    EXPECT_FALSE(screen.cbbEntrSaid->isEditable());
}

TEST_F(LayoutTest, DateEditsShowValidDatesInBlueWithPortugueseWeekdays)
{
    const QStringList weekdays = {u"Domingo"_s, u"Segunda"_s, u"Terça"_s, u"Quarta"_s,
                                  u"Quinta"_s,  u"Sexta"_s,   u"Sábado"_s};
    for (TDateEditPlus* edit : {screen.depInicial, screen.depFinal}) {
        SCOPED_TRACE(edit->objectName().toStdString());
        EXPECT_EQ(edit->validColor(), TColor::clBlue);
        EXPECT_EQ(edit->weekdayNames(), weekdays);
    }
}

// What the user can type: digits only, at most the mask's positions; the CFOP's dot is not kept.
TEST_F(LayoutTest, TypedCodesKeepOnlyTheirDigits)
{
    struct Row {
        QLineEdit* edit;
        QString typed, text;
    };
    const QList<Row> rows = {
        {screen.medCfop, u"5102"_s, u"5102"_s},
        {screen.medCfop, u"5.102"_s, u"5102"_s},
        {screen.medCst, u"12345"_s, u"123"_s},
        {screen.medImposto, u"123"_s, u"12"_s},
        {screen.medEmpresa, u"a1b"_s, u"1"_s},
        {screen.medLivro, u"123456789012"_s, u"1234567890"_s},
        {screen.edtInscricao, u"ISENTO-123.456/789-0"_s, u"ISENTO-123.456/7"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE((row.edit->objectName() + u" typed "_s + row.typed).toStdString());
        row.edit->setFocus();
        row.edit->setCursorPosition(0);
        QTest::keyClicks(row.edit, row.typed);
        const QString text = qobject_cast<TMaskEdit*>(row.edit) ? static_cast<TMaskEdit*>(row.edit)->text()
                                                                : static_cast<TEdit*>(row.edit)->text();
        EXPECT_EQ(text, row.text);
    }
    screen.medCfop->setText(QString());
    EXPECT_EQ(screen.medCfop->text(), QString()) << "no digit reads empty";
}

TEST_F(LayoutTest, DataSourcesShowTheirDatasets)
{
    const QList<std::pair<TDataSource*, TDataSet*>> rows = {
        {screen.dtsImposto, screen.cdsImpo},
        {screen.dtsLivro, screen.cdsLivro},
        {screen.dtsEmpresa, screen.qryEmpresa->Query()},
        {screen.dtsInscEsta, screen.qryInscEsta->Query()},
        {screen.dtsInscMuni, screen.qryInscMuni->Query()},
        {screen.dtsDataInicial, screen.cdsDataInicial},
        {screen.dtsDataFinal, screen.cdsDataFinal},
        {screen.dtsModDoc, screen.qryModDoc->Query()},
        {screen.dtsTpOperacao, screen.qrtTpOperacao->Query()},
        {screen.dspVdMapa, screen.cdsVdDataIni},
        {screen.dtsVdFinal, screen.cdsVdDataFinal},
        {screen.dtsDadosGiaSP, screen.cdsDadosGiaSP},
    };
    for (const auto& [source, dataSet] : rows) {
        SCOPED_TRACE(source->objectName().toStdString());
        EXPECT_EQ(source->DataSet(), dataSet);
        EXPECT_FALSE(dataSet->Active()) << "closed at start";
    }
}

TEST_F(LayoutTest, MessageTableHoldsEveryKeyInItsStoredOrder)
{
    auto* messages = find<TMessages>(u"msgPadrao"_s);
    ASSERT_NE(messages, nullptr);
    QStringList keys;
    for (const QString& line : messages->Lines())
        keys.append(line.section(u'|', 0, 0));
    EXPECT_EQ(
        keys,
        (QStringList{u"Arq_Rel_Err"_s,  u"NovoCaption"_s,  u"NovoPrompt"_s,   u"VD_TRAD"_s,      u"ModDoc"_s,
                     u"nao_ha_mod"_s,   u"Impo_Cad"_s,     u"Impo_Inf"_s,     u"Empr_Inf"_s,     u"Empr_Cad"_s,
                     u"InscEsta_Cad"_s, u"InscEsta_Inf"_s, u"DtIni_inf"_s,    u"DtFim_inf"_s,    u"DtIni_inv"_s,
                     u"Mod_Inf"_s,      u"Tp_Inf"_s,       u"TipoOper"_s,     u"nao_ha_tipo"_s,  u"Mapa_Inv"_s,
                     u"Livro_Cad"_s,    u"Livro_Inf"_s,    u"InscMuni_Cad"_s, u"InscMuni_Inf"_s, u"Mapa_Liv_Inv"_s}));
    // A few texts whose accents and punctuation are easy to get wrong.
    EXPECT_EQ(messages->Msg(u"DtIni_inv"_s), u"Data inicial deve ser menor ou igual à data final."_s);
    EXPECT_EQ(messages->Msg(u"Tp_Inf"_s), u"Tipo de Operação deve ser informado."_s);
    EXPECT_EQ(messages->Msg(u"Mapa_Liv_Inv"_s),
              u"Não existe mapa de apuração para data e livro magnético informados."_s);
}
