#include "UnattendedSave.h"

#include "Dispatch.h"
#include "MensErro.h"
#include "ScriptedDialogs.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TEdit.h"
#include "TMaskEdit.h"
#include "UserInput.h"

#include <QDateTime>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

void ChooseReport(QWidget& screen, const QString& report)
{
    auto* reports = screen.findChild<TComboBox*>(u"cbbReportNames"_s);
    if (!reports || reports->findText(report, Qt::MatchExactly) < 0)
        MensErro(u"O relatório '%1' não está na lista da tela."_s.arg(report), true);
    reports->setFocus();
    PressKey(reports, Qt::Key_Home);
    for (int presses = 0; reports->currentText() != report && presses < reports->count(); ++presses)
        PressKey(reports, Qt::Key_Down);
}

void Fill(QWidget& screen, const QString& name, const QString& text)
{
    QWidget* control = screen.findChild<QWidget*>(name);
    if (auto* edit = qobject_cast<TMaskEdit*>(control))
        edit->setText(text);
    else if (auto* box = qobject_cast<TEdit*>(control))
        box->setText(text);
    else if (auto* date = qobject_cast<TDateEditPlus*>(control))
        date->setText(text);
    else if (auto* list = qobject_cast<TComboBox*>(control); list && list->findText(text) >= 0)
        list->setItemIndex(list->findText(text));
    else
        MensErro(u"A tela não tem o campo '%1' para '%2'."_s.arg(name, text), true);
}

} // namespace

QStringList SaveReportUnattended(QMdiArea& area, ScriptedDialogs& dialogs, const QString& report,
                                 const QList<std::pair<QString, QString>>& fields, const QString& fileName)
{
    if (!dialogs.texts(u"error"_s).isEmpty())
        return dialogs.texts(u"error"_s);
    dialogs.answerSave(fileName);
    QMdiSubWindow* screen = ActiveScreen(area);
    auto* save = screen ? screen->findChild<QToolButton*>(u"sbtSalvarComo"_s) : nullptr;
    if (!save)
        return {u"Nenhuma tela aberta com relatórios."_s};
    const QDateTime before = QFileInfo(fileName).lastModified();
    if (Dispatch([&] {
            ChooseReport(*screen, report);
            for (const auto& [name, text] : fields)
                Fill(*screen, name, text);
        }))
        save->click();
    const QFileInfo saved(fileName);
    if (dialogs.texts(u"error"_s).isEmpty() && (!saved.exists() || saved.lastModified() == before))
        return {u"O relatório não foi gravado em '%1'."_s.arg(fileName)};
    return dialogs.texts(u"error"_s);
}
