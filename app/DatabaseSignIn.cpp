#include "DatabaseSignIn.h"

#include "DatabaseAddress.h"
#include "Dialogs.h"
#include "Exceptions.h"
#include "HostSettings.h"
#include "TDBConnection.h"
#include "TdtmDBGeral.h"

bool SignInToDatabase(Dialogs& dialogs)
{
    HostSettings& settings = HostSettings::current();
    const database::DatabaseAddress address = database::DatabaseAddress::parse(settings.databasePath);
    if (address.engine() != database::Engine::PostgreSQL)
        return true;
    for (;;) {
        QString problem;
        try {
            dtmDBGeral()->adcGeral->Database();
            return true;
        } catch (const ESignInRefused& refusal) {
            // Asking for the password the first time is no failure to show.
            if (!refusal.passwordMissing())
                problem = refusal.message();
        }
        const std::optional<SignInAnswer> answer = dialogs.signIn(
            address.text(), settings.databaseUser.isEmpty() ? address.user() : settings.databaseUser, problem);
        if (!answer)
            return false;
        settings.databaseUser = answer->user;
        settings.databasePassword = answer->password;
    }
}
