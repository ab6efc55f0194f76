// The four output buttons on a valid screen, on the sample data: the report previewed, printed, saved and edited,
// and a report that cannot run told in one message, the screen still usable.
#include "LookupFixture.h"

#include "Exceptions.h"
#include "PdfText.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TReportDesignerDialog.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolButton>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace {

using OutputTest = LookupTest;

// The GIA SP listing of March 2025 for the SP trader: a screen that passes every check.
void FillGiaSp(TfrmConFisc& screen)
{
    auto* reports = screen.findChild<TComboBox*>(u"cbbReportNames"_s);
    reports->setItemIndex(reports->findText(u"Listagem de Documentos - GIA SP"_s));
    screen.cbbReportNamesChange(reports);
    screen.medImposto->setText(u"01"_s);
    screen.medEmpresa->setText(u"01"_s);
    screen.edtInscricao->setText(u"123456785119"_s);
    screen.cbbEntrSaid->setItemIndex(2);
    screen.depInicial->setText(u"01/03/2025"_s);
    screen.depFinal->setText(u"31/03/2025"_s);
}

} // namespace

TEST_F(OutputTest, AValidScreenPreviewsPrintsSavesAndEditsTheChosenReport)
{
    QTemporaryDir work;
    ASSERT_TRUE(QProcess::execute(u"cp"_s, {u"-r"_s, HostSettings::current().reportsDir, work.path()}) == 0);
    HostSettings::current().reportsDir = work.filePath(u"reports"_s);
    TfrmConFisc& screen = startOnSampleData();
    FillGiaSp(screen);
    const auto click = [&](const char* button) {
        QTest::mouseClick(child<QToolButton>(QString::fromLatin1(button)), Qt::LeftButton);
    };

    click("sbtPreview");
    QWidget* preview = OpenPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->findChild<QSpinBox*>(u"pageNumber"_s)->value(), 1);
    QCoreApplication::processEvents(); // the click's own activation of the screen comes after the preview's
    preview->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(preview));
    QTest::keyClick(preview, Qt::Key_Escape);
    EXPECT_EQ(OpenPreview(), nullptr) << "Esc closes the preview";

    dialogs->answerPrint(work.filePath(u"impresso.pdf"_s));
    click("sbtPrint");
    EXPECT_TRUE(PdfText(work.filePath(u"impresso.pdf"_s)).contains(u"Listagem de Documentos - GIA SP"_s));

    dialogs->answerSave(work.filePath(u"listagem.csv"_s));
    click("sbtSalvarComo");
    QFile csv(work.filePath(u"listagem.csv"_s));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count("\r\n"), 10) << "the captions and the nine booked documents";

    dialogs->answerEdit([](ReportDefinition& definition) { definition.orientation = QPageLayout::Portrait; });
    click("sbtReportEdit");
    const ReportDefinition edited =
        ReportDefinition::fromFile(work.filePath(u"reports/RLX582/02-listagem-documentos-gia-sp.json"_s));
    EXPECT_EQ(edited.orientation, QPageLayout::Portrait);
    EXPECT_EQ(edited.title, u"Listagem de Documentos - GIA SP"_s);
    EXPECT_TRUE(errors().isEmpty()) << qPrintable(errors().join(u'\n'));
}

// The server down while the GIA documents are fetched, or a table gone under a query: one message naming the
// report and the query; nothing opens; the next output works.
TEST_F(OutputTest, AReportThatCannotRunIsOneMessageAndTheScreenStaysUsable)
{
    TfrmConFisc& screen = startOnSampleData();
    FillGiaSp(screen);
    stopServer();
    try {
        child<TReportDesignerDialog>(u"rpddPadrao"_s)
            ->Preview(
                QDir(HostSettings::current().reportsDir).filePath(u"RLX582/02-listagem-documentos-gia-sp.json"_s));
        ADD_FAILURE() << "previewed without its documents";
    } catch (const EReportRunError& e) {
        EXPECT_TRUE(e.message().contains(u"\"Listagem de Documentos - GIA SP\""_s) &&
                    e.message().contains(u"\"qryCabecalho\""_s))
            << qPrintable(e.message());
    }
    EXPECT_EQ(OpenPreview(), nullptr);

    TfrmConFisc& other = startOnSampleData();
    FillGiaSp(other);
    auto* reports = child<TComboBox>(u"cbbReportNames"_s);
    reports->setItemIndex(reports->findText(u"Nota Fiscal Pendente"_s));
    other.cbbReportNamesChange(reports);
    other.medImposto->setText(u"01"_s);
    other.medEmpresa->setText(u"01"_s);
    other.edtInscricao->setText(u"123456785119"_s);
    dropTable(u"ITEMNOTAFISCAL"_s);
    QTest::mouseClick(child<QToolButton>(u"sbtPreview"_s), Qt::LeftButton);
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors().constFirst().contains(u"\"Nota Fiscal Pendente\""_s) &&
                errors().constFirst().contains(u"\"qryNotas\""_s) &&
                errors().constFirst().contains(u"ITEMNOTAFISCAL"_s))
        << qPrintable(errors().constFirst());
    EXPECT_EQ(OpenPreview(), nullptr);

    reports->setItemIndex(reports->findText(u"Apuração de Impostos"_s));
    other.cbbReportNamesChange(reports);
    QTest::mouseClick(child<QToolButton>(u"sbtPreview"_s), Qt::LeftButton);
    EXPECT_NE(OpenPreview(), nullptr) << "a report that can run still does";
    delete OpenPreview();
}

// The preview is announced as a window of its own, names its controls, and its zoom box always shows the zoom in
// force, whether chosen in the box, with Ampliar and Reduzir or with the wheel and Ctrl, from 25 % to 400 %.
TEST_F(OutputTest, ThePreviewIsAWindowOfItsOwnAndShowsTheZoomInForce)
{
    TfrmConFisc& screen = startOnSampleData();
    FillGiaSp(screen);
    QTest::mouseClick(child<QToolButton>(u"sbtPreview"_s), Qt::LeftButton);
    std::unique_ptr<QWidget> preview(OpenPreview());
    ASSERT_NE(preview, nullptr);
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(preview.get());
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), u"Visualizar - Listagem de Documentos - GIA SP"_s);
    EXPECT_EQ(UnnamedControls(*preview), QStringList{});

    QCoreApplication::processEvents();
    preview->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == preview.get(); }));
    auto* zoom = preview->findChild<QComboBox*>(u"zoom"_s);
    auto* page = preview->findChild<QScrollArea*>(u"page"_s);
    // The zoom of the page drawn, from its width: A4, 297 mm wide when it lies, 210 mm when it stands.
    const auto drawnPercent = [&] {
        const QSizeF drawn = qobject_cast<QLabel*>(page->widget())->pixmap().deviceIndependentSize();
        const double millimetres = drawn.width() > drawn.height() ? 297 : 210;
        return qRound(drawn.width() / (millimetres / 25.4 * preview->logicalDpiX()) * 100);
    };
    const auto wheel = [&](int turn) {
        QWheelEvent event(QPointF(50, 50), page->viewport()->mapToGlobal(QPointF(50, 50)), {}, {0, turn}, Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(page->viewport(), &event);
    };
    const auto keys = [&](QKeySequence::StandardKey key, int times) {
        for (int press = 0; press < times; ++press)
            QTest::keySequence(preview.get(), key);
    };
    const struct {
        const char* step;
        std::function<void()> act;
        QString shown;
    } steps[] = {
        {"Reduzir down to the smallest", [&] { keys(QKeySequence::ZoomOut, 12); }, u"25%"_s},
        {"Ampliar", [&] { keys(QKeySequence::ZoomIn, 1); }, u"50%"_s},
        {"the wheel up, twice", [&] { wheel(120), wheel(120); }, u"100%"_s},
        {"Ampliar up to the largest", [&] { keys(QKeySequence::ZoomIn, 12); }, u"400%"_s},
        {"the wheel down", [&] { wheel(-120); }, u"300%"_s},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        step.act();
        EXPECT_EQ(zoom->currentText(), step.shown);
        EXPECT_EQ(u"%1%"_s.arg(drawnPercent()), step.shown);
    }

    SCOPED_TRACE("the whole page chosen in the box, then Ampliar from there");
    zoom->setFocus();
    while (zoom->currentIndex() > 1)
        QTest::keyClick(zoom, Qt::Key_Up);
    EXPECT_EQ(zoom->currentText(), u"Página inteira"_s);
    const int whole = drawnPercent();
    EXPECT_LT(whole, 100) << "an A4 page in a 720-pixel-high window";
    keys(QKeySequence::ZoomIn, 1);
    EXPECT_GT(drawnPercent(), whole);
    EXPECT_EQ(zoom->currentText(), u"%1%"_s.arg(drawnPercent()));
}
