#pragma once

#include "hostfw_core_export.h"

#include "DataPacket.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QVariant>

class TDataSet;

using TFieldType = protocol::FieldType;

// A persistent field of a dataset: its layout, and the value of the dataset's current row.
// objectName is the component name (dataset name + field name, e.g. "cdsImpoCDIMPOSTONFE").
class HOSTFW_CORE_EXPORT TField : public QObject {
    Q_OBJECT
public:
    struct Definition {
        QString fieldName;
        TFieldType type = TFieldType::String;
        int size = 0;
        QString displayLabel; // empty: the field name
        bool visible = true;
        int displayWidth = 0; // characters; 0: the size (strings) or 10
        bool required = false;
    };

    TField(TDataSet* dataSet, const Definition& definition);

    const QString& FieldName() const { return m_def.fieldName; }
    TFieldType DataType() const { return m_def.type; }
    int Size() const { return m_def.size; }
    QString DisplayLabel() const { return m_def.displayLabel.isEmpty() ? m_def.fieldName : m_def.displayLabel; }
    bool Visible() const { return m_def.visible; }
    int DisplayWidth() const;
    bool Required() const { return m_def.required; }
    TDataSet* DataSet() const { return m_dataSet; }

    // The value on the current row; a null value on an inactive or empty dataset.
    QVariant Value() const;
    // The value as text: "" when null; dates in the host's short date format; floats with two decimals.
    QString AsString() const;
    QDateTime AsDateTime() const;
    double AsFloat() const;
    bool IsNull() const { return Value().isNull(); }

    // The text of any value of this field's type, as AsString shows it.
    QString textOf(const QVariant& value) const;

private:
    TDataSet* m_dataSet;
    Definition m_def;
};

// Rows held in memory with a current row. Fields are persistent: declared once, in order, read by name.
// A dataset never opened, or empty, reads every field as null (the empty text).
class HOSTFW_CORE_EXPORT TDataSet : public QObject {
    Q_OBJECT
public:
    explicit TDataSet(QObject* parent = nullptr, const QString& name = {});

    TField* AddField(const TField::Definition& definition);
    const QList<TField*>& Fields() const { return m_fields; }
    TField* FindField(const QString& fieldName) const;   // nullptr when absent
    TField* FieldByName(const QString& fieldName) const; // throws EDatabaseError when absent
    int FieldIndex(const QString& fieldName) const;      // -1 when absent

    bool Active() const { return m_active; }
    bool IsEmpty() const { return m_rows.isEmpty(); }
    int RecordCount() const { return static_cast<int>(m_rows.size()); }

    // Current row: 0-based; -1 when empty.
    int RecNo() const { return m_rows.isEmpty() ? -1 : m_current; }
    void SetRecNo(int row); // clamped to the rows there are
    void First() { SetRecNo(0); }
    void Next();
    bool Eof() const { return m_rows.isEmpty() || m_eof; }

    QVariant Value(int row, int fieldIndex) const;
    const QVariantList& Row(int row) const { return m_rows.at(row); }
    // Every row, each one value per field in field order (a copy shares the rows until either side changes).
    const QList<QVariantList>& Rows() const { return m_rows; }

    // Inactive and empty.
    void Close();

Q_SIGNALS:
    // The rows were replaced or cleared.
    void dataChanged();

protected:
    // Replaces every row wholesale (each row holds one value per field, in field order); opens the dataset
    // and stands on the first row.
    void ReplaceRows(QList<QVariantList> rows);

private:
    QList<TField*> m_fields;
    QList<QVariantList> m_rows;
    int m_current = 0;
    bool m_eof = false;
    bool m_active = false;
};

// Shows a dataset to the controls that read it (pick lists, reports).
class HOSTFW_CORE_EXPORT TDataSource : public QObject {
    Q_OBJECT
public:
    explicit TDataSource(QObject* parent = nullptr, const QString& name = {}, TDataSet* dataSet = nullptr);
    TDataSet* DataSet() const { return m_dataSet; }
    void SetDataSet(TDataSet* dataSet) { m_dataSet = dataSet; }

private:
    TDataSet* m_dataSet;
};
