#include "PacketQuery.h"

#include "DatabaseError.h"
#include "IsoDate.h"

#include <QDate>
#include <QSqlError>

using namespace Qt::StringLiterals;

namespace fiscal {

namespace {

QVariant cell(const QVariant& value, protocol::FieldType type)
{
    if (value.isNull())
        return {};
    switch (type) {
    case protocol::FieldType::String:
        return value.toString();
    case protocol::FieldType::Date:
    case protocol::FieldType::DateTime:
        return protocol::isoDate(value.toString());
    case protocol::FieldType::Float:
        return value.toDouble();
    case protocol::FieldType::Integer:
        return value.toLongLong();
    }
    return {};
}

} // namespace

QVariant sqlDate(const QDate& date)
{
    return date.isValid() ? QVariant(date.toString(Qt::ISODate)) : QVariant(QMetaType::fromType<QString>());
}

void execOrThrow(QSqlQuery& query)
{
    if (!query.exec())
        throw database::DatabaseError(
            u"Falha na consulta ao banco de dados fiscal: %1"_s.arg(query.lastError().text()));
}

protocol::DataPacket runPacketQuery(QSqlQuery& query, const QList<protocol::FieldDef>& fields)
{
    execOrThrow(query);
    protocol::DataPacket packet;
    packet.fields = fields;
    while (query.next()) {
        QVariantList row;
        row.reserve(fields.size());
        for (int i = 0; i < fields.size(); ++i)
            row.append(cell(query.value(i), fields[i].type));
        packet.rows.append(std::move(row));
    }
    const QSqlError error = query.lastError();
    query.finish();
    if (error.isValid())
        throw database::DatabaseError(u"Falha ao ler do banco de dados fiscal: %1"_s.arg(error.text()));
    return packet;
}

} // namespace fiscal
