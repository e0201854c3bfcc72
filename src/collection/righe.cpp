// Rows of the two grids added and removed by hand, on a document being edited.

#include "collection/frmincassi.h"
#include "values/values.h"
#include "window/uiport.h"

namespace incassi {

bool FrmIncassi::InserisciRigaNota() {
    if (!modifica_ || !nota_) return false;
    nota_->AddNew();
    nota_->SetValue(QStringLiteral("Dare"), 0.0);
    nota_->SetValue(QStringLiteral("Avere"), 0.0);
    nota_->Update();
    nota_->MoveLast();
    aggiornaSbilancio();
    return true;
}

bool FrmIncassi::EliminaRigaNota() {
    if (!modifica_ || !nota_ || nota_->Bof() || nota_->Eof()) return false;
    nota_->Delete();
    nota_->MoveFirst();
    aggiornaSbilancio();
    return true;
}

bool FrmIncassi::EliminaRigaApparecchio() {
    if (!modifica_ || !incassi_ || incassi_->Bof() || incassi_->Eof()) return false;
    // A stored row moved its machine's card and settled its advances: taking
    // it out of a correction would leave them behind.
    if (!IsNullOrEmpty(incassi_->Value(QStringLiteral("id")))) {
        ui_.Messaggio(QStringLiteral("La riga è già salvata con il documento: per toglierla "
                                     "eliminare il documento e registrarlo di nuovo."),
                      titolo_, Icona::Esclamazione);
        return false;
    }
    incassi_->Delete();
    incassi_->MoveFirst();
    storicoApparecchio_ = {};
    storicoDi_ = -1;
    dopoRigheCambiate();
    RigaCorrente();
    return true;
}

}  // namespace incassi
