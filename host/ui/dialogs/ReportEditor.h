#pragma once

#include "ReportDefinition.h"

#include <QDialog>
#include <QTimer>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTableWidget;
class ReportEditing;
class ReportPageView;

// The editor of a report definition, for a person who does not read JSON. Tabs: the orientation, header lines,
// detail and totals (the code and the title, by which screens know their reports, are shown, not edited); the
// columns as a table (caption, field, width, alignment, format, shown) ordered by dragging a row's number or with
// Subir/Descer; the groups with their subtotals; the queries with one SQL text per dialect. Beside them, in a pane
// that can be widened and zoomed, the first page run on the screen's current parameters, drawn again once the
// changes have paused for 0.6 s, or what keeps it from running.
// Keys: Tab goes from control to control (out of the tables and the text boxes too); in a table the arrows go from
// cell to cell, and a cell with choices opens its list with F2 or a double click. Every control has an accessible
// name.
// "Salvar" and "Salvar como novo" hand the definition to editing and close once it is saved; a failure is shown and
// the editing goes on. "Cancelar", Esc and the window's close ask before discarding changes.
class ReportEditor : public QDialog {
    Q_OBJECT
public:
    ReportEditor(const ReportDefinition& definition, ReportEditing& editing, QWidget* parent);

    // The definition as the editor holds it now.
    ReportDefinition definition() const;

public Q_SLOTS:
    void reject() override;

private:
    QWidget* generalPage();
    QWidget* queriesPage();
    QWidget* tablePage(QTableWidget* table, const std::function<void(int)>& fillRow);
    QWidget* previewPane();
    void fillColumn(int row, const ReportColumn& column);
    void fillGroup(int row, const ReportGroup& group);
    void showQuery(int row);
    // The query the editor shows, as edited.
    ReportQueryDefinition shownQuery() const;
    void keepQuery(int row);
    void schedulePreview();
    void drawPreview();
    void saveWith(const std::function<void(const ReportDefinition&)>& save);

    ReportDefinition m_definition;
    ReportEditing& m_editing;
    QList<ReportQueryDefinition> m_queries;
    int m_shownQuery = -1;
    QComboBox* m_orientation;
    QLineEdit* m_detail;
    QPlainTextEdit* m_description;
    QPlainTextEdit* m_header;
    QLineEdit* m_totals;
    QListWidget* m_queryList;
    QLineEdit* m_queryName;
    QCheckBox* m_queryRefusal;
    QPlainTextEdit* m_sql;
    QTableWidget* m_columns;
    QTableWidget* m_groups;
    ReportPageView* m_preview;
    QLabel* m_problem;
    QTimer m_previewTimer;
    QByteArray m_opened; // the definition as the editor first showed it, to tell whether it was changed
};
