#include "schema/demo.h"

#include <QDateTime>

#include "host/database.h"
#include "schema/generatore.h"
#include "schema/generatore_anagrafiche.h"
#include "schema/generatore_storia.h"
#include "values/values.h"

namespace incassi::schema {

using namespace gen;

namespace {

constexpr quint64 kSeme = 1975;
constexpr int kSettimane = 52;

struct Persona {
    const char *codice, *cognome, *nome, *mansione, *azienda;
};

const Persona kPersone[] = {
    {"E01", "Rossi", "Marco", "Esattore", "AZ01"},
    {"E02", "Bianchi", "Luca", "Esattore", "AZ01"},
    {"E03", "Esposito", "Giuseppe", "Esattore", "AZ02"},
    {"A01", "Ferrari", "Giulia", "Agente", "AZ01"},
    {"A02", "Romano", "Paolo", "Agente", "AZ02"},
};

// Program users: code, description, company restriction, full access, admin,
// insert, modify, search, delete, print.
struct Utente {
    const char *codice, *descrizione, *ditta;
    bool completo, admin, inserimento, modifica, ricerca, cancellazione, stampa;
};

const Utente kUtenti[] = {
    {"ADMIN", "Amministratore", "", true, true, true, true, true, true, true},
    {"SEGRETERIA", "Anna Conti - amministrazione Adriatica Svago", "AZ02", false, false, true, true,
     true, true, true},
    {"ROSSI", "Marco Rossi - esattore, senza cancellazione", "", true, false, true, true, true,
     false, true},
};

struct DatiLocale {
    const char *codice, *insegna, *ragione, *via, *civico, *cap, *citta, *provincia, *tel;
    const char *azienda, *esattore, *agente;
};

const DatiLocale kLocali[] = {
    {"L001", "Bar Centrale", "Bar Centrale di Ricci Stefano", "Via Roma", "12", "00185", "Roma",
     "RM", "06 4821733", "AZ01", "E01", "A01"},
    {"L002", "Tabaccheria Esposito", "Esposito Anna Tabacchi", "Via Toledo", "256", "80134",
     "Napoli", "NA", "081 5521904", "AZ02", "E03", "A02"},
    {"L003", "Bar Sport", "Bar Sport S.n.c. di Neri e Galli", "Piazza Garibaldi", "3", "50123",
     "Firenze", "FI", "055 2398112", "AZ01", "E02", ""},
    {"L004", "Caffè Aurora", "Aurora S.r.l.", "Corso Buenos Aires", "41", "20124", "Milano", "MI",
     "02 29405518", "AZ01", "E01", ""},
    {"L005", "Sala Giochi Las Vegas", "Las Vegas Giochi S.r.l.", "Viale Europa", "110", "40138",
     "Bologna", "BO", "051 6013377", "AZ01", "E02", "A01"},
    {"L006", "Pizzeria Bella Napoli", "Bella Napoli di Russo Ciro", "Via Chiaia", "88", "80121",
     "Napoli", "NA", "081 4120456", "AZ02", "E03", ""},
    {"L007", "Bar Tabacchi Il Ponte", "Il Ponte S.a.s. di Moretti Laura", "Lungarno Corsini", "6",
     "50123", "Firenze", "FI", "055 2741190", "AZ01", "E02", ""},
    {"L008", "Circolo ARCI La Pace", "Circolo ARCI La Pace", "Via Nizza", "150", "10126", "Torino",
     "TO", "011 6632015", "AZ02", "E03", ""},
    {"L009", "Bar Pasticceria Dolce Vita", "Dolce Vita di Lorusso Nicola", "Via Sparano", "45",
     "70121", "Bari", "BA", "080 5214478", "AZ02", "E03", "A02"},
    {"L010", "Bar Stazione", "Bar Stazione di De Santis Marco", "Piazza Aldo Moro", "1", "70122",
     "Bari", "BA", "080 5243301", "AZ02", "E03", ""},
    {"L011", "Trattoria Al Portico", "Al Portico S.n.c.", "Via Mazzini", "21", "37121", "Verona",
     "VR", "045 8003962", "AZ01", "E01", ""},
    {"L012", "Sala Slot Fortuna", "Fortuna Game S.r.l.", "Via Libertà", "180", "90143", "Palermo",
     "PA", "091 6251840", "AZ02", "E03", "A02"},
};

const char* const kGiochi[] = {
    "Stella d'Oro",  "Trifoglio Fortunato", "Frutta Rovente", "Perla Marina", "Regina del Nilo",
    "Corsa all'Oro", "Frutti in Festa",     "Jolly Magico",   "Nuovo Mondo",  "Pecora Nera"};

QString U(const char* s) {
    return QString::fromUtf8(s);
}

// Builds the machines of the venues.
class Parco {
  public:
    explicit Parco(const QDate& prima) : prima_(prima) {}

    Apparecchio& awp(Locale& l, const char* concessionario, Cent media,
                     const char* contratto = "") {
        Apparecchio& a = nuovo(l, 6, "AWP-VEN", "AWP", U(kGiochi[seriale_ % 10]), media);
        a.descrizione = QStringLiteral("AWP Ventura");
        if (seriale_ % 3 == 0) {
            a.codArticolo = QStringLiteral("AWP-ORI");
            a.descrizione = QStringLiteral("AWP Orione");
        }
        a.aams = QString::number(1501200000LL + seriale_ * 37);
        a.concessionario = U(concessionario);
        a.contratto = U(contratto);
        a.livelloH[0] = 150 + seriale_ % 5 * 20;
        a.livelloH[1] = 80;
        a.payout = 0.68 + (seriale_ % 4) * 0.02;
        a.cntotin = 20000 + seriale_ * 3517.5;
        a.cntotout = Round(a.cntotin * 0.71, 2);
        return a;
    }
    Apparecchio& cassetto(Locale& l, const char* articolo, const char* gioco, Cent media) {
        Apparecchio& a = nuovo(l, 0, articolo, "C7", U(gioco), media);
        a.descrizione = U(gioco);
        a.moltIn = a.moltOut = 0.01;
        a.payout = 0.05;
        a.cntotin = 1200 + seriale_ * 11;
        return a;
    }
    Apparecchio& cambiamonete(Locale& l) {
        Apparecchio& a = nuovo(l, 2, "CAMB-01", "CAMB", QStringLiteral("Cambiamonete"), 0);
        a.descrizione = QStringLiteral("Cambiamonete Cometa");
        a.tipoH[0] = 1;
        a.tipoH[1] = 2;
        a.tipoH[2] = 1;
        a.livelloH[0] = 300;
        a.livelloH[1] = 150;
        a.livelloH[2] = 250;
        return a;
    }
    // A hall island: three stations, each with an IN and an OUT meter counting cents.
    Apparecchio& isola(Locale& l) {
        Apparecchio& a = nuovo(l, 13, "VLT-ISO", "VLT", QStringLiteral("Isola Multigioco"), 0);
        a.descrizione = QStringLiteral("Isola VLT a tre postazioni");
        a.concessionario = QStringLiteral("C02");
        a.aams = QString::number(1502900000LL + seriale_);
        a.payout = 0.88;
        for (int s = 0; s < 3; ++s) {
            a.contatori.push_back({0, 2 * s + 1, true, 0.01, 5000000.0 + s * 1250000, 120000});
            a.contatori.push_back({0, 2 * s + 2, false, 0.01, 4400000.0 + s * 1100000, 0});
        }
        return a;
    }

  private:
    Apparecchio& nuovo(Locale& l, int tipologia, const char* articolo, const char* categoria,
                       const QString& gioco, Cent media) {
        Apparecchio a;
        ++seriale_;
        a.tipologia = tipologia;
        a.codArticolo = U(articolo);
        a.categoria = U(categoria);
        a.nomeGioco = gioco;
        a.codiceInterno = QStringLiteral("M%1").arg(seriale_, 4, 10, QLatin1Char('0'));
        a.azienda = l.azienda;
        a.ordine = int(l.apparecchi.size()) + 1;
        a.media = media;
        a.ultimo = prima_;
        l.apparecchi.push_back(std::move(a));
        return l.apparecchi.back();
    }
    QDate prima_;
    int seriale_ = 0;
};

Locale NuovoLocale(const DatiLocale& d, int indice) {
    Locale l;
    l.codice = U(d.codice);
    l.insegna = U(d.insegna);
    l.ragioneSociale = U(d.ragione);
    l.indirizzo = U(d.via);
    l.civico = U(d.civico);
    l.cap = U(d.cap);
    l.citta = U(d.citta);
    l.provincia = U(d.provincia);
    l.telefono = U(d.tel);
    l.azienda = U(d.azienda);
    l.esattore = U(d.esattore);
    l.agente = U(d.agente);
    l.partitaIva = QStringLiteral("%1").arg(1234560000LL + indice * 97, 11, 10, QLatin1Char('0'));
    l.zona = l.provincia;
    l.acquisito = QDate(2014 + indice % 8, 1 + indice % 12, 1);
    l.percentuali = {{QStringLiteral("AWP"), QStringLiteral("Utile"), 50, 50},
                     {QStringLiteral("C7"), QStringLiteral("Utile"), 40, 60}};
    l.contratti = {{QStringLiteral("C01"), QString(), QStringLiteral("Percentuale"), 0.5, false},
                   {QStringLiteral("C02"), QString(), QStringLiteral("Mensile"), 15, false}};
    return l;
}

std::vector<Locale> Locali(const QDate& prima, const QDate& prossimo) {
    std::vector<Locale> v;
    for (const DatiLocale& d : kLocali)
        v.push_back(NuovoLocale(d, int(v.size())));
    Parco p(prima);
    Locale &l1 = v[0], &l2 = v[1], &l3 = v[2], &l4 = v[3], &l5 = v[4], &l6 = v[5];
    Locale &l7 = v[6], &l8 = v[7], &l9 = v[8], &l10 = v[9], &l11 = v[10], &l12 = v[11];

    for (const char* c : {"C01", "C01", "C02"})
        p.awp(l1, c, 60000).mobile = true;
    p.cassetto(l1, "C7-GRU", "Gru Peluche", 8000);

    l2.incassoTasse = QStringLiteral("Locale");
    l2.gestioneDenaro = QStringLiteral("Locale");
    for (const char* c : {"C01", "C02", "C02"})
        p.awp(l2, c, 45000);

    for (const char* c : {"C01", "C02", "C01"})
        p.awp(l3, c, 40000);
    p.cassetto(l3, "C7-FLI", "Flipper Famiglia Stramba", 6000);

    l4.sospesoDal = prossimo.addDays(-7 * 12);
    for (const char* c : {"C01", "C02"})
        p.awp(l4, c, 30000);

    l5.tipologiaIncasso = 3;
    l5.percentuali.push_back({QStringLiteral("VLT"), QStringLiteral("Utile"), 30, 70});
    for (const char* c : {"C01", "C01", "C02", "C02", "C01"})
        p.awp(l5, c, 90000).mobile = true;
    p.isola(l5).mobile = true;

    for (const char* c : {"C01", "C02", "C01"})
        p.awp(l6, c, 50000);
    p.cambiamonete(l6);

    l7.terzo = true;
    l7.contratti = {
        {QStringLiteral("C01"), QStringLiteral("CT01"), QStringLiteral("Percentuale"), 0.6, true},
        {QStringLiteral("C02"), QStringLiteral("CT02"), QStringLiteral("Mensile"), 20, true}};
    p.awp(l7, "C01", 55000, "CT01");
    p.awp(l7, "C01", 50000, "CT01");
    p.awp(l7, "C02", 45000, "CT02");
    p.awp(l7, "C02", 40000, "CT02");

    l8.percentuali[0] = {QStringLiteral("AWP"), QStringLiteral("Utile"), 40, 60};
    for (const char* c : {"C02", "C02"})
        p.awp(l8, c, 25000);
    p.cassetto(l8, "C7-FLI", "Flipper Castello Incantato", 5000);

    for (const char* c : {"C01", "C01", "C02"})
        p.awp(l9, c, 35000);
    Apparecchio& propria = l9.apparecchi[0];
    propria.percentualePropria = true;
    propria.tipoCalcolo = QStringLiteral("Utile");
    propria.percLocale = 60;

    l10.contratti[0] = {QStringLiteral("C01"), QString(), QStringLiteral("Fisso"), 0.3, false};
    for (const char* c : {"C01", "C01", "C02"})
        p.awp(l10, c, 38000);

    for (const char* c : {"C02", "C01"})
        p.awp(l11, c, 28000);
    p.cassetto(l11, "C7-GRU", "Gru Caramelle", 7000);

    l12.percentuali[0] = {QStringLiteral("AWP"), QStringLiteral("Lordo"), 20, 80};
    for (const char* c : {"C01", "C02", "C01", "C02"})
        p.awp(l12, c, 80000).mobile = true;
    return v;
}

void Persone(Database& db) {
    InserisciAziende(db);
    for (const Persona& p : kPersone) {
        db.insert("anagraficaoperatori",
                  {"CodiceOperatore", "cognome", "nome", "mansione", "CodiceAzienda"},
                  {U(p.codice), U(p.cognome), U(p.nome), U(p.mansione), U(p.azienda)});
    }
    // No password: the demo users log in with an empty one.
    for (const Utente& u : kUtenti) {
        db.insert("operatori",
                  {"codiceUtente", "Descrizione", "codiceditta", "accessocompleto", "admin",
                   "inserimento", "modifica", "ricerca", "cancellazione", "stampa", "ricerchePers",
                   "UserIncassi"},
                  {U(u.codice), U(u.descrizione), *u.ditta ? QVariant(U(u.ditta)) : QVariant(),
                   u.completo, u.admin, u.inserimento, u.modifica, u.ricerca, u.cancellazione,
                   u.stampa, u.admin, -1});
    }
}

// Readings of the meter machines as the network reports them for the next
// collection: a week more of play on the card's last reading.
void LettureImportate(Database& db, const std::vector<Locale>& locali, const QDate& giorno) {
    Casuale r(kSeme + 7);
    for (const Locale& l : locali) {
        for (const Apparecchio& a : l.apparecchi) {
            if (a.tipologia != 6) continue;
            const bool attivo = !l.sospesoDal.isValid();
            const Cent in = attivo ? a.media * r.tra(60, 140) / 1000 * 10 : 0;
            const Cent out = Cent(double(in) * a.payout / 10) * 10;
            db.insert(
                "contatori", {"codiceAAMS", "datacontatore", "cntotin", "cntotout"},
                {a.aams, giorno, Round(a.cntotin + Euro(in), 2), Round(a.cntotout + Euro(out), 2)});
        }
    }
}

// The hall's hopper levels counted at the cash desk since its last
// collection: one HOP document still open, a row per networked machine. On
// the collection day itself none is counted yet.
void HopperSala(Database& db, const std::vector<Locale>& locali, const QDate& ultimo,
                const QDate& oggi) {
    if (oggi <= ultimo) return;
    Casuale r(kSeme + 11);
    for (const Locale& l : locali) {
        if (l.codice != u"L012") continue;
        const qint64 id = db.insert("NoteTeste",
                                    {"CodLocale", "CodCausale", "DataRegistrazione", "Chiuso",
                                     "Descrizione", "CodiceAzienda", "idoperatore"},
                                    {l.codice, QStringLiteral("HOP"), oggi, 0,
                                     QStringLiteral("Hopper della sala contati in cassa"),
                                     l.azienda, QStringLiteral("ADMIN")});
        int riga = 0;
        for (const Apparecchio& a : l.apparecchi) {
            if (a.tipologia != 6) continue;
            db.insert("NoteIncassi",
                      {"IdTesta", "Riga", "CodLocale", "linkscheda", "LinkApparecchio",
                       "DataIncasso", "LivelloH1", "TipoH1", "Descrizione"},
                      {id, ++riga, l.codice, a.scheda, a.prodotto, oggi, int(r.tra(60, 180)), 1,
                       a.descrizione});
        }
    }
}

void Note(Database& db, const QDate& giorno) {
    const QDateTime quando(giorno, QTime(9, 0));
    db.insert("notalocale", {"codlocale", "NotaLocale", "IdData", "IdOperatore"},
              {QStringLiteral("L004"),
               QStringLiteral("Locale chiuso per lavori di ristrutturazione: apparecchi fermi, "
                              "riapertura prevista in primavera."),
               quando, QStringLiteral("ADMIN")});
    db.insert("notalocale", {"codlocale", "NotaLocale", "IdData", "IdOperatore"},
              {QStringLiteral("L007"),
               QStringLiteral("Terzo gestore: apparecchi in comodato, quota del concessionario "
                              "da versare a fine mese."),
               quando, QStringLiteral("ADMIN")});
}

}  // namespace

namespace {

// The quick links of the collection window: the venue's latest collections
// (the chosen one shown in the window), a loan to a venue chosen from the
// list, and the transfer wizard.
void LinkRapidiDemo(Database& db) {
    db.insert(
        "queryrapide", {"nomequery", "testoquery", "CampoRicerca", "campo", "tipocampo", "Ordine"},
        {QStringLiteral("IncassiLocale"),
         QStringLiteral("SELECT NoteTeste.id, NoteTeste.DataRegistrazione, NoteTeste.CodLocale, "
                        "NoteTeste.CodCausale, NoteTeste.Riscosso FROM NoteTeste WHERE "
                        "NoteTeste.CodCausale IN ('INC', 'INC6')"),
         QStringLiteral("NoteTeste.CodLocale"), QStringLiteral("id"), QStringLiteral("T"),
         QStringLiteral("ORDER BY NoteTeste.DataRegistrazione DESC, NoteTeste.id DESC")});
    db.insert("queryrapide",
              {"nomequery", "testoquery", "CampoRicerca", "campo", "tipocampo", "Ordine"},
              {QStringLiteral("LocaliAttivi"),
               QStringLiteral("SELECT CodLocale, Insegna, Citta, Indirizzo FROM AnagraficaLocali "
                              "WHERE sospeso=0"),
               QVariant(), QStringLiteral("CodLocale"), QStringLiteral("T"),
               QStringLiteral("ORDER BY Insegna")});
    const QStringList colonne = {"modulo",      "ordine",     "Descrizione", "Descrizioneestesa",
                                 "icona",       "visibilita", "Tipo",        "nomequery",
                                 "ModuloAvvio", "Parametri"};
    db.insert(
        "linkrapidi", colonne,
        {QStringLiteral("Incassi"), 1, QStringLiteral("Ultimi incassi del locale"),
         QStringLiteral("Gli incassi del locale scelto, dal più recente: quello scelto si apre "
                        "nella finestra"),
         QStringLiteral("incassi"), 0, 1, QStringLiteral("IncassiLocale"),
         QStringLiteral("Incassi"), QStringLiteral("id")});
    db.insert("linkrapidi", colonne,
              {QStringLiteral("Incassi"), 2, QStringLiteral("Prestito a un locale"),
               QStringLiteral("Scegliere il locale a cui dare o da cui riavere un prestito"),
               QStringLiteral("prestito"), 1, 1, QStringLiteral("LocaliAttivi"),
               QStringLiteral("Prestito"), QStringLiteral("CodLocale<Modale>")});
    db.insert("linkrapidi", colonne,
              {QStringLiteral("Incassi"), 3, QStringLiteral("Giroconto"),
               QStringLiteral("Spostare denaro fra i conti di cassa"), QStringLiteral("giroconto"),
               1, 0, QVariant(), QStringLiteral("Giroconto"), QVariant()});
}

}  // namespace

void CaricaDemo(Database& db, const QDate& oggi) {
    const QDate prossimo = ProssimoLunedi(oggi);
    const ParametriStoria ps = ParametriDi(db, prossimo.addDays(-7 * kSettimane), kSettimane,
                                           QStringLiteral("ADMIN"), kSeme);

    Transazione tr(db);
    Persone(db);
    InserisciListini(db);
    std::vector<Locale> locali = Locali(ps.primo.addDays(-7), prossimo);
    {
        ScrittoreDocumenti scrittore(db);
        Storia storia(scrittore, ps);
        int indice = 0;
        for (Locale& l : locali) {
            RisolviCondizioni(l, ConcessionariTipo(), ContrattiTipo(), QStringLiteral("Utile"), 50);
            InserisciLocale(db, l);
            storia.genera(l, indice++);
            AggiornaSchede(db, l);
        }
        scrittore.concludi();
    }
    LettureImportate(db, locali, prossimo);
    Note(db, ps.primo);
    LinkRapidiDemo(db);
    HopperSala(db, locali, prossimo.addDays(-7), oggi);
    tr.commit();
}

}  // namespace incassi::schema
