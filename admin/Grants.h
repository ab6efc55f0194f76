#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace database {
class ScopedConnection;
}

// Which companies each PostgreSQL role sees (table ACESSOEMPRESA, read by the row-level security of every
// company-keyed table). Run by the tables' owner. Every function throws database::DatabaseError with a message an
// administrator can act on.
namespace admin {

// The company codes of a command line ("01,02"): two digits each, in order, without repeats. Throws
// database::DatabaseError naming a code that is not one.
QStringList companyCodes(const QString& text);

// Lets role see the companies of codes, and read the fiscal tables and add to the audit trail (never read it).
// The role must exist. A company the database does not hold yet may be granted (an import may bring it).
// Returns the codes of companies the database does not hold.
QStringList grantCompanies(database::ScopedConnection& connection, const QString& role, const QStringList& codes);

// Takes those companies from role; returns how many of them it had.
int revokeCompanies(database::ScopedConnection& connection, const QString& role, const QStringList& codes);

// Every role that sees some company, with its codes in order.
QMap<QString, QStringList> grantedCompanies(database::ScopedConnection& connection);

} // namespace admin
