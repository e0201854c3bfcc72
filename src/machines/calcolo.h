#pragma once

// The collection calculation of one machine row of the collection grid (a
// NoteIncassi row): partials from meters and meters from partials, state
// taxes, network fee, hopper variation, change-machine flows, tokens, the
// expected cash box, the shortage, the venue / operator split and the
// concession holder's share. Money is computed with Dec, exactly, and rounded
// only where a formula rounds.

#include <QDate>
#include <QString>
#include <array>
#include <functional>
#include <optional>

#include "host/recordset.h"
#include "values/causali.h"
#include "values/dec.h"
#include "window/uiport.h"

namespace incassi {

class Host;

// What the window tells the calculation.
struct ContestoCalcolo {
    QString causale;                      // the document's causal code
    std::optional<int> tipologiaIncasso;  // collection type chosen in the window, if any
    bool terzoGestore = false;            // the third-manager switch
    QDate dataRegistrazione;
    QString codLocale;
    qlonglong idDocumento = 0;  // the stored document being corrected, 0 for a new one
    // Money of each hopper before this collection, as the machine-history panel
    // recorded it for the current machine (0 before any machine is shown).
    std::array<Dec, 3> hopperPrecedente{};
    // Whether the grid's view shows QuotaConcess (an old personal view may not).
    bool vistaConQuotaConcess = true;
    // The network fee already charged to a machine from `dal` to the day,
    // when a machine load reads it for all its machines at once; unset, each
    // row reads its own.
    std::function<Dec(qlonglong scheda, const QDate& dal)> reteGiaAddebitata;

    bool causaleE(Causale c) const;
};

// Which side of the machine a meter or partial belongs to.
enum class Lato { In, Out };

// What was typed that moves the hopper variation.
enum class EventoHopper { Livelli, AmmancoDigitato, VariazioneDigitata, Refill };

// What was typed on a change machine.
enum class EventoCambiamonete { Flussi, VariazioneDigitata, AmmancoDigitato, CassettoDigitato };

class CalcoloRiga {
  public:
    // Works on the current row of `riga`.
    CalcoloRiga(Host& host, UiPort& ui, const ContestoCalcolo& contesto, RecordSet& riga);

    // The machine's collection type code (TipoIncasso), -1 when not a number.
    int tipoIncasso() const;

    // Partials from meters when the machine is loaded (meter machines under the
    // meter collection causal), with the question when a partial disagrees.
    void parzialiAlCaricamento();
    // A current meter typed by the collector.
    void contatoreDigitato(Lato lato);
    // A partial typed by the collector.
    void parzialeDigitato(Lato lato);
    // State taxes and network fee of a meter machine.
    void tasse();
    void rete();
    void variazioneHopper(EventoHopper evento);
    void cambiamonete(EventoCambiamonete evento);
    void gettoni();
    // The cash the cash box should hold (and, for thefts, the amount stolen).
    void cassettoAtteso();
    // The shortage against the cash counted and typed in Cassetto.
    void ammancoDaCassetto();
    // Venue / operator split and, for third-manager venues, the holder's share.
    void ripartizione();
    void terzoGestore();

    // Everything run when a machine is loaded into the grid.
    void calcolaAlCaricamento();

  private:
    Dec cella(const char* col) const;
    Dec cellaArrotondata(const char* col) const { return cella(col).arrotonda(2); }
    void scrivi(const char* col, const Dec& value);
    bool tipoE(std::initializer_list<int> codes) const;
    // Asks the three-way question on a meter disagreement; returns the answer.
    Risposta chiedi(const QString& titolo, const QStringList& righe);
    QString testo(const Dec& value) const;

    Host& host_;
    UiPort& ui_;
    const ContestoCalcolo& ctx_;
    RecordSet& riga_;
};

}  // namespace incassi
