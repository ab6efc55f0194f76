#pragma once

#include "ScopedConnection.h"

#include <chrono>
#include <cstddef>

namespace database {

// A serving thread keeps read-only connections of the last few roles it served, each for a while at most, so that a
// password changed or a role disabled in the database takes effect by then.
constexpr std::size_t rolesPerThread = 4;
constexpr std::chrono::minutes connectionLifetime{10};

// This thread's read-only connection to address as the role of credentials (the address's own user without them),
// opened on first use, kept until the thread ends, until reopenReadOnlyConnections() or as said above. A role's
// connection is taken again only with the password it was opened with: another password opens a new connection,
// which the database checks. The application server's threads read the fiscal database only through it. Throws
// SignInRefused, DatabaseError.
ScopedConnection& readOnlyConnection(const DatabaseAddress& address, const Credentials& credentials = {});

// Whether this thread's read-only connection to address as that role is open and answers (see answers()); false
// when it could not be opened, or has been lost.
bool readOnlyConnectionAnswers(const DatabaseAddress& address, const Credentials& credentials = {});

// Every thread opens new read-only connections on its next call: after a lost connection the others to the same
// server are likely lost too, and the calls that follow must not fail again on them.
void reopenReadOnlyConnections();

} // namespace database
