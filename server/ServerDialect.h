#pragma once

#include "DatabaseAddress.h"

#include <QString>

// The few SQL texts of the remote methods that differ between the engines.
namespace fiscal::dialect {

// The date column as "dd/MM/yyyy" text.
QString brazilianDate(database::Engine engine, const QString& column);

// A table of one text column, "value", holding the items of the JSON array of texts bound at its "?".
QString jsonTexts(database::Engine engine);

} // namespace fiscal::dialect
