#pragma once

#include "hostfw_core_export.h"

#include <QObject>
#include <QSqlDatabase>

using namespace Qt::StringLiterals;

// The host's connection to its local database: one Qt Sql connection, opened on first use.
class HOSTFW_CORE_EXPORT TDBConnection : public QObject {
    Q_OBJECT
public:
    // databaseName: the database's address (an SQLite file, or postgresql://USER@HOST[:PORT]/DB); empty:
    // HostSettings::current().databasePath at the time the connection opens.
    TDBConnection(QObject* parent, const QString& name, const QString& databaseName = {});
    ~TDBConnection() override;

    // The open database; opens it first when it is closed. EDatabaseError with the driver's text when it cannot.
    QSqlDatabase Database();
    // The Qt Sql driver the address names, whether or not the connection is open.
    QString DriverName() const;
    bool Connected() const;
    void SetConnected(bool connected);
    // After a failed statement: closes the connection when it no longer answers (its database server restarted,
    // say), so that the next use opens a new one instead of failing again. True when it was lost.
    bool CloseWhenLost();

private:
    QString address() const;

    QString m_connectionName;
    QString m_databaseName;
};
