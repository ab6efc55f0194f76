#include "JsonRpc.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace protocol {

namespace {

const QString kJsonRpc = QStringLiteral("jsonrpc");
const QString kVersion = QStringLiteral("2.0");
const QString kId = QStringLiteral("id");
const QString kMethod = QStringLiteral("method");
const QString kParams = QStringLiteral("params");
const QString kResult = QStringLiteral("result");
const QString kError = QStringLiteral("error");
const QString kCode = QStringLiteral("code");
const QString kMessage = QStringLiteral("message");
const QString kData = QStringLiteral("data");
const QString kOut = QStringLiteral("out");

QJsonDocument parse(const QByteArray& body)
{
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError)
        throw RpcFailure(RpcErrorCode::ParseError,
                         QStringLiteral("A mensagem não é JSON válido (%1, posição %2).")
                             .arg(error.errorString())
                             .arg(error.offset));
    return document;
}

bool isValidId(const QJsonValue& id) { return id.isDouble() || id.isString() || id.isNull(); }

QByteArray compact(const QJsonObject& object) { return QJsonDocument(object).toJson(QJsonDocument::Compact); }

} // namespace

RpcFailure::RpcFailure(int code, const QString& message, const QJsonValue& id)
    : std::runtime_error(message.toStdString()), m_error{code, message}, m_id(id)
{
}

QByteArray RpcRequest::toJson() const
{
    return compact({{kJsonRpc, kVersion}, {kId, id}, {kMethod, method}, {kParams, params}});
}

RpcRequest RpcRequest::fromJson(const QByteArray& body)
{
    const QJsonDocument document = parse(body);
    if (document.isArray())
        throw RpcFailure(RpcErrorCode::InvalidRequest, QStringLiteral("Chamadas em lote não são aceitas."));
    const QJsonObject object = document.object();
    if (object.value(kJsonRpc) != QJsonValue(kVersion))
        throw RpcFailure(RpcErrorCode::InvalidRequest, QStringLiteral("A requisição não é JSON-RPC 2.0."));
    if (!object.contains(kId) || !isValidId(object.value(kId)))
        throw RpcFailure(RpcErrorCode::InvalidRequest,
                         QStringLiteral("A requisição precisa de um \"id\" (número, texto ou null)."));

    RpcRequest request;
    request.id = object.value(kId);
    const QJsonValue method = object.value(kMethod);
    if (!method.isString() || method.toString().isEmpty())
        throw RpcFailure(RpcErrorCode::InvalidRequest, QStringLiteral("A requisição não traz o nome do método."),
                         request.id);
    request.method = method.toString();
    const QJsonValue params = object.value(kParams);
    if (!params.isUndefined() && !params.isArray())
        throw RpcFailure(RpcErrorCode::InvalidParams,
                         QStringLiteral("Os argumentos de %1 devem vir numa lista, na ordem do método.")
                             .arg(request.method),
                         request.id);
    request.params = params.toArray();
    return request;
}

RpcResponse RpcResponse::success(const QJsonValue& id, DataPacket data, QJsonArray out)
{
    RpcResponse response;
    response.id = id;
    response.data = std::move(data);
    response.out = std::move(out);
    return response;
}

RpcResponse RpcResponse::failure(const QJsonValue& id, int code, const QString& message)
{
    RpcResponse response;
    response.id = id;
    response.error = RpcError{code, message};
    return response;
}

QByteArray RpcResponse::toJson() const
{
    if (error)
        return compact({{kJsonRpc, kVersion},
                        {kId, id},
                        {kError, QJsonObject{{kCode, error->code}, {kMessage, error->message}}}});
    return compact({{kJsonRpc, kVersion}, {kId, id}, {kResult, QJsonObject{{kData, data.toJson()}, {kOut, out}}}});
}

RpcResponse RpcResponse::fromJson(const QByteArray& body)
{
    const QJsonObject object = parse(body).object();
    if (object.value(kJsonRpc) != QJsonValue(kVersion))
        throw RpcFailure(RpcErrorCode::InvalidRequest, QStringLiteral("A resposta não é JSON-RPC 2.0."));
    const QJsonValue id = object.value(kId);

    const QJsonValue error = object.value(kError);
    if (error.isObject()) {
        const QJsonValue code = error.toObject().value(kCode);
        const QJsonValue message = error.toObject().value(kMessage);
        if (!code.isDouble() || !message.isString())
            throw RpcFailure(RpcErrorCode::InvalidRequest,
                             QStringLiteral("A resposta de erro não traz código e mensagem."), id);
        return failure(id, code.toInt(), message.toString());
    }

    const QJsonValue result = object.value(kResult);
    const QJsonValue out = result.toObject().value(kOut);
    if (!result.isObject() || !result.toObject().value(kData).isObject() || !(out.isUndefined() || out.isArray()))
        throw RpcFailure(RpcErrorCode::InvalidRequest,
                         QStringLiteral("A resposta não traz o resultado {\"data\", \"out\"}."), id);
    return success(id, DataPacket::fromJson(result.toObject().value(kData).toObject()), out.toArray());
}

} // namespace protocol
