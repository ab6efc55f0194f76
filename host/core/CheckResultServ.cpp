#include "CheckResultServ.h"

#include "Exceptions.h"

using namespace Qt::StringLiterals;

protocol::DataPacket CheckResultServ(const RemoteResult& result, bool raise, int packetIndex)
{
    if (packetIndex != 0)
        throw EHostConfigError(
            u"O resultado do servidor traz um único pacote de dados (índice 0), não o de índice %1."_s.arg(
                packetIndex));
    if (result.failed()) {
        if (raise)
            throw EServerError(result.error->message);
        return {};
    }
    return result.data;
}
