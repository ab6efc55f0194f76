#include "TdtmDBGeral.h"

#include "TDBConnection.h"
#include "TDBTransaction.h"

#include <QCoreApplication>
#include <QPointer>

using namespace Qt::StringLiterals;

TdtmDBGeral::TdtmDBGeral(QObject* parent)
    : QObject(parent), adcGeral(new TDBConnection(this, u"adcGeral"_s)), dtbGeral(adcGeral),
      ibtGeral(new TDBTransaction(this, u"ibtGeral"_s, dtbGeral))
{
    setObjectName(u"dtmDBGeral"_s);
}

TdtmDBGeral* dtmDBGeral()
{
    static QPointer<TdtmDBGeral> module;
    if (!module)
        module = new TdtmDBGeral(QCoreApplication::instance());
    return module;
}
