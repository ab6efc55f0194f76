// The registration field: a state or municipal registration of the company in medEmpresa, from the host's local
// tables, as the registration kind says; with kind none there is nothing to look up and any text is accepted.
#include "TfrmConFisc.h"

#include "MensErro.h"
#include "Strings.h"
#include "TADOIBQuery.h"
#include "TDataSet.h"
#include "TEdit.h"
#include "TMaskEdit.h"
#include "TMessages.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The query of one registration kind. Its parameters are named after its code field: P_<field> the code,
// P_T<field> the all-rows flag.
struct Registrations {
    TADOIBQuery* query;
    TField* code;
    QString informKey;
    QString unknownKey;

    TParam* codeParam() const { return query->ParamByName(u"P_"_s + code->FieldName()); }
    TParam* allRowsParam() const { return query->ParamByName(u"P_T"_s + code->FieldName()); }
};

std::optional<Registrations> RegistrationsOf(const TfrmConFisc& screen)
{
    switch (screen.RegistrationKind()) {
    case TfrmConFisc::TRegistrationKind::State:
        return Registrations{screen.qryInscEsta, screen.qryInscEstaCDINSCESTA, u"InscEsta_Inf"_s, u"InscEsta_Cad"_s};
    case TfrmConFisc::TRegistrationKind::Municipal:
        return Registrations{screen.qryInscMuni, screen.qryInscMuniCDINSCMUNI, u"InscMuni_Inf"_s, u"InscMuni_Cad"_s};
    case TfrmConFisc::TRegistrationKind::None:
        break;
    }
    return std::nullopt;
}

} // namespace

// Every registration of the company as typed, unchecked. A database failure reaches the caller with the focus
// where it was.
void TfrmConFisc::btnInscricaoBeforePesq(QObject*, bool&)
{
    const std::optional<Registrations> registrations = RegistrationsOf(*this);
    if (!registrations)
        return;
    registrations->query->Close();
    registrations->query->ParamByName(u"P_CDEMPRESA"_s)->SetAsString(medEmpresa->text());
    registrations->codeParam()->Clear();
    registrations->allRowsParam()->SetAsString(u"T"_s);
    registrations->query->Open();
}

void TfrmConFisc::btnInscricaoAfterPesq(QObject*)
{
    if (const std::optional<Registrations> registrations = RegistrationsOf(*this))
        edtInscricao->setText(registrations->code->AsString());
}

// The code is free text: it is looked up exactly as typed, blanks included.
void TfrmConFisc::Vd_Inscricao(bool Mandatory)
{
    const bool empty = EmptyString(edtInscricao->text());
    if (!edtInscricao->isEnabled())
        return;
    const std::optional<Registrations> registrations = RegistrationsOf(*this);
    if (!registrations)
        return; // no kind: any text is accepted, the empty one included
    try {
        if (empty) {
            if (Mandatory)
                MensErro(msgPadrao->Msg(registrations->informKey), true);
        } else {
            registrations->query->Close();
            registrations->query->ParamByName(u"P_CDEMPRESA"_s)->SetAsString(medEmpresa->text());
            registrations->codeParam()->SetAsString(edtInscricao->text());
            registrations->allRowsParam()->Clear();
            registrations->query->Open();
            if (registrations->query->IsEmpty())
                MensErro(msgPadrao->Msg(registrations->unknownKey), true);
        }
    } catch (...) {
        edtInscricao->SetFocus();
        throw;
    }
}

void TfrmConFisc::edtInscricaoExit(QObject*) { Vd_Inscricao(false); }
