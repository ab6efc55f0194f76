#include "QtDialogs.h"
#include "UiTest.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Runs the step on the modal dialog once it is open; a dialog the step leaves open is cancelled, so a failing
// test never hangs.
void whenModal(std::function<void(QDialog&)> step)
{
    QTimer::singleShot(0, [step] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no modal dialog";
            return;
        }
        step(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

QTableView& rowsOf(QDialog& dialog) { return *dialog.findChild<QTableView*>(u"rows"_s); }
QLineEdit& filterOf(QDialog& dialog) { return *dialog.findChild<QLineEdit*>(u"filter"_s); }

QStringList headers(QTableView& view)
{
    QStringList labels;
    for (int column = 0; column < view.model()->columnCount(); ++column)
        labels.append(view.model()->headerData(column, Qt::Horizontal).toString());
    return labels;
}

class QtDialogsTest : public UiTest {
protected:
    std::unique_ptr<TClientDataSet> dataSet = TaxDataSet();
    QtDialogs qtDialogs;
};

} // namespace

TEST_F(QtDialogsTest, PickListFilterNarrowsTheRowsAndEnterPicksTheRowShown)
{
    QStringList shownHeaders;
    int rowsAfterFilter = -1;
    QString title;
    whenModal([&](QDialog& dialog) {
        title = dialog.windowTitle();
        shownHeaders = headers(rowsOf(dialog));
        QTest::keyClicks(&filterOf(dialog), u"is"_s);
        rowsAfterFilter = rowsOf(dialog).model()->rowCount();
        QTest::keyClick(&filterOf(dialog), Qt::Key_Return);
    });
    EXPECT_EQ(qtDialogs.pickRow(u"Imposto"_s, *dataSet), 2);
    EXPECT_EQ(title, u"Imposto"_s);
    EXPECT_EQ(shownHeaders, (QStringList{u"Codigo"_s, u"Sigla"_s})) << "hidden fields are not shown";
    EXPECT_EQ(rowsAfterFilter, 1);
}

TEST_F(QtDialogsTest, PickListEscapeCancelsAndDoubleClickPicks)
{
    whenModal([](QDialog& dialog) { QTest::keyClick(&filterOf(dialog), Qt::Key_Escape); });
    EXPECT_EQ(qtDialogs.pickRow(u"Imposto"_s, *dataSet), std::nullopt);

    whenModal([](QDialog& dialog) {
        QTableView& view = rowsOf(dialog);
        const QRect cell = view.visualRect(view.model()->index(1, 1));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, cell.center());
    });
    EXPECT_EQ(qtDialogs.pickRow(u"Imposto"_s, *dataSet), 1);

    SCOPED_TRACE("a filter that matches nothing: Enter picks nothing");
    whenModal([](QDialog& dialog) {
        QTest::keyClicks(&filterOf(dialog), u"zzz"_s);
        QTest::keyClick(&filterOf(dialog), Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_EQ(qtDialogs.pickRow(u"Imposto"_s, *dataSet), std::nullopt);
}

TEST_F(QtDialogsTest, ChooseListReturnsTheCheckedRowsInListOrder)
{
    whenModal([](QDialog& dialog) {
        QAbstractItemModel* model = rowsOf(dialog).model();
        model->setData(model->index(2, 0), Qt::Checked, Qt::CheckStateRole);
        model->setData(model->index(0, 0), Qt::Checked, Qt::CheckStateRole);
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_EQ(qtDialogs.chooseRows(u"Modelo de Documento"_s, *dataSet, {}), (QList<int>{0, 2}));

    whenModal([](QDialog& dialog) { dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click(); });
    EXPECT_EQ(qtDialogs.chooseRows(u"Modelo de Documento"_s, *dataSet, {}), QList<int>{}) << "none checked";

    whenModal([](QDialog& dialog) { QTest::keyClick(&filterOf(dialog), Qt::Key_Escape); });
    EXPECT_EQ(qtDialogs.chooseRows(u"Modelo de Documento"_s, *dataSet, {}), std::nullopt);
}

TEST_F(QtDialogsTest, ChooseListOpensWithTheTickedRowsAndSpaceTicksFromTheKeyboard)
{
    whenModal([](QDialog& dialog) {
        QLineEdit& filter = filterOf(dialog);
        QTest::keyClick(&filter, Qt::Key_Space); // first row: ticked
        QTest::keyClick(&filter, Qt::Key_Down);
        QTest::keyClick(&filter, Qt::Key_Space); // second row, ticked when the list opened: unticked
        QTest::keyClicks(&filter, u"is"_s);
        EXPECT_EQ(filter.text(), u"is"_s) << "Space never reaches the filter";
        QTest::keyClick(&filter, Qt::Key_Space); // the one row left, ISS
        QTest::keyClick(&filter, Qt::Key_Return);
    });
    EXPECT_EQ(qtDialogs.chooseRows(u"Modelo de Documento"_s, *dataSet, {1}), (QList<int>{0, 2}));
}
