#include "DataSetModel.h"

#include "TDataSet.h"

DataSetModel::DataSetModel(TDataSet& dataSet, bool checkable, QObject* parent)
    : QAbstractTableModel(parent), m_dataSet(dataSet), m_fields(visibleFieldsOf(dataSet)),
      m_checked(dataSet.RecordCount(), false), m_checkable(checkable)
{}

QList<TField*> DataSetModel::visibleFieldsOf(const TDataSet& dataSet)
{
    QList<TField*> fields;
    for (TField* field : dataSet.Fields())
        if (field->Visible())
            fields.append(field);
    return fields;
}

int DataSetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_dataSet.RecordCount(); }

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_fields.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole) {
        const TField* field = m_fields.at(index.column());
        return field->textOf(m_dataSet.Value(index.row(), m_dataSet.Fields().indexOf(field)));
    }
    if (role == Qt::CheckStateRole && m_checkable && index.column() == 0)
        return m_checked.at(index.row()) ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole || !m_checkable || index.column() != 0)
        return false;
    m_checked[index.row()] = value.value<Qt::CheckState>() == Qt::Checked;
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_checkable && index.column() == 0)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_fields.at(section)->DisplayLabel();
    return QAbstractTableModel::headerData(section, orientation, role);
}

QStringList DataSetModel::labels() const
{
    QStringList labels;
    for (const TField* field : m_fields)
        labels.append(field->DisplayLabel());
    return labels;
}

QList<int> DataSetModel::checkedRows() const
{
    QList<int> rows;
    for (int row = 0; row < m_checked.size(); ++row)
        if (m_checked[row])
            rows.append(row);
    return rows;
}

QList<int> DataSetModel::displayWidths() const
{
    QList<int> widths;
    for (const TField* field : m_fields)
        widths.append(field->DisplayWidth());
    return widths;
}
