#include "ReadOnlyConnections.h"

#include <atomic>
#include <map>
#include <memory>

namespace database {

namespace {

struct ThreadConnection {
    std::unique_ptr<ScopedConnection> open;
    int generation = 0;
};

// Raised by reopenReadOnlyConnections(): a thread's connection of an older generation is reopened before use.
std::atomic<int> connectionGeneration{0};

std::map<QString, ThreadConnection>& threadConnections()
{
    thread_local std::map<QString, ThreadConnection> connections;
    return connections;
}

} // namespace

ScopedConnection& readOnlyConnection(const DatabaseAddress& address)
{
    ThreadConnection& connection = threadConnections()[address.text()];
    const int generation = connectionGeneration;
    if (!connection.open || connection.generation != generation) {
        connection.open.reset();
        connection.open = std::make_unique<ScopedConnection>(address, Access::ReadOnly);
        connection.generation = generation;
    }
    return *connection.open;
}

bool readOnlyConnectionAnswers(const DatabaseAddress& address)
{
    const auto connection = threadConnections().find(address.text());
    return connection != threadConnections().end() && connection->second.open &&
           answers(connection->second.open->database());
}

void reopenReadOnlyConnections() { ++connectionGeneration; }

} // namespace database
