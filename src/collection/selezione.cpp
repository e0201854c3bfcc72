// The reactions of the collection window to the choice of a venue or a causal.

#include "bookkeeping/archivio.h"
#include "collection/frmincassi.h"
#include "host/host.h"
#include "values/causali.h"
#include "values/error.h"
#include "values/sqlquote.h"
#include "values/values.h"
#include "window/uiport.h"

namespace incassi {

void FrmIncassi::Saldi() {
    // The accounts the window read when it opened.
    if (conti_.vuoti()) return;
    const QString codLocale = finestra_[QStringLiteral("txeCodLocale")].text().trimmed();
    const QDate data = dataRegistrazione();
    if (!data.isValid()) return;
    const std::vector<Dec> saldi = Archivio(host_).Saldi(
        {conti_["ResiduiIncassi"], conti_["PrestitiALocale"]}, codLocale, data);
    finestra_[QStringLiteral("LllVarDebito")].setCaption(FormatoNumero(saldi[0].toDouble(), 2));
    finestra_[QStringLiteral("LabPrestitoPre")].setCaption(FormatoNumero(saldi[1].toDouble(), 2));
}

void FrmIncassi::avvisaHopperAperti(const QString& codLocale) {
    const int aperti =
        host_
            .OpenRecordSet(QStringLiteral("SELECT count(*) AS Aperti FROM NoteTeste WHERE "
                                          "CodLocale='%1' AND CodCausale='HOP' AND Chiuso=0")
                               .arg(sql::Raddoppia(codLocale)))
            ->Value(QStringLiteral("Aperti"))
            .toInt();
    if (aperti == 0) return;
    ui_.Messaggio(
        (aperti == 1 ? QStringLiteral("Il locale ha un documento hopper della sala "
                                      "(HOP) ancora aperto")
                     : QStringLiteral("Il locale ha %1 documenti hopper della sala (HOP) "
                                      "ancora aperti")
                           .arg(aperti)) +
            QStringLiteral(": il wizard della sala (menu Apparecchi) ne mostra i valori."),
        QStringLiteral("Hopper della sala"), Icona::Informazione);
}

bool FrmIncassi::righeDiAltroDocumento(const char* box, const QString& delleRighe, bool causale) {
    CasellaRicerca& c = casella(QLatin1String(box));
    const QString scelto = c.text().trimmed();
    if (!modifica_ || !incassi_ || incassi_->RecordCount() == 0 || delleRighe.isEmpty() ||
        scelto.compare(delleRighe, Qt::CaseInsensitive) == 0) {
        return false;
    }
    // "la causale", "il locale".
    const QString cosa = causale ? QStringLiteral("causale") : QStringLiteral("locale");
    const QString del = causale ? QStringLiteral("della causale") : QStringLiteral("del locale");
    const QString titolo = QStringLiteral("Cambio ") + cosa;
    bool scarta = false;
    if (nuovo_) {
        scarta = ui_.Messaggio(QStringLiteral("Le righe degli apparecchi caricate sono %1 %2: "
                                              "cambiando %3 verranno eliminate.\n"
                                              "Cambiare %3 ed eliminare le righe?")
                                   .arg(del, delleRighe, cosa),
                               titolo, Icona::Esclamazione, Pulsanti::SiNo,
                               Risposta::No) == Risposta::Si;
    } else {
        ui_.Messaggio(QStringLiteral("%1 di un documento salvato con righe di apparecchi non si "
                                     "può cambiare: le righe e le schede degli apparecchi sono %2 "
                                     "%3.")
                          .arg(causale ? QStringLiteral("La causale") : QStringLiteral("Il locale"),
                               del, delleRighe),
                      titolo, Icona::Esclamazione);
    }
    if (scarta) {
        // Only new rows: a new document has nothing stored.
        incassi_->CancelBatch();
        impronte_.clear();
        localeRighe_.clear();
        causaleRighe_.clear();
        dopoRigheCambiate();
        return false;
    }
    // The box goes back to the rows' code, and the window with it.
    c.ImpostaCodice(delleRighe);
    return true;
}

void FrmIncassi::SceltaLocale() {
    try {
        if (righeDiAltroDocumento("txeCodLocale", localeRighe_, false)) return;
        const QString codLocale = finestra_[QStringLiteral("txeCodLocale")].text().trimmed();
        const QString causale = finestra_[QStringLiteral("txeCodCausale")].text().trimmed();
        const QDate data = dataRegistrazione();
        // The note button.
        coloraNota(codLocale);
        // The venue's company.
        leggiLocale();
        if (!locale_->Eof()) {
            const QString azienda = Txt(locale_->Value(QStringLiteral("CodiceAzienda")));
            Controllo& combo = finestra_[QStringLiteral("CmbCodiceAzienda")];
            if (azienda != combo.text()) combo.selezionaPerValore(azienda);
        }
        // Remainders and loans.
        Saldi();
        // A new collection of a hall whose hopper documents are still open.
        if (nuovo_ && CausaleDi(causale) == Causale::INC6 &&
            qlonglong(Num(finestra_[QStringLiteral("EtiId")].caption())) == 0)
            avvisaHopperAperti(codLocale);
        // An advance may not precede a collection already recorded.
        if (modifica_ && CausaleDi(causale) == Causale::ACC && data.isValid()) {
            if (const auto dopo =
                    Archivio(host_).DocumentiDopo(QStringLiteral("INC6"), codLocale, data);
                dopo.numero > 0) {
                ui_.Messaggio(
                    QStringList{
                        QStringLiteral("Attenzione!!! Non può essere inserito un acconto "
                                       "precedente a un incasso."),
                        QStringLiteral("Sono presenti %1 registrazioni successive a quella che si "
                                       "vuole inserire")
                            .arg(dopo.numero),
                        QStringLiteral("Data Acconto :") + TestoData(data) +
                            QStringLiteral("   data Incasso :") + TestoData(dopo.ultimo),
                        QStringLiteral("Se si vuole inserire quest'acconto devono essere eliminati "
                                       "gli incassi "
                                       "successivi oppure modificare la data dell'acconto.")}
                        .join(u'\n'),
                    QStringLiteral("Errore data"), Icona::Critico);
                return;
            }
        }
        // The venue's refill machines for a refill document.
        if (modifica_ && CausaleDi(causale) == Causale::REF && incassi_ &&
            incassi_->RecordCount() == 0) {
            auto macchine = host_.OpenRecordSet(
                QStringLiteral(
                    "SELECT "
                    "MagSchede.id,MagProdottoFinito.ordineIncasso,MagProdottoFinito.Descrizione, "
                    "MagSchede.MoltiplicatoreIn, MagSchede.MoltiplicatoreOut, MagSchede.NomeGioco, "
                    "MagSchede.CodiceInterno, MagSchede.CodiceAAMS, MagSchede.Nullaosta, "
                    "MagSchede.CodiceABarre, "
                    "MagAnagArticoli.CatApparecchio, MagProdottoFinito.id as IdApparecchio, "
                    "MagProdottoFinito.CodLocale, MagProdottoDistinta.TipoArticolo, "
                    "MagAnagArticoli.TipoArticolo, "
                    "MagProdottoFinito.CodMagazzino, MagSchede.Obsoleto, MagSchede.Venduto, "
                    "MagSchede.Dismesso,MagProdottoFinito.codarticolo,MagSchede.TipologiaIncasso,"
                    "MagSchede.CodConcessionario  FROM ((MagProdottoDistinta INNER JOIN MagSchede "
                    "ON "
                    "MagProdottoDistinta.linkScheda = MagSchede.id) INNER JOIN MagProdottoFinito "
                    "ON "
                    "MagProdottoDistinta.IdProdottoFinito = MagProdottoFinito.id) INNER JOIN "
                    "MagAnagArticoli ON "
                    "MagProdottoFinito.CodArticolo = MagAnagArticoli.CodArticolo  WHERE "
                    "(((MagProdottoFinito.CodLocale)='%1') AND "
                    "((MagProdottoDistinta.TipoArticolo)=1) AND "
                    "((MagAnagArticoli.TipoArticolo)=4))and (MagSchede.TipologiaIncasso=6) order "
                    "by "
                    "MagProdottoFinito.ordineIncasso ;")
                    .arg(sql::Raddoppia(codLocale)));
            for (; !macchine->Eof(); macchine->MoveNext()) {
                RecordSet& m = *macchine;
                incassi_->AddNew();
                incassi_->SetValue(QStringLiteral("MoltiplicatoreIn"),
                                   m.Value(QStringLiteral("MoltiplicatoreIn")));
                incassi_->SetValue(QStringLiteral("Moltiplicatoreout"),
                                   m.Value(QStringLiteral("MoltiplicatoreOut")));
                incassi_->SetValue(QStringLiteral("linkscheda"), m.Value(QStringLiteral("id")));
                incassi_->SetValue(QStringLiteral("LinkApparecchio"),
                                   m.Value(QStringLiteral("IdApparecchio")));
                incassi_->SetValue(
                    QStringLiteral("Descrizione"),
                    Txt(m.Value(QStringLiteral("NomeGioco"))) + QStringLiteral(" - ") +
                        Txt(m.Value(QStringLiteral("CodiceInterno"))) + QStringLiteral(" - ") +
                        Txt(m.Value(QStringLiteral("CodiceAAMS"))));
                incassi_->SetValue(QStringLiteral("CodArticolo"),
                                   m.Value(QStringLiteral("codarticolo")));
                incassi_->SetValue(QStringLiteral("tipoincasso"),
                                   Txt(m.Value(QStringLiteral("TipologiaIncasso"))));
                incassi_->SetValue(QStringLiteral("CatApparecchio"),
                                   m.Value(QStringLiteral("CatApparecchio")));
                incassi_->Update();
            }
            if (incassi_->RecordCount() > 0) righeDelDocumento();
        }
        // The venue's recent documents.
        if (data.isValid()) storicoLocale_ = StoricoLocale(host_, codLocale, data);
        ImpostaLocale(false);
    } catch (const Errore& e) {
        ui_.Messaggio(QStringLiteral("Scelta del locale: ") + e.testo(), titolo_, Icona::Critico);
    }
}

void FrmIncassi::SceltaCausale() {
    try {
        if (righeDiAltroDocumento("txeCodCausale", causaleRighe_, true)) return;
        CasellaRicerca& box = casella(QStringLiteral("txeCodCausale"));
        const QString causale = box.text().trimmed();
        const bool nuovoDoc = Num(finestra_[QStringLiteral("EtiId")].caption()) == 0;
        if (hopperDaCassa_ && nuovoDoc &&
            (CausaleDi(causale) == Causale::CH || CausaleDi(causale) == Causale::RH)) {
            ui_.Messaggio(
                QStringLiteral(
                    "Attenzione! le registrazioni di carico Hopper e scarico hopper possono "
                    "essere eseguite solo dalla cassa con l'apposito programma.\n\n"
                    "Controllare i parametri di configurazione della modalità di caricamento "
                    "degli hopper"),
                QStringLiteral("Impossibile usare la causale selezionata"), Icona::Informazione);
            box.ImpostaCodice(QString());
            return;
        }
        const Controllo& filtroLocale = finestra_[QStringLiteral("TxLocale")];
        if (filtroLocale.visible() && !filtroLocale.text().trimmed().isEmpty() &&
            (incassi_ == nullptr || incassi_->RecordCount() == 0)) {
            casella(QStringLiteral("txeCodLocale")).setText(filtroLocale.text());
        }
        focus_ = QStringLiteral("txeCodLocale");
        ImpostaLocale();
    } catch (const Errore& e) {
        ui_.Messaggio(QStringLiteral("Scelta della causale: ") + e.testo(), titolo_,
                      Icona::Critico);
    }
}

}  // namespace incassi
