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

// Runs the query and hands each row to take, its cells as the fields' types hold them; then resets the query.
template <class Take>
void readRows(QSqlQuery& query, const QList<protocol::FieldDef>& fields, Take take)
{
    execOrThrow(query);
    QVariantList row(fields.size());
    while (query.next()) {
        for (int i = 0; i < fields.size(); ++i)
            row[i] = cell(query.value(i), fields[i].type);
        take(row);
    }
    const QSqlError error = query.lastError();
    query.finish();
    if (error.isValid())
        throw database::DatabaseError(u"Falha ao ler do banco de dados fiscal: %1"_s.arg(error.text()));
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
    protocol::DataPacket packet;
    packet.fields = fields;
    readRows(query, fields, [&packet](const QVariantList& row) { packet.rows.append(row); });
    return packet;
}

protocol::WrittenPacket writePacketQuery(QSqlQuery& query, const QList<protocol::FieldDef>& fields)
{
    protocol::PacketWriter writer(fields);
    writeQueryRows(query, fields, writer);
    return writer.finish();
}

void writeQueryRows(QSqlQuery& query, const QList<protocol::FieldDef>& fields, protocol::PacketWriter& writer)
{
    readRows(query, fields, [&writer](const QVariantList& row) { writer.appendRow(row); });
}

} // namespace fiscal
