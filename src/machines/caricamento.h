#pragma once

// Loading a venue's machines into the collection grid: the candidates that fit
// the causal code, the collector's pick, the checks on each machine, and the
// new row filled with identity, percentages, previous and current readings,
// open advances and refills, taxes and fee, then calculated.

#include <QDate>
#include <QHash>
#include <QString>
#include <optional>

#include "bookkeeping/archivio.h"
#include "machines/calcolo.h"
#include "machines/contratti.h"

namespace incassi {

class Host;
class UiPort;

struct ContestoCaricamento {
    ContestoCalcolo calcolo;  // venue, causal, date, collection type, third manager
    bool ritirati = false;    // machines withdrawn from the venue in the last 30 days
    bool visCambiamonete = false;
    bool visRefill = false;
    bool visContatori = false;  // meters typed rather than imported
    Ripartizione predefinita;   // the collection defaults
    QDate oggi;
    // The machines chosen beforehand ("id|id|", the hall wizard's); the list
    // is offered when there is none.
    std::optional<QString> scelta;
};

enum class EsitoCaricamento {
    Caricato,         // every chosen machine was added
    NessunaScelta,    // nothing chosen
    Interrotto,       // a machine stopped the load (rows added before it stay)
    LocaleMancante,   // no venue: the focus goes to the venue box
    CausaleMancante,  // no causal: the focus goes to the causal box
};

class CaricamentoApparecchi {
  public:
    CaricamentoApparecchi(Host& host, UiPort& ui, const ContestoCaricamento& contesto,
                          RecordSet& griglia);

    // Offers the candidates and adds the chosen machines.
    EsitoCaricamento Esegui();
    // Adds machine `id` again, read afresh (the caller removed its old row);
    // Interrotto when it is no longer a candidate of the venue.
    EsitoCaricamento Ricarica(qlonglong id);
    int righeAggiunte() const { return aggiunte_; }

    // The candidate query for the window's venue, causal and switches.
    QString QueryCandidati() const;

    // Reads the network-fee parameters of the grid's current row again (meter
    // machines only) and recalculates the row as after a change of its partial IN.
    void AggiornaRete();

  private:
    bool aggiungi(RecordSet& candidato, qlonglong id);
    // Reads at once, for all the machines of the load, what each row needs:
    // the cards, the previous readings, the open advances and refills, the
    // imported readings and the machines' own splits.
    void leggiInsieme(const QList<qlonglong>& schede);
    Archivio::Lettura letturaCercata() const;
    void letturaPrecedente(RecordSet& scheda, qlonglong id);
    void daScheda(RecordSet& scheda, bool livelliDaScheda);
    void daRiga(RecordSet& riga);

    Host& host_;
    UiPort& ui_;
    const ContestoCaricamento& ctx_;
    RecordSet& griglia_;
    int aggiunte_ = 0;
    std::optional<AliquoteTasse> tasse_;  // the active rates, read once per load
    // What leggiInsieme read; the object lives for one load.
    RecordSetPtr schede_;
    RecordSetPtr precedenti_;
    QHash<qlonglong, Archivio::Aperti> aperti_;
    QHash<qlonglong, std::pair<QVariant, QVariant>> letture_;  // imported IN and OUT
    std::optional<RegoleLocale> regole_;
    std::optional<QHash<qlonglong, Dec>> reteDelMese_;
    ContestoCalcolo calcolo_;  // the window's, with the fee read for all machines
};

}  // namespace incassi
