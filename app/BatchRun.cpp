#include "BatchRun.h"

#include "BatchDialogs.h"
#include "CommandLine.h"
#include "ConsoleOutput.h"
#include "Dispatch.h"
#include "Exceptions.h"
#include "HostSettings.h"
#include "MensErro.h"
#include "Strings.h"
#include "TComboBox.h"
#include "TMaskEdit.h"
#include "TReportDesignerDialog.h"
#include "UserInput.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

using namespace Qt::StringLiterals;

namespace {

enum ExitCode { Saved = 0, Failed = 1, Refused = 2 };

// The preset values, in IniProc's order, and the field each one fills.
const QStringList PresetFields = {u"medImposto"_s, u"medEmpresa"_s, u"edtInscricao"_s, u"depInicial"_s, u"depFinal"_s};
// The registration preset that stands for "no registration".
const QString NoRegistration = u"CONTRIBUICAO"_s;

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

template <class Control>
Control* Find(QWidget& screen, const QString& name)
{
    auto* control = screen.findChild<Control*>(name);
    if (!control)
        MensErro(u"A tela não tem o campo '%1'."_s.arg(name), true);
    return control;
}

// The control a person would act on: shown and enabled for the chosen report, and given the focus.
template <class Control>
Control* Reach(QWidget& screen, const QString& name)
{
    auto* control = Find<Control>(screen, name);
    control->setFocus();
    if (!control->isEnabled() || !control->isVisibleTo(&screen))
        MensErro(u"O campo %1 não se aplica ao relatório escolhido."_s.arg(FieldName(screen, control)), true);
    return control;
}

// What the field keeps of a value typed into it is the value itself: an edit mask neither dropped nor changed a
// character of it (the mask's own literals, "5.102" for "5102", aside).
void RequireHeld(QWidget& screen, QLineEdit* field, const QString& value)
{
    const auto* masked = qobject_cast<TMaskEdit*>(field);
    const auto significant = [](QString text) {
        text.removeIf([](QChar c) { return !c.isLetterOrNumber(); });
        return text;
    };
    const QString kept = masked ? masked->text() : field->text();
    if (kept == (masked ? significant(value) : value))
        return;
    field->setFocus();
    MensErro(u"O campo %1 não aceita '%2' (ficaria %3)."_s.arg(FieldName(screen, field), value,
                                                               kept.isEmpty() ? u"vazio"_s : u"'%1'"_s.arg(kept)),
             true);
}

// "dd/MM/yyyy" as a person reads it: "dd/mm/aaaa".
QString DateFormatInWords(QString format) { return format.replace(u'M', u'm').replace(u'y', u'a'); }

void RequireDate(QWidget& screen, const QString& fieldName, const QString& text)
{
    try {
        StrToDate(text);
    } catch (const EConvertError&) {
        Find<QWidget>(screen, fieldName)->setFocus();
        MensErro(u"'%1' não é uma data válida: use o formato %2."_s.arg(
                     text, DateFormatInWords(HostSettings::current().shortDateFormat)),
                 true);
    }
}

// The presets through the module's own door, as a caller that opens the screen with them: the dates must be dates
// (the module takes them as such), and every text must stay as given.
void Preset(QWidget& screen, const QStringList& values, const std::function<void(const QVariant&)>& presetScreen)
{
    if (values.isEmpty() || std::all_of(values.begin(), values.end(), [](const QString& v) { return v.isEmpty(); }))
        return;
    if (values[0].isEmpty()) {
        Find<QWidget>(screen, PresetFields[0])->setFocus();
        MensErro(u"Sem o imposto (o primeiro valor de --preset) a tela não aplica nenhum dos outros; informe-o."_s,
                 true);
    }
    RequireDate(screen, PresetFields[3], values[3]);
    RequireDate(screen, PresetFields[4], values[4]);
    QVariantList presets;
    for (const QString& value : values)
        presets.append(value);
    presetScreen(presets);
    for (int i = 0; i < 3; ++i)
        if (i != 2 || values[i] != NoRegistration)
            RequireHeld(screen, Find<QLineEdit>(screen, PresetFields[i]), values[i]);
}

// The report chosen as a person picks it in the list: at once, so that no other report's handler runs on the way.
void ChooseReport(QWidget& screen, const QString& title)
{
    auto* list = Find<TComboBox>(screen, u"cbbReportNames"_s);
    list->setFocus();
    const int index = list->findText(title, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        QStringList titles;
        for (int i = 0; i < list->count(); ++i)
            titles.append(u"  "_s + list->itemText(i));
        MensErro(u"'%1' não é um relatório desta tela. Os relatórios são:\n%2"_s.arg(title, titles.join(u'\n')), true);
    }
    list->setCurrentIndex(index);
    Q_EMIT list->activated(index);
}

// An item of a list chosen with the keyboard, so that the list's own change handler runs.
void Choose(QWidget& screen, const QString& name, const std::optional<QString>& item)
{
    if (!item)
        return;
    auto* list = Reach<TComboBox>(screen, name);
    if (list->findText(*item, Qt::MatchExactly) < 0)
        MensErro(u"'%1' não é uma opção de %2."_s.arg(*item, FieldName(screen, list)), true);
    PressKey(list, Qt::Key_Home);
    for (int presses = 0; list->currentText() != *item && presses < list->count(); ++presses)
        PressKey(list, Qt::Key_Down);
}

void Type(QWidget& screen, const QString& name, const std::optional<QString>& text)
{
    if (!text)
        return;
    QLineEdit* field = Reach<QLineEdit>(screen, name);
    field->setText(*text);
    RequireHeld(screen, field, *text);
}

// "Lista" chosen, then its button, whose list is answered with the codes (none: the screen says what it needs).
void ChooseCodes(QWidget& screen, BatchDialogs& dialogs, const QString& radio, const QString& button,
                 const std::optional<QStringList>& codes)
{
    if (!codes)
        return;
    Reach<QAbstractButton>(screen, radio)->click();
    dialogs.answerCodes(*codes);
    Reach<QAbstractButton>(screen, button)->click();
}

// Each step as a person takes it, leaving each field for the next (so that its exit handler checks it); false once
// the screen has shown a message.
bool Fill(QWidget& screen, BatchDialogs& dialogs, const BatchRequest& request,
          const std::function<void(const QVariant&)>& presetScreen)
{
    const QList<std::function<void()>> steps = {
        [&] { Preset(screen, request.presets, presetScreen); },
        [&] { ChooseReport(screen, request.report); },
        [&] { Type(screen, u"medLivro"_s, request.book); },
        [&] { Choose(screen, u"cbbEntrSaid"_s, request.direction); },
        [&] { Type(screen, u"medCfop"_s, request.cfop); },
        [&] { Type(screen, u"medCst"_s, request.cst); },
        [&] { ChooseCodes(screen, dialogs, u"rdbListaMod"_s, u"btnModDoc"_s, request.models); },
        [&] { ChooseCodes(screen, dialogs, u"rdbListaTp"_s, u"btnTpOperacao"_s, request.types); },
        [&] { Find<QWidget>(screen, u"cbbReportNames"_s)->setFocus(); },
    };
    for (const std::function<void()>& step : steps) {
        const bool done = Dispatch(step);
        QCoreApplication::processEvents(); // the exit handler of the field just left
        if (!done || !dialogs.messages().isEmpty())
            return false;
    }
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
    // The focus rests on the report list between the fields and the output; a field a check refused takes it.
    QWidget* field = screen ? screen->focusWidget() : nullptr;
    if (field && field->objectName() != u"cbbReportNames")
        PrintLine(stderr, u"Campo: %1"_s.arg(FieldName(*screen, field)));
    return Refused;
}

} // namespace

int RunBatch(QMdiArea& area, BatchDialogs& dialogs, const BatchRequest& request,
             const std::function<void(const QVariant&)>& presetScreen)
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
    if (!Fill(*screen, dialogs, request, presetScreen))
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
