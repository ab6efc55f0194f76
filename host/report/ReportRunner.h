#pragma once

#include "ReportData.h"

#include <functional>
#include <optional>

class ReportProgress;
class TDBConnection;
class TDataSet;
class TParams;

// True when Params holds a parameter of that name (case-insensitive).
HOSTFW_REPORT_EXPORT bool ExistParam(const TParams& Params, const QString& name);

// Runs a report definition on a database connection. For each query, in order: its parameters are the ":NAME"
// tokens of its text for the connection's dialect; BeforeGetQueryParams(Params, Allow) fills them (Allow starts
// true); the values are bound, never spliced. The whole run only reads (database::ReadOnlySession): each query must be one
// statement that starts with SELECT, WITH or VALUES, and nothing it does can write to the database or its folder.
// The detail is then the rows of the query the definition names, or of the dataset DataSetByName gives for that name
// (a data source of the screen), which the run must have filled while the parameters were bound: rows an earlier run
// left there are never printed. A refusal query whose first row's first column holds a text ends the run with
// EReportRefused and that text; its rows are no part of the report.
// Allow false, or a cancelled progress, ends the run with EAbort. A query that fails or does not only read, a failure
// raised while its parameters are bound, or a screen dataset the run did not fill raises EReportRunError naming the
// report (and the query); a detail that is neither a query nor a known dataset, or lacks a column's field, raises
// EReportDefinitionError.
// On PostgreSQL every whole run, done or failed, is recorded in the database's audit trail (title, parameters, rows,
// outcome) in the name of the connection's role; a run that cannot be recorded fails with EDatabaseError.
namespace database {
struct AuditRecord;
}

class HOSTFW_REPORT_EXPORT ReportRunner {
public:
    using TBeforeGetQueryParams = std::function<void(TParams& Params, bool& Allow)>;
    using DataSetByName = std::function<TDataSet*(const QString& name)>;

    ReportRunner(TDBConnection& connection, TBeforeGetQueryParams BeforeGetQueryParams, DataSetByName dataSets);

    // detailRows: at most that many detail rows are read; data.partial says whether the detail had more.
    ReportData run(const ReportDefinition& definition, ReportProgress& progress,
                   std::optional<qsizetype> detailRows = std::nullopt) const;

    // The definition against the database before it is kept: each query prepared and run with its parameters bound
    // empty (BeforeGetQueryParams is not fired; one row read at most), and every column, group and header field
    // found among the fields its query, or the screen's dataset, gives. Raises as run does.
    void checkFields(const ReportDefinition& definition) const;

private:
    enum class Reading { AllRows, FirstRow, FieldsOnly };

    ReportData runQueries(const ReportDefinition& definition, Reading detailReading, ReportProgress& progress,
                          std::optional<qsizetype> detailRows = std::nullopt) const;
    // The query's rows (as reading says, rowLimit at most), its parameters recorded in data.
    ReportTable runQuery(const ReportQueryDefinition& query, Reading reading, ReportData& data,
                         ReportProgress& progress, std::optional<qsizetype> rowLimit = std::nullopt) const;
    void audit(const database::AuditRecord& record) const;
    // The screen's dataset the detail names; nullptr when the detail is a query. EReportDefinitionError when it is
    // neither.
    TDataSet* screenDataSet(const ReportDefinition& definition) const;

    TDBConnection& m_connection;
    TBeforeGetQueryParams m_beforeGetQueryParams;
    DataSetByName m_dataSets;
};
