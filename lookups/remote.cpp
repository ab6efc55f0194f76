// Data from the application server's remote data module.
#include "TfrmConFisc.h"

#include "BusyCursor.h"
#include "CheckResultServ.h"
#include "TClientDataSet.h"
#include "TNetConnection.h"

// A failure of the connection, of the call or reported by the server reaches the caller, and the dataset keeps its
// rows.
void TfrmConFisc::LoadFromServer(TClientDataSet* dataSet, const QString& method, const QVariantList& arguments,
                                 const QList<QString*>& byReference)
{
    const BusyCursor busy;
    dataSet->SetData(CheckResultServ(netConFisc->AppServer().call(method, arguments, byReference), true, 0));
}
