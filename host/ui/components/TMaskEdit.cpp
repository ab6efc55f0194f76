#include "TMaskEdit.h"

#include "AltChords.h"

#include <QFocusEvent>
#include <QHash>

using namespace Qt::StringLiterals;

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
        } else if (u"><!{}[]"_s.contains(c)) {
            continue;
        } else if (u"AaNnXx90DdHhBb#"_s.contains(c)) {
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
    // Host mask characters and the Qt ones that mean the same; "<>" together switch case conversion off.
    static const QHash<QChar, QChar> translated{
        {u'0', u'9'}, {u'9', u'0'}, {u'#', u'#'}, {u'L', u'A'}, {u'l', u'a'}, {u'A', u'N'},
        {u'a', u'n'}, {u'C', u'X'}, {u'c', u'x'}, {u'>', u'>'}, {u'<', u'<'},
    };
    static const QString qtSpecial = u"AaNnXx90DdHhBb#><!{}[]\\"_s;
    const MaskFields fields = splitHostMask(hostMask);
    QString qtMask;
    for (qsizetype i = 0; i < fields.mask.size(); ++i) {
        const QChar c = fields.mask.at(i);
        const bool hasNext = i + 1 < fields.mask.size();
        if (c == u'<' && hasNext && fields.mask.at(i + 1) == u'>') {
            qtMask += u'!';
            ++i;
        } else if (c == u'\\' && hasNext) {
            qtMask += u'\\';
            qtMask += fields.mask.at(++i);
        } else if (translated.contains(c)) {
            qtMask += translated.value(c);
        } else if (c != u'!') { // the host's "!" (blanks kept at the start) has no Qt counterpart
            if (qtSpecial.contains(c))
                qtMask += u'\\';
            qtMask += c;
        }
    }
    return qtMask + u';' + fields.blank;
}

TMaskEdit::TMaskEdit(QWidget* parent, const QString& name)
    : QLineEdit(parent), FocusEvents(this), m_changes(new TextChanges(
                                                this, [this] { return text(); }, [this] { Fire(OnChange, this); }))
{
    setObjectName(name);
    KeepAltChordsOut(this);
}

void TMaskEdit::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    if (!m_hostMask.isEmpty() && text().isEmpty())
        setCursorPosition(0);
}

void TMaskEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        selectAll();
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
    const bool shaped = !m_hostMask.isEmpty() && !m_keepLiterals;
    m_changes->write([&] {
        QLineEdit::setText(shaped ? shapeFor(text, positionsOf(inputMask()), splitHostMask(m_hostMask).blank) : text);
    });
}

void TMaskEdit::setColor(TColor color)
{
    m_color = color;
    SetBackgroundColor(this, color);
}
