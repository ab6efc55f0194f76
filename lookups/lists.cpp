// The document-model and operation-type filters: "Todos" or a chosen list.
#include "TfrmConFisc.h"

#include "TBtnPesquisa.h"
#include "TRadioButton.h"

void TfrmConFisc::rdbTodosModClick(QObject*)
{
    btnModDoc->setEnabled(!rdbTodosMod->isChecked());
    if (rdbTodosMod->isChecked())
        stListaMod.clear();
}

// The chosen list is kept: only "Todos" empties it.
void TfrmConFisc::rdbListaModClick(QObject*)
{
    btnModDoc->setEnabled(rdbListaMod->isChecked());
}

void TfrmConFisc::rdbTodosTpClick(QObject*)
{
    btnTpOperacao->setEnabled(!rdbTodosTp->isChecked());
    if (rdbTodosTp->isChecked())
        stListaTp.clear();
}

void TfrmConFisc::rdbListaTpClick(QObject*)
{
    btnTpOperacao->setEnabled(rdbListaTp->isChecked());
}
