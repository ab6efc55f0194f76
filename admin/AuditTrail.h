#pragma once

#include "Audit.h"

#include <QDate>
#include <QList>

namespace database {
class ScopedConnection;
}

namespace admin {

// The audit trail from the start of since on, oldest first. Throws database::DatabaseError.
QList<database::AuditRecord> auditSince(database::ScopedConnection& connection, const QDate& since);

// One record as a line of tab-separated fields: when (dd/MM/yyyy HH:mm:ss), role, origin, action, parameters, rows,
// outcome.
QString auditLine(const database::AuditRecord& record);

} // namespace admin
