#pragma once

#include "hostfw_export.h"

#include <memory>

class ReportLayout;
struct ReportDefinition;

// What the definition editor does with the report it edits, on behalf of the report dialog that opened it. Each
// call raises the engine's exceptions, or EAbort when the user gave up on the way.
class HOSTFW_EXPORT ReportEditing {
public:
    virtual ~ReportEditing() = default;

    // The definition run on the screen's current parameters.
    virtual std::shared_ptr<const ReportLayout> preview(const ReportDefinition& definition) = 0;
    // Checked against the database, then written over the file it was read from.
    virtual void save(const ReportDefinition& definition) = 0;
    // Asks for a new title, checks, and writes a new report of the same code.
    virtual void saveAsNew(const ReportDefinition& definition) = 0;
};
