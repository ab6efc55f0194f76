// The screen's values handed to the report's queries, before each one runs.
#include "TfrmConFisc.h"

#include "ReportRunner.h"
#include "Strings.h"
#include "TClientDataSet.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TEdit.h"
#include "TMaskEdit.h"
#include "TParams.h"

using namespace Qt::StringLiterals;

namespace {

// Entry/exit as the report queries take it, by the item of cbbEntrSaid: "Entrada", "Saída", "Todas".
const QStringList Directions = {u"E"_s, u"S"_s, u"T"_s};

} // namespace

// Texts go as the fields hold them, the empty one as the empty text; a failure fetching the GIA documents leaves
// every parameter as it was.
void TfrmConFisc::rpddPadraoBeforeGetQueryParams(TParams& Params, bool&)
{
    if (cbbReportNames->currentText() == u"Listagem de Documentos - GIA SP"_s)
        LoadFromServer(cdsDadosGiaSP, u"getDadosGia"_s,
                       {medEmpresa->text(), edtInscricao->text(), depInicial->GetDate(), depFinal->GetDate(),
                        medImposto->text(), QString::number(cbbEntrSaid->itemIndex()), medCfop->text()},
                       {&stListaMod, &stListaTp});

    const auto bind = [&Params](const QString& name, const QVariant& value) {
        if (ExistParam(Params, name))
            Params.ParamByName(name)->SetAsVariant(value);
    };
    const auto allOr = [](const QString& value) { return EmptyString(value) ? u"T"_s : value; };
    bind(u"P_CDIMPOSTO"_s, medImposto->text());
    bind(u"P_CDLIVROMAG"_s, medLivro->text());
    bind(u"P_EMPRESA"_s, medEmpresa->text());
    bind(u"P_CDINSCESTA"_s, edtInscricao->text());
    bind(u"P_CDINSCMUNI"_s, edtInscricao->text());
    if (const int direction = cbbEntrSaid->itemIndex(); direction >= 0 && direction < Directions.size())
        bind(u"P_IDENTRSAIDOP"_s, Directions[direction]);
    bind(u"P_DTINICIO"_s, depInicial->GetDate());
    bind(u"P_DTFINAL"_s, depFinal->GetDate());
    bind(u"P_CDFISCOPERIT"_s, allOr(medCfop->text()));
    bind(u"P_CDSITUTRIBIT"_s, allOr(medCst->text()));
    bind(u"P_CDMODDOCFISC"_s, EmptyString(stListaMod) ? u""_s : stListaMod);
    bind(u"P_TCDMODDOCFISC"_s, EmptyString(stListaMod) ? u"T"_s : u""_s);
    bind(u"P_CDTIPOOPER"_s, EmptyString(stListaTp) ? u""_s : stListaTp);
    bind(u"P_TCDTIPOOPER"_s, EmptyString(stListaTp) ? u"T"_s : u""_s);
}
