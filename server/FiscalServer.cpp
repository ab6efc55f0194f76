#include "FiscalServer.h"

#include "DatabaseError.h"
#include "JsonRpc.h"
#include "ReadOnlyConnections.h"
#include "RemoteCall.h"

#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <memory>
#include <mutex>

using namespace Qt::StringLiterals;

namespace fiscal {

namespace {

using namespace protocol;

// Calls run on threads of their own, never on the network ones: a database that stalls one call must not stall the
// connections of a network thread. Lookups take milliseconds, listings seconds, each on its own threads so that
// lookups never wait behind listings. A call waits for a thread until its deadline at most, well within a client's
// own timeout (30 s): past it the caller is told the server is busy, and may try again.
constexpr int lookupThreads = 4;
constexpr auto lookupWait = std::chrono::seconds(10);
constexpr int listingThreads = 3;
constexpr auto listingWait = std::chrono::seconds(20);

std::string modulePath() { return "/" + RdmConferenciaFiscal::serverName().toStdString(); }

void logToStderr(const QString& line)
{
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

// A line of the log stays one line whatever a client sends: control characters and backslashes escaped.
QString escapedForLog(const QString& line)
{
    QString escaped;
    escaped.reserve(line.size());
    for (const QChar c : line) {
        if (c == u'\\')
            escaped += u"\\\\"_s;
        else if (c == u'\n')
            escaped += u"\\n"_s;
        else if (c == u'\r')
            escaped += u"\\r"_s;
        else if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            escaped += u"\\u%1"_s.arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            escaped += c;
    }
    return escaped;
}

HttpResponse jsonAnswer(int status, const RpcResponse& response)
{
    return {status, "application/json", response.toJson().toStdString()};
}

HttpResponse textAnswer(const std::string& text) { return {200, "text/plain; charset=utf-8", text}; }

QString busyMessage(bool stopping)
{
    return stopping ? u"O servidor de aplicação está sendo encerrado; tente de novo em instantes."_s
                    : u"O servidor de aplicação está ocupado; tente de novo em instantes."_s;
}

QString outcome(const RpcResponse& response)
{
    if (response.failed())
        return u"erro %1: %2"_s.arg(response.error->code).arg(response.error->message);
    return u"%1 linhas"_s.arg(response.data.rows.size());
}

} // namespace

FiscalServer::FiscalServer(database::DatabaseAddress database, LogSink log, HttpLimits limits)
    : m_limits(limits), m_database(std::move(database)), m_log(log ? std::move(log) : LogSink(logToStderr)),
      m_http(*this, m_limits), m_lookups(lookupThreads, m_limits.maxConnections),
      m_listings(listingThreads, m_limits.maxConnections)
{}

FiscalServer::~FiscalServer() = default;

bool FiscalServer::bind(const QString& host, int port) { return m_http.bind(host.toStdString(), port); }

void FiscalServer::useTls(const QString& certificateFile, const QString& keyFile)
{
    m_http.useTls(QFile::encodeName(certificateFile).toStdString(), QFile::encodeName(keyFile).toStdString());
}

void FiscalServer::serve() { m_http.serve(); }

void FiscalServer::stop()
{
    m_stopping = true;
    m_http.stop();
    m_lookups.finish();
    m_listings.finish();
}

void FiscalServer::log(const QString& line) const { m_log(escapedForLog(line)); }

void FiscalServer::handle(HttpRequest request, HttpReply reply)
{
    const std::string path = request.target.substr(0, request.target.find('?'));
    if (request.method == "GET" && path == "/")
        return reply(
            textAnswer("fiscal-server: servidor de aplicação da Conferência Fiscal (POST " + modulePath() + ")\n"));
    if (request.method == "GET" && path == modulePath())
        return reply(textAnswer(RdmConferenciaFiscal::serverName().toStdString() + "\n"));
    if (request.method != "POST" || path != modulePath())
        return reply(refuse(404, request.method, request.target));
    if (m_stopping)
        return reply(refuse(503, request.method, request.target));
    call(request.body, reply);
}

void FiscalServer::call(const std::string& body, const HttpReply& reply)
{
    QElapsedTimer timer;
    timer.start();
    QString method;
    auto answer = [this, reply, timer](const QString& method, const RpcResponse& response, const QString& detail = {},
                                       int status = 200) {
        log(u"%1 %2 ms %3%4"_s.arg(method)
                .arg(timer.elapsed())
                .arg(outcome(response), detail.isEmpty() ? QString() : u" (%1)"_s.arg(detail)));
        reply(jsonAnswer(status, response));
    };
    try {
        const RemoteCall remote = RemoteCall::fromBody(QByteArray::fromStdString(body), method);
        const auto runAndAnswer = [this, remote, method, answer] {
            if (m_stopping)
                return answer(method, RpcResponse::failure(remote.id, RpcErrorCode::ServerFailure, busyMessage(true)),
                              {}, 503);
            QString detail;
            const RpcResponse response = run(remote, detail);
            answer(method, response, detail);
        };
        const auto busy = [this, remote, method, answer] {
            answer(method, RpcResponse::failure(remote.id, RpcErrorCode::ServerFailure, busyMessage(m_stopping)), {},
                   503);
        };
        WorkerPool& pool = remote.method->listing ? m_listings : m_lookups;
        const auto wait = remote.method->listing ? listingWait : lookupWait;
        if (!pool.tryPost(runAndAnswer, WorkerPool::Clock::now() + wait, busy))
            busy();
    } catch (const RpcFailure& failure) {
        answer(method, RpcResponse::failure(failure.id(), failure.error().code, failure.error().message));
    }
}

RpcResponse FiscalServer::run(const RemoteCall& call, QString& detail) const
{
    try {
        try {
            return runMethod(call);
        } catch (const database::DatabaseError&) {
            if (database::readOnlyConnectionAnswers(m_database))
                throw;
            // The connection was lost (the database server restarted, say): every thread opens a new one, this
            // call first. The methods only read, so running one again is safe.
            database::reopenReadOnlyConnections();
            return runMethod(call);
        }
    } catch (const RpcFailure& failure) {
        return RpcResponse::failure(call.id, failure.error().code, failure.error().message);
    } catch (const database::DatabaseError& error) {
        detail = error.message();
        // A statement the database refuses leaves the connections as they are; a lost connection is opened anew.
        const bool reachable = database::readOnlyConnectionAnswers(m_database);
        if (!reachable)
            database::reopenReadOnlyConnections();
        return RpcResponse::failure(
            call.id, RpcErrorCode::ServerFailure,
            reachable ? u"O servidor de aplicação não conseguiu ler o banco de dados fiscal; avise o administrador "
                        "(o motivo está no registro do servidor)."_s
                      : u"O servidor de aplicação perdeu a conexão com o banco de dados fiscal; tente de novo em "
                        "instantes (se persistir, avise o administrador)."_s);
    } catch (const std::exception& error) {
        detail = QString::fromUtf8(error.what());
        return RpcResponse::failure(call.id, RpcErrorCode::ServerFailure,
                                    u"Falha interna do servidor de aplicação; avise o administrador "
                                    "(o motivo está no registro do servidor)."_s);
    }
}

RpcResponse FiscalServer::runMethod(const RemoteCall& call) const
{
    MethodResult result = call.method->run(RdmConferenciaFiscal(m_database), call.arguments);
    return RpcResponse::success(call.id, std::move(result.data), std::move(result.out));
}

HttpResponse FiscalServer::refuse(int status, const std::string& method, const std::string& target)
{
    const QString path = QString::fromStdString(target).left(200);
    log(u"%1 %2 HTTP %3"_s.arg(QString::fromStdString(method).left(20), path).arg(status));
    auto failure = [status](int code, const QString& message) {
        return jsonAnswer(status, RpcResponse::failure(QJsonValue::Null, code, message));
    };
    switch (status) {
    case 404:
        return failure(RpcErrorCode::MethodNotFound,
                       u"Módulo remoto desconhecido: %1 %2."_s.arg(QString::fromStdString(method), path));
    case 408:
        return failure(RpcErrorCode::InvalidRequest, u"A requisição não chegou inteira a tempo."_s);
    case 411:
        return failure(RpcErrorCode::InvalidRequest, u"A requisição não diz o tamanho do corpo (Content-Length)."_s);
    case 413:
        return failure(RpcErrorCode::InvalidRequest, u"A requisição passa de %1 bytes."_s.arg(m_limits.maxBodyBytes));
    case 415:
        return failure(RpcErrorCode::InvalidRequest,
                       u"O corpo da requisição deve vir sem compressão (Content-Encoding)."_s);
    case 501:
        return failure(RpcErrorCode::InvalidRequest,
                       u"O servidor não lê esta codificação de transferência (Transfer-Encoding); envie o corpo com "
                       "Content-Length, ou em chunked."_s);
    case 431:
        return failure(RpcErrorCode::InvalidRequest,
                       u"Os cabeçalhos da requisição passam de %1 bytes."_s.arg(m_limits.maxHeaderBytes));
    case 503:
        return failure(RpcErrorCode::ServerFailure, busyMessage(m_stopping));
    default:
        return failure(RpcErrorCode::InvalidRequest, u"Requisição HTTP inválida (HTTP %1)."_s.arg(status));
    }
}

} // namespace fiscal
