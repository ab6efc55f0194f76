#include "TDateEditPlus.h"

#include "AltChords.h"
#include "HostSettings.h"
#include "MensErro.h"
#include "Strings.h"
#include "TMaskEdit.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// A Qt input mask holding the format's digits (each may be left blank while typing), or the empty text when the
// format has a part that is not a fixed number of digits (a month name, a one-letter day).
QString maskForDateFormat(const QString& format)
{
    QString hostMask;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        qsizetype run = 1;
        while (i + run < format.size() && format.at(i + run) == c)
            ++run;
        if (c == u'd' || c == u'M' || c == u'y') {
            const bool fixedDigits = c == u'y' ? run == 2 || run == 4 : run == 2;
            if (!fixedDigits)
                return {};
            hostMask += QString(run, u'9');
        } else if (c.isLetter() || c == u'\'' || c == u';') {
            return {};
        } else {
            for (qsizetype k = 0; k < run; ++k)
                hostMask += u"\\"_s + c;
        }
        i += run;
    }
    return TMaskEdit::toQtInputMask(hostMask + u";1; "_s);
}

QPixmap calendarGlyph()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.setBrush(Qt::white);
    painter.drawRect(1, 2, 13, 12);
    painter.fillRect(2, 3, 12, 3, QColor(0xC0, 0x30, 0x30));
    painter.setPen(QColor(0x60, 0x60, 0x60));
    for (int y = 8; y <= 12; y += 2)
        for (int x = 3; x <= 12; x += 3)
            painter.drawPoint(x, y);
    return pixmap;
}

} // namespace

// The calendar under the box: a header with the weekday names, then the month's days, the week starting on Sunday.
class TDateEditPlus::CalendarPopup : public QFrame {
public:
    explicit CalendarPopup(TDateEditPlus* owner) : QFrame(owner, Qt::Popup), m_calendar(new QCalendarWidget(this))
    {
        setObjectName(u"calendarPopup"_s);
        setFrameShape(QFrame::Box);
        m_calendar->setObjectName(u"calendar"_s);
        m_calendar->setFirstDayOfWeek(Qt::Sunday);
        m_calendar->setHorizontalHeaderFormat(QCalendarWidget::NoHorizontalHeader);
        m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        m_calendar->setGridVisible(true);
        auto* header = new QWidget(this);
        m_header = new QHBoxLayout(header);
        m_header->setContentsMargins(0, 0, 0, 0);
        m_header->setSpacing(0);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(1, 1, 1, 1);
        layout->setSpacing(0);
        layout->addWidget(header);
        layout->addWidget(m_calendar);
        QObject::connect(m_calendar, &QCalendarWidget::clicked, this, [this, owner](const QDate& date) {
            owner->SetDate(date);
            close();
            owner->m_edit->setFocus(Qt::PopupFocusReason);
        });
        QObject::connect(m_calendar, &QCalendarWidget::activated, m_calendar, &QCalendarWidget::clicked);
    }

    QCalendarWidget* calendar() const { return m_calendar; }

    void setWeekdayNames(const QStringList& names)
    {
        while (QLayoutItem* item = m_header->takeAt(0)) {
            delete item->widget();
            delete item;
        }
        for (const QString& name : names) {
            auto* label = new QLabel(name);
            label->setAlignment(Qt::AlignCenter);
            m_header->addWidget(label, 1);
        }
        int widest = 0;
        for (const QString& name : names)
            widest = std::max(widest, fontMetrics().horizontalAdvance(name));
        setMinimumWidth(7 * (widest + 8));
    }

private:
    QCalendarWidget* m_calendar;
    QHBoxLayout* m_header;
};

TDateEditPlus::TDateEditPlus(QWidget* parent, const QString& name)
    : QWidget(parent), FocusEvents(this), m_edit(new QLineEdit(this)), m_button(new QToolButton(this)),
      m_format(HostSettings::current().shortDateFormat)
{
    setObjectName(name);
    m_edit->setObjectName(name + u"Edit"_s);
    m_edit->setInputMask(maskForDateFormat(m_format));
    KeepAltChordsOut(m_edit);
    m_button->setObjectName(name + u"Button"_s);
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->setIcon(calendarGlyph());
    m_button->setIconSize(QSize(16, 16));
    m_button->setFixedWidth(21);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit);
    layout->addWidget(m_button);
    setFocusProxy(m_edit);
    setFocusPolicy(Qt::StrongFocus);
    for (int day = 0; day < 7; ++day)
        m_weekdayNames.append(QLocale().standaloneDayName(day == 0 ? 7 : day, QLocale::LongFormat));

    connect(m_edit, &QLineEdit::textChanged, this, [this] { updateTextColor(); });
    connect(m_button, &QToolButton::clicked, this, [this] { showCalendar(); });
}

QString TDateEditPlus::text() const
{
    if (m_edit->inputMask().isEmpty())
        return m_edit->text();
    const QString shown = m_edit->displayText();
    return std::ranges::any_of(shown, [](QChar c) { return c.isDigit(); }) ? shown : QString();
}

void TDateEditPlus::setText(const QString& text) { m_edit->setText(text); }

QDate TDateEditPlus::GetDate() const { return QDate::fromString(text(), m_format); }

void TDateEditPlus::SetDate(const QDate& date) { setText(date.isValid() ? date.toString(m_format) : QString()); }

void TDateEditPlus::CheckValidDate()
{
    const QString typed = text();
    if (EmptyString(typed) || GetDate().isValid())
        return;
    SetFocus();
    MensErro(u"'%1' não é uma data válida."_s.arg(typed.trimmed()), true);
}

void TDateEditPlus::setValidColor(TColor color)
{
    m_validColor = color;
    updateTextColor();
}

void TDateEditPlus::setColor(TColor color)
{
    m_color = color;
    SetBackgroundColor(m_edit, color);
}

void TDateEditPlus::updateTextColor()
{
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Text, toQColor(GetDate().isValid() ? m_validColor : TColor::clWindowText));
    m_edit->setPalette(palette);
}

void TDateEditPlus::setWeekdayNames(const QStringList& names) { m_weekdayNames = names; }

void TDateEditPlus::showCalendar()
{
    if (!m_popup)
        m_popup = new CalendarPopup(this);
    m_popup->setWeekdayNames(m_weekdayNames);
    const QDate date = GetDate();
    m_popup->calendar()->setSelectedDate(date.isValid() ? date : QDate::currentDate());
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    m_popup->calendar()->setFocus(Qt::PopupFocusReason);
}

QCalendarWidget* TDateEditPlus::calendar() const
{
    return m_popup && m_popup->isVisible() ? m_popup->calendar() : nullptr;
}
