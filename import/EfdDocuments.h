#pragma once

#include "BookStore.h"
#include "Invoice.h"

#include <QHash>
#include <QMap>
#include <QSet>

namespace fiscalimport {

class EfdReader;
struct ImportContext;
struct InvoiceSide;

// The participants (0150) and items (0200) of an EFD, which its documents name by code.
struct EfdRegisters {
    QHash<QString, Party> participants;
    QHash<QString, QString> itemNames;

    // Reads a 0150 or a 0200 record; false for any other.
    bool read(EfdReader& reader);
};

// The documents of an EFD's block C (C100 with its items, C170, and for EFD ICMS/IPI its totals per CST, CFOP and
// rate, C190), as one company books them under one registration in one period. Each C100 books its invoice, or
// creates it when the invoice's XML never came (from its C170, or from its C190 when it has none); a cancelled C100
// marks its invoice cancelled; a voided or denied number books nothing. The same access key in two C100 (one supplier
// under two participant codes) is one invoice.
class EfdDocuments {
public:
    // The EFD ICMS/IPI gives a booked entry its date, registration and CFOPs, and declares the entry and exit
    // registers; the EFD-Contribuições only books what is not booked yet, and declares the PIS/COFINS book.
    enum class Book { IcmsIpi, PisCofins };

    struct Period {
        QString company;
        QString companyUf;
        QString registration; // of the documents it creates and books
        QDate start;
        QDate end;
    };

    EfdDocuments(ImportContext& context, const EfdRegisters& registers, Book book);

    void setPeriod(const Period& period);
    // Reads a C100 or a record under it; false for any other, which also ends the C100 in progress.
    bool read(EfdReader& reader);
    // Ends the C100 in progress.
    void finish();

    // The lines of the entry and exit registers (C190) per book, CST, CFOP and rate; or of the PIS/COFINS book (the
    // C170 of the documents not cancelled) per tax, CST and rate.
    QList<BookLine> bookLines() const { return m_bookLines.values(); }

private:
    struct Document {
        int line = 0;
        QString direction;
        QString participant;
        QString model;
        QString situation;
        QString series;
        QString number;
        QString key;
        QDate issued;
        QDate moved;
        Cents total = 0;
        QList<InvoiceItem> items;  // C170
        QList<InvoiceItem> totals; // C190, as items
    };

    bool isUnderC100(QByteArrayView record) const;
    void startDocument(EfdReader& reader);
    void addItem(EfdReader& reader);
    void addTotal(EfdReader& reader);
    void addToBook(const BookLine& line);
    void bookDocument(const Document& document);
    Invoice invoiceOf(const Document& document) const;
    InvoiceSide sideOf(const Document& document) const;
    QDate bookingDateOf(const Document& document) const;
    bool cancelled(const Document& document) const;

    ImportContext& m_context;
    const EfdRegisters& m_registers;
    Book m_book;
    Period m_period;
    std::optional<Document> m_document;
    QSet<QString> m_keysBooked;
    QMap<QString, BookLine> m_bookLines;
};

} // namespace fiscalimport
