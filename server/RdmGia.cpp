#include "RdmConferenciaFiscal.h"

#include "PacketQuery.h"

namespace fiscal {

MethodResult RdmConferenciaFiscal::getDadosGia(const GiaFilter& filter) const
{
    return {writePacketQuery(giaDocumentsQuery(connection(), filter), giaDocumentFields()),
            QJsonArray{filter.models.join(u','), filter.types.join(u',')}};
}

} // namespace fiscal
