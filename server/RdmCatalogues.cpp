#include "RdmConferenciaFiscal.h"

#include "PacketQuery.h"
#include "ScopedConnection.h"

using protocol::FieldType;

namespace fiscal {

QSqlDatabase& RdmConferenciaFiscal::database() const { return readOnlyConnection(m_databasePath); }

protocol::DataPacket RdmConferenciaFiscal::GetImpoGrup(const QString& code, const QString& allFlag) const
{
    static const QList<protocol::FieldDef> fields = {
        {QStringLiteral("CDIMPOSTONFE"), FieldType::String, 2},
        {QStringLiteral("SGIMPOSTONFE"), FieldType::String, 10},
        {QStringLiteral("IDORGARRECADNFE"), FieldType::String, 1},
    };
    QSqlQuery query = preparedQuery(database(), QStringLiteral(R"(
        SELECT CDIMPOSTONFE, SGIMPOSTONFE, IDORGARRECADNFE
          FROM IMPOSTONFE
         WHERE (CDIMPOSTONFE = ? OR ? = 'T')
         ORDER BY CDIMPOSTONFE)"));
    query.addBindValue(code);
    query.addBindValue(allFlag);
    return runPacketQuery(query, fields);
}

protocol::DataPacket RdmConferenciaFiscal::GetLivroMag(const QString& code) const
{
    static const QList<protocol::FieldDef> fields = {
        {QStringLiteral("CDLIVROMAG"), FieldType::String, 10},
        {QStringLiteral("NMLIVROMAG"), FieldType::String, 50},
        {QStringLiteral("CDIMPOSTOLIVRO"), FieldType::String, 2},
        {QStringLiteral("IDORGARRECAD"), FieldType::String, 1},
    };
    QSqlQuery query = preparedQuery(database(), QStringLiteral(R"(
        SELECT L.CDLIVROMAG, L.NMLIVROMAG, L.CDIMPOSTO, I.IDORGARRECADNFE
          FROM LIVROMAG L
          JOIN IMPOSTONFE I ON I.CDIMPOSTONFE = L.CDIMPOSTO
         WHERE (L.CDLIVROMAG = ? OR ? = '')
         ORDER BY L.CDLIVROMAG)"));
    query.addBindValue(code);
    query.addBindValue(code);
    return runPacketQuery(query, fields);
}

} // namespace fiscal
