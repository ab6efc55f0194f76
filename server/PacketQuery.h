#pragma once

#include "DataPacket.h"

#include <QDate>
#include <QSqlQuery>

namespace fiscal {

// Runs a prepared, bound query and returns its rows as a packet with the given fields: the query's columns
// are the fields, in the same order; the query is then reset for its next run. Texts stay texts; dates
// ('YYYY-MM-DD') become dates of date and date-time fields; SQL NULL becomes a null cell. Throws
// database::DatabaseError with the driver's message.
protocol::DataPacket runPacketQuery(QSqlQuery& query, const QList<protocol::FieldDef>& fields);
// The same packet as its JSON text, each row written as it is read, none kept (protocol::PacketWriter): for
// listings of many thousand rows.
protocol::WrittenPacket writePacketQuery(QSqlQuery& query, const QList<protocol::FieldDef>& fields);
// The same rows, written after those writer holds.
void writeQueryRows(QSqlQuery& query, const QList<protocol::FieldDef>& fields, protocol::PacketWriter& writer);

// A date to bind, as the database keeps dates ('YYYY-MM-DD'); SQL NULL for a null date.
QVariant sqlDate(const QDate& date);

// Throws database::DatabaseError when the query fails.
void execOrThrow(QSqlQuery& query);

} // namespace fiscal
