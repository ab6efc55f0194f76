#pragma once

class Dialogs;

// Signs the host in to its database before a screen opens. An SQLite file has no users: nothing is asked. On
// PostgreSQL the address's own sources (PGPASSWORD, ~/.pgpass) come first; while the database asks for a password
// they do not give, or refuses the one given, the person is asked (Dialogs::signIn) until the database takes what
// they give or they give up. Returns false when they give up. Raises EDatabaseError when the database cannot be
// reached at all.
bool SignInToDatabase(Dialogs& dialogs);
