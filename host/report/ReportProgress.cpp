#include "ReportProgress.h"

#include "Exceptions.h"

void Advance(ReportProgress& progress, const QString& stage, qint64 done, qint64 total)
{
    if (!progress.step(stage, done, total))
        throw EAbort();
}
