// The period checks before output: both dates informed, and on the magnetic-book line an apportionment map on the
// application server for each of them.
#include "TfrmConFisc.h"

#include "MensErro.h"
#include "Strings.h"
#include "TClientDataSet.h"
#include "TDateEditPlus.h"
#include "TEdit.h"
#include "TMaskEdit.h"
#include "TMessages.h"

using namespace Qt::StringLiterals;

// The message first; the focus moves while the abort travels out. With both empty only the start is reported.
void TfrmConFisc::Vd_Datas()
{
    const bool startEmpty = EmptyString(depInicial->text());
    const bool endEmpty = EmptyString(depFinal->text());
    try {
        if (startEmpty)
            MensErro(msgPadrao->Msg(u"DtIni_inf"_s), true);
        if (endEmpty)
            MensErro(msgPadrao->Msg(u"DtFim_inf"_s), true);
    } catch (...) {
        if (startEmpty)
            depInicial->SetFocus();
        else if (endEmpty)
            depFinal->SetFocus();
        throw;
    }
}

// An empty date is no map failure here: it is reported by Vd_Datas at the end of the whole-screen validation.
void TfrmConFisc::Vd_ImposLivro()
{
    LoadFromServer(cdsVdDataIni, u"GetVdDataIni"_s,
                   {medEmpresa->text(), edtInscricao->text(), depInicial->GetDate(), PeriodTaxCode()});
    LoadFromServer(cdsVdDataFinal, u"GetVdDataFinal"_s,
                   {medEmpresa->text(), edtInscricao->text(), depFinal->GetDate(), PeriodTaxCode()});
    if (!depInicial->text().isEmpty() && !depFinal->text().isEmpty() &&
        (cdsVdDataIni->IsEmpty() || cdsVdDataFinal->IsEmpty())) {
        depInicial->SetFocus();
        MensErro(msgPadrao->Msg(u"Mapa_Liv_Inv"_s), true);
    }
}
