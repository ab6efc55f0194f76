#pragma once

#include "protocol_export.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QVariant>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace protocol {

class JsonReader;

enum class FieldType { String, Date, DateTime, Float, Integer };

// How a date travels inside a text field of a packet (the period texts DTINICIAL and DTFINAL): one format for every
// server and client, whatever date format a host shows.
inline const QString TextDateFormat = u"dd/MM/yyyy"_s;

PROTOCOL_EXPORT QString fieldTypeName(FieldType type);
// Throws PacketFormatError for a name that is not a packet type.
PROTOCOL_EXPORT FieldType fieldTypeFromName(const QString& name);

// A packet's JSON text, and how many rows it holds.
struct WrittenPacket {
    QByteArray json;
    qsizetype rows = 0;
};

struct FieldDef {
    QString name;
    FieldType type = FieldType::String;
    int size = 0; // characters, for strings; 0 otherwise

    bool operator==(const FieldDef&) const = default;
};

// A packet that does not follow the wire format.
class PROTOCOL_EXPORT PacketFormatError : public std::runtime_error {
public:
    explicit PacketFormatError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// The rows a remote method returns, with their field layout.
// JSON: {"fields": [{"name": "CDIMPOSTONFE", "type": "string", "size": 2}, ...], "rows": [["01", "ICMS",
// "E"], ...]} Cell values in memory: QString, QDate (date), QDateTime (datetime), double (float), qlonglong
// (integer), or a null QVariant. On the wire dates are ISO 8601 texts and null is JSON null.
struct PROTOCOL_EXPORT DataPacket {
    QList<FieldDef> fields;
    QList<QVariantList> rows;

    int fieldIndex(const QString& name) const; // -1 when absent

    // The packet as compact JSON text (UTF-8), as PacketWriter writes it.
    QByteArray toJson() const;
    WrittenPacket written() const;
    // Reads a packet's JSON text, checking the layout and every cell against its field's type. Throws
    // PacketFormatError for a packet that breaks the layout, RpcFailure (ParseError) for text that is not
    // JSON.
    static DataPacket fromJson(QByteArrayView json);
    // The same, for the packet at the reader's position.
    static DataPacket read(JsonReader& reader);
};

// Writes a packet's compact JSON text (UTF-8) row by row, straight from the cells, without keeping them: a listing
// of many thousand rows goes from the query into the answer, and building a QJsonObject or even the packet's rows
// first would cost more than the query. Dates are written "YYYY-MM-DD", date-times "YYYY-MM-DDTHH:mm:ss" (a QDate
// cell in a date-time field as a date); a float that is not finite as null.
class PROTOCOL_EXPORT PacketWriter {
public:
    // rowsExpected: room is made for as many rows at once.
    explicit PacketWriter(const QList<FieldDef>& fields, qsizetype rowsExpected = 0);

    // A value per field, in field order; a missing one is null.
    void appendRow(const QVariantList& row);
    // A row cell by cell, for a reader that holds its cells in the form they travel in: beginRow(), one append per
    // field in field order, endRow().
    void beginRow();
    void appendCell(const QVariant& value); // as appendRow writes it
    void appendNull();
    // A string cell, or a date already checked to be "YYYY-MM-DD", whose text is ASCII.
    void appendAscii(QByteArrayView text);
    void appendNumber(double value);
    void appendInteger(qint64 value);
    void endRow();
    // The rows another writer of the same fields wrote, after those written here.
    void appendRowsOf(const PacketWriter& later);
    // The packet's text, ended: no row goes after it.
    WrittenPacket finish();

private:
    QList<FieldDef> m_fields;
    QByteArray m_text;
    qsizetype m_headerSize = 0;
    qsizetype m_rows = 0;
    int m_column = 0; // of the row being written
    // Opens the next cell of the row: the comma after the one before.
    void nextCell();
};

} // namespace protocol
