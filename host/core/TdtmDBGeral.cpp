#include "TdtmDBGeral.h"

#include "TDBConnection.h"
#include "TDBTransaction.h"

#include <QCoreApplication>
#include <QPointer>

TdtmDBGeral::TdtmDBGeral(QObject* parent)
    : QObject(parent),
      adcGeral(new TDBConnection(this, QStringLiteral("adcGeral"))),
      dtbGeral(adcGeral),
      ibtGeral(new TDBTransaction(this, QStringLiteral("ibtGeral"), dtbGeral))
{
    setObjectName(QStringLiteral("dtmDBGeral"));
}

TdtmDBGeral* dtmDBGeral()
{
    static QPointer<TdtmDBGeral> module;
    if (!module)
        module = new TdtmDBGeral(QCoreApplication::instance());
    return module;
}
