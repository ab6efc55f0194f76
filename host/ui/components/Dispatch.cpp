#include "Dispatch.h"

#include "Dialogs.h"
#include "Exceptions.h"

#include <QtGlobal>

using namespace Qt::StringLiterals;

namespace {

// A failure of the action unless told it is a complaint about what the user gave.
void show(const QString& text, void (Dialogs::*kind)(const QString&) = &Dialogs::showFailure) noexcept
{
    try {
        (Dialogs::current().*kind)(text);
    } catch (...) {
        qCritical("Could not show an error: %s", qUtf8Printable(text));
    }
}

} // namespace

bool Dispatch(const std::function<void()>& action) noexcept
{
    try {
        action();
        return true;
    } catch (const EAbort&) {
    } catch (const EReportRefused& e) {
        show(e.message(), &Dialogs::showError);
    } catch (const EHostError& e) {
        show(e.message());
    } catch (const std::exception& e) {
        show(QString::fromUtf8(e.what()));
    } catch (...) {
        show(u"Erro inesperado."_s);
    }
    return false;
}
