#pragma once

#include "DatabaseAddress.h"

#include <QString>

// The few SQL texts of the remote methods that differ between the engines.
namespace fiscal::dialect {

// The date column as "dd/MM/yyyy" text.
QString brazilianDate(database::Engine engine, const QString& column);

// The column compared so that no index serves the comparison. SQLite keeps no statistics of ranges: it takes the
// index on any range, even one that holds most of the table, where reading by index jumps between pages. PostgreSQL
// weighs the range itself: the column as it is.
QString unindexed(database::Engine engine, const QString& column);

// A table of one text column, "value", holding the items of the JSON array of texts bound at its "?".
QString jsonTexts(database::Engine engine);

} // namespace fiscal::dialect
