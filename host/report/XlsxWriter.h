#pragma once

#include "ReportData.h"

class QIODevice;
class ReportProgress;

// The detail rows as an XLSX workbook of one sheet: the captions of the table's columns (tableColumns) in a bold,
// frozen first row with an autofilter; amounts and whole numbers as numbers with a number format, dates as dates shown
// dd/mm/yyyy, the rest as text (a text that looks like a formula stays a text). The workbook has the report's title,
// the subject the screen gave (the company), and "Conferência Fiscal" as its author and application. Built in a
// temporary folder that goes with it, then copied to the device; the progress counts the rows. A report too long for
// a sheet raises EFileWriteError with the reason.
HOSTFW_REPORT_EXPORT void writeXlsx(const ReportData& data, QIODevice& device, ReportProgress& progress);
