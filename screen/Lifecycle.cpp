// The screen's construction and its create, activate and close events.
#include "TfrmConFisc.h"

#include "HostSettings.h"
#include "TComboBox.h"
#include "TNetConnection.h"

using namespace Qt::StringLiterals;

TfrmConFisc::TfrmConFisc(QWidget* parent) : TfrmDadosGerRel(parent)
{
    setObjectName(u"frmConFisc"_s);
    CreateQueries();
    CreateClientDataSets();
    CreateDataSources();
    CreateConnection();
    FillMessageTable();
    CreateControls();
}

// When the host destroys the screen while the module stays loaded, the next IniProc creates a new one.
TfrmConFisc::~TfrmConFisc()
{
    if (frmConFisc == this) {
        frmConFisc = nullptr;
        boStCriado = false;
    }
}

void TfrmConFisc::FormCreate(QObject* Sender)
{
    TfrmDadosGerRel::FormCreate(Sender);
    netConFisc->SetConnected(true);
    cbbEntrSaid->setItemIndex(0);
    cbbReportNames->setItemIndex(1);
}

void TfrmConFisc::FormActivate(QObject* Sender)
{
    TfrmDadosGerRel::FormActivate(Sender);
    cbbReportNamesChange(cbbReportNames);
}

void TfrmConFisc::FormClose(QObject* Sender, TCloseAction& Action)
{
    TfrmDadosGerRel::FormClose(Sender, Action);
    netConFisc->SetConnected(false);
}

void TfrmConFisc::netConFiscBeforeConnect(TNetConnection& Sender)
{
    Sender.Port = WebPort();
    Sender.Host = WebURL();
}
