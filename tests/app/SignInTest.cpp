// The host's sign-in to a PostgreSQL database: asked while the database wants a password the address's sources do
// not give, again after a refusal, until it takes one or the person gives up.
#include "DatabaseSignIn.h"

#include "HostSettings.h"
#include "ScopedConnection.h"
#include "ScriptedDialogs.h"
#include "TDBConnection.h"
#include "TdtmDBGeral.h"
#include "TestDatabase.h"

#include <QSqlQuery>
#include <QUuid>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(PostgreSqlSignIn, TheHostAsksUntilTheDatabaseTakesThePasswordOrThePersonGivesUp)
{
    const TestDatabase fiscal({}, TestDatabase::Data::SchemaOnly);
    const QString role = u"analista_%1"_s.arg(QUuid::createUuid().toString(QUuid::Id128).left(8));
    {
        database::ScopedConnection owner(database::DatabaseAddress::parse(fiscal.address()),
                                         database::Access::ReadWrite);
        ASSERT_TRUE(QSqlQuery(owner.database()).exec(u"CREATE ROLE %1 LOGIN PASSWORD 'certa'"_s.arg(role)));
    }
    // No password from the environment or a ~/.pgpass: the person is the only source.
    qunsetenv("PGPASSWORD");
    qputenv("PGPASSFILE", "/nonexistent/pgpass");
    const struct {
        const char* name;
        QByteArray environmentPassword; // PGPASSWORD
        QList<std::optional<SignInAnswer>> answers;
        bool signedIn;
        QStringList problems; // shown each time the person was asked; empty: none
    } cases[] = {
        {"the password from PGPASSWORD, never asked", "certa", {}, true, {}},
        {"a wrong password, then the right one",
         {},
         {SignInAnswer{role, u"errada"_s}, SignInAnswer{role, u"certa"_s}},
         true,
         {QString(), u"recusou o usuário ou a senha"_s}},
        {"given up", {}, {std::nullopt}, false, {QString()}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HostSettings& settings = HostSettings::current();
        settings = HostSettings();
        settings.databasePath = QString(fiscal.address()).replace(u"//fiscal@"_s, u"//%1@"_s.arg(role));
        dtmDBGeral()->adcGeral->SetConnected(false);
        if (c.environmentPassword.isEmpty())
            qunsetenv("PGPASSWORD");
        else
            qputenv("PGPASSWORD", c.environmentPassword);
        ScriptedDialogs& dialogs = ScriptedDialogs::reset();
        for (const std::optional<SignInAnswer>& answer : c.answers)
            dialogs.answerSignIn(answer);

        EXPECT_EQ(SignInToDatabase(dialogs), c.signedIn);
        ASSERT_EQ(dialogs.shown.size(), c.problems.size());
        for (qsizetype i = 0; i < c.problems.size(); ++i) {
            const QString& shown = dialogs.shown[i].text;
            if (c.problems[i].isEmpty())
                EXPECT_EQ(shown, role + u'|') << "no problem to show when the password is first asked for";
            else
                EXPECT_TRUE(shown.startsWith(role + u'|') && shown.contains(c.problems[i])) << qPrintable(shown);
        }
        EXPECT_EQ(dtmDBGeral()->adcGeral->Connected(), c.signedIn);
        // What the server's calls are made with.
        if (c.signedIn)
            EXPECT_EQ(settings.databaseUser + u'/' + settings.databasePassword, role + u"/certa"_s);
    }
    dtmDBGeral()->adcGeral->SetConnected(false);
    HostSettings::current() = HostSettings();
    qunsetenv("PGPASSFILE");
    qunsetenv("PGPASSWORD");
}
