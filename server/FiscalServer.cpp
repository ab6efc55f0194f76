#include "FiscalServer.h"

#include "Audit.h"
#include "DatabaseError.h"
#include "JsonRpc.h"
#include "ReadOnlyConnections.h"
#include "RemoteCall.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
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

// The caller of request: its address, and on PostgreSQL the user and password of its Authorization header (HTTP
// Basic); nullopt when the header is there but malformed. SQLite has no users: a header is not even read.
std::optional<FiscalServer::Caller> callerOf(const HttpRequest& request, database::Engine engine)
{
    FiscalServer::Caller caller{QString::fromStdString(request.peer), {}};
    if (engine != database::Engine::PostgreSQL || request.authorization.empty())
        return caller;
    const QByteArray header = QByteArray::fromStdString(request.authorization);
    if (!header.startsWith("Basic "))
        return std::nullopt;
    const auto decoded =
        QByteArray::fromBase64Encoding(header.mid(6).trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    const qsizetype colon = decoded ? decoded.decoded.indexOf(':') : -1;
    if (colon <= 0)
        return std::nullopt;
    caller.credentials = {QString::fromUtf8(decoded.decoded.left(colon)),
                          QString::fromUtf8(decoded.decoded.mid(colon + 1))};
    return caller;
}

// The arguments of a call as the audit trail keeps them: a JSON array of texts, dates as YYYY-MM-DD.
QString parametersText(const QVariantList& arguments)
{
    QJsonArray texts;
    for (const QVariant& argument : arguments)
        texts.append(argument.typeId() == QMetaType::QDate ? argument.toDate().toString(Qt::ISODate)
                                                           : argument.toString());
    return QString::fromUtf8(QJsonDocument(texts).toJson(QJsonDocument::Compact));
}

QString outcome(const RpcResponse& response)
{
    if (response.failed())
        return u"erro %1: %2"_s.arg(response.error->code).arg(response.error->message);
    return u"%1 linhas"_s.arg(response.rowCount());
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
    call(request, reply);
}

void FiscalServer::call(const HttpRequest& request, const HttpReply& reply)
{
    QElapsedTimer timer;
    timer.start();
    QString method;
    std::optional<Caller> caller = callerOf(request, m_database.engine());
    const QString who =
        caller ? u"%1 %2"_s.arg(caller->credentials.user, caller->peer) : QString::fromStdString(request.peer);
    auto answer = [this, reply, timer, who](const QString& method, const Answer& answer,
                                            const QString& parameters = {}) {
        log(u"%1 %2 ms %3%4 | %5 %6"_s.arg(method)
                .arg(timer.elapsed())
                .arg(outcome(answer.response), answer.detail.isEmpty() ? QString() : u" (%1)"_s.arg(answer.detail))
                .arg(who, parameters));
        HttpResponse response = jsonAnswer(answer.status, answer.response);
        response.delay = answer.delay;
        response.asksForCredentials = answer.status == 401;
        reply(std::move(response));
    };
    try {
        const RemoteCall remote = RemoteCall::fromBody(QByteArray::fromStdString(request.body), method);
        if (!caller)
            return answer(method, {RpcResponse::failure(remote.id, RpcErrorCode::ServerFailure,
                                                        u"O usuário e a senha vieram num formato inválido."_s),
                                   {},
                                   401,
                                   m_throttle.refused(request.peer)});
        if (m_database.engine() == database::Engine::PostgreSQL && !caller->credentials.given())
            return answer(method, {RpcResponse::failure(remote.id, RpcErrorCode::ServerFailure,
                                                        u"Entre com o seu usuário e a sua senha do banco de dados "
                                                        "fiscal."_s),
                                   {},
                                   401});
        const auto runAndAnswer = [this, remote, method, caller = *caller, answer] {
            if (m_stopping)
                return answer(
                    method, {RpcResponse::failure(remote.id, RpcErrorCode::ServerFailure, busyMessage(true)), {}, 503});
            answer(method, run(remote, caller), parametersText(remote.arguments));
        };
        const auto busy = [this, remote, method, answer] {
            answer(method,
                   {RpcResponse::failure(remote.id, RpcErrorCode::ServerFailure, busyMessage(m_stopping)), {}, 503});
        };
        WorkerPool& pool = remote.method->listing ? m_listings : m_lookups;
        const auto wait = remote.method->listing ? listingWait : lookupWait;
        if (!pool.tryPost(runAndAnswer, WorkerPool::Clock::now() + wait, busy))
            busy();
    } catch (const RpcFailure& failure) {
        answer(method, {RpcResponse::failure(failure.id(), failure.error().code, failure.error().message)});
    }
}

FiscalServer::Answer FiscalServer::run(const RemoteCall& call, const Caller& caller)
{
    Answer answer;
    try {
        try {
            answer.response = runMethod(call, caller);
        } catch (const database::SignInRefused&) {
            throw;
        } catch (const database::DatabaseError&) {
            if (database::readOnlyConnectionAnswers(m_database, caller.credentials))
                throw;
            // The connection was lost (the database server restarted, say): every thread opens a new one, this
            // call first. The methods only read, so running one again is safe.
            database::reopenReadOnlyConnections();
            answer.response = runMethod(call, caller);
        }
    } catch (const database::SignInRefused& refusal) {
        return {RpcResponse::failure(call.id, RpcErrorCode::ServerFailure,
                                     u"O banco de dados fiscal recusou o usuário ou a senha."_s),
                refusal.message(), 401, m_throttle.refused(caller.peer.toStdString())};
    } catch (const RpcFailure& failure) {
        answer.response = RpcResponse::failure(call.id, failure.error().code, failure.error().message);
    } catch (const database::DatabaseError& error) {
        answer.detail = error.message();
        // A statement the database refuses leaves the connections as they are; a lost connection is opened anew.
        if (!database::readOnlyConnectionAnswers(m_database, caller.credentials)) {
            database::reopenReadOnlyConnections();
            answer.response = RpcResponse::failure(
                call.id, RpcErrorCode::ServerFailure,
                u"O servidor de aplicação perdeu a conexão com o banco de dados fiscal; tente de novo em "
                "instantes (se persistir, avise o administrador)."_s);
            return answer;
        }
        answer.response = RpcResponse::failure(call.id, RpcErrorCode::ServerFailure,
                                               u"O servidor de aplicação não conseguiu ler o banco de dados fiscal; "
                                               "avise o administrador (o motivo está no registro do servidor)."_s);
    } catch (const std::exception& error) {
        answer.detail = QString::fromUtf8(error.what());
        answer.response = RpcResponse::failure(call.id, RpcErrorCode::ServerFailure,
                                               u"Falha interna do servidor de aplicação; avise o administrador "
                                               "(o motivo está no registro do servidor)."_s);
    }
    if (caller.credentials.given())
        m_throttle.passed(caller.peer.toStdString());
    audit(call, caller, answer);
    return answer;
}

RpcResponse FiscalServer::runMethod(const RemoteCall& call, const Caller& caller) const
{
    MethodResult result = call.method->run(RdmConferenciaFiscal(m_database, caller.credentials), call.arguments);
    return RpcResponse::success(call.id, std::move(result.data), std::move(result.out));
}

void FiscalServer::audit(const RemoteCall& call, const Caller& caller, Answer& answer) const
{
    if (m_database.engine() != database::Engine::PostgreSQL)
        return;
    database::AuditRecord record;
    record.origin = caller.peer;
    record.action = call.method->name;
    record.parameters = parametersText(call.arguments);
    if (!answer.response.failed())
        record.rows = static_cast<int>(answer.response.rowCount());
    record.outcome = answer.response.failed() ? answer.response.error->message : u"ok"_s;
    try {
        database::addAuditRecord(database::readOnlyConnection(m_database, caller.credentials).database(), record);
    } catch (const database::DatabaseError& error) {
        answer.detail = error.message();
        answer.response = RpcResponse::failure(call.id, RpcErrorCode::ServerFailure,
                                               u"A chamada não pôde ser registrada na auditoria do banco de dados "
                                               "fiscal; avise o administrador (o motivo está no registro do "
                                               "servidor)."_s);
    }
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
