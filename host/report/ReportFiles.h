#pragma once

#include "ReportLayout.h"

#include <functional>

class QIODevice;
class ReportProgress;

// The report as a PDF file: the pages as the preview shows them, text selectable.
HOSTFW_REPORT_EXPORT void savePdf(const ReportLayout& layout, const QString& fileName, ReportProgress& progress);

// The report in the file, by the file's type (case-insensitive): ".pdf", ".csv" or ".xlsx"; another type raises
// EFileWriteError.
HOSTFW_REPORT_EXPORT void saveReport(const ReportLayout& layout, const QString& fileName, ReportProgress& progress);

// The save dialog's filters, one per type saveReport writes, PDF first.
HOSTFW_REPORT_EXPORT QString reportFileFilters();

// Writes the file whole or not at all: write fills a temporary file that replaces fileName only when it completes;
// an exception from write, or a failure to write, leaves fileName as it was (EFileWriteError naming the file).
HOSTFW_REPORT_EXPORT void writeWhole(const QString& fileName, const std::function<void(QIODevice&)>& write);

// The message of a file that could not be written.
HOSTFW_REPORT_EXPORT QString fileWriteFailure(const QString& fileName, const QString& reason);
