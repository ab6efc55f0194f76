#include "ReportRunner.h"

#include "Audit.h"
#include "DatabaseError.h"
#include "DatabaseFailure.h"
#include "Exceptions.h"
#include "ReadOnlySession.h"
#include "ReportProgress.h"
#include "SqlParameters.h"
#include "TDBConnection.h"
#include "TDataSet.h"
#include "TParams.h"

#include <QHash>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSysInfo>
#include <memory>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int RowsPerStep = 1000;

// While it lives, a long SQLite statement reports to the progress as it works (the window stays painted and its
// cancel button answers), and a cancel interrupts the statement. Other drivers run their statements to the end.
class StatementProgress {
public:
    StatementProgress(const QSqlDatabase& database, ReportProgress& progress)
        : m_progress(progress), m_sqlite(database::sqliteHandle(database))
    {
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
    sqlite3* m_sqlite;
    bool m_cancelled = false;
};

// A report's statement is one query that reads (a ";" only at its end, starting with SELECT, WITH or VALUES), so
// that none can end the read-only transaction it runs in. Throws EDatabaseError.
void checkReadingStatement(const SqlParameters& statement)
{
    QString text = statement.positionalSql.trimmed();
    if (text.endsWith(u';'))
        text.chop(1);
    if (text.contains(u';'))
        throw EDatabaseError(u"a consulta deve ter um só comando SQL, sem ';' no meio do texto"_s);
    static const QStringList reading = {u"SELECT"_s, u"WITH"_s, u"VALUES"_s};
    if (!reading.contains(statement.leadingWord))
        throw EDatabaseError(u"um relatório só lê dados: a consulta deve começar por SELECT ou WITH, não por %1"_s.arg(
            statement.leadingWord.isEmpty() ? u"um texto vazio"_s : statement.leadingWord));
}

// The run's read-only session on the host's connection.
std::unique_ptr<database::ReadOnlySession> readOnlySession(const QSqlDatabase& connection)
{
    try {
        return std::make_unique<database::ReadOnlySession>(connection);
    } catch (const database::DatabaseError& e) {
        throw EDatabaseError(e.message());
    }
}

// The driver's failure, or EAbort when the user stopped the statement.
[[noreturn]] void fail(const QSqlQuery& query, const StatementProgress& watch, TDBConnection& connection)
{
    if (watch.cancelled())
        throw EAbort();
    const QString error = database::failureText(query.lastError());
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

// The first column of the first row, as text; empty when there is none.
QString firstText(const ReportTable& table)
{
    return table.rows.isEmpty() || table.rows.constFirst().isEmpty() ? QString()
                                                                     : table.rows.constFirst().constFirst().toString();
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

// Whether the screen's dataset was loaded while the watch lives: a report lists a screen's data only when its run
// fetched them, never what an earlier run left there.
class FetchWatch {
public:
    explicit FetchWatch(TDataSet* dataSet)
    {
        if (dataSet)
            m_connection = QObject::connect(dataSet, &TDataSet::dataChanged, [this] { m_happened = true; });
    }
    ~FetchWatch() { QObject::disconnect(m_connection); }
    FetchWatch(const FetchWatch&) = delete;
    FetchWatch& operator=(const FetchWatch&) = delete;

    bool happened() const { return m_happened; }

private:
    QMetaObject::Connection m_connection;
    bool m_happened = false;
};

} // namespace

bool ExistParam(const TParams& Params, const QString& name) { return Params.FindParam(name) != nullptr; }

ReportRunner::ReportRunner(TDBConnection& connection, TBeforeGetQueryParams BeforeGetQueryParams,
                           DataSetByName dataSets)
    : m_connection(connection), m_beforeGetQueryParams(std::move(BeforeGetQueryParams)), m_dataSets(std::move(dataSets))
{}

ReportData ReportRunner::run(const ReportDefinition& definition, ReportProgress& progress,
                             std::optional<qsizetype> detailRows) const
{
    if (detailRows) // a glimpse for the editor, not a report anyone gets
        return runQueries(definition, Reading::AllRows, progress, detailRows);
    database::AuditRecord record;
    record.origin = u"host-app em %1"_s.arg(QSysInfo::machineHostName());
    record.action = definition.title;
    ReportData data;
    try {
        data = runQueries(definition, Reading::AllRows, progress);
    } catch (const EHostError& e) {
        record.outcome = e.message();
        try {
            audit(record);
        } catch (const EDatabaseError& unrecorded) {
            throw EDatabaseError(e.message() + u"\n"_s + unrecorded.message());
        }
        throw;
    }
    QStringList parameters;
    for (const ReportParameter& parameter : data.parameters)
        parameters.append(u"%1=%2"_s.arg(parameter.name, parameter.value.toString()));
    record.parameters = parameters.join(u"; "_s);
    record.rows = static_cast<int>(data.detail.rows.size());
    record.outcome = u"ok"_s;
    audit(record);
    return data;
}

void ReportRunner::audit(const database::AuditRecord& record) const
{
    try {
        QSqlDatabase database = m_connection.Database();
        database::addAuditRecord(database, record);
    } catch (const database::DatabaseError& e) {
        throw EDatabaseError(
            u"O relatório \"%1\" não pôde ser registrado na auditoria: %2"_s.arg(record.action, e.message()));
    }
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
    TDataSet* screenData = screenDataSet(definition);
    const FetchWatch fetched(screenData);
    const auto failed = [&definition](const QString& where, const EHostError& e) {
        return EReportRunError(
            u"O relatório \"%1\" não pôde ser executado%2: %3"_s.arg(definition.title, where, e.message()));
    };
    QHash<QString, ReportTable> results;
    try {
        const auto readOnly = readOnlySession(m_connection.Database());
        for (const ReportQueryDefinition& query : definition.queries) {
            const bool isDetail = query.name.compare(definition.detail, Qt::CaseInsensitive) == 0;
            const Reading reading =
                isDetail || detailReading == Reading::FieldsOnly ? detailReading : Reading::FirstRow;
            ReportTable table;
            try {
                table = runQuery(query, reading, data, progress, isDetail ? detailRows : std::nullopt);
            } catch (const EHostError& e) {
                throw failed(u" (consulta \"%1\")"_s.arg(query.name), e);
            }
            if (const QString refusal = query.refusal ? firstText(table) : QString(); !refusal.trimmed().isEmpty())
                throw EReportRefused(refusal);
            results.insert(query.name.toUpper(), table);
        }
    } catch (const EDatabaseError& e) {
        throw failed({}, e);
    }
    definition.checkHeaderFields([&results](const QString& query) { return results.value(query.toUpper()).fields; });

    if (screenData) {
        for (const TField* field : screenData->Fields())
            data.detail.fields.append(field->FieldName());
        if (detailReading == Reading::AllRows) {
            if (!fetched.happened())
                throw EReportRunError(
                    u"O relatório \"%1\" não foi gerado: ele lista \"%2\", dados que a tela só busca "
                    "para o relatório a que pertencem, e não imprime os de uma execução anterior."_s.arg(
                        definition.title, definition.detail));
            data.detail.rows = screenData->Rows();
        }
        if (detailRows && data.detail.rows.size() > *detailRows) {
            data.detail.rows.resize(*detailRows);
            data.partial = true;
        }
    } else {
        data.detail = results.value(definition.detail.toUpper());
    }
    definition.checkFields(data.detail.fields);

    for (const QString& line : definition.header)
        data.header.append(filledHeader(line, data.parameters, results));
    data.emitted = QDateTime::currentDateTime();
    return data;
}

TDataSet* ReportRunner::screenDataSet(const ReportDefinition& definition) const
{
    for (const ReportQueryDefinition& query : definition.queries)
        if (query.name.compare(definition.detail, Qt::CaseInsensitive) == 0)
            return nullptr;
    if (TDataSet* dataSet = m_dataSets ? m_dataSets(definition.detail) : nullptr)
        return dataSet;
    throw EReportDefinitionError(
        u"A definição de relatório '%1' é inválida: \"%2\" não é uma consulta nem uma fonte de dados da tela."_s.arg(
            definition.fileName, definition.detail));
}

ReportTable ReportRunner::runQuery(const ReportQueryDefinition& query, Reading reading, ReportData& data,
                                   ReportProgress& progress, std::optional<qsizetype> rowLimit) const
{
    QSqlDatabase database = m_connection.Database();
    const SqlParameters sql = SqlParameters::parse(query.sql.join(u'\n'));
    TParams params;
    params.SetNames(sql.names);
    bool allow = true;
    if (m_beforeGetQueryParams && reading != Reading::FieldsOnly)
        m_beforeGetQueryParams(params, allow);
    if (!allow)
        throw EAbort();
    remember(params, data.parameters);

    checkReadingStatement(sql);
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
