#pragma once

#include <QVariant>

#include <functional>

class BatchDialogs;
class QMdiArea;
struct BatchRequest;

// Saves a report of the screen the host opened (without presets) as a person at the keyboard would: the presets
// handed to the screen through presetScreen (the module's IniProc), once their dates are dates; the report chosen in
// the screen's list; the book, CFOP and CST typed and the direction chosen; the model and operation-type lists
// chosen with "Lista"; then "Salvar como" answered with the output file. The screen's own handlers and checks run,
// each field is left for the next as a person leaves it, and a value the field would not keep whole (a letter in a
// CFOP) or a field the chosen report does not use is refused. Prints the file and its row count on the standard
// output, or the first message the screen showed, and the field it points at, on the error output. Returns the exit
// code: 0 saved, 1 a failure of the server, the database or a file, 2 a value the screen refused.
int RunBatch(QMdiArea& area, BatchDialogs& dialogs, const BatchRequest& request,
             const std::function<void(const QVariant&)>& presetScreen);
