#pragma once

#include <QDialog>

#include <optional>

class DataSetModel;
class QLineEdit;
class QSortFilterProxyModel;
class QTableView;
class TDataSet;

// The pick list: the visible fields of a dataset in a table, a filter box that narrows the rows (any column
// containing the typed text) as the user types, Enter or double-click picks the current row, Esc cancels.
// With checkable, each row has a check box, Space ticks or unticks the current row (from the filter box too), and
// Enter or OK returns the checked rows instead.
class PickListDialog : public QDialog {
    Q_OBJECT
public:
    PickListDialog(const QString& title, TDataSet& dataSet, bool checkable, QWidget* parent);

    // The dataset row of the current row; nullopt when no row is shown.
    std::optional<int> currentRow() const;
    // The checked dataset rows, in dataset order.
    QList<int> checkedRows() const;
    void setCheckedRows(const QList<int>& rows);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void selectFirstRow();
    void pick();
    void toggleCurrentRow();

    DataSetModel* m_model;
    QSortFilterProxyModel* m_proxy;
    QLineEdit* m_filter;
    QTableView* m_view;
    bool m_checkable;
};
