#pragma once

#include "Events.h"
#include "hostfw_export.h"

#include <QWidget>

class QFrame;
class QToolButton;
class TComboBox;
class TGroupBox;
class TLabel;
class TMessages;
class TReportDesignerDialog;

// The base report form: a report screen's parameter area, its report list and its output buttons. Shown inside a
// QMdiSubWindow of the host's main area (or as a top-level window when the application has no MDI area).
// Created by TApplication::CreateForm, which calls FormCreate once the derived form is built.
// Events: activation of the form (it becomes the active MDI child, or the active window; not when it comes back
// from a dialog) -> FormActivate through Dispatch; closing -> FormClose through Dispatch, whose Action decides:
// caHide hides the window and keeps the instance, caFree destroys it, caMinimize minimises it, caNone keeps it open
// (also when FormClose raises). The four output buttons take no focus; a click -> their handler through Dispatch.
// Their keys, anywhere in the form, press them as a click does: Ctrl+P Imprimir, Ctrl+Shift+V Visualizar,
// Ctrl+Shift+S Salvar como, Ctrl+Shift+E Editar.
// A derived form overrides the handlers and calls the base handler explicitly.
class HOSTFW_EXPORT TfrmDadosGerRel : public QWidget {
    Q_OBJECT
public:
    explicit TfrmDadosGerRel(QWidget* parent = nullptr);
    ~TfrmDadosGerRel() override;

    // Fills cbbReportNames with the titles of the report definitions HostSettings::current().reportsDir /
    // <lblCodRel text> / *.json, in file-name order, under a progress captioned with msgPadrao's "VD_TRAD", and
    // selects none. A missing folder or a folder without a definition raises EHostConfigError with msgPadrao's
    // "Arq_Rel_Err" (the report code and the folder). A definition that cannot be read or is inconsistent is left
    // out, the others listed, and one message names each such file and its fault (line and column of a JSON fault).
    // A report the editor adds joins the list at once.
    virtual void FormCreate(QObject* Sender);
    virtual void FormActivate(QObject* Sender);
    // Sets Action to caHide: the window is hidden and the instance kept.
    virtual void FormClose(QObject* Sender, TCloseAction& Action);
    // The chosen report through rpddPadrao: printed, previewed, saved as a file, or its definition edited. With no
    // report chosen, a message.
    virtual void sbtPrintClick(QObject* Sender);
    virtual void sbtPreviewClick(QObject* Sender);
    virtual void sbtSalvarComoClick(QObject* Sender);
    virtual void sbtReportEditClick(QObject* Sender);

    // The window that holds the form: its QMdiSubWindow, or the form itself when it is top-level.
    QWidget* containerWindow() const;
    // Shows the window and brings it to the front.
    void Show();
    // The window state of the holding window (minimised, maximised, normal).
    Qt::WindowStates WindowState() const;
    void SetWindowState(Qt::WindowStates state);
    // Asks the window to close, as the user's close does.
    void Close();

Q_SIGNALS:
    // The form became the active one (shown and brought to the front, or its window activated).
    void Activated();
    // The form was hidden by the program (not by minimising its window).
    void Hidden();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    TLabel* lblCodTela;
    TGroupBox* grbDadosRel;
    QFrame* bvlSeparator;
    QWidget* panRelat;
    TComboBox* cbbReportNames;
    QWidget* panMenu;
    TLabel* lblCodRel;
    QToolButton* sbtPrint;
    QToolButton* sbtPreview;
    QToolButton* sbtSalvarComo;
    QToolButton* sbtReportEdit;
    TMessages* msgPadrao;
    TReportDesignerDialog* rpddPadrao;

private:
    void buildControls();
    void fillReportNames();
    // The definition file of the report chosen in cbbReportNames.
    QString chosenDefinition() const;

    QStringList m_definitionFiles; // one per item of cbbReportNames
};
