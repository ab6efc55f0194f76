#pragma once

#include "SignIn.h"

#include "ImportSummary.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace fiscalimport {

// How far an import got, and whether to go on.
class ImportProgress {
public:
    virtual ~ImportProgress() = default;
    // Reading file; done of total bytes of all the files. False: the user cancelled.
    virtual bool step(const QString& file, qint64 done, qint64 total) = 0;
};

// Imports NF-e and NFC-e XMLs, their cancellation events, EFD ICMS/IPI and EFD-Contribuições files into the fiscal
// database. Each file is imported whole or not at all (a savepoint each, committed in batches, so that a thousand XMLs
// are not a thousand commits); a refused file is named with where and why, and the others go on. Importing the same
// files again changes nothing.
class Importer {
public:
    // Opens the fiscal database at address (a --db value): a missing SQLite file or a PostgreSQL database without
    // the fiscal tables is created with the schema only, an older schema is brought up to date, and the rows the
    // import relies on (data/reference.sql) are added where missing. declaredCompany: the CNPJ of a company to create
    // from the XMLs that name it, when the database does not have it (--empresa). credentials: who signs in to a
    // PostgreSQL database (the address's own user without them). Throws database::DatabaseError.
    explicit Importer(const QString& address, const QString& declaredCompany = {},
                      const database::Credentials& credentials = {});
    ~Importer();
    Importer(const Importer&) = delete;
    Importer& operator=(const Importer&) = delete;

    // Imports the files paths name (files, folders, .zip archives): the EFDs first, whose opening records create their
    // companies, then the XMLs, then the events. When progress says the user cancelled, the file in progress is dropped
    // and the files finished are kept. Throws database::DatabaseError, the files finished in earlier batches kept.
    ImportSummary run(const QStringList& paths, ImportProgress& progress);

private:
    struct Session;
    std::unique_ptr<Session> m_session;
    ImportSummary m_opening;
};

} // namespace fiscalimport
