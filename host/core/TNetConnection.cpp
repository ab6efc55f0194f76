#include "TNetConnection.h"

#include "Exceptions.h"
#include "HostSettings.h"
#include "ServerWait.h"

#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <algorithm>
#include <httplib.h>

using namespace Qt::StringLiterals;

namespace {

// A server that is there accepts at once: waiting longer for a connection only keeps the screen frozen.
constexpr std::chrono::milliseconds connectTimeout{5000};

QJsonValue argumentToJson(const QVariant& argument)
{
    switch (argument.typeId()) {
    case QMetaType::QDate:
    case QMetaType::QDateTime: {
        const QDate date = argument.toDate();
        return date.isValid() ? QJsonValue(date.toString(Qt::ISODate)) : QJsonValue(QJsonValue::Null);
    }
    case QMetaType::QString:
        return argument.toString();
    default:
        return QJsonValue::fromVariant(argument);
    }
}

// A loopback address or name: 127.0.0.0/8, ::1, localhost.
bool isThisMachine(const QString& host)
{
    return host.compare(u"localhost"_s, Qt::CaseInsensitive) == 0 || host.startsWith(u"127."_s) || host == u"::1";
}

// The HTTP client for host and port, over HTTPS when the host was started so, with the host's sign-in.
std::unique_ptr<httplib::ClientImpl> newClient(const QString& host, int port)
{
    const HostSettings& settings = HostSettings::current();
    if (!settings.serverTls) {
        auto client = std::make_unique<httplib::ClientImpl>(host.toStdString(), port);
        if (!settings.databaseUser.isEmpty() && isThisMachine(host))
            client->set_basic_auth(settings.databaseUser.toStdString(), settings.databasePassword.toStdString());
        return client;
    }
    auto client = std::make_unique<httplib::SSLClient>(host.toStdString(), port);
    if (!settings.databaseUser.isEmpty())
        client->set_basic_auth(settings.databaseUser.toStdString(), settings.databasePassword.toStdString());
    SSL_CTX_set_min_proto_version(client->ssl_context(), TLS1_2_VERSION);
    client->enable_server_certificate_verification(true);
    if (!settings.serverCaFile.isEmpty())
        client->set_ca_cert_path(QFile::encodeName(settings.serverCaFile).toStdString());
    return client;
}

QString transportFailure(httplib::Error error, qint64 elapsedMs, std::chrono::milliseconds timeout)
{
    switch (error) {
    case httplib::Error::SSLConnection:
        return u"a conexão segura (TLS) falhou"_s;
    case httplib::Error::SSLLoadingCerts:
        return u"as autoridades de certificação (--ca) não puderam ser lidas"_s;
    case httplib::Error::SSLServerVerification:
        return u"o certificado do servidor não é de uma autoridade confiável para este endereço (confira --ca)"_s;
    case httplib::Error::Connection:
        return u"a conexão foi recusada"_s;
    case httplib::Error::ConnectionTimeout:
        return u"não aceitou a conexão em %1 ms"_s.arg(std::min(timeout, connectTimeout).count());
    case httplib::Error::Read:
        if (elapsedMs >= timeout.count())
            return u"não respondeu em %1 ms"_s.arg(timeout.count());
        return u"a conexão caiu antes da resposta"_s;
    case httplib::Error::Write:
        return u"a conexão caiu durante o envio"_s;
    default:
        return QString::fromStdString(httplib::to_string(error));
    }
}

} // namespace

TNetConnection::TNetConnection(QObject* parent, const QString& name) : QObject(parent) { setObjectName(name); }

TNetConnection::~TNetConnection() = default;

bool TNetConnection::Connected() const { return m_client != nullptr; }

void TNetConnection::SetConnected(bool connected)
{
    if (!connected) {
        m_client.reset();
        return;
    }
    if (Connected())
        return;
    try {
        open();
    } catch (const EConnectionError&) {
        if (ThrowException)
            throw;
    }
}

QString TNetConnection::address() const { return u"%1:%2"_s.arg(Host).arg(Port); }

void TNetConnection::open()
{
    if (BeforeConnect)
        BeforeConnect(*this);

    std::unique_ptr<httplib::ClientImpl> client = newClient(Host, Port);
    client->set_connection_timeout(std::min(Timeout, connectTimeout));
    client->set_read_timeout(Timeout);
    client->set_write_timeout(Timeout);
    client->set_keep_alive(true);
    client->set_tcp_nodelay(true); // a request goes out in two writes: without this each call waits for a delayed ACK

    QElapsedTimer elapsed;
    elapsed.start();
    const httplib::Result answer = client->Get("/" + ServerName.toStdString());
    if (!answer)
        throw EConnectionError(u"Não foi possível conectar ao servidor de aplicação %1: %2."_s.arg(
            address(), transportFailure(answer.error(), elapsed.elapsed(), Timeout)));
    // A busy server is there: the call that follows waits for it.
    if (answer->status != 200 && answer->status != 503)
        throw EConnectionError(
            u"O servidor de aplicação %1 não oferece o módulo remoto %2 (HTTP %3)."_s.arg(address(), ServerName)
                .arg(answer->status));
    m_client = std::move(client);
}

RemoteResult TNetConnection::TAppServer::call(const QString& method, const QVariantList& arguments,
                                              const QList<QString*>& byReference) const
{
    return m_connection.call(method, arguments, byReference);
}

RemoteResult TNetConnection::call(const QString& method, const QVariantList& arguments,
                                  const QList<QString*>& byReference)
{
    protocol::RpcRequest request;
    request.id = static_cast<double>(++m_lastId);
    request.method = method;
    for (const QVariant& argument : arguments)
        request.params.append(argumentToJson(argument));
    for (const QString* value : byReference)
        request.params.append(*value);

    BusyServerRetry retry(Timeout);
    for (;;) {
        if (!Connected())
            open();
        m_client->set_read_timeout(retry.remaining());
        m_client->set_write_timeout(retry.remaining());
        const httplib::Result answer =
            m_client->Post("/" + ServerName.toStdString(), request.toJson().toStdString(), "application/json");
        if (!answer) {
            m_client.reset(); // the next call connects again, through BeforeConnect
            throw EConnectionError(u"Falha na chamada de %1 ao servidor de aplicação %2: %3."_s.arg(
                method, address(), transportFailure(answer.error(), retry.elapsed().count(), Timeout)));
        }
        if (answer->status == 503) {
            if (!retry.pause())
                throw EConnectionError(u"O servidor de aplicação %1 continua ocupado: a chamada de %2 esperou %3 s "
                                       "sem ser atendida. Tente de novo em instantes."_s.arg(address(), method)
                                           .arg(qRound(retry.elapsed().count() / 1000.0)));
            continue;
        }

        RemoteResult result = readAnswer(request, answer->status, answer->body, byReference.size());
        if (!result.failed())
            for (int i = 0; i < byReference.size(); ++i)
                *byReference[i] = result.out[i].toString();
        return result;
    }
}

RemoteResult TNetConnection::readAnswer(const protocol::RpcRequest& request, int status, const std::string& body,
                                        qsizetype byReferenceCount) const
{
    auto invalidAnswer = [&](const QString& why) {
        return EConnectionError(
            u"O servidor de aplicação %1 deu a %2 uma resposta inválida (HTTP %3): %4"_s.arg(address(), request.method)
                .arg(status)
                .arg(why));
    };
    RemoteResult result;
    try {
        result = protocol::RpcResponse::fromJson(QByteArrayView(body.data(), qsizetype(body.size())));
    } catch (const protocol::RpcFailure& failure) {
        throw invalidAnswer(failure.error().message);
    } catch (const protocol::PacketFormatError& error) {
        throw EDataPacketError(u"O pacote de dados de %1 vindo do servidor %2 é inválido: %3"_s.arg(
            request.method, address(), error.message()));
    }
    // A failure without id answers a request the server could not read (too large, say): it is this call's.
    const bool unreadRequest = result.failed() && result.id.isNull();
    if (result.id != request.id && !unreadRequest)
        throw invalidAnswer(u"a resposta é de outra chamada."_s);
    if (result.failed())
        return result;
    if (result.out.size() != byReferenceCount)
        throw invalidAnswer(
            u"esperava %1 valores de retorno e vieram %2."_s.arg(byReferenceCount).arg(result.out.size()));
    for (const QJsonValue& value : std::as_const(result.out))
        if (!value.isString())
            throw invalidAnswer(u"um valor de retorno não é texto."_s);
    return result;
}
