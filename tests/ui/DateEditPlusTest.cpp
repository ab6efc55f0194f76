#include "Exceptions.h"
#include "HostSettings.h"
#include "TDateEditPlus.h"
#include "UiTest.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

using namespace Qt::StringLiterals;

using DateEditPlus = UiTest;

TEST_F(DateEditPlus, GetDateIsNullUnlessTheTextIsADate)
{
    TDateEditPlus edit(form.get(), u"depInicial"_s);
    showForm();
    const struct {
        QString typed;
        QDate date;
        bool valid;
    } cases[] = {
        {u""_s, {}, true},
        {u"01022026"_s, QDate(2026, 2, 1), true},
        {u"29022024"_s, QDate(2024, 2, 29), true},
        {u"0102"_s, {}, false},
        {u"31022026"_s, {}, false},
        {u"00012026"_s, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(c.typed));
        edit.clear();
        edit.lineEdit()->setFocus();
        edit.lineEdit()->home(false);
        QTest::keyClicks(edit.lineEdit(), c.typed);
        EXPECT_EQ(edit.GetDate(), c.date);
        if (c.valid)
            EXPECT_NO_THROW(edit.CheckValidDate());
        else
            EXPECT_THROW(edit.CheckValidDate(), EAbort);
    }
    EXPECT_EQ(dialogs->texts(u"error"_s),
              (QStringList{u"'01/02/' não é uma data válida."_s, u"'31/02/2026' não é uma data válida."_s,
                           u"'00/01/2026' não é uma data válida."_s}));
}

TEST_F(DateEditPlus, TextIsEmptyWithoutDigitsAndFollowsSetDate)
{
    TDateEditPlus edit(form.get(), u"depFinal"_s);
    EXPECT_EQ(edit.text(), QString());
    edit.SetDate(QDate(2026, 1, 31));
    EXPECT_EQ(edit.text(), u"31/01/2026"_s);
    EXPECT_EQ(edit.GetDate(), QDate(2026, 1, 31));
    edit.SetDate(QDate());
    EXPECT_EQ(edit.text(), QString());
    EXPECT_TRUE(edit.GetDate().isNull());
    edit.setText(u"15/03/2026"_s);
    EXPECT_EQ(edit.GetDate(), QDate(2026, 3, 15));
}

TEST_F(DateEditPlus, FollowsTheHostsShortDateFormat)
{
    HostSettings::current().shortDateFormat = u"yyyy-MM-dd"_s;
    TDateEditPlus edit(form.get(), u"depInicial"_s);
    HostSettings::current().shortDateFormat = u"dd/MM/yyyy"_s;
    edit.SetDate(QDate(2026, 1, 31));
    EXPECT_EQ(edit.text(), u"2026-01-31"_s);
    edit.setText(u"31/01/2026"_s);
    EXPECT_TRUE(edit.GetDate().isNull());
}

TEST_F(DateEditPlus, ValidDateShowsInTheValidColour)
{
    TDateEditPlus edit(form.get(), u"depInicial"_s);
    edit.setValidColor(TColor::clBlue);
    edit.setColor(TColor::clInfoBk);
    const auto textColour = [&] { return edit.lineEdit()->palette().color(QPalette::Text); };
    EXPECT_EQ(edit.lineEdit()->palette().color(QPalette::Base), toQColor(TColor::clInfoBk));
    edit.setText(u"01/01/20"_s);
    EXPECT_EQ(textColour(), toQColor(TColor::clWindowText));
    edit.setText(u"01/01/2026"_s);
    EXPECT_EQ(textColour(), toQColor(TColor::clBlue));
    edit.clear();
    EXPECT_EQ(textColour(), toQColor(TColor::clWindowText));
}

TEST_F(DateEditPlus, CalendarShowsTheWeekdayNamesAndWritesThePickedDay)
{
    const QStringList names{u"Domingo"_s, u"Segunda"_s, u"Terça"_s, u"Quarta"_s, u"Quinta"_s, u"Sexta"_s, u"Sábado"_s};
    TDateEditPlus edit(form.get(), u"depInicial"_s);
    edit.setWeekdayNames(names);
    edit.SetDate(QDate(2026, 1, 15));
    showForm();
    QTest::mouseClick(edit.button(), Qt::LeftButton);
    QCalendarWidget* calendar = edit.calendar();
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->selectedDate(), QDate(2026, 1, 15));
    EXPECT_EQ(calendar->firstDayOfWeek(), Qt::Sunday);
    QStringList header;
    for (const QLabel* label : calendar->parentWidget()->findChildren<QLabel*>())
        header.append(label->text());
    EXPECT_EQ(header, names);

    calendar->setSelectedDate(QDate(2026, 1, 20));
    Q_EMIT calendar->activated(QDate(2026, 1, 20));
    EXPECT_EQ(edit.text(), u"20/01/2026"_s);
    EXPECT_EQ(edit.calendar(), nullptr) << "closed after the pick";
}
