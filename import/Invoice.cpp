#include "Invoice.h"

#include <algorithm>

namespace fiscalimport {

namespace {

bool isExempt(QStringView code, IcmsCode kind)
{
    if (kind == IcmsCode::Csosn)
        return code == u"103" || code == u"300" || code == u"400";
    const QStringView situation = code.size() >= 2 ? code.last(2) : code;
    return situation == u"20" || situation == u"30" || situation == u"40" || situation == u"41";
}

} // namespace

void splitExemptAndOther(ItemTax& icms, Cents leftOut, IcmsCode code)
{
    const Cents amount = std::max<Cents>(leftOut, 0);
    icms.exempt = isExempt(icms.cst, code) ? amount : 0;
    icms.other = amount - icms.exempt;
}

} // namespace fiscalimport
