#pragma once

#include "protocol_export.h"

#include "DataPacket.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QJsonArray>
#include <QJsonValue>
#include <QString>
#include <optional>
#include <stdexcept>

// The JSON-RPC 2.0 envelope of the application server's calls, shared by the server and the client.
//
// Request:  {"jsonrpc": "2.0", "id": 1, "method": "GetImpoGrup", "params": ["", "T"]}
// Result:   {"jsonrpc": "2.0", "id": 1, "result": {"data": <packet>, "out": ["55,65", ""]}}
// Failure:  {"jsonrpc": "2.0", "id": 1, "error": {"code": -32602, "message": "..."}}
//
// Parameters are positional: texts as strings, dates as "YYYY-MM-DD" or null. "out" holds the values of the
// by-reference arguments, in order (empty for methods without them).
namespace protocol {

namespace RpcErrorCode {
constexpr int ParseError = -32700;     // the body is not JSON
constexpr int InvalidRequest = -32600; // JSON, but not a JSON-RPC 2.0 request
constexpr int MethodNotFound = -32601;
constexpr int InvalidParams = -32602;
constexpr int ServerFailure = -32000; // the request was sound; running it failed
} // namespace RpcErrorCode

struct RpcError {
    int code = 0;
    QString message;
};

// A message that breaks the envelope or a call that cannot run, with the JSON-RPC error that answers it and
// the id of the request when it is known (null otherwise).
class PROTOCOL_EXPORT RpcFailure : public std::runtime_error {
public:
    RpcFailure(int code, const QString& message, const QJsonValue& id = QJsonValue::Null);
    const RpcError& error() const { return m_error; }
    const QJsonValue& id() const { return m_id; }

private:
    RpcError m_error;
    QJsonValue m_id;
};

struct PROTOCOL_EXPORT RpcRequest {
    QJsonValue id;
    QString method;
    QJsonArray params;

    QByteArray toJson() const;
    // Throws RpcFailure: ParseError for text that is not JSON; InvalidRequest for anything but one request
    // object with "jsonrpc" "2.0", an "id" (number, string or null) and a "method" text; InvalidParams for
    // "params" that are present but not an array (the server takes positional parameters only).
    static RpcRequest fromJson(const QByteArray& body);
};

struct PROTOCOL_EXPORT RpcResponse {
    QJsonValue id;
    std::optional<RpcError> error; // set: the call failed, data and out are empty
    DataPacket data;
    // The packet already written (PacketWriter): when it has a text, the answer carries it instead of data.
    WrittenPacket written;
    QJsonArray out;

    bool failed() const { return error.has_value(); }
    qsizetype rowCount() const { return written.json.isEmpty() ? data.rows.size() : written.rows; }

    static RpcResponse success(const QJsonValue& id, DataPacket data, QJsonArray out = {});
    static RpcResponse success(const QJsonValue& id, WrittenPacket written, QJsonArray out = {});
    static RpcResponse failure(const QJsonValue& id, int code, const QString& message);

    QByteArray toJson() const;
    // Throws RpcFailure for a body that is not a JSON-RPC response, PacketFormatError for a result whose
    // packet breaks the packet format.
    static RpcResponse fromJson(QByteArrayView body);
};

} // namespace protocol
