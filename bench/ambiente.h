#pragma once

// What the benchmarks on a generated database share: the size asked through
// the environment and the folder the database lives in.
//   INCASSI_BENCH_VENUES (200), INCASSI_BENCH_YEARS (10),
//   INCASSI_BENCH_DIR (the system's temporary folder)

#include <QByteArray>
#include <QDir>
#include <QString>

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

}  // namespace incassi::bench
