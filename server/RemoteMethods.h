#pragma once

#include "Arguments.h"
#include "RdmConferenciaFiscal.h"

#include <QJsonArray>
#include <functional>

namespace fiscal {

// A method of the remote data module as the endpoint sees it: its name, what it takes in each position, and
// how to run it with the checked arguments (checkArguments). run may still refuse a value before reading the
// database, with protocol::RpcFailure (InvalidParams). A listing reads many rows, for seconds: the server runs
// listings on threads of their own, so that lookups never wait behind them.
struct RemoteMethod {
    QString name;
    QList<ArgumentKind> arguments;
    std::function<MethodResult(const RdmConferenciaFiscal&, const QVariantList&)> run;
    bool listing = false;
};

// The method of that exact name (case matters), or nullptr.
const RemoteMethod* findRemoteMethod(const QString& name);

} // namespace fiscal
