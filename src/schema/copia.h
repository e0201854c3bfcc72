#pragma once

// Moves a whole database from one engine to another (an office's SQLite file
// into its new PostgreSQL server, or back): the schema as declared, then every
// table's rows with their ids, in one transaction of the destination.

#include <QString>
#include <functional>
#include <vector>

namespace incassi {
class Database;
}

namespace incassi::schema {

struct AvanzamentoCopia {
    QString tabella;
    qint64 righe = 0;   // rows copied so far, all tables
    qint64 totale = 0;  // rows of the source
};

struct ConteggioTabella {
    QString tabella;
    qint64 sorgente = 0, destinazione = 0;
};

// Copies `da` into `a`, which must hold no tables. Throws Errore, leaving
// `a` as it was, when anything fails.
void CopiaDatabase(Database& da, Database& a,
                   const std::function<void(const AvanzamentoCopia&)>& avanzamento = {});

// The rows of every table of `da` and of the same table in `a`.
std::vector<ConteggioTabella> ConfrontaConteggi(Database& da, Database& a);

}  // namespace incassi::schema
