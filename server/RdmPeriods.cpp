#include "RdmConferenciaFiscal.h"

#include "Dialect.h"
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
    database::ScopedConnection& database = connection();
    const QString sql = uR"(
        SELECT %1, DTFIMPERIODO, NMMAPAAPUR, DTINIPERIODO, CDIMPOSTO
          FROM MAPAAPUR
         WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND CDIMPOSTO = ?
         ORDER BY DTINIPERIODO)"_s.arg(database::dialect::brazilianDate(database.engine(), u"DTINIPERIODO"_s));
    return runPacketQuery(database.prepared(sql, {company, registration, tax}), fields);
}

protocol::DataPacket RdmConferenciaFiscal::GetDtFim(const QString& company, const QString& registration,
                                                    const QDate& start, const QString& tax) const
{
    static const QList<protocol::FieldDef> fields = {
        {u"DTINIPERIODO"_s, FieldType::DateTime, 0}, {u"DTFIMPERIODO"_s, FieldType::DateTime, 0},
        {u"NMMAPAAPUR"_s, FieldType::String, 30},    {u"CDIMPOSTO"_s, FieldType::String, 2},
        {u"DTINICIAL"_s, FieldType::String, 10},     {u"DTFINAL"_s, FieldType::String, 10},
    };
    database::ScopedConnection& database = connection();
    const QString sql = uR"(
        SELECT DTINIPERIODO, DTFIMPERIODO, NMMAPAAPUR, CDIMPOSTO, %1, %2
          FROM MAPAAPUR
         WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND CDIMPOSTO = ?
           AND DTFIMPERIODO >= COALESCE(?, DTFIMPERIODO)
         ORDER BY DTFIMPERIODO)"_s.arg(database::dialect::brazilianDate(database.engine(), u"DTINIPERIODO"_s),
                                       database::dialect::brazilianDate(database.engine(), u"DTFIMPERIODO"_s));
    return runPacketQuery(database.prepared(sql, {company, registration, tax, sqlDate(start)}), fields);
}

protocol::DataPacket RdmConferenciaFiscal::GetVdDataIni(const QString& company, const QString& registration,
                                                        const QDate& date, const QString& tax) const
{
    static const QList<protocol::FieldDef> fields = {
        {u"DTINIPERIODO"_s, FieldType::DateTime, 0},
        {u"DTINICIAL"_s, FieldType::String, 10},
    };
    database::ScopedConnection& database = connection();
    const QString sql = uR"(
        SELECT DTINIPERIODO, %1
          FROM MAPAAPUR
         WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND CDIMPOSTO = ? AND DTINIPERIODO = ?
         ORDER BY DTINIPERIODO)"_s.arg(database::dialect::brazilianDate(database.engine(), u"DTINIPERIODO"_s));
    return runPacketQuery(database.prepared(sql, {company, registration, tax, sqlDate(date)}), fields);
}

protocol::DataPacket RdmConferenciaFiscal::GetVdDataFinal(const QString& company, const QString& registration,
                                                          const QDate& date, const QString& tax) const
{
    static const QList<protocol::FieldDef> fields = {
        {u"DTFIMPERIODO"_s, FieldType::DateTime, 0},
        {u"DTFINAL"_s, FieldType::String, 10},
    };
    database::ScopedConnection& database = connection();
    const QString sql = uR"(
        SELECT DTFIMPERIODO, %1
          FROM MAPAAPUR
         WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND CDIMPOSTO = ? AND DTFIMPERIODO = ?
         ORDER BY DTFIMPERIODO)"_s.arg(database::dialect::brazilianDate(database.engine(), u"DTFIMPERIODO"_s));
    return runPacketQuery(database.prepared(sql, {company, registration, tax, sqlDate(date)}), fields);
}

} // namespace fiscal
