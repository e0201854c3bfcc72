// Translation throughput and the cost of a record set against the bare engine.
//   build/bin/host_bench [--benchmark_filter=...]
// The 1-million-row table is built once in the system's temporary folder;
// with INCASSI_BENCH_PG (an empty PostgreSQL database at first) it all runs
// on a copy of it there.

#include <benchmark/benchmark.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

#include "host/database.h"
#include "host/recordset.h"
#include "host/sqllexer.h"
#include "host/sqltranslator.h"

#include "ambiente.h"

using namespace incassi;

namespace {

const QString kStatement =
    "SELECT Sum(NoteRighe.Dare) AS SommaDiDare, Sum(NoteRighe.Avere) AS SommaDiAvere From "
    "NoteRighe  "
    "WHERE (((NoteRighe.CodConto)='01.01.09') AND ((NoteRighe.codLocale)='BAR''S 12') and "
    "((noterighe.data)<=#03/07/2026#));";

const char* kColumns =
    "id INTEGER PRIMARY KEY, CodLocale VARCHAR(20) COLLATE NOCASE, CodCausale VARCHAR(10) COLLATE "
    "NOCASE, "
    "DataRegistrazione DATE, CodiceAzienda VARCHAR(10) COLLATE NOCASE, Descrizione VARCHAR(100) "
    "COLLATE NOCASE, "
    "Chiuso BOOLEAN, Bloccato BOOLEAN, idOnda INTEGER, iddata DATETIME, idoperatore VARCHAR(20) "
    "COLLATE NOCASE, "
    "Riscosso DOUBLE, VersatoALocale DOUBLE, Rimanenza DOUBLE, Arrotondamenti DOUBLE, "
    "TotIntrodotto DOUBLE, "
    "TotUscite DOUBLE, TotPreu DOUBLE, TotAAMS DOUBLE, TotRete DOUBLE, UtileLocale DOUBLE, "
    "UtileNoleggiatore DOUBLE, "
    "Acconto DOUBLE, AccontoLocale DOUBLE, Annotazioni TEXT COLLATE NOCASE";

void Fill(Database& db, const QString& table, int rows) {
    db.executeScript({QStringLiteral("CREATE TABLE %1 (%2)").arg(table, QLatin1String(kColumns)),
                      QStringLiteral("CREATE INDEX %1_data ON %1 (DataRegistrazione)").arg(table)});
    db.begin();
    QSqlQuery q(db.connection());
    q.prepare(
        QStringLiteral(
            "INSERT INTO %1 (CodLocale, CodCausale, DataRegistrazione, CodiceAzienda, "
            "Descrizione, Chiuso, Bloccato, idOnda, iddata, idoperatore, Riscosso, VersatoALocale, "
            "Rimanenza, TotIntrodotto, TotUscite, TotPreu, UtileLocale, UtileNoleggiatore) "
            "VALUES (?,?,?,?,?,0,0,0,?,?,?,?,?,?,?,?,?,?)")
            .arg(table));
    const QDate start(2016, 1, 1);
    for (int i = 0; i < rows; ++i) {
        const QDate d = start.addDays(i % 3650);
        q.addBindValue(QStringLiteral("L%1").arg(i % 2000));
        q.addBindValue(i % 3 ? QStringLiteral("INC6") : QStringLiteral("INC"));
        q.addBindValue(d.toString(Qt::ISODate));
        q.addBindValue(QStringLiteral("AZ%1").arg(i % 2));
        q.addBindValue(QStringLiteral("Incasso settimanale"));
        q.addBindValue(d.toString(Qt::ISODate) + QStringLiteral(" 10:00:00"));
        q.addBindValue(QStringLiteral("ANNA"));
        for (int k = 0; k < 8; ++k)
            q.addBindValue(double(i % 1000) + k * 0.25);
        q.exec();
    }
    db.commit();
}

struct Fixture {
    std::shared_ptr<Database> db;
    Fixture() {
        const QString file = QDir::temp().filePath(QStringLiteral("incassi-host-bench.sqlite"));
        const bool ready = QFile::exists(file);
        db = Database::OpenSqlite(file);
        if (!ready || !db->hasTable(QStringLiteral("Grande"))) {
            Fill(*db, QStringLiteral("Piccola"), 100);
            Fill(*db, QStringLiteral("Grande"), 1000000);
        }
        if (qEnvironmentVariableIsSet("INCASSI_BENCH_PG")) {
            auto sqlite = db;
            db = bench::SuMotore(sqlite);
            // The index on the day, with the key last as SQLite's has it.
            for (const char* t : {"Piccola", "Grande"}) {
                db->executeScript({QStringLiteral("CREATE INDEX IF NOT EXISTS %1_data ON %1 "
                                                  "(DataRegistrazione NULLS FIRST, id)")
                                       .arg(QLatin1String(t))});
            }
        }
    }
};

Fixture& Db() {
    static Fixture f;
    return f;
}

void BM_TranslateCached(benchmark::State& state) {
    SqlTranslator tr(Db().db->dialect());
    std::vector<QVariant> params;
    tr.translate(kStatement, params);
    for (auto _ : state)
        benchmark::DoNotOptimize(tr.translate(kStatement, params));
}
BENCHMARK(BM_TranslateCached);

// Same shape, another value each time: lexing plus a lookup by shape.
void BM_TranslateSameShape(benchmark::State& state) {
    SqlTranslator tr(Db().db->dialect());
    std::vector<QVariant> params;
    std::vector<QString> statements;
    for (int i = 0; i < 10000; ++i) {
        statements.push_back(
            QStringLiteral("select * from noteincassi where linkscheda=%1 and "
                           "dataincasso<=#03-07-2026# order by dataincasso desc,id desc")
                .arg(i));
    }
    size_t i = 0;
    tr.translate(statements[0], params);
    for (auto _ : state) {
        benchmark::DoNotOptimize(tr.translate(statements[i++ % statements.size()], params));
    }
}
BENCHMARK(BM_TranslateSameShape);

void BM_TranslateUncached(benchmark::State& state) {
    const Dialect& dialect = Db().db->dialect();
    Lexed lx;
    for (auto _ : state) {
        LexClassicSql(kStatement, lx);
        benchmark::DoNotOptimize(TranslateClassicSql(kStatement, lx, dialect));
    }
}
BENCHMARK(BM_TranslateUncached);

void ReadAll(QSqlQuery& q, benchmark::State& state) {
    const int n = q.record().count();
    while (q.next()) {
        for (int c = 0; c < n; ++c)
            benchmark::DoNotOptimize(q.value(c));
    }
    (void)state;
}

void BM_Direct100(benchmark::State& state) {
    auto& db = *Db().db;
    for (auto _ : state) {
        QSqlQuery q(db.connection());
        q.setForwardOnly(true);
        q.exec(QStringLiteral("select * from Piccola where CodiceAzienda like 'AZ%'"));
        ReadAll(q, state);
    }
}
BENCHMARK(BM_Direct100);

void BM_RecordSet100(benchmark::State& state) {
    auto db = Db().db;
    for (auto _ : state) {
        auto rs = RecordSet::Open(
            db, QStringLiteral("select * from Piccola where CodiceAzienda like 'AZ%'"),
            RecordSetMode::Immediate);
        benchmark::DoNotOptimize(rs->RecordCount());
    }
}
BENCHMARK(BM_RecordSet100);

// The same 100 rows with every value read through the record set.
void BM_RecordSet100Letti(benchmark::State& state) {
    auto db = Db().db;
    for (auto _ : state) {
        auto rs = RecordSet::Open(
            db, QStringLiteral("select * from Piccola where CodiceAzienda like 'AZ%'"),
            RecordSetMode::Immediate);
        const int n = rs->FieldCount();
        for (; !rs->Eof(); rs->MoveNext()) {
            for (int c = 0; c < n; ++c)
                benchmark::DoNotOptimize(rs->Value(c));
        }
    }
}
BENCHMARK(BM_RecordSet100Letti);

// One row by its id, every value read: the lookup the module makes most,
// bare and through a record set.
void BM_UnaRigaDiretta(benchmark::State& state) {
    auto& db = *Db().db;
    QSqlQuery q(db.connection());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("select * from Grande where id=?"));
    qlonglong id = 0;
    for (auto _ : state) {
        q.bindValue(0, ++id % 100000 + 1);
        q.exec();
        ReadAll(q, state);
    }
}
BENCHMARK(BM_UnaRigaDiretta);

void BM_UnaRigaRecordSet(benchmark::State& state) {
    auto db = Db().db;
    qlonglong id = 0;
    for (auto _ : state) {
        auto rs = RecordSet::Open(
            db, QStringLiteral("select * from Grande where id=%1").arg(++id % 100000 + 1),
            RecordSetMode::Immediate);
        const int n = rs->FieldCount();
        for (int c = 0; c < n; ++c)
            benchmark::DoNotOptimize(rs->Value(c));
    }
}
BENCHMARK(BM_UnaRigaRecordSet);

void BM_DirectFirstPageBig(benchmark::State& state) {
    auto& db = *Db().db;
    const QString table = state.range(0) ? QStringLiteral("Grande") : QStringLiteral("Piccola");
    for (auto _ : state) {
        QSqlQuery q(db.connection());
        q.setForwardOnly(true);
        q.exec(
            QStringLiteral("select * from %1 order by DataRegistrazione desc %2, id desc limit 100")
                .arg(table, db.dialect().nullsOrder(true)));
        ReadAll(q, state);
    }
}
BENCHMARK(BM_DirectFirstPageBig)->Arg(0)->Arg(1);

void BM_RecordSetFirstPage(benchmark::State& state) {
    auto db = Db().db;
    const QString table = state.range(0) ? QStringLiteral("Grande") : QStringLiteral("Piccola");
    const QString sql =
        QStringLiteral("select * from %1 order by DataRegistrazione desc").arg(table);
    for (auto _ : state) {
        auto rs = RecordSet::Open(db, sql, RecordSetMode::Immediate, 100);
        benchmark::DoNotOptimize(rs->LoadedCount());
    }
}
BENCHMARK(BM_RecordSetFirstPage)->Arg(0)->Arg(1);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    Db().db.reset();
    return 0;
}
namespace {
void BM_QueryNativePage(benchmark::State& state) {
    auto db = Db().db;
    const QString sql =
        QStringLiteral(
            "SELECT * FROM Piccola ORDER BY DataRegistrazione DESC %1, id DESC LIMIT 100")
            .arg(db->dialect().nullsOrder(true));
    for (auto _ : state)
        benchmark::DoNotOptimize(db->queryNative(sql, {}).count());
}
BENCHMARK(BM_QueryNativePage);
void BM_DirectPrepared(benchmark::State& state) {
    auto& db = *Db().db;
    QSqlQuery q(db.connection());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral(
                  "SELECT * FROM Piccola ORDER BY DataRegistrazione DESC %1, id DESC LIMIT 100")
                  .arg(db.dialect().nullsOrder(true)));
    for (auto _ : state) {
        q.exec();
        ReadAll(q, state);
        q.finish();
    }
}
BENCHMARK(BM_DirectPrepared);
}  // namespace
