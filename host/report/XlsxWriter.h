#pragma once

#include "ReportData.h"

class ReportProgress;

// The detail rows as an XLSX workbook of one sheet: the column captions in a bold, frozen first row with an
// autofilter; amounts and whole numbers as numbers with a number format, dates as dates shown dd/mm/yyyy, the rest
// as text. Written whole or not at all (a temporary file beside the target, renamed over it when complete); the
// progress counts the rows. A failure raises EFileWriteError.
HOSTFW_REPORT_EXPORT void saveXlsx(const ReportData& data, const QString& fileName, ReportProgress& progress);
