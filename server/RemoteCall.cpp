#include "RemoteCall.h"

#include "JsonRpc.h"

using namespace Qt::StringLiterals;

namespace fiscal {

RemoteCall RemoteCall::fromBody(const QByteArray& body, QString& methodName)
{
    using namespace protocol;
    methodName = u"?"_s;
    const RpcRequest request = RpcRequest::fromJson(body);
    methodName = request.method.left(100);
    RemoteCall call;
    call.id = request.id;
    try {
        call.method = findRemoteMethod(request.method);
        if (!call.method)
            throw RpcFailure(RpcErrorCode::MethodNotFound, u"Método desconhecido: %1."_s.arg(request.method.left(100)));
        call.arguments = checkArguments(call.method->name, call.method->arguments, request.params);
    } catch (const RpcFailure& failure) {
        throw RpcFailure(failure.error().code, failure.error().message, call.id);
    }
    return call;
}

} // namespace fiscal
