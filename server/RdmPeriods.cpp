#include "RdmConferenciaFiscal.h"

#include "PacketQuery.h"

using protocol::FieldType;

namespace fiscal {

namespace {

void bindMapKey(QSqlQuery& query, const QString& company, const QString& registration, const QString& tax)
{
    query.addBindValue(company);
    query.addBindValue(registration);
    query.addBindValue(tax);
}

} // namespace

protocol::DataPacket RdmConferenciaFiscal::GetDtIni(const QString& company, const QString& registration,
                                                    const QString& tax) const
{
    static const QList<protocol::FieldDef> fields = {
        {QStringLiteral("DTINICIAL"), FieldType::String, 10},
        {QStringLiteral("DTFIMPERIODO"), FieldType::DateTime, 0},
        {QStringLiteral("NMMAPAAPUR"), FieldType::String, 30},
        {QStringLiteral("DTINIPERIODO"), FieldType::DateTime, 0},
        {QStringLiteral("CDIMPOSTO"), FieldType::String, 2},
    };
    QSqlQuery query = preparedQuery(database(), QStringLiteral(R"(
        SELECT strftime('%d/%m/%Y', DTINIPERIODO), DTFIMPERIODO, NMMAPAAPUR, DTINIPERIODO, CDIMPOSTO
          FROM MAPAAPUR
         WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND CDIMPOSTO = ?
         ORDER BY DTINIPERIODO)"));
    bindMapKey(query, company, registration, tax);
    return runPacketQuery(query, fields);
}

protocol::DataPacket RdmConferenciaFiscal::GetDtFim(const QString& company, const QString& registration,
                                                    const QDate& start, const QString& tax) const
{
    static const QList<protocol::FieldDef> fields = {
        {QStringLiteral("DTINIPERIODO"), FieldType::DateTime, 0},
        {QStringLiteral("DTFIMPERIODO"), FieldType::DateTime, 0},
        {QStringLiteral("NMMAPAAPUR"), FieldType::String, 30},
        {QStringLiteral("CDIMPOSTO"), FieldType::String, 2},
        {QStringLiteral("DTINICIAL"), FieldType::String, 10},
        {QStringLiteral("DTFINAL"), FieldType::String, 10},
    };
    QSqlQuery query = preparedQuery(database(), QStringLiteral(R"(
        SELECT DTINIPERIODO, DTFIMPERIODO, NMMAPAAPUR, CDIMPOSTO,
               strftime('%d/%m/%Y', DTINIPERIODO), strftime('%d/%m/%Y', DTFIMPERIODO)
          FROM MAPAAPUR
         WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND CDIMPOSTO = ?
           AND (? IS NULL OR DTFIMPERIODO >= ?)
         ORDER BY DTFIMPERIODO)"));
    bindMapKey(query, company, registration, tax);
    query.addBindValue(sqlDate(start));
    query.addBindValue(sqlDate(start));
    return runPacketQuery(query, fields);
}

protocol::DataPacket RdmConferenciaFiscal::GetVdDataIni(const QString& company, const QString& registration,
                                                        const QDate& date, const QString& tax) const
{
    static const QList<protocol::FieldDef> fields = {
        {QStringLiteral("DTINIPERIODO"), FieldType::DateTime, 0},
        {QStringLiteral("DTINICIAL"), FieldType::String, 10},
    };
    QSqlQuery query = preparedQuery(database(), QStringLiteral(R"(
        SELECT DTINIPERIODO, strftime('%d/%m/%Y', DTINIPERIODO)
          FROM MAPAAPUR
         WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND CDIMPOSTO = ? AND DTINIPERIODO = ?
         ORDER BY DTINIPERIODO)"));
    bindMapKey(query, company, registration, tax);
    query.addBindValue(sqlDate(date));
    return runPacketQuery(query, fields);
}

protocol::DataPacket RdmConferenciaFiscal::GetVdDataFinal(const QString& company, const QString& registration,
                                                          const QDate& date, const QString& tax) const
{
    static const QList<protocol::FieldDef> fields = {
        {QStringLiteral("DTFIMPERIODO"), FieldType::DateTime, 0},
        {QStringLiteral("DTFINAL"), FieldType::String, 10},
    };
    QSqlQuery query = preparedQuery(database(), QStringLiteral(R"(
        SELECT DTFIMPERIODO, strftime('%d/%m/%Y', DTFIMPERIODO)
          FROM MAPAAPUR
         WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND CDIMPOSTO = ? AND DTFIMPERIODO = ?
         ORDER BY DTFIMPERIODO)"));
    bindMapKey(query, company, registration, tax);
    query.addBindValue(sqlDate(date));
    return runPacketQuery(query, fields);
}

} // namespace fiscal
