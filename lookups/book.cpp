// The magnetic book code field: books come from the application server; a book carries its own tax and its own
// collecting-authority indicator.
#include "TfrmConFisc.h"

#include "MensErro.h"
#include "Strings.h"
#include "TClientDataSet.h"
#include "TEdit.h"
#include "TMaskEdit.h"
#include "TMessages.h"

using namespace Qt::StringLiterals;

// Before the pick: every book (an empty code asks for all), and the registration kind of the first one listed.
void TfrmConFisc::btnLivroBeforePesq(QObject*, bool&)
{
    try {
        LoadFromServer(cdsLivro, u"GetLivroMag"_s, {u""_s});
    } catch (...) {
        medLivro->SetFocus();
        throw;
    }
    SwitchRegistration(cdsLivroIDORGARRECAD->AsString());
}

// The code first: writing it clears the description.
void TfrmConFisc::btnLivroAfterPesq(QObject*)
{
    medLivro->setText(cdsLivroCDLIVROMAG->AsString());
    edtNmLivro->setText(cdsLivroNMLIVROMAG->AsString());
}

// Only the book's name depends on the book: the registration stays.
void TfrmConFisc::medLivroChange(QObject*) { edtNmLivro->setText(QString()); }

// Unlike the other codes the book is checked whether or not its field is enabled. An empty field that may stay
// empty still runs the registration switch, on the book cdsLivro holds.
void TfrmConFisc::Vd_LivroMag(bool Mandatory)
{
    const bool empty = EmptyString(medLivro->text());
    try {
        if (empty) {
            if (Mandatory)
                MensErro(msgPadrao->Msg(u"Livro_Inf"_s), true);
        } else {
            medLivro->setText(Ajusta(medLivro->text(), 10));
            LoadFromServer(cdsLivro, u"GetLivroMag"_s, {medLivro->text()});
            if (cdsLivro->IsEmpty())
                MensErro(msgPadrao->Msg(u"Livro_Cad"_s), true);
            else
                edtNmLivro->setText(cdsLivroNMLIVROMAG->AsString());
        }
    } catch (...) {
        medLivro->SetFocus();
        throw;
    }
    SwitchRegistration(cdsLivroIDORGARRECAD->AsString());
}

void TfrmConFisc::medLivroExit(QObject*) { Vd_LivroMag(false); }
