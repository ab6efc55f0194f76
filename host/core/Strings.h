#pragma once

#include "hostfw_core_export.h"

#include <QDate>
#include <QString>
#include <QStringList>

// True when the text holds nothing but blanks (a masked edit with no digit typed is empty).
HOSTFW_CORE_EXPORT bool EmptyString(const QString& text);

// The code with its blanks trimmed, left-padded with '0' to the width: "1" -> "01". A code that already has the
// width, or is longer, comes back trimmed but otherwise unchanged; an empty code stays empty.
HOSTFW_CORE_EXPORT QString Ajusta(const QString& code, int width);

// The message pattern with each "%s" replaced, in order, by the next argument ("%%" stands for "%").
// Placeholders without an argument are left as they are.
HOSTFW_CORE_EXPORT QString Format(const QString& pattern, const QStringList& args);

// The date of a text in the host's short date format (HostSettings::current().shortDateFormat), or in the format
// given. A text that is not a date in that format, the empty text included, raises EConvertError naming the text.
HOSTFW_CORE_EXPORT QDate StrToDate(const QString& text);
HOSTFW_CORE_EXPORT QDate StrToDate(const QString& text, const QString& format);
