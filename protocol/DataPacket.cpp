#include "DataPacket.h"

#include <QDate>
#include <QDateTime>
#include <QJsonArray>

namespace protocol {

namespace {

struct TypeName {
    FieldType type;
    const char* name;
};

constexpr TypeName typeNames[] = {
    {FieldType::String, "string"}, {FieldType::Date, "date"},       {FieldType::DateTime, "datetime"},
    {FieldType::Float, "float"},   {FieldType::Integer, "integer"},
};

QJsonValue cellToJson(const QVariant& value, FieldType type)
{
    if (value.isNull())
        return QJsonValue::Null;
    switch (type) {
    case FieldType::String:
        return value.toString();
    case FieldType::Date:
        return value.toDate().toString(Qt::ISODate);
    case FieldType::DateTime:
        return value.toDateTime().toString(Qt::ISODate);
    case FieldType::Float:
        return value.toDouble();
    case FieldType::Integer:
        return value.toLongLong();
    }
    return QJsonValue::Null;
}

QVariant cellFromJson(const QJsonValue& cell, const FieldDef& field)
{
    if (cell.isNull())
        return {};
    auto wrong = [&] {
        return PacketFormatError(QStringLiteral("O campo %1 do pacote traz um valor que não é do tipo %2.")
                                     .arg(field.name, fieldTypeName(field.type)));
    };
    switch (field.type) {
    case FieldType::String:
        if (!cell.isString())
            throw wrong();
        return cell.toString();
    case FieldType::Date: {
        const QDate date = QDate::fromString(cell.toString(), Qt::ISODate);
        if (!cell.isString() || !date.isValid())
            throw wrong();
        return date;
    }
    case FieldType::DateTime: {
        QDateTime dateTime = QDateTime::fromString(cell.toString(), Qt::ISODate);
        if (!dateTime.isValid()) {
            const QDate date = QDate::fromString(cell.toString(), Qt::ISODate);
            if (date.isValid())
                dateTime = date.startOfDay();
        }
        if (!cell.isString() || !dateTime.isValid())
            throw wrong();
        return dateTime;
    }
    case FieldType::Float:
        if (!cell.isDouble())
            throw wrong();
        return cell.toDouble();
    case FieldType::Integer:
        if (!cell.isDouble() || cell.toDouble() != static_cast<double>(cell.toInteger()))
            throw wrong();
        return static_cast<qlonglong>(cell.toInteger());
    }
    return {};
}

} // namespace

QString fieldTypeName(FieldType type)
{
    for (const auto& entry : typeNames)
        if (entry.type == type)
            return QString::fromLatin1(entry.name);
    return {};
}

FieldType fieldTypeFromName(const QString& name)
{
    for (const auto& entry : typeNames)
        if (name == QLatin1String(entry.name))
            return entry.type;
    throw PacketFormatError(QStringLiteral("Tipo de campo desconhecido no pacote: \"%1\".").arg(name));
}

int DataPacket::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name == name)
            return i;
    return -1;
}

QJsonObject DataPacket::toJson() const
{
    QJsonArray jsonFields;
    for (const FieldDef& field : fields) {
        QJsonObject jsonField{{QStringLiteral("name"), field.name},
                              {QStringLiteral("type"), fieldTypeName(field.type)}};
        if (field.type == FieldType::String)
            jsonField.insert(QStringLiteral("size"), field.size);
        jsonFields.append(jsonField);
    }
    QJsonArray jsonRows;
    for (const QVariantList& row : rows) {
        QJsonArray jsonRow;
        for (int i = 0; i < fields.size(); ++i)
            jsonRow.append(cellToJson(i < row.size() ? row[i] : QVariant(), fields[i].type));
        jsonRows.append(jsonRow);
    }
    return {{QStringLiteral("fields"), jsonFields}, {QStringLiteral("rows"), jsonRows}};
}

DataPacket DataPacket::fromJson(const QJsonObject& json)
{
    const QJsonValue jsonFields = json.value(QStringLiteral("fields"));
    const QJsonValue jsonRows = json.value(QStringLiteral("rows"));
    if (!jsonFields.isArray() || !jsonRows.isArray())
        throw PacketFormatError(QStringLiteral("O pacote de dados não traz as listas \"fields\" e \"rows\"."));

    DataPacket packet;
    for (const QJsonValue& value : jsonFields.toArray()) {
        const QJsonObject jsonField = value.toObject();
        const QString name = jsonField.value(QStringLiteral("name")).toString();
        if (name.isEmpty())
            throw PacketFormatError(QStringLiteral("O pacote de dados traz um campo sem nome."));
        packet.fields.append({name, fieldTypeFromName(jsonField.value(QStringLiteral("type")).toString()),
                              jsonField.value(QStringLiteral("size")).toInt()});
    }
    for (const QJsonValue& value : jsonRows.toArray()) {
        const QJsonArray jsonRow = value.toArray();
        if (!value.isArray() || jsonRow.size() != packet.fields.size())
            throw PacketFormatError(
                QStringLiteral("Uma linha do pacote de dados não tem %1 valores.").arg(packet.fields.size()));
        QVariantList row;
        row.reserve(jsonRow.size());
        for (int i = 0; i < jsonRow.size(); ++i)
            row.append(cellFromJson(jsonRow[i], packet.fields[i]));
        packet.rows.append(std::move(row));
    }
    return packet;
}

} // namespace protocol
