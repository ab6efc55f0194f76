#include "FiscalServer.h"

#include "DatabaseError.h"
#include "RemoteMethods.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <cstdio>
#include <httplib.h>
#include <mutex>
#include <thread>

namespace fiscal {

namespace {

std::string modulePath() {
    return "/" + RdmConferenciaFiscal::serverName().toStdString();
}

// The router takes regular expressions: the module's path with its dots escaped.
std::string modulePattern() {
    return "/" + QRegularExpression::escape(RdmConferenciaFiscal::serverName()).toStdString();
}

void logToStderr(const QString& line) {
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

// The JSON-RPC error that goes with an HTTP failure the router answers by itself.
protocol::RpcResponse httpFailure(const httplib::Request& request, int status) {
    using namespace protocol;
    if (status == 404)
        return RpcResponse::failure(
            QJsonValue::Null, RpcErrorCode::MethodNotFound,
            QStringLiteral("Módulo remoto desconhecido: %1 %2.")
                .arg(QString::fromStdString(request.method), QString::fromStdString(request.path).left(200)));
    if (status == 413)
        return RpcResponse::failure(
            QJsonValue::Null, RpcErrorCode::InvalidRequest,
            QStringLiteral("A requisição passa de %1 bytes.").arg(FiscalServer::maxBodySize));
    return RpcResponse::failure(QJsonValue::Null, RpcErrorCode::InvalidRequest,
                                QStringLiteral("Requisição HTTP inválida (HTTP %1).").arg(status));
}

QString outcome(const protocol::RpcResponse& response) {
    if (response.failed())
        return QStringLiteral("erro %1: %2").arg(response.error->code).arg(response.error->message);
    return QStringLiteral("%1 linhas").arg(response.data.rows.size());
}

} // namespace

FiscalServer::FiscalServer(const QString& databasePath, LogSink log)
    : m_databasePath(databasePath), m_log(log ? std::move(log) : LogSink(logToStderr)),
      m_http(std::make_unique<httplib::Server>()) {
    // httplib's default SO_REUSEPORT would let a second server share a port that is already served.
    m_http->set_socket_options([](int socket) {
        const int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    });
    m_http->set_payload_max_length(maxBodySize);
    m_http->set_tcp_nodelay(true);
    m_http->set_keep_alive_max_count(100);
    // An idle client connection holds a serving thread, and stop() waits for it, this long at most.
    m_http->set_keep_alive_timeout(2);
    route();
}

FiscalServer::~FiscalServer() = default;

void FiscalServer::route() {
    m_http->Get("/", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("fiscal-server: servidor de aplicação da Conferência Fiscal (POST " +
                                 modulePath() + ")\n",
                             "text/plain; charset=utf-8");
    });
    m_http->Get(modulePattern(), [](const httplib::Request&, httplib::Response& response) {
        response.set_content(RdmConferenciaFiscal::serverName().toStdString() + "\n",
                             "text/plain; charset=utf-8");
    });
    m_http->Post(modulePattern(), [this](const httplib::Request& request, httplib::Response& response) {
        QElapsedTimer timer;
        timer.start();
        QString method;
        const protocol::RpcResponse reply = answer(QByteArray::fromStdString(request.body), method);
        response.set_content(reply.toJson().toStdString(), "application/json");
        m_log(QStringLiteral("%1 %2 ms %3").arg(method).arg(timer.elapsed()).arg(outcome(reply)));
    });
    m_http->set_error_handler([this](const httplib::Request& request, httplib::Response& response) {
        const protocol::RpcResponse reply = httpFailure(request, response.status);
        response.set_content(reply.toJson().toStdString(), "application/json");
        m_log(QStringLiteral("%1 %2 HTTP %3")
                  .arg(QString::fromStdString(request.method), QString::fromStdString(request.path).left(200))
                  .arg(response.status));
    });
}

protocol::RpcResponse FiscalServer::answer(const QByteArray& body, QString& methodName) const {
    using namespace protocol;
    methodName = QStringLiteral("?");
    QJsonValue id;
    try {
        const RpcRequest request = RpcRequest::fromJson(body);
        id = request.id;
        methodName = request.method.left(100);
        const RemoteMethod* method = findRemoteMethod(request.method);
        if (!method)
            throw RpcFailure(RpcErrorCode::MethodNotFound,
                             QStringLiteral("Método desconhecido: %1.").arg(request.method.left(100)));
        const QVariantList arguments = checkArguments(method->name, method->arguments, request.params);
        MethodResult result = method->run(RdmConferenciaFiscal(m_databasePath), arguments);
        return RpcResponse::success(id, std::move(result.data), std::move(result.out));
    } catch (const RpcFailure& failure) {
        return RpcResponse::failure(failure.id().isNull() ? id : failure.id(), failure.error().code,
                                    failure.error().message);
    } catch (const DatabaseError& error) {
        return RpcResponse::failure(id, RpcErrorCode::ServerFailure, error.message());
    } catch (const std::exception& error) {
        return RpcResponse::failure(
            id, RpcErrorCode::ServerFailure,
            QStringLiteral("Falha interna do servidor: %1").arg(QString::fromUtf8(error.what())));
    }
}

bool FiscalServer::bind(const QString& host, int port) {
    if (port == 0) {
        m_port = m_http->bind_to_any_port(host.toStdString());
        return m_port > 0;
    }
    if (!m_http->bind_to_port(host.toStdString(), port))
        return false;
    m_port = port;
    return true;
}

void FiscalServer::serve() {
    m_http->listen_after_bind();
    m_served = true;
}

void FiscalServer::stop() {
    // httplib's stop() does nothing until its loop has started: repeat it until serve() has returned.
    while (!m_served) {
        m_http->stop();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

} // namespace fiscal
