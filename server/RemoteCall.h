#pragma once

#include "RemoteMethods.h"

#include <QByteArray>
#include <QJsonValue>
#include <QVariantList>

namespace fiscal {

// One call of the remote data module as a request's body makes it: its id, the method it names and the
// arguments checked against that method's kinds (checkArguments).
struct RemoteCall {
    QJsonValue id;
    const RemoteMethod* method = nullptr;
    QVariantList arguments;

    // Throws protocol::RpcFailure, with the request's id once it is known. methodName receives the method
    // named in the body ("?" when none), for the log.
    static RemoteCall fromBody(const QByteArray& body, QString& methodName);
};

} // namespace fiscal
