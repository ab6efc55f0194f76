#pragma once

#include "hostfw_core_export.h"

#include <QObject>

class TDBConnection;

// A transaction on a host connection. Queries read in autocommit mode unless a transaction is started.
class HOSTFW_CORE_EXPORT TDBTransaction : public QObject {
    Q_OBJECT
public:
    TDBTransaction(QObject* parent, const QString& name, TDBConnection* defaultDatabase);

    TDBConnection* DefaultDatabase() const { return m_database; }
    bool InTransaction() const { return m_active; }
    // EDatabaseError when the database refuses; starting one already started is an error too.
    void StartTransaction();
    void Commit();
    void Rollback();

private:
    TDBConnection* m_database;
    bool m_active = false;
};
