#pragma once

#include "ReportData.h"

class QIODevice;
class ReportProgress;

// The detail rows as CSV for a spreadsheet: UTF-8 with a byte-order mark, the column captions first, ";" between
// fields, CRLF after each record, a field holding ";", '"', CR or LF quoted with its quotes doubled (RFC 4180);
// amounts with a decimal comma and no thousands separator, dates dd/MM/yyyy. The progress counts the rows.
HOSTFW_REPORT_EXPORT void writeCsv(const ReportData& data, QIODevice& device, ReportProgress& progress);
