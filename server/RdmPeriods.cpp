#include "RdmConferenciaFiscal.h"

#include "PacketQuery.h"

using namespace Qt::StringLiterals;

using protocol::FieldType;

namespace fiscal {

protocol::DataPacket RdmConferenciaFiscal::GetDtIni(const QString& company, const QString& registration,
                                                    const QString& tax) const
{
    static const QList<protocol::FieldDef> fields = {
        {u"DTINICIAL"_s, FieldType::String, 10},  {u"DTFIMPERIODO"_s, FieldType::DateTime, 0},
        {u"NMMAPAAPUR"_s, FieldType::String, 30}, {u"DTINIPERIODO"_s, FieldType::DateTime, 0},
        {u"CDIMPOSTO"_s, FieldType::String, 2},
    };
    static const QString sql = uR"(
        SELECT strftime('%d/%m/%Y', DTINIPERIODO), DTFIMPERIODO, NMMAPAAPUR, DTINIPERIODO, CDIMPOSTO
          FROM MAPAAPUR
         WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND CDIMPOSTO = ?
         ORDER BY DTINIPERIODO)"_s;
    return runPacketQuery(connection().prepared(sql, {company, registration, tax}), fields);
}

protocol::DataPacket RdmConferenciaFiscal::GetDtFim(const QString& company, const QString& registration,
                                                    const QDate& start, const QString& tax) const
{
    static const QList<protocol::FieldDef> fields = {
        {u"DTINIPERIODO"_s, FieldType::DateTime, 0}, {u"DTFIMPERIODO"_s, FieldType::DateTime, 0},
        {u"NMMAPAAPUR"_s, FieldType::String, 30},    {u"CDIMPOSTO"_s, FieldType::String, 2},
        {u"DTINICIAL"_s, FieldType::String, 10},     {u"DTFINAL"_s, FieldType::String, 10},
    };
    static const QString sql = uR"(
        SELECT DTINIPERIODO, DTFIMPERIODO, NMMAPAAPUR, CDIMPOSTO,
               strftime('%d/%m/%Y', DTINIPERIODO), strftime('%d/%m/%Y', DTFIMPERIODO)
          FROM MAPAAPUR
         WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND CDIMPOSTO = ?
           AND (? IS NULL OR DTFIMPERIODO >= ?)
         ORDER BY DTFIMPERIODO)"_s;
    return runPacketQuery(connection().prepared(sql, {company, registration, tax, sqlDate(start), sqlDate(start)}),
                          fields);
}

protocol::DataPacket RdmConferenciaFiscal::GetVdDataIni(const QString& company, const QString& registration,
                                                        const QDate& date, const QString& tax) const
{
    static const QList<protocol::FieldDef> fields = {
        {u"DTINIPERIODO"_s, FieldType::DateTime, 0},
        {u"DTINICIAL"_s, FieldType::String, 10},
    };
    static const QString sql = uR"(
        SELECT DTINIPERIODO, strftime('%d/%m/%Y', DTINIPERIODO)
          FROM MAPAAPUR
         WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND CDIMPOSTO = ? AND DTINIPERIODO = ?
         ORDER BY DTINIPERIODO)"_s;
    return runPacketQuery(connection().prepared(sql, {company, registration, tax, sqlDate(date)}), fields);
}

protocol::DataPacket RdmConferenciaFiscal::GetVdDataFinal(const QString& company, const QString& registration,
                                                          const QDate& date, const QString& tax) const
{
    static const QList<protocol::FieldDef> fields = {
        {u"DTFIMPERIODO"_s, FieldType::DateTime, 0},
        {u"DTFINAL"_s, FieldType::String, 10},
    };
    static const QString sql = uR"(
        SELECT DTFIMPERIODO, strftime('%d/%m/%Y', DTFIMPERIODO)
          FROM MAPAAPUR
         WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND CDIMPOSTO = ? AND DTFIMPERIODO = ?
         ORDER BY DTFIMPERIODO)"_s;
    return runPacketQuery(connection().prepared(sql, {company, registration, tax, sqlDate(date)}), fields);
}

} // namespace fiscal
