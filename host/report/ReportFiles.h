#pragma once

#include "ReportLayout.h"

class QIODevice;
class ReportProgress;

// A type of file a report is saved as: its suffix (lower case), its filter in the save dialog, and its writer, which
// fills the device (the progress counts its work; a cancel ends it with EAbort). Only a type of pages lays the
// report out: a table of rows needs none of that work.
struct ReportFileType {
    QString suffix;
    QString filter;
    bool pages; // laid out on pages and drawn in the system's fonts; otherwise a table of rows, drawn nowhere
    void (*write)(const std::shared_ptr<const ReportData>& data, QIODevice& device, ReportProgress& progress);
};

// Every type a report is saved as, PDF first.
HOSTFW_REPORT_EXPORT const QList<ReportFileType>& reportFileTypes();

// The type of a file by its suffix (case-insensitive); null for a suffix of no type.
HOSTFW_REPORT_EXPORT const ReportFileType* reportFileTypeOf(const QString& fileName);

// The save dialog's filters, one per type, PDF first.
HOSTFW_REPORT_EXPORT QString reportFileFilters();

// The report in the file, by the file's suffix (case-insensitive), written whole or not at all (saveWhole); a
// suffix of no type raises EFileWriteError.
HOSTFW_REPORT_EXPORT void saveReport(const std::shared_ptr<const ReportData>& data, const QString& fileName,
                                     ReportProgress& progress);
