#include "window/scriptedui.h"

#include "values/error.h"

namespace incassi {

ScriptedUi& ScriptedUi::rispondi(Risposta r) {
    risposte_.push_back(r);
    return *this;
}

ScriptedUi& ScriptedUi::rispondiElenco(const QString& chiavi) {
    elenco_.push_back(chiavi);
    return *this;
}

ScriptedUi& ScriptedUi::rispondiRicerca(const QString& chiave) {
    ricerca_.push_back(chiave);
    return *this;
}

ScriptedUi& ScriptedUi::rispondiFile(const QString& percorso) {
    file_.push_back(percorso);
    return *this;
}

int ScriptedUi::risposteRimaste() const {
    return int(risposte_.size() + elenco_.size() + ricerca_.size() + file_.size());
}

Risposta ScriptedUi::Messaggio(const QString& testo, const QString& titolo, Icona icona,
                               Pulsanti pulsanti, std::optional<Risposta> predefinita) {
    MessaggioRegistrato m{testo, titolo, icona, pulsanti, predefinita, Risposta::Ok};
    if (pulsanti != Pulsanti::Ok) {
        if (risposte_.empty()) {
            throw Errore(QStringLiteral("Nessuna risposta preparata per la domanda \"%1\" (%2): %3")
                             .arg(titolo, TestoPulsanti(pulsanti), testo));
        }
        const Risposta r = risposte_.front();
        if (!RispostaAmmessa(pulsanti, r)) {
            throw Errore(QStringLiteral("La risposta %1 non è tra i pulsanti %2 della domanda "
                                        "\"%3\": %4")
                             .arg(TestoRisposta(r), TestoPulsanti(pulsanti), titolo, testo));
        }
        risposte_.pop_front();
        m.risposta = r;
    }
    messaggi_.push_back(m);
    return m.risposta;
}

QString ScriptedUi::ElencoScelta(const RecordSetPtr& rs, const QString& titolo,
                                 const QString& chiaveElenco, const QString& campoChiave,
                                 bool sceltaMultipla) {
    if (elenco_.empty()) {
        throw Errore(QStringLiteral("Nessuna scelta preparata per l'elenco \"%1\" (%2)")
                         .arg(titolo, chiaveElenco));
    }
    const QString scelta = elenco_.front();
    if (!sceltaMultipla && scelta.contains(u'|')) {
        throw Errore(QStringLiteral("L'elenco \"%1\" ammette una sola scelta, non \"%2\"")
                         .arg(titolo, scelta));
    }
    elenco_.pop_front();
    elenchi_.push_back(
        {titolo, chiaveElenco, campoChiave, sceltaMultipla, rs ? rs->RecordCount() : -1, scelta});
    return scelta;
}

QString ScriptedUi::Ricerca(const RichiestaRicerca& richiesta) {
    if (ricerca_.empty()) {
        throw Errore(QStringLiteral("Nessuna scelta preparata per la ricerca \"%1\" (%2)")
                         .arg(richiesta.Caption, richiesta.Modulo));
    }
    ricerche_.push_back(richiesta);
    const QString scelta = ricerca_.front();
    ricerca_.pop_front();
    return scelta;
}

QString ScriptedUi::prossimoFile(const QString& titolo) {
    if (file_.empty()) {
        throw Errore(
            QStringLiteral("Nessun file preparato per la finestra di dialogo \"%1\"").arg(titolo));
    }
    dialoghiFile_ << titolo;
    const QString percorso = file_.front();
    file_.pop_front();
    return percorso;
}

QString ScriptedUi::ApriFile(const QString& titolo, const QString&, const QString&) {
    return prossimoFile(titolo);
}

QString ScriptedUi::SalvaFile(const QString& titolo, const QString&, const QString&) {
    return prossimoFile(titolo);
}

bool ScriptedUi::ApriConProgramma(const QString& percorso) {
    fileAperti_ << percorso;
    return true;
}

}  // namespace incassi
