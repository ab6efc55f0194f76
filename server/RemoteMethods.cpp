#include "RemoteMethods.h"

using namespace Qt::StringLiterals;

namespace fiscal {

namespace {

using K = ArgumentKind;

const QList<RemoteMethod>& remoteMethods()
{
    static const QList<RemoteMethod> methods = {
        {u"GetImpoGrup"_s,
         {K::Text, K::Text},
         [](const RdmConferenciaFiscal& rdm, const QVariantList& a) {
             return MethodResult{rdm.GetImpoGrup(a[0].toString(), a[1].toString())};
         }},
        {u"GetLivroMag"_s,
         {K::Text},
         [](const RdmConferenciaFiscal& rdm, const QVariantList& a) {
             return MethodResult{rdm.GetLivroMag(a[0].toString())};
         }},
        {u"GetDtIni"_s,
         {K::Text, K::Text, K::Text},
         [](const RdmConferenciaFiscal& rdm, const QVariantList& a) {
             return MethodResult{rdm.GetDtIni(a[0].toString(), a[1].toString(), a[2].toString())};
         }},
        {u"GetDtFim"_s,
         {K::Text, K::Text, K::Date, K::Text},
         [](const RdmConferenciaFiscal& rdm, const QVariantList& a) {
             return MethodResult{rdm.GetDtFim(a[0].toString(), a[1].toString(), a[2].toDate(), a[3].toString())};
         }},
        {u"GetVdDataIni"_s,
         {K::Text, K::Text, K::Date, K::Text},
         [](const RdmConferenciaFiscal& rdm, const QVariantList& a) {
             return MethodResult{rdm.GetVdDataIni(a[0].toString(), a[1].toString(), a[2].toDate(), a[3].toString())};
         }},
        {u"GetVdDataFinal"_s,
         {K::Text, K::Text, K::Date, K::Text},
         [](const RdmConferenciaFiscal& rdm, const QVariantList& a) {
             return MethodResult{rdm.GetVdDataFinal(a[0].toString(), a[1].toString(), a[2].toDate(), a[3].toString())};
         }},
        {u"getDadosGia"_s,
         {K::Text, K::Text, K::Date, K::Date, K::Text, K::Text, K::Text, K::List, K::List},
         [](const RdmConferenciaFiscal& rdm, const QVariantList& a) {
             return rdm.getDadosGia(GiaFilter::fromArguments(a));
         },
         true},
    };
    return methods;
}

} // namespace

const RemoteMethod* findRemoteMethod(const QString& name)
{
    for (const RemoteMethod& method : remoteMethods())
        if (method.name == name)
            return &method;
    return nullptr;
}

} // namespace fiscal
