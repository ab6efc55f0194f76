#pragma once

#include "BookStore.h"
#include "InvoiceStore.h"

#include <QHash>
#include <QList>
#include <QString>
#include <functional>

namespace fiscalimport {

class Companies;

// What one file did, counted once the file is kept.
struct FileTally {
    // Each document the file wrote, and what became of it: new above updated above unchanged.
    QHash<qint64, StoreOutcome> documents;
    int cancellations = 0;
    // Per period an EFD declares: "EFD ICMS/IPI 12/2024, empresa 01, inscrição 123456785119" and what became of it.
    QList<std::pair<QString, DeclarationOutcome>> declarations;
    QStringList companies; // the codes of the companies whose documents the file wrote

    void count(const Stored& document);
    void addCompany(const QString& company);
};

// Records what became of document id in outcomes: of two outcomes of one document, the one that changed it most
// stays (New, then Updated, then Unchanged).
void recordOutcome(QHash<qint64, StoreOutcome>& outcomes, qint64 id, StoreOutcome outcome);

// What the readers of each kind of file write with, and how they report their progress.
struct ImportContext {
    Companies& companies;
    InvoiceStore& invoices;
    BookStore& books;
    FileTally tally;
    // Called now and then with how far into the file the reading is; throws ImportCancelled when the user cancelled.
    std::function<void(qint64 position)> progress;
};

// The user cancelled the import: the file in progress is dropped, the files finished are kept.
struct ImportCancelled {};

} // namespace fiscalimport
