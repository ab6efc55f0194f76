// The screen from the keyboard: the output buttons' keys from every kind of field, and Alt chords that a field must
// not type.
#include "LookupFixture.h"

#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TRadioButton.h"

#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

using KeyboardTest = LookupTest;

struct OutputKey {
    const char* button;
    QKeySequence key;
    QString tooltip;
    QStringList shown; // the kinds of what the dialogs show on a valid screen
};

const QList<OutputKey>& OutputKeys()
{
    static const QList<OutputKey> keys = {
        {"sbtPrint", QKeySequence(Qt::CTRL | Qt::Key_P), u"Imprimir (Ctrl+P)"_s, {u"print"_s}},
        {"sbtPreview", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V), u"Visualizar (Ctrl+Shift+V)"_s, {}},
        {"sbtSalvarComo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), u"Salvar como (Ctrl+Shift+S)"_s, {u"save"_s}},
        {"sbtReportEdit", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), u"Editar (Ctrl+Shift+E)"_s, {u"edit"_s}},
    };
    return keys;
}

// The pending-invoice report, which takes every field of the tax line, on a screen that passes every check.
void FillValid(TfrmConFisc& screen)
{
    auto* reports = screen.findChild<TComboBox*>(u"cbbReportNames"_s);
    reports->setItemIndex(reports->findText(u"Nota Fiscal Pendente"_s));
    screen.cbbReportNamesChange(reports);
    screen.medImposto->setText(u"01"_s);
    screen.medEmpresa->setText(u"01"_s);
    screen.edtInscricao->setText(u"123456785119"_s);
    screen.depInicial->setText(u"01/02/2025"_s);
    screen.depFinal->setText(u"28/02/2025"_s);
    screen.medCfop->setText(u"5102"_s);
    screen.medCst->setText(u"060"_s);
}

QStringList ShownKinds(const ScriptedDialogs& dialogs)
{
    QStringList kinds;
    for (const ScriptedDialogs::Shown& shown : dialogs.shown)
        kinds.append(shown.kind);
    return kinds;
}

} // namespace

// Each key does what a click on its button does, from any field (none of them takes the key for itself): the whole
// screen is checked first, and the focus stays in the field, so no exit handler runs.
TEST_F(KeyboardTest, EachOutputKeyPressesItsButtonFromEveryKindOfField)
{
    TfrmConFisc& screen = start();
    FillValid(screen);
    const QList<QWidget*> fields = {
        screen.medImposto,
        screen.medEmpresa,
        screen.edtInscricao,
        screen.cbbEntrSaid,
        screen.medCfop,
        screen.depInicial->lineEdit(),
        screen.depFinal->lineEdit(),
        screen.medCst,
        screen.rdbTodosMod,
        child<QWidget>(u"cbbReportNames"_s),
    };
    for (const OutputKey& output : OutputKeys()) {
        SCOPED_TRACE(output.button);
        EXPECT_EQ(child<QToolButton>(QString::fromLatin1(output.button))->toolTip(), output.tooltip);
        for (QWidget* field : fields) {
            SCOPED_TRACE(qPrintable(field->objectName()));
            ASSERT_TRUE(field->isEnabled());
            screen.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
            field->setFocus();
            QCoreApplication::processEvents();
            dialogs->shown.clear();

            QTest::keySequence(field, output.key);
            QCoreApplication::processEvents();

            EXPECT_EQ(ShownKinds(*dialogs), output.shown);
            if (QWidget* preview = OpenPreview()) {
                EXPECT_TRUE(output.shown.isEmpty()) << "only Visualizar opens the preview";
                delete preview;
            } else {
                EXPECT_FALSE(output.shown.isEmpty()) << "Visualizar opens the preview";
            }
            EXPECT_EQ(screen.focusWidget(), field) << "the focus stays in the field";
        }
    }
}

TEST_F(KeyboardTest, AnOutputKeyOnAnInvalidScreenShowsTheFirstFailureOnly)
{
    TfrmConFisc& screen = start();
    FillValid(screen);
    screen.medEmpresa->clear();
    for (const OutputKey& output : OutputKeys()) {
        SCOPED_TRACE(output.button);
        screen.cbbEntrSaid->setFocus();
        QCoreApplication::processEvents();
        dialogs->shown.clear();
        QTest::keySequence(screen.cbbEntrSaid, output.key);
        EXPECT_EQ(ShownKinds(*dialogs), QStringList{u"error"_s}) << "no report, no file, no printer";
        EXPECT_EQ(errors(), QStringList{u"Empresa deve ser informada."_s});
        EXPECT_EQ(OpenPreview(), nullptr);
    }
}

// A key pressed at once after Tab acts after the exit handler of the field that Tab left, as a click does.
TEST_F(KeyboardTest, AnOutputKeyRightAfterTabActsAsAClickDoes)
{
    const auto press = [&](const std::function<void()>& output) {
        TfrmConFisc& screen = start();
        FillValid(screen);
        screen.medImposto->clear();
        screen.medEmpresa->setFocus();
        QCoreApplication::processEvents();
        screen.medEmpresa->selectAll();
        QTest::keyClicks(screen.medEmpresa, u"99"_s);
        QTest::keyClick(screen.medEmpresa, Qt::Key_Tab);
        output();
        QCoreApplication::processEvents();
        return errors();
    };
    const QStringList clicked = press([&] { QTest::mouseClick(child<QToolButton>(u"sbtPrint"_s), Qt::LeftButton); });
    const QStringList keyed = press([] { QTest::keySequence(QApplication::focusWidget(), OutputKeys()[0].key); });
    EXPECT_EQ(keyed, clicked);
    EXPECT_EQ(keyed.mid(0, 2), (QStringList{u"Empresa não cadastrada."_s, u"Imposto deve ser informado."_s}))
        << "the exit of Empresa first, then the whole screen";
}

// Alt with a letter is an accelerator, never text: the field and what depends on it stay as they were.
TEST_F(KeyboardTest, AltWithALetterTypesNothingInAField)
{
    TfrmConFisc& screen = start();
    const QString registration = u"123456785119"_s;
    const struct {
        const char* field;
        QLineEdit* edit;
        std::function<void()> fill;
        std::function<QString()> value;
        QString filled;
    } cases[] = {
        {"Imposto", screen.medImposto, [&] { screen.medImposto->setText(u"01"_s); },
         [&] { return screen.medImposto->text(); }, u"01"_s},
        {"Empresa", screen.medEmpresa, [&] { screen.medEmpresa->setText(u"01"_s); },
         [&] { return screen.medEmpresa->text(); }, u"01"_s},
        {"Inscrição", screen.edtInscricao, [] {}, [&] { return screen.edtInscricao->text(); }, registration},
        {"CFOP", screen.medCfop, [&] { screen.medCfop->setText(u"5102"_s); }, [&] { return screen.medCfop->text(); },
         u"5102"_s},
        {"Data inicial", screen.depInicial->lineEdit(), [&] { screen.depInicial->setText(u"01/02/2025"_s); },
         [&] { return screen.depInicial->text(); }, u"01/02/2025"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        c.fill();
        screen.edtInscricao->setText(registration);
        c.edit->setFocus();
        c.edit->selectAll();
        for (Qt::Key letter : {Qt::Key_V, Qt::Key_I, Qt::Key_1}) {
            QTest::keyClick(c.edit, letter, Qt::AltModifier);
            QTest::keyClick(c.edit, letter, Qt::AltModifier | Qt::ShiftModifier);
        }
        EXPECT_EQ(c.value(), c.filled);
        EXPECT_EQ(screen.edtInscricao->text(), registration) << "the registration depends on the tax and company";
    }
    EXPECT_EQ(ShownKinds(*dialogs), QStringList{}) << qPrintable(errors().join(u'\n'));
}
