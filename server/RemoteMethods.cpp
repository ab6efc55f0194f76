#include "RemoteMethods.h"

namespace fiscal {

namespace {

using K = ArgumentKind;

const QList<RemoteMethod>& remoteMethods() {
    static const QList<RemoteMethod> methods = {
        {QStringLiteral("GetImpoGrup"),
         {K::Text, K::Text},
         [](const RdmConferenciaFiscal& rdm, const QVariantList& a) {
             return MethodResult{rdm.GetImpoGrup(a[0].toString(), a[1].toString())};
         }},
        {QStringLiteral("GetLivroMag"),
         {K::Text},
         [](const RdmConferenciaFiscal& rdm, const QVariantList& a) {
             return MethodResult{rdm.GetLivroMag(a[0].toString())};
         }},
        {QStringLiteral("GetDtIni"),
         {K::Text, K::Text, K::Text},
         [](const RdmConferenciaFiscal& rdm, const QVariantList& a) {
             return MethodResult{rdm.GetDtIni(a[0].toString(), a[1].toString(), a[2].toString())};
         }},
        {QStringLiteral("GetDtFim"),
         {K::Text, K::Text, K::Date, K::Text},
         [](const RdmConferenciaFiscal& rdm, const QVariantList& a) {
             return MethodResult{
                 rdm.GetDtFim(a[0].toString(), a[1].toString(), a[2].toDate(), a[3].toString())};
         }},
        {QStringLiteral("GetVdDataIni"),
         {K::Text, K::Text, K::Date, K::Text},
         [](const RdmConferenciaFiscal& rdm, const QVariantList& a) {
             return MethodResult{
                 rdm.GetVdDataIni(a[0].toString(), a[1].toString(), a[2].toDate(), a[3].toString())};
         }},
        {QStringLiteral("GetVdDataFinal"),
         {K::Text, K::Text, K::Date, K::Text},
         [](const RdmConferenciaFiscal& rdm, const QVariantList& a) {
             return MethodResult{
                 rdm.GetVdDataFinal(a[0].toString(), a[1].toString(), a[2].toDate(), a[3].toString())};
         }},
        {QStringLiteral("getDadosGia"),
         {K::Text, K::Text, K::Date, K::Date, K::Text, K::Text, K::Text, K::List, K::List},
         [](const RdmConferenciaFiscal& rdm, const QVariantList& a) {
             return rdm.getDadosGia(GiaFilter::fromArguments(a));
         },
         true},
    };
    return methods;
}

} // namespace

const RemoteMethod* findRemoteMethod(const QString& name) {
    for (const RemoteMethod& method : remoteMethods())
        if (method.name == name)
            return &method;
    return nullptr;
}

} // namespace fiscal
