#include "JsonRpc.h"

#include "JsonReader.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace protocol {

namespace {

const QString kJsonRpc = u"jsonrpc"_s;
const QString kVersion = u"2.0"_s;
const QString kId = u"id"_s;
const QString kMethod = u"method"_s;
const QString kParams = u"params"_s;
const QString kResult = u"result"_s;
const QString kError = u"error"_s;
const QString kCode = u"code"_s;
const QString kMessage = u"message"_s;
const QString kData = u"data"_s;
const QString kOut = u"out"_s;

bool isValidId(const QJsonValue& id) { return id.isDouble() || id.isString() || id.isNull(); }

QByteArray compact(const QJsonObject& object) { return QJsonDocument(object).toJson(QJsonDocument::Compact); }

} // namespace

RpcFailure::RpcFailure(int code, const QString& message, const QJsonValue& id)
    : std::runtime_error(message.toStdString()), m_error{code, message}, m_id(id)
{}

QByteArray RpcRequest::toJson() const
{
    return compact({{kJsonRpc, kVersion}, {kId, id}, {kMethod, method}, {kParams, params}});
}

RpcRequest RpcRequest::fromJson(const QByteArray& body)
{
    // Read member by member: a QJsonObject of the envelope would cost more than the lookup it asks for.
    JsonReader reader(body);
    if (reader.peek() != '{') {
        const bool batch = reader.peek() == '[';
        reader.skipValue(); // a parse error when the text is not JSON at all
        reader.expectEnd();
        throw RpcFailure(RpcErrorCode::InvalidRequest, batch ? u"Chamadas em lote não são aceitas."_s
                                                             : u"A requisição não é um objeto JSON-RPC 2.0."_s);
    }
    QJsonValue version, id(QJsonValue::Undefined), method, params(QJsonValue::Undefined);
    bool idIsUnicode = true;
    reader.beginObject();
    for (QString name; reader.nextMember(name);) {
        if (name == kJsonRpc)
            version = reader.readValue();
        else if (name == kId)
            id = reader.peek() == '"' ? QJsonValue(reader.readString(&idIsUnicode)) : reader.readValue();
        else if (name == kMethod)
            method = reader.readValue();
        else if (name == kParams)
            params = reader.readValue();
        else
            reader.skipValue();
    }
    reader.expectEnd();

    if (version != QJsonValue(kVersion))
        throw RpcFailure(RpcErrorCode::InvalidRequest, u"A requisição não é JSON-RPC 2.0."_s);
    if (!isValidId(id))
        throw RpcFailure(RpcErrorCode::InvalidRequest, u"A requisição precisa de um \"id\" (número, texto ou null)."_s);
    // An id the answer could only echo altered is none.
    if (!idIsUnicode)
        throw RpcFailure(RpcErrorCode::InvalidRequest, u"O \"id\" da requisição não é um texto Unicode válido."_s);

    RpcRequest request;
    request.id = id;
    if (!method.isString() || method.toString().isEmpty())
        throw RpcFailure(RpcErrorCode::InvalidRequest, u"A requisição não traz o nome do método."_s, request.id);
    request.method = method.toString();
    if (!params.isUndefined() && !params.isArray())
        throw RpcFailure(RpcErrorCode::InvalidParams,
                         u"Os argumentos de %1 devem vir numa lista, na ordem do método."_s.arg(request.method),
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

RpcResponse RpcResponse::success(const QJsonValue& id, WrittenPacket written, QJsonArray out)
{
    RpcResponse response;
    response.id = id;
    response.written = std::move(written);
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
        return compact(
            {{kJsonRpc, kVersion}, {kId, id}, {kError, QJsonObject{{kCode, error->code}, {kMessage, error->message}}}});
    // The packet may be large: its text goes in as written, not through a QJsonObject.
    const QByteArray idText = QJsonDocument(QJsonArray{id}).toJson(QJsonDocument::Compact);
    return "{\"jsonrpc\":\"2.0\",\"id\":" + idText.mid(1, idText.size() - 2) +
           ",\"result\":{\"data\":" + (written.json.isEmpty() ? data.toJson() : written.json) +
           ",\"out\":" + QJsonDocument(out).toJson(QJsonDocument::Compact) + "}}";
}

RpcResponse RpcResponse::fromJson(QByteArrayView body)
{
    // Read member by member: the packet's rows go straight into cells.
    JsonReader reader(body);
    const auto notJsonRpc = [](const QString& why, const QJsonValue& id = QJsonValue::Null) {
        return RpcFailure(RpcErrorCode::InvalidRequest, why, id);
    };
    if (reader.peek() != '{') {
        reader.skipValue(); // a parse error when the text is not JSON at all
        throw notJsonRpc(u"A resposta não é JSON-RPC 2.0."_s);
    }

    QJsonValue version, id, error;
    std::optional<DataPacket> data;
    QJsonValue out = QJsonValue::Undefined;
    bool resultIsObject = false;
    reader.beginObject();
    for (QString name; reader.nextMember(name);) {
        if (name == kJsonRpc)
            version = reader.readValue();
        else if (name == kId)
            id = reader.readValue();
        else if (name == kError)
            error = reader.readValue();
        else if (name == kResult && reader.peek() == '{') {
            resultIsObject = true;
            reader.beginObject();
            for (QString member; reader.nextMember(member);) {
                if (member == kData && reader.peek() == '{')
                    data = DataPacket::read(reader);
                else if (member == kOut)
                    out = reader.readValue();
                else
                    reader.skipValue();
            }
        } else
            reader.skipValue();
    }
    reader.expectEnd();

    if (version != QJsonValue(kVersion))
        throw notJsonRpc(u"A resposta não é JSON-RPC 2.0."_s);
    if (error.isObject()) {
        const QJsonValue code = error.toObject().value(kCode);
        const QJsonValue message = error.toObject().value(kMessage);
        if (!code.isDouble() || !message.isString())
            throw notJsonRpc(u"A resposta de erro não traz código e mensagem."_s, id);
        return failure(id, code.toInt(), message.toString());
    }
    if (!resultIsObject || !data || !(out.isUndefined() || out.isArray()))
        throw notJsonRpc(u"A resposta não traz o resultado {\"data\", \"out\"}."_s, id);
    return success(id, std::move(*data), out.toArray());
}

} // namespace protocol
