#pragma once

#include "hostfw_report_export.h"

#include <QString>

// How far a long piece of report work got (rows read, pages laid out, rows written), and whether to go on.
class HOSTFW_REPORT_EXPORT ReportProgress {
public:
    virtual ~ReportProgress() = default;

    // done of total units of the stage (total 0: not known). False: the user cancelled.
    virtual bool step(const QString& stage, qint64 done, qint64 total) = 0;
};

// Progress nobody watches: never cancels.
class HOSTFW_REPORT_EXPORT NoProgress : public ReportProgress {
public:
    bool step(const QString&, qint64, qint64) override { return true; }
};

// Steps the progress and ends the work with EAbort when the user cancelled.
HOSTFW_REPORT_EXPORT void Advance(ReportProgress& progress, const QString& stage, qint64 done, qint64 total);
