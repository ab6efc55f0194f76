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

// The program the report's files name as their maker.
inline constexpr QStringView ReportFilesCreator = u"Conferência Fiscal";

// What the screen that ran a report says of its parameters: the lines of the first page's parameter block in the
// analyst's words ("Período: 01/03/2025 a 31/03/2025", "CST: não se aplica a este relatório"), and the subject of the
// files (the company).
struct ReportDescription {
    QStringList parameterLines;
    QString subject;
};

// What a run of a report produced, all that its layout and its files need: nothing here reads the database or the
// screen any more.
struct HOSTFW_REPORT_EXPORT ReportData {
    ReportDefinition definition;
    // Every parameter of the queries, each name once, with the value bound for the first query that declares it.
    QList<ReportParameter> parameters;
    ReportDescription description;
    // The definition's header lines with their values filled in.
    QStringList header;
    ReportTable detail;
    // The run stopped at a row limit: the report has more detail rows than these.
    bool partial = false;
    QDateTime emitted;
};

// The columns of a table made of the rows (CSV, XLSX): first the group fields that no column shows, outermost first,
// each under its group's caption, so that rows of different groups never read alike; then the columns.
HOSTFW_REPORT_EXPORT QList<ReportColumn> tableColumns(const ReportDefinition& definition);

// A parameter's value as the report prints it: dates dd/MM/yyyy, "(vazio)" for the empty text, "(nulo)" for null.
HOSTFW_REPORT_EXPORT QString parameterText(const QVariant& value);
