// The company code field.
#include "TfrmConFisc.h"

#include "TEdit.h"

void TfrmConFisc::medEmpresaChange(QObject*)
{
    edtNmEmpresa->setText(QString());
    edtInscricao->setText(QString());
}
