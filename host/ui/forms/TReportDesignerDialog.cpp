#include "TReportDesignerDialog.h"

#include "BusyCursor.h"
#include "Dialogs.h"
#include "Exceptions.h"
#include "ReportCatalogue.h"
#include "ReportDefinition.h"
#include "ReportEditing.h"
#include "ReportLayout.h"
#include "ReportOutput.h"
#include "ReportPreview.h"
#include "ReportProgress.h"
#include "ReportRunner.h"
#include "TDataSet.h"
#include "TdtmDBGeral.h"

#include <QWidget>

namespace {

// The editor shows the first page only, which never holds this many rows (some 60 on an A4 page).
constexpr qsizetype FirstPageRows = 150;

} // namespace

std::shared_ptr<const ReportData> TReportDesignerDialog::runData(const ReportDefinition& definition,
                                                                 std::optional<qsizetype> detailRows) const
{
    const BusyCursor busy;
    const std::unique_ptr<ReportProgress> progress = Dialogs::current().progress(definition.title);
    auto data = std::make_shared<ReportData>(runner().run(definition, *progress, detailRows));
    if (OnDescribeParams)
        data->description = OnDescribeParams(data->parameters);
    return data;
}

std::shared_ptr<const ReportLayout> TReportDesignerDialog::layOut(const ReportDefinition& definition,
                                                                  std::optional<qsizetype> detailRows) const
{
    std::shared_ptr<const ReportData> data = runData(definition, detailRows);
    const BusyCursor busy;
    return std::make_shared<ReportLayout>(std::move(data));
}

TReportDesignerDialog::TReportDesignerDialog(QObject* parent, const QString& name) : QObject(parent)
{
    setObjectName(name);
}

ReportRunner TReportDesignerDialog::runner() const
{
    return ReportRunner(*dtmDBGeral()->adcGeral, BeforeGetQueryParams, [this](const QString& name) {
        const TDataSource* source = parent() ? parent()->findChild<TDataSource*>(name) : nullptr;
        return source ? source->DataSet() : nullptr;
    });
}

std::shared_ptr<const ReportLayout> TReportDesignerDialog::Run(const ReportDefinition& definition)
{
    return layOut(definition);
}

void TReportDesignerDialog::Preview(const QString& definitionFile)
{
    auto* owner = qobject_cast<QWidget*>(parent());
    auto* preview =
        new ReportPreview(Run(ReportDefinition::fromFile(definitionFile)), owner ? owner->window() : nullptr);
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
    if (fileName.isEmpty())
        return;
    const std::shared_ptr<const ReportData> data = runData(definition);
    SaveReport(data, fileName);
    Q_EMIT ReportSaved(fileName, data->detail.rows.size());
}

class TReportDesignerDialog::Editing : public ReportEditing {
public:
    explicit Editing(TReportDesignerDialog& dialog) : m_dialog(dialog) {}

    std::shared_ptr<const ReportLayout> preview(const ReportDefinition& definition) override
    {
        definition.check();
        return m_dialog.layOut(definition, FirstPageRows);
    }

    void save(const ReportDefinition& definition) override
    {
        checkOnDatabase(definition);
        definition.save(definition.fileName);
    }

    void saveAsNew(const ReportDefinition& definition) override
    {
        const std::optional<QString> title =
            Dialogs::current().askText(m_dialog.NewTitleCaption, m_dialog.NewTitlePrompt);
        if (!title)
            throw EAbort();
        checkOnDatabase(definition);
        Q_EMIT m_dialog.DefinitionAdded(AddDefinition(definition, *title));
    }

private:
    void checkOnDatabase(const ReportDefinition& definition) const
    {
        const BusyCursor busy;
        definition.check();
        m_dialog.runner().checkFields(definition);
    }

    TReportDesignerDialog& m_dialog;
};

void TReportDesignerDialog::Edit(const QString& definitionFile)
{
    Editing editing(*this);
    Dialogs::current().editDefinition(ReportDefinition::fromFile(definitionFile), editing);
}
