#pragma once

#include "hostfw_report_export.h"

#include <QFont>
#include <QStringList>

// The look of a text on a page; each style has its own font.
enum class TextStyle {
    Title,
    Code,
    Header,
    ParameterCaption,
    Parameter,      // a parameter in the analyst's words
    BoundParameter, // a parameter as it was bound, for the audit trail
    Caption,
    Cell,
    Heading,
    Sum,
    Notice,
    Footer,
};
constexpr int TextStyleCount = static_cast<int>(TextStyle::Footer) + 1;

// The font of a style: the same for the layout's measures and for every device the page is drawn on.
HOSTFW_REPORT_EXPORT QFont fontOf(TextStyle style);

// The width of the text in millimetres, with room to spare for the rounding of a device of low resolution.
HOSTFW_REPORT_EXPORT double textWidth(TextStyle style, const QString& text);

// The text in lines no wider than width (millimetres), broken between words; a word wider than a line is broken
// where it must. Never empty: an empty text is one empty line.
HOSTFW_REPORT_EXPORT QStringList wrappedText(TextStyle style, const QString& text, double width);
