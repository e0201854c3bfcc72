// Printing on a large generated operator: the receipt of a venue's latest
// collection (scratch copy, report, PDF) and the machine detail of the venue
// over one year and over ten years, in each format, with the scratch copy
// alone and the bare reads it makes on the engine beside them.
//   build/bin/stampa_bench [--benchmark_filter=...]
// Size and place as the other benchmarks (ambiente.h); the database is the
// one the collection window's benchmark builds, made here when missing.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSqlQuery>

#include "ambiente.h"
#include "host/sqlhost.h"
#include "reportengine/impaginazione.h"
#include "reportengine/motorefile.h"
#include "reports/archiviostampa.h"
#include "reports/report.h"
#include "schema/creazione.h"
#include "schema/generatore.h"

using namespace incassi;
using namespace incassi::stampa;

namespace {

const QDate kOggi(2026, 12, 7);

struct Ambiente {
    std::unique_ptr<SqlHost> host;
    QString cartella, modello, scratch, locale;
    qlonglong ultimo = 0;

    Ambiente() {
        cartella = bench::Cartella();
        const QString file = QDir(cartella).filePath(QStringLiteral("incassi-finestra-%1x%2.sqlite")
                                                         .arg(bench::Locali())
                                                         .arg(bench::Anni()));
        const bool pronto = QFile::exists(file);
        auto db = Database::OpenSqlite(file);
        schema::PreparaSchema(*db);
        if (!pronto) {
            schema::ParametriGenerazione p;
            p.locali = bench::Locali();
            p.anni = bench::Anni();
            p.oggi = kOggi;
            schema::GeneraOperatore(*db, p);
        }
        // The generated venue with the longest history, and its latest collection.
        QSqlQuery q(db->connection());
        q.exec(
            QStringLiteral("SELECT CodLocale FROM NoteTeste WHERE CodLocale LIKE 'L%' AND "
                           "CodCausale='INC6' GROUP BY CodLocale ORDER BY count(*) DESC, "
                           "CodLocale LIMIT 1"));
        q.next();
        locale = q.value(0).toString();
        q.exec(QStringLiteral("SELECT max(id) FROM NoteTeste WHERE CodLocale='%1' AND "
                              "CodCausale='INC6'")
                   .arg(locale));
        q.next();
        ultimo = q.value(0).toLongLong();
        host = std::make_unique<SqlHost>(
            db, std::make_unique<SettingsStore>(QDir(cartella).filePath("bench.ini")), cartella);
        host->setOperatore({QStringLiteral("ADMIN"), Diritti::Tutti()});
        modello = QDir(cartella).filePath(QStringLiteral("incassi-stampa-modello.sqlite"));
        CreaModello(modello);
        scratch = QDir(cartella).filePath(QStringLiteral("incassi-stampa-bench"));
        InstallaStampe(host->percorso());
    }

    Selezione periodo(int anni) const {
        return {true, 0, locale, kOggi.addYears(-anni).addDays(1), kOggi, {}};
    }
    QString report(const char* nome) const {
        return host->percorso() + QStringLiteral("stampe/") + QLatin1String(nome);
    }
};

Ambiente& A() {
    static Ambiente a;
    return a;
}

QString Uscita(FormatoExport f) {
    return QDir(A().cartella).filePath(QStringLiteral("incassi-stampa-bench.") + Estensione(f));
}

void BM_Ricevuta(benchmark::State& st) {
    Ambiente& a = A();
    for (auto _ : st) {
        const QString archivio =
            PreparaArchivio(*a.host, a.modello, a.scratch, {false, a.ultimo, {}, {}, {}, {}});
        const Contenuto c =
            ApriReport(a.report("RicevutaIncasso.json"), archivio, QStringLiteral("ADMIN"), kOggi);
        ScriviPdf(Impagina(c), Uscita(FormatoExport::Pdf), c.titolo);
    }
}
BENCHMARK(BM_Ricevuta)->Unit(benchmark::kMillisecond);

// The scratch copy of a period alone.
void BM_PeriodoArchivio(benchmark::State& st) {
    Ambiente& a = A();
    for (auto _ : st)
        PreparaArchivio(*a.host, a.modello, a.scratch, a.periodo(int(st.range(0))));
}
BENCHMARK(BM_PeriodoArchivio)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// The reads of that copy, bare on the engine.
void BM_PeriodoArchivioNudo(benchmark::State& st) {
    Ambiente& a = A();
    const Selezione s = a.periodo(int(st.range(0)));
    QSqlDatabase& db = a.host->database().connection();
    for (auto _ : st) {
        QSqlQuery teste(db), righe(db);
        teste.prepare(
            QStringLiteral("SELECT * FROM NoteTeste WHERE CodLocale=? AND DataRegistrazione>=? AND "
                           "DataRegistrazione<=? AND CodCausale IN ('INC6','INC') ORDER BY "
                           "DataRegistrazione, id"));
        teste.addBindValue(s.codLocale);
        teste.addBindValue(s.dal.toString(Qt::ISODate));
        teste.addBindValue(s.al.toString(Qt::ISODate));
        teste.exec();
        righe.prepare(
            QStringLiteral("SELECT * FROM NoteIncassi WHERE IdTesta=? ORDER BY Riga, id"));
        int n = 0;
        while (teste.next()) {
            righe.addBindValue(teste.value(0));
            righe.exec();
            while (righe.next())
                ++n;
        }
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_PeriodoArchivioNudo)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// Copy, report and file: the machine detail of the period, per format.
void BM_Periodo(benchmark::State& st) {
    Ambiente& a = A();
    const auto f = FormatoExport(st.range(1));
    MotoreFile motore;
    for (auto _ : st) {
        const QString archivio =
            PreparaArchivio(*a.host, a.modello, a.scratch, a.periodo(int(st.range(0))));
        const Contenuto c = ApriReport(a.report("DettaglioApparecchi.json"), archivio,
                                       QStringLiteral("ADMIN"), kOggi);
        motore.Esporta(c, f, Uscita(f));
        st.counters["righe"] = c.righe();
    }
}
BENCHMARK(BM_Periodo)
    ->ArgsProduct({{1, 10},
                   {int(FormatoExport::Excel), int(FormatoExport::Pdf), int(FormatoExport::Word)}})
    ->ArgNames({"anni", "formato"})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
