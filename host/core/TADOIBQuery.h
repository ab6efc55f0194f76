#pragma once

#include "hostfw_core_export.h"

#include "TParams.h"

#include <QObject>
#include <QSqlQuery>
#include <QStringList>

class TDataSet;
class TDBConnection;
class TDBTransaction;

// A read-only local query: one SQL text, which SQLite and PostgreSQL both run. Parameters are the ":NAME" tokens of the text, all text parameters, bound by
// value (never spliced into the text); a null parameter binds SQL NULL.
// The rows are loaded whole into the inner dataset Query(), which a data source shows. Query()'s persistent fields
// (declared by the owner with AddField) are read from the result by name; without persistent fields Query() takes
// the result's columns as text fields.
class HOSTFW_CORE_EXPORT TADOIBQuery : public QObject {
    Q_OBJECT
public:
    // Runs on dtmDBGeral()->adcGeral unless another connection is set.
    explicit TADOIBQuery(QObject* parent = nullptr, const QString& name = {});
    ~TADOIBQuery() override;

    void setSQL(const QStringList& lines);
    const QStringList& SQL() const { return m_sql; }

    void setConnection(TDBConnection* connection) { m_connection = connection; }
    void setDatabase(TDBConnection* database) { m_connection = database; }
    void setTransaction(TDBTransaction* transaction) { m_transaction = transaction; }
    TDBConnection* Connection() const { return m_connection; }
    TDBTransaction* Transaction() const { return m_transaction; }

    // The parameters of the text, in order of first appearance; values survive text changes.
    TParams& Params() { return m_params; }
    TParam* ParamByName(const QString& name) const { return m_params.ParamByName(name); }

    // Binds, runs and loads every row into Query(), standing on the first row. Runs again when already open.
    // EDatabaseError with the driver's text when the query fails or a persistent field is not in the result;
    // Query() is then left closed.
    void Open();
    void Close();
    bool Active() const;
    bool IsEmpty() const;

    TDataSet* Query() const;

private:
    // The query prepared, bound and run; not active when it failed (its lastError() says why).
    QSqlQuery execute();
    void readRows(QSqlQuery& query);
    void updateParams();

    QStringList m_sql;
    TParams m_params;
    TDBConnection* m_connection;
    TDBTransaction* m_transaction = nullptr;
    class Rows;
    Rows* m_rows;
};
