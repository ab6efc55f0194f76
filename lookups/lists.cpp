// The document-model and operation-type filters: "Todos" or a list chosen from the local tables.
#include "TfrmConFisc.h"

#include "MensErro.h"
#include "PesquisaLista.h"
#include "Strings.h"
#include "TADOIBQuery.h"
#include "TBtnPesquisa.h"
#include "TMessages.h"
#include "TRadioButton.h"

using namespace Qt::StringLiterals;

void TfrmConFisc::rdbTodosModClick(QObject*)
{
    btnModDoc->setEnabled(!rdbTodosMod->isChecked());
    if (rdbTodosMod->isChecked())
        stListaMod.clear();
}

// The chosen list is kept: only "Todos" empties it.
void TfrmConFisc::rdbListaModClick(QObject*) { btnModDoc->setEnabled(rdbListaMod->isChecked()); }

void TfrmConFisc::rdbTodosTpClick(QObject*)
{
    btnTpOperacao->setEnabled(!rdbTodosTp->isChecked());
    if (rdbTodosTp->isChecked())
        stListaTp.clear();
}

void TfrmConFisc::rdbListaTpClick(QObject*) { btnTpOperacao->setEnabled(rdbListaTp->isChecked()); }

// The query is read again at every click, so a model added meanwhile is offered.
void TfrmConFisc::btnModDocClick(QObject*)
{
    qryModDoc->Close();
    qryModDoc->Open();
    const QString caption = msgPadrao->Msg(u"ModDoc"_s) + u'|' + msgPadrao->Msg(u"nao_ha_mod"_s);
    PesquisaLista(dtsModDoc, u"CDMODDOCFISC"_s, caption, false, stListaMod);
}

// Keyed by CHAVE (indicator and code), so an entry type and an exit type with one code are two choices.
void TfrmConFisc::btnTpOperacaoClick(QObject*)
{
    qrtTpOperacao->Close();
    qrtTpOperacao->Open();
    const QString caption = msgPadrao->Msg(u"TipoOper"_s) + u'|' + msgPadrao->Msg(u"nao_ha_tipo"_s);
    PesquisaLista(dtsTpOperacao, u"CHAVE"_s, caption, false, stListaTp);
}

// The focus first, then the message. A radio the report has disabled cannot take the focus: the message shows
// and the output stops all the same.
void TfrmConFisc::Vd_Modelo()
{
    if (rdbListaMod->isChecked() && EmptyString(stListaMod)) {
        rdbListaMod->SetFocus();
        MensErro(msgPadrao->Msg(u"Mod_Inf"_s), true);
    }
}

void TfrmConFisc::Vd_TipoOper()
{
    if (rdbListaTp->isChecked() && EmptyString(stListaTp)) {
        rdbListaTp->SetFocus();
        MensErro(msgPadrao->Msg(u"Tp_Inf"_s), true);
    }
}
