#pragma once

#include "Invoice.h"

#include <QByteArray>

namespace fiscalimport {

// Reads an authorised NF-e or NFC-e of layout 4.00: an nfeProc, the invoice with its protocol of authorisation.
// Refuses, naming the element, any other: without protocol or not authorised, issued in the homologation
// environment, of another layout or model, whose access key has a wrong check digit or parts (UF, year and month,
// CNPJ, model, series, number) that disagree with the invoice, or with a field that is missing or not of its type.
// Throws RefusedFile.
Invoice readNfe(const QByteArray& xml);

} // namespace fiscalimport
