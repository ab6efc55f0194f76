#include "TClientDataSet.h"

#include "Exceptions.h"

using namespace Qt::StringLiterals;

namespace {

bool compatible(TFieldType fieldType, TFieldType packetType)
{
    using T = TFieldType;
    switch (fieldType) {
    case T::String:
        return packetType == T::String;
    case T::Date:
    case T::DateTime:
        return packetType == T::Date || packetType == T::DateTime;
    case T::Float:
        return packetType == T::Float || packetType == T::Integer;
    case T::Integer:
        return packetType == T::Integer;
    }
    return false;
}

// The packet's value converted to what the field holds (a date packet cell in a date-time field, say).
QVariant convertCell(const QVariant& cell, TFieldType fieldType)
{
    if (cell.isNull())
        return {};
    switch (fieldType) {
    case TFieldType::DateTime:
        return cell.typeId() == QMetaType::QDate ? QVariant(cell.toDate().startOfDay()) : cell;
    case TFieldType::Date:
        return cell.typeId() == QMetaType::QDateTime ? QVariant(cell.toDateTime().date()) : cell;
    case TFieldType::Float:
        return cell.toDouble();
    case TFieldType::String:
    case TFieldType::Integer:
        break;
    }
    return cell;
}

// The type a cell of this field holds once loaded.
QMetaType::Type loadedType(TFieldType fieldType)
{
    switch (fieldType) {
    case TFieldType::String:
        return QMetaType::QString;
    case TFieldType::Date:
        return QMetaType::QDate;
    case TFieldType::DateTime:
        return QMetaType::QDateTime;
    case TFieldType::Float:
        return QMetaType::Double;
    case TFieldType::Integer:
        return QMetaType::LongLong;
    }
    return QMetaType::UnknownType;
}

// True when the packet's rows are already what the dataset would hold: its fields in the dataset's order and
// every cell null or of its field's loaded type. Such rows are taken as they stand, without copying a hundred
// thousand rows cell by cell.
bool fitsAsItStands(const protocol::DataPacket& packet, const QList<int>& columns, const QList<TField*>& fields)
{
    if (packet.fields.size() != columns.size())
        return false;
    QList<int> types;
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i] != i)
            return false;
        types.append(loadedType(fields[i]->DataType()));
    }
    for (const QVariantList& row : packet.rows) {
        if (row.size() != types.size())
            return false;
        for (int i = 0; i < types.size(); ++i)
            if (!row[i].isNull() && row[i].typeId() != types[i])
                return false;
    }
    return true;
}

} // namespace

void TClientDataSet::SetData(const protocol::DataPacket& packet)
{
    if (Fields().isEmpty())
        for (const protocol::FieldDef& packetField : packet.fields) {
            TField::Definition definition;
            definition.fieldName = packetField.name;
            definition.type = packetField.type;
            definition.size = packetField.size;
            AddField(definition);
        }

    QList<int> columns;
    for (const TField* field : Fields()) {
        const int column = packet.fieldIndex(field->FieldName());
        if (column < 0)
            throw EDataPacketError(
                u"O pacote recebido do servidor não traz o campo %1 de %2."_s.arg(field->FieldName(), objectName()));
        const protocol::FieldDef& packetField = packet.fields[column];
        if (!compatible(field->DataType(), packetField.type))
            throw EDataPacketError(u"O campo %1 do pacote recebido do servidor é do tipo %2, mas %3 espera %4."_s.arg(
                field->FieldName(), protocol::fieldTypeName(packetField.type), objectName(),
                protocol::fieldTypeName(field->DataType())));
        columns.append(column);
    }
    if (fitsAsItStands(packet, columns, Fields())) {
        ReplaceRows(packet.rows);
        return;
    }

    QList<QVariantList> rows;
    rows.reserve(packet.rows.size());
    for (const QVariantList& packetRow : packet.rows) {
        QVariantList row;
        row.reserve(columns.size());
        for (int i = 0; i < columns.size(); ++i)
            row.append(convertCell(packetRow.value(columns[i]), Fields()[i]->DataType()));
        rows.append(std::move(row));
    }
    ReplaceRows(std::move(rows));
}
