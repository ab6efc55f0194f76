#pragma once

#include <QString>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

// A certificate authority of its own and a server certificate it signed for 127.0.0.1 and localhost, made with the
// openssl command in a temporary folder when the object is made, gone with it (never kept in the tree). Throws
// std::runtime_error when openssl fails.
class TestCertificates {
public:
    TestCertificates();

    QString authority() const { return m_dir.filePath(u"ca.pem"_s); } // what host-app's --ca takes
    QString certificate() const { return m_dir.filePath(u"server.pem"_s); }
    QString key() const { return m_dir.filePath(u"server.key"_s); }

private:
    QTemporaryDir m_dir;
};
