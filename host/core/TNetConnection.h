#pragma once

#include "hostfw_core_export.h"

#include "CheckResultServ.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

using namespace Qt::StringLiterals;

namespace httplib {
class ClientImpl;
}

// Connection to a remote data module of the application server: JSON-RPC 2.0 over HTTP,
// POST http://Host:Port/ServerName, or over HTTPS when the host was started so (HostSettings::serverTls): TLS 1.2 at
// least, the server's certificate checked against HostSettings::serverCaFile or the system's authorities, and
// against Host; a certificate that does not pass fails the connection. The calls carry the user and password the
// host signed in to the database with (HostSettings::databaseUser), for the server to run them as that user, but
// only over TLS or to this machine: never in clear over a network. Lives on the user-interface thread; every call blocks until the server
// answers or the timeout passes.
//
//   netConFisc->BeforeConnect = [this](TNetConnection& c) { netConFiscBeforeConnect(c); };
//   auto result = netConFisc->AppServer().call(u"GetImpoGrup"_s, {code, flag});
//   cdsImpo->SetData(CheckResultServ(result, true, 0));
//
// Failures to reach the server raise EConnectionError naming host and port (refused, timed out, dropped, an
// answer that is not JSON-RPC, a server that does not know ServerName); a failure that the server reports
// comes back inside the RemoteResult, for CheckResultServ to raise. A call the server turns away as busy (HTTP 503)
// is made again after a pause, within Timeout, telling the work in hand that it waits (ServerWait.h); when the
// server stays busy past Timeout, the call raises EConnectionError saying so.
class HOSTFW_CORE_EXPORT TNetConnection : public QObject {
    Q_OBJECT
public:
    using TBeforeConnectEvent = std::function<void(TNetConnection& Sender)>;

    // The late-bound interface of the remote data module: methods are called by name.
    class HOSTFW_CORE_EXPORT TAppServer {
    public:
        // Calls the remote method with the given arguments, connecting first when the connection is closed
        // (which fires BeforeConnect). Arguments travel in order: QString as a text, QDate (and the date of a
        // QDateTime) as "YYYY-MM-DD", a null QDate or null QVariant as null, numbers as numbers.
        // byReference lists the method's by-reference (in-out) text arguments; they travel after the others,
        // and when the call succeeds each receives the value the server gives back in "out":
        //   call(u"getDadosGia"_s, {empresa, inscricao, inicio, fim, imposto, direcao, cfop},
        //        {&stListaMod, &stListaTp});
        // When the server reports a failure they are left as they were.
        RemoteResult call(const QString& method, const QVariantList& arguments,
                          const QList<QString*>& byReference = {}) const;

    private:
        friend class TNetConnection;
        explicit TAppServer(TNetConnection& connection) : m_connection(connection) {}
        TNetConnection& m_connection;
    };

    explicit TNetConnection(QObject* parent = nullptr, const QString& name = {});
    ~TNetConnection() override;

    QString ServerName; // the remote data module, e.g. "rlx58200.rdmConferenciaFiscal"
    // True: a failed connect raises EConnectionError. False: SetConnected(true) leaves the connection closed
    // and raises nothing (a remote call still raises, since it cannot answer without the server).
    bool ThrowException = true;
    TBeforeConnectEvent BeforeConnect; // fired before every connect; sets Host and Port
    QString Host = u"127.0.0.1"_s;
    int Port = 8211;
    std::chrono::milliseconds Timeout{30000}; // for a whole call, its attempts at a busy server included; connecting:
                                              // 5 s at most

    bool Connected() const;
    // true: fires BeforeConnect, then checks that the server answers and knows ServerName (a server that answers
    // it is busy counts as there: the calls wait for it). Host and Port are read at that moment; changing them
    // later takes effect at the next connect. false: closes the connection.
    void SetConnected(bool connected);

    TAppServer AppServer() { return TAppServer(*this); }

private:
    RemoteResult call(const QString& method, const QVariantList& arguments, const QList<QString*>& byReference);
    // The server's answer to request, checked: JSON-RPC, this call's, with a text for each by-reference
    // argument.
    RemoteResult readAnswer(const protocol::RpcRequest& request, int status, const std::string& body,
                            qsizetype byReferenceCount) const;
    void open();
    QString address() const;

    std::unique_ptr<httplib::ClientImpl> m_client; // set while connected
    qint64 m_lastId = 0;
};
