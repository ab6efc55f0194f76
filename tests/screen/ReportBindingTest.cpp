// The screen's values handed to a report query's parameters, and the GIA SP documents fetched before them, against
// the real server through the recording relay.
#include "LookupFixture.h"

#include "Exceptions.h"
#include "TClientDataSet.h"
#include "TComboBox.h"
#include "TDateEditPlus.h"
#include "TParams.h"

using namespace Qt::StringLiterals;

namespace {

using ReportBindingTest = LookupTest;

const QString GiaSp = u"Listagem de Documentos - GIA SP"_s;
const QString Pendentes = u"Nota Fiscal Pendente"_s;

const QStringList Fourteen = {u"P_CDIMPOSTO"_s,    u"P_CDLIVROMAG"_s,   u"P_EMPRESA"_s,      u"P_CDINSCESTA"_s,
                              u"P_CDINSCMUNI"_s,   u"P_IDENTRSAIDOP"_s, u"P_DTINICIO"_s,     u"P_DTFINAL"_s,
                              u"P_CDFISCOPERIT"_s, u"P_CDSITUTRIBIT"_s, u"P_CDMODDOCFISC"_s, u"P_TCDMODDOCFISC"_s,
                              u"P_CDTIPOOPER"_s,   u"P_TCDTIPOOPER"_s};

void Choose(TfrmConFisc& screen, const QString& title)
{
    auto* reports = screen.findChild<TComboBox*>(u"cbbReportNames"_s);
    reports->setItemIndex(reports->findText(title));
}

// ICMS, book, company 01 and its registration, exits of March 2025, CFOP 5.102, CST 01, two models, one type.
void FillMarch(TfrmConFisc& s)
{
    s.medImposto->setText(u"01"_s);
    s.medLivro->setText(u"0000000010"_s);
    s.medEmpresa->setText(u"01"_s);
    s.edtInscricao->setText(u"123456785119"_s);
    s.cbbEntrSaid->setItemIndex(1);
    s.depInicial->SetDate(QDate(2025, 3, 1));
    s.depFinal->SetDate(QDate(2025, 3, 31));
    s.medCfop->setText(u"5102"_s);
    s.medCst->setText(u"01"_s);
    stListaMod = u"55,65"_s;
    stListaTp = u"SVD"_s;
}

// The parameters as "NAME=value", a date as "NAME=date:yyyy-MM-dd", a null one as "NAME=null".
QStringList Values(const TParams& params)
{
    QStringList values;
    for (int i = 0; i < params.Count(); ++i) {
        const TParam* param = params.Items(i);
        const QVariant value = param->Value();
        values.append(param->Name() + u'=' +
                      (param->IsNull()                      ? u"null"_s
                       : value.typeId() == QMetaType::QDate ? u"date:"_s + value.toDate().toString(Qt::ISODate)
                                                            : value.toString()));
    }
    return values;
}

} // namespace

TEST_F(ReportBindingTest, EachNameTheQueryDeclaresGetsTheScreensValue)
{
    struct Case {
        const char* name;
        std::function<void(TfrmConFisc&)> fill;
        QStringList declared; // besides P_OUTRO, which no one writes
        QStringList values;
    };
    const QList<Case> cases = {
        {"every field filled",
         FillMarch,
         Fourteen,
         {u"P_CDIMPOSTO=01"_s, u"P_CDLIVROMAG=0000000010"_s, u"P_EMPRESA=01"_s, u"P_CDINSCESTA=123456785119"_s,
          u"P_CDINSCMUNI=123456785119"_s, u"P_IDENTRSAIDOP=S"_s, u"P_DTINICIO=date:2025-03-01"_s,
          u"P_DTFINAL=date:2025-03-31"_s, u"P_CDFISCOPERIT=5102"_s, u"P_CDSITUTRIBIT=01"_s, u"P_CDMODDOCFISC=55,65"_s,
          u"P_TCDMODDOCFISC="_s, u"P_CDTIPOOPER=SVD"_s, u"P_TCDTIPOOPER="_s}},
        {"every field blank: the empty text, all-rows flags, no direction",
         [](TfrmConFisc& s) {
             s.cbbEntrSaid->setItemIndex(-1);
             stListaMod.clear();
             stListaTp.clear();
         },
         Fourteen,
         {u"P_CDIMPOSTO="_s, u"P_CDLIVROMAG="_s, u"P_EMPRESA="_s, u"P_CDINSCESTA="_s, u"P_CDINSCMUNI="_s,
          u"P_IDENTRSAIDOP=kept"_s, u"P_DTINICIO=null"_s, u"P_DTFINAL=null"_s, u"P_CDFISCOPERIT=T"_s,
          u"P_CDSITUTRIBIT=T"_s, u"P_CDMODDOCFISC="_s, u"P_TCDMODDOCFISC=T"_s, u"P_CDTIPOOPER="_s,
          u"P_TCDTIPOOPER=T"_s}},
        {"Entrada and Todas",
         [](TfrmConFisc& s) { s.cbbEntrSaid->setItemIndex(2); },
         {u"P_IDENTRSAIDOP"_s},
         {u"P_IDENTRSAIDOP=T"_s}},
        {"only some names declared",
         FillMarch,
         {u"P_TCDTIPOOPER"_s, u"P_CDFISCOPERIT"_s, u"P_DTFINAL"_s},
         {u"P_TCDTIPOOPER="_s, u"P_CDFISCOPERIT=5102"_s, u"P_DTFINAL=date:2025-03-31"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TfrmConFisc& screen = start();
        Choose(screen, Pendentes);
        c.fill(screen);
        TParams params;
        params.SetNames(c.declared + QStringList{u"P_OUTRO"_s});
        for (int i = 0; i < params.Count(); ++i)
            params.Items(i)->SetAsString(u"kept"_s);
        bool allow = true;
        relay->clearCalls();

        screen.rpddPadraoBeforeGetQueryParams(params, allow);

        EXPECT_EQ(Values(params), c.values + QStringList{u"P_OUTRO=kept"_s});
        EXPECT_TRUE(allow);
        EXPECT_TRUE(relay->calls().isEmpty()) << "only the GIA SP listing asks the server";
    }
}

// The GIA SP listing asks the server for its documents at every firing, whatever the query declares; the lists are
// in-out: what the server gives back is bound and kept. A failure writes no parameter.
TEST_F(ReportBindingTest, TheGiaSpListingFetchesItsDocumentsFirst)
{
    TfrmConFisc& screen = start();
    Choose(screen, GiaSp);
    FillMarch(screen);
    stListaMod = u"65, 55,,55"_s;
    stListaTp.clear();
    relay->clearCalls();
    bool allow = true;

    TParams none;
    none.SetNames({u"P_OUTRO"_s});
    screen.rpddPadraoBeforeGetQueryParams(none, allow);
    TParams lists;
    lists.SetNames({u"P_CDMODDOCFISC"_s, u"P_TCDMODDOCFISC"_s, u"P_CDFISCOPERIT"_s});
    screen.rpddPadraoBeforeGetQueryParams(lists, allow);

    const QString call = uR"(getDadosGia ["01","123456785119","2025-03-01","2025-03-31","01","1","5102",)"_s;
    EXPECT_EQ(relay->calls(), (QStringList{call + uR"("65, 55,,55",""])"_s, call + uR"("55,65",""])"_s}));
    EXPECT_EQ(stListaMod, u"55,65"_s) << "the list as the server applied it";
    EXPECT_EQ(Values(lists), (QStringList{u"P_CDMODDOCFISC=55,65"_s, u"P_TCDMODDOCFISC="_s, u"P_CDFISCOPERIT=5102"_s}));
    EXPECT_TRUE(screen.cdsDadosGiaSP->Active());

    screen.medCfop->clear();
    relay->clearCalls();
    screen.rpddPadraoBeforeGetQueryParams(lists, allow);
    EXPECT_TRUE(relay->calls().value(0).contains(uR"("1","","55,65")"_s)) << "a blank CFOP goes as the empty text";

    stopServer();
    lists.ParamByName(u"P_CDFISCOPERIT"_s)->SetAsString(u"kept"_s);
    EXPECT_THROW(screen.rpddPadraoBeforeGetQueryParams(lists, allow), EConnectionError);
    EXPECT_EQ(lists.ParamByName(u"P_CDFISCOPERIT"_s)->AsString(), u"kept"_s);

    Choose(screen, Pendentes);
    screen.findChild<TComboBox*>(u"cbbReportNames"_s)->setItemText(0, u"listagem de documentos - gia sp"_s);
    Choose(screen, u"listagem de documentos - gia sp"_s);
    EXPECT_NO_THROW(screen.rpddPadraoBeforeGetQueryParams(lists, allow)) << "another title does not fetch";
}
