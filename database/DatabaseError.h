#pragma once

#include <QString>
#include <stdexcept>

namespace database {

// The fiscal database cannot be opened, created or read; the message says which file and why.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

} // namespace database
