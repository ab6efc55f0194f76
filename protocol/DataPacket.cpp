#include "DataPacket.h"

#include "IsoDate.h"
#include "JsonReader.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QtNumeric>
#include <charconv>
#include <cmath>
#include <future>
#include <optional>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

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

void appendEscaped(QByteArray& out, char c)
{
    static const char hex[] = "0123456789abcdef";
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
        out += '\\';
        out += c;
    } else if (byte < 0x20) {
        out += "\\u00";
        out += hex[byte >> 4];
        out += hex[byte & 0xF];
    } else {
        out += c;
    }
}

// A JSON string. Texts are mostly ASCII and taken character by character; from the first other character on
// the rest goes through UTF-8.
void appendText(QByteArray& out, QStringView text)
{
    out += '"';
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit >= 0x80) {
            for (const char c : text.sliced(i).toUtf8())
                appendEscaped(out, c);
            break;
        }
        appendEscaped(out, char(unit));
    }
    out += '"';
}

void appendDate(QByteArray& out, const QDate& date)
{
    char text[] = "\"0000-00-00\"";
    int year = date.year();
    for (int i = 4; i >= 1; --i, year /= 10)
        text[i] = char('0' + year % 10);
    text[6] = char('0' + date.month() / 10);
    text[7] = char('0' + date.month() % 10);
    text[9] = char('0' + date.day() / 10);
    text[10] = char('0' + date.day() % 10);
    out.append(text, 12);
}

void appendNumber(QByteArray& out, double number)
{
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, number); // the shortest that reads back
    out += qIsFinite(number) ? QByteArrayView(text, written.ptr - text) : QByteArrayView("null");
}

void appendCell(QByteArray& out, const QVariant& value, FieldType type)
{
    if (value.isNull()) {
        out += "null";
        return;
    }
    switch (type) {
    case FieldType::String:
        appendText(out, value.toString());
        return;
    case FieldType::Date:
    case FieldType::DateTime:
        if (value.typeId() == QMetaType::QDateTime && type == FieldType::DateTime && value.toDateTime().isValid())
            appendText(out, value.toDateTime().toString(Qt::ISODate));
        else if (value.toDate().isValid())
            appendDate(out, value.toDate());
        else
            out += "null";
        return;
    case FieldType::Float:
        appendNumber(out, value.toDouble());
        return;
    case FieldType::Integer:
        out += QByteArray::number(value.toLongLong());
        return;
    }
}

// Midnight of each date met while reading one packet. Local midnight takes a time-zone lookup that costs more
// than the rest of a cell; a packet holds few distinct dates (the days of a period) in many rows.
class MidnightCache {
public:
    QDateTime midnight(const QDate& date)
    {
        auto found = m_midnights.constFind(date.toJulianDay());
        if (found == m_midnights.cend())
            found = m_midnights.insert(date.toJulianDay(), date.startOfDay());
        return *found;
    }

private:
    QHash<qint64, QDateTime> m_midnights;
};

QVariant readCell(JsonReader& reader, const FieldDef& field, MidnightCache& midnights)
{
    if (reader.readNull())
        return {};
    const char next = reader.peek();
    const bool text = next == '"';
    const bool number = next == '-' || (next >= '0' && next <= '9');
    auto wrong = [&] {
        return PacketFormatError(
            u"O campo %1 do pacote traz um valor que não é do tipo %2."_s.arg(field.name, fieldTypeName(field.type)));
    };
    switch (field.type) {
    case FieldType::String:
        if (!text)
            throw wrong();
        return reader.readString();
    case FieldType::Date: {
        const QDate date = text ? isoDate(reader.readString()) : QDate();
        if (!date.isValid())
            throw wrong();
        return date;
    }
    case FieldType::DateTime: {
        if (!text)
            throw wrong();
        const QString value = reader.readString();
        const QDate date = isoDate(value);
        const QDateTime dateTime =
            date.isValid() ? midnights.midnight(date) : QDateTime::fromString(value, Qt::ISODate);
        if (!dateTime.isValid())
            throw wrong();
        return dateTime;
    }
    case FieldType::Float:
        if (!number)
            throw wrong();
        return reader.readNumber();
    case FieldType::Integer: {
        const double value = number ? reader.readNumber() : 0.5;
        if (value != std::trunc(value) || std::abs(value) > 9007199254740992.0)
            throw wrong();
        return static_cast<qlonglong>(value);
    }
    }
    return {};
}

// The field list at the reader, member by member: every answer carries one, and building QJson objects for it
// cost more than reading a small answer's rows.
QList<FieldDef> readFields(JsonReader& reader)
{
    if (reader.peek() != '[')
        throw PacketFormatError(u"A lista \"fields\" do pacote de dados não é uma lista."_s);
    QList<FieldDef> fields;
    reader.beginArray();
    while (reader.nextElement()) {
        QJsonValue name, type, size;
        if (reader.peek() == '{') {
            reader.beginObject();
            for (QString member; reader.nextMember(member);) {
                if (member == u"name")
                    name = reader.readValue();
                else if (member == u"type")
                    type = reader.readValue();
                else if (member == u"size")
                    size = reader.readValue();
                else
                    reader.skipValue();
            }
        } else {
            reader.skipValue();
        }
        if (name.toString().isEmpty())
            throw PacketFormatError(u"O pacote de dados traz um campo sem nome."_s);
        fields.append({name.toString(), fieldTypeFromName(type.toString()), size.toInt()});
    }
    return fields;
}

// Whether the text at start is the value written as token, whole: a value ends where the token does.
bool repeats(QByteArrayView text, qsizetype start, QByteArrayView token)
{
    if (token.isEmpty() || !text.sliced(start).startsWith(token))
        return false;
    const qsizetype end = start + token.size();
    return end == text.size() || QByteArrayView(",] \t\r\n").contains(text[end]);
}

// Reads rows into packet while nextRow() says that another follows.
template <class NextRow>
void readRowSequence(JsonReader& reader, DataPacket& packet, NextRow nextRow)
{
    const auto wrongRow = [&] {
        return PacketFormatError(u"Uma linha do pacote de dados não tem %1 valores."_s.arg(packet.fields.size()));
    };
    MidnightCache midnights;
    QVariantList previous;
    // The JSON text of each cell of the row above. A cell written as the one above it (a CFOP, an entry or exit mark,
    // a date, a zero of a listing) is that cell again, sharing its memory, and is not read a second time.
    QList<QByteArrayView> previousTexts(packet.fields.size());
    while (nextRow()) {
        if (reader.peek() != '[')
            throw wrongRow();
        QVariantList row;
        row.reserve(packet.fields.size());
        reader.beginArray();
        while (reader.nextElement()) {
            const qsizetype column = row.size();
            if (column == packet.fields.size())
                throw wrongRow();
            reader.peek();
            const qsizetype start = reader.position();
            if (repeats(reader.text(), start, previousTexts[column])) {
                reader.seek(start + previousTexts[column].size());
                row.append(previous[column]);
                continue;
            }
            row.append(readCell(reader, packet.fields[column], midnights));
            previousTexts[column] = reader.text().sliced(start, reader.position() - start);
        }
        if (row.size() != packet.fields.size())
            throw wrongRow();
        previous = row;
        packet.rows.append(std::move(row));
    }
}

// A rows array of many thousand rows cut in two at the row boundary nearest its middle: the text of each half's
// rows, without the brackets and the comma between the halves, and where the array ends (after its "]").
struct RowHalves {
    QByteArrayView first;
    QByteArrayView second;
    qsizetype firstRows = 0;
    qsizetype secondRows = 0;
    qsizetype end = 0;
};

// Only arrays this large are worth a second thread.
constexpr qsizetype SplitRowsFrom = 1 << 20;

// The halves of the array that starts at text[start]; nothing for a small array, or for text that does not close
// it (the reader in order then says what is wrong).
std::optional<RowHalves> rowHalves(QByteArrayView text, qsizetype start)
{
    std::vector<qsizetype> boundaries; // the commas between rows
    int depth = 0;
    bool inText = false;
    for (qsizetype i = start; i < text.size(); ++i) {
        const char c = text[i];
        if (inText) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inText = false;
        } else if (c == '"') {
            inText = true;
        } else if (c == '[' || c == '{') {
            ++depth;
        } else if (c == ',' && depth == 1) {
            boundaries.push_back(i);
        } else if ((c == ']' || c == '}') && --depth == 0) {
            if (i - start < SplitRowsFrom || boundaries.empty())
                return std::nullopt;
            const qsizetype firstRows = qsizetype(boundaries.size() / 2) + 1;
            const qsizetype middle = boundaries[firstRows - 1];
            return RowHalves{text.sliced(start + 1, middle - start - 1), text.sliced(middle + 1, i - middle - 1),
                             firstRows, qsizetype(boundaries.size()) + 1 - firstRows, i + 1};
        }
    }
    return std::nullopt;
}

// The rows of one half (rows separated by commas, up to the end of the text), after those the packet holds.
void readHalf(QByteArrayView text, DataPacket& packet)
{
    JsonReader reader(text);
    bool first = true;
    readRowSequence(reader, packet, [&] {
        if (reader.atEnd())
            return false;
        if (!std::exchange(first, false)) {
            if (reader.peek() != ',')
                throw PacketFormatError(u"As linhas do pacote de dados não estão separadas por vírgulas."_s);
            reader.seek(reader.position() + 1);
        }
        return true;
    });
}

// A large array's second half is read on a thread of its own while this one reads the first: an answer of a
// hundred thousand rows is read in about half the time.
void readRows(JsonReader& reader, DataPacket& packet)
{
    if (reader.peek() != '[')
        throw PacketFormatError(u"A lista \"rows\" do pacote de dados não é uma lista."_s);
    const std::optional<RowHalves> halves = rowHalves(reader.text(), reader.position());
    if (!halves) {
        reader.beginArray();
        return readRowSequence(reader, packet, [&] { return reader.nextElement(); });
    }
    DataPacket second;
    second.fields = packet.fields;
    second.rows.reserve(halves->secondRows);
    std::future<void> secondRead = std::async(std::launch::async, readHalf, halves->second, std::ref(second));
    packet.rows.reserve(halves->firstRows + halves->secondRows);
    readHalf(halves->first, packet);
    secondRead.get();
    packet.rows.append(std::move(second.rows));
    reader.seek(halves->end);
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
    throw PacketFormatError(u"Tipo de campo desconhecido no pacote: \"%1\"."_s.arg(name));
}

int DataPacket::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name == name)
            return i;
    return -1;
}

QByteArray DataPacket::toJson() const { return written().json; }

WrittenPacket DataPacket::written() const
{
    PacketWriter writer(fields, rows.size());
    for (const QVariantList& row : rows)
        writer.appendRow(row);
    return writer.finish();
}

PacketWriter::PacketWriter(const QList<FieldDef>& fields, qsizetype rowsExpected) : m_fields(fields)
{
    m_text.reserve(64 + 24 * fields.size() + 16 * fields.size() * rowsExpected);
    m_text += "{\"fields\":[";
    for (int i = 0; i < fields.size(); ++i) {
        m_text += i ? ",{\"name\":" : "{\"name\":";
        appendText(m_text, fields[i].name);
        m_text += ",\"type\":\"";
        m_text += fieldTypeName(fields[i].type).toLatin1();
        m_text += '"';
        if (fields[i].type == FieldType::String)
            m_text += ",\"size\":" + QByteArray::number(fields[i].size);
        m_text += '}';
    }
    m_text += "],\"rows\":[";
    m_headerSize = m_text.size();
}

void PacketWriter::appendRow(const QVariantList& row)
{
    beginRow();
    for (int i = 0; i < m_fields.size(); ++i)
        appendCell(i < row.size() ? row[i] : QVariant());
    endRow();
}

void PacketWriter::beginRow()
{
    m_text += m_rows++ ? ",[" : "[";
    m_column = 0;
}

void PacketWriter::nextCell()
{
    if (m_column++)
        m_text += ',';
}

void PacketWriter::appendCell(const QVariant& value)
{
    const FieldType type = m_fields[m_column].type;
    nextCell();
    protocol::appendCell(m_text, value, type);
}

void PacketWriter::appendNull()
{
    nextCell();
    m_text += "null";
}

void PacketWriter::appendAscii(QByteArrayView text)
{
    nextCell();
    m_text += '"';
    for (const char c : text)
        appendEscaped(m_text, c);
    m_text += '"';
}

void PacketWriter::appendNumber(double value)
{
    nextCell();
    protocol::appendNumber(m_text, value);
}

void PacketWriter::appendInteger(qint64 value)
{
    nextCell();
    m_text += QByteArray::number(value);
}

void PacketWriter::endRow() { m_text += ']'; }

void PacketWriter::appendRowsOf(const PacketWriter& later)
{
    if (later.m_rows == 0)
        return;
    if (m_rows)
        m_text += ',';
    m_text += QByteArrayView(later.m_text).sliced(later.m_headerSize);
    m_rows += later.m_rows;
}

WrittenPacket PacketWriter::finish()
{
    m_text += "]}";
    return {std::exchange(m_text, {}), m_rows};
}

DataPacket DataPacket::fromJson(QByteArrayView json)
{
    JsonReader reader(json);
    DataPacket packet = read(reader);
    reader.expectEnd();
    return packet;
}

DataPacket DataPacket::read(JsonReader& reader)
{
    if (reader.peek() != '{')
        throw PacketFormatError(u"O pacote de dados não é um objeto."_s);
    DataPacket packet;
    bool haveFields = false;
    bool haveRows = false;
    qsizetype deferredRows = -1; // rows met before the fields: read once the fields are known
    reader.beginObject();
    for (QString name; reader.nextMember(name);) {
        if (name == u"fields") {
            packet.fields = readFields(reader);
            haveFields = true;
        } else if (name == u"rows") {
            haveRows = true;
            if (haveFields) {
                readRows(reader, packet);
            } else {
                deferredRows = reader.position();
                reader.skipValue();
            }
        } else {
            reader.skipValue();
        }
    }
    if (!haveFields || !haveRows)
        throw PacketFormatError(u"O pacote de dados não traz as listas \"fields\" e \"rows\"."_s);
    if (deferredRows >= 0) {
        const qsizetype end = reader.position();
        reader.seek(deferredRows);
        readRows(reader, packet);
        reader.seek(end);
    }
    return packet;
}

} // namespace protocol
