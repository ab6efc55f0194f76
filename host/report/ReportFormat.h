#pragma once

#include "ReportDefinition.h"

#include <QVariant>

// The text of a value in a report cell: "" for null; amounts "1.234,56", rounded to the cent and never "-0,00";
// whole numbers as they are; dates dd/MM/yyyy, from a date, a date-time or an ISO text ("2025-03-01"); CFOP codes
// "5.102"; entry/exit indicators "Entradas", "Saídas"; anything else as its text.
HOSTFW_REPORT_EXPORT QString cellText(const QVariant& value, ColumnFormat format);

// The same value for a spreadsheet reading a CSV file: amounts without thousands separator ("1234,56").
HOSTFW_REPORT_EXPORT QString csvText(const QVariant& value, ColumnFormat format);

// The csvText of an amount, a whole number or a date, appended to out as UTF-8 without building a text first, for
// writers of many rows; false, with nothing appended, for another format or a value that is not such a number or date.
HOSTFW_REPORT_EXPORT bool appendCsvNumber(QByteArray& out, const QVariant& value, ColumnFormat format);

// The date of a date, a date-time or an ISO text; a null date otherwise.
HOSTFW_REPORT_EXPORT QDate dateOf(const QVariant& value);

// The amount of a value, rounded to the cent; 0 for null.
HOSTFW_REPORT_EXPORT double amountOf(const QVariant& value);
