#include "scenario/esecutore.h"

#include <QDateTime>
#include <QDir>
#include <QJsonArray>
#include <QTemporaryDir>

#include "entry/accesso.h"
#include "entry/configura.h"
#include "entry/lanciatore.h"
#include "host/sqlhost.h"
#include "scenario/stampa.h"
#include "scenario/uiscenario.h"
#include "schema/creazione.h"
#include "schema/esamefile.h"
#include "values/error.h"
#include "values/values.h"
#include "window/searchbox.h"

namespace incassi::scenario {

namespace {

// Opens the window that Start names through the adapters' table, with the
// operator record that Start has just read.
class LanciatoreScenario : public Lanciatore {
  public:
    LanciatoreScenario(const RegistroAdattatori& tabella, ContestoFinestra& contesto)
        : tabella_(tabella), contesto_(contesto) {}

    void setEntrata(const configura* e) { entrata_ = e; }

    void Apri(const QString& nome, bool) override {
        if (entrata_ && entrata_->RecordOperatore()) contesto_.operatore = entrata_->Operatore();
        finestra_ = tabella_.Crea(nome, contesto_);
        if (!finestra_) {
            throw Errore(QStringLiteral("Finestra non gestita da incassi-run: %1 (gestite: %2)")
                             .arg(nome, tabella_.finestre().join(QStringLiteral(", "))));
        }
        finestra_->Apri();
    }
    AdattatoreFinestra* finestra() const { return finestra_.get(); }

  private:
    const RegistroAdattatori& tabella_;
    ContestoFinestra& contesto_;
    const configura* entrata_ = nullptr;
    std::unique_ptr<AdattatoreFinestra> finestra_;
};

QVariant VarianteDaJson(const QJsonValue& v) {
    if (v.isNull() || v.isUndefined()) return QVariant();
    if (v.isBool()) return v.toBool() ? -1 : 0;
    if (v.isDouble()) return v.toDouble();
    return v.toString();
}

class Esecuzione {
  public:
    explicit Esecuzione(AdattatoreFinestra& f) : f_(f) {}

    void Esegui(const Passo& p) {
        const QString& a = p.azione;
        if (a == u"imposta") {
            Controllo& c = controllo(p.testo(QStringLiteral("controllo")));
            imposta(c, p.valore(QStringLiteral("valore")));
            f_.Digitato(c.nome());
        } else if (a == u"scegli") {
            const QString nome = controllo(p.testo(QStringLiteral("controllo"))).nome();
            const QString codice = p.testo(QStringLiteral("codice"));
            if (!f_.casella(nome).ImpostaCodice(codice)) {
                throw Errore(
                    QStringLiteral("Il codice \"%1\" non è tra le scelte di %2").arg(codice, nome));
            }
        } else if (a == u"esci") {
            f_.UscitaCampo(controllo(p.testo(QStringLiteral("controllo"))).nome());
        } else if (a == u"cella") {
            const QString g = griglia(p);
            RecordSet& rs = posiziona(g, p);
            const QString colonna = colonnaDi(rs, g, p.testo(QStringLiteral("colonna")));
            const QVariant prima = rs.Value(colonna);
            rs.SetValue(colonna, VarianteDaJson(p.valore(QStringLiteral("valore"))));
            f_.CellaModificata(g, colonna, prima);
        } else if (a == u"invio") {
            const QString g = griglia(p);
            RecordSet& rs = p.argomenti.contains(u"riga") ? posiziona(g, p) : righe(g);
            f_.Invio(g, colonnaDi(rs, g, p.testo(QStringLiteral("colonna"))));
        } else if (a == u"riga") {
            posiziona(griglia(p), p);
        } else if (a == u"entra") {
            f_.EntraGriglia(griglia(p));
        } else if (a == u"comando" || a == u"nuovo") {
            const QString nome =
                a == u"nuovo" ? QStringLiteral("Nuovo") : p.testo(QStringLiteral("nome"));
            const AdattatoreFinestra::Comando* c = f_.comando(nome);
            if (!c) {
                throw Errore(
                    QStringLiteral("Comando sconosciuto nella finestra %1: %2 (disponibili: %3)")
                        .arg(f_.nome(), nome, f_.comandi().join(QStringLiteral(", "))));
            }
            (*c)();
        } else if (a == u"menu") {
            f_.Menu(p.testo(QStringLiteral("voce")));
        } else if (a == u"vai") {
            f_.Vai(p.testo(QStringLiteral("dove")));
        }
    }

    // What a step names exists in the window: controls, grids and their
    // columns, commands, menu items, events. Nothing runs.
    void Controlla(const Passo& p) {
        const QString& a = p.azione;
        if (a == u"cella" || a == u"invio" || a == u"riga" || a == u"entra") griglia(p);
        if (a == u"esci" || a == u"cella" || a == u"invio" || a == u"menu" || a == u"vai") {
            if (!f_.eventi().contains(a)) {
                throw Errore(QStringLiteral("L'azione \"%1\" non è disponibile nella finestra %2")
                                 .arg(a, f_.nome()));
            }
        }
        if (a == u"imposta" || a == u"esci") {
            controllo(p.testo(QStringLiteral("controllo")));
        } else if (a == u"scegli") {
            f_.casella(controllo(p.testo(QStringLiteral("controllo"))).nome());
        } else if (a == u"cella" || a == u"invio" || a == u"riga" || a == u"entra") {
            const QString g = griglia(p);
            const RecordSetPtr rs = f_.righe(g);
            if (rs && p.argomenti.contains(u"colonna"))
                colonnaDi(*rs, g, p.testo(QStringLiteral("colonna")));
        } else if (a == u"comando" || a == u"nuovo") {
            const QString nome =
                a == u"nuovo" ? QStringLiteral("Nuovo") : p.testo(QStringLiteral("nome"));
            if (!f_.comando(nome)) {
                throw Errore(
                    QStringLiteral("Comando sconosciuto nella finestra %1: %2 (disponibili: %3)")
                        .arg(f_.nome(), nome, f_.comandi().join(QStringLiteral(", "))));
            }
        } else if (a == u"menu") {
            const QString voce = p.testo(QStringLiteral("voce"));
            if (!f_.vociMenu().contains(voce, Qt::CaseInsensitive)) {
                throw Errore(QStringLiteral("Voce di menu sconosciuta nella finestra %1: %2")
                                 .arg(f_.nome(), voce));
            }
        } else if (a == u"vai") {
            const QString dove = p.testo(QStringLiteral("dove"));
            if (!QStringList{"primo", "precedente", "successivo", "ultimo"}.contains(
                    dove, Qt::CaseInsensitive)) {
                throw Errore(QStringLiteral("Spostamento sconosciuto \"%1\" (ammessi: primo, "
                                            "precedente, successivo, ultimo)")
                                 .arg(dove));
            }
        }
    }

  private:
    Controllo& controllo(const QString& nome) {
        Controllo* c = f_.finestra().trova(nome);
        if (!c) {
            throw Errore(
                QStringLiteral("Controllo sconosciuto nella finestra %1: %2").arg(f_.nome(), nome));
        }
        return *c;
    }

    // A value typed into a control, by its kind.
    void imposta(Controllo& c, const QJsonValue& v) {
        switch (c.tipo()) {
            case TipoControllo::Griglia:
                throw Errore(
                    QStringLiteral("%1 è una griglia: usare l'azione \"cella\"").arg(c.nome()));
            case TipoControllo::Combo:
            case TipoControllo::Lista: {
                const QVariant valore =
                    v.isDouble() ? QVariant(TestoNumero(v.toDouble())) : VarianteDaJson(v);
                if (!c.selezionaPerValore(valore)) {
                    throw Errore(
                        QStringLiteral("Nessuna voce \"%1\" in %2").arg(Txt(valore), c.nome()));
                }
                return;
            }
            case TipoControllo::Check:
                c.setChecked(v.isBool() ? v.toBool() : Flag(VarianteDaJson(v)));
                return;
            case TipoControllo::Etichetta:
                c.setCaption(v.isDouble() ? TestoNumero(v.toDouble()) : v.toString());
                return;
            default:
                if (v.isDouble()) {
                    c.setValue(v.toDouble());
                } else {
                    c.setText(v.toString());
                }
        }
    }

    QString griglia(const Passo& p) {
        const QStringList tutte = f_.griglie();
        if (!p.argomenti.contains(u"griglia")) {
            if (tutte.isEmpty()) {
                throw Errore(QStringLiteral("La finestra %1 non ha griglie").arg(f_.nome()));
            }
            return tutte.front();
        }
        const QString nome = p.testo(QStringLiteral("griglia"));
        for (const QString& g : tutte) {
            if (g.compare(nome, Qt::CaseInsensitive) == 0) return g;
        }
        throw Errore(QStringLiteral("Griglia sconosciuta nella finestra %1: %2 (griglie: %3)")
                         .arg(f_.nome(), nome, tutte.join(QStringLiteral(", "))));
    }

    RecordSet& righe(const QString& g) {
        RecordSetPtr rs = f_.righe(g);
        if (!rs) throw Errore(QStringLiteral("La griglia %1 non ha righe").arg(g));
        return *rs;
    }

    // The grid's current row moves to the step's row; the window follows it.
    RecordSet& posiziona(const QString& g, const Passo& p) {
        RecordSet& rs = righe(g);
        const int riga = p.intero(QStringLiteral("riga"), 1);
        const int n = rs.RecordCount();
        if (riga > n) {
            throw Errore(QStringLiteral("La griglia %1 ha %2 righe: la riga %3 non c'è")
                             .arg(g)
                             .arg(n)
                             .arg(riga));
        }
        rs.SetAbsolutePosition(riga);
        f_.RigaCorrente(g);
        return rs;
    }

    QString colonnaDi(const RecordSet& rs, const QString& g, const QString& colonna) {
        if (!rs.HasField(colonna)) {
            throw Errore(
                QStringLiteral("Colonna sconosciuta nella griglia %1: %2").arg(g, colonna));
        }
        return rs.Field(colonna).name;
    }

    AdattatoreFinestra& f_;
};

// Runs `passo` in one transaction; a question left without an answer fails it
// even when the window caught the error and showed it.
template <typename F>
void InTransazione(Host& host, UiScenario& ui, const QString& nome, F&& passo) {
    try {
        TransazioneHost t(host);
        passo();
        if (ui.senzaRisposta()) throw Errore(*ui.senzaRisposta());
        t.commit();
    } catch (const Errore& e) {
        throw Errore(nome + QStringLiteral(": ") + e.testo());
    }
}

}  // namespace

QJsonObject EseguiScenario(const Scenario& s, const QString& fileDatabase,
                           const RegistroAdattatori& adattatori, const QString& installazione) {
    if (!adattatori.finestre().contains(s.finestra, Qt::CaseInsensitive)) {
        throw Errore(QStringLiteral("Finestra non gestita da incassi-run: %1 (gestite: %2)")
                         .arg(s.finestra, adattatori.finestre().join(QStringLiteral(", "))));
    }
    std::shared_ptr<Database> server;
    const schema::EsameFile esame = schema::Esamina(fileDatabase, server, false);
    if (esame.stato != schema::StatoFile::DatabaseIncassi) {
        throw Errore(esame.messaggio.isEmpty()
                         ? QStringLiteral("Il database %1 non contiene lo schema degli incassi")
                               .arg(fileDatabase)
                         : esame.messaggio);
    }
    auto db = server ? server : Database::OpenSqlite(fileDatabase);
    schema::PreparaSchema(*db);

    // Settings and install folder of this run only: what the scenario presets
    // is all that counts.
    QTemporaryDir cartella;
    if (!cartella.isValid())
        throw Errore(QStringLiteral("Impossibile creare una cartella temporanea"));
    auto impostazioni =
        std::make_unique<SettingsStore>(cartella.filePath(QStringLiteral("incassi-run.ini")));
    for (const Impostazione& i : s.impostazioni)
        impostazioni->write(i.sezione, i.chiave, i.valore);
    QString percorso = cartella.path();
    if (!installazione.isEmpty()) {
        if (!QDir().mkpath(installazione))
            throw Errore(QStringLiteral("Impossibile creare la cartella %1").arg(installazione));
        percorso = QDir(installazione).absolutePath();
    }
    SqlHost host(db, std::move(impostazioni), percorso + u'/');
    const auto operatore = LeggiOperatore(host, s.operatore);
    if (!operatore) throw Errore(QStringLiteral("L'operatore %1 non esiste.").arg(s.operatore));
    host.setOperatore(*operatore);

    UiScenario ui;
    for (Risposta r : s.risposte.messaggi)
        ui.copione().rispondi(r);
    for (const QString& e : s.risposte.elenchi)
        ui.copione().rispondiElenco(e);
    for (const QString& r : s.risposte.ricerche)
        ui.copione().rispondiRicerca(r);
    for (const QString& f : s.risposte.file)
        ui.copione().rispondiFile(f);

    ProprietaIngresso proprieta = s.ingresso;
    ContestoFinestra contesto{host, ui, proprieta, RecordOperatore{}, s.oggi.value_or(QDate())};
    LanciatoreScenario lanciatore(adattatori, contesto);
    configura entrata(&lanciatore);
    entrata.setApplicazione(&host);
    entrata.setProprieta(proprieta);

    lanciatore.setEntrata(&entrata);
    // The whole run is one transaction, each step a savepoint of it: a run
    // that stops anywhere has written nothing, so a job that retries it never
    // books anything twice.
    TransazioneHost corsa(host);
    // Start reads the operator's record and opens the window of the function
    // code; a scenario that names the window alone opens it after.
    InTransazione(host, ui, QStringLiteral("apertura di %1").arg(s.finestra), [&] {
        entrata.Start();
        if (!lanciatore.finestra()) lanciatore.Apri(s.finestra, false);
    });
    AdattatoreFinestra& finestra = *lanciatore.finestra();

    Esecuzione esecuzione(finestra);
    // The whole scenario is checked before its first step: a run that stops
    // on a wrong name has written nothing, so it can simply be run again.
    for (const Passo& p : s.passi) {
        try {
            esecuzione.Controlla(p);
        } catch (const Errore& e) {
            throw Errore(p.nome() + QStringLiteral(": ") + e.testo());
        }
    }
    try {
        ControllaStampa(s.stampa, finestra, host);
    } catch (const Errore& e) {
        throw Errore(QStringLiteral("stampa: ") + e.testo());
    }
    for (const Passo& p : s.passi)
        InTransazione(host, ui, p.nome(), [&] { esecuzione.Esegui(p); });

    QJsonObject out;
    InTransazione(host, ui, QStringLiteral("stampa"),
                  [&] { out = StampaStato(s.stampa, finestra, ui, host); });
    corsa.commit();
    return out;
}

}  // namespace incassi::scenario
