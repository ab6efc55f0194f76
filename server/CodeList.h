#pragma once

#include <QString>
#include <QStringList>

namespace fiscal {

// The codes of a comma-separated list as a filter applies them: blanks around each code trimmed, empty
// entries and duplicates removed, in code order. "65, 55,,55" gives ["55", "65"]; an empty list means no
// filter.
QStringList normalizedCodeList(const QString& list);

} // namespace fiscal
