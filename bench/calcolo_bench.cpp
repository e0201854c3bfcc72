// Rows computed per second by a full recalculation of a machine row: the
// contract lookups through the host, then every step of the calculation.
//   build/bin/calcolo_bench

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include "host/sqlhost.h"
#include "machines/calcolo.h"
#include "machines/contratti.h"
#include "schema/creazione.h"
#include "window/scriptedui.h"

using namespace incassi;

namespace {

struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<SqlHost> host;
    ScriptedUi ui;
    RecordSetPtr rs;
    Fixture() {
        auto db = Database::OpenSqlite(QDir(dir.path()).filePath(QStringLiteral("bench.sqlite")));
        schema::PreparaSchema(*db);
        db->executeScript(
            {QStringLiteral(
                 "INSERT INTO Localipercentuali (codicelocale, categoria, Tipo, percentualeloc, "
                 "percentualenol) VALUES ('BAR1', 'AWP', 'Utile', 40, 0)"),
             QStringLiteral("INSERT INTO LocaliConcessionari (codicelocale, CodiceConcessionario, "
                            "contratto, Tipo, "
                            "Valore) VALUES ('BAR1', 'RETE1', '', 'Mensile', 30)")});
        // A month of earlier rows of other machines, so the monthly fee query has work to do.
        QStringList rows;
        for (int i = 0; i < 2000; ++i) {
            rows << QStringLiteral("(%1, 'BAR1', '2026-03-%2', 30)")
                        .arg(100 + i % 50)
                        .arg(1 + i % 19, 2, 10, QChar('0'));
        }
        db->executeScript(
            {QStringLiteral(
                 "INSERT INTO NoteIncassi (linkscheda, codlocale, dataincasso, rete) VALUES ") +
             rows.join(u',')});
        host = std::make_unique<SqlHost>(
            db, std::make_unique<SettingsStore>(QDir(dir.path()).filePath("x.ini")), dir.path());
        rs = host->OpenRecordSetBatch(QStringLiteral("select * from NoteIncassi where idtesta=-1"));
        rs->AddNew();
    }
};

void Ricalcola(benchmark::State& state, const char* tipo, const char* causale) {
    Fixture f;
    ContestoCalcolo ctx;
    ctx.causale = QString::fromLatin1(causale);
    ctx.dataRegistrazione = QDate(2026, 3, 20);
    ctx.codLocale = QStringLiteral("BAR1");
    RecordSet& r = *f.rs;
    const Ripartizione predefinita = LeggiRipartizionePredefinita(*f.host);
    double in = 1000;
    for (auto _ : state) {
        r.SetValue(QStringLiteral("linkscheda"), 7);
        r.SetValue(QStringLiteral("TipoIncasso"), QString::fromLatin1(tipo));
        const Ripartizione rip =
            ScegliRipartizione(*f.host, 7, ctx.codLocale, QStringLiteral("AWP"), predefinita);
        const ParametriRete rete =
            CercaRete(*f.host, ctx.codLocale, QStringLiteral("RETE1"), QString());
        const AliquoteTasse tasse = TassaAttiva(*f.host);
        r.SetValue(QStringLiteral("TipoCalcolo"), rip.tipoCalcolo);
        r.SetValue(QStringLiteral("PercLocale"), rip.percLocale);
        r.SetValue(QStringLiteral("TipoRete"), rete.tipoRete);
        r.SetValue(QStringLiteral("PercRete"), rete.percRete);
        r.SetValue(QStringLiteral("PercPreu"), tasse.preu);
        r.SetValue(QStringLiteral("PercAAMS"), tasse.aams);
        r.SetValue(QStringLiteral("ParzialeIn"), 0);  // the meters give the partial
        r.SetValue(QStringLiteral("VecchioContatoreIN"), 10000);
        r.SetValue(QStringLiteral("ContatoreIN"), 10000 + in);
        r.SetValue(QStringLiteral("Cassetto"), in / 2);
        in += 0.01;
        CalcoloRiga c(*f.host, f.ui, ctx, r);
        c.contatoreDigitato(Lato::In);
        c.contatoreDigitato(Lato::Out);
        c.tasse();
        c.rete();
        c.variazioneHopper(EventoHopper::Livelli);
        c.cassettoAtteso();
        c.ripartizione();
        c.terzoGestore();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_RicalcoloContatori(benchmark::State& state) {
    Ricalcola(state, "6", "INC6");
}
BENCHMARK(BM_RicalcoloContatori);

void BM_RicalcoloCassetto(benchmark::State& state) {
    Ricalcola(state, "0", "INC");
}
BENCHMARK(BM_RicalcoloCassetto);

}  // namespace

BENCHMARK_MAIN();
