#pragma once

#include "hostfw_export.h"

#include <QString>
#include <memory>

class ReportLayout;
struct ReportData;

// What the user does with a report that has run, through the dialogs service, with a progress window and the busy
// cursor while it works.

// Prints every page (or the range chosen) on the printer the user chooses; nothing when the choice is cancelled. A
// cancel while printing to a file leaves no file; a printer that cannot drop a job prints the pages drawn so far.
HOSTFW_EXPORT void PrintReport(const ReportLayout& layout);

// The file the user chooses to save the report titled title in (PDF, CSV or XLSX); the empty text when cancelled.
HOSTFW_EXPORT QString AskReportFile(const QString& title);

// Saves the report in the file, by its type.
HOSTFW_EXPORT void SaveReport(const std::shared_ptr<const ReportData>& data, const QString& fileName);
