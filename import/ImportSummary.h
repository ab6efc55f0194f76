#pragma once

#include "BookStore.h"
#include "InvoiceStore.h"
#include "RefusedFile.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace fiscalimport {

struct FileTally;

// What an import did: the database brought up to date, the documents, the books and maps per period, the files
// refused and why.
struct ImportSummary {
    bool databaseCreated = false;
    bool databaseUpgraded = false;
    int filesImported = 0;
    // Each document the import wrote, and what became of it over all the files.
    QHash<qint64, StoreOutcome> documents;
    int cancellations = 0;
    QList<std::pair<QString, DeclarationOutcome>> declarations;
    int entriesAwaitingBooking = 0;
    QStringList ignored; // "FILE: why"
    QList<RefusedInput> refused;
    bool cancelled = false;

    void add(const FileTally& tally);
    int documentsThatAre(StoreOutcome outcome) const;
    // The summary in Portuguese, one fact a line; each refused file named with where and why.
    QString text() const;
};

} // namespace fiscalimport
