#include "TMaskEdit.h"

#include "Dispatch.h"

namespace {

struct MaskFields {
    QString mask;
    bool keepLiterals = true;
    QChar blank = u'_';
};

MaskFields splitHostMask(const QString& hostMask)
{
    const QStringList parts = hostMask.split(u';');
    MaskFields fields;
    fields.mask = parts.value(0);
    if (parts.size() > 1)
        fields.keepLiterals = parts[1] != u"0";
    if (parts.size() > 2 && !parts[2].isEmpty())
        fields.blank = parts[2].at(0);
    return fields;
}

// One display position of a Qt input mask: a literal character or an input position.
struct Position {
    bool input;
    QChar literal;
};

QList<Position> positionsOf(const QString& qtMask)
{
    QList<Position> positions;
    const QString mask = qtMask.section(u';', 0, 0);
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask.at(i);
        if (c == u'\\' && i + 1 < mask.size()) {
            positions.append({false, mask.at(++i)});
        } else if (QStringLiteral("><!{}[]").contains(c)) {
            continue;
        } else if (QStringLiteral("AaNnXx90DdHhBb#").contains(c)) {
            positions.append({true, QChar()});
        } else {
            positions.append({false, c});
        }
    }
    return positions;
}

// A text already in the mask's shape (its literals in place) is taken as shown; otherwise its characters go into
// the input positions in order.
QString shapeFor(const QString& text, const QList<Position>& positions, QChar blank)
{
    bool shaped = text.size() == positions.size();
    for (qsizetype i = 0; shaped && i < positions.size(); ++i)
        shaped = positions[i].input || text.at(i) == positions[i].literal;
    if (shaped)
        return text;
    QString shown;
    qsizetype next = 0;
    for (const Position& position : positions) {
        if (position.input)
            shown += next < text.size() ? text.at(next++) : blank;
        else
            shown += position.literal;
    }
    return shown;
}

} // namespace

QString TMaskEdit::toQtInputMask(const QString& hostMask)
{
    const MaskFields fields = splitHostMask(hostMask);
    static const QString qtSpecial = QStringLiteral("AaNnXx90DdHhBb#><!{}[]\\");
    QString qtMask;
    for (qsizetype i = 0; i < fields.mask.size(); ++i) {
        const QChar c = fields.mask.at(i);
        switch (c.unicode()) {
        case u'0': qtMask += u'9'; break;
        case u'9': qtMask += u'0'; break;
        case u'#': qtMask += u'#'; break;
        case u'L': qtMask += u'A'; break;
        case u'l': qtMask += u'a'; break;
        case u'A': qtMask += u'N'; break;
        case u'a': qtMask += u'n'; break;
        case u'C': qtMask += u'X'; break;
        case u'c': qtMask += u'x'; break;
        case u'>': qtMask += u'>'; break;
        case u'<':
            if (i + 1 < fields.mask.size() && fields.mask.at(i + 1) == u'>') {
                qtMask += u'!';
                ++i;
            } else {
                qtMask += u'<';
            }
            break;
        case u'!': break;
        case u'\\':
            if (i + 1 < fields.mask.size())
                qtMask += u'\\' + QString(fields.mask.at(++i));
            break;
        default:
            if (qtSpecial.contains(c))
                qtMask += u'\\';
            qtMask += c;
        }
    }
    return qtMask + u';' + fields.blank;
}

TMaskEdit::TMaskEdit(QWidget* parent, const QString& name) : QLineEdit(parent), FocusEvents(this)
{
    setObjectName(name);
    connect(this, &QLineEdit::textEdited, this, [this] { Dispatch([this] { Fire(OnChange, this); }); });
}

void TMaskEdit::setEditMask(const QString& hostMask)
{
    m_hostMask = hostMask;
    m_keepLiterals = splitHostMask(hostMask).keepLiterals;
    setInputMask(hostMask.isEmpty() ? QString() : toQtInputMask(hostMask));
}

QString TMaskEdit::text() const
{
    if (m_hostMask.isEmpty() || m_keepLiterals)
        return QLineEdit::text();
    const QList<Position> positions = positionsOf(inputMask());
    const QChar blank = splitHostMask(m_hostMask).blank;
    const QString shown = displayText();
    QString result;
    for (qsizetype i = 0; i < positions.size() && i < shown.size(); ++i)
        if (positions[i].input && shown.at(i) != blank)
            result += shown.at(i);
    return result;
}

void TMaskEdit::setText(const QString& text)
{
    const QString before = this->text();
    if (m_hostMask.isEmpty() || m_keepLiterals) {
        QLineEdit::setText(text);
    } else {
        QLineEdit::setText(shapeFor(text, positionsOf(inputMask()), splitHostMask(m_hostMask).blank));
    }
    if (this->text() != before)
        Fire(OnChange, this);
}

void TMaskEdit::setColor(TColor color)
{
    m_color = color;
    SetBackgroundColor(this, color);
}
