#pragma once

#include "protocol_export.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QVariant>
#include <stdexcept>

namespace protocol {

enum class FieldType { String, Date, DateTime, Float, Integer };

PROTOCOL_EXPORT QString fieldTypeName(FieldType type);
// Throws PacketFormatError for a name that is not a packet type.
PROTOCOL_EXPORT FieldType fieldTypeFromName(const QString& name);

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
// JSON: {"fields": [{"name": "CDIMPOSTONFE", "type": "string", "size": 2}, ...], "rows": [["01", "ICMS", "E"], ...]}
// Cell values in memory: QString, QDate (date), QDateTime (datetime), double (float), qlonglong (integer),
// or a null QVariant. On the wire dates are ISO 8601 texts and null is JSON null.
struct PROTOCOL_EXPORT DataPacket {
    QList<FieldDef> fields;
    QList<QVariantList> rows;

    int fieldIndex(const QString& name) const; // -1 when absent

    QJsonObject toJson() const;
    // Checks the layout and every cell against its field's type; throws PacketFormatError.
    static DataPacket fromJson(const QJsonObject& json);
};

} // namespace protocol
