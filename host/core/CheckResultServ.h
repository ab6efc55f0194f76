#pragma once

#include "hostfw_core_export.h"

#include "JsonRpc.h"

// What a remote method answered: its data packet and by-reference values, or the server's failure.
using RemoteResult = protocol::RpcResponse;

// The data packet of a remote method's result, to load with TClientDataSet::SetData.
// A failure reported by the server raises EServerError with the server's message when raise is true; with
// raise false it gives an empty packet (no fields, no rows). packetIndex selects the packet of the result:
// the application server returns one, so it is always 0; any other index raises EHostConfigError.
HOSTFW_CORE_EXPORT protocol::DataPacket CheckResultServ(const RemoteResult& result, bool raise, int packetIndex);
