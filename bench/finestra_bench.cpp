// The collection window on a large generated operator: opening (the first page
// of the document list and the lookups), choosing a venue (balances and the
// venue's statement), loading ten machines, and saving and deleting a
// ten-machine collection against the same statements run bare on the engine,
// and recomputing the money panel of that collection.
//   build/bin/finestra_bench [--benchmark_filter=...]
// Size and place: INCASSI_BENCH_VENUES (200), INCASSI_BENCH_YEARS (10),
// INCASSI_BENCH_DIR (the system's temporary folder); the database is built once.
// INCASSI_BENCH_PG runs it all on a PostgreSQL copy of that database.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <functional>
#include <unordered_map>

#include "ambiente.h"
#include "collection/frmincassi.h"
#include "host/sqlhost.h"
#include "schema/creazione.h"
#include "schema/generatore.h"
#include "values/values.h"
#include "window/scriptedui.h"

using namespace incassi;

namespace {

const QDate kOggi(2026, 12, 7);
constexpr int kPrimaMacchina = 900000;

// The bench venue without the documents of the bench and its cards at the
// last readings of its history.
void Ripristina(Database& db) {
    // Every row of the bench venue after its history, found through indexes
    // (a replayed save writes rows under the header id it recorded, so rows
    // are not found through their headers): by account, venue and day, and
    // by machine and day; not by a scan of millions.
    db.executeScript(
        {QStringLiteral("DELETE FROM NoteRighe WHERE CodConto IN (SELECT CodiceConto FROM "
                        "AnagraficaPianoConti) AND CodLocale='BENCH' AND Data>'2026-11-30'"),
         QStringLiteral("DELETE FROM NoteIncassi WHERE linkscheda IN (SELECT id FROM MagSchede "
                        "WHERE CodLocale='BENCH') AND DataIncasso>'2026-11-30'"),
         QStringLiteral(
             "DELETE FROM NoteTeste WHERE CodLocale='BENCH' AND DataRegistrazione>'2026-11-30'"),
         QStringLiteral("UPDATE MagSchede SET ultimoIncasso='2026-11-30', cntotin=10000, "
                        "cntotout=6000, attualeh1=50 WHERE CodLocale='BENCH'")});
}

// Ten years of weekly collections of the bench venue's machines, the last on
// 30/11/2026 at the cards' readings: the history a real venue has.
void Storia(Database& db) {
    QSqlQuery q(db.connection());
    q.exec(QStringLiteral("SELECT count(*) FROM NoteTeste WHERE CodLocale='BENCH'"));
    if (q.next() && q.value(0).toInt() > 0) return;
    const QString settimane = QStringLiteral(
        "WITH RECURSIVE k(n) AS (SELECT 0 UNION ALL SELECT n+1 FROM k WHERE n<519) ");
    const QString giorno = QStringLiteral("date('2026-11-30', '-' || (7*n) || ' days')");
    db.executeScript(
        {settimane +
             QStringLiteral("INSERT INTO NoteTeste (id, CodLocale, CodCausale, "
                            "DataRegistrazione, DaRiscuotereTeorica) SELECT 8000000+n, 'BENCH', "
                            "'INC6', %1, 400 FROM k")
                 .arg(giorno),
         settimane +
             QStringLiteral(
                 "INSERT INTO NoteIncassi (IdTesta, Riga, DataIncasso, CodLocale, linkscheda, "
                 "TipoIncasso, ContatoreIN, ContatoreOUT, Parzialein, Parzialeout, "
                 "NumGiorniIncasso, LivelloH1, TipoH1, cassetto) SELECT 8000000+n, m.i, %1, "
                 "'BENCH', %2+m.i, 6, 10000-40*n, 6000-20*n, 40, 20, 7, 50, 1, 20 FROM k, "
                 "(WITH RECURSIVE m(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM m WHERE i<9) "
                 "SELECT i FROM m) m")
                 .arg(giorno)
                 .arg(kPrimaMacchina)});
}

struct Ambiente {
    std::unique_ptr<SqlHost> host;
    QStringList ids;  // the ten machines of the bench venue
    Ambiente() {
        const int locali = bench::Locali(), anni = bench::Anni();
        const QString cartella = bench::Cartella();
        const QString file = QDir(cartella).filePath(
            QStringLiteral("incassi-finestra-%1x%2.sqlite").arg(locali).arg(anni));
        const bool pronto = QFile::exists(file);
        auto db = Database::OpenSqlite(file);
        // A database built by an older bench gets the indexes added since.
        schema::PreparaSchema(*db);
        if (!pronto) {
            schema::ParametriGenerazione p;
            p.locali = locali;
            p.anni = anni;
            p.oggi = kOggi;
            schema::GeneraOperatore(*db, p);
            // A venue with ten networked machines and their readings for the day.
            QStringList s = {
                QStringLiteral("INSERT INTO AnagraficaLocali (CodLocale, Insegna, citta, sospeso, "
                               "GestioneDenaro, IncassoTasse, tipologiaincasso) VALUES ('BENCH', "
                               "'Sala prova', 'Roma', 0, 'Noleggiatore', 'Noleggiatore', 0)"),
                QStringLiteral(
                    "INSERT INTO MagAnagArticoli (CodArticolo, TipoArticolo, CatApparecchio) "
                    "VALUES ('BENCHAWP', 4, 'AWP')")};
            for (int i = 0; i < 10; ++i) {
                const int id = kPrimaMacchina + i;
                s << QStringLiteral(
                         "INSERT INTO MagSchede (id, NomeGioco, CodiceInterno, CodiceAAMS, "
                         "CodLocale, "
                         "TipologiaIncasso, ultimoIncasso, cntotin, cntotout, Tipoh1, attualeh1, "
                         "MoltiplicatoreIn, Moltiplicatoreout) VALUES (%1, 'Gioco', 'B%1', 'BA%1', "
                         "'BENCH', "
                         "6, '2026-11-30', 10000, 6000, 1, 50, 1, 1)")
                         .arg(id)
                  << QStringLiteral(
                         "INSERT INTO MagProdottoFinito (id, Descrizione, CodLocale, CodArticolo, "
                         "OrdineIncasso) VALUES (%1, 'Prodotto', 'BENCH', 'BENCHAWP', %2)")
                         .arg(id)
                         .arg(i)
                  << QStringLiteral(
                         "INSERT INTO MagProdottoDistinta (IdProdottoFinito, linkScheda, "
                         "TipoArticolo) "
                         "VALUES (%1, %1, 1)")
                         .arg(id)
                  << QStringLiteral(
                         "INSERT INTO contatori (codiceAAMS, datacontatore, cntotin, cntotout) "
                         "VALUES "
                         "('BA%1', '2026-12-07', 10900, 6400)")
                         .arg(id);
            }
            db->executeScript(s);
        }
        // A run stopped between a save and its deletion leaves the bench venue's
        // cards at the new readings: start every run from the same state.
        Storia(*db);
        db = bench::SuMotore(db);
        Ripristina(*db);
        for (int i = 0; i < 10; ++i)
            ids << QString::number(kPrimaMacchina + i);
        host = std::make_unique<SqlHost>(
            db, std::make_unique<SettingsStore>(QDir(cartella).filePath("bench.ini")), cartella);
        host->setOperatore({QStringLiteral("ADMIN"), Diritti::Tutti()});
    }
};

Ambiente& A() {
    static Ambiente a;
    return a;
}

std::unique_ptr<FrmIncassi> Finestra(ScriptedUi& ui, ProprietaIngresso& prop) {
    auto f = std::make_unique<FrmIncassi>(*A().host, ui, prop, RecordOperatore{});
    f->orologio = [] { return kOggi; };
    return f;
}

// A new collection at the bench venue, its ten machines about to be chosen.
void Prepara(FrmIncassi& f, ScriptedUi& ui) {
    f.Nuovo();
    f["txtDataRegistrazione"].setValue(kOggi);
    f.casella("txeCodCausale").ImpostaCodice("INC6");
    f.casella("txeCodLocale").ImpostaCodice("BENCH");
    ui.rispondiElenco(A().ids.join(u'|') + u'|');
}

// The same with the machines loaded.
void Carica(FrmIncassi& f, ScriptedUi& ui) {
    Prepara(f, ui);
    f.CaricaApparecchi();
}

void BM_Apertura(benchmark::State& state) {
    A();
    ScriptedUi ui;
    ProprietaIngresso prop;
    for (auto _ : state) {
        auto f = Finestra(ui, prop);
        f->Apri();
        benchmark::DoNotOptimize(f->stato());
    }
}
BENCHMARK(BM_Apertura)->Unit(benchmark::kMillisecond);

void BM_SceltaLocale(benchmark::State& state) {
    ScriptedUi ui;
    ProprietaIngresso prop;
    auto f = Finestra(ui, prop);
    f->Apri();
    f->Nuovo();
    (*f)["txtDataRegistrazione"].setValue(kOggi);
    f->casella("txeCodCausale").ImpostaCodice("INC6");
    int i = 0;
    for (auto _ : state) {
        // A generated venue with years of documents.
        f->casella("txeCodLocale")
            .ImpostaCodice(QStringLiteral("L%1").arg(++i % 150 + 1, 5, 10, QChar('0')));
        benchmark::DoNotOptimize(f->storicoLocale().righe.size());
    }
}
BENCHMARK(BM_SceltaLocale)->Unit(benchmark::kMillisecond);

void BM_CaricaDieci(benchmark::State& state) {
    ScriptedUi ui;
    ProprietaIngresso prop;
    auto f = Finestra(ui, prop);
    f->Apri();
    for (auto _ : state) {
        state.PauseTiming();
        Prepara(*f, ui);
        state.ResumeTiming();
        f->CaricaApparecchi();
    }
}
BENCHMARK(BM_CaricaDieci)->Unit(benchmark::kMillisecond);

void BM_SalvaEdElimina(benchmark::State& state) {
    ScriptedUi ui;
    ProprietaIngresso prop;
    auto f = Finestra(ui, prop);
    f->Apri();
    const bool salva = state.range(0) == 0;
    for (auto _ : state) {
        state.PauseTiming();
        Carica(*f, ui);
        ui.rispondi(Risposta::Si);  // no collector chosen: go on all the same
        if (salva) state.ResumeTiming();
        f->Salva();
        if (salva) state.PauseTiming();
        ui.rispondi(Risposta::Si);
        if (!salva) state.ResumeTiming();
        f->Elimina();
        if (!salva) state.PauseTiming();
        state.ResumeTiming();
    }
    state.SetLabel(salva ? "salvataggio" : "eliminazione");
}
BENCHMARK(BM_SalvaEdElimina)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Recomputing the panel and the bookkeeping rows of a ten-machine collection:
// the window's totals and refresh (its reads of the venue's open advances and
// of the holders included), and the pure functions alone on the same rows.
void BM_Ricalcolo(benchmark::State& state) {
    ScriptedUi ui;
    ProprietaIngresso prop;
    auto f = Finestra(ui, prop);
    f->Apri();
    Carica(*f, ui);
    if (state.range(0) == 0) {
        for (auto _ : state) {
            f->CalcolaDettagli();
            f->aggiornaConteggi(QStringLiteral("Totali"));
        }
        state.SetLabel("finestra");
        return;
    }
    // The pure functions, with the sums of the rows (1) or from the sums (2).
    RecordSet& righe = *f->righeIncassi();
    const ValoriPannello v = f->Valori();
    const auto tasse = TasseDaRighe(*A().host, righe);
    const ContiAssociati conti = ContiAssociati::Leggi(*A().host);
    const TotaliRighe totali = SommaRighe(righe);
    const bool somma = state.range(0) == 1;
    for (auto _ : state) {
        const ValoriPannello p =
            CalcolaPannello(somma ? SommaRighe(righe) : totali, v, Dec(), false);
        benchmark::DoNotOptimize(MovimentiDocumento(p, conti, tasse));
    }
    state.SetLabel(somma ? "somme delle righe e funzioni pure" : "funzioni pure");
}
BENCHMARK(BM_Ricalcolo)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// What the window sends to the engine, statement by statement.
struct Istruzione {
    QString sql;
    std::vector<QVariant> valori;
};

std::vector<Istruzione> Registra(const std::function<void()>& lavoro) {
    std::vector<Istruzione> v;
    Database& db = A().host->database();
    db.setOsservatore([&v](const QString& sql, const std::vector<QVariant>& valori) {
        v.push_back({sql, valori});
    });
    lavoro();
    db.setOsservatore({});
    return v;
}

// Replays statements straight on the engine: each prepared once and kept, the
// values bound, every row of a query read. Integer values found in `ids` are
// sent as what they map to, so that a recorded deletion deletes another document.
class Replica {
  public:
    explicit Replica(std::vector<Istruzione> istruzioni) : istruzioni_(std::move(istruzioni)) {}
    size_t size() const { return istruzioni_.size(); }
    // With INCASSI_BENCH_ISTRUZIONI set, the statements that cost most, each
    // text with how many times a run sends it and its mean time per run, are
    // written at the end, to find what to mend (a text sent once per machine
    // shows as a count).
    ~Replica() {
        if (!qEnvironmentVariableIsSet("INCASSI_BENCH_ISTRUZIONI") || giri_ == 0) return;
        struct Voce {
            qint64 tempo = 0;
            int volte = 0;
        };
        std::unordered_map<QString, Voce> perTesto;
        for (size_t i = 0; i < istruzioni_.size(); ++i) {
            Voce& v = perTesto[istruzioni_[i].sql];
            v.tempo += tempi_[i];
            ++v.volte;
        }
        std::vector<std::pair<QString, Voce>> ordine(perTesto.begin(), perTesto.end());
        std::sort(ordine.begin(), ordine.end(),
                  [](const auto& a, const auto& b) { return a.second.tempo > b.second.tempo; });
        for (size_t k = 0; k < std::min<size_t>(15, ordine.size()); ++k) {
            std::fprintf(stderr, "%8.3f ms %3dx  %s\n",
                         double(ordine[k].second.tempo) / 1e6 / giri_, ordine[k].second.volte,
                         qPrintable(ordine[k].first.left(200)));
        }
        // What runs under the write lock: from BEGIN to COMMIT.
        qint64 transazione = 0;
        bool dentro = false;
        for (size_t i = 0; i < istruzioni_.size(); ++i) {
            dentro |= istruzioni_[i].sql.startsWith(QLatin1String("BEGIN"));
            if (dentro) transazione += tempi_[i];
            if (istruzioni_[i].sql.startsWith(QLatin1String("COMMIT"))) break;
        }
        if (dentro) {
            std::fprintf(stderr, "%8.3f ms  dal BEGIN al COMMIT\n",
                         double(transazione) / 1e6 / giri_);
        }
    }
    void esegui(const QHash<qlonglong, qlonglong>& ids = {}) {
        QSqlDatabase& db = A().host->database().connection();
        tempi_.resize(istruzioni_.size());
        ++giri_;
        for (size_t n = 0; n < istruzioni_.size(); ++n) {
            const Istruzione& i = istruzioni_[n];
            QElapsedTimer tempo;
            tempo.start();
            auto& q = preparate_[i.sql];
            if (!q) {
                q = std::make_unique<QSqlQuery>(db);
                q->setForwardOnly(true);
                // Statements without values (transactions, savepoints, a server's
                // BEGIN with its lock) run as they are, as the host runs them.
                if (!i.valori.empty()) q->prepare(i.sql);
            }
            for (size_t k = 0; k < i.valori.size(); ++k) {
                const QVariant& v = i.valori[k];
                const auto altro = v.typeId() == QMetaType::LongLong ? ids.constFind(v.toLongLong())
                                                                     : ids.constEnd();
                q->bindValue(int(k), altro != ids.constEnd() ? QVariant(*altro) : v);
            }
            if (!(i.valori.empty() ? q->exec(i.sql) : q->exec())) {
                std::fprintf(stderr, "replica: %s\n", qPrintable(i.sql));
                std::exit(1);
            }
            const int colonne = q->record().count();
            while (q->next()) {
                for (int c = 0; c < colonne; ++c)
                    benchmark::DoNotOptimize(q->value(c));
            }
            q->finish();
            tempi_[n] += tempo.nsecsElapsed();
        }
    }

  private:
    std::vector<Istruzione> istruzioni_;
    std::unordered_map<QString, std::unique_ptr<QSqlQuery>> preparate_;
    std::vector<qint64> tempi_;  // nanoseconds per statement, summed over the runs
    int giri_ = 0;
};

qlonglong IdMostrato(FrmIncassi& f) {
    return qlonglong(Num(f["EtiId"].caption()));
}

// The document's id, and those of its rows in order.
std::vector<qlonglong> IdDocumento(qlonglong id) {
    std::vector<qlonglong> v{id};
    QSqlQuery q(A().host->database().connection());
    for (const char* t : {"NoteRighe", "NoteIncassi"}) {
        q.exec(QStringLiteral("SELECT id FROM %1 WHERE IdTesta=%2 ORDER BY id")
                   .arg(QLatin1String(t))
                   .arg(id));
        while (q.next())
            v.push_back(q.value(0).toLongLong());
    }
    return v;
}

// Every statement the save and the deletion send, each as one bare run on the
// engine (the save's own transaction and the display refresh after it).
void BM_Nudo(benchmark::State& state) {
    ScriptedUi ui;
    ProprietaIngresso prop;
    auto f = Finestra(ui, prop);
    f->Apri();
    const bool salva = state.range(0) == 0;
    Carica(*f, ui);
    ui.rispondi(Risposta::Si);
    Replica salvataggio(Registra([&] { f->Salva(); }));
    const std::vector<qlonglong> registrati = IdDocumento(IdMostrato(*f));
    ui.rispondi(Risposta::Si);
    Replica eliminazione(Registra([&] { f->Elimina(); }));
    Database& db = A().host->database();
    for (auto _ : state) {
        if (salva) {
            salvataggio.esegui();
            state.PauseTiming();
            Ripristina(db);
            state.ResumeTiming();
        } else {
            state.PauseTiming();
            Carica(*f, ui);
            ui.rispondi(Risposta::Si);
            f->Salva();
            const std::vector<qlonglong> nuovi = IdDocumento(IdMostrato(*f));
            if (nuovi.size() != registrati.size()) {
                std::fprintf(stderr, "il documento salvato non ha le righe di quello registrato\n");
                std::exit(1);
            }
            QHash<qlonglong, qlonglong> ids;
            for (size_t i = 0; i < nuovi.size(); ++i)
                ids.insert(registrati[i], nuovi[i]);
            state.ResumeTiming();
            eliminazione.esegui(ids);
        }
    }
    state.SetLabel(QStringLiteral("%1, %2 istruzioni")
                       .arg(salva ? QStringLiteral("salvataggio") : QStringLiteral("eliminazione"))
                       .arg(salva ? salvataggio.size() : eliminazione.size())
                       .toStdString());
}
BENCHMARK(BM_Nudo)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The steps that only read, each timed in the window and as the bare replay
// of the statements it sent: opening the window; choosing a venue; loading ten
// machines; going to the last document; and the move to the next document
// that reads the next page of the list, 40,000 documents down.
struct PassoLettura {
    const char* nome;
    std::function<void(FrmIncassi&, ScriptedUi&)> prepara;  // not timed
    std::function<void(FrmIncassi&)> esegui;
};

constexpr int kProfondita = 40000;

const std::vector<PassoLettura>& PassiLettura() {
    static const std::vector<PassoLettura> passi = {
        {"apertura", [](FrmIncassi&, ScriptedUi&) {}, [](FrmIncassi& f) { f.Apri(); }},
        {"scelta del locale",
         [](FrmIncassi& f, ScriptedUi&) {
             f.Apri();
             f.Nuovo();
             f["txtDataRegistrazione"].setValue(kOggi);
             f.casella("txeCodCausale").ImpostaCodice("INC6");
         },
         [](FrmIncassi& f) { f.casella("txeCodLocale").ImpostaCodice(QStringLiteral("L00042")); }},
        {"dieci apparecchi",
         [](FrmIncassi& f, ScriptedUi& ui) {
             f.Apri();
             Prepara(f, ui);
         },
         [](FrmIncassi& f) { f.CaricaApparecchi(); }},
        {"ultimo documento", [](FrmIncassi& f, ScriptedUi&) { f.Apri(); },
         [](FrmIncassi& f) { f.Muovi(FrmIncassi::Verso::Ultimo); }},
        {"pagina successiva in fondo",
         [](FrmIncassi& f, ScriptedUi&) {
             f.Apri();
             f.documenti()->SetAbsolutePosition(kProfondita);
         },
         [](FrmIncassi& f) { f.Muovi(FrmIncassi::Verso::Successivo); }},
    };
    return passi;
}

void BM_Lettura(benchmark::State& state) {
    const PassoLettura& passo = PassiLettura()[size_t(state.range(0))];
    A();
    ScriptedUi ui;
    ProprietaIngresso prop;
    for (auto _ : state) {
        state.PauseTiming();
        auto f = Finestra(ui, prop);
        passo.prepara(*f, ui);
        state.ResumeTiming();
        passo.esegui(*f);
        state.PauseTiming();
        f.reset();
        state.ResumeTiming();
    }
    state.SetLabel(passo.nome);
}
BENCHMARK(BM_Lettura)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_LetturaNuda(benchmark::State& state) {
    const PassoLettura& passo = PassiLettura()[size_t(state.range(0))];
    A();
    ScriptedUi ui;
    ProprietaIngresso prop;
    auto f = Finestra(ui, prop);
    passo.prepara(*f, ui);
    Replica replica(Registra([&] { passo.esegui(*f); }));
    for (auto _ : state)
        replica.esegui();
    state.SetLabel(QStringLiteral("%1, %2 istruzioni")
                       .arg(QLatin1String(passo.nome))
                       .arg(replica.size())
                       .toStdString());
}
BENCHMARK(BM_LetturaNuda)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    A().host.reset();
    return 0;
}
