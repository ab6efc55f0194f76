#pragma once

#include "hostfw_core_export.h"

#include <QString>

// What the host application was started with (host-app's command line). One instance per process.
struct HOSTFW_CORE_EXPORT HostSettings {
    QString serverHost = QStringLiteral("127.0.0.1");
    int serverPort = 8211;
    QString databasePath = QStringLiteral("var/fiscal.db");
    QString reportsDir;                                   // folder holding <report code>/*.json
    QString shortDateFormat = QStringLiteral("dd/MM/yyyy");

    static HostSettings& current();
};

// The application server's host name and port, as the host was configured.
HOSTFW_CORE_EXPORT QString WebURL();
HOSTFW_CORE_EXPORT int WebPort();
