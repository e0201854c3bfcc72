// Saving the collection window's document: the checks, then the header, the
// bookkeeping rows, the machine rows, the machine cards and the settling of
// advances and refills, all in one transaction.

#include <QDateTime>
#include <utility>

#include "bookkeeping/archivio.h"
#include "bookkeeping/primanota.h"
#include "collection/frmincassi.h"
#include "host/host.h"
#include "values/causali.h"
#include "values/error.h"
#include "values/sqlquote.h"
#include "values/values.h"
#include "window/binding.h"
#include "window/uiport.h"

namespace incassi {

namespace {

const QString kTitoloObbligatori = QStringLiteral("Campi obbligatori non compilati");

}  // namespace

bool FrmIncassi::controlliSalvataggio() {
    // Required and recommended fields.
    const int punteggio = ControllaObbligatori(finestra_);
    if (punteggio < 0) {
        ui_.Messaggio(
            QStringLiteral("Attenzione!: i campi evidenziati in rosso devono essere compilati."),
            kTitoloObbligatori, Icona::Critico);
        return false;
    }
    if (punteggio > 0) {
        const QString testo = QStringLiteral(
                                  "Alcuni campi di natura importante se pur non obbligatori "
                                  "risultano non compilati ( %1 ) \n"
                                  "Si desidera procedere comunque?")
                                  .arg(punteggio);
        if (ui_.Messaggio(testo, QStringLiteral("Conferma"), Icona::Esclamazione, Pulsanti::SiNo,
                          Risposta::No) != Risposta::Si) {
            return false;
        }
    }
    // A day that is a day, in the years a collection can have.
    if (!dataValida()) return false;
    // The venue of the documents that belong to one.
    const QString c = causale();
    if (CausaleTra(c, {Causale::INC6, Causale::INC, Causale::CAM, Causale::CH, Causale::RH,
                       Causale::ACC, Causale::REF, Causale::ACL}) &&
        finestra_[QStringLiteral("txeCodLocale")].text().trimmed().isEmpty()) {
        ui_.Messaggio(
            QStringLiteral(
                "Attenzione! Per proseguire con il salvataggio il locale deve essere specificato"),
            kTitoloObbligatori, Icona::Critico);
        return false;
    }
    // A machine row never belongs to a document of another venue or causal.
    if (incassi_ && incassi_->RecordCount() > 0) {
        const QString locale = finestra_[QStringLiteral("txeCodLocale")].text().trimmed();
        if ((!localeRighe_.isEmpty() && locale.compare(localeRighe_, Qt::CaseInsensitive) != 0) ||
            (!causaleRighe_.isEmpty() && c.compare(causaleRighe_, Qt::CaseInsensitive) != 0)) {
            ui_.Messaggio(QStringLiteral("Le righe degli apparecchi sono state caricate per il "
                                         "locale %1 con la causale %2, il documento è del locale "
                                         "%3 con la causale %4: eliminare le righe e caricare di "
                                         "nuovo gli apparecchi.")
                              .arg(localeRighe_, causaleRighe_, locale, c),
                          kTitoloObbligatori, Icona::Critico);
            return false;
        }
    }
    // A panel still blank is totalled first.
    if (incassi_ && incassi_->RecordCount() > 0) {
        if (CausaleTra(c, {Causale::CAM})) {
            AggiornaConteggiPrimaNota();
            aggiornaSbilancio();
        } else {
            const ValoriPannello v = Valori();
            Dec vuoto;
            bool controlla = true;
            if (CausaleTra(c, {Causale::REF})) {
                vuoto = v.refillLocale + v.refillNoleggiatore;
            } else if (CausaleTra(c, {Causale::ACC})) {
                vuoto = v.accontoDocumento + v.anticipoLocale;
            } else if (CausaleTra(c, {Causale::CH, Causale::RH})) {
                vuoto = v.variazioneHopper;
            } else if (CausaleTra(c, {Causale::INC6, Causale::INC})) {
                vuoto = v.riscosso + v.versatoALocale + v.introdotto;
            } else {
                controlla = false;
            }
            if (controlla && vuoto.zero())
                aggiorna(ricalcolato(v), QStringLiteral("Riscosso"), nullptr);
        }
    }
    // The bookkeeping rows balance and each has an account.
    if (nota_ && nota_->RecordCount() > 0) {
        // The rows about to be written must balance, whatever a label says.
        const Dec sbilancio = PrimaNota(*nota_, {}).Sbilancio();
        if (!sbilancio.zero()) {
            aggiornaSbilancio();
            ui_.Messaggio(QStringLiteral("Impossibile salvare in quanto la registrazione risulta "
                                         "sbilanciata di %1 Euro.\n"
                                         "Correggere la registrazione prima di confermare!")
                              .arg(FormatoNumero(sbilancio.toDouble(), 2)),
                          titolo_, Icona::Esclamazione);
            return false;
        }
        QStringList conti;
        for (nota_->MoveFirst(); !nota_->Eof(); nota_->MoveNext()) {
            const QVariant conto = nota_->Value(QStringLiteral("codConto"));
            if (IsNullOrEmpty(conto)) {
                ui_.Messaggio(QStringLiteral("Selezionare un conto o eliminare la riga."), titolo_,
                              Icona::Nessuna);
                return false;
            }
            conti << Txt(conto);
        }
        // Every account in the chart, as written: one read for all the rows.
        if (const QStringList ignoti = ContiSconosciuti(host_, conti); !ignoti.isEmpty()) {
            ui_.Messaggio(QStringLiteral("Codice conto non valido: %1").arg(ignoti.front()),
                          titolo_, Icona::Esclamazione);
            return false;
        }
    }
    // Every machine row has a machine.
    if (incassi_) {
        for (incassi_->MoveFirst(); !incassi_->Eof(); incassi_->MoveNext()) {
            if (IsNullOrEmpty(incassi_->Value(QStringLiteral("linkscheda")))) {
                ui_.Messaggio(QStringLiteral("Selezionare un apparecchio o eliminare la riga."),
                              titolo_, Icona::Nessuna);
                return false;
            }
        }
    }
    return true;
}

FrmIncassi::Fotografia FrmIncassi::fotografa() const {
    Fotografia f;
    for (const auto& c : finestra_)
        f.controlli.push_back(c->stato());
    f.documenti = documenti_;
    f.incassi = incassi_;
    f.nota = nota_;
    f.locale = locale_;
    if (incassi_) f.righeIncassi = incassi_->istantanea();
    if (nota_) f.righeNota = nota_->istantanea();
    f.stato = stato_;
    f.focus = focus_;
    f.ultimaData = ultimaData_;
    f.nuovo = nuovo_;
    f.modifica = modifica_;
    f.storicoDi = storicoDi_;
    f.conguaglio = conguaglio_;
    f.mantieniRimanenza = mantieniRimanenza_;
    f.rimanenzaUsata = rimanenzaUsata_;
    f.versioneLetta = versioneLetta_;
    return f;
}

void FrmIncassi::ripristina(const Fotografia& f) {
    size_t i = 0;
    for (const auto& c : finestra_)
        c->ripristina(f.controlli[i++]);
    documenti_ = f.documenti;
    incassi_ = f.incassi;
    nota_ = f.nota;
    locale_ = f.locale;
    if (incassi_ && f.righeIncassi) incassi_->ripristina(*f.righeIncassi);
    if (nota_ && f.righeNota) nota_->ripristina(*f.righeNota);
    stato_ = f.stato;
    focus_ = f.focus;
    ultimaData_ = f.ultimaData;
    nuovo_ = f.nuovo;
    modifica_ = f.modifica;
    storicoDi_ = f.storicoDi;
    conguaglio_ = f.conguaglio;
    mantieniRimanenza_ = f.mantieniRimanenza;
    rimanenzaUsata_ = f.rimanenzaUsata;
    versioneLetta_ = f.versioneLetta;
}

bool FrmIncassi::Salva() {
    if (!modifica_) return false;
    if (!confermaCampo()) return false;
    // A document already stored is a correction, whatever the window thinks.
    const bool correzione = Num(finestra_[QStringLiteral("EtiId")].caption()) != 0;
    if (!consentito(correzione ? host_.UserModifica() : host_.UserInserimento(),
                    correzione ? QStringLiteral("modificare i documenti")
                               : QStringLiteral("inserire documenti")))
        return false;
    // A save that fails leaves the window exactly as it was, so that trying
    // again writes what one good save writes.
    const Fotografia prima = fotografa();
    qlonglong id = 0;
    try {
        // A check that fails shows its message and keeps what it marked.
        if (!controlliSalvataggio()) return false;
        TransazioneHost tr(host_);
        id = scriviDocumento();
        if (id > 0) tr.commit();
    } catch (const Errore& e) {
        // The transaction is rolled back by now: put the window back over it.
        ripristina(prima);
        ui_.Messaggio(
            QStringLiteral("Errore durante il salvataggio!\n%1 - %2").arg(1).arg(e.testo()),
            QStringLiteral("errore Salvataggio"), Icona::Critico);
        return false;
    }
    if (id == 0) {
        ripristina(prima);
        ricaricaApparecchi(std::exchange(daRicaricare_, {}));
        return false;
    }
    finestra_[QStringLiteral("EtiId")].setCaption(QString::number(id));
    avviso_ = QStringLiteral("Documento salvato");
    ultimaData_ = dataRegistrazione();
    isoleOriginali_.clear();  // the corrected meters are the document's now
    nuovo_ = modifica_ = false;
    ImpostaModalita(finestra_, host_, true);
    // The list shows the saved document (today's collections are on its
    // first page).
    try {
        documenti_->Requery();
        MostraDocumento(id);
    } catch (const Errore& e) {
        ui_.Messaggio(DopoConferma(QStringLiteral("Il documento %1 è stato salvato").arg(id), e),
                      titolo_, Icona::Esclamazione);
    }
    return true;
}

QString FrmIncassi::DopoConferma(const QString& fatto, const Errore& e) {
    return fatto + QStringLiteral(", ma la finestra non si è aggiornata: ") + e.testo() +
           QStringLiteral("\nSpostarsi su un altro documento per rileggerlo.");
}

qlonglong FrmIncassi::scriviDocumento() {
    Archivio archivio(host_);
    Archivio::Documento d;
    d.id = qlonglong(Num(finestra_[QStringLiteral("EtiId")].caption()));
    d.causale = causale();
    d.codLocale = finestra_[QStringLiteral("txeCodLocale")].text().trimmed();
    d.data = dataRegistrazione();
    // A correction saves only over the version of the header this window read.
    if (d.id > 0) {
        switch (archivio.PrendiTestata(d.id, versioneLetta_)) {
            case Archivio::Presa::Cambiata:
                ui_.Messaggio(
                    QStringLiteral(
                        "Impossibile salvare in quanto sono state aperte più finestre di Incassi.\n"
                        "Chiudere tutte le finestre aperte prima di modificare l'anagrafica!\n"
                        "Le modifiche effettuate andranno perse."),
                    titolo_, Icona::Critico);
                return 0;
            case Archivio::Presa::Bloccata:
                // A locked document is never written, whoever opened it for editing.
                ui_.Messaggio(QStringLiteral("La registrazione non è modificabile!"),
                              QStringLiteral("Record bloccato"), Icona::Esclamazione);
                return 0;
            case Archivio::Presa::Presa:
                break;
        }
    }
    if (!schedeInvariate()) return 0;
    allineaAccontoLocale();
    // The typed amounts go in as the panel reads them, never as raw text.
    for (const auto& campo : finestra_) {
        if (CampoDenaro(campo->nome()))
            campo->setText(TestoImporto(campo->text(), QStringLiteral("e")));
    }
    d.deduceAcconti = !importo("lllAcconto").zero();
    d.deduceAccontiLocali = !importo("lllAccontoLocale").zero();
    return archivio.Salva(
        d, [this](RecordSet& testata) { ControlliARiga(finestra_, testata); }, incassi_.get(),
        nota_.get());
}

}  // namespace incassi
