#pragma once

#include "ScopedConnection.h"

namespace database {

// This thread's read-only connection to address, opened on first use and kept until the thread ends or
// reopenReadOnlyConnections() is called. The application server's threads read the fiscal database only through it.
ScopedConnection& readOnlyConnection(const DatabaseAddress& address);

// Whether this thread's read-only connection to address is open and answers (see answers()); false when it could
// not be opened, or has been lost.
bool readOnlyConnectionAnswers(const DatabaseAddress& address);

// Every thread opens a new read-only connection on its next call: after a lost connection the others to the same
// server are likely lost too, and the calls that follow must not fail again on them.
void reopenReadOnlyConnections();

} // namespace database
