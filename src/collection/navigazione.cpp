// Moving through the stored documents, the filter panel and the search dialog,
// modifying, undoing and deleting a document.

#include "bookkeeping/chiusure.h"
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
        auto dopo = host_.OpenRecordSet(
            QStringLiteral("select * from noteteste where dataregistrazione>%1 and codcausale='%2' "
                           "and codlocale='%3'")
                .arg(sql::Data(documenti_->Value(QStringLiteral("DataRegistrazione")).toDate()),
                     sql::Raddoppia(c),
                     sql::Raddoppia(Txt(documenti_->Value(QStringLiteral("codLocale"))))));
        if (!dopo->Eof()) {
            ui_.Messaggio(
                QStringLiteral("Si puo modificare solo l'ultima registrazione!\nSono presenti %1 "
                               "registrazioni successive a quella che si vuole modificare.")
                    .arg(dopo->RecordCount()),
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
    focus_ = QStringLiteral("txtDataRegistrazione");
}

void FrmIncassi::Annulla() {
    if (incassi_) incassi_->CancelBatch();
    if (nota_) nota_->CancelBatch();
    // Meter rows of machines with several meters still waiting for a document.
    try {
        host_.Execute(QStringLiteral("delete * from noteincassicontatori where idtesta=0"));
    } catch (const Errore& e) {
        ui_.Messaggio(QStringLiteral("Annulla ") + e.testo(), titolo_, Icona::Critico);
    }
    nuovo_ = modifica_ = false;
    ImpostaModalita(finestra_, host_, true);
    MostraTestata();
}

void FrmIncassi::ApplicaFiltro() {
    if (modifica_) return;  // a document being edited stays on screen
    if (!consentito(host_.UserRicerca(), QStringLiteral("cercare i documenti"))) return;
    const QString causaleFiltro = CausaleFiltro(finestra_[QStringLiteral("CCausale")]);
    const QString locale = finestra_[QStringLiteral("TxLocale")].text().trimmed();
    const auto giorno = ParseData(finestra_[QStringLiteral("DataFiltro")].text());
    QString criterio;
    if (!causaleFiltro.isEmpty()) {
        // The filter of the list itself: causal, then venue and day when given.
        criterio = QStringLiteral("codcausale='%1'").arg(sql::Raddoppia(causaleFiltro));
        if (!locale.isEmpty())
            criterio += QStringLiteral(" and codLocale='%1'").arg(sql::Raddoppia(locale));
        if (giorno) criterio += QStringLiteral(" and DataRegistrazione=") + sql::Data(*giorno);
        documenti_->SetFilter(criterio);
    } else {
        QString sql;
        if (!locale.isEmpty()) {
            sql = QStringLiteral(
                      "select * from noteteste where codLocale='%1'  order by DataRegistrazione "
                      "desc ")
                      .arg(sql::Raddoppia(locale));
        } else if (operatore_.ristretto()) {
            sql = QStringLiteral(
                      "select * from noteTeste where CodiceAzienda='%1' order by DataRegistrazione "
                      "desc")
                      .arg(sql::Raddoppia(operatore_.azienda()));
        } else {
            sql = QStringLiteral("select * from noteteste order by DataRegistrazione desc ");
        }
        documenti_ = host_.OpenRecordSetAsync(sql, 100);
        if (giorno)
            documenti_->SetFilter(QStringLiteral(" DataRegistrazione=") + sql::Data(*giorno));
    }
    documenti_->MoveFirst();
    MostraTestata();
}

void FrmIncassi::Cerca() {
    if (modifica_) return;  // a document being edited stays on screen
    if (!consentito(host_.UserRicerca(), QStringLiteral("cercare i documenti"))) return;
    const QString causaleFiltro = CausaleFiltro(finestra_[QStringLiteral("CCausale")]);
    const QString locale = finestra_[QStringLiteral("TxLocale")].text().trimmed();
    const auto giorno = ParseData(finestra_[QStringLiteral("DataFiltro")].text());
    QStringList condizioni;
    if (!causaleFiltro.isEmpty()) {
        condizioni
            << QStringLiteral("noteTeste.codcausale='%1'").arg(sql::Raddoppia(causaleFiltro));
    }
    if (!locale.isEmpty())
        condizioni << QStringLiteral("noteTeste.codLocale='%1'").arg(sql::Raddoppia(locale));
    if (giorno) condizioni << QStringLiteral("noteTeste.DataRegistrazione=") + sql::Data(*giorno);
    if (operatore_.ristretto()) {
        condizioni << QStringLiteral("AnagraficaLocali.CodiceAzienda='%1'")
                          .arg(sql::Raddoppia(operatore_.azienda()));
    }
    RichiestaRicerca r;
    r.user = host_.user();
    r.Modulo = prop_.CodiceStampa;
    r.Caption = titolo_;
    r.Recordset =
        host_.OpenRecordSet(QStringLiteral("SELECT noteTeste.*, AnagraficaLocali.Insegna, "
                                           "AnagraficaLocali.Citta, AnagraficaLocali.Indirizzo "
                                           " FROM noteTeste LEFT JOIN AnagraficaLocali ON "
                                           "noteTeste.CodLocale = AnagraficaLocali.CodLocale ") +
                            (condizioni.isEmpty() ? QString()
                                                  : QStringLiteral("where ") +
                                                        condizioni.join(QStringLiteral(" and "))) +
                            QStringLiteral(" ORDER BY noteTeste.DataRegistrazione DESC"));
    r.RecordsetOperatori = host_.OpenRecordSet(QStringLiteral("SELECT * FROM operatori"));
    r.RecordsetViste = elenchi_.viste;
    r.CampoRicerca = QStringLiteral("id");
    r.percorso = host_.percorso();
    r.PercorsoPers = host_.percorso() + QStringLiteral("pers/");
    r.StatusBar = r.Toolbar = r.FilterBar = r.WindowsState = 1;
    bool ok = false;
    const qlonglong id = ui_.Ricerca(r).trimmed().toLongLong(&ok);
    if (!ok || id <= 0) return;  // nothing chosen: the position stays
    documenti_->MoveFirst();
    if (!documenti_->Find(QStringLiteral(" id=%1").arg(id))) {
        documenti_ = host_.OpenRecordSetAsync(
            QStringLiteral("select * from noteteste where id=%1").arg(id), 100);
    }
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
        const QString c = Txt(d.Value(QStringLiteral("CodCausale")));
        const QString locale = Txt(d.Value(QStringLiteral("CodLocale")));
        const QDate data = d.Value(QStringLiteral("DataRegistrazione")).toDate();
        // Only the latest document of its kind at the venue; the same day with a
        // higher id counts as later.
        const QString giorno = sql::Data(data, FormatoDataSql::AnnoMeseGiorno);
        QString successiviA = QStringLiteral("d.CodCausale='%1'").arg(sql::Raddoppia(c));
        if (!locale.isEmpty())
            successiviA += QStringLiteral(" AND d.CodLocale='%1'").arg(sql::Raddoppia(locale));
        successiviA += QStringLiteral(
                           " AND ( d.DataRegistrazione>%1 OR ( d.DataRegistrazione=%1 AND d.id > "
                           "%2 ) )")
                           .arg(giorno)
                           .arg(id);
        auto successivi = [&](RecordSet& rs) {
            const int dopo = int(Num(rs.Value(QStringLiteral("Successivi"))));
            if (dopo == 0) return true;
            ui_.Messaggio(
                QStringLiteral(
                    "Si puo eliminare solo l'ultima registrazione!\nSono presenti %1 registrazioni "
                    "successive a quella che si vuole eliminare.")
                    .arg(dopo),
                QStringLiteral("Elimina"), Icona::Informazione);
            return false;
        };
        // The header as it is now, and how many documents of its kind come after it.
        auto leggi = [&] {
            return host_.OpenRecordSet(
                QStringLiteral("select Versione, Bloccato, (select count(*) from NoteTeste d "
                               "where %1) as Successivi from NoteTeste where id=%2")
                    .arg(successiviA)
                    .arg(id));
        };
        if (auto prima = leggi(); !prima->Eof() && !successivi(*prima)) return false;
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
        auto testata = leggi();
        if (!testata->Eof() && !successivi(*testata)) return false;
        if (testata->Eof() ||
            qlonglong(Num(testata->Value(QStringLiteral("Versione")))) != versioneLetta_ ||
            Flag(testata->Value(QStringLiteral("Bloccato")))) {
            ui_.Messaggio(QStringLiteral("Il documento %1 è stato modificato o eliminato da "
                                         "un'altra finestra o postazione dopo che è stato "
                                         "mostrato: rileggerlo prima di eliminarlo.")
                              .arg(id),
                          QStringLiteral("Elimina"), Icona::Esclamazione);
            return false;
        }
        auto righe = host_.OpenRecordSetBatch(
            QStringLiteral("select * from NoteRighe where idtesta=%1").arg(id));
        for (righe->MoveFirst(); !righe->Eof(); righe->MoveNext())
            righe->Delete();
        righe->UpdateBatch();
        // Only a collection that settled advance or refill rows has any to reopen.
        const bool haChiuso =
            host_
                .OpenRecordSet(QStringLiteral("select top 1 id from NoteIncassi where "
                                              "IdChiusura=%1")
                                   .arg(id))
                ->RecordCount() > 0;
        auto macchine = host_.OpenRecordSetBatch(
            QStringLiteral("select * from noteIncassi where idtesta=%1").arg(id));
        for (macchine->MoveFirst(); !macchine->Eof(); macchine->MoveNext()) {
            RecordSet& r = *macchine;
            const qlonglong scheda = qlonglong(Num(r.Value(QStringLiteral("linkscheda"))));
            if (CausaleTra(c, {Causale::INC})) {
                RipristinaScheda(host_, r, {Ripristino::Contatori, Ripristino::HopperDaLivelli});
                if (haChiuso) RiapriAcconto(host_, id, scheda);
            } else if (CausaleTra(c, {Causale::CH, Causale::RH})) {
                RipristinaScheda(host_, r, {Ripristino::Caricati});
            } else if (CausaleTra(c, {Causale::FUR})) {
                RipristinaScheda(
                    host_, r,
                    {Ripristino::Contatori, Ripristino::HopperDaPrecedenti, Ripristino::Caricati});
                if (haChiuso) RiapriAcconto(host_, id, scheda);
                if (haChiuso) RiapriRefill(host_, id, scheda);
            } else if (CausaleTra(c, {Causale::INC6})) {
                RipristinaScheda(host_, r, {Ripristino::Contatori, Ripristino::HopperDaPrecedenti});
                if (haChiuso) RiapriAcconto(host_, id, scheda);
                if (haChiuso) RiapriRefill(host_, id, scheda);
            }
            r.Delete();
        }
        macchine->UpdateBatch();
        RiapriAccontoT(host_, id);
        if (host_.Execute(QStringLiteral("delete * from NoteTeste where id=%1").arg(id)) != 1) {
            throw Errore(QStringLiteral("il documento %1 non esiste più: è stato eliminato da "
                                        "un'altra finestra o postazione.")
                             .arg(id));
        }
        tr.commit();
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
