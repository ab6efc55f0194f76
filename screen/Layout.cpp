// The screen's controls: captions, geometry, masks, lengths, colours, starting states, tab order and the
// handlers bound to their events.
#include "TfrmConFisc.h"

#include "TBtnPesquisa.h"
#include "TColor.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TEdit.h"
#include "TGroupBox.h"
#include "TLabel.h"
#include "TMaskEdit.h"
#include "TNotebook.h"
#include "TRadioButton.h"
#include "TReportDesignerDialog.h"

#include <QFrame>
#include <QShortcut>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int EditHeight = 21;
constexpr int LabelHeight = 13;
constexpr int ButtonSize = 21;

// The screen's font: "MS Sans Serif", 8 points (11 pixels at 96 dpi, text height 13). Where it is not
// installed, the first of its metric-compatible stand-ins that is, so captions fit the widths of the layout.
QFont ScreenFont()
{
    QFont font;
    font.setFamilies({u"MS Sans Serif"_s, u"Microsoft Sans Serif"_s, u"Arial"_s, u"Liberation Sans"_s, u"Nimbus Sans"_s,
                      u"Helvetica"_s});
    font.setPixelSize(11);
    return font;
}

// Every label of the screen: the screen's font in bold, window-text colour.
QFont LabelFont()
{
    QFont font = ScreenFont();
    font.setBold(true);
    return font;
}

// The layout's widths fit its font; where a stand-in font is wider, the label grows rather than cut its caption.
void ShowWholeCaption(TLabel* label)
{
    label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
}

TLabel* NewLabel(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width)
{
    auto* label = new TLabel(parent, name);
    label->setText(caption);
    label->setFont(LabelFont());
    // A disabled label keeps the style's greyed text.
    QPalette palette = label->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::WindowText, toQColor(TColor::clWindowText));
    label->setPalette(palette);
    label->setGeometry(left, top, width, LabelHeight);
    ShowWholeCaption(label);
    return label;
}

TMaskEdit* NewMaskEdit(QWidget* parent, const QString& name, int left, int top, int width, const QString& mask,
                       int maxLength)
{
    auto* edit = new TMaskEdit(parent, name);
    edit->setEditMask(mask);
    edit->setMaxLength(maxLength);
    edit->setGeometry(left, top, width, EditHeight);
    return edit;
}

// A disabled box that shows the name of the code beside it.
TEdit* NewNameBox(QWidget* parent, const QString& name, int left, int top, int width)
{
    auto* edit = new TEdit(parent, name);
    edit->setColor(TColor::clBtnFace);
    edit->setEnabled(false);
    edit->setGeometry(left, top, width, EditHeight);
    return edit;
}

TBtnPesquisa* NewLookupButton(QWidget* parent, const QString& name, int left, int top, QWidget* associate)
{
    auto* button = new TBtnPesquisa(parent, name);
    button->setToolTip(u"Pesquisar"_s);
    button->Associate = associate;
    button->setGeometry(left, top, ButtonSize, ButtonSize);
    // The button takes no focus: from the keyboard, F2 in its field opens the lookup.
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F2), associate);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(shortcut, &QShortcut::activated, button, &QAbstractButton::click);
    return button;
}

void SetLookup(TBtnPesquisa* button, const QString& title, TDataSource* source, const QString& emptyError)
{
    button->Title = title;
    button->SetDataSource(source);
    button->EmptyError = emptyError;
}

TDateEditPlus* NewDateEdit(QWidget* parent, const QString& name, int left, int top)
{
    auto* edit = new TDateEditPlus(parent, name);
    edit->setColor(TColor::clInfoBk);
    edit->setValidColor(TColor::clBlue);
    edit->setWeekdayNames({u"Domingo"_s, u"Segunda"_s, u"Terça"_s, u"Quarta"_s, u"Quinta"_s, u"Sexta"_s, u"Sábado"_s});
    edit->setGeometry(left, top, 95, EditHeight);
    return edit;
}

TRadioButton* NewRadio(QWidget* parent, const QString& name, const QString& caption, QRect geometry)
{
    auto* radio = new TRadioButton(parent, name);
    radio->setText(caption);
    radio->setGeometry(geometry);
    return radio;
}

} // namespace

void TfrmConFisc::CreateControls()
{
    setWindowTitle(u"Conferência Fiscal"_s);
    setFixedSize(468, 303);
    setFont(ScreenFont());
    lblCodTela->setText(u"RLX58200"_s);
    grbDadosRel->resize(468, 276);
    grbDadosRel->OnEnter = [this](QObject* sender) { grbDadosRelEnter(sender); };
    bvlSeparator->resize(464, bvlSeparator->height());
    panRelat->resize(464, panRelat->height());
    cbbReportNames->OnChange = [this](QObject* sender) { cbbReportNamesChange(sender); };
    rpddPadrao->BeforeGetQueryParams = [this](TParams& params, bool& allow) {
        rpddPadraoBeforeGetQueryParams(params, allow);
    };
    rpddPadrao->OnDescribeParams = [this](const QList<ReportParameter>& params) {
        return rpddPadraoDescribeParams(params);
    };
    panMenu->resize(468, panMenu->height());
    lblCodRel->setText(u"RLX582"_s);
    lblCodRel->resize(34, lblCodRel->height());
    ShowWholeCaption(lblCodRel);

    nbkImposto = new TNotebook(grbDadosRel, u"nbkImposto"_s);
    nbkImposto->setGeometry(2, 49, 462, 27);
    nbkImposto->OnPageChanged = [this](QObject* sender) { nbkImpostoPageChanged(sender); };
    CreateTaxLine();
    CreateBookLine();
    CreateParameterFields();
    CreateListGroups();
    SetLookupButtons();
    SetTabOrder();
}

void TfrmConFisc::CreateTaxLine()
{
    QWidget* page = nbkImposto->addPage(u"Imposto"_s);
    lblImposto = NewLabel(page, u"lblImposto"_s, u"Imposto"_s, 4, 7, 45);
    medImposto = NewMaskEdit(page, u"medImposto"_s, 99, 3, 25, u"99;0; "_s, 2);
    medImposto->setColor(TColor::clInfoBk);
    medImposto->OnChange = [this](QObject* sender) { medImpostoChange(sender); };
    medImposto->OnExit = [this](QObject* sender) { medImpostoExit(sender); };
    lblImposto->setBuddy(medImposto);
    btnImposto = NewLookupButton(page, u"btnImposto"_s, 128, 3, medImposto);
    btnImposto->OnBeforePesq = [this](QObject* sender, bool& allow) { btnImpostoBeforePesq(sender, allow); };
    btnImposto->OnAfterPesq = [this](QObject* sender) { btnImpostoAfterPesq(sender); };
    edtNmImposto = NewNameBox(page, u"edtNmImposto"_s, 154, 3, 270);
}

void TfrmConFisc::CreateBookLine()
{
    QWidget* page = nbkImposto->addPage(u"Livro"_s);
    lblLivro = NewLabel(page, u"lblLivro"_s, u"Livro Magnético"_s, 4, 7, 92);
    medLivro = NewMaskEdit(page, u"medLivro"_s, 99, 3, 73, u"9999999999;0; "_s, 10);
    medLivro->setColor(TColor::clInfoBk);
    medLivro->OnChange = [this](QObject* sender) { medLivroChange(sender); };
    medLivro->OnExit = [this](QObject* sender) { medLivroExit(sender); };
    lblLivro->setBuddy(medLivro);
    btnLivro = NewLookupButton(page, u"btnLivro"_s, 176, 3, medLivro);
    btnLivro->OnBeforePesq = [this](QObject* sender, bool& allow) { btnLivroBeforePesq(sender, allow); };
    btnLivro->OnAfterPesq = [this](QObject* sender) { btnLivroAfterPesq(sender); };
    edtNmLivro = NewNameBox(page, u"edtNmLivro"_s, 201, 3, 223);
}

void TfrmConFisc::CreateParameterFields()
{
    QWidget* group = grbDadosRel;
    lblEmpresa = NewLabel(group, u"lblEmpresa"_s, u"Empresa"_s, 6, 79, 49);
    medEmpresa = NewMaskEdit(group, u"medEmpresa"_s, 101, 76, 25, u"99;0; "_s, 2);
    medEmpresa->setColor(TColor::clInfoBk);
    medEmpresa->OnChange = [this](QObject* sender) { medEmpresaChange(sender); };
    medEmpresa->OnExit = [this](QObject* sender) { medEmpresaExit(sender); };
    lblEmpresa->setBuddy(medEmpresa);
    btnEmpresa = NewLookupButton(group, u"btnEmpresa"_s, 130, 76, medEmpresa);
    btnEmpresa->OnBeforePesq = [this](QObject* sender, bool& allow) { btnEmpresaBeforePesq(sender, allow); };
    btnEmpresa->OnAfterPesq = [this](QObject* sender) { btnEmpresaAfterPesq(sender); };
    edtNmEmpresa = NewNameBox(group, u"edtNmEmpresa"_s, 156, 76, 271);

    lblInscEst = NewLabel(group, u"lblInscEst"_s, u"Inscrição"_s, 6, 104, 53);
    edtInscricao = new TEdit(group, u"edtInscricao"_s);
    edtInscricao->setGeometry(101, 101, 170, EditHeight);
    edtInscricao->setColor(TColor::clInfoBk);
    edtInscricao->setMaxLength(16);
    edtInscricao->OnExit = [this](QObject* sender) { edtInscricaoExit(sender); };
    lblInscEst->setBuddy(edtInscricao);
    btnInscricao = NewLookupButton(group, u"btnInscricao"_s, 275, 101, edtInscricao);
    btnInscricao->OnBeforePesq = [this](QObject* sender, bool& allow) { btnInscricaoBeforePesq(sender, allow); };
    btnInscricao->OnAfterPesq = [this](QObject* sender) { btnInscricaoAfterPesq(sender); };

    lblEntrSaid = NewLabel(group, u"lblEntrSaid"_s, u"Entr./Said"_s, 6, 129, 59);
    cbbEntrSaid = new TComboBox(group, u"cbbEntrSaid"_s);
    cbbEntrSaid->setGeometry(101, 126, 95, EditHeight);
    cbbEntrSaid->setColor(TColor::clInfoBk);
    cbbEntrSaid->addItems({u"Entrada"_s, u"Saída"_s, u"Todas"_s});
    lblEntrSaid->setBuddy(cbbEntrSaid);

    lblDataInicial = NewLabel(group, u"lblDataInicial"_s, u"Data Inicial"_s, 6, 154, 66);
    depInicial = NewDateEdit(group, u"depInicial"_s, 101, 151);
    depInicial->OnExit = [this](QObject* sender) { depInicialExit(sender); };
    lblDataInicial->setBuddy(depInicial);
    btnDataInicial = NewLookupButton(group, u"btnDataInicial"_s, 200, 151, depInicial);
    btnDataInicial->OnBeforePesq = [this](QObject* sender, bool& allow) { btnDataInicialBeforePesq(sender, allow); };
    btnDataInicial->OnAfterPesq = [this](QObject* sender) { btnDataInicialAfterPesq(sender); };
    lblDataFinal = NewLabel(group, u"lblDataFinal"_s, u"Data Final"_s, 231, 154, 59);
    depFinal = NewDateEdit(group, u"depFinal"_s, 301, 151);
    depFinal->OnExit = [this](QObject* sender) { depFinalExit(sender); };
    lblDataFinal->setBuddy(depFinal);
    btnDataFinal = NewLookupButton(group, u"btnDataFinal"_s, 400, 151, depFinal);
    btnDataFinal->OnBeforePesq = [this](QObject* sender, bool& allow) { btnDataFinalBeforePesq(sender, allow); };
    btnDataFinal->OnAfterPesq = [this](QObject* sender) { btnDataFinalAfterPesq(sender); };

    lblCfop = NewLabel(group, u"lblCfop"_s, u"CFOp"_s, 6, 179, 32);
    medCfop = NewMaskEdit(group, u"medCfop"_s, 101, 176, 57, u"9.999;0; "_s, 5);
    lblCfop->setBuddy(medCfop);
    lblCst = NewLabel(group, u"lblCst"_s, u"CST"_s, 231, 179, 25);
    medCst = NewMaskEdit(group, u"medCst"_s, 301, 176, 43, u"999;0; "_s, 3);
    lblCst->setBuddy(medCst);
}

void TfrmConFisc::CreateListGroups()
{
    grbModDoc = new TGroupBox(grbDadosRel, u"grbModDoc"_s);
    grbModDoc->setTitle(u"Modelo Documento"_s);
    grbModDoc->setFont(LabelFont());
    grbModDoc->setGeometry(6, 201, 121, 69);
    rdbTodosMod = NewRadio(grbModDoc, u"rdbTodosMod"_s, u"Todos"_s, {7, 16, 58, 16});
    rdbTodosMod->OnClick = [this](QObject* sender) { rdbTodosModClick(sender); };
    rdbListaMod = NewRadio(grbModDoc, u"rdbListaMod"_s, u"Lista"_s, {7, 40, 51, 13});
    rdbListaMod->OnClick = [this](QObject* sender) { rdbListaModClick(sender); };
    btnModDoc = NewLookupButton(grbModDoc, u"btnModDoc"_s, 62, 37, rdbListaMod);
    btnModDoc->OnClick = [this](QObject* sender) { btnModDocClick(sender); };
    btnModDoc->setEnabled(false);

    grbTpOperacao = new TGroupBox(grbDadosRel, u"grbTpOperacao"_s);
    grbTpOperacao->setTitle(u"Tp.Operação"_s);
    grbTpOperacao->setFont(LabelFont());
    grbTpOperacao->setGeometry(142, 201, 121, 69);
    rdbTodosTp = NewRadio(grbTpOperacao, u"rdbTodosTp"_s, u"Todos"_s, {6, 16, 58, 17});
    rdbTodosTp->OnClick = [this](QObject* sender) { rdbTodosTpClick(sender); };
    rdbListaTp = NewRadio(grbTpOperacao, u"rdbListaTp"_s, u"Lista"_s, {6, 40, 50, 17});
    rdbListaTp->OnClick = [this](QObject* sender) { rdbListaTpClick(sender); };
    btnTpOperacao = NewLookupButton(grbTpOperacao, u"btnTpOperacao"_s, 61, 37, rdbListaTp);
    btnTpOperacao->OnClick = [this](QObject* sender) { btnTpOperacaoClick(sender); };
    btnTpOperacao->setEnabled(false);
}

// Within the parameter area: the notebook's line (code, lookup, name), company, its name, registration,
// entry/exit, dates, CFOP, CST, the two list groups (Todos, Lista, list button), the lookup buttons of the
// area, and last the report combo.
void TfrmConFisc::SetTabOrder()
{
    const QList<QWidget*> order = {medImposto,  btnImposto,   edtNmImposto,   medLivro,     btnLivro,
                                   edtNmLivro,  medEmpresa,   edtNmEmpresa,   edtInscricao, cbbEntrSaid,
                                   depInicial,  depFinal,     medCfop,        medCst,       rdbTodosMod,
                                   rdbListaMod, btnModDoc,    rdbTodosTp,     rdbListaTp,   btnTpOperacao,
                                   btnEmpresa,  btnInscricao, btnDataInicial, btnDataFinal, cbbReportNames};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void TfrmConFisc::SetLookupButtons()
{
    SetLookup(btnImposto, u"Imposto"_s, dtsImposto, u"Não há imposto cadastrado."_s);
    SetLookup(btnLivro, u"Livro Magnético"_s, dtsLivro, u"Não há livro magnético cadastrado."_s);
    SetLookup(btnEmpresa, u"Empresa"_s, dtsEmpresa, u"Não há empresa cadastrada."_s);
    SetLookup(btnInscricao, u"Inscrição Estadual"_s, dtsInscEsta, u"Não há inscrição cadastrada."_s);
    SetLookup(btnDataInicial, u"Data Inicial"_s, dtsDataInicial, u"Não há data inicial cadastrada."_s);
    SetLookup(btnDataFinal, u"Data Final"_s, dtsDataFinal, u"Não há data final cadastrada."_s);
}
