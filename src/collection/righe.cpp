// Rows of the two grids added and removed by hand, and the ends a
// bookkeeping row moves money between, on a document being edited.

#include "collection/frmincassi.h"
#include "host/host.h"
#include "values/sqlquote.h"
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

// Where the money of the current bookkeeping row moves from or to: a store
// of the company (kind 0) or a venue not suspended (any other kind), chosen
// from a pick list. No choice leaves the row as it was.
bool FrmIncassi::ScegliEstremo(bool partenza) {
    if (!modifica_ || !nota_ || nota_->Bof() || nota_->Eof()) return false;
    const QString lato = partenza ? QStringLiteral("Partenza") : QStringLiteral("Destinazione");
    const bool magazzino = Num(nota_->Value(QStringLiteral("Tipo") + lato)) == 0;
    const QString titolo =
        QStringLiteral("%1 di %2")
            .arg(magazzino ? QStringLiteral("Magazzino") : QStringLiteral("Locale"),
                 partenza ? QStringLiteral("partenza") : QStringLiteral("destinazione"));
    QString codice, descrizione;
    if (magazzino) {
        auto rs = host_.OpenRecordSet(QStringLiteral("select * from anagraficamagazzini"));
        codice = ui_.ElencoScelta(rs, titolo, QStringLiteral("AnagMagazzini"),
                                  QStringLiteral("CodiceMagazzino"));
        if (codice.isEmpty()) return false;
        if (!rs->Find(QStringLiteral("codicemagazzino='%1'").arg(sql::Raddoppia(codice))))
            return false;
        codice = Txt(rs->Value(QStringLiteral("codicemagazzino")));
        descrizione = Txt(rs->Value(QStringLiteral("Descrizione")));
    } else {
        auto rs =
            host_.OpenRecordSet(QStringLiteral("select * from anagraficaLocali where sospeso=0"));
        codice =
            ui_.ElencoScelta(rs, titolo, QStringLiteral("AnagLocali"), QStringLiteral("CodLocale"));
        if (codice.isEmpty()) return false;
        if (!rs->Find(QStringLiteral("codlocale='%1'").arg(sql::Raddoppia(codice)))) return false;
        codice = Txt(rs->Value(QStringLiteral("CodLocale")));
        descrizione = Txt(rs->Value(QStringLiteral("insegna"))) + QStringLiteral(" - ") +
                      Txt(rs->Value(QStringLiteral("citta")));
    }
    nota_->SetValue(QStringLiteral("Codice") + lato, codice);
    nota_->SetValue(QStringLiteral("Descrizione") + lato, descrizione);
    nota_->Update();
    return true;
}

}  // namespace incassi
