// The company code field: companies come from the host's local table EMPRESA.
#include "TfrmConFisc.h"

#include "MensErro.h"
#include "Strings.h"
#include "TADOIBQuery.h"
#include "TDataSet.h"
#include "TEdit.h"
#include "TMaskEdit.h"
#include "TMessages.h"

using namespace Qt::StringLiterals;

// Every company. A database failure reaches the caller with the focus where it was.
void TfrmConFisc::btnEmpresaBeforePesq(QObject*, bool&)
{
    qryEmpresa->Close();
    qryEmpresa->ParamByName(u"P_TEMPRESA"_s)->SetAsString(u"T"_s);
    qryEmpresa->ParamByName(u"P_EMPRESA"_s)->Clear();
    qryEmpresa->Open();
}

// The code first: writing it clears the name.
void TfrmConFisc::btnEmpresaAfterPesq(QObject*)
{
    medEmpresa->setText(qryEmpresaCDEMPRESA->AsString());
    edtNmEmpresa->setText(qryEmpresaNMEMPRESA->AsString());
}

void TfrmConFisc::medEmpresaChange(QObject*)
{
    edtNmEmpresa->setText(QString());
    edtInscricao->setText(QString());
}

void TfrmConFisc::Vd_Empresa(bool Mandatory)
{
    const bool empty = EmptyString(medEmpresa->text());
    if (!medEmpresa->isEnabled())
        return;
    try {
        if (empty) {
            if (Mandatory)
                MensErro(msgPadrao->Msg(u"Empr_Inf"_s), true);
        } else {
            medEmpresa->setText(Ajusta(medEmpresa->text(), 2));
            qryEmpresa->Close();
            qryEmpresa->ParamByName(u"P_EMPRESA"_s)->SetAsString(medEmpresa->text());
            qryEmpresa->ParamByName(u"P_TEMPRESA"_s)->Clear();
            qryEmpresa->Open();
            if (qryEmpresa->IsEmpty())
                MensErro(msgPadrao->Msg(u"Empr_Cad"_s), true);
            else
                edtNmEmpresa->setText(qryEmpresaNMEMPRESA->AsString());
        }
    } catch (...) {
        medEmpresa->SetFocus();
        throw;
    }
}

void TfrmConFisc::medEmpresaExit(QObject*) { Vd_Empresa(false); }
