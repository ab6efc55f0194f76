#pragma once

#include "Invoice.h"

#include <QDate>
#include <QMap>
#include <QVariantList>
#include <optional>

namespace database {
class ScopedConnection;
}
namespace fiscalimport {

class OperationTypes;

enum class StoreOutcome { New, Updated, Unchanged };

// A document written, and what became of it.
struct Stored {
    qint64 id = 0; // NRSEQNOTAFISC
    StoreOutcome outcome = StoreOutcome::Unchanged;
};

// One company's side of an invoice: the document this company keeps of it.
struct InvoiceSide {
    QString company;
    QString registration;
    QChar direction;          // 'E' entry, 'S' exit
    Party participant;        // the other side
    bool mirrorCfops = false; // the items' CFOPs are the issuer's, seen from this side (5.102 is 1.102)
    QDate booked;             // the booking date; null while not booked
};

// What a book says of an invoice it books.
struct Booking {
    QDate booked;
    QDate moved;                  // the date of entry or exit; null: left as it is
    QString registration;         // empty: left as it is
    QMap<int, QString> cfops;     // an entry's CFOP for each item number, as the company booked it
    QString cfop;                 // an entry's CFOP for every item, when the book gives one for the whole invoice
    bool onlyWhenPending = false; // an invoice already booked is left as it is
};

// The invoices of the fiscal database (NOTAFISCAL, ITEMNOTAFISCAL, ITEMNFIMPOSTO) of a company, found by access key,
// or by direction, model, series, number and participant for a document without one. What an invoice's XML says is
// its own; the booking date, and for an entry its date, registration and CFOPs once booked, are the book's: writing
// the one never undoes the other. Throws database::DatabaseError.
class InvoiceStore {
public:
    InvoiceStore(database::ScopedConnection& connection, const OperationTypes& types);

    // Writes the invoice for one company's side: a new document, or the one there updated.
    Stored store(const Invoice& invoice, const InvoiceSide& side);
    // Books the company's document that invoice identifies; nullopt when there is none.
    std::optional<Stored> book(const Invoice& invoice, const InvoiceSide& side, const Booking& booking);
    // Marks cancelled every company's document of the access key; nullopt when there is none.
    std::optional<StoreOutcome> cancel(const QString& key);
    // Marks cancelled the company's document that invoice identifies; nullopt when there is none.
    std::optional<Stored> cancel(const Invoice& invoice, const InvoiceSide& side);

private:
    struct Header;
    static QVariantList valuesOf(const Header& header);
    std::optional<qint64> find(const Invoice& invoice, const InvoiceSide& side);
    Header headerOf(qint64 id);
    QList<InvoiceItem> itemsOf(qint64 id);
    QList<InvoiceItem> itemsFor(const Invoice& invoice, const InvoiceSide& side, const QList<InvoiceItem>* booked);
    qint64 insertHeader(const Header& header);
    void updateHeader(qint64 id, const Header& header);
    void replaceItems(qint64 id, const QList<InvoiceItem>& items, bool deleteFirst);

    database::ScopedConnection& m_connection;
    const OperationTypes& m_types;
};

} // namespace fiscalimport
