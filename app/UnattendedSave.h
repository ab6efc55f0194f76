#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

class QMdiArea;
class ScriptedDialogs;

// "Salvar como" on the screen the host opened, without a person: the report chosen with the keyboard in the
// screen's report list, each named control filled in order (a text box with the text, a list with its item of that
// text; handlers run as when code writes them), then the button pressed and the file dialog answered with fileName
// (PDF, CSV or XLSX by its type). dialogs is the installed service, which has recorded what opening the screen
// showed. Returns the messages shown: none when the report was saved.
QStringList SaveReportUnattended(QMdiArea& area, ScriptedDialogs& dialogs, const QString& report,
                                 const QList<std::pair<QString, QString>>& fields, const QString& fileName);
