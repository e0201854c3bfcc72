#pragma once

// The money panel as a value: every amount it shows, exact and to the cent,
// and the pure functions that work them out from the machine rows, the
// venue's settings and what the collector typed. The bookkeeping rows are a
// function of this value (movimenti.h); the window only copies it into its
// controls and back.

#include <QString>
#include <optional>

#include "values/causali.h"
#include "values/dec.h"

namespace incassi {

class RecordSet;

struct ValoriPannello {
    // The document and the venue's settings.
    QString causale;
    std::optional<int> tipologia;    // item value of the collection type chosen
    bool remoto = false;             // the collection type is "Incasso Remoto"
    bool tasseNoleggiatore = false;  // the operator pays the taxes
    bool gestisceLocale = false;     // the venue manages the money
    bool attesaFatture = false;
    bool terzoGestore = false;

    // The totals of the machine rows as the causal reads them.
    Dec introdotto, uscite, inMenoOut, preu, aams, rete, tasse, quotaNolTeorica, refillLocale,
        refillNoleggiatore, variazioneHopper, utileLocale, utileNoleggiatore, totDaDividere;
    // Advances: deducted from the machines and at the venue, and those the
    // document itself pays out.
    Dec acconto, accontoLocale, accontoDocumento, accontoLocaleDocumento, anticipoLocale,
        denaroAcasa;
    // Shortages and thefts, and who bears them.
    Dec ammanchi, ammancoNoleggiatore, ammancoLocale, furti, furtoNoleggiatore, furtoLocale;
    // What is due, what was collected and where the rest goes.
    Dec daRiscuotereTeorica, daRiscuotere, variazioni, riscosso, versatoALocale, varDebito,
        rimanenza, varPrestito, arrotondamenti;

    bool causaleE(Causale c) const;
    // Collections of the venue's halls (collection type 10) book the venue's
    // profit and the debt towards the operator instead of debt, loan and rounding.
    bool secondaVariante() const { return tipologia == 10; }
};

// The sums of the machine rows' money columns, whatever the causal.
struct TotaliRighe {
    Dec parzialeIn, parzialeOut, cassetto, preu, aams, rete, incassoVs, incassoNs, refillLocale,
        refillGestore, variazioneHopper, ammanchi, furti, acconti, quotaConcess;
};
TotaliRighe SommaRighe(RecordSet& righe);

// Whether a collection of this causal deducts the venue's open advances paid
// at the venue (the window reads them only then).
bool DeduceAccontiLocali(const QString& causale);

// The panel after the machine rows changed. `v` holds the settings and the
// amounts shown, of which only the typed ones count (advances of the
// document, prepaid, rounding, the venue's debt, and the remainder when
// `mantieniRimanenza`); `accontiLocali` is the credit of the venue's open
// advances paid at the venue. Every collection's figures balance its rows by
// themselves.
ValoriPannello CalcolaPannello(const TotaliRighe& righe, ValoriPannello v, const Dec& accontiLocali,
                               bool mantieniRimanenza);

// The panel of a stored document: its header keeps every amount but the sums
// shown beside them (coins in minus out, taxes, shortages, thefts, the money
// taken home), which follow from the amounts it keeps.
ValoriPannello PannelloMemorizzato(ValoriPannello v);

// What follows a money field the collector left, by its keyword ("Acconto",
// "Ammanchi", "FurtoN"...): the advance taken home, and totals and their split
// between venue and operator.
void SeguiCampo(ValoriPannello& v, const QString& chiave);

}  // namespace incassi
