#include "ReportData.h"

#include "ReportFormat.h"

using namespace Qt::StringLiterals;

int ReportTable::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QList<ReportColumn> tableColumns(const ReportDefinition& definition)
{
    QList<ReportColumn> columns;
    for (const ReportGroup& group : definition.groups)
        if (!definition.column(group.field))
            columns.append({group.field, group.caption, ReportColumn().width, Qt::AlignLeft, group.format});
    return columns + definition.columns;
}

QString parameterText(const QVariant& value)
{
    if (value.isNull())
        return u"(nulo)"_s;
    if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime)
        return cellText(value, ColumnFormat::Date);
    const QString text = value.toString();
    return text.isEmpty() ? u"(vazio)"_s : text;
}
