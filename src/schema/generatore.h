#pragma once

// A large synthetic operator for benchmarks: thousands of venues with years
// of weekly collections, advances, refills and loans, written in bulk.

#include <QDate>
#include <QString>
#include <functional>

namespace incassi {
class Database;
}

namespace incassi::schema {

struct ParametriGenerazione {
    int locali = 2000;
    int anni = 10;
    QDate oggi = QDate::currentDate();
    quint64 seme = 20240601;
    QString operatore = QStringLiteral("ADMIN");
};

struct Avanzamento {
    int locali = 0, totale = 0;  // venues done, venues in all
    qint64 righe = 0;            // rows written so far, every table
    double secondi = 0;
};

struct RiepilogoGenerazione {
    int locali = 0, apparecchi = 0;
    qint64 documenti = 0;
    qint64 righe = 0;  // rows of the document tables, headers included
    double secondi = 0;
};

// The day of the next collection: the Monday after `oggi` (a week later when
// `oggi` is a Monday). The last generated collection is a week before it.
QDate ProssimoLunedi(const QDate& oggi);

// Builds the operator on a database holding the schema and the seed rows.
RiepilogoGenerazione GeneraOperatore(
    Database& db, const ParametriGenerazione& p,
    const std::function<void(const Avanzamento&)>& avanzamento = {});

}  // namespace incassi::schema
