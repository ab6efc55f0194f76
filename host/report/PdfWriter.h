#pragma once

#include "ReportLayout.h"

class QIODevice;
class ReportProgress;

// The pages as a PDF/A-1b document, for archiving, text selectable: the report's title as its title, the subject the
// screen gave (the company) as its subject, "Conferência Fiscal" as its creator. The progress counts the pages.
HOSTFW_REPORT_EXPORT void writePdf(const ReportLayout& layout, QIODevice& device, ReportProgress& progress);
