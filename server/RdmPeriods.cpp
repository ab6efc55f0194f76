#include "RdmConferenciaFiscal.h"

#include "PacketQuery.h"

using protocol::FieldType;

namespace fiscal {

protocol::DataPacket RdmConferenciaFiscal::GetDtIni(const QString& company, const QString& registration,
                                                    const QString& tax) const {
    static const QList<protocol::FieldDef> fields = {
        {QStringLiteral("DTINICIAL"), FieldType::String, 10},
        {QStringLiteral("DTFIMPERIODO"), FieldType::DateTime, 0},
        {QStringLiteral("NMMAPAAPUR"), FieldType::String, 30},
        {QStringLiteral("DTINIPERIODO"), FieldType::DateTime, 0},
        {QStringLiteral("CDIMPOSTO"), FieldType::String, 2},
    };
    static const QString sql = QStringLiteral(R"(
        SELECT strftime('%d/%m/%Y', DTINIPERIODO), DTFIMPERIODO, NMMAPAAPUR, DTINIPERIODO, CDIMPOSTO
          FROM MAPAAPUR
         WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND CDIMPOSTO = ?
         ORDER BY DTINIPERIODO)");
    return runPacketQuery(connection().prepared(sql, {company, registration, tax}), fields);
}

protocol::DataPacket RdmConferenciaFiscal::GetDtFim(const QString& company, const QString& registration,
                                                    const QDate& start, const QString& tax) const {
    static const QList<protocol::FieldDef> fields = {
        {QStringLiteral("DTINIPERIODO"), FieldType::DateTime, 0},
        {QStringLiteral("DTFIMPERIODO"), FieldType::DateTime, 0},
        {QStringLiteral("NMMAPAAPUR"), FieldType::String, 30},
        {QStringLiteral("CDIMPOSTO"), FieldType::String, 2},
        {QStringLiteral("DTINICIAL"), FieldType::String, 10},
        {QStringLiteral("DTFINAL"), FieldType::String, 10},
    };
    static const QString sql = QStringLiteral(R"(
        SELECT DTINIPERIODO, DTFIMPERIODO, NMMAPAAPUR, CDIMPOSTO,
               strftime('%d/%m/%Y', DTINIPERIODO), strftime('%d/%m/%Y', DTFIMPERIODO)
          FROM MAPAAPUR
         WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND CDIMPOSTO = ?
           AND (? IS NULL OR DTFIMPERIODO >= ?)
         ORDER BY DTFIMPERIODO)");
    return runPacketQuery(
        connection().prepared(sql, {company, registration, tax, sqlDate(start), sqlDate(start)}), fields);
}

protocol::DataPacket RdmConferenciaFiscal::GetVdDataIni(const QString& company, const QString& registration,
                                                        const QDate& date, const QString& tax) const {
    static const QList<protocol::FieldDef> fields = {
        {QStringLiteral("DTINIPERIODO"), FieldType::DateTime, 0},
        {QStringLiteral("DTINICIAL"), FieldType::String, 10},
    };
    static const QString sql = QStringLiteral(R"(
        SELECT DTINIPERIODO, strftime('%d/%m/%Y', DTINIPERIODO)
          FROM MAPAAPUR
         WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND CDIMPOSTO = ? AND DTINIPERIODO = ?
         ORDER BY DTINIPERIODO)");
    return runPacketQuery(connection().prepared(sql, {company, registration, tax, sqlDate(date)}), fields);
}

protocol::DataPacket RdmConferenciaFiscal::GetVdDataFinal(const QString& company, const QString& registration,
                                                          const QDate& date, const QString& tax) const {
    static const QList<protocol::FieldDef> fields = {
        {QStringLiteral("DTFIMPERIODO"), FieldType::DateTime, 0},
        {QStringLiteral("DTFINAL"), FieldType::String, 10},
    };
    static const QString sql = QStringLiteral(R"(
        SELECT DTFIMPERIODO, strftime('%d/%m/%Y', DTFIMPERIODO)
          FROM MAPAAPUR
         WHERE CDEMPRESA = ? AND CDINSCRICAO = ? AND CDIMPOSTO = ? AND DTFIMPERIODO = ?
         ORDER BY DTFIMPERIODO)");
    return runPacketQuery(connection().prepared(sql, {company, registration, tax, sqlDate(date)}), fields);
}

} // namespace fiscal
