#pragma once

#include "hostfw_core_export.h"

#include <QString>

using namespace Qt::StringLiterals;

// What the host application was started with (host-app's command line). One instance per process.
struct HOSTFW_CORE_EXPORT HostSettings {
    QString serverHost = u"127.0.0.1"_s;
    int serverPort = 8211;
    bool serverTls = false; // HTTPS: --server https://HOST:PORT
    QString serverCaFile;   // --ca: the authority the server's certificate must come from; empty: the system's
    // Who the host signed in to a PostgreSQL database as: given in the sign-in dialog, or, when libpq found the
    // password itself (PGPASSWORD, ~/.pgpass), read from the open connection. The server's calls carry them too.
    // In memory only.
    QString databaseUser;
    QString databasePassword;
    QString databasePath = u"var/fiscal.db"_s;
    QString reportsDir; // folder holding <report code>/*.json
    QString shortDateFormat = u"dd/MM/yyyy"_s;

    static HostSettings& current();
};

// The application server's host name and port, as the host was configured.
HOSTFW_CORE_EXPORT QString WebURL();
HOSTFW_CORE_EXPORT int WebPort();
