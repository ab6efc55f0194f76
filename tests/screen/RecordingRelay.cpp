#include "RecordingRelay.h"

#include "TestServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <httplib.h>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

QString callOf(const std::string& body)
{
    const QJsonObject request = QJsonDocument::fromJson(QByteArray::fromStdString(body)).object();
    const QJsonDocument arguments(request.value(u"params"_s).toArray());
    return request.value(u"method"_s).toString() + u' ' + QString::fromUtf8(arguments.toJson(QJsonDocument::Compact));
}

} // namespace

RecordingRelay::RecordingRelay(const TestServer& server)
    : m_http(std::make_unique<httplib::Server>()),
      m_upstream(std::make_unique<httplib::Client>(server.host().toStdString(), server.port()))
{
    m_http->set_keep_alive_max_count(1);
    const auto pass = [this](const httplib::Request& request, httplib::Response& response) {
        const std::lock_guard lock(m_mutex);
        if (request.method == "POST")
            m_calls.append(callOf(request.body));
        // The host's sign-in goes through, as a load balancer passes it.
        httplib::Headers headers;
        if (request.has_header("Authorization"))
            headers.emplace("Authorization", request.get_header_value("Authorization"));
        const httplib::Result answer = request.method == "POST"
                                           ? m_upstream->Post(request.path, headers, request.body, "application/json")
                                           : m_upstream->Get(request.path, headers);
        if (!answer) {
            response.status = 502;
            return;
        }
        response.status = answer->status;
        response.set_content(answer->body, answer->get_header_value("Content-Type"));
    };
    m_http->Get(".*", pass);
    m_http->Post(".*", pass);
    m_port = m_http->bind_to_any_port("127.0.0.1");
    if (m_port <= 0)
        throw std::runtime_error("RecordingRelay: no free loopback port");
    m_thread = std::thread([this] { m_http->listen_after_bind(); });
    while (!m_http->is_running())
        std::this_thread::yield();
}

RecordingRelay::~RecordingRelay() { stop(); }

QStringList RecordingRelay::calls() const
{
    const std::lock_guard lock(m_mutex);
    return m_calls;
}

void RecordingRelay::clearCalls()
{
    const std::lock_guard lock(m_mutex);
    m_calls.clear();
}

void RecordingRelay::stop()
{
    if (!m_thread.joinable())
        return;
    m_http->stop();
    m_thread.join();
}
