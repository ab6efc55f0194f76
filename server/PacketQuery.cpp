#include "PacketQuery.h"

#include "DatabaseError.h"
#include "IsoDate.h"

#include <QDate>
#include <QSqlError>
#include <QSqlResult>
#include <sqlite3.h>

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

// Resets the query for its next run; throws when error, met while reading its rows, is one.
void finishReading(QSqlQuery& query, const QSqlError& error)
{
    query.finish();
    if (error.isValid())
        throw database::DatabaseError(u"Falha ao ler do banco de dados fiscal: %1"_s.arg(error.text()));
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
    finishReading(query, query.lastError());
}

// The driver's statement of a query on SQLite; null on other engines.
sqlite3_stmt* sqliteStatement(const QSqlQuery& query)
{
    const QVariant handle = query.result()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0)
        return nullptr;
    return *static_cast<sqlite3_stmt* const*>(handle.constData());
}

QByteArrayView columnText(sqlite3_stmt* statement, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return QByteArrayView(text, sqlite3_column_bytes(statement, column));
}

bool isAscii(QByteArrayView text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A cell stored as the given SQLite type, as Qt's SQLite driver reads it.
QVariant storedValue(sqlite3_stmt* statement, int column, int stored)
{
    switch (stored) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, column);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, column)),
                          sqlite3_column_bytes(statement, column));
    case SQLITE_NULL:
        return {};
    default:
        return QString(static_cast<const QChar*>(sqlite3_column_text16(statement, column)),
                       sqlite3_column_bytes16(statement, column) / qsizetype(sizeof(QChar)));
    }
}

// The cell at column of the statement's row, written as the packet's field takes it. The common cells (ASCII
// texts, dates kept as "YYYY-MM-DD", numbers) go from the statement into the text as they are; any other through
// the value Qt's driver would have read.
void writeStatementCell(sqlite3_stmt* statement, int column, protocol::FieldType type, protocol::PacketWriter& writer)
{
    const int stored = sqlite3_column_type(statement, column); // before any reading converts the cell
    if (stored == SQLITE_NULL)
        return writer.appendNull();
    switch (type) {
    case protocol::FieldType::String:
        if (stored == SQLITE_TEXT)
            if (const QByteArrayView text = columnText(statement, column); isAscii(text))
                return writer.appendAscii(text);
        break;
    case protocol::FieldType::Date:
    case protocol::FieldType::DateTime:
        if (stored == SQLITE_TEXT)
            if (const QByteArrayView text = columnText(statement, column);
                protocol::isoDate(QLatin1StringView(text)).isValid())
                return writer.appendAscii(text);
        break;
    case protocol::FieldType::Float:
        if (stored == SQLITE_FLOAT || stored == SQLITE_INTEGER)
            return writer.appendNumber(sqlite3_column_double(statement, column));
        break;
    case protocol::FieldType::Integer:
        if (stored == SQLITE_INTEGER)
            return writer.appendInteger(sqlite3_column_int64(statement, column));
        break;
    }
    writer.appendCell(cell(storedValue(statement, column, stored), type));
}

// The rows of a query on SQLite, read from its statement: through QSqlQuery every cell became a QVariant, most of
// them a text turned into UTF-16 and back, which cost a fifth of a listing's time. The driver steps the
// statement onto the first row; the others are stepped here.
void writeStatementRows(QSqlQuery& query, sqlite3_stmt* statement, const QList<protocol::FieldDef>& fields,
                        protocol::PacketWriter& writer)
{
    execOrThrow(query);
    int step = query.next() ? SQLITE_ROW : SQLITE_DONE;
    for (; step == SQLITE_ROW; step = sqlite3_step(statement)) {
        writer.beginRow();
        for (int i = 0; i < fields.size(); ++i)
            writeStatementCell(statement, i, fields[i].type, writer);
        writer.endRow();
    }
    finishReading(query, step == SQLITE_DONE
                             ? query.lastError()
                             : QSqlError(u"Unable to fetch row"_s,
                                         QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(statement))),
                                         QSqlError::StatementError, QString::number(step)));
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
    if (sqlite3_stmt* statement = sqliteStatement(query))
        return writeStatementRows(query, statement, fields, writer);
    readRows(query, fields, [&writer](const QVariantList& row) { writer.appendRow(row); });
}

} // namespace fiscal
