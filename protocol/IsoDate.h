#pragma once

#include "protocol_export.h"

#include <QDate>
#include <QLatin1StringView>
#include <QStringView>

namespace protocol {

// The date of an ISO 8601 calendar-date text, exactly "YYYY-MM-DD"; a null QDate for any other text or an
// impossible date ("2025-02-30"). Dates travel and are stored in this form, so it is read often: no regex, no
// locale.
PROTOCOL_EXPORT QDate isoDate(QStringView text);
// The same, for a text of single bytes (as a database hands it over).
PROTOCOL_EXPORT QDate isoDate(QLatin1StringView text);

} // namespace protocol
