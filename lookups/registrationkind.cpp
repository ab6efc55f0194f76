// The registration kind: which registrations the registration field takes, set from the collecting-authority
// indicator of the tax or of the magnetic book, whichever was checked or listed last.
#include "TfrmConFisc.h"

#include "TBtnPesquisa.h"
#include "TEdit.h"

using namespace Qt::StringLiterals;

TfrmConFisc::TRegistrationKind TfrmConFisc::RegistrationKind() const
{
    if (btnInscricao->DataSource() == dtsInscEsta)
        return TRegistrationKind::State;
    if (btnInscricao->DataSource() == dtsInscMuni)
        return TRegistrationKind::Municipal;
    return TRegistrationKind::None;
}

// The comparison is exact: "e" is no state indicator. The registration already typed stays; without a kind the
// lookup keeps its last title and empty-list text.
void TfrmConFisc::SwitchRegistration(const QString& indicator)
{
    if (indicator == u"E"_s) {
        OfferRegistrations(dtsInscEsta, u"Inscrição Estadual"_s, u"Não há inscrição estadual cadastrada."_s);
    } else if (indicator == u"M"_s) {
        OfferRegistrations(dtsInscMuni, u"Inscrição Municipal"_s, u"Não há inscrição municipal cadastrada."_s);
    } else {
        btnInscricao->SetDataSource(nullptr);
        btnInscricao->setEnabled(false);
        edtInscricao->setEnabled(false);
    }
}

void TfrmConFisc::OfferRegistrations(TDataSource* source, const QString& title, const QString& emptyError)
{
    btnInscricao->EmptyError = emptyError;
    btnInscricao->SetDataSource(source);
    btnInscricao->Title = title;
    btnInscricao->setEnabled(true);
    edtInscricao->setEnabled(true);
}
