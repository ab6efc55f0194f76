#pragma once

#include "hostfw_core_export.h"

#include <QByteArray>
#include <QString>
#include <exception>

// The host's exception types. Each kind of failure has its own type and carries a message a user can act on.
// EAbort is the silent abort: it ends the current event without any message and is not an EHostError,
// so code that handles real errors never catches it by accident. They are exported: thrown in one library (the
// framework, the screen module) and caught in another, they must be one type for all of them.

class HOSTFW_CORE_EXPORT EAbort : public std::exception {
public:
    const char* what() const noexcept override { return "EAbort"; }
};

class HOSTFW_CORE_EXPORT EHostError : public std::exception {
public:
    explicit EHostError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// The application server reported a failure (a JSON-RPC error), raised by CheckResultServ.
class HOSTFW_CORE_EXPORT EServerError : public EHostError {
public:
    using EHostError::EHostError;
};

// The server could not be reached: refused, timed out, dropped or answered something that is not JSON-RPC.
class HOSTFW_CORE_EXPORT EConnectionError : public EHostError {
public:
    using EHostError::EHostError;
};

// A data packet that does not fit the persistent fields of the dataset it is loaded into.
class HOSTFW_CORE_EXPORT EDataPacketError : public EHostError {
public:
    using EHostError::EHostError;
};

// A failure of the local database: connection, SQL, unknown field or parameter.
class HOSTFW_CORE_EXPORT EDatabaseError : public EHostError {
public:
    using EHostError::EHostError;
};

// The database refused the sign-in (the user or the password), or asked for a password that no source gave.
class HOSTFW_CORE_EXPORT ESignInRefused : public EDatabaseError {
public:
    ESignInRefused(const QString& message, bool passwordMissing)
        : EDatabaseError(message), m_passwordMissing(passwordMissing)
    {}
    // No source gave a password: nothing was refused yet.
    bool passwordMissing() const { return m_passwordMissing; }

private:
    bool m_passwordMissing;
};

// A value that cannot be converted: a text that is not a date, a preset that is not a list of texts.
class HOSTFW_CORE_EXPORT EConvertError : public EHostError {
public:
    using EHostError::EHostError;
};

// A programming or configuration fault of the host: an unknown message key, a missing report definition.
class HOSTFW_CORE_EXPORT EHostConfigError : public EHostError {
public:
    using EHostError::EHostError;
};

// A report definition that cannot be read or is inconsistent; the message names the file and the problem.
class HOSTFW_CORE_EXPORT EReportDefinitionError : public EHostConfigError {
public:
    using EHostConfigError::EHostConfigError;
};

// A report that could not be run: one of its queries failed, or the data it waits for could not be fetched. The
// message names the report and the query.
class HOSTFW_CORE_EXPORT EReportRunError : public EHostError {
public:
    using EHostError::EHostError;
};

// A report that declines to run on the parameters given (a refusal query of its definition answered); the message
// says what to change. A complaint the user can mend, not a failure.
class HOSTFW_CORE_EXPORT EReportRefused : public EHostError {
public:
    using EHostError::EHostError;
};

// A file that could not be written; the message names the file and the reason. Nothing of it is left behind.
class HOSTFW_CORE_EXPORT EFileWriteError : public EHostError {
public:
    using EHostError::EHostError;
};
