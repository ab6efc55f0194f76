#include "EfdReader.h"

#include "RefusedFile.h"

#include <QIODevice>

using namespace Qt::StringLiterals;

namespace fiscalimport {

namespace {

constexpr qsizetype maxLine = 64 * 1024;

QLatin1StringView latin1(QByteArrayView bytes) { return QLatin1StringView(bytes.data(), bytes.size()); }

} // namespace

EfdReader::EfdReader(QIODevice& device, const QString& blocks, const QString& layout)
    : m_device(device), m_blocks(blocks), m_layout(layout), m_buffer(maxLine + 3, Qt::Uninitialized)
{}

bool EfdReader::next()
{
    if (!m_fields.isEmpty() && is("9999"))
        return false;
    if (!readLine())
        throw RefusedFile(u"linha %1"_s.arg(m_lineNumber + 1),
                          u"o arquivo termina sem o registro 9999 de encerramento: está incompleto"_s);
    split();
    m_names = {};
    checkRecordCode();
    if (is("9999"))
        checkLineCount();
    return true;
}

qint64 EfdReader::position() const { return m_device.pos(); }

bool EfdReader::readLine()
{
    const qint64 length = m_device.readLine(m_buffer.data(), m_buffer.size());
    if (length <= 0)
        return false;
    ++m_lineNumber;
    QByteArrayView line(m_buffer.constData(), length);
    const bool whole = line.endsWith('\n') || length < m_buffer.size() - 1;
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    if (!whole || line.size() > maxLine)
        throw RefusedFile(where(), u"a linha passa de 64 KiB, o que nenhum registro da EFD tem"_s);
    if (m_lineNumber == 1 && line.startsWith("\xEF\xBB\xBF"))
        line = line.sliced(3);
    m_line = line;
    return true;
}

void EfdReader::split()
{
    if (m_line.size() < 2 || m_line.front() != '|' || m_line.back() != '|')
        throw RefusedFile(where(), u"a linha não está no formato de registro da %1 (|REG|campo|...|)"_s.arg(m_layout));
    m_fields.clear();
    qsizetype start = 1;
    for (qsizetype i = 1; i < m_line.size(); ++i) {
        if (m_line[i] == '|') {
            m_fields.append(m_line.sliced(start, i - start));
            start = i + 1;
        }
    }
    m_utf8 = m_line.isValidUtf8();
}

void EfdReader::checkRecordCode() const
{
    const QByteArrayView code = record();
    const bool known = code.size() == 4 && m_blocks.contains(QLatin1Char(code[0])) &&
                       std::all_of(code.begin() + 1, code.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!known)
        throw RefusedFile(where(), u"o registro \"%1\" não existe no leiaute da %2"_s.arg(text(1), m_layout));
}

void EfdReader::checkLineCount() const
{
    const QString count = text(2);
    if (count.toInt() != m_lineNumber)
        throw RefusedFile(where(), u"o registro 9999 conta %1 linhas, mas o arquivo tem %2 até ele: está incompleto ou "
                                   "foi alterado"_s.arg(count)
                                       .arg(m_lineNumber));
}

QByteArrayView EfdReader::field(int n) const { return n <= m_fields.size() ? m_fields[n - 1] : QByteArrayView(); }

void EfdReader::expect(std::span<const char* const> names)
{
    m_names = names;
    for (int n = 2; n <= int(std::min<qsizetype>(names.size(), m_fields.size())); ++n) {
        const QLatin1StringView name(names[n - 1]);
        if (name.startsWith("VL_"_L1))
            amount(n);
        else if (name.startsWith("ALIQ"_L1) || name.startsWith("QTD"_L1) || name.startsWith("QUANT"_L1))
            decimal(n);
        else if (name.startsWith("DT_"_L1))
            date(n);
    }
}

QString EfdReader::text(int n) const
{
    const QByteArrayView bytes = field(n);
    return m_utf8 ? QString::fromUtf8(bytes) : QString(latin1(bytes));
}

Cents EfdReader::amount(int n) const
{
    const QByteArrayView bytes = field(n);
    if (bytes.isEmpty())
        return 0;
    const std::optional<Cents> value = parseCents(latin1(bytes), u',');
    if (!value)
        refuseField(n, u"\"%1\" não é um valor (vírgula decimal, até duas casas)"_s.arg(text(n)));
    return *value;
}

double EfdReader::decimal(int n) const
{
    const QByteArrayView bytes = field(n);
    if (bytes.isEmpty())
        return 0;
    const std::optional<double> value = parseDecimal(latin1(bytes), u',', 8);
    if (!value)
        refuseField(n, u"\"%1\" não é um número (vírgula decimal)"_s.arg(text(n)));
    return *value;
}

QDate EfdReader::date(int n) const
{
    const QByteArrayView bytes = field(n);
    if (bytes.isEmpty())
        return {};
    const auto number = [&](qsizetype at, qsizetype size) {
        int value = 0;
        for (qsizetype i = at; i < at + size; ++i)
            value = bytes[i] >= '0' && bytes[i] <= '9' ? value * 10 + (bytes[i] - '0') : -1000000;
        return value;
    };
    const QDate date = bytes.size() == 8 ? QDate(number(4, 4), number(2, 2), number(0, 2)) : QDate();
    if (!date.isValid())
        refuseField(n, u"\"%1\" não é uma data ddmmaaaa"_s.arg(text(n)));
    return date;
}

QString EfdReader::requiredText(int n) const
{
    const QString value = text(n);
    if (value.isEmpty())
        refuseField(n, u"o campo é obrigatório e está vazio"_s);
    return value;
}

QDate EfdReader::requiredDate(int n) const
{
    const QDate value = date(n);
    if (!value.isValid())
        refuseField(n, u"o campo é obrigatório e está vazio"_s);
    return value;
}

QString EfdReader::where() const { return u"linha %1"_s.arg(m_lineNumber); }

void EfdReader::refuseField(int n, const QString& reason) const
{
    const QString name = n <= int(m_names.size()) ? u" (%1)"_s.arg(QLatin1StringView(m_names[n - 1])) : QString();
    const QString number = u"%1"_s.arg(n, 2, 10, QChar(u'0'));
    throw RefusedFile(where(), u"campo %1%2 do registro %3: %4"_s.arg(number, name, text(1), reason));
}

} // namespace fiscalimport
