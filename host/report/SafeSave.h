#pragma once

#include "hostfw_report_export.h"

#include <QString>

#include <functional>

class QIODevice;

// Writes the file whole or not at all, the same way for every type of file: write fills a temporary file beside it,
// which replaces the file only once write has completed. A write-protected file is refused before anything is
// written; a file replaced keeps its permissions. An exception from write (EAbort for a cancel), or a failure to
// write, leaves the earlier file as it was and no temporary file behind. Failures raise EFileWriteError naming the
// file; an EFileWriteError that write raises gives the reason.
HOSTFW_REPORT_EXPORT void saveWhole(const QString& fileName, const std::function<void(QIODevice&)>& write);

// The message of a file that could not be written.
HOSTFW_REPORT_EXPORT QString fileWriteFailure(const QString& fileName, const QString& reason);
