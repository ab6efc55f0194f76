#pragma once

class BatchDialogs;
class QMdiArea;
struct BatchRequest;

// Saves a report of the screen the host opened as a person at the keyboard would: the report chosen in the screen's
// list; the book, CFOP and CST typed and the direction chosen; the model and operation-type lists chosen with
// "Lista"; then "Salvar como" answered with the output file. The screen's own handlers and checks run. Prints the
// file and its row count on the standard output, or the first message the screen showed, and the field it points
// at, on the error output. Returns the exit code: 0 saved, 1 a failure of the server, the database or a file, 2 a
// field the screen refused.
int RunBatch(QMdiArea& area, BatchDialogs& dialogs, const BatchRequest& request);
