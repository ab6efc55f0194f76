#pragma once

#include <QString>

#include <cstdio>

// A line of text on a standard stream, in the terminal's encoding.
inline void PrintLine(FILE* stream, const QString& text) { std::fputs(qPrintable(text + u'\n'), stream); }
