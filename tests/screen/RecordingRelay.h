#pragma once

#include <QStringList>
#include <memory>
#include <mutex>
#include <thread>

class TestServer;

namespace httplib {
class Client;
class Server;
} // namespace httplib

// Stands between the screen and the real application server, on a free loopback port of its own: passes every
// request through unchanged and records each remote call as it arrived, as "Method [arguments as JSON]":
//   GetImpoGrup ["01",""]
// Every answer closes its connection, so the relay stops at once.
class RecordingRelay {
public:
    explicit RecordingRelay(const TestServer& server);
    ~RecordingRelay();
    RecordingRelay(const RecordingRelay&) = delete;
    RecordingRelay& operator=(const RecordingRelay&) = delete;

    int port() const { return m_port; }
    QStringList calls() const;
    void clearCalls();
    // Stops answering; the port then refuses connections.
    void stop();

private:
    std::unique_ptr<httplib::Server> m_http;
    std::unique_ptr<httplib::Client> m_upstream;
    std::thread m_thread;
    int m_port = 0;
    mutable std::mutex m_mutex;
    QStringList m_calls;
};
