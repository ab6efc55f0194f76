#include "Dispatch.h"

#include "Dialogs.h"
#include "Exceptions.h"

#include <QtGlobal>

using namespace Qt::StringLiterals;

namespace {

void show(const QString& text) noexcept
{
    try {
        Dialogs::current().showFailure(text);
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
    } catch (const EHostError& e) {
        show(e.message());
    } catch (const std::exception& e) {
        show(QString::fromUtf8(e.what()));
    } catch (...) {
        show(u"Erro inesperado."_s);
    }
    return false;
}
