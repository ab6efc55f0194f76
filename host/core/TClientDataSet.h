#pragma once

#include "TDataSet.h"

// A dataset filled from the application server's data packets.
class HOSTFW_CORE_EXPORT TClientDataSet : public TDataSet {
    Q_OBJECT
public:
    using TDataSet::TDataSet;

    // Replaces the rows with the packet's. Every persistent field must be in the packet (by name) with a
    // compatible type; extra packet fields are ignored. A dataset without persistent fields takes the packet's.
    // A packet that does not fit raises EDataPacketError and leaves the dataset as it was.
    void SetData(const protocol::DataPacket& packet);
};
