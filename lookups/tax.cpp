// The tax code field: the tax list and the check of a typed code come from the application server.
#include "TfrmConFisc.h"

#include "MensErro.h"
#include "Strings.h"
#include "TBtnPesquisa.h"
#include "TClientDataSet.h"
#include "TEdit.h"
#include "TMaskEdit.h"
#include "TMessages.h"

using namespace Qt::StringLiterals;

// Before the pick: every tax, and the registration kind of the first one listed.
void TfrmConFisc::btnImpostoBeforePesq(QObject*, bool&)
{
    try {
        LoadFromServer(cdsImpo, u"GetImpoGrup"_s, {u""_s, u"T"_s});
    } catch (...) {
        medImposto->SetFocus();
        throw;
    }
    SwitchRegistration(cdsImpoIDORGARRECADNFE->AsString());
}

// The code first: writing it clears the abbreviation.
void TfrmConFisc::btnImpostoAfterPesq(QObject*)
{
    medImposto->setText(cdsImpoCDIMPOSTONFE->AsString());
    edtNmImposto->setText(cdsImpoSGIMPOSTONFE->AsString());
}

void TfrmConFisc::medImpostoChange(QObject*)
{
    edtNmImposto->setText(QString());
    edtInscricao->setText(QString());
}

// An empty field that may stay empty still runs the registration switch, on the tax cdsImpo holds.
void TfrmConFisc::Vd_Imposto(bool Mandatory)
{
    const bool empty = EmptyString(medImposto->text());
    if (!medImposto->isEnabled())
        return;
    try {
        if (empty) {
            if (Mandatory)
                MensErro(msgPadrao->Msg(u"Impo_Inf"_s), true);
        } else {
            medImposto->setText(Ajusta(medImposto->text(), 2));
            LoadFromServer(cdsImpo, u"GetImpoGrup"_s, {medImposto->text(), u""_s});
            if (cdsImpo->IsEmpty())
                MensErro(msgPadrao->Msg(u"Impo_Cad"_s), true);
            else
                edtNmImposto->setText(cdsImpoSGIMPOSTONFE->AsString());
        }
    } catch (...) {
        medImposto->SetFocus();
        throw;
    }
    SwitchRegistration(cdsImpoIDORGARRECADNFE->AsString());
}

void TfrmConFisc::medImpostoExit(QObject*) { Vd_Imposto(false); }
