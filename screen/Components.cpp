// The screen's non-visual components: local queries with their SQL texts, client datasets with their
// persistent fields, data sources, the application server's connection and the message table.
#include "TfrmConFisc.h"

#include "TADOIBQuery.h"
#include "TClientDataSet.h"
#include "TMessages.h"
#include "TNetConnection.h"
#include "TdtmDBGeral.h"

using namespace Qt::StringLiterals;

namespace {

using Type = TFieldType;

TField::Definition Text(const QString& name, int size, const QString& label = {})
{
    return {name, Type::String, size, label};
}

TField::Definition HiddenText(const QString& name, int size, int displayWidth = 0)
{
    return {name, Type::String, size, {}, false, displayWidth};
}

TField::Definition Date(const QString& name, const QString& label = {}, bool visible = true)
{
    return {name, Type::DateTime, 0, label, visible};
}

TField::Definition Amount(const QString& name) { return {name, Type::Float}; }

// A local query on the host data module's connection and transaction.
TADOIBQuery* NewQuery(QObject* owner, const QString& name)
{
    auto* query = new TADOIBQuery(owner, name);
    TdtmDBGeral* data = dtmDBGeral();
    query->setConnection(data->adcGeral);
    query->setDatabase(data->dtbGeral);
    query->setTransaction(data->ibtGeral);
    return query;
}

} // namespace

void TfrmConFisc::CreateQueries()
{
    qryEmpresa = NewQuery(this, u"qryEmpresa"_s);
    qryEmpresa->setSQL({u"SELECT CDEMPRESA, NMEMPRESA"_s, u"  FROM EMPRESA"_s,
                        u" WHERE (CDEMPRESA = :P_EMPRESA OR :P_TEMPRESA = 'T')"_s, u" ORDER BY CDEMPRESA"_s});
    qryEmpresaCDEMPRESA = qryEmpresa->Query()->AddField(Text(u"CDEMPRESA"_s, 2, u"Código"_s));
    qryEmpresaNMEMPRESA = qryEmpresa->Query()->AddField(Text(u"NMEMPRESA"_s, 40, u"Nome"_s));

    qryInscEsta = NewQuery(this, u"qryInscEsta"_s);
    qryInscEsta->setSQL({u"SELECT CDINSCESTA"_s, u"  FROM INSCRESTAD"_s, u" WHERE CDEMPRESA  = :P_CDEMPRESA"_s,
                         u"   AND (CDINSCESTA = :P_CDINSCESTA OR :P_TCDINSCESTA = 'T')"_s, u" ORDER BY CDINSCESTA"_s,
                         u" "_s});
    qryInscEstaCDINSCESTA = qryInscEsta->Query()->AddField(Text(u"CDINSCESTA"_s, 16, u"Código"_s));

    qryInscMuni = NewQuery(this, u"qryInscMuni"_s);
    qryInscMuni->setSQL({u"SELECT CDINSCMUNI"_s, u"  FROM INSCRMUNICIP"_s, u" WHERE CDEMPRESA   = :P_CDEMPRESA"_s,
                         u"   AND (CDINSCMUNI = :P_CDINSCMUNI OR :P_TCDINSCMUNI = 'T')"_s, u" ORDER BY CDINSCMUNI"_s,
                         u" "_s});
    TField::Definition registration = Text(u"CDINSCMUNI"_s, 16, u"Código"_s);
    registration.required = true;
    qryInscMuniCDINSCMUNI = qryInscMuni->Query()->AddField(registration);

    qryModDoc = NewQuery(this, u"qryModDoc"_s);
    qryModDoc->setSQL(
        {u"SELECT CDMODDOCFISC, DSMODDOCFISC"_s, u"  FROM MODDOCFISC"_s, u" ORDER BY CDMODDOCFISC"_s, u""_s, u" "_s});
    qryModDocCDMODDOCFISC = qryModDoc->Query()->AddField(Text(u"CDMODDOCFISC"_s, 2, u"Código"_s));
    qryModDocDSMODDOCFISC = qryModDoc->Query()->AddField(Text(u"DSMODDOCFISC"_s, 40, u"Nome"_s));

    qrtTpOperacao = NewQuery(this, u"qrtTpOperacao"_s);
    qrtTpOperacao->setSQL({u"SELECT"_s, u"   IDENTRSAIDOP, CDTIPOOPER,  NMTIPOOPER,"_s,
                           u"   IDENTRSAIDOP||CDTIPOOPER AS  CHAVE"_s, u"FROM"_s, u"   TIPOOPERAC"_s, u"ORDER BY"_s,
                           u"   IDENTRSAIDOP, CDTIPOOPER"_s, u" "_s});
    TDataSet* types = qrtTpOperacao->Query();
    qrtTpOperacaoCDTIPOOPER = types->AddField(Text(u"CDTIPOOPER"_s, 2, u"Código"_s));
    qrtTpOperacaoNMTIPOOPER = types->AddField(Text(u"NMTIPOOPER"_s, 30, u"Nome"_s));
    qrtTpOperacaoIDENTRSAIDOP = types->AddField(Text(u"IDENTRSAIDOP"_s, 1, u"Entrada/Saída"_s));
    qrtTpOperacaoCHAVE = types->AddField(HiddenText(u"CHAVE"_s, 7));
}

void TfrmConFisc::CreateClientDataSets()
{
    cdsImpo = new TClientDataSet(this, u"cdsImpo"_s);
    cdsImpoCDIMPOSTONFE = cdsImpo->AddField(Text(u"CDIMPOSTONFE"_s, 2, u"Codigo"_s));
    cdsImpoSGIMPOSTONFE = cdsImpo->AddField(Text(u"SGIMPOSTONFE"_s, 10, u"Sigla"_s));
    cdsImpoIDORGARRECADNFE = cdsImpo->AddField(HiddenText(u"IDORGARRECADNFE"_s, 1));

    cdsLivro = new TClientDataSet(this, u"cdsLivro"_s);
    cdsLivroCDLIVROMAG = cdsLivro->AddField({u"CDLIVROMAG"_s, Type::String, 10, u"Código"_s, true, 15});
    cdsLivroNMLIVROMAG = cdsLivro->AddField(Text(u"NMLIVROMAG"_s, 50, u"Descrição"_s));
    cdsLivroCDIMPOSTOLIVRO = cdsLivro->AddField(HiddenText(u"CDIMPOSTOLIVRO"_s, 2));
    cdsLivroIDORGARRECAD = cdsLivro->AddField(HiddenText(u"IDORGARRECAD"_s, 1));

    cdsDataInicial = new TClientDataSet(this, u"cdsDataInicial"_s);
    cdsDataInicialDTINICIAL = cdsDataInicial->AddField({u"DTINICIAL"_s, Type::String, 10, u"Data Inicial"_s, true, 18});
    cdsDataInicialDTFIMPERIODO = cdsDataInicial->AddField(Date(u"DTFIMPERIODO"_s, u"Data Final"_s));
    cdsDataInicialNMMAPAAPUR = cdsDataInicial->AddField(Text(u"NMMAPAAPUR"_s, 30, u"Nome"_s));
    cdsDataInicialDTINIPERIODO = cdsDataInicial->AddField(Date(u"DTINIPERIODO"_s, {}, false));
    cdsDataInicialCDIMPOSTO = cdsDataInicial->AddField(HiddenText(u"CDIMPOSTO"_s, 2));

    cdsDataFinal = new TClientDataSet(this, u"cdsDataFinal"_s);
    cdsDataFinalDTINIPERIODO = cdsDataFinal->AddField(Date(u"DTINIPERIODO"_s, u"Data Inicial"_s));
    cdsDataFinalDTFIMPERIODO = cdsDataFinal->AddField(Date(u"DTFIMPERIODO"_s, u"Data Final"_s));
    cdsDataFinalNMMAPAAPUR = cdsDataFinal->AddField(Text(u"NMMAPAAPUR"_s, 30, u"Nome"_s));
    cdsDataFinalCDIMPOSTO = cdsDataFinal->AddField(HiddenText(u"CDIMPOSTO"_s, 2));
    cdsDataFinalDTINICIAL = cdsDataFinal->AddField(HiddenText(u"DTINICIAL"_s, 10, 18));
    cdsDataFinalDTFINAL = cdsDataFinal->AddField(HiddenText(u"DTFINAL"_s, 10, 18));

    cdsVdDataIni = new TClientDataSet(this, u"cdsVdDataIni"_s);
    cdsVdDataIniDTINIPERIODO = cdsVdDataIni->AddField(Date(u"DTINIPERIODO"_s));
    cdsVdDataIniDTINICIAL = cdsVdDataIni->AddField(Text(u"DTINICIAL"_s, 10));

    cdsVdDataFinal = new TClientDataSet(this, u"cdsVdDataFinal"_s);
    cdsVdDataFinalDTFIMPERIODO = cdsVdDataFinal->AddField(Date(u"DTFIMPERIODO"_s));
    cdsVdDataFinalDTFINAL = cdsVdDataFinal->AddField(Text(u"DTFINAL"_s, 10));

    cdsDadosGiaSP = new TClientDataSet(this, u"cdsDadosGiaSP"_s);
    cdsDadosGiaSP->setProperty("ProviderName", u"adqDadosGiaSP.Query"_s);
    cdsDadosGiaSPCDFISCOPERNF = cdsDadosGiaSP->AddField(Text(u"CDFISCOPERNF"_s, 6));
    cdsDadosGiaSPNRNOTAFISC = cdsDadosGiaSP->AddField(Text(u"NRNOTAFISC"_s, 20));
    cdsDadosGiaSPIDENTRSAIDOP = cdsDadosGiaSP->AddField(Text(u"IDENTRSAIDOP"_s, 1));
    cdsDadosGiaSPDTEMISSAO = cdsDadosGiaSP->AddField(Date(u"DTEMISSAO"_s));
    cdsDadosGiaSPDTENTRSAID = cdsDadosGiaSP->AddField(Date(u"DTENTRSAID"_s));
    cdsDadosGiaSPVRCONTABILNF = cdsDadosGiaSP->AddField(Amount(u"VRCONTABILNF"_s));
    cdsDadosGiaSPVRBASECALCNF = cdsDadosGiaSP->AddField(Amount(u"VRBASECALCNF"_s));
    cdsDadosGiaSPVRIMPOSTONF = cdsDadosGiaSP->AddField(Amount(u"VRIMPOSTONF"_s));
    cdsDadosGiaSPVRISENTO = cdsDadosGiaSP->AddField(Amount(u"VRISENTO"_s));
    cdsDadosGiaSPVROUTROS = cdsDadosGiaSP->AddField(Amount(u"VROUTROS"_s));
    cdsDadosGiaSPVRIMPST = cdsDadosGiaSP->AddField(Amount(u"VRIMPST"_s));
    cdsDadosGiaSPVRIMPIPI = cdsDadosGiaSP->AddField(Amount(u"VRIMPIPI"_s));
}

void TfrmConFisc::CreateDataSources()
{
    dtsImposto = new TDataSource(this, u"dtsImposto"_s, cdsImpo);
    dtsLivro = new TDataSource(this, u"dtsLivro"_s, cdsLivro);
    dtsEmpresa = new TDataSource(this, u"dtsEmpresa"_s, qryEmpresa->Query());
    dtsInscEsta = new TDataSource(this, u"dtsInscEsta"_s, qryInscEsta->Query());
    dtsInscMuni = new TDataSource(this, u"dtsInscMuni"_s, qryInscMuni->Query());
    dtsDataInicial = new TDataSource(this, u"dtsDataInicial"_s, cdsDataInicial);
    dtsDataFinal = new TDataSource(this, u"dtsDataFinal"_s, cdsDataFinal);
    dtsModDoc = new TDataSource(this, u"dtsModDoc"_s, qryModDoc->Query());
    dtsTpOperacao = new TDataSource(this, u"dtsTpOperacao"_s, qrtTpOperacao->Query());
    dspVdMapa = new TDataSource(this, u"dspVdMapa"_s, cdsVdDataIni);
    dtsVdFinal = new TDataSource(this, u"dtsVdFinal"_s, cdsVdDataFinal);
    dtsDadosGiaSP = new TDataSource(this, u"dtsDadosGiaSP"_s, cdsDadosGiaSP);
}

void TfrmConFisc::CreateConnection()
{
    netConFisc = new TNetConnection(this);
    netConFisc->setObjectName(u"netConFisc"_s);
    netConFisc->ServerName = u"rlx58200.rdmConferenciaFiscal"_s;
    netConFisc->ThrowException = false;
    netConFisc->BeforeConnect = [this](TNetConnection& sender) { netConFiscBeforeConnect(sender); };
}

void TfrmConFisc::FillMessageTable()
{
    msgPadrao->setLines({
        u"Arq_Rel_Err|O arquivo contendo a definição do relatório de código '%s' não foi encontrado no diretório '%s'."_s,
        u"NovoCaption|Título do relatório"_s,
        u"NovoPrompt|Informe o título do relatório:"_s,
        u"VD_TRAD|Validando tradução de relatórios"_s,
        u"ModDoc|Modelo de Documento"_s,
        u"nao_ha_mod|Não há modelo de documento cadastrado."_s,
        u"Impo_Cad|Imposto não cadastrado."_s,
        u"Impo_Inf|Imposto deve ser informado."_s,
        u"Empr_Inf|Empresa deve ser informada."_s,
        u"Empr_Cad|Empresa não cadastrada."_s,
        u"InscEsta_Cad|Inscrição Estadual não cadastrada."_s,
        u"InscEsta_Inf|Inscrição Estadual deve ser informada."_s,
        u"DtIni_inf|Data inicial deve ser informada."_s,
        u"DtFim_inf|Data final deve ser informada."_s,
        u"DtIni_inv|Data inicial deve ser menor ou igual à data final."_s,
        u"Mod_Inf|Modelo de documento deve ser informado."_s,
        u"Tp_Inf|Tipo de Operação deve ser informado."_s,
        u"TipoOper|Tipo de Operação"_s,
        u"nao_ha_tipo|Não há tipo de operação cadastrado."_s,
        u"Mapa_Inv|Não existe mapa de apuração para a data informada."_s,
        u"Livro_Cad|Livro Magnético não cadastrado."_s,
        u"Livro_Inf|Livro Magnético deve ser informado."_s,
        u"InscMuni_Cad|Inscrição Municipal não cadastrada."_s,
        u"InscMuni_Inf|Inscrição Municipal deve ser informada."_s,
        u"Mapa_Liv_Inv|Não existe mapa de apuração para data e livro magnético informados."_s,
    });
}
