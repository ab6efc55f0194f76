#pragma once

#include "ReportDefinition.h"

#include <QDateTime>
#include <QList>
#include <QVariant>

// Rows of named fields: each row holds one value per field, in field order.
struct HOSTFW_REPORT_EXPORT ReportTable {
    QStringList fields;
    QList<QVariantList> rows;

    // Case-insensitive; -1 when absent.
    int fieldIndex(const QString& name) const;
};

// A parameter as it was bound: a text, a date, or null.
struct ReportParameter {
    QString name;
    QVariant value;
};

// What a run of a report produced, all that its layout and its files need: nothing here reads the database or the
// screen any more.
struct HOSTFW_REPORT_EXPORT ReportData {
    ReportDefinition definition;
    // Every parameter of the queries, each name once, with the value bound for the first query that declares it.
    QList<ReportParameter> parameters;
    // The definition's header lines with their values filled in.
    QStringList header;
    ReportTable detail;
    // The run stopped at a row limit: the report has more detail rows than these.
    bool partial = false;
    QDateTime emitted;
};

// A parameter's value as the report prints it: dates dd/MM/yyyy, "(vazio)" for the empty text, "(nulo)" for null.
HOSTFW_REPORT_EXPORT QString parameterText(const QVariant& value);
