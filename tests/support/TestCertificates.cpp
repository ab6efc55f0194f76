#include "TestCertificates.h"

#include <QProcess>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

void openssl(const QString& dir, const QStringList& arguments)
{
    QProcess process;
    process.setWorkingDirectory(dir);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(u"openssl"_s, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw std::runtime_error("openssl " + arguments.join(u' ').toStdString() + ": " +
                                 process.readAll().toStdString() + process.errorString().toStdString());
}

} // namespace

TestCertificates::TestCertificates()
{
    const QStringList ellipticKey = {u"-newkey"_s, u"ec"_s, u"-pkeyopt"_s, u"ec_paramgen_curve:prime256v1"_s,
                                     u"-nodes"_s};
    openssl(m_dir.path(), QStringList{u"req"_s, u"-x509"_s, u"-days"_s, u"2"_s, u"-subj"_s,
                                      u"/CN=Autoridade de teste"_s, u"-keyout"_s, u"ca.key"_s, u"-out"_s, u"ca.pem"_s} +
                              ellipticKey);
    openssl(m_dir.path(), QStringList{u"req"_s, u"-subj"_s, u"/CN=127.0.0.1"_s, u"-addext"_s,
                                      u"subjectAltName=IP:127.0.0.1,DNS:localhost"_s, u"-keyout"_s, u"server.key"_s,
                                      u"-out"_s, u"server.csr"_s} +
                              ellipticKey);
    openssl(m_dir.path(),
            {u"x509"_s, u"-req"_s, u"-days"_s, u"2"_s, u"-in"_s, u"server.csr"_s, u"-CA"_s, u"ca.pem"_s, u"-CAkey"_s,
             u"ca.key"_s, u"-CAcreateserial"_s, u"-copy_extensions"_s, u"copy"_s, u"-out"_s, u"server.pem"_s});
}
