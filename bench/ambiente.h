#pragma once

// What the benchmarks on a generated database share: the size asked through
// the environment and the folder the database lives in.
//   INCASSI_BENCH_VENUES (200), INCASSI_BENCH_YEARS (10),
//   INCASSI_BENCH_DIR (the system's temporary folder)
//   INCASSI_BENCH_PG: a PostgreSQL address; the benchmark then runs there, on
//   a copy of the same generated database (made once, when that database is
//   empty).

#include <QByteArray>
#include <QDir>
#include <QString>
#include <cstdio>
#include <memory>

#include "host/connessione.h"
#include "host/database.h"
#include "schema/copia.h"
#include "schema/creazione.h"
#include "schema/schema.h"

namespace incassi::bench {

inline int Env(const char* nome, int predefinito) {
    const QByteArray v = qgetenv(nome);
    return v.isEmpty() ? predefinito : v.toInt();
}

inline int Locali() {
    return Env("INCASSI_BENCH_VENUES", 200);
}

inline int Anni() {
    return Env("INCASSI_BENCH_YEARS", 10);
}

inline QString Cartella() {
    const QByteArray v = qgetenv("INCASSI_BENCH_DIR");
    return v.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(v);
}

// The database the benchmark runs on: `sqlite`, or its copy on the server
// named by INCASSI_BENCH_PG.
inline std::shared_ptr<Database> SuMotore(std::shared_ptr<Database> sqlite) {
    const QString server = qEnvironmentVariable("INCASSI_BENCH_PG");
    if (server.isEmpty()) return sqlite;
    auto pg = ApriDatabase(server);
    if (pg->tables().isEmpty()) {
        std::fprintf(stderr, "copia del database di prova su %s...\n", qPrintable(server));
        schema::CopiaDatabase(*sqlite, *pg);
    }
    // A copy made by an older program is brought to this one's schema.
    if (pg->hasTable(QString::fromLatin1(schema::kTabellaVersione))) schema::PreparaSchema(*pg);
    return pg;
}

}  // namespace incassi::bench
