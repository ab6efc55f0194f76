#pragma once

#include "hostfw_report_export.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <functional>

// How the values of a column are written: as they are; amounts "1.234,56"; dates dd/MM/yyyy; whole numbers; CFOP
// codes "9.999"; entry/exit indicators "E" and "S" as "Entradas" and "Saídas".
enum class ColumnFormat { Text, Amount, Date, Integer, Cfop, Direction };

// A query of a report: its SQL text (lines), which SQLite and PostgreSQL both run. Every ":P_..." token of the text
// becomes a text parameter of the query. A refusal query is no part of the report: it runs like the others, and when
// its first row's first column holds a text, the run stops with that text (what the user should change).
struct ReportQueryDefinition {
    QString name;
    QStringList sql;
    bool refusal = false;
};

struct ReportColumn {
    QString field;
    QString caption;
    double width = 20; // millimetres; the columns are narrowed together when they do not fit the page
    Qt::Alignment alignment = Qt::AlignLeft;
    ColumnFormat format = ColumnFormat::Text;
    bool shown = true; // a hidden column is read and checked but left out of every output
};

// Rows with the same value of field, under a heading "caption: value" and over a subtotal of the subtotals fields.
// The detail must come ordered by the group fields, outermost first.
struct ReportGroup {
    QString field;
    QString caption;
    ColumnFormat format = ColumnFormat::Text;
    QStringList subtotals;
};

// A report definition, as stored in reports/<code>/*.json:
//   {"code": "RLX582", "title": "...", "description": "what it lists, which documents belong",
//    "orientation": "portrait" | "landscape",
//    "header": ["Empresa: {P_EMPRESA} - {qryEmpresa.NMEMPRESA}", ...],
//    "queries": [{"name": "qryEmpresa", "refusal": true (when it is one), "sql": [lines]}, ...],
//    "detail": "<a query's name, or a data source of the screen>",
//    "columns": [{"field", "caption", "width" (mm), "align": "left" | "right" | "center",
//                 "format": "text" | "amount" | "date" | "integer" | "cfop", "hidden": true (when hidden)}, ...],
//    "groups": [{"field", "caption", "format", "subtotals": [fields]}, ...],
//    "totals": [fields]}
// Header lines take "{P_NAME}", the value bound to a parameter, and "{query.FIELD}", a field of that query's first
// row. Subtotals and totals are columns whose format is amount or integer.
// Every failure to read, check or write raises EReportDefinitionError naming the file and the problem.
struct HOSTFW_REPORT_EXPORT ReportDefinition {
    QString fileName; // where the definition was read from
    QString code;
    QString title;
    QString description;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QStringList header;
    QList<ReportQueryDefinition> queries;
    QString detail;
    QList<ReportColumn> columns;
    QList<ReportGroup> groups;
    QStringList totals;

    // Read and checked.
    static ReportDefinition fromFile(const QString& fileName);
    // Checked; fileName only names the definition in messages.
    static ReportDefinition fromJson(const QJsonObject& json, const QString& fileName);
    // The file's text in the house form of reports/: keys in the order above, two-space indent, each header and SQL
    // line on a line of its own, each column and group on one line; so a changed caption is a one-line difference.
    QByteArray toJson() const;
    // Checked, then written whole or not at all, as toJson.
    void save(const QString& fileName) const;

    // The parts agree with each other: at least one query, each named once, with a text that binds only ":P_..."
    // parameters; a detail that is not a refusal query; at least one column; groups, subtotals and totals on columns; header lines naming known
    // queries.
    void check() const;
    // The fields of the detail, known once it has run, hold every column and group field.
    void checkFields(const QStringList& detailFields) const;
    // The fields of the queries, known once they have run, hold every field the header cites.
    void checkHeaderFields(const std::function<QStringList(const QString& query)>& fieldsOf) const;

    // The definition as the outputs show it: without its hidden columns, nor subtotals and totals on them.
    ReportDefinition shownPart() const;

    // The column of that field (case-insensitive); nullptr when none.
    const ReportColumn* column(const QString& field) const;
};
