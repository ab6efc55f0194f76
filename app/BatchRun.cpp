#include "BatchRun.h"

#include "BatchDialogs.h"
#include "CommandLine.h"
#include "ConsoleOutput.h"
#include "Dispatch.h"
#include "MensErro.h"
#include "TComboBox.h"
#include "TReportDesignerDialog.h"
#include "UserInput.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

using namespace Qt::StringLiterals;

namespace {

enum ExitCode { Saved = 0, Failed = 1, Refused = 2 };

// "Data Inicial (depInicial)": the caption of the label that names the control (or the control it is part of), and
// that control's name.
QString FieldName(QWidget& screen, const QWidget* field)
{
    const QList<QLabel*> labels = screen.findChildren<QLabel*>();
    for (const QWidget* control = field; control && control != &screen; control = control->parentWidget())
        for (const QLabel* label : labels)
            if (label->buddy() == control)
                return u"%1 (%2)"_s.arg(label->text().remove(u'&'), control->objectName());
    return field ? field->objectName() : QString();
}

// The control a person would act on: there and enabled, and given the focus.
template <class Control>
Control* Reach(QWidget& screen, const QString& name)
{
    auto* control = screen.findChild<Control*>(name);
    if (!control)
        MensErro(u"A tela não tem o campo '%1'."_s.arg(name), true);
    control->setFocus();
    if (!control->isEnabled())
        MensErro(u"O campo %1 não se aplica ao relatório escolhido."_s.arg(FieldName(screen, control)), true);
    return control;
}

// An item of a list chosen with the keyboard, so that the list's own change handler runs.
void Choose(QWidget& screen, const QString& name, const QString& item)
{
    if (item.isEmpty())
        return;
    auto* list = Reach<TComboBox>(screen, name);
    if (list->findText(item, Qt::MatchExactly) < 0)
        MensErro(u"'%1' não é uma opção de %2."_s.arg(item, FieldName(screen, list)), true);
    PressKey(list, Qt::Key_Home);
    for (int presses = 0; list->currentText() != item && presses < list->count(); ++presses)
        PressKey(list, Qt::Key_Down);
}

void Type(QWidget& screen, const QString& name, const QString& text)
{
    if (!text.isEmpty())
        Reach<QLineEdit>(screen, name)->setText(text);
}

// "Lista" chosen, then its button, whose list is answered with the codes.
void ChooseCodes(QWidget& screen, BatchDialogs& dialogs, const QString& radio, const QString& button,
                 const QStringList& codes)
{
    if (codes.isEmpty())
        return;
    Reach<QAbstractButton>(screen, radio)->click();
    dialogs.answerCodes(codes);
    Reach<QAbstractButton>(screen, button)->click();
}

// Each step as a person takes it; false once the screen has shown a message.
bool Fill(QWidget& screen, BatchDialogs& dialogs, const BatchRequest& request)
{
    const QList<std::function<void()>> steps = {
        [&] { Choose(screen, u"cbbReportNames"_s, request.report); },
        [&] { Type(screen, u"medLivro"_s, request.book); },
        [&] { Choose(screen, u"cbbEntrSaid"_s, request.direction); },
        [&] { Type(screen, u"medCfop"_s, request.cfop); },
        [&] { Type(screen, u"medCst"_s, request.cst); },
        [&] { ChooseCodes(screen, dialogs, u"rdbListaMod"_s, u"btnModDoc"_s, request.models); },
        [&] { ChooseCodes(screen, dialogs, u"rdbListaTp"_s, u"btnTpOperacao"_s, request.types); },
    };
    for (const std::function<void()>& step : steps)
        if (!Dispatch(step) || !dialogs.messages().isEmpty())
            return false;
    return true;
}

int Refusal(QWidget* screen, const BatchDialogs& dialogs)
{
    if (dialogs.messages().isEmpty())
        return Failed;
    const BatchDialogs::Message& first = dialogs.messages().constFirst();
    PrintLine(stderr, first.text);
    if (first.failure)
        return Failed;
    if (screen)
        PrintLine(stderr, u"Campo: %1"_s.arg(FieldName(*screen, screen->focusWidget())));
    return Refused;
}

} // namespace

int RunBatch(QMdiArea& area, BatchDialogs& dialogs, const BatchRequest& request)
{
    QMdiSubWindow* screen = ActiveScreen(area);
    if (!dialogs.messages().isEmpty())
        return Refusal(screen, dialogs); // opening the screen already failed
    auto* reportDialog = screen ? screen->findChild<TReportDesignerDialog*>(u"rpddPadrao"_s) : nullptr;
    auto* save = screen ? screen->findChild<QAbstractButton*>(u"sbtSalvarComo"_s) : nullptr;
    if (!reportDialog || !save) {
        PrintLine(stderr, u"Nenhuma tela aberta com relatórios."_s);
        return Failed;
    }
    qsizetype rows = -1;
    QObject::connect(reportDialog, &TReportDesignerDialog::ReportSaved, reportDialog,
                     [&rows](const QString&, qsizetype saved) { rows = saved; });
    if (!Fill(*screen, dialogs, request))
        return Refusal(screen, dialogs);
    dialogs.answerSave(request.output);
    save->click();
    if (rows < 0) {
        if (dialogs.messages().isEmpty())
            PrintLine(stderr, u"O relatório não foi gravado em '%1'."_s.arg(request.output));
        return Refusal(screen, dialogs);
    }
    PrintLine(stdout, request.output);
    PrintLine(stdout, u"%1 linhas"_s.arg(rows));
    return Saved;
}
