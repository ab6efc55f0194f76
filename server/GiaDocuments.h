#pragma once

#include "DataPacket.h"

#include <QDate>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>

namespace database {
class ScopedConnection;
}

namespace fiscal {

// What the GIA document listing selects: the booked, not cancelled invoices of a company and registration whose
// entry/exit date lies within start-end (an open bound where a date is null), one row per invoice and CFOP, with the
// values of tax. A declaration lists what the books hold: an invoice not yet booked is pending, not declared.
struct GiaFilter {
    QString company;
    QString registration;
    QDate start;
    QDate end;
    QString tax;
    QStringList directions; // "E", "S" or both
    QString cfop;           // empty: every CFOP
    QStringList models;     // empty: every document model
    QStringList types;      // operation-type keys (entry/exit indicator + code); empty: every type

    // From getDadosGia's nine checked arguments: company, registration, start, end, tax, direction ("0"
    // entries, "1" exits, "2" or "-1" both), CFOP, models and types (comma-separated lists, normalised as
    // normalizedCodeList says). Throws protocol::RpcFailure (InvalidParams) for another direction.
    static GiaFilter fromArguments(const QVariantList& arguments);
};

// The fields of cdsDadosGiaSP, in order.
const QList<protocol::FieldDef>& giaDocumentFields();

// The listing's query on connection, prepared and bound for filter; its columns are giaDocumentFields().
// Rows come by entry/exit indicator, CFOP, entry/exit date and invoice number. Throws database::DatabaseError.
QSqlQuery& giaDocumentsQuery(database::ScopedConnection& connection, const GiaFilter& filter);

} // namespace fiscal
