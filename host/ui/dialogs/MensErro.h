#pragma once

#include "hostfw_export.h"

#include <QString>

// Shows the text as an error; with abort, then ends the current event with the silent abort (throws EAbort).
// The screen always passes true.
HOSTFW_EXPORT void MensErro(const QString& text, bool abort);
