#pragma once

#include <QByteArray>
#include <QString>

namespace fiscalimport {

struct ImportContext;

// Imports an NF-e or NFC-e XML (readNfe) as a document of each company of the database that takes part in it: an exit
// of its issuer, an entry of its recipient (the other way round for an entry invoice). A recipient's CFOPs are the
// issuer's mirrored until the company books the invoice. A company that is not in the database is created when its
// CNPJ is declaredCompany. Refused when no company takes part. Throws RefusedFile, database::DatabaseError.
void importNfe(const QByteArray& xml, ImportContext& context, const QString& declaredCompany);

// Imports an NF-e event (readNfeEvent): a cancellation marks the invoice cancelled; returns false for an event of
// another type, which carries nothing to import. Refused when the invoice is not in the database. Throws
// RefusedFile, database::DatabaseError.
bool importNfeEvent(const QByteArray& xml, ImportContext& context);

} // namespace fiscalimport
