#include "TDataSet.h"

#include "Exceptions.h"
#include "HostSettings.h"

using namespace Qt::StringLiterals;

TField::TField(TDataSet* dataSet, const Definition& definition)
    : QObject(dataSet), m_dataSet(dataSet), m_def(definition)
{
    setObjectName(dataSet->objectName() + definition.fieldName);
}

int TField::DisplayWidth() const
{
    if (m_def.displayWidth > 0)
        return m_def.displayWidth;
    return m_def.type == TFieldType::String && m_def.size > 0 ? m_def.size : 10;
}

QVariant TField::Value() const
{
    const int row = m_dataSet->RecNo();
    return row < 0 ? QVariant() : m_dataSet->Value(row, m_dataSet->Fields().indexOf(const_cast<TField*>(this)));
}

QString TField::textOf(const QVariant& value) const
{
    if (value.isNull())
        return {};
    const QString& dateFormat = HostSettings::current().shortDateFormat;
    switch (m_def.type) {
    case TFieldType::Date:
        return value.toDate().toString(dateFormat);
    case TFieldType::DateTime: {
        const QDateTime dateTime = value.toDateTime();
        return dateTime.time() == QTime(0, 0) ? dateTime.date().toString(dateFormat)
                                              : dateTime.toString(dateFormat + u" hh:mm:ss"_s);
    }
    case TFieldType::Float:
        return QString::number(value.toDouble(), 'f', 2);
    case TFieldType::String:
    case TFieldType::Integer:
        break;
    }
    return value.toString();
}

QString TField::AsString() const { return textOf(Value()); }

QDateTime TField::AsDateTime() const
{
    const QVariant value = Value();
    return value.typeId() == QMetaType::QDate ? value.toDate().startOfDay() : value.toDateTime();
}

double TField::AsFloat() const { return Value().toDouble(); }

TDataSet::TDataSet(QObject* parent, const QString& name) : QObject(parent) { setObjectName(name); }

TField* TDataSet::AddField(const TField::Definition& definition)
{
    auto* field = new TField(this, definition);
    m_fields.append(field);
    for (QVariantList& row : m_rows)
        row.append(QVariant());
    return field;
}

int TDataSet::FieldIndex(const QString& fieldName) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i]->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

TField* TDataSet::FindField(const QString& fieldName) const
{
    const int index = FieldIndex(fieldName);
    return index < 0 ? nullptr : m_fields[index];
}

TField* TDataSet::FieldByName(const QString& fieldName) const
{
    if (TField* field = FindField(fieldName))
        return field;
    throw EDatabaseError(u"%1: campo '%2' não encontrado."_s.arg(objectName(), fieldName));
}

void TDataSet::SetRecNo(int row)
{
    m_current = std::clamp(row, 0, std::max(0, RecordCount() - 1));
    m_eof = false;
}

void TDataSet::Next()
{
    if (m_current + 1 < RecordCount())
        ++m_current;
    else
        m_eof = true;
}

QVariant TDataSet::Value(int row, int fieldIndex) const
{
    if (row < 0 || row >= RecordCount() || fieldIndex < 0)
        return {};
    return m_rows[row].value(fieldIndex);
}

void TDataSet::Close()
{
    m_rows.clear();
    m_current = 0;
    m_eof = false;
    m_active = false;
    Q_EMIT dataChanged();
}

void TDataSet::ReplaceRows(QList<QVariantList> rows)
{
    m_rows = std::move(rows);
    m_current = 0;
    m_eof = false;
    m_active = true;
    Q_EMIT dataChanged();
}

TDataSource::TDataSource(QObject* parent, const QString& name, TDataSet* dataSet) : QObject(parent), m_dataSet(dataSet)
{
    setObjectName(name);
}
