#include "Exceptions.h"
#include "QtDialogs.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TEdit.h"
#include "TGroupBox.h"
#include "TMaskEdit.h"
#include "UiTest.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// edtA, medB, then the group grbG holding edtC and cbbD, then depE; the tab order follows.
class FocusEventsTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        a = new TEdit(form.get(), u"edtA"_s);
        a->setGeometry(10, 10, 100, 21);
        b = new TMaskEdit(form.get(), u"medB"_s);
        b->setEditMask(u"99;0; "_s);
        b->setGeometry(10, 40, 100, 21);
        group = new TGroupBox(form.get(), u"grbG"_s);
        group->setGeometry(10, 70, 300, 100);
        c = new TEdit(group, u"edtC"_s);
        c->setGeometry(10, 20, 100, 21);
        d = new TComboBox(group, u"cbbD"_s);
        d->addItems({u"Entrada"_s, u"Saída"_s});
        d->setGeometry(10, 50, 100, 21);
        e = new TDateEditPlus(form.get(), u"depE"_s);
        e->setGeometry(10, 180, 95, 21);
        QWidget::setTabOrder(a, b);
        QWidget::setTabOrder(b, c);
        QWidget::setTabOrder(c, d);
        QWidget::setTabOrder(d, e);
        for (FocusEvents* control : std::initializer_list<FocusEvents*>{a, b, group, c, d, e}) {
            control->OnEnter = log.recorder(u"enter"_s);
            control->OnExit = log.recorder(u"exit"_s);
        }
        showForm();
        a->setFocus();
        settle();
        log.entries.clear();
    }

    void TearDown() override { Dialogs::install(nullptr); }

    static void tab(Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
    }

    TEdit* a = nullptr;
    TMaskEdit* b = nullptr;
    TGroupBox* group = nullptr;
    TEdit* c = nullptr;
    TComboBox* d = nullptr;
    TDateEditPlus* e = nullptr;
    EventLog log;
};

} // namespace

TEST_F(FocusEventsTest, TabFiresExitOnceTheFocusChangeHasCompleted)
{
    tab();
    EXPECT_EQ(QApplication::focusWidget(), b);
    EXPECT_TRUE(log.entries.isEmpty()) << "not inside Qt's focus change";
    settle();
    EXPECT_EQ(log.entries, (QStringList{u"exit:edtA"_s, u"enter:medB"_s}));

    log.entries.clear();
    tab(Qt::ShiftModifier);
    settle();
    EXPECT_EQ(QApplication::focusWidget(), a);
    EXPECT_EQ(log.entries, (QStringList{u"exit:medB"_s, u"enter:edtA"_s}));
}

TEST_F(FocusEventsTest, MouseOnAnotherControlFiresExitAndEnterBeforeItsClickActs)
{
    QTest::mouseClick(b, Qt::LeftButton);
    settle();
    EXPECT_EQ(QApplication::focusWidget(), b);
    EXPECT_EQ(log.entries, (QStringList{u"exit:edtA"_s, u"enter:medB"_s}));

    // Press and release at once, as a quick click: the group's enter runs before the button acts.
    auto* button = new QPushButton(u"Lista"_s, group);
    button->setGeometry(150, 20, 80, 21);
    button->show();
    QObject::connect(button, &QPushButton::clicked, button, [this] { log.entries.append(u"click"_s); });
    log.entries.clear();
    QTest::mouseClick(button, Qt::LeftButton);
    settle();
    EXPECT_EQ(log.entries, (QStringList{u"exit:medB"_s, u"enter:grbG"_s, u"click"_s}));
}

TEST_F(FocusEventsTest, GroupEntersAndExitsAsTheFocusCrossesItsBorder)
{
    const struct {
        QWidget* to;
        QStringList events;
    } steps[] = {
        {b, {u"exit:edtA"_s, u"enter:medB"_s}},
        {c, {u"exit:medB"_s, u"enter:grbG"_s, u"enter:edtC"_s}},
        {d, {u"exit:edtC"_s, u"enter:cbbD"_s}},
        {e, {u"exit:cbbD"_s, u"exit:grbG"_s, u"enter:depE"_s}},
        {d, {u"exit:depE"_s, u"enter:grbG"_s, u"enter:cbbD"_s}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(qPrintable(step.to->objectName()));
        log.entries.clear();
        step.to->setFocus(Qt::TabFocusReason);
        settle();
        EXPECT_EQ(log.entries, step.events);
    }
}

TEST_F(FocusEventsTest, AnotherWindowTakingTheFocusAndGivingItBackFiresNothing)
{
    QDialog dialog(form.get());
    auto* field = new QLineEdit(&dialog);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    field->setFocus();
    settle();
    dialog.close();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    settle();
    EXPECT_EQ(QApplication::focusWidget(), a);
    EXPECT_TRUE(log.entries.isEmpty()) << qPrintable(log.entries.join(u", "_s));

    SCOPED_TRACE("the form's control changes afterwards: the exit fires as usual");
    tab();
    settle();
    EXPECT_EQ(log.entries, (QStringList{u"exit:edtA"_s, u"enter:medB"_s}));
}

TEST_F(FocusEventsTest, PickListTakingTheFocusFiresNothing)
{
    Dialogs::install(std::make_unique<QtDialogs>());
    auto dataSet = TaxDataSet();
    QTimer::singleShot(0, [] {
        QWidget* list = QApplication::activeModalWidget();
        ASSERT_NE(list, nullptr);
        QTest::keyClick(list->focusWidget(), Qt::Key_Escape);
    });
    EXPECT_EQ(Dialogs::current().pickRow(u"Imposto"_s, *dataSet), std::nullopt);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    settle();
    EXPECT_EQ(QApplication::focusWidget(), a);
    EXPECT_TRUE(log.entries.isEmpty()) << qPrintable(log.entries.join(u", "_s));
}

TEST_F(FocusEventsTest, CalendarPopupTakingTheFocusFiresNothing)
{
    e->setFocus();
    settle();
    log.entries.clear();
    QTest::mouseClick(e->button(), Qt::LeftButton);
    ASSERT_NE(e->calendar(), nullptr);
    QTest::keyClick(e->calendar(), Qt::Key_Escape);
    settle();
    EXPECT_EQ(e->calendar(), nullptr);
    EXPECT_TRUE(log.entries.isEmpty()) << qPrintable(log.entries.join(u", "_s));
}

TEST_F(FocusEventsTest, AnotherMdiChildTakingTheFocusFiresNothing)
{
    QMdiArea area;
    auto* first = new TEdit(nullptr, u"edtFirst"_s);
    auto* second = new TEdit(nullptr, u"edtSecond"_s);
    QMdiSubWindow* one = area.addSubWindow(first);
    QMdiSubWindow* two = area.addSubWindow(second);
    first->OnExit = log.recorder(u"exit"_s);
    second->OnExit = log.recorder(u"exit"_s);
    area.resize(600, 400);
    area.show();
    area.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&area));
    area.setActiveSubWindow(one);
    first->setFocus();
    settle();
    area.setActiveSubWindow(two);
    second->setFocus();
    settle();
    area.setActiveSubWindow(one);
    settle();
    EXPECT_TRUE(log.entries.isEmpty()) << qPrintable(log.entries.join(u", "_s));
}

TEST_F(FocusEventsTest, ExitHandlerPuttingTheFocusBackFiresNothingForTheControlItLeft)
{
    a->OnExit = [&](QObject* sender) {
        log.entries.append(u"exit:"_s + sender->objectName());
        dialogs->showError(u"Imposto não cadastrado."_s);
        a->SetFocus();
        throw EAbort();
    };
    tab();
    settle();
    settle();
    EXPECT_EQ(QApplication::focusWidget(), a);
    EXPECT_EQ(log.entries, QStringList{u"exit:edtA"_s}) << "medB neither entered nor left";
    EXPECT_EQ(dialogs->texts(u"error"_s), QStringList{u"Imposto não cadastrado."_s});
}

TEST_F(FocusEventsTest, ExceptionFromAnExitEndsTheSequence)
{
    a->OnExit = [](QObject*) { throw EHostConfigError(u"falhou"_s); };
    c->setFocus(Qt::TabFocusReason);
    settle();
    EXPECT_TRUE(log.entries.isEmpty()) << "the group and edtC are not entered";
    EXPECT_EQ(dialogs->texts(u"error"_s), QStringList{u"falhou"_s});
}

TEST_F(FocusEventsTest, SetFocusOnAControlThatCannotTakeItDoesNothing)
{
    b->setEnabled(false);
    EXPECT_NO_THROW(b->SetFocus());
    c->hide();
    EXPECT_NO_THROW(c->SetFocus());
    group->SetFocus();
    settle();
    EXPECT_EQ(QApplication::focusWidget(), a);
    EXPECT_TRUE(log.entries.isEmpty());

    SCOPED_TRACE("the date edit takes it through its text box");
    e->SetFocus();
    settle();
    EXPECT_EQ(QApplication::focusWidget(), e->lineEdit());
    EXPECT_EQ(log.entries, (QStringList{u"exit:edtA"_s, u"enter:depE"_s}));

    SCOPED_TRACE("a control of a hidden form");
    log.entries.clear();
    form->hide();
    d->SetFocus();
    settle();
    EXPECT_TRUE(log.entries.isEmpty());
}
