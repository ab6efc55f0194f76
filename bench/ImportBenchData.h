#pragma once

// Generated files for the import benchmarks, made once per run in a temporary folder.
#include <QString>

namespace bench {

constexpr int importedInvoices = 100000;
constexpr int bookLines = 1000000;

// A folder of importedInvoices NF-e XMLs of company 01 (CNPJ 12345678000195), three items each.
QString generatedInvoiceFolder();

// An EFD ICMS/IPI of company 01 with lines lines: its participants, then entries of three items (C100, three C170,
// a C190), up to the closing records.
QString generatedBooks(int lines);

} // namespace bench
