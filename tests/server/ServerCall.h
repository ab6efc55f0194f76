#pragma once

#include "JsonRpc.h"
#include "TestServer.h"

#include <QStringList>
#include <QVariant>
#include <httplib.h>
#include <ostream>

// Raw HTTP to a TestServer: POST body to path (the module's path by default), signed in as the database's owner.
httplib::Result post(const TestServer& server, const std::string& body,
                     const std::string& path = "/rlx58200.rdmConferenciaFiscal");

// One JSON-RPC call; the test fails when the answer is not a JSON-RPC response.
protocol::RpcResponse call(const TestServer& server, const QString& method, const QJsonArray& params);

// Readable values in test failures.
void PrintTo(const QVariant& value, std::ostream* out);
void PrintTo(const QString& value, std::ostream* out);

// The cells of column field of a packet, as texts ("" for null).
QStringList column(const protocol::DataPacket& packet, const QString& field);
