#include "RdmConferenciaFiscal.h"

#include "PacketQuery.h"

namespace fiscal {

MethodResult RdmConferenciaFiscal::getDadosGia(const GiaFilter& filter) const
{
    QSqlQuery query = giaDocumentsQuery(database(), filter);
    return {runPacketQuery(query, giaDocumentFields()),
            QJsonArray{filter.models.join(u','), filter.types.join(u',')}};
}

} // namespace fiscal
