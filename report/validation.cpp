// The whole screen checked before any output, in a fixed order; the first failure ends it.
#include "TfrmConFisc.h"

#include "MensErro.h"
#include "Strings.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TMessages.h"
#include "TNotebook.h"

using namespace Qt::StringLiterals;

// The order of the dates is checked before their presence: with one date blank, Vd_Datas reports it.
void TfrmConFisc::Vd_ValidaCampos(bool Mandatory)
{
    if (nbkImposto->pageIndex() == TaxPage)
        Vd_Imposto(Mandatory);
    else
        Vd_LivroMag(Mandatory);
    Vd_Empresa(Mandatory);
    if (RegistrationKind() != TRegistrationKind::None)
        Vd_Inscricao(Mandatory);
    Vd_Modelo();
    Vd_TipoOper();
    if (cbbReportNames->currentText() != u"Pré-validação PIS/COFINS"_s && nbkImposto->pageIndex() == BookPage)
        Vd_ImposLivro();
    if (!EmptyString(depInicial->text()) && !EmptyString(depFinal->text())) {
        depInicial->CheckValidDate();
        depFinal->CheckValidDate();
        if (depInicial->GetDate() > depFinal->GetDate()) {
            depInicial->SetFocus();
            MensErro(msgPadrao->Msg(u"DtIni_inv"_s), true);
        }
    }
    Vd_Datas();
}
