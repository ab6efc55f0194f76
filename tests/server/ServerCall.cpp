#include "ServerCall.h"

#include <gtest/gtest.h>

httplib::Result post(const TestServer& server, const std::string& body, const std::string& path)
{
    httplib::Client client(server.host().toStdString(), server.port());
    client.set_read_timeout(std::chrono::seconds(10));
    if (const QString owner = server.database()->ownerUser(); !owner.isEmpty())
        client.set_basic_auth(owner.toStdString(), "");
    return client.Post(path, body, "application/json");
}

protocol::RpcResponse call(const TestServer& server, const QString& method, const QJsonArray& params)
{
    protocol::RpcRequest request;
    request.id = 1;
    request.method = method;
    request.params = params;
    const httplib::Result answer = post(server, request.toJson().toStdString());
    if (!answer) {
        ADD_FAILURE() << "no answer to " << method.toStdString();
        return {};
    }
    EXPECT_EQ(answer->status, 200);
    return protocol::RpcResponse::fromJson(QByteArray::fromStdString(answer->body));
}

QStringList column(const protocol::DataPacket& packet, const QString& field)
{
    const int index = packet.fieldIndex(field);
    EXPECT_GE(index, 0) << field.toStdString();
    QStringList cells;
    for (const QVariantList& row : packet.rows)
        cells.append(index < 0 ? QString() : row[index].toString());
    return cells;
}

void PrintTo(const QVariant& value, std::ostream* out)
{
    *out << value.typeName() << "(" << value.toString().toStdString() << ")";
}

void PrintTo(const QString& value, std::ostream* out) { *out << '"' << value.toStdString() << '"'; }
