#pragma once

#include "TfrmDadosGerRel.h"

#include <QString>
#include <QVariantList>

class TADOIBQuery;
class TBtnPesquisa;
class TClientDataSet;
class TComboBox;
class TDataSource;
class TDateEditPlus;
class TEdit;
class TField;
class TGroupBox;
class TLabel;
class TMaskEdit;
class TNetConnection;
class TNotebook;
class TParams;
class TRadioButton;
struct ReportDescription;
struct ReportParameter;

// The "Conferência Fiscal" screen (RLX58200): the parameters of the fiscal reconciliation reports of RLX582.
// One class, split by concern: Layout.cpp (controls, geometry, tab order), Components.cpp (queries, datasets,
// data sources, server connection, message table), Lifecycle.cpp (create, activate, close), Catalogue.cpp
// (which fields each report takes), and the parameter handlers under lookups/.
class TfrmConFisc : public TfrmDadosGerRel {
    Q_OBJECT
public:
    explicit TfrmConFisc(QWidget* parent = nullptr);
    ~TfrmConFisc() override;

    // Form events.
    void FormCreate(QObject* Sender) override;
    void FormActivate(QObject* Sender) override;
    void FormClose(QObject* Sender, TCloseAction& Action) override;
    void netConFiscBeforeConnect(TNetConnection& Sender);

    // Report catalogue: the line and the fields of the chosen report.
    void cbbReportNamesChange(QObject* Sender);
    void nbkImpostoPageChanged(QObject* Sender);
    void grbDadosRelEnter(QObject* Sender);

    // Parameter handlers.
    void medImpostoChange(QObject* Sender);
    void medEmpresaChange(QObject* Sender);
    void medLivroChange(QObject* Sender);
    void rdbTodosModClick(QObject* Sender);
    void rdbListaModClick(QObject* Sender);
    void rdbTodosTpClick(QObject* Sender);
    void rdbListaTpClick(QObject* Sender);

    // The validators (Vd_...) check one code: an empty field is an error only when Mandatory; a complaint shows its
    // message, puts the focus on the field and ends in EAbort. The exit handlers validate with Mandatory false.
    //
    // Tax: the list and the check of a typed code come from the application server; the tax decides the
    // registration kind.
    void btnImpostoBeforePesq(QObject* Sender, bool& Allow);
    void btnImpostoAfterPesq(QObject* Sender);
    void Vd_Imposto(bool Mandatory);
    void medImpostoExit(QObject* Sender);

    // Company, from the local table EMPRESA.
    void btnEmpresaBeforePesq(QObject* Sender, bool& Allow);
    void btnEmpresaAfterPesq(QObject* Sender);
    void Vd_Empresa(bool Mandatory);
    void medEmpresaExit(QObject* Sender);

    // Registration of the company in medEmpresa: state or municipal, as the registration kind says.
    void btnInscricaoBeforePesq(QObject* Sender, bool& Allow);
    void btnInscricaoAfterPesq(QObject* Sender);
    void Vd_Inscricao(bool Mandatory);
    void edtInscricaoExit(QObject* Sender);

    // Magnetic book, from the application server; like the tax, the book decides the registration kind.
    void btnLivroBeforePesq(QObject* Sender, bool& Allow);
    void btnLivroAfterPesq(QObject* Sender);
    void Vd_LivroMag(bool Mandatory);
    void medLivroExit(QObject* Sender);

    // Period: start and end dates picked from the apportionment-map periods the application server holds for the
    // company, registration and period tax code on the screen. Leaving a date edit only checks that it is a date.
    void btnDataInicialBeforePesq(QObject* Sender, bool& Allow);
    void btnDataInicialAfterPesq(QObject* Sender);
    void btnDataFinalBeforePesq(QObject* Sender, bool& Allow);
    void btnDataFinalAfterPesq(QObject* Sender);
    void depInicialExit(QObject* Sender);
    void depFinalExit(QObject* Sender);
    // Both dates informed: the start date first; the focus goes to the first empty one.
    void Vd_Datas();
    // On the magnetic-book line: the application server knows a map for the start date and one for the end date.
    // Both calls are made before deciding; a missing map puts the focus on depInicial.
    void Vd_ImposLivro();
    // The tax the period calls send: medImposto's text on the tax line, otherwise the tax of cdsLivro's current
    // book ("" when it holds none). Read afresh at each call.
    QString PeriodTaxCode() const;

    // Document-model and operation-type lists: "Lista" with nothing chosen is refused on output.
    void btnModDocClick(QObject* Sender);
    void btnTpOperacaoClick(QObject* Sender);
    void Vd_Modelo();
    void Vd_TipoOper();

    // Output: the four buttons validate the whole screen, in a fixed order, before the base form runs the report.
    void Vd_ValidaCampos(bool Mandatory);
    void sbtPrintClick(QObject* Sender) override;
    void sbtPreviewClick(QObject* Sender) override;
    void sbtSalvarComoClick(QObject* Sender) override;
    void sbtReportEditClick(QObject* Sender) override;
    // Before each query of a report runs: the GIA SP listing first fetches its documents (and may have its lists
    // rewritten by the server); then each of the fourteen known parameters the query declares gets the screen's value.
    void rpddPadraoBeforeGetQueryParams(TParams& Params, bool& Allow);
    // Once the queries have run: the first page's parameter block in the analyst's words, for each field whose
    // parameters a query declared ("CST: 060", "Modelos: todos") or that is filled in but applies to no query ("CST:
    // não se aplica a este relatório"); the company as the subject of the files.
    ReportDescription rpddPadraoDescribeParams(const QList<ReportParameter>& Params);

    // What the registration field takes, read from the data source of btnInscricao: dtsInscEsta state
    // registrations, dtsInscMuni municipal ones, no data source none.
    enum class TRegistrationKind { State, Municipal, None };
    TRegistrationKind RegistrationKind() const;

    // The pages of nbkImposto: the tax line and the magnetic-book line.
    static constexpr int TaxPage = 0;
    static constexpr int BookPage = 1;

    // Controls.
    TNotebook* nbkImposto;
    TLabel* lblImposto;
    TMaskEdit* medImposto;
    TBtnPesquisa* btnImposto;
    TEdit* edtNmImposto;
    TLabel* lblLivro;
    TMaskEdit* medLivro;
    TBtnPesquisa* btnLivro;
    TEdit* edtNmLivro;
    TLabel* lblEmpresa;
    TMaskEdit* medEmpresa;
    TBtnPesquisa* btnEmpresa;
    TEdit* edtNmEmpresa;
    TLabel* lblInscEst;
    TEdit* edtInscricao;
    TBtnPesquisa* btnInscricao;
    TLabel* lblEntrSaid;
    TComboBox* cbbEntrSaid;
    TLabel* lblDataInicial;
    TDateEditPlus* depInicial;
    TBtnPesquisa* btnDataInicial;
    TLabel* lblDataFinal;
    TDateEditPlus* depFinal;
    TBtnPesquisa* btnDataFinal;
    TLabel* lblCfop;
    TMaskEdit* medCfop;
    TLabel* lblCst;
    TMaskEdit* medCst;
    TGroupBox* grbModDoc;
    TRadioButton* rdbTodosMod;
    TRadioButton* rdbListaMod;
    TBtnPesquisa* btnModDoc;
    TGroupBox* grbTpOperacao;
    TRadioButton* rdbTodosTp;
    TRadioButton* rdbListaTp;
    TBtnPesquisa* btnTpOperacao;

    // Local queries and their fields.
    TADOIBQuery* qryEmpresa;
    TField* qryEmpresaCDEMPRESA;
    TField* qryEmpresaNMEMPRESA;
    TADOIBQuery* qryInscEsta;
    TField* qryInscEstaCDINSCESTA;
    TADOIBQuery* qryInscMuni;
    TField* qryInscMuniCDINSCMUNI;
    TADOIBQuery* qryModDoc;
    TField* qryModDocCDMODDOCFISC;
    TField* qryModDocDSMODDOCFISC;
    TADOIBQuery* qrtTpOperacao;
    TField* qrtTpOperacaoCDTIPOOPER;
    TField* qrtTpOperacaoNMTIPOOPER;
    TField* qrtTpOperacaoIDENTRSAIDOP;
    TField* qrtTpOperacaoCHAVE;

    // Client datasets filled by the application server, and their fields.
    TClientDataSet* cdsImpo;
    TField* cdsImpoCDIMPOSTONFE;
    TField* cdsImpoSGIMPOSTONFE;
    TField* cdsImpoIDORGARRECADNFE;
    TClientDataSet* cdsLivro;
    TField* cdsLivroCDLIVROMAG;
    TField* cdsLivroNMLIVROMAG;
    TField* cdsLivroCDIMPOSTOLIVRO;
    TField* cdsLivroIDORGARRECAD;
    TClientDataSet* cdsDataInicial;
    TField* cdsDataInicialDTINICIAL;
    TField* cdsDataInicialDTFIMPERIODO;
    TField* cdsDataInicialNMMAPAAPUR;
    TField* cdsDataInicialDTINIPERIODO;
    TField* cdsDataInicialCDIMPOSTO;
    TClientDataSet* cdsDataFinal;
    TField* cdsDataFinalDTINIPERIODO;
    TField* cdsDataFinalDTFIMPERIODO;
    TField* cdsDataFinalNMMAPAAPUR;
    TField* cdsDataFinalCDIMPOSTO;
    TField* cdsDataFinalDTINICIAL;
    TField* cdsDataFinalDTFINAL;
    TClientDataSet* cdsVdDataIni;
    TField* cdsVdDataIniDTINIPERIODO;
    TField* cdsVdDataIniDTINICIAL;
    TClientDataSet* cdsVdDataFinal;
    TField* cdsVdDataFinalDTFIMPERIODO;
    TField* cdsVdDataFinalDTFINAL;
    TClientDataSet* cdsDadosGiaSP;
    TField* cdsDadosGiaSPCDFISCOPERNF;
    TField* cdsDadosGiaSPNRNOTAFISC;
    TField* cdsDadosGiaSPIDENTRSAIDOP;
    TField* cdsDadosGiaSPDTEMISSAO;
    TField* cdsDadosGiaSPDTENTRSAID;
    TField* cdsDadosGiaSPVRCONTABILNF;
    TField* cdsDadosGiaSPVRBASECALCNF;
    TField* cdsDadosGiaSPVRIMPOSTONF;
    TField* cdsDadosGiaSPVRISENTO;
    TField* cdsDadosGiaSPVROUTROS;
    TField* cdsDadosGiaSPVRIMPST;
    TField* cdsDadosGiaSPVRIMPIPI;

    // Data sources.
    TDataSource* dtsImposto;
    TDataSource* dtsLivro;
    TDataSource* dtsEmpresa;
    TDataSource* dtsInscEsta;
    TDataSource* dtsInscMuni;
    TDataSource* dtsDataInicial;
    TDataSource* dtsDataFinal;
    TDataSource* dtsModDoc;
    TDataSource* dtsTpOperacao;
    TDataSource* dspVdMapa;
    TDataSource* dtsVdFinal;
    TDataSource* dtsDadosGiaSP;

    // The application server's remote data module.
    TNetConnection* netConFisc;

private:
    // Selects the report of the presets in the inherited report combo.
    friend void CriaConFisc(const QString&, const QString&, const QString&, const QString&, const QString&);

    void CreateControls();
    void CreateTaxLine();
    void CreateBookLine();
    void CreateParameterFields();
    void CreateListGroups();
    void SetTabOrder();
    void SetLookupButtons();
    void CreateQueries();
    void CreateClientDataSets();
    void CreateDataSources();
    void CreateConnection();
    void FillMessageTable();
    void KeepNameBoxesDisabled();

    // The registration switch: the collecting-authority indicator of the tax or book ("E" state, "M" municipal,
    // anything else none) sets the registration lookup and enables or disables the registration field.
    void SwitchRegistration(const QString& indicator);
    void OfferRegistrations(TDataSource* source, const QString& title, const QString& emptyError);
    // Replaces the dataset's rows with the packet of a remote method of netConFisc, under the busy cursor; the
    // by-reference texts take what the server leaves in them.
    void LoadFromServer(TClientDataSet* dataSet, const QString& method, const QVariantList& arguments,
                        const QList<QString*>& byReference = {});
};

// Module-level state of the screen's unit, kept by the module (module/Modelo.cpp).
extern TfrmConFisc* frmConFisc; // the one screen, while it exists
extern bool boStCriado;         // the screen has been created
extern QString stListaMod;      // chosen document-model codes, comma-separated; empty: every model
extern QString stListaTp;       // chosen operation-type keys, comma-separated; empty: every type
