#include "schema/generatore.h"

#include <QElapsedTimer>

#include "host/database.h"
#include "schema/generatore_anagrafiche.h"
#include "schema/generatore_storia.h"
#include "values/values.h"

namespace incassi::schema {

using namespace gen;

namespace {

const char* const kTipi[] = {"Bar",      "Caffè",   "Tabaccheria",     "Bar Tabacchi",
                             "Pizzeria", "Circolo", "Bar Pasticceria", "Trattoria"};
const char* const kNomi[] = {"Centrale",  "Sport",    "Aurora",       "Stazione",    "Italia",
                             "Del Corso", "Da Gino",  "La Piazzetta", "Il Ponte",    "Jolly",
                             "Stella",    "Europa",   "Mille Luci",   "Il Faro",     "San Marco",
                             "Garibaldi", "Le Palme", "Al Duomo",     "Bella Vista", "Da Rosa"};
const char* const kVie[] = {"Via Roma",
                            "Corso Italia",
                            "Via Garibaldi",
                            "Piazza Mazzini",
                            "Viale Marconi",
                            "Via Cavour",
                            "Via Dante Alighieri",
                            "Via Verdi",
                            "Corso Vittorio Emanuele II",
                            "Via XX Settembre"};
struct Citta {
    const char* nome;
    const char* cap;
    const char* provincia;
};
const Citta kCitta[] = {{"Roma", "00185", "RM"},    {"Milano", "20121", "MI"},
                        {"Napoli", "80133", "NA"},  {"Torino", "10121", "TO"},
                        {"Bologna", "40121", "BO"}, {"Firenze", "50123", "FI"},
                        {"Bari", "70121", "BA"},    {"Palermo", "90133", "PA"},
                        {"Verona", "37121", "VR"},  {"Genova", "16121", "GE"}};
const char* const kGiochi[] = {"Stella d'Oro",    "Trifoglio",       "Frutta Rovente",
                               "Perla Marina",    "Regina del Nilo", "Corsa all'Oro",
                               "Frutti in Festa", "Jolly Magico"};

QString U(const char* s) {
    return QString::fromUtf8(s);
}

template <typename T, size_t N>
const T& Scegli(const T (&v)[N], Casuale& r) {
    return v[size_t(r.tra(0, int(N) - 1))];
}

void Anagrafiche(Database& db, int esattori) {
    InserisciAziende(db);
    for (int i = 1; i <= esattori; ++i) {
        db.insert(
            "anagraficaoperatori",
            {"CodiceOperatore", "cognome", "nome", "mansione", "CodiceAzienda"},
            {QStringLiteral("E%1").arg(i, 3, 10, QLatin1Char('0')),
             QStringLiteral("Esattore %1").arg(i), QStringLiteral("Generato"),
             QStringLiteral("Esattore"), i % 2 ? QStringLiteral("AZ01") : QStringLiteral("AZ02")});
    }
    db.insert("operatori",
              {"codiceUtente", "Descrizione", "accessocompleto", "admin", "inserimento", "modifica",
               "ricerca", "cancellazione", "stampa", "ricerchePers", "UserIncassi"},
              {QStringLiteral("ADMIN"), QStringLiteral("Amministratore"), -1, -1, -1, -1, -1, -1,
               -1, -1, -1});
    InserisciListini(db);
}

Locale NuovoLocale(int i, Casuale& r, int& seriale) {
    Locale l;
    l.codice = QStringLiteral("L%1").arg(i + 1, 5, 10, QLatin1Char('0'));
    l.insegna = U(Scegli(kTipi, r)) + u' ' + U(Scegli(kNomi, r));
    l.ragioneSociale = l.insegna + QStringLiteral(" di Esercente %1").arg(i + 1);
    l.azienda = i % 3 ? QStringLiteral("AZ01") : QStringLiteral("AZ02");
    l.esattore = QStringLiteral("E%1").arg(i / 40 + 1, 3, 10, QLatin1Char('0'));
    const Citta& c = Scegli(kCitta, r);
    l.indirizzo = U(Scegli(kVie, r));
    l.civico = QString::number(r.tra(1, 200));
    l.cap = U(c.cap);
    l.citta = U(c.nome);
    l.provincia = U(c.provincia);
    l.partitaIva = QStringLiteral("%1").arg(10000000000LL + i * 7919LL, 11, 10, QLatin1Char('0'));
    l.acquisito = QDate(2010, 1, 1);
    l.giorno = -(i % 5);  // Monday, Sunday, Saturday, Friday, Thursday
    l.incassoTasse = i % 10 == 9 ? QStringLiteral("Locale") : QStringLiteral("Noleggiatore");
    l.percentuali = {{QStringLiteral("AWP"), QStringLiteral("Utile"), 50, 50},
                     {QStringLiteral("C7"), QStringLiteral("Utile"), 40, 60}};
    l.contratti = {{QStringLiteral("C01"), QString(), QStringLiteral("Percentuale"), 0.5, false},
                   {QStringLiteral("C02"), QString(), QStringLiteral("Mensile"), 15, false}};
    const int meter = r.tra(3, 8), cassetto = r.prob(50) ? r.tra(1, 3) : 0;
    for (int k = 0; k < meter + cassetto; ++k) {
        Apparecchio a;
        ++seriale;
        a.tipologia = k < meter ? 6 : 0;
        a.codArticolo = k < meter ? QStringLiteral("AWP-VEN") : QStringLiteral("C7-GRU");
        a.categoria = k < meter ? QStringLiteral("AWP") : QStringLiteral("C7");
        a.nomeGioco = k < meter ? U(Scegli(kGiochi, r)) : QStringLiteral("Gru Peluche");
        a.codiceInterno = QStringLiteral("M%1").arg(seriale, 6, 10, QLatin1Char('0'));
        if (k < meter) a.aams = QStringLiteral("%1").arg(1000000000LL + seriale);
        a.descrizione = k < meter ? QStringLiteral("AWP Ventura") : QStringLiteral("Gru");
        a.concessionario =
            k < meter ? (k % 2 ? QStringLiteral("C02") : QStringLiteral("C01")) : QString();
        a.azienda = l.azienda;
        a.ordine = k + 1;
        a.moltIn = a.moltOut = k < meter ? 1 : 0.01;
        a.livelloH[0] = 200;
        a.livelloH[1] = 100;
        a.media = Cent(r.tra(30, 150)) * 1000;
        a.payout = 0.70;
        a.cntotin = r.tra(0, 100000);
        a.cntotout = Round(a.cntotin * 0.7, 2);
        l.apparecchi.push_back(std::move(a));
    }
    return l;
}

}  // namespace

QDate ProssimoLunedi(const QDate& oggi) {
    return oggi.addDays(8 - oggi.dayOfWeek());
}

RiepilogoGenerazione GeneraOperatore(Database& db, const ParametriGenerazione& p,
                                     const std::function<void(const Avanzamento&)>& avanzamento) {
    QElapsedTimer orologio;
    orologio.start();
    RiepilogoGenerazione riepilogo;
    const int settimane = p.anni * 52;
    const ParametriStoria ps = ParametriDi(db, ProssimoLunedi(p.oggi).addDays(-7 * settimane),
                                           settimane, p.operatore, p.seme);

    {
        Transazione tr(db);
        Anagrafiche(db, p.locali / 40 + 1);
        tr.commit();
    }
    ScrittoreDocumenti scrittore(db);
    Storia storia(scrittore, ps);
    Casuale r(p.seme);
    int seriale = 0;
    for (int i = 0; i < p.locali; ++i) {
        Locale l = NuovoLocale(i, r, seriale);
        for (Apparecchio& a : l.apparecchi)
            a.ultimo = ps.primo.addDays(l.giorno - 7);
        RisolviCondizioni(l, ConcessionariTipo(), ContrattiTipo(), QStringLiteral("Utile"), 50);
        scrittore.apri();
        InserisciLocale(db, l);
        storia.genera(l, i);
        scrittore.apri();
        AggiornaSchede(db, l);
        riepilogo.apparecchi += int(l.apparecchi.size());
        if (avanzamento) {
            avanzamento({i + 1, p.locali, scrittore.righe(), orologio.elapsed() / 1000.0});
        }
    }
    scrittore.concludi();
    riepilogo.locali = p.locali;
    riepilogo.documenti = scrittore.documenti();
    riepilogo.righe = scrittore.righe();
    riepilogo.secondi = orologio.elapsed() / 1000.0;
    return riepilogo;
}

}  // namespace incassi::schema
