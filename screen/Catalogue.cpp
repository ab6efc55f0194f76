// Which line and which parameter fields each report takes, by its exact title.
#include "TfrmConFisc.h"

#include "SetChildEnabled.h"
#include "TBtnPesquisa.h"
#include "TComboBox.h"
#include "TEdit.h"
#include "TLabel.h"
#include "TMaskEdit.h"
#include "TNotebook.h"
#include "TRadioButton.h"

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

bool IsMagneticBookReport(const QString& title)
{
    static const std::array titles = {
        u"Operações por CST - SPED Contribuições"_s,
        u"Consolidação das Operações por CST - SPED Contribuições"_s,
        u"Operações por CFOP - SPED Contribuições"_s,
        u"Divergência BC - SPED Contribuições"_s,
        u"Pré-validação PIS/COFINS"_s,
    };
    return std::find(titles.begin(), titles.end(), title) != titles.end();
}

const QString GiaRs = u"Conferência GIA RS"_s;
const QString ApuracaoImpostos = u"Apuração de Impostos"_s;

} // namespace

void TfrmConFisc::cbbReportNamesChange(QObject*)
{
    const QString title = cbbReportNames->currentText();
    nbkImposto->setPageIndex(IsMagneticBookReport(title) ? BookPage : TaxPage);

    const bool takesFilters = title != GiaRs && title != ApuracaoImpostos;
    lblEntrSaid->setEnabled(takesFilters);
    cbbEntrSaid->setEnabled(lblEntrSaid->isEnabled());
    lblCfop->setEnabled(takesFilters);
    medCfop->setEnabled(lblCfop->isEnabled());
    lblCst->setEnabled(takesFilters);
    medCst->setEnabled(lblCst->isEnabled());
    rdbTodosMod->setEnabled(takesFilters);
    rdbListaMod->setEnabled(takesFilters);
    rdbTodosTp->setEnabled(takesFilters);
    rdbListaTp->setEnabled(takesFilters);

    const bool takesTaxOrBook = title != ApuracaoImpostos;
    nbkImposto->setEnabled(takesTaxOrBook);
    SetChildEnabled(nbkImposto, nbkImposto->isEnabled());
    KeepNameBoxesDisabled();
    lblInscEst->setEnabled(takesTaxOrBook);
    edtInscricao->setEnabled(lblInscEst->isEnabled());
    btnInscricao->setEnabled(lblInscEst->isEnabled());
    btnDataInicial->setEnabled(takesTaxOrBook);
    btnDataFinal->setEnabled(takesTaxOrBook);
    lblImposto->setEnabled(takesTaxOrBook);
    medImposto->setEnabled(takesTaxOrBook);
    btnImposto->setEnabled(takesTaxOrBook);
}

// The name boxes only show the name of their code; enabling the notebook's controls must not open them to typing.
void TfrmConFisc::KeepNameBoxesDisabled()
{
    edtNmImposto->setEnabled(false);
    edtNmLivro->setEnabled(false);
}

void TfrmConFisc::nbkImpostoPageChanged(QObject*)
{
    medImposto->setText(QString());
    medLivro->setText(QString());
    edtInscricao->setText(QString());
}

void TfrmConFisc::grbDadosRelEnter(QObject*)
{
    rdbTodosMod->setChecked(true);
    rdbTodosTp->setChecked(true);
}
