#include "RdmConferenciaFiscal.h"

#include "PacketQuery.h"

using protocol::FieldType;

namespace fiscal {

ScopedConnection& RdmConferenciaFiscal::connection() const {
    return readOnlyConnection(m_databasePath);
}

protocol::DataPacket RdmConferenciaFiscal::GetImpoGrup(const QString& code, const QString& allFlag) const {
    static const QList<protocol::FieldDef> fields = {
        {QStringLiteral("CDIMPOSTONFE"), FieldType::String, 2},
        {QStringLiteral("SGIMPOSTONFE"), FieldType::String, 10},
        {QStringLiteral("IDORGARRECADNFE"), FieldType::String, 1},
    };
    static const QString sql = QStringLiteral(R"(
        SELECT CDIMPOSTONFE, SGIMPOSTONFE, IDORGARRECADNFE
          FROM IMPOSTONFE
         WHERE (CDIMPOSTONFE = ? OR ? = 'T')
         ORDER BY CDIMPOSTONFE)");
    return runPacketQuery(connection().prepared(sql, {code, allFlag}), fields);
}

protocol::DataPacket RdmConferenciaFiscal::GetLivroMag(const QString& code) const {
    static const QList<protocol::FieldDef> fields = {
        {QStringLiteral("CDLIVROMAG"), FieldType::String, 10},
        {QStringLiteral("NMLIVROMAG"), FieldType::String, 50},
        {QStringLiteral("CDIMPOSTOLIVRO"), FieldType::String, 2},
        {QStringLiteral("IDORGARRECAD"), FieldType::String, 1},
    };
    static const QString sql = QStringLiteral(R"(
        SELECT L.CDLIVROMAG, L.NMLIVROMAG, L.CDIMPOSTO, I.IDORGARRECADNFE
          FROM LIVROMAG L
          JOIN IMPOSTONFE I ON I.CDIMPOSTONFE = L.CDIMPOSTO
         WHERE (L.CDLIVROMAG = ? OR ? = '')
         ORDER BY L.CDLIVROMAG)");
    return runPacketQuery(connection().prepared(sql, {code, code}), fields);
}

} // namespace fiscal
