#pragma once

#include "ReportData.h"

class QIODevice;
class ReportProgress;

// The detail rows as CSV for a spreadsheet: UTF-8 with a byte-order mark, the captions of the table's columns
// (tableColumns) first, ";" between fields, CRLF after each record (RFC 4180). Texts and codes (the text and CFOP
// formats) are quoted, so that a spreadsheet told to read quoted fields as text keeps "060" as it is; a field holding
// ";", '"', CR or LF is quoted too, its quotes doubled. A text that a spreadsheet would take for a formula (starting
// with "=", "+", "-", "@", a tab or CR) is written after an apostrophe. Amounts have a decimal comma and no thousands
// separator ("-10,50" is a number), dates dd/MM/yyyy. The progress counts the rows.
HOSTFW_REPORT_EXPORT void writeCsv(const ReportData& data, QIODevice& device, ReportProgress& progress);
