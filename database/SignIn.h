#pragma once

#include "DatabaseError.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

namespace database {

// Who signs in to a PostgreSQL database: a role and its password. Without a user, the address's own user signs in,
// with the password libpq finds for it (PGPASSWORD, ~/.pgpass). SQLite has no users and ignores them.
struct Credentials {
    QString user;
    QString password;

    bool given() const { return !user.isEmpty(); }
};

// The database refused the sign-in: the user or the password is wrong, or it asked for a password that none of its
// sources gave. The message never holds the password.
class SignInRefused : public DatabaseError {
public:
    SignInRefused(const QString& message, bool passwordMissing)
        : DatabaseError(message), m_passwordMissing(passwordMissing)
    {}
    // The database asked for a password and none was given (nor found in PGPASSWORD or ~/.pgpass).
    bool passwordMissing() const { return m_passwordMissing; }

private:
    bool m_passwordMissing;
};

// Throws SignInRefused when error, of a connection that did not open, is the database refusing the sign-in.
void throwWhenSignInRefused(const QSqlError& error);

// The user and password an open PostgreSQL connection signed in with, wherever libpq found the password (given,
// PGPASSWORD, ~/.pgpass); no user for other engines.
Credentials signedInAs(const QSqlDatabase& database);

} // namespace database
