#pragma once

// Integrity check of a database, read-only: the engine's own check of the
// file, the schema version and its tables and columns, and the invariants of
// the document tables (every document balances and its collected money is its
// cash row; no row without its header; accounts, machines, causals and venues
// that exist; amounts that are numbers; dates that are dates; row numbers
// given once; settlements by documents that exist). Each finding names the
// document it is about.

#include <QString>
#include <vector>

namespace incassi {
class Database;
}

namespace incassi::schema {

enum class TipoAnomalia {
    Motore,              // the engine's own check of the file
    Schema,              // another schema version, a table or a column missing
    Sbilanciato,         // a document whose Dare and Avere differ by a cent or more
    TotaleDiverso,       // a header total that is not what its rows say
    RigaOrfana,          // a NoteRighe row without its NoteTeste header
    IncassoOrfano,       // a NoteIncassi row without its NoteTeste header
    ContatoreOrfano,     // a meter row without its header or its meter
    ChiusuraOrfana,      // settled by a document that does not exist
    ContoSconosciuto,    // an account missing, blank-padded or not in the chart
    SchedaSconosciuta,   // NoteIncassi.linkscheda missing from MagSchede
    CausaleSconosciuta,  // a header whose causal is not in AnagraficaCausali
    LocaleSconosciuto,   // a header whose venue is not in AnagraficaLocali
    ImportoNonValido,    // an amount that is not a finite number
    DataNonValida,       // a date missing, unreadable or out of 1990-2100
    RigaDoppia,          // two rows with the same number in one document
    ControlloFallito,    // a check that could not run (the file or the schema is broken)
};
inline constexpr int kTipiAnomalia = int(TipoAnomalia::ControlloFallito) + 1;

struct Anomalia {
    TipoAnomalia tipo;
    qint64 id = 0;  // the document, or the row when it has no document
    QString testo;
};

struct RapportoControllo {
    std::vector<Anomalia> anomalie;     // at most kMassimoElencate of each kind
    int conteggio[kTipiAnomalia] = {};  // every anomaly found, by kind
    qint64 documenti = 0;
    qint64 righe = 0;
    qint64 incassi = 0;

    static constexpr int kMassimoElencate = 50;
    bool ok() const;
    int totale() const;
    int quante(TipoAnomalia t) const { return conteggio[int(t)]; }
    // The report as printed by incassi-db check.
    QString testo() const;
};

// Runs every check; it only reads. A check that cannot run is itself reported.
RapportoControllo ControllaIntegrita(Database& db);

}  // namespace incassi::schema
