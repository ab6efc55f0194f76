#pragma once

#include "hostfw_core_export.h"

#include <QObject>

class TDBConnection;
class TDBTransaction;

// The host's general data module: the connections the screens' local queries run on. On this platform the
// ADO-style connection and the database connection are one Qt Sql connection to HostSettings::current().databasePath.
class HOSTFW_CORE_EXPORT TdtmDBGeral : public QObject {
    Q_OBJECT
public:
    explicit TdtmDBGeral(QObject* parent = nullptr);

    TDBConnection* const adcGeral;
    TDBConnection* const dtbGeral; // the same connection as adcGeral
    TDBTransaction* const ibtGeral;
};

// The one data module, created on first use and owned by the application object.
HOSTFW_CORE_EXPORT TdtmDBGeral* dtmDBGeral();
