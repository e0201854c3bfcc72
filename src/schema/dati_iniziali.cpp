#include "schema/dati_iniziali.h"

#include <QDate>
#include <QStringList>
#include <QVariant>
#include <vector>

#include "host/database.h"

namespace incassi::schema {

namespace {

struct Causale {
    const char* codice;
    const char* descrizione;
    TipoVideata videata;
};

const Causale kCausali[] = {
    {"INC", "Incasso apparecchi", TipoVideata::Apparecchi},
    {"INC6", "Incasso apparecchi con contatori (New Slot)", TipoVideata::Apparecchi},
    {"FUR", "Furto", TipoVideata::Furti},
    {"CAM", "Operazione su cambiamonete", TipoVideata::Cambiamonete},
    {"ACC", "Acconto su incasso", TipoVideata::Acconti},
    {"ACL", "Acconto su locale", TipoVideata::Acconti},
    {"REF", "Refill hopper", TipoVideata::Refill},
    {"CH", "Carico hopper", TipoVideata::Hopper},
    {"RH", "Scarico hopper", TipoVideata::Hopper},
    {"PRE", "Prestito al locale", TipoVideata::SoloPrimaNota},
    {"CP", "Movimento di cassa", TipoVideata::SoloPrimaNota},
    {"HOP", "Hopper sala giochi", TipoVideata::Hopper},
};

struct Voce {
    int codice;
    const char* descrizione;
};

const Voce kTipologie[] = {
    {0, "Incasso standard"},
    {1, "Incasso a cassetto"},
    {3, "Incasso con hopper a carico noleggiatore"},
    {4, "Incasso con hopper e acconti a carico noleggiatore"},
    {5, "Incasso Remoto"},
    {10, "Incasso gestito dal locale"},
};

struct Conto {
    const char* codice;
    const char* descrizione;
    const char* ruolo;  // column of TabAssociazioneConti, or nullptr
};

const Conto kConti[] = {
    {"01", "Disponibilità liquide", nullptr},
    {"01.01", "Cassa e banche", nullptr},
    {"01.01.01", "Cassa", "cassa"},
    {"01.01.02", "Banca", nullptr},
    {"01.01.03", "Cassa acconti su incasso", "cassaacconti"},
    {"01.01.04", "Cassa acconti su locale", "cassaaccontilocale"},
    {"01.01.05", "Cassa refill", "CassaRefill"},
    {"01.01.06", "Cassa hopper", "CassaHopper"},
    {"01.01.07", "Cassa hopper cambiamonete", "CassaHopperCambiam"},
    {"01.01.08", "Cassa sede", nullptr},
    {"01.01.09", "Cassa differenze di incasso", nullptr},
    {"02", "Crediti", nullptr},
    {"02.01", "Crediti verso locali e clienti", nullptr},
    {"02.01.01", "Prestiti ai locali", "PrestitiALocale"},
    {"02.01.02", "Residui incassi da locali", "ResiduiIncassi"},
    {"02.01.03", "Clienti conto fatture", "ClientiContoFatture"},
    {"02.01.04", "Clienti abituali", "ClientiAbituali"},
    {"05", "Costi", nullptr},
    {"05.01", "Costi della gestione incassi", nullptr},
    {"05.01.01", "Ammanchi", "Ammanchi"},
    {"05.01.02", "Furti", "Furti"},
    {"05.01.03", "Arrotondamenti passivi", "arrotondamentiPassivi"},
    {"06", "Ricavi", nullptr},
    {"06.01", "Ricavi da apparecchi", nullptr},
    {"06.01.01", "Utili altri apparecchi", "UtiliAltriApparecchi"},
    {"06.01.02", "Utili New Slot", "utiliNewSlot"},
    {"06.01.03", "Eccedenze di cassa", "eccedenza"},
    {"06.01.04", "Arrotondamenti attivi", "arrotondamentiAttivi"},
    {"20", "Debiti tributari e verso terzi", nullptr},
    {"20.01", "Debiti per imposte e concessionario", nullptr},
    {"20.01.01", "PREU", nullptr},
    {"20.01.02", "AAMS", nullptr},
    {"20.01.03", "RETE", nullptr},
    {"20.01.04", "Debito verso noleggiatore", nullptr},
};

QString T(const char* s) {
    return QString::fromUtf8(s);
}

struct Stampa {
    const char* descrizione;
    const char* report;
};
const Stampa kStampe[] = {
    {"Ricevuta di incasso", "stampe/RicevutaIncasso.json"},
    {"Riepilogo incassi del periodo", "stampe/RiepilogoPeriodo.json"},
    {"Dettaglio apparecchi del periodo", "stampe/DettaglioApparecchi.json"},
};

}  // namespace

void RegistraStampe(Database& db) {
    if (db.query(QStringLiteral("SELECT count(*) FROM stampe WHERE codiceStampa='Incassi'"))
            .scalar()
            .toInt() > 0) {
        return;
    }
    int ordine = 0;
    for (const Stampa& s : kStampe) {
        db.insert("stampe",
                  {"Ordine", "codiceStampa", "Descrizione", "NomeReport", "nomeTemporaneo"},
                  {++ordine, QStringLiteral("Incassi"), T(s.descrizione), T(s.report),
                   QStringLiteral("stampe/Incassi.sqlite")});
    }
}

void CaricaDatiIniziali(Database& db) {
    Transazione tr(db);
    for (const Causale& c : kCausali) {
        db.insert("AnagraficaCausali", {"codiceCausale", "Descrizione", "tipovideata"},
                  {T(c.codice), T(c.descrizione), int(c.videata)});
    }
    for (const Voce& v : kTipologie) {
        db.insert("incassoTipologia", {"Codice", "Descrizione"}, {v.codice, T(v.descrizione)});
    }
    QStringList ruoli;
    std::vector<QVariant> contiRuolo;
    for (const Conto& c : kConti) {
        db.insert("AnagraficaPianoConti", {"CodiceConto", "Descrizione"},
                  {T(c.codice), T(c.descrizione)});
        if (c.ruolo) {
            ruoli << T(c.ruolo);
            contiRuolo.push_back(T(c.codice));
        }
    }
    db.insert("TabAssociazioneConti", ruoli, contiRuolo);
    db.insert("DefaultIncassi", {"tipoincasso", "valoreperc"}, {QStringLiteral("Utile"), 50.0});
    db.insert("anagraficaTasse",
              {"Descrizione", "DataInizio", "attiva", "percentualepreu", "percentualeAAMS"},
              {QStringLiteral("Aliquote PREU e AAMS in vigore"), QDate(2024, 1, 1), -1, 13.0, 0.8});
    db.insert("IncassoTasse", {"Codice", "Descrizione"},
              {QStringLiteral("Noleggiatore"), QStringLiteral("Tasse versate dal noleggiatore")});
    db.insert("IncassoTasse", {"Codice", "Descrizione"},
              {QStringLiteral("Locale"), QStringLiteral("Tasse versate dal locale")});
    db.insert("Zconfigurazioni", {"HoppergestitoDaCassa"}, {0});
    tr.commit();
}

}  // namespace incassi::schema
