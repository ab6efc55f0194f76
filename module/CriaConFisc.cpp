#include "Modelo.h"

#include "BusyCursor.h"
#include "Strings.h"
#include "TApplication.h"
#include "TBtnPesquisa.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TEdit.h"
#include "TMaskEdit.h"
#include "TfrmConFisc.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The registration preset that stands for "no registration".
const QString NoRegistration = u"CONTRIBUICAO"_s;

void ApplyRegistration(TfrmConFisc& screen, const QString& registration)
{
    if (registration == NoRegistration) {
        screen.edtInscricao->setColor(TColor::clWindow);
        screen.edtInscricao->setText(QString());
        screen.edtInscricao->setEnabled(false);
        screen.btnInscricao->setEnabled(false);
    } else {
        screen.edtInscricao->setEnabled(true);
        screen.btnInscricao->setEnabled(true);
        screen.edtInscricao->setColor(TColor::clInfoBk);
        screen.edtInscricao->setText(registration);
    }
}

} // namespace

void CriaConFisc(const QString& imposto, const QString& empresa, const QString& inscricao, const QString& dataInicial,
                 const QString& dataFinal)
{
    const BusyCursor busy;
    if (!boStCriado) {
        TApplication::instance().CreateForm(frmConFisc);
        boStCriado = true;
    }
    if (!imposto.isEmpty()) {
        TComboBox* reports = frmConFisc->cbbReportNames;
        reports->setItemIndex(
            std::max(0, reports->findText(u"Nota Fiscal Pendente"_s, Qt::MatchExactly | Qt::MatchCaseSensitive)));
        frmConFisc->medImposto->setText(imposto);
        frmConFisc->medEmpresa->setText(empresa);
        ApplyRegistration(*frmConFisc, inscricao);
        frmConFisc->cbbEntrSaid->setItemIndex(2);
        frmConFisc->depInicial->SetDate(StrToDate(dataInicial));
        frmConFisc->depFinal->SetDate(StrToDate(dataFinal));
    }
    frmConFisc->Show();
    frmConFisc->SetWindowState(Qt::WindowNoState);
}
