#include "TfrmDadosGerRel.h"

#include "BusyCursor.h"
#include "Dialogs.h"
#include "Dispatch.h"
#include "Exceptions.h"
#include "HostSettings.h"
#include "MensErro.h"
#include "ReportCatalogue.h"
#include "ReportDefinition.h"
#include "ReportProgress.h"
#include "Strings.h"
#include "TComboBox.h"
#include "TGroupBox.h"
#include "TLabel.h"
#include "TMessages.h"
#include "TReportDesignerDialog.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// An output button: it takes no focus, so that pressing it runs no field's exit handler; its key, shown in its
// tooltip, presses it while the focus is anywhere in the form.
QToolButton* outputButton(QWidget* form, QWidget* parent, const QString& name, const QString& caption,
                          const QKeySequence& key, const QString& themeIcon, QStyle::StandardPixmap fallback, int left)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(u"%1 (%2)"_s.arg(caption, key.toString(QKeySequence::NativeText)));
    button->setIcon(QIcon::fromTheme(themeIcon, parent->style()->standardIcon(fallback)));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(left, 1, 96, 25);
    auto* shortcut = new QShortcut(key, form);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(shortcut, &QShortcut::activated, button, &QAbstractButton::click);
    return button;
}

} // namespace

TfrmDadosGerRel::TfrmDadosGerRel(QWidget* parent) : QWidget(parent) { buildControls(); }

TfrmDadosGerRel::~TfrmDadosGerRel() = default;

void TfrmDadosGerRel::buildControls()
{
    resize(468, 303);

    grbDadosRel = new TGroupBox(this, u"grbDadosRel"_s);
    grbDadosRel->setGeometry(0, 0, 468, 276);

    panRelat = new QWidget(grbDadosRel);
    panRelat->setObjectName(u"panRelat"_s);
    panRelat->setGeometry(2, 8, 464, 34);
    lblCodTela = new TLabel(panRelat, u"lblCodTela"_s);
    lblCodTela->setGeometry(4, 10, 90, 13);
    cbbReportNames = new TComboBox(panRelat, u"cbbReportNames"_s);
    cbbReportNames->setGeometry(99, 6, 359, 21);

    bvlSeparator = new QFrame(grbDadosRel);
    bvlSeparator->setObjectName(u"bvlSeparator"_s);
    bvlSeparator->setFrameShape(QFrame::HLine);
    bvlSeparator->setFrameShadow(QFrame::Sunken);
    bvlSeparator->setGeometry(2, 44, 464, 2);

    panMenu = new QWidget(this);
    panMenu->setObjectName(u"panMenu"_s);
    panMenu->setGeometry(0, 276, 468, 27);
    lblCodRel = new TLabel(panMenu, u"lblCodRel"_s);
    lblCodRel->setGeometry(4, 7, 34, 13);
    // Ctrl+E and Ctrl+D edit the text of a field on some desktops; these keys belong to no field.
    sbtPrint = outputButton(this, panMenu, u"sbtPrint"_s, u"Imprimir"_s, QKeySequence(Qt::CTRL | Qt::Key_P),
                            u"document-print"_s, QStyle::SP_FileIcon, 70);
    sbtPreview =
        outputButton(this, panMenu, u"sbtPreview"_s, u"Visualizar"_s, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V),
                     u"document-print-preview"_s, QStyle::SP_FileDialogContentsView, 169);
    sbtSalvarComo = outputButton(this, panMenu, u"sbtSalvarComo"_s, u"Salvar como"_s,
                                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), u"document-save-as"_s,
                                 QStyle::SP_DialogSaveButton, 268);
    sbtReportEdit =
        outputButton(this, panMenu, u"sbtReportEdit"_s, u"Editar"_s, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E),
                     u"document-edit"_s, QStyle::SP_FileDialogDetailedView, 367);
    connect(sbtPrint, &QToolButton::clicked, this, [this] { Dispatch([this] { sbtPrintClick(sbtPrint); }); });
    connect(sbtPreview, &QToolButton::clicked, this, [this] { Dispatch([this] { sbtPreviewClick(sbtPreview); }); });
    connect(sbtSalvarComo, &QToolButton::clicked, this,
            [this] { Dispatch([this] { sbtSalvarComoClick(sbtSalvarComo); }); });
    connect(sbtReportEdit, &QToolButton::clicked, this,
            [this] { Dispatch([this] { sbtReportEditClick(sbtReportEdit); }); });

    msgPadrao = new TMessages(this, u"msgPadrao"_s);
    msgPadrao->setLines({
        u"Arq_Rel_Err|O arquivo contendo a definição do relatório de código '%s' não foi encontrado no diretório '%s'."_s,
        u"NovoCaption|Título do relatório"_s,
        u"NovoPrompt|Informe o título do relatório:"_s,
        u"VD_TRAD|Validando tradução de relatórios"_s,
    });
    rpddPadrao = new TReportDesignerDialog(this, u"rpddPadrao"_s);
    rpddPadrao->NewTitleCaption = msgPadrao->Msg(u"NovoCaption"_s);
    rpddPadrao->NewTitlePrompt = msgPadrao->Msg(u"NovoPrompt"_s);
    // A report added in the editor is in the list at once, the chosen one staying chosen.
    connect(rpddPadrao, &TReportDesignerDialog::DefinitionAdded, this,
            [this] { Dispatch([this] { fillReportNames(); }); });
}

void TfrmDadosGerRel::FormCreate(QObject*) { fillReportNames(); }

void TfrmDadosGerRel::fillReportNames()
{
    const QString code = lblCodRel->text().trimmed();
    const QString folder = QDir(HostSettings::current().reportsDir).absoluteFilePath(code);
    const QStringList files = DefinitionFiles(folder);
    if (files.isEmpty())
        throw EHostConfigError(Format(msgPadrao->Msg(u"Arq_Rel_Err"_s), {code, QDir::toNativeSeparators(folder)}));
    QStringList readable, titles, faults;
    {
        const BusyCursor busy;
        const std::unique_ptr<ReportProgress> progress = Dialogs::current().progress(msgPadrao->Msg(u"VD_TRAD"_s));
        for (const QString& file : files) {
            Advance(*progress, u"Definições lidas"_s, readable.size() + faults.size(), files.size());
            try {
                titles.append(ReportDefinition::fromFile(file).title);
                readable.append(file);
            } catch (const EReportDefinitionError& e) {
                faults.append(e.message());
            }
        }
    }
    const QString chosen = cbbReportNames->itemIndex() < 0 ? QString() : cbbReportNames->currentText();
    m_definitionFiles = readable;
    cbbReportNames->clear();
    cbbReportNames->addItems(titles);
    cbbReportNames->setItemIndex(chosen.isEmpty() ? -1 : int(titles.indexOf(chosen)));
    // One broken definition does not hide the others: they are listed, and the faults told once.
    if (!faults.isEmpty())
        Dialogs::current().showFailure(faults.join(u'\n'));
}

void TfrmDadosGerRel::FormActivate(QObject*) {}

void TfrmDadosGerRel::FormClose(QObject*, TCloseAction& Action) { Action = TCloseAction::caHide; }

QString TfrmDadosGerRel::chosenDefinition() const
{
    const int index = cbbReportNames->itemIndex();
    if (index < 0 || index >= m_definitionFiles.size())
        MensErro(u"Escolha um relatório."_s, true);
    return m_definitionFiles.at(index);
}

void TfrmDadosGerRel::sbtPrintClick(QObject*) { rpddPadrao->Print(chosenDefinition()); }
void TfrmDadosGerRel::sbtPreviewClick(QObject*) { rpddPadrao->Preview(chosenDefinition()); }
void TfrmDadosGerRel::sbtSalvarComoClick(QObject*) { rpddPadrao->SaveAs(chosenDefinition()); }
void TfrmDadosGerRel::sbtReportEditClick(QObject*) { rpddPadrao->Edit(chosenDefinition()); }

QWidget* TfrmDadosGerRel::containerWindow() const
{
    if (auto* window = qobject_cast<QMdiSubWindow*>(parentWidget()))
        return window;
    return const_cast<TfrmDadosGerRel*>(this);
}

void TfrmDadosGerRel::Show()
{
    QWidget* window = containerWindow();
    window->show();
    if (auto* subWindow = qobject_cast<QMdiSubWindow*>(window); subWindow && subWindow->mdiArea()) {
        subWindow->mdiArea()->setActiveSubWindow(subWindow);
        // The area keeps a hidden child as its active one and does not announce it again when it reappears.
        if (subWindow->mdiArea()->activeSubWindow() == subWindow)
            Q_EMIT Activated();
    } else {
        window->raise();
        window->activateWindow();
    }
}

Qt::WindowStates TfrmDadosGerRel::WindowState() const { return containerWindow()->windowState(); }

void TfrmDadosGerRel::SetWindowState(Qt::WindowStates state)
{
    QWidget* window = containerWindow();
    if (state & Qt::WindowMinimized)
        window->showMinimized();
    else if (state & Qt::WindowMaximized)
        window->showMaximized();
    else
        window->showNormal();
}

void TfrmDadosGerRel::Close() { containerWindow()->close(); }

void TfrmDadosGerRel::closeEvent(QCloseEvent* event)
{
    // The form decides what becomes of its window; Qt's own close never destroys it.
    event->ignore();
    TCloseAction action = containerWindow() != this ? TCloseAction::caMinimize : TCloseAction::caHide;
    if (!Dispatch([&] { FormClose(this, action); }))
        action = TCloseAction::caNone;
    QWidget* window = containerWindow();
    switch (action) {
    case TCloseAction::caHide:
        window->hide();
        break;
    case TCloseAction::caFree:
        window->hide();
        window->deleteLater();
        break;
    case TCloseAction::caMinimize:
        window->showMinimized();
        break;
    case TCloseAction::caNone:
        break;
    }
}

void TfrmDadosGerRel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isWindow() && isActiveWindow())
        Q_EMIT Activated();
    QWidget::changeEvent(event);
}

void TfrmDadosGerRel::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous())
        Q_EMIT Hidden();
    QWidget::hideEvent(event);
}
