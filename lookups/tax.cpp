// The tax code field.
#include "TfrmConFisc.h"

#include "TEdit.h"

void TfrmConFisc::medImpostoChange(QObject*)
{
    edtNmImposto->setText(QString());
    edtInscricao->setText(QString());
}
