#pragma once

#include "FocusEvents.h"
#include "TColor.h"

#include <QDate>
#include <QStringList>
#include <QWidget>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

// A date box: a text box in the host's short date format (HostSettings::current().shortDateFormat, "dd/MM/yyyy" by
// default, read when the box is built) with a button that opens a calendar.
// The format's digits are entered in a mask: text() is "" when no digit is typed, otherwise the box's text
// ("01/02/2026", or "01/0 /    " while unfinished). The text shows in the valid-date colour while it is a date.
// A key pressed with Alt is never typed (KeepAltChordsOut).
class HOSTFW_EXPORT TDateEditPlus : public QWidget, public FocusEvents {
    Q_OBJECT
public:
    TDateEditPlus(QWidget* parent, const QString& name);

    QString text() const;
    void setText(const QString& text);
    void clear() { setText(QString()); }

    // The date of the text; a null date for an empty, unfinished or impossible text.
    QDate GetDate() const;
    // The date in the short date format; a null date empties the box.
    void SetDate(const QDate& date);
    // A text that is not empty and not a date: puts the focus back on the box, shows "'<text>' não é uma data
    // válida." as an error and throws EAbort. The empty text passes.
    void CheckValidDate();

    void setValidColor(TColor color);
    TColor validColor() const { return m_validColor; }
    void setColor(TColor color);
    TColor color() const { return m_color; }

    // The seven weekday names of the calendar's header, Sunday first (the calendar's week starts on Sunday).
    void setWeekdayNames(const QStringList& names);
    const QStringList& weekdayNames() const { return m_weekdayNames; }

    // Opens the calendar under the box, on the box's date (today when there is none). Picking a day writes it.
    void showCalendar();
    // The open calendar; nullptr when it is closed.
    QCalendarWidget* calendar() const;

    QLineEdit* lineEdit() const { return m_edit; }
    QToolButton* button() const { return m_button; }

private:
    void updateTextColor();

    QLineEdit* m_edit;
    QToolButton* m_button;
    QString m_format;
    QStringList m_weekdayNames;
    TColor m_validColor = TColor::clWindowText;
    TColor m_color = TColor::clWindow;
    class CalendarPopup;
    CalendarPopup* m_popup = nullptr;
};
