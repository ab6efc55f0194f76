#include "RdmConferenciaFiscal.h"

#include "PacketQuery.h"
#include "ReadOnlyConnections.h"

using namespace Qt::StringLiterals;

using protocol::FieldType;

namespace fiscal {

database::ScopedConnection& RdmConferenciaFiscal::connection() const
{
    return database::readOnlyConnection(m_database, m_credentials);
}

protocol::DataPacket RdmConferenciaFiscal::GetImpoGrup(const QString& code, const QString& allFlag) const
{
    static const QList<protocol::FieldDef> fields = {
        {u"CDIMPOSTONFE"_s, FieldType::String, 2},
        {u"SGIMPOSTONFE"_s, FieldType::String, 10},
        {u"IDORGARRECADNFE"_s, FieldType::String, 1},
    };
    static const QString sql = uR"(
        SELECT CDIMPOSTONFE, SGIMPOSTONFE, IDORGARRECADNFE
          FROM IMPOSTONFE
         WHERE (CDIMPOSTONFE = ? OR ? = 'T')
         ORDER BY CDIMPOSTONFE)"_s;
    return runPacketQuery(connection().prepared(sql, {code, allFlag}), fields);
}

protocol::DataPacket RdmConferenciaFiscal::GetLivroMag(const QString& code) const
{
    static const QList<protocol::FieldDef> fields = {
        {u"CDLIVROMAG"_s, FieldType::String, 10},
        {u"NMLIVROMAG"_s, FieldType::String, 50},
        {u"CDIMPOSTOLIVRO"_s, FieldType::String, 2},
        {u"IDORGARRECAD"_s, FieldType::String, 1},
    };
    static const QString sql = uR"(
        SELECT L.CDLIVROMAG, L.NMLIVROMAG, L.CDIMPOSTO, I.IDORGARRECADNFE
          FROM LIVROMAG L
          JOIN IMPOSTONFE I ON I.CDIMPOSTONFE = L.CDIMPOSTO
         WHERE (L.CDLIVROMAG = ? OR ? = '')
         ORDER BY L.CDLIVROMAG)"_s;
    return runPacketQuery(connection().prepared(sql, {code, code}), fields);
}

} // namespace fiscal
