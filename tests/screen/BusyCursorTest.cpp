// Every remote call of the tax and book lookups and checks shows the busy cursor.
#include "LookupFixture.h"

#include "TApplication.h"
#include "TNetConnection.h"

using namespace Qt::StringLiterals;

namespace {

using BusyCursorTest = LookupTest;

} // namespace

// The connection is closed before each call, so the call connects again inside the busy block.
TEST_F(BusyCursorTest, EveryRemoteCallShowsTheBusyCursor)
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
