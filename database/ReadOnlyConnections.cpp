#include "ReadOnlyConnections.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <atomic>
#include <list>
#include <memory>

namespace database {

namespace {

using Clock = std::chrono::steady_clock;

struct ThreadConnection {
    QString key; // address and role
    QByteArray passwordDigest;
    std::unique_ptr<ScopedConnection> open;
    int generation = 0;
    Clock::time_point opened;
};

// Raised by reopenReadOnlyConnections(): a thread's connection of an older generation is reopened before use.
std::atomic<int> connectionGeneration{0};

// The last used first.
std::list<ThreadConnection>& threadConnections()
{
    thread_local std::list<ThreadConnection> connections;
    return connections;
}

QString keyOf(const DatabaseAddress& address, const Credentials& credentials)
{
    return address.text() + u'\n' + credentials.user;
}

// The password is kept only as a salted digest, to tell whether a call brings the one a connection was opened with.
QByteArray digestOf(const QString& password)
{
    static const QByteArray salt = [] {
        QByteArray bytes(32, Qt::Uninitialized);
        QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
        return bytes;
    }();
    return QCryptographicHash::hash(salt + password.toUtf8(), QCryptographicHash::Sha256);
}

// Compares the whole digests whatever they hold, so that the time taken tells nothing of where they differ.
bool sameDigest(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<char>(a[i] ^ b[i]);
    return difference == 0;
}

std::list<ThreadConnection>::iterator find(const QString& key)
{
    std::list<ThreadConnection>& connections = threadConnections();
    return std::find_if(connections.begin(), connections.end(),
                        [&](const ThreadConnection& connection) { return connection.key == key; });
}

bool stillGood(const ThreadConnection& connection, const QByteArray& digest)
{
    return connection.open && connection.generation == connectionGeneration &&
           Clock::now() - connection.opened < connectionLifetime && sameDigest(connection.passwordDigest, digest);
}

} // namespace

ScopedConnection& readOnlyConnection(const DatabaseAddress& address, const Credentials& credentials)
{
    std::list<ThreadConnection>& connections = threadConnections();
    const QString key = keyOf(address, credentials);
    const QByteArray digest = digestOf(credentials.password);
    if (const auto kept = find(key); kept != connections.end()) {
        if (stillGood(*kept, digest)) {
            connections.splice(connections.begin(), connections, kept);
            return *connections.front().open;
        }
        connections.erase(kept);
    }
    ThreadConnection connection{key, digest, {}, connectionGeneration, Clock::now()};
    connection.open = std::make_unique<ScopedConnection>(address, Access::ReadOnly, credentials);
    connections.push_front(std::move(connection));
    while (connections.size() > rolesPerThread)
        connections.pop_back();
    return *connections.front().open;
}

bool readOnlyConnectionAnswers(const DatabaseAddress& address, const Credentials& credentials)
{
    const auto connection = find(keyOf(address, credentials));
    return connection != threadConnections().end() && connection->open && answers(connection->open->database());
}

void reopenReadOnlyConnections() { ++connectionGeneration; }

} // namespace database
