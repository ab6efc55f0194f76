#include "JsonReader.h"

#include "JsonRpc.h"

#include <QJsonArray>
#include <QJsonObject>
#include <charconv>

using namespace Qt::StringLiterals;

namespace protocol {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void appendUtf8(QByteArray& out, char32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// The text of UTF-8 bytes. QString::fromUtf8 drops a byte-order mark at the start; here it stays, so that a code
// sent with one does not pass for the same code without it.
QString textOf(QByteArrayView utf8)
{
    static constexpr QByteArrayView byteOrderMark("\xEF\xBB\xBF");
    if (!utf8.startsWith(byteOrderMark))
        return QString::fromUtf8(utf8);
    return QChar(QChar::ByteOrderMark) + QString::fromUtf8(utf8.sliced(byteOrderMark.size()));
}

} // namespace

void JsonReader::fail(const char* what) const
{
    throw RpcFailure(RpcErrorCode::ParseError,
                     u"A mensagem não é JSON válido (%1, posição %2)."_s.arg(QString::fromUtf8(what)).arg(m_position));
}

void JsonReader::skipBlanks()
{
    while (m_position < m_text.size() && isBlank(m_text[m_position]))
        ++m_position;
}

char JsonReader::peek()
{
    skipBlanks();
    return m_position < m_text.size() ? m_text[m_position] : 0;
}

void JsonReader::expectEnd()
{
    if (!atEnd())
        fail("texto depois do fim");
}

void JsonReader::expect(char c)
{
    if (peek() != c)
        fail(c == ':' ? "esperava ':'" : c == '{' ? "esperava um objeto" : c == '[' ? "esperava uma lista" : "sintaxe");
    ++m_position;
}

void JsonReader::enter(char opening)
{
    expect(opening);
    if (m_started.size() >= maxDepth)
        throw RpcFailure(
            RpcErrorCode::ParseError,
            u"A mensagem aninha listas e objetos em mais de %1 níveis (posição %2)."_s.arg(maxDepth).arg(m_position));
    m_started += '\0';
}

void JsonReader::beginObject() { enter('{'); }

bool JsonReader::nextItem(char closing, const char* outside)
{
    if (m_started.isEmpty())
        fail(outside);
    if (peek() == closing) {
        ++m_position;
        m_started.chop(1);
        return false;
    }
    if (m_started.back())
        expect(',');
    m_started.back() = 1;
    return true;
}

bool JsonReader::nextMember(QString& name)
{
    if (!nextItem('}', "membro fora de objeto"))
        return false;
    name = readString();
    expect(':');
    return true;
}

void JsonReader::beginArray() { enter('['); }

bool JsonReader::nextElement() { return nextItem(']', "elemento fora de lista"); }

QString JsonReader::readString(bool* validUnicode)
{
    if (peek() != '"')
        fail("esperava um texto");
    const qsizetype start = ++m_position;
    // Most texts carry no escape: they are taken as they stand.
    while (m_position < m_text.size() && m_text[m_position] != '"' && m_text[m_position] != '\\') {
        if (static_cast<unsigned char>(m_text[m_position]) < 0x20)
            fail("caractere de controle num texto");
        ++m_position;
    }
    if (m_position >= m_text.size())
        fail("texto sem fim");
    if (m_text[m_position] == '"') {
        const QByteArrayView bytes = m_text.sliced(start, m_position++ - start);
        if (validUnicode)
            *validUnicode = bytes.isValidUtf8();
        return textOf(bytes);
    }
    bool surrogatesPaired = true;

    QByteArray decoded(m_text.sliced(start, m_position - start).toByteArray());
    while (m_position < m_text.size() && m_text[m_position] != '"') {
        const char c = m_text[m_position++];
        if (static_cast<unsigned char>(c) < 0x20)
            fail("caractere de controle num texto");
        if (c != '\\') {
            decoded += c;
            continue;
        }
        if (m_position >= m_text.size())
            fail("texto sem fim");
        const char escaped = m_text[m_position++];
        switch (escaped) {
        case '"':
        case '\\':
        case '/':
            decoded += escaped;
            break;
        case 'b':
            decoded += '\b';
            break;
        case 'f':
            decoded += '\f';
            break;
        case 'n':
            decoded += '\n';
            break;
        case 'r':
            decoded += '\r';
            break;
        case 't':
            decoded += '\t';
            break;
        case 'u': {
            auto unit = [&] {
                int value = 0;
                for (int i = 0; i < 4; ++i) {
                    const int digit = m_position < m_text.size() ? hexValue(m_text[m_position++]) : -1;
                    if (digit < 0)
                        fail("escape \\u inválido");
                    value = value * 16 + digit;
                }
                return char32_t(value);
            };
            char32_t code = unit();
            if (code >= 0xD800 && code < 0xDC00 && m_text.sliced(m_position).startsWith("\\u")) {
                m_position += 2;
                const char32_t low = unit();
                const bool paired = low >= 0xDC00 && low < 0xE000;
                surrogatesPaired = surrogatesPaired && paired;
                code = paired ? 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00) : 0xFFFD;
            } else if (code >= 0xD800 && code < 0xE000) {
                surrogatesPaired = false;
                code = 0xFFFD;
            }
            appendUtf8(decoded, code);
            break;
        }
        default:
            fail("escape inválido");
        }
    }
    if (m_position >= m_text.size())
        fail("texto sem fim");
    ++m_position;
    if (validUnicode)
        *validUnicode = surrogatesPaired && QByteArrayView(decoded).isValidUtf8();
    return textOf(decoded);
}

double JsonReader::readNumber()
{
    const char first = peek();
    if (first != '-' && (first < '0' || first > '9'))
        fail("esperava um número");
    const qsizetype start = m_position;
    while (m_position < m_text.size()) {
        const char c = m_text[m_position];
        if (!(c >= '0' && c <= '9') && c != '-' && c != '+' && c != '.' && c != 'e' && c != 'E')
            break;
        ++m_position;
    }
    double value = 0;
    const char* begin = m_text.data() + start;
    const char* end = m_text.data() + m_position;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end)
        fail("número inválido");
    return value;
}

bool JsonReader::readNull()
{
    if (peek() != 'n')
        return false;
    if (!m_text.sliced(m_position).startsWith("null"))
        fail("valor inválido");
    m_position += 4;
    return true;
}

void JsonReader::skipValue()
{
    switch (peek()) {
    case '{':
        beginObject();
        for (QString name; nextMember(name);)
            skipValue();
        return;
    case '[':
        beginArray();
        while (nextElement())
            skipValue();
        return;
    default:
        readValue();
    }
}

QJsonValue JsonReader::readValue()
{
    switch (peek()) {
    case '{': {
        QJsonObject object;
        beginObject();
        for (QString name; nextMember(name);)
            object.insert(name, readValue());
        return object;
    }
    case '[': {
        QJsonArray array;
        beginArray();
        while (nextElement())
            array.append(readValue());
        return array;
    }
    case '"':
        return readString();
    case 'n':
        readNull();
        return QJsonValue::Null;
    case 't':
    case 'f': {
        const bool value = peek() == 't';
        if (!m_text.sliced(m_position).startsWith(value ? "true" : "false"))
            fail("valor inválido");
        m_position += value ? 4 : 5;
        return value;
    }
    case 0:
        fail("fim inesperado");
    default:
        return readNumber();
    }
}

} // namespace protocol
