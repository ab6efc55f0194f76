#pragma once

#include <QString>
#include <QVariant>

// The module's door from the host. presets is null (no presets) or a list whose elements 0 to 4 are read as
// texts: tax code, company code, registration (or "CONTRIBUICAO" for none), start date, end date.
// Anything else raises EConvertError and creates no screen. Errors of CriaConFisc pass through.
extern "C" Q_DECL_EXPORT void IniProc(const QVariant& presets);

// Creates the one screen the first time, applies the presets when the tax code is not empty, shows the screen
// and restores it to normal size. The hourglass cursor is shown meanwhile and restored on every way out.
// A preset date that is not a date in the host's short date format raises EConvertError; the presets applied
// before it stay.
void CriaConFisc(const QString& imposto, const QString& empresa, const QString& inscricao, const QString& dataInicial,
                 const QString& dataFinal);
