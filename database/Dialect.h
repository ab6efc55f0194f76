#pragma once

#include "DatabaseAddress.h"

#include <QString>

// The few SQL texts that differ between the engines. Everything else is written once, in the SQL both engines read.
namespace database::dialect {

// The date column as "dd/MM/yyyy" text.
QString brazilianDate(Engine engine, const QString& column);

// A table of one text column, "value", holding the items of the JSON array of texts bound at its "?".
QString jsonTexts(Engine engine);

} // namespace database::dialect
