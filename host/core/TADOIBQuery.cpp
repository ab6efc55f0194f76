#include "TADOIBQuery.h"

#include "DatabaseFailure.h"
#include "Dialect.h"
#include "Exceptions.h"
#include "SqlParameters.h"
#include "TDBConnection.h"
#include "TDataSet.h"
#include "TdtmDBGeral.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

// The inner dataset: rows are loaded by the query only.
class TADOIBQuery::Rows : public TDataSet {
public:
    using TDataSet::ReplaceRows;
    using TDataSet::TDataSet;
};

namespace {

QVariant fieldValue(const QVariant& value, TFieldType type)
{
    if (value.isNull())
        return {};
    switch (type) {
    case TFieldType::String:
        return value.toString();
    case TFieldType::Integer:
        return value.toLongLong();
    case TFieldType::Float:
        return value.toDouble();
    case TFieldType::Date:
        return value.typeId() == QMetaType::QString ? QDate::fromString(value.toString().left(10), Qt::ISODate)
                                                    : value.toDate();
    case TFieldType::DateTime:
        return value.typeId() == QMetaType::QString ? QDateTime::fromString(value.toString(), Qt::ISODate)
                                                    : value.toDateTime();
    }
    return value;
}

} // namespace

TADOIBQuery::TADOIBQuery(QObject* parent, const QString& name)
    : QObject(parent), m_connection(dtmDBGeral()->adcGeral), m_rows(new Rows(this, name))
{
    setObjectName(name);
}

TADOIBQuery::~TADOIBQuery() = default;

void TADOIBQuery::setSQL(const QStringList& lines)
{
    m_sql = lines;
    updateParams();
}

void TADOIBQuery::setSQL_ORACLE(const QStringList& lines)
{
    m_sqlOracle = lines;
    updateParams();
}

void TADOIBQuery::setSQL_MSSQL(const QStringList& lines)
{
    m_sqlMssql = lines;
    updateParams();
}

void TADOIBQuery::updateParams()
{
    QStringList names;
    for (const QStringList* text : {&m_sql, &m_sqlOracle, &m_sqlMssql})
        for (const QString& name : SqlParameters::parse(text->join(u'\n')).names)
            if (!names.contains(name, Qt::CaseInsensitive))
                names.append(name);
    m_params.SetNames(names);
}

QString TADOIBQuery::ActiveSQL() const
{
    return database::dialect::forDriver(m_connection->DriverName(), m_sql, m_sqlOracle, m_sqlMssql);
}

void TADOIBQuery::Open()
{
    m_rows->Close();
    QSqlQuery query = execute();
    if (!query.isActive()) {
        const QString error = database::failureText(query.lastError());
        query = QSqlQuery();
        if (!m_connection->CloseWhenLost())
            throw EDatabaseError(u"%1: %2"_s.arg(objectName(), error));
        // The connection was lost (its database server restarted, say): once more, on a new one.
        query = execute();
        if (!query.isActive())
            throw EDatabaseError(u"%1: a conexão com o banco de dados foi perdida; tente de novo."_s.arg(objectName()));
    }
    readRows(query);
}

QSqlQuery TADOIBQuery::execute()
{
    const SqlParameters sql = SqlParameters::parse(ActiveSQL());
    QSqlQuery query(m_connection->Database());
    query.setForwardOnly(true);
    if (query.prepare(sql.positionalSql)) {
        for (const QString& name : sql.occurrences)
            query.addBindValue(m_params.ParamByName(name)->Value());
        query.exec();
    }
    return query;
}

void TADOIBQuery::readRows(QSqlQuery& query)
{
    const QSqlRecord record = query.record();
    if (m_rows->Fields().isEmpty())
        for (int i = 0; i < record.count(); ++i)
            m_rows->AddField({.fieldName = record.fieldName(i)});
    QList<int> columns;
    for (const TField* field : m_rows->Fields()) {
        const int column = record.indexOf(field->FieldName());
        if (column < 0)
            throw EDatabaseError(
                u"%1: campo '%2' não encontrado no resultado."_s.arg(objectName(), field->FieldName()));
        columns.append(column);
    }

    QList<QVariantList> rows;
    while (query.next()) {
        QVariantList row;
        row.reserve(columns.size());
        for (int i = 0; i < columns.size(); ++i)
            row.append(fieldValue(query.value(columns[i]), m_rows->Fields()[i]->DataType()));
        rows.append(std::move(row));
    }
    if (query.lastError().isValid())
        throw EDatabaseError(u"%1: %2"_s.arg(objectName(), database::failureText(query.lastError())));
    m_rows->ReplaceRows(std::move(rows));
}

void TADOIBQuery::Close() { m_rows->Close(); }

bool TADOIBQuery::Active() const { return m_rows->Active(); }

bool TADOIBQuery::IsEmpty() const { return m_rows->IsEmpty(); }

TDataSet* TADOIBQuery::Query() const { return m_rows; }
