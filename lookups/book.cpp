// The magnetic book code field.
#include "TfrmConFisc.h"

#include "TEdit.h"

// Only the book's name depends on the book: the registration stays.
void TfrmConFisc::medLivroChange(QObject*)
{
    edtNmLivro->setText(QString());
}
