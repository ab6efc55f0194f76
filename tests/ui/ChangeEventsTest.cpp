#include "Exceptions.h"
#include "TComboBox.h"
#include "TEdit.h"
#include "TMaskEdit.h"
#include "TNotebook.h"
#include "TRadioButton.h"
#include "UiTest.h"

using namespace Qt::StringLiterals;

using ChangeEvents = UiTest;

TEST_F(ChangeEvents, EditTextWrittenByCodeFiresDirectlyOnlyWhenItChanges)
{
    TEdit edit(form.get(), u"edtInscricao"_s);
    EventLog log;
    edit.OnChange = log.recorder(u"change"_s);
    edit.setText(u"123"_s);
    edit.setText(u"123"_s);
    edit.clear();
    edit.clear();
    EXPECT_EQ(log.entries, (QStringList{u"change:edtInscricao"_s, u"change:edtInscricao"_s}));

    SCOPED_TRACE("a text cut to the maximum length that equals the one shown is no change");
    edit.setMaxLength(3);
    edit.setText(u"123"_s);
    log.entries.clear();
    edit.setText(u"1234"_s);
    EXPECT_EQ(edit.text(), u"123"_s);
    EXPECT_TRUE(log.entries.isEmpty());

    SCOPED_TRACE("the handler's exception reaches the code that wrote the text");
    edit.OnChange = [](QObject*) { throw EAbort(); };
    EXPECT_THROW(edit.setText(u"x"_s), EAbort);
}

TEST_F(ChangeEvents, TextWrittenThroughTheBaseTypeFiresAsWellThroughTheGuard)
{
    TEdit edit(form.get(), u"edtInscricao"_s);
    TMaskEdit mask(form.get(), u"medCfop"_s);
    mask.setEditMask(u"9.999;0; "_s);
    EventLog log;
    edit.OnChange = log.recorder(u"change"_s);
    mask.OnChange = [&](QObject* sender) {
        log.recorder(u"change"_s)(sender);
        throw EHostConfigError(u"falhou"_s);
    };
    for (QLineEdit* base : std::initializer_list<QLineEdit*>{&edit, &mask}) {
        base->setText(u"5102"_s);
        base->setText(u"5102"_s);
    }
    EXPECT_EQ(log.entries, (QStringList{u"change:edtInscricao"_s, u"change:medCfop"_s}));
    EXPECT_EQ(mask.text(), u"5102"_s);
    EXPECT_EQ(dialogs->texts(u"error"_s), QStringList{u"falhou"_s}) << "shown by the guard, not thrown into Qt";
}

TEST_F(ChangeEvents, TypedTextFiresThroughTheGuard)
{
    TEdit edit(form.get(), u"edtInscricao"_s);
    TMaskEdit mask(form.get(), u"medEmpresa"_s);
    mask.setEditMask(u"99;0; "_s);
    showForm();
    EventLog log;
    edit.OnChange = log.recorder(u"change"_s);
    mask.OnChange = [&](QObject* sender) {
        log.recorder(u"change"_s)(sender);
        throw EHostConfigError(u"falhou"_s);
    };
    QTest::keyClicks(&edit, u"ab"_s);
    QTest::keyClicks(&mask, u"1"_s);
    EXPECT_EQ(log.entries, (QStringList{u"change:edtInscricao"_s, u"change:edtInscricao"_s, u"change:medEmpresa"_s}));
    EXPECT_EQ(dialogs->texts(u"error"_s), QStringList{u"falhou"_s}) << "shown by the guard, not thrown into Qt";
    EXPECT_EQ(mask.text(), u"1"_s);
}

TEST_F(ChangeEvents, MaskEditFiresOnRealChangesOfItsText)
{
    TMaskEdit mask(form.get(), u"medCfop"_s);
    mask.setEditMask(u"9.999;0; "_s);
    EventLog log;
    mask.OnChange = log.recorder(u"change"_s);
    mask.setText(u"5102"_s);
    mask.setText(u"5.102"_s);
    mask.setText(u"5102"_s);
    mask.clear();
    mask.clear();
    EXPECT_EQ(log.entries, (QStringList{u"change:medCfop"_s, u"change:medCfop"_s}));
}

TEST_F(ChangeEvents, ComboFiresOnlyForTheUsersChoice)
{
    TComboBox combo(form.get(), u"cbbEntrSaid"_s);
    EventLog log;
    combo.OnChange = log.recorder(u"change"_s);
    combo.addItems({u"Entrada"_s, u"Saída"_s, u"Todas"_s});
    combo.setItemIndex(2);
    combo.setCurrentIndex(1);
    EXPECT_TRUE(log.entries.isEmpty()) << "adding items and selecting by code fire nothing";
    EXPECT_EQ(combo.text(), u"Saída"_s);

    showForm();
    combo.setFocus();
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(combo.itemIndex(), 2);
    EXPECT_EQ(log.entries, QStringList{u"change:cbbEntrSaid"_s});

    SCOPED_TRACE("no item selected reads the empty text");
    combo.setItemIndex(-1);
    EXPECT_EQ(combo.text(), QString());
    EXPECT_EQ(log.entries.size(), 1);
}

TEST_F(ChangeEvents, RadioClickFiresWheneverItBecomesChecked)
{
    TRadioButton todos(form.get(), u"rdbTodosMod"_s);
    TRadioButton lista(form.get(), u"rdbListaMod"_s);
    todos.setText(u"Todos"_s);
    lista.setText(u"Lista"_s);
    todos.setGeometry(0, 0, 80, 20);
    lista.setGeometry(0, 30, 80, 20);
    EventLog log;
    todos.OnClick = log.recorder(u"click"_s);
    lista.OnClick = log.recorder(u"click"_s);

    todos.setChecked(true);
    todos.setChecked(true);
    EXPECT_EQ(log.entries, QStringList{u"click:rdbTodosMod"_s}) << "checking one already checked does nothing";

    lista.setChecked(true);
    EXPECT_FALSE(todos.isChecked()) << "the group stays exclusive";
    lista.setChecked(false);
    EXPECT_EQ(log.entries, (QStringList{u"click:rdbTodosMod"_s, u"click:rdbListaMod"_s})) << "unchecking fires nothing";

    showForm();
    log.entries.clear();
    lista.setChecked(true);
    log.entries.clear();
    QTest::mouseClick(&todos, Qt::LeftButton);
    QTest::mouseClick(&todos, Qt::LeftButton);
    EXPECT_EQ(log.entries, QStringList{u"click:rdbTodosMod"_s}) << "a user click on the checked one does nothing";

    SCOPED_TRACE("a checked-by-code handler's exception reaches the code");
    lista.OnClick = [](QObject*) { throw EAbort(); };
    EXPECT_THROW(lista.setChecked(true), EAbort);
    EXPECT_TRUE(lista.isChecked());
}

TEST_F(ChangeEvents, NotebookFiresOnlyOnARealPageChange)
{
    TNotebook notebook(form.get(), u"nbkImposto"_s);
    QWidget* tax = notebook.addPage(u"Imposto"_s);
    QWidget* book = notebook.addPage(u"Livro"_s);
    EXPECT_EQ(tax->objectName(), u"Imposto"_s);
    EXPECT_EQ(notebook.pageCaption(1), u"Livro"_s);
    EXPECT_EQ(notebook.pageIndex(), 0);

    EventLog log;
    notebook.OnPageChanged = log.recorder(u"page"_s);
    notebook.setPageIndex(0);
    EXPECT_TRUE(log.entries.isEmpty());
    notebook.setPageIndex(1);
    notebook.setPageIndex(1);
    EXPECT_EQ(notebook.currentWidget(), book);
    notebook.setPageIndex(0);
    EXPECT_EQ(log.entries, (QStringList{u"page:nbkImposto"_s, u"page:nbkImposto"_s}));
    EXPECT_THROW(notebook.setPageIndex(2), EHostConfigError);
    EXPECT_EQ(notebook.pageIndex(), 0);
}
