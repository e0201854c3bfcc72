// The collection window on a large generated operator: opening (the first page
// of the document list and the lookups), choosing a venue (balances and the
// venue's statement), loading ten machines, and saving and deleting a
// ten-machine collection against the same writes as one bare transaction.
//   build/bin/finestra_bench [--benchmark_filter=...]
// Size and place: INCASSI_BENCH_VENUES (200), INCASSI_BENCH_YEARS (10),
// INCASSI_BENCH_DIR (the system's temporary folder); the database is built once.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QSqlQuery>

#include "collection/frmincassi.h"
#include "common/scriptedui.h"
#include "common/values.h"
#include "host/sqlhost.h"
#include "schema/creazione.h"
#include "schema/dati_iniziali.h"
#include "schema/generatore.h"

using namespace incassi;

namespace {

const QDate kOggi(2026, 12, 7);
constexpr int kPrimaMacchina = 900000;

int Env(const char* nome, int predefinito) {
    const QByteArray v = qgetenv(nome);
    return v.isEmpty() ? predefinito : v.toInt();
}

struct Ambiente {
    std::unique_ptr<SqlHost> host;
    QStringList ids;  // the ten machines of the bench venue
    Ambiente() {
        const int locali = Env("INCASSI_BENCH_VENUES", 200), anni = Env("INCASSI_BENCH_YEARS", 10);
        const QByteArray dir = qgetenv("INCASSI_BENCH_DIR");
        const QString cartella = dir.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(dir);
        const QString file = QDir(cartella).filePath(
            QStringLiteral("incassi-finestra-%1x%2.sqlite").arg(locali).arg(anni));
        const bool pronto = QFile::exists(file);
        auto db = Database::OpenSqlite(file);
        if (!pronto) {
            schema::CreaSchema(*db);
            schema::CaricaDatiIniziali(*db);
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

// A new collection at the bench venue with its ten machines loaded.
void Carica(FrmIncassi& f, ScriptedUi& ui) {
    f.Nuovo();
    f["txtDataRegistrazione"].setValue(kOggi);
    f.casella("txeCodCausale").ImpostaCodice("INC6");
    f.casella("txeCodLocale").ImpostaCodice("BENCH");
    ui.rispondiElenco(A().ids.join(u'|') + u'|');
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
        f->Nuovo();
        (*f)["txtDataRegistrazione"].setValue(kOggi);
        f->casella("txeCodCausale").ImpostaCodice("INC6");
        f->casella("txeCodLocale").ImpostaCodice("BENCH");
        ui.rispondiElenco(A().ids.join(u'|') + u'|');
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

// The same writes as the save, as one bare transaction straight on the engine.
void BM_TransazioneNuda(benchmark::State& state) {
    QSqlDatabase& db = A().host->database().connection();
    for (auto _ : state) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("BEGIN IMMEDIATE"));
        q.prepare(QStringLiteral(
            "INSERT INTO NoteTeste (CodLocale, CodCausale, DataRegistrazione, Riscosso, iddata) "
            "VALUES ('BENCH', 'INC6', '2026-12-07', 100, '2026-12-07 10:00:00')"));
        q.exec();
        const qlonglong id = q.lastInsertId().toLongLong();
        QSqlQuery r(db);
        r.prepare(QStringLiteral(
            "INSERT INTO NoteIncassi (IdTesta, linkscheda, DataIncasso, CodLocale, ParzialeIn, "
            "ParzialeOut, Preu, AAMS, IncassoVs, IncassoNs, Riga) VALUES (?, ?, '2026-12-07', "
            "'BENCH', 900, 400, 117, 7.2, 187.9, 187.9, ?)"));
        QSqlQuery n(db);
        n.prepare(QStringLiteral(
            "INSERT INTO NoteRighe (IdTesta, CodConto, CodLocale, Data, Dare, Avere, Riga) "
            "VALUES (?, ?, 'BENCH', '2026-12-07', ?, 0, ?)"));
        QSqlQuery s(db);
        s.prepare(QStringLiteral(
            "UPDATE MagSchede SET ultimoIncasso='2026-12-07', cntotin=10900, cntotout=6400, "
            "attualeh1=50 WHERE id=?"));
        for (int i = 0; i < 10; ++i) {
            r.addBindValue(id);
            r.addBindValue(kPrimaMacchina + i);
            r.addBindValue(i + 1);
            r.exec();
            n.addBindValue(id);
            n.addBindValue(QStringLiteral("99.%1").arg(i));
            n.addBindValue(10.0);
            n.addBindValue(i + 1);
            n.exec();
            s.addBindValue(kPrimaMacchina + i);
            s.exec();
        }
        q.exec(QStringLiteral("COMMIT"));
        state.PauseTiming();
        for (const char* t : {"NoteRighe", "NoteIncassi"}) {
            q.exec(QStringLiteral("DELETE FROM %1 WHERE IdTesta=%2").arg(QLatin1String(t)).arg(id));
        }
        q.exec(QStringLiteral("DELETE FROM NoteTeste WHERE id=%1").arg(id));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TransazioneNuda)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    A().host.reset();
    return 0;
}
