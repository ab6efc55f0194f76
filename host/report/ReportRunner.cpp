#include "ReportRunner.h"

#include "Exceptions.h"
#include "ReportProgress.h"
#include "SqlDialect.h"
#include "SqlParameters.h"
#include "TDBConnection.h"
#include "TDataSet.h"
#include "TParams.h"

#include <QHash>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int RowsPerStep = 1000;

// Keeps the connection from writing while it lives (a report only reads), then puts back what it was.
class ReadOnlySession {
public:
    explicit ReadOnlySession(const QSqlDatabase& database) : m_database(database), m_wasReadOnly(readOnly())
    {
        if (!set(true))
            throw EDatabaseError(u"A conexão não pôde ser posta em modo somente leitura."_s);
    }
    ~ReadOnlySession() { set(m_wasReadOnly); }
    ReadOnlySession(const ReadOnlySession&) = delete;
    ReadOnlySession& operator=(const ReadOnlySession&) = delete;

private:
    bool readOnly()
    {
        QSqlQuery statement(m_database);
        if (m_database.driverName() == u"QSQLITE")
            return statement.exec(u"PRAGMA query_only"_s) && statement.next() && statement.value(0).toInt() == 1;
        if (m_database.driverName() == u"QPSQL")
            return statement.exec(u"SHOW default_transaction_read_only"_s) && statement.next() &&
                   statement.value(0).toString() == u"on";
        return false;
    }

    bool set(bool readOnly)
    {
        QSqlQuery statement(m_database);
        if (m_database.driverName() == u"QSQLITE")
            return statement.exec(readOnly ? u"PRAGMA query_only = 1"_s : u"PRAGMA query_only = 0"_s);
        if (m_database.driverName() == u"QPSQL")
            return statement.exec(
                u"SET SESSION CHARACTERISTICS AS TRANSACTION %1"_s.arg(readOnly ? u"READ ONLY"_s : u"READ WRITE"_s));
        return true;
    }

    QSqlDatabase m_database;
    bool m_wasReadOnly;
};

// While it lives, a long SQLite statement reports to the progress as it works (the window stays painted and its
// cancel button answers), and a cancel interrupts the statement. Other drivers run their statements to the end.
class StatementProgress {
public:
    StatementProgress(const QSqlDatabase& database, ReportProgress& progress) : m_progress(progress)
    {
        const QVariant handle = database.driver()->handle();
        if (database.driverName() == u"QSQLITE" && qstrcmp(handle.typeName(), "sqlite3*") == 0)
            m_sqlite = *static_cast<sqlite3* const*>(handle.constData());
        if (m_sqlite)
            sqlite3_progress_handler(m_sqlite, InstructionsPerStep, &StatementProgress::step, this);
    }
    ~StatementProgress()
    {
        if (m_sqlite)
            sqlite3_progress_handler(m_sqlite, 0, nullptr, nullptr);
    }
    StatementProgress(const StatementProgress&) = delete;
    StatementProgress& operator=(const StatementProgress&) = delete;

    bool cancelled() const { return m_cancelled; }

private:
    static constexpr int InstructionsPerStep = 200000;

    static int step(void* self)
    {
        auto* watched = static_cast<StatementProgress*>(self);
        watched->m_cancelled = watched->m_cancelled || !watched->m_progress.step(u"Consultando"_s, 0, 0);
        return watched->m_cancelled ? 1 : 0;
    }

    ReportProgress& m_progress;
    sqlite3* m_sqlite = nullptr;
    bool m_cancelled = false;
};

// The driver's failure, or EAbort when the user stopped the statement.
[[noreturn]] void fail(const QSqlQuery& query, const StatementProgress& watch, TDBConnection& connection)
{
    if (watch.cancelled())
        throw EAbort();
    const QString error = query.lastError().text();
    connection.CloseWhenLost();
    throw EDatabaseError(error);
}

// "{P_NAME}" becomes the parameter's value, "{query.FIELD}" that field of the query's first row.
QString filledHeader(const QString& line, const QList<ReportParameter>& parameters,
                     const QHash<QString, ReportTable>& firstRows)
{
    static const QRegularExpression token(u"\\{(\\w+)(?:\\.(\\w+))?\\}"_s);
    QString result;
    qsizetype last = 0;
    for (const QRegularExpressionMatch& match : token.globalMatch(line)) {
        result += line.mid(last, match.capturedStart() - last);
        last = match.capturedEnd();
        if (match.captured(2).isEmpty()) {
            for (const ReportParameter& parameter : parameters)
                if (parameter.name.compare(match.captured(1), Qt::CaseInsensitive) == 0)
                    result += parameterText(parameter.value);
            continue;
        }
        const ReportTable table = firstRows.value(match.captured(1).toUpper());
        const int field = table.fieldIndex(match.captured(2));
        if (field >= 0 && !table.rows.isEmpty())
            result += table.rows.constFirst().at(field).toString();
    }
    return result + line.mid(last);
}

void remember(const TParams& params, QList<ReportParameter>& parameters)
{
    for (int i = 0; i < params.Count(); ++i) {
        const TParam* param = params.Items(i);
        const bool known = std::any_of(parameters.begin(), parameters.end(), [&](const ReportParameter& p) {
            return p.name.compare(param->Name(), Qt::CaseInsensitive) == 0;
        });
        if (!known)
            parameters.append({param->Name(), param->IsNull() ? QVariant() : param->Value()});
    }
}

} // namespace

bool ExistParam(const TParams& Params, const QString& name) { return Params.FindParam(name) != nullptr; }

ReportRunner::ReportRunner(TDBConnection& connection, TBeforeGetQueryParams BeforeGetQueryParams,
                           DataSetByName dataSets)
    : m_connection(connection), m_beforeGetQueryParams(std::move(BeforeGetQueryParams)), m_dataSets(std::move(dataSets))
{}

ReportData ReportRunner::run(const ReportDefinition& definition, ReportProgress& progress,
                             std::optional<qsizetype> detailRows) const
{
    return runQueries(definition, Reading::AllRows, progress, detailRows);
}

void ReportRunner::checkFields(const ReportDefinition& definition) const
{
    NoProgress unwatched;
    runQueries(definition, Reading::FieldsOnly, unwatched);
}

ReportData ReportRunner::runQueries(const ReportDefinition& definition, Reading detailReading, ReportProgress& progress,
                                    std::optional<qsizetype> detailRows) const
{
    ReportData data;
    data.definition = definition.shownPart();
    QHash<QString, ReportTable> results;
    for (const ReportQueryDefinition& query : definition.queries) {
        const bool isDetail = query.name.compare(definition.detail, Qt::CaseInsensitive) == 0;
        const Reading reading = isDetail || detailReading == Reading::FieldsOnly ? detailReading : Reading::FirstRow;
        try {
            const ReportTable table = runQuery(query, reading, data, progress, isDetail ? detailRows : std::nullopt);
            results.insert(query.name.toUpper(), table);
        } catch (const EHostError& e) {
            throw EReportRunError(u"O relatório \"%1\" não pôde ser executado (consulta \"%2\"): %3"_s.arg(
                definition.title, query.name, e.message()));
        }
    }
    definition.checkHeaderFields([&results](const QString& query) { return results.value(query.toUpper()).fields; });

    if (results.contains(definition.detail.toUpper())) {
        data.detail = results.value(definition.detail.toUpper());
    } else if (TDataSet* dataSet = m_dataSets ? m_dataSets(definition.detail) : nullptr) {
        for (const TField* field : dataSet->Fields())
            data.detail.fields.append(field->FieldName());
        if (detailReading == Reading::AllRows)
            data.detail.rows = dataSet->Rows();
        if (detailRows && data.detail.rows.size() > *detailRows) {
            data.detail.rows.resize(*detailRows);
            data.partial = true;
        }
    } else {
        throw EReportDefinitionError(
            u"A definição de relatório '%1' é inválida: \"%2\" não é uma consulta nem uma fonte de dados da tela."_s
                .arg(definition.fileName, definition.detail));
    }
    definition.checkFields(data.detail.fields);

    for (const QString& line : definition.header)
        data.header.append(filledHeader(line, data.parameters, results));
    data.emitted = QDateTime::currentDateTime();
    return data;
}

ReportTable ReportRunner::runQuery(const ReportQueryDefinition& query, Reading reading, ReportData& data,
                                   ReportProgress& progress, std::optional<qsizetype> rowLimit) const
{
    QSqlDatabase database = m_connection.Database();
    const SqlParameters sql =
        SqlParameters::parse(DialectText(m_connection.DriverName(), query.sql, query.sqlOracle, query.sqlMssql));
    TParams params;
    params.SetNames(sql.names);
    bool allow = true;
    if (m_beforeGetQueryParams && reading != Reading::FieldsOnly)
        m_beforeGetQueryParams(params, allow);
    if (!allow)
        throw EAbort();
    remember(params, data.parameters);

    const ReadOnlySession readOnly(database);
    const StatementProgress watch(database, progress);
    QSqlQuery statement(database);
    statement.setForwardOnly(true);
    if (!statement.prepare(sql.positionalSql))
        fail(statement, watch, m_connection);
    for (const QString& name : sql.occurrences)
        statement.addBindValue(params.ParamByName(name)->Value());
    if (!statement.exec())
        fail(statement, watch, m_connection);

    ReportTable result;
    const QSqlRecord record = statement.record();
    for (int i = 0; i < record.count(); ++i)
        result.fields.append(record.fieldName(i));
    while (reading != Reading::FieldsOnly && statement.next()) {
        if (rowLimit && result.rows.size() == *rowLimit) {
            data.partial = true;
            break;
        }
        QVariantList row;
        row.reserve(record.count());
        for (int i = 0; i < record.count(); ++i)
            row.append(statement.value(i));
        result.rows.append(std::move(row));
        if (reading == Reading::FirstRow)
            break;
        if (result.rows.size() % RowsPerStep == 0)
            Advance(progress, u"Lendo registros"_s, result.rows.size(), 0);
    }
    if (statement.lastError().isValid())
        fail(statement, watch, m_connection);
    return result;
}
