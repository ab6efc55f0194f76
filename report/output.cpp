// The four output buttons: the base form runs the chosen report only on a valid screen.
#include "TfrmConFisc.h"

void TfrmConFisc::sbtPrintClick(QObject* Sender)
{
    Vd_ValidaCampos(true);
    TfrmDadosGerRel::sbtPrintClick(Sender);
}

void TfrmConFisc::sbtPreviewClick(QObject* Sender)
{
    Vd_ValidaCampos(true);
    TfrmDadosGerRel::sbtPreviewClick(Sender);
}

void TfrmConFisc::sbtSalvarComoClick(QObject* Sender)
{
    Vd_ValidaCampos(true);
    TfrmDadosGerRel::sbtSalvarComoClick(Sender);
}

void TfrmConFisc::sbtReportEditClick(QObject* Sender)
{
    Vd_ValidaCampos(true);
    TfrmDadosGerRel::sbtReportEditClick(Sender);
}
