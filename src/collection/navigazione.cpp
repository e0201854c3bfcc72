// Moving through the stored documents, the filter panel and the search dialog,
// modifying, undoing and deleting a document.

#include <tuple>

#include "bookkeeping/archivio.h"
#include "collection/frmincassi.h"
#include "host/host.h"
#include "values/causali.h"
#include "values/error.h"
#include "values/sqlquote.h"
#include "values/values.h"
#include "window/uiport.h"

namespace incassi {

namespace {

// The causal chosen in the filter panel's list (or typed in it).
QString CausaleFiltro(const Controllo& c) {
    if (c.listIndex() >= 0 && c.listIndex() < int(c.elementi().size())) {
        return c.elementi()[size_t(c.listIndex())].testo.trimmed();
    }
    return c.text().trimmed();
}

}  // namespace

bool FrmIncassi::documentoCorrente() const {
    return documenti_ && !documenti_->Bof() && !documenti_->Eof();
}

void FrmIncassi::Muovi(Verso verso) {
    if (!documenti_ || modifica_) return;
    switch (verso) {
        case Verso::Primo:
            documenti_->MoveFirst();
            break;
        case Verso::Precedente:
            documenti_->MovePrevious();
            if (documenti_->Bof()) documenti_->MoveFirst();
            break;
        case Verso::Successivo:
            documenti_->MoveNext();
            if (documenti_->Eof()) documenti_->MoveLast();
            break;
        case Verso::Ultimo:
            documenti_->MoveLast();
            break;
    }
    MostraTestata();
}

void FrmIncassi::Modifica() {
    if (!documentoCorrente()) return;
    if (!consentito(host_.UserModifica(), QStringLiteral("modificare i documenti"))) return;
    if (Flag(documenti_->Value(QStringLiteral("bloccato")))) {
        ui_.Messaggio(QStringLiteral("La registrazione non è modificabile!"),
                      QStringLiteral("Record bloccato"), Icona::Esclamazione);
        return;
    }
    const QString c = Txt(documenti_->Value(QStringLiteral("codcausale")));
    if (CausaleTra(c, {Causale::CAM})) {
        const int dopo =
            Archivio(host_)
                .DocumentiDopo(c, Txt(documenti_->Value(QStringLiteral("codLocale"))),
                               documenti_->Value(QStringLiteral("DataRegistrazione")).toDate())
                .numero;
        if (dopo > 0) {
            ui_.Messaggio(
                QStringLiteral("Si puo modificare solo l'ultima registrazione!\nSono presenti %1 "
                               "registrazioni successive a quella che si vuole modificare.")
                    .arg(dopo),
                QStringLiteral("Modifica"), Icona::Informazione);
            return;
        }
    }
    modifica_ = true;
    nuovo_ = false;
    ImpostaModalita(finestra_, host_, false);
    const bool admin = host_.UserAdmin();
    for (const char* nome : {"ChkQuietanzato", "ChkFatturato", "ChkChiuso", "txtidOnda"}) {
        finestra_[QLatin1String(nome)].setEnabled(admin);
    }
    if (!admin) finestra_[QStringLiteral("ChkBloccato")].setEnabled(false);
    nuovaModifica();
    annotaSchede();
    annotaPartenza();
    focus_ = QStringLiteral("txtDataRegistrazione");
}

namespace {

QString StatoDigitato(const Controllo& c) {
    return c.text() + QChar(0x1f) + QString::number(c.listIndex()) + QChar(0x1f) +
           QString::number(c.checked());
}

}  // namespace

void FrmIncassi::annotaPartenza() {
    partenza_.clear();
    for (const auto& c : finestra_)
        partenza_ << StatoDigitato(*c);
}

bool FrmIncassi::Modificato() const {
    if (!modifica_) return false;
    if ((incassi_ && incassi_->HasPendingChanges()) || (nota_ && nota_->HasPendingChanges()))
        return true;
    qsizetype i = 0;
    for (const auto& c : finestra_) {
        if (i >= partenza_.size() || StatoDigitato(*c) != partenza_[i++]) return true;
    }
    return false;
}

bool FrmIncassi::AnnullaSeConfermato() {
    if (!modifica_) return false;
    if (Modificato() &&
        ui_.Messaggio(QStringLiteral("Annullare le modifiche?"), titolo_, Icona::Domanda,
                      Pulsanti::SiNo, Risposta::No) != Risposta::Si) {
        return false;
    }
    Annulla();
    return true;
}

void FrmIncassi::Annulla() {
    // Meter rows of this document's machines with several meters, still
    // waiting for a document.
    std::vector<qlonglong> isole;
    if (incassi_ && nuovo_) {
        for (incassi_->MoveFirst(); !incassi_->Eof(); incassi_->MoveNext()) {
            if (Num(incassi_->Value(QStringLiteral("tipoincasso"))) == 13)
                isole.push_back(qlonglong(Num(incassi_->Value(QStringLiteral("linkscheda")))));
        }
    }
    if (incassi_) incassi_->CancelBatch();
    if (nota_) nota_->CancelBatch();
    try {
        Archivio(host_).ScartaContatoriSospesi(isole);
        ripristinaIsole();
    } catch (const Errore& e) {
        ui_.Messaggio(QStringLiteral("Annulla ") + e.testo(), titolo_, Icona::Critico);
    }
    nuovo_ = modifica_ = false;
    ImpostaModalita(finestra_, host_, true);
    MostraTestata();
}

std::pair<QDate, QDate> FrmIncassi::periodoFiltro() const {
    auto giorno = [&](const char* nome) {
        return ParseData(finestra_[QLatin1String(nome)].text()).value_or(QDate());
    };
    QDate dal = giorno("DataFiltro"), al = giorno("DataFiltroFine");
    if (dal.isValid() && al.isValid() && al < dal) std::swap(dal, al);
    return {dal, al};
}

void FrmIncassi::ApplicaFiltro() {
    if (modifica_) return;  // a document being edited stays on screen
    if (!consentito(host_.UserRicerca(), QStringLiteral("cercare i documenti"))) return;
    const QString causaleFiltro = CausaleFiltro(finestra_[QStringLiteral("CCausale")]);
    const QString locale = finestra_[QStringLiteral("TxLocale")].text().trimmed();
    const auto [dal, al] = periodoFiltro();
    // The days "Dal ... al" as the list's criterion, either end optional.
    QStringList giorni;
    if (dal.isValid()) giorni << QStringLiteral("DataRegistrazione>=") + sql::Data(dal);
    if (al.isValid()) giorni << QStringLiteral("DataRegistrazione<=") + sql::Data(al);
    if (!causaleFiltro.isEmpty()) {
        // The filter of the list itself: causal, then venue and days when given.
        QStringList criterio{QStringLiteral("codcausale='%1'").arg(sql::Raddoppia(causaleFiltro))};
        if (!locale.isEmpty())
            criterio << QStringLiteral("codLocale='%1'").arg(sql::Raddoppia(locale));
        documenti_->SetFilter((criterio + giorni).join(QStringLiteral(" and ")));
    } else {
        documenti_ = Archivio(host_).Elenco(
            locale, operatore_.ristretto() ? operatore_.azienda() : QString());
        if (!giorni.isEmpty()) documenti_->SetFilter(giorni.join(QStringLiteral(" and ")));
    }
    documenti_->MoveFirst();
    MostraTestata();
}

void FrmIncassi::Cerca() {
    if (modifica_) return;  // a document being edited stays on screen
    if (!consentito(host_.UserRicerca(), QStringLiteral("cercare i documenti"))) return;
    // The filter panel narrows the search only while it is shown: its fields
    // keep values (today's date, say) that a hidden panel must not apply.
    Archivio::Ricerca ricerca;
    if (filtroVisibile()) {
        ricerca.causale = CausaleFiltro(finestra_[QStringLiteral("CCausale")]);
        ricerca.codLocale = finestra_[QStringLiteral("TxLocale")].text().trimmed();
        std::tie(ricerca.dal, ricerca.al) = periodoFiltro();
    }
    if (operatore_.ristretto()) ricerca.azienda = operatore_.azienda();
    const RichiestaRicerca r =
        NuovaRicerca(host_, prop_.CodiceStampa, titolo_, Archivio(host_).Cerca(ricerca),
                     QStringLiteral("id"), elenchi_.viste);
    bool ok = false;
    const qlonglong id = ui_.Ricerca(r).trimmed().toLongLong(&ok);
    if (!ok || id <= 0) return;  // nothing chosen: the position stays
    MostraDocumento(id);
}

void FrmIncassi::MostraDocumento(qlonglong id) {
    // Among the rows of the list read so far, else on its own: a long list is
    // not read to its end to find one document.
    documenti_->MoveFirst();
    if (!documenti_->Find(QStringLiteral("id=%1").arg(id), true))
        documenti_ = Archivio(host_).ElencoDi(id);
    MostraTestata();
}

bool FrmIncassi::Elimina() {
    if (!documentoCorrente() || modifica_) return false;
    if (!consentito(host_.UserCancellazione(), QStringLiteral("eliminare i documenti")))
        return false;
    RecordSet& d = *documenti_;
    if (Flag(d.Value(QStringLiteral("Bloccato")))) {
        ui_.Messaggio(
            QStringLiteral("Attenzione!! il Record non è eliminabile in quanto Bloccato."),
            QStringLiteral("Incassi"), Icona::Informazione);
        return false;
    }
    const qlonglong id = d.Value(QStringLiteral("id")).toLongLong();
    try {
        Archivio archivio(host_);
        // Only the latest document of its kind at the venue.
        auto successivi = [&](const Archivio::Stato& s) {
            if (s.successivi == 0) return true;
            ui_.Messaggio(
                QStringLiteral(
                    "Si puo eliminare solo l'ultima registrazione!\nSono presenti %1 registrazioni "
                    "successive a quella che si vuole eliminare.")
                    .arg(s.successivi),
                QStringLiteral("Elimina"), Icona::Informazione);
            return false;
        };
        if (const auto prima = archivio.StatoDocumento(id); prima.esiste && !successivi(prima))
            return false;
        if (ui_.Messaggio(QStringLiteral("Attenzione!! operazione non annullabile. Confermi la "
                                         "cancellazione completa della "
                                         "registrazione?"),
                          QStringLiteral("Elimina"), Icona::Informazione, Pulsanti::SiNo,
                          Risposta::No) != Risposta::Si) {
            return false;
        }
        TransazioneHost tr(host_);
        // While the question was open another workstation may have saved a
        // later document, or changed this one: asked again under the lock.
        const auto stato = archivio.StatoDocumento(id);
        if (stato.esiste && !successivi(stato)) return false;
        if (!stato.esiste || stato.versione != versioneLetta_ || stato.bloccato) {
            ui_.Messaggio(QStringLiteral("Il documento %1 è stato modificato o eliminato da "
                                         "un'altra finestra o postazione dopo che è stato "
                                         "mostrato: rileggerlo prima di eliminarlo.")
                              .arg(id),
                          QStringLiteral("Elimina"), Icona::Esclamazione);
            return false;
        }
        archivio.Elimina(id);
        tr.commit();
        avviso_ = QStringLiteral("Documento eliminato");
    } catch (const Errore& e) {
        ui_.Messaggio(QStringLiteral("Elimina ") + e.testo(), QStringLiteral("Elimina"),
                      Icona::Critico);
        return false;
    }
    try {
        documenti_->Requery();
        MostraTestata();
    } catch (const Errore& e) {
        ui_.Messaggio(DopoConferma(QStringLiteral("Il documento %1 è stato eliminato").arg(id), e),
                      QStringLiteral("Elimina"), Icona::Esclamazione);
    }
    return true;
}

}  // namespace incassi
