#pragma once

#include "ReportDefinition.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTableWidget;

// The editor of a report definition: orientation, header lines, detail and totals on one page (the code and the
// title, by which screens know their reports, are shown, not edited); the queries
// (name and one SQL text per dialect) on another; the columns and the groups as tables. OK checks the definition
// and stays open, with the problem shown, while it is inconsistent.
class ReportEditor : public QDialog {
    Q_OBJECT
public:
    ReportEditor(const ReportDefinition& definition, QWidget* parent);

    // The definition as the editor holds it now.
    ReportDefinition definition() const;

    void accept() override;

private:
    QWidget* generalPage();
    QWidget* queriesPage();
    QWidget* tablePage(QTableWidget* table);
    void fillColumns();
    void fillGroups();
    void showQuery(int row);
    // The query the editor shows, as edited.
    ReportQueryDefinition shownQuery() const;
    void keepQuery(int row);

    ReportDefinition m_definition;
    QList<ReportQueryDefinition> m_queries;
    int m_shownQuery = -1;
    QComboBox* m_orientation;
    QLineEdit* m_detail;
    QPlainTextEdit* m_header;
    QLineEdit* m_totals;
    QListWidget* m_queryList;
    QLineEdit* m_queryName;
    QPlainTextEdit* m_sql[3];
    QTableWidget* m_columns;
    QTableWidget* m_groups;
};
