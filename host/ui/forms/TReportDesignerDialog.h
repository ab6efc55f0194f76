#pragma once

#include "ReportData.h"
#include "hostfw_export.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class ReportLayout;
class ReportRunner;
class TParams;

// The report dialog the base report form owns: runs a report definition (reports/<code>/*.json) and previews,
// prints, saves or edits it. A run fires BeforeGetQueryParams once before each query of the report, with the
// query's parameters and an Allow flag that starts true (false ends the run silently), reads the rows under the busy
// cursor and a progress window with a cancel button, fires OnDescribeParams once, and lays the pages out. A detail
// that names a data source takes the rows of the data source of that name among the children of the dialog's owner
// (the form).
// Failures raise the engine's exceptions (EReportDefinitionError, EReportRunError, EFileWriteError); a cancel, EAbort.
class HOSTFW_EXPORT TReportDesignerDialog : public QObject {
    Q_OBJECT
public:
    TReportDesignerDialog(QObject* parent, const QString& name);

    std::function<void(TParams& Params, bool& Allow)> BeforeGetQueryParams;
    // Once per run, after the queries: the parameters they declared, with the values bound, told in the words of the
    // one who set them (the first page's parameter block), and the subject of the files. Unset, the first page lists
    // only the values bound.
    std::function<ReportDescription(const QList<ReportParameter>& Params)> OnDescribeParams;
    // The caption and the prompt of the question for a new report's title.
    QString NewTitleCaption;
    QString NewTitlePrompt;

    std::shared_ptr<const ReportLayout> Run(const ReportDefinition& definition);
    // A preview window on the first page.
    void Preview(const QString& definitionFile);
    // The print dialog, then the pages.
    void Print(const QString& definitionFile);
    // Asks for a file first; PDF, CSV or XLSX by the file's type. Announces ReportSaved.
    void SaveAs(const QString& definitionFile);
    // The definition editor with a preview on the screen's current parameters. Saving checks the definition on the
    // database (its queries run with empty parameters) and writes it over its file, or as a new report of the same
    // code under a title asked for, announced by DefinitionAdded.
    void Edit(const QString& definitionFile);

Q_SIGNALS:
    void DefinitionAdded(const QString& definitionFile);
    // The report was saved in the file with that many detail rows.
    void ReportSaved(const QString& fileName, qsizetype rows);

private:
    class Editing;
    ReportRunner runner() const;
    // The definition run under the busy cursor and a progress window (detailRows of its detail at most), the
    // parameters described by OnDescribeParams.
    std::shared_ptr<const ReportData> runData(const ReportDefinition& definition,
                                              std::optional<qsizetype> detailRows = std::nullopt) const;
    // The same, its pages laid out.
    std::shared_ptr<const ReportLayout> layOut(const ReportDefinition& definition,
                                               std::optional<qsizetype> detailRows = std::nullopt) const;
};
