// The period pickers against the real server: what each period call sends, what a pick writes, what a failure
// leaves, and what leaving a date edit checks.
#include "LookupFixture.h"

#include "Dispatch.h"
#include "TClientDataSet.h"
#include "TDateEditPlus.h"
#include "TNotebook.h"

using namespace Qt::StringLiterals;

namespace {

using PeriodsTest = LookupTest;

// A map whose start the database holds as no date: the server sends its text as nothing.
const QString UnreadablePeriod =
    u"INSERT INTO MAPAAPUR (NRMAPAAPUR, CDEMPRESA, CDINSCRICAO, CDIMPOSTO, NMMAPAAPUR, DTINIPERIODO, DTFIMPERIODO) "
    "VALUES (9, '01', '123456785119', '01', 'Mapa sem data', '0000-00-00', '2024-12-31')"_s;

// The host's short date format for the life of the object.
class DateFormat {
public:
    explicit DateFormat(const QString& format) : m_saved(HostSettings::current().shortDateFormat)
    {
        HostSettings::current().shortDateFormat = format;
    }
    ~DateFormat() { HostSettings::current().shortDateFormat = m_saved; }

private:
    QString m_saved;
};

void Fill(TfrmConFisc& screen, const QString& company, const QString& registration)
{
    screen.medEmpresa->setText(company);
    screen.edtInscricao->setText(registration);
}

} // namespace

// The tax sent is the text on the tax line (as typed, not brought to full width), the tax of cdsLivro's current
// book on the book line ("" before any book), never the other one; the end-date list is asked for the start date.
TEST_F(PeriodsTest, EveryPeriodCallSendsTheTaxOfTheLineShownAndTheStartDateAsItIs)
{
    struct Case {
        const char* name;
        int page;
        QString tax, book, start;
        TBtnPesquisa* TfrmConFisc::*button;
        QString call;
    };
    const QList<Case> cases = {
        {"tax line, a book checked earlier",
         0,
         u"01"_s,
         u"6"_s,
         {},
         &TfrmConFisc::btnDataInicial,
         uR"(GetDtIni ["01","123456785119","01"])"_s},
        {"tax line, a code as typed",
         0,
         u"1"_s,
         {},
         {},
         &TfrmConFisc::btnDataInicial,
         uR"(GetDtIni ["01","123456785119","1"])"_s},
        {"book line before any book",
         1,
         u"01"_s,
         {},
         {},
         &TfrmConFisc::btnDataInicial,
         uR"(GetDtIni ["01","123456785119",""])"_s},
        {"book line, the book's tax",
         1,
         u"01"_s,
         u"6"_s,
         {},
         &TfrmConFisc::btnDataInicial,
         uR"(GetDtIni ["01","123456785119","06"])"_s},
        {"end dates of an empty start",
         0,
         u"01"_s,
         {},
         {},
         &TfrmConFisc::btnDataFinal,
         uR"(GetDtFim ["01","123456785119",null,"01"])"_s},
        {"end dates of the start on the screen", 1, u"01"_s, u"6"_s, u"01/02/2025"_s, &TfrmConFisc::btnDataFinal,
         uR"(GetDtFim ["01","123456785119","2025-02-01","06"])"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TfrmConFisc& screen = start();
        if (!c.book.isEmpty()) {
            screen.medLivro->setText(c.book);
            screen.Vd_LivroMag(false);
        }
        screen.nbkImposto->setPageIndex(c.page);
        screen.medImposto->setText(c.tax);
        Fill(screen, u"01"_s, u"123456785119"_s);
        screen.depInicial->setText(c.start);
        relay->clearCalls();

        Dispatch([&] { (screen.*c.button)->Click(); });

        EXPECT_EQ(relay->calls(), QStringList{c.call});
    }
}

// The start-date list shows the start as text, the end-date list as a date; a pick copies the text column into
// its own date edit only.
TEST_F(PeriodsTest, APickWritesThePeriodsDateIntoItsOwnDateEdit)
{
    TfrmConFisc& screen = start();
    screen.medImposto->setText(u"01"_s);
    Fill(screen, u"01"_s, u"123456785119"_s);

    dialogs->answerPick(2);
    Dispatch([&] { screen.btnDataInicial->Click(); });
    EXPECT_EQ(screen.depInicial->GetDate(), QDate(2025, 3, 1));
    EXPECT_EQ(screen.depFinal->text(), QString()) << "the end date is not touched";

    screen.depInicial->SetDate(QDate(2025, 2, 1));
    dialogs->answerPick(1);
    Dispatch([&] { screen.btnDataFinal->Click(); });
    EXPECT_EQ(screen.depFinal->GetDate(), QDate(2025, 3, 31)) << "the second period ending after 01/02/2025";
    EXPECT_EQ(screen.depInicial->GetDate(), QDate(2025, 2, 1));

    ASSERT_EQ(dialogs->shown.size(), 2);
    EXPECT_EQ(dialogs->shown[0].title, u"Data Inicial"_s);
    EXPECT_EQ(dialogs->shown[1].title, u"Data Final"_s);
    for (const auto& list : dialogs->shown)
        EXPECT_EQ(list.text, u"Data Inicial|Data Final|Nome"_s);
    EXPECT_EQ(screen.cdsDataInicialDTINICIAL->DataSet()->RecordCount(), 3);

    SCOPED_TRACE("a host that shows dates as yyyy-MM-dd reads the packet's dd/MM/yyyy all the same");
    const DateFormat iso(u"yyyy-MM-dd"_s);
    TfrmConFisc& isoScreen = start();
    isoScreen.medImposto->setText(u"01"_s);
    Fill(isoScreen, u"01"_s, u"123456785119"_s);
    dialogs->answerPick(2);
    Dispatch([&] { isoScreen.btnDataInicial->Click(); });
    EXPECT_EQ(isoScreen.depInicial->text(), u"2025-03-01"_s);
}

// Each failure shows one message; the date edit keeps its date and the dataset its last packet.
TEST_F(PeriodsTest, AFailedPickShowsOneMessageAndKeepsTheDate)
{
    enum Failure { NoPeriod, ServerDown, NoDate };
    struct Case {
        const char* name;
        Failure failure;
        TBtnPesquisa* TfrmConFisc::*button;
        TDateEditPlus* TfrmConFisc::*edit;
        TClientDataSet* TfrmConFisc::*dataSet;
        QString message;
        int rowsAfter;
    };
    const QList<Case> cases = {
        {"no start period", NoPeriod, &TfrmConFisc::btnDataInicial, &TfrmConFisc::depInicial,
         &TfrmConFisc::cdsDataInicial, u"Não há data inicial cadastrada."_s, 0},
        {"no end period", NoPeriod, &TfrmConFisc::btnDataFinal, &TfrmConFisc::depFinal, &TfrmConFisc::cdsDataFinal,
         u"Não há data final cadastrada."_s, 0},
        {"server down", ServerDown, &TfrmConFisc::btnDataFinal, &TfrmConFisc::depFinal, &TfrmConFisc::cdsDataFinal,
         u"GetDtFim"_s, 3},
        {"a period whose start the server cannot write as a date", NoDate, &TfrmConFisc::btnDataInicial,
         &TfrmConFisc::depInicial, &TfrmConFisc::cdsDataInicial, u"'' não é uma data válida."_s, 4},
    };
    for (const Case& c : cases) {
        if (c.failure == NoDate && TestDatabase::onPostgreSql())
            continue; // a PostgreSQL date column holds dates only
        SCOPED_TRACE(c.name);
        TfrmConFisc& screen = start(c.failure == NoDate ? QStringList{UnreadablePeriod} : QStringList{});
        screen.medImposto->setText(u"01"_s);
        Fill(screen, u"01"_s, u"123456785119"_s);
        dialogs->answerPick(0);
        Dispatch([&] { screen.btnDataFinal->Click(); }); // a packet to keep
        const QDate before(2024, 12, 1);
        (screen.*c.edit)->SetDate(before);
        if (c.failure == NoPeriod)
            Fill(screen, u"02"_s, u"0961234563"_s);
        else if (c.failure == ServerDown)
            stopServer();
        dialogs->shown.clear();

        dialogs->answerPick(0);
        Dispatch([&] { (screen.*c.button)->Click(); });

        ASSERT_EQ(errors().size(), 1);
        EXPECT_TRUE(errors().constFirst().contains(c.message)) << qPrintable(errors().constFirst());
        EXPECT_EQ((screen.*c.edit)->GetDate(), before);
        EXPECT_EQ((screen.*c.dataSet)->RecordCount(), c.rowsAfter) << "the last packet the server answered";
    }
}

// Leaving a date edit checks only that its text is a date: an empty date and inverted dates pass.
TEST_F(PeriodsTest, LeavingADateEditChecksOnlyThatItIsADate)
{
    TfrmConFisc& screen = start();
    screen.depInicial->SetFocus();
    QTest::keyClicks(screen.depInicial->lineEdit(), u"31022025"_s);
    QTest::keyClick(focused(), Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_EQ(errors(), QStringList{u"'31/02/2025' não é uma data válida."_s});
    EXPECT_TRUE(screen.depInicial->isAncestorOf(focused())) << "the focus comes back to the date";

    screen.depInicial->SetDate(QDate(2025, 3, 1));
    screen.depFinal->SetDate(QDate(2025, 2, 1));
    screen.depInicialExit(screen.depInicial);
    screen.depFinalExit(screen.depFinal);
    screen.depFinal->clear();
    screen.depFinalExit(screen.depFinal);
    EXPECT_EQ(errors().size(), 1);
}
