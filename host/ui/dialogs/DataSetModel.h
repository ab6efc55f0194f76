#pragma once

#include "hostfw_export.h"

#include <QAbstractTableModel>
#include <QPointer>

class TDataSet;
class TField;

// A read-only table over the visible fields of a dataset (headers: display labels), optionally with a check box in
// the first column. The dataset must outlive the model.
class HOSTFW_EXPORT DataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    DataSetModel(TDataSet& dataSet, bool checkable, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const QList<TField*>& visibleFields() const { return m_fields; }
    // The display labels of the visible fields.
    QStringList labels() const;
    // The checked rows, in dataset order.
    QList<int> checkedRows() const;
    // Widths of the visible columns in characters (the fields' display widths).
    QList<int> displayWidths() const;

    static QList<TField*> visibleFieldsOf(const TDataSet& dataSet);

private:
    TDataSet& m_dataSet;
    QList<TField*> m_fields;
    QList<bool> m_checked;
    bool m_checkable;
};
