// The period pickers: start and end dates picked from the apportionment-map periods that the application server
// holds for the company, registration and tax on the screen.
#include "TfrmConFisc.h"

#include "DataPacket.h"
#include "Strings.h"
#include "TClientDataSet.h"
#include "TDateEditPlus.h"
#include "TEdit.h"
#include "TMaskEdit.h"
#include "TNotebook.h"

using namespace Qt::StringLiterals;

QString TfrmConFisc::PeriodTaxCode() const
{
    if (nbkImposto->pageIndex() == TaxPage)
        return medImposto->text();
    return cdsLivroCDIMPOSTOLIVRO->AsString();
}

// Nothing has to be filled: empty texts are asked as they are.
void TfrmConFisc::btnDataInicialBeforePesq(QObject*, bool&)
{
    const QString tax = PeriodTaxCode();
    LoadFromServer(cdsDataInicial, u"GetDtIni"_s, {medEmpresa->text(), edtInscricao->text(), tax});
}

// The picked date is the text column, read in the format of the packets' text dates (the date edit then shows it in
// the host's format); the end date is not touched.
void TfrmConFisc::btnDataInicialAfterPesq(QObject*)
{
    depInicial->SetDate(StrToDate(cdsDataInicialDTINICIAL->AsString(), protocol::TextDateFormat));
}

// The end dates offered are those of the start date on the screen, also when it is empty.
void TfrmConFisc::btnDataFinalBeforePesq(QObject*, bool&)
{
    const QString tax = PeriodTaxCode();
    LoadFromServer(cdsDataFinal, u"GetDtFim"_s, {medEmpresa->text(), edtInscricao->text(), depInicial->GetDate(), tax});
}

void TfrmConFisc::btnDataFinalAfterPesq(QObject*)
{
    depFinal->SetDate(StrToDate(cdsDataFinalDTFINAL->AsString(), protocol::TextDateFormat));
}

void TfrmConFisc::depInicialExit(QObject*) { depInicial->CheckValidDate(); }

void TfrmConFisc::depFinalExit(QObject*) { depFinal->CheckValidDate(); }
