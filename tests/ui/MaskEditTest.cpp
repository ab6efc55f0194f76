#include "TMaskEdit.h"
#include "UiTest.h"

using namespace Qt::StringLiterals;

using MaskEdit = UiTest;

TEST_F(MaskEdit, HostMasksTranslateToQtMasks)
{
    const struct {
        QString host;
        QString qt;
    } cases[] = {
        {u"99;0; "_s, u"00; "_s},
        {u"9.999;0; "_s, u"0.000; "_s},
        {u"999;0; "_s, u"000; "_s},
        {u"9999999999;0; "_s, u"0000000000; "_s},
        {u"00/00/0000;1;_"_s, u"99/99/9999;_"_s},
        {u">LL-0;0;_"_s, u">AA-9;_"_s},
        {u"\\9-a;0;*"_s, u"\\9-n;*"_s},
        {u"H9;0; "_s, u"\\H0; "_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(c.host));
        EXPECT_EQ(TMaskEdit::toQtInputMask(c.host), c.qt);
    }
}

TEST_F(MaskEdit, TypedTextReadsWithoutLiteralsOrBlanks)
{
    const struct {
        const char* name;
        QString mask;
        QString typed;
        QString text;
        int maxLength;
    } cases[] = {
        {"tax, two digits", u"99;0; "_s, u"01"_s, u"01"_s, 2},
        {"tax, one digit", u"99;0; "_s, u"1"_s, u"1"_s, 2},
        {"tax, a third digit is refused", u"99;0; "_s, u"123"_s, u"12"_s, 2},
        {"tax, letters are refused", u"99;0; "_s, u"a1b"_s, u"1"_s, 2},
        {"nothing typed", u"99;0; "_s, u""_s, u""_s, 2},
        {"CFOP typed with its dot", u"9.999;0; "_s, u"5.102"_s, u"5102"_s, 5},
        {"CFOP typed without the dot", u"9.999;0; "_s, u"5102"_s, u"5102"_s, 5},
        {"CFOP, first digit only", u"9.999;0; "_s, u"5"_s, u"5"_s, 5},
        {"CST", u"999;0; "_s, u"0201"_s, u"020"_s, 3},
        {"magnetic book", u"9999999999;0; "_s, u"0000000123"_s, u"0000000123"_s, 10},
    };
    showForm();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TMaskEdit edit(form.get(), u"med"_s);
        edit.setEditMask(c.mask);
        edit.show();
        edit.setFocus();
        edit.home(false);
        QTest::keyClicks(&edit, c.typed);
        EXPECT_EQ(edit.text(), c.text);
        EXPECT_EQ(edit.maxLength(), c.maxLength);
    }
}

TEST_F(MaskEdit, TextWrittenByCodeFillsTheInputPositions)
{
    TMaskEdit cfop(form.get(), u"medCfop"_s);
    cfop.setEditMask(u"9.999;0; "_s);
    cfop.setText(u"5102"_s);
    EXPECT_EQ(cfop.displayText(), u"5.102"_s);
    EXPECT_EQ(cfop.text(), u"5102"_s);
    cfop.setText(u"6.933"_s);
    EXPECT_EQ(cfop.text(), u"6933"_s) << "a text in the mask's shape is taken as shown";
    cfop.setText(u"51"_s);
    EXPECT_EQ(cfop.displayText(), u"5.1  "_s);
    EXPECT_EQ(cfop.text(), u"51"_s);
    cfop.clear();
    EXPECT_EQ(cfop.text(), QString());

    SCOPED_TRACE("without a mask the text is as written");
    TMaskEdit plain(form.get(), u"medPlain"_s);
    plain.setText(u"a.b"_s);
    EXPECT_EQ(plain.text(), u"a.b"_s);

    SCOPED_TRACE("a mask that keeps its literals");
    TMaskEdit kept(form.get(), u"medKept"_s);
    kept.setEditMask(u"99.99;1;_"_s);
    kept.setText(u"12.34"_s);
    EXPECT_EQ(kept.text(), u"12.34"_s);
}

TEST_F(MaskEdit, ClickingAnywhereInAnEmptyFieldTypesFromTheFirstPosition)
{
    showForm();
    TMaskEdit edit(form.get(), u"medImposto"_s);
    edit.setEditMask(u"99;0; "_s);
    edit.setGeometry(0, 0, 60, 21);
    edit.show();
    QTest::mouseClick(&edit, Qt::LeftButton, {}, QPoint(55, 10));
    QTest::keyClicks(&edit, u"1"_s);
    EXPECT_EQ(edit.text(), u"1"_s);

    // With something typed, the click places the cursor where it lands, as in any text box.
    QTest::mouseClick(&edit, Qt::LeftButton, {}, QPoint(55, 10));
    EXPECT_EQ(edit.cursorPosition(), 2);
}

TEST_F(MaskEdit, TypingAfterTabReplacesTheWholeCode)
{
    showForm();
    TMaskEdit first(form.get(), u"medImposto"_s);
    TMaskEdit second(form.get(), u"medEmpresa"_s);
    for (TMaskEdit* edit : {&first, &second}) {
        edit->setEditMask(u"99;0; "_s);
        edit->show();
    }
    second.setText(u"06"_s);
    first.setFocus();
    QTest::keyClick(&first, Qt::Key_Tab);
    ASSERT_TRUE(second.hasFocus());
    QTest::keyClicks(&second, u"1"_s);
    EXPECT_EQ(second.text(), u"1"_s);
}
