#include "Dialogs.h"

#include "QtDialogs.h"

namespace {

std::unique_ptr<Dialogs>& installed()
{
    static std::unique_ptr<Dialogs> dialogs;
    return dialogs;
}

} // namespace

Dialogs& Dialogs::current()
{
    if (!installed())
        installed() = std::make_unique<QtDialogs>();
    return *installed();
}

void Dialogs::install(std::unique_ptr<Dialogs> dialogs) { installed() = std::move(dialogs); }

QStringList Dialogs::openFileNames(const QString&, const QString&) { return {}; }

QString Dialogs::existingFolder(const QString&) { return {}; }

std::optional<SignInAnswer> Dialogs::signIn(const QString&, const QString&, const QString&) { return std::nullopt; }
