#pragma once

// Integrity check of the document tables: every document balances, no row is
// without its header, every account exists in the chart, every machine row
// points to a machine card.

#include <QString>
#include <vector>

namespace incassi {
class Database;
}

namespace incassi::schema {

enum class TipoAnomalia {
    Sbilanciato,        // a document whose Dare and Avere differ by a cent or more
    RigaOrfana,         // a NoteRighe row without its NoteTeste header
    IncassoOrfano,      // a NoteIncassi row without its NoteTeste header
    ContoSconosciuto,   // NoteRighe.CodConto missing from AnagraficaPianoConti
    SchedaSconosciuta,  // NoteIncassi.linkscheda missing from MagSchede
};

struct Anomalia {
    TipoAnomalia tipo;
    qint64 id = 0;  // the document (Sbilanciato) or the row
    QString testo;
};

struct RapportoControllo {
    std::vector<Anomalia> anomalie;  // at most kMassimoElencate of each kind
    int conteggio[5] = {};           // every anomaly found, by kind
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

RapportoControllo ControllaIntegrita(Database& db);

}  // namespace incassi::schema
