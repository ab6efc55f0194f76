#include "TReportDesignerDialog.h"

#include "Dialogs.h"
#include "ReportLayout.h"
#include "ReportOutput.h"
#include "ReportPreview.h"
#include "ReportProgress.h"
#include "ReportRunner.h"
#include "TApplication.h"
#include "TDataSet.h"
#include "TdtmDBGeral.h"

#include <QWidget>

TReportDesignerDialog::TReportDesignerDialog(QObject* parent, const QString& name) : QObject(parent)
{
    setObjectName(name);
}

std::shared_ptr<const ReportLayout> TReportDesignerDialog::Run(const ReportDefinition& definition)
{
    const BusyCursor busy;
    const std::unique_ptr<ReportProgress> progress = Dialogs::current().progress(definition.title);
    const ReportRunner runner(*dtmDBGeral()->adcGeral, BeforeGetQueryParams, [this](const QString& name) {
        const TDataSource* source = parent() ? parent()->findChild<TDataSource*>(name) : nullptr;
        return source ? source->DataSet() : nullptr;
    });
    return std::make_shared<ReportLayout>(std::make_shared<ReportData>(runner.run(definition, *progress)));
}

void TReportDesignerDialog::Preview(const QString& definitionFile)
{
    auto* owner = qobject_cast<QWidget*>(parent());
    auto* preview = new ReportPreview(Run(ReportDefinition::fromFile(definitionFile)), owner ? owner->window() : nullptr);
    preview->show();
    preview->activateWindow();
    preview->setFocus(); // the keys page and zoom from the start
}

void TReportDesignerDialog::Print(const QString& definitionFile)
{
    PrintReport(*Run(ReportDefinition::fromFile(definitionFile)));
}

void TReportDesignerDialog::SaveAs(const QString& definitionFile)
{
    const ReportDefinition definition = ReportDefinition::fromFile(definitionFile);
    const QString fileName = AskReportFile(definition.title);
    if (!fileName.isEmpty())
        SaveReport(*Run(definition), fileName);
}

void TReportDesignerDialog::Edit(const QString& definitionFile)
{
    const std::optional<ReportDefinition> edited =
        Dialogs::current().editDefinition(ReportDefinition::fromFile(definitionFile));
    if (edited)
        edited->save(definitionFile);
}
