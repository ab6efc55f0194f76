#include "MensErro.h"

#include "Dialogs.h"
#include "Exceptions.h"

void MensErro(const QString& text, bool abort)
{
    Dialogs::current().showError(text);
    if (abort)
        throw EAbort();
}
