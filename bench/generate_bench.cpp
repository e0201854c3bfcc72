// Throughput of `incassi-db generate` and the balance sum of a venue's account
// on the generated database, with the covering index, with a plain index on
// the same columns, and with no index at all.
//   build/bin/generate_bench [--benchmark_filter=...]
// Size and place through the environment: INCASSI_BENCH_VENUES (200),
// INCASSI_BENCH_YEARS (10), INCASSI_BENCH_DIR (the system's temporary folder).
// The database is generated once per run; the two variants are copies of it.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "ambiente.h"
#include "host/database.h"
#include "host/recordset.h"
#include "host/settings.h"
#include "host/sqlhost.h"
#include "schema/creazione.h"
#include "schema/generatore.h"

using namespace incassi;
using namespace incassi::schema;

namespace {

QString File(const char* variante) {
    return QDir(bench::Cartella())
        .filePath(QStringLiteral("incassi-generate-%1.sqlite").arg(variante));
}

void Rimuovi(const QString& f) {
    for (const QString& x : {f, f + "-wal", f + "-shm"})
        QFile::remove(x);
}

const QDate kOggi(2026, 3, 4);

// Generates the database once and prepares its two variants.
struct Basi {
    RiepilogoGenerazione riepilogo;
    qint64 byte = 0;
    Basi() {
        ParametriGenerazione p;
        p.locali = bench::Locali();
        p.anni = bench::Anni();
        p.oggi = kOggi;
        const QString base = File("coperto");
        Rimuovi(base);
        {
            auto db = Database::OpenSqlite(base);
            PreparaSchema(*db);
            riepilogo = GeneraOperatore(*db, p);
            db->executeScript({QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")});
        }
        byte = QFileInfo(base).size();
        Variante(base, "semplice",
                 {"DROP INDEX NoteRighe_saldo",
                  "CREATE INDEX NoteRighe_semplice ON NoteRighe (CodConto, CodLocale, Data)"});
        Variante(base, "senza", {"DROP INDEX NoteRighe_saldo"});
    }
    static void Variante(const QString& base, const char* nome, const QStringList& sql) {
        const QString f = File(nome);
        Rimuovi(f);
        QFile::copy(base, f);
        auto db = Database::OpenSqlite(f);
        db->executeScript(sql);
        db->executeScript({QStringLiteral("VACUUM")});
    }
};

Basi& Dati() {
    static Basi b;
    return b;
}

void BM_Generate(benchmark::State& state) {
    for (auto _ : state) {
        const Basi& b = Dati();
        state.SetIterationTime(b.riepilogo.secondi);
        state.counters["righe"] = double(b.riepilogo.righe);
        state.counters["documenti"] = double(b.riepilogo.documenti);
        state.counters["righe_al_s"] = b.riepilogo.righe / b.riepilogo.secondi;
        state.counters["MB"] = double(b.byte) / (1024 * 1024);
    }
}
BENCHMARK(BM_Generate)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// The balance of the cash account of a venue up to a day, as the collection
// window asks it; each iteration takes the next venue.
void Saldo(benchmark::State& state, const char* variante) {
    Dati();
    const int locali = bench::Locali();
    auto db = Database::OpenSqlite(File(variante));
    SqlHost host(db, std::make_unique<SettingsStore>(QDir(bench::Cartella()).filePath("bench.ini")),
                 bench::Cartella());
    int i = 0;
    double somma = 0;
    for (auto _ : state) {
        ++i;
        const QString sql =
            QStringLiteral(
                "SELECT Sum(NoteRighe.Dare) AS SommaDiDare, Sum(NoteRighe.Avere) AS SommaDiAvere "
                "From NoteRighe WHERE (((NoteRighe.CodConto)='01.01.01') AND "
                "((NoteRighe.codLocale)='L%1') and ((noterighe.data)<=#%2#))")
                .arg(i % locali + 1, 5, 10, QLatin1Char('0'))
                .arg(kOggi.addDays(-(i % 700)).toString(QStringLiteral("MM/dd/yyyy")));
        auto rs = host.OpenRecordSet(sql);
        somma += rs->Value(QStringLiteral("SommaDiDare")).toDouble();
        benchmark::DoNotOptimize(somma);
    }
}

void BM_SaldoIndiceCoprente(benchmark::State& s) {
    Saldo(s, "coperto");
}
void BM_SaldoIndiceSemplice(benchmark::State& s) {
    Saldo(s, "semplice");
}
void BM_SaldoSenzaIndice(benchmark::State& s) {
    Saldo(s, "senza");
}
BENCHMARK(BM_SaldoIndiceCoprente)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaldoIndiceSemplice)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaldoSenzaIndice)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
