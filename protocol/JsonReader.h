#pragma once

#include "protocol_export.h"

#include <QByteArrayView>
#include <QJsonValue>
#include <QString>

namespace protocol {

// Reads JSON text (UTF-8) value by value. Answers that carry a packet of many thousand rows are read with it
// straight into cells, without building a QJsonDocument first. Every read throws RpcFailure (ParseError) at
// the first byte that is not JSON; a value of another kind than asked is also a ParseError, and so is an
// object or array nested deeper than maxDepth (no message of the protocol comes near it; a hostile one would
// otherwise exhaust the stack).
class PROTOCOL_EXPORT JsonReader {
public:
    static constexpr qsizetype maxDepth = 64;

    explicit JsonReader(QByteArrayView text) : m_text(text) {}

    // The first character of the next value ('{', '[', '"', 'n', 't', 'f', '-' or a digit); 0 at the end.
    char peek();
    bool atEnd() { return peek() == 0; }
    // Throws unless nothing but blanks is left.
    void expectEnd();

    // Objects: beginObject(), then nextMember(name) until it returns false (it consumes the ',' and ':'
    // between members and the closing '}'). Arrays likewise with beginArray() and nextElement().
    void beginObject();
    bool nextMember(QString& name);
    void beginArray();
    bool nextElement();

    // A text as sent, a byte-order mark at its start included. validUnicode, when given, tells whether the text was
    // Unicode as sent: no bytes that are not UTF-8, no lone surrogate escape (either becomes U+FFFD).
    QString readString(bool* validUnicode = nullptr);
    double readNumber();
    // Consumes null and returns true when the next value is null; otherwise reads nothing.
    bool readNull();
    // Any value, as a QJsonValue; for the small parts of a message.
    QJsonValue readValue();
    // Reads past any value, checking it, without building it.
    void skipValue();

    QByteArrayView text() const { return m_text; }
    qsizetype position() const { return m_position; }
    void seek(qsizetype position) { m_position = position; }

private:
    // The next member or element of the innermost object or array; false (and the container closed) at `closing`.
    bool nextItem(char closing, const char* outside);
    [[noreturn]] void fail(const char* what) const;
    void expect(char c);
    // Consumes the opening character of an object or array and enters it.
    void enter(char opening);
    void skipBlanks();

    QByteArrayView m_text;
    qsizetype m_position = 0;
    // Per open object or array: whether its first member or element has been read.
    QByteArray m_started;
};

} // namespace protocol
