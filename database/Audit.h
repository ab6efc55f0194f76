#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace database {

// One record of the audit trail (table AUDITORIA of a PostgreSQL database): who ran what, from where, with which
// parameters, how many rows, how it ended.
struct AuditRecord {
    QDateTime when;     // the database's clock; set when read back
    QString role;       // the database role; set when read back
    QString origin;     // the client's address
    QString action;     // the server's method or the report's title
    QString parameters; // as the caller gave them
    std::optional<int> rows;
    QString outcome; // "ok", or the failure
};

// Adds record to the audit trail in the name of the connection's role, in a transaction of its own (on a connection
// that reads only by default too). An SQLite database keeps no trail: nothing is done there. Throws DatabaseError.
void addAuditRecord(QSqlDatabase& database, const AuditRecord& record);

} // namespace database
