// What the tax, book and company checks share: a short code is brought to its width before it is looked up, and
// every remote call shows the busy cursor.
#include "LookupFixture.h"

#include "TApplication.h"
#include "TNetConnection.h"

using namespace Qt::StringLiterals;

namespace {

using CodeFieldsTest = LookupTest;

} // namespace

// The registration typed before is cleared by a new tax or company and kept by a new book.
TEST_F(CodeFieldsTest, AShortCodeIsBroughtToItsWidthAndThenLookedUpExactlySo)
{
    TfrmConFisc& screen = start();
    struct Case {
        const char* field;
        TMaskEdit* edit;
        std::function<void()> leave;
        QString typed, shown, name;
        TEdit* nameBox;
        QStringList calls;
        QString registration;
    };
    const QString registration = u"123456785119"_s;
    const QList<Case> cases = {
        {"tax", screen.medImposto, [&] { screen.medImpostoExit(screen.medImposto); }, u"1"_s, u"01"_s, u"ICMS"_s,
         screen.edtNmImposto, {uR"(GetImpoGrup ["01",""])"_s}, u""_s},
        {"book", screen.medLivro, [&] { screen.medLivroExit(screen.medLivro); }, u"6"_s, u"0000000006"_s,
         u"Livro do ISS"_s, screen.edtNmLivro, {uR"(GetLivroMag ["0000000006"])"_s}, registration},
        {"company", screen.medEmpresa, [&] { screen.medEmpresaExit(screen.medEmpresa); }, u"1"_s, u"01"_s,
         u"Comercial Paulista"_s, screen.edtNmEmpresa, {}, u""_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        screen.edtInscricao->setText(registration);
        relay->clearCalls();
        c.edit->setText(c.typed);
        c.leave();
        EXPECT_EQ(c.edit->text(), c.shown);
        EXPECT_EQ(c.nameBox->text(), c.name);
        EXPECT_EQ(relay->calls(), c.calls);
        EXPECT_EQ(screen.edtInscricao->text(), c.registration);
    }
    EXPECT_EQ(screen.qryEmpresa->ParamByName(u"P_EMPRESA"_s)->Value(), QVariant(u"01"_s));
    EXPECT_TRUE(screen.qryEmpresa->ParamByName(u"P_TEMPRESA"_s)->IsNull());
    EXPECT_EQ(codes(screen.qryEmpresa->Query(), u"CDEMPRESA"_s), QStringList{u"01"_s});
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

// The connection is closed before each call, so the call connects again inside the busy block.
TEST_F(CodeFieldsTest, EveryRemoteCallShowsTheBusyCursor)
{
    TfrmConFisc& screen = start();
    const auto connect = screen.netConFisc->BeforeConnect;
    int cursorWhileConnecting = 0;
    screen.netConFisc->BeforeConnect = [&](TNetConnection& sender) {
        cursorWhileConnecting = TApplication::instance().ScreenCursor();
        connect(sender);
    };
    const QList<std::pair<const char*, std::function<void()>>> calls = {
        {"tax list", [&] { screen.btnImposto->Click(); }},
        {"tax check", [&] { screen.Vd_Imposto(false); }},
        {"book list", [&] { screen.btnLivro->Click(); }},
        {"book check", [&] { screen.Vd_LivroMag(false); }},
    };
    screen.medImposto->setText(u"01"_s);
    screen.medLivro->setText(u"0000000001"_s);
    for (const auto& [what, call] : calls) {
        SCOPED_TRACE(what);
        screen.netConFisc->SetConnected(false);
        cursorWhileConnecting = 0;
        call();
        EXPECT_EQ(cursorWhileConnecting, -11);
        EXPECT_EQ(TApplication::instance().ScreenCursor(), 0);
    }
    EXPECT_EQ(relay->calls().size(), 4);
}
