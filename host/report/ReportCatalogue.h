#pragma once

#include "hostfw_report_export.h"

#include <QString>
#include <QStringList>

struct ReportDefinition;

// The definitions of one report code live in a folder of their own, one *.json file each; file-name order is the
// order in which a screen lists them.

// The definition files of the folder, in file-name order (none when the folder is missing).
HOSTFW_REPORT_EXPORT QStringList DefinitionFiles(const QString& folder);

// Writes definition as a new report of its folder, titled title, in a file named after the title that sorts after
// every other, and returns that file. An empty title, or one that another definition of the folder already has,
// raises EReportDefinitionError and writes nothing.
HOSTFW_REPORT_EXPORT QString AddDefinition(ReportDefinition definition, const QString& title);
