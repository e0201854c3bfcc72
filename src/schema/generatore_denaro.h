#pragma once

// The money of generated documents, kept small and apart from the writing:
// per-machine taxes and split, and the bookkeeping rows of each kind of
// document. Amounts are whole cents, so every document balances exactly.

#include <QString>
#include <QtGlobal>
#include <vector>

namespace incassi {
class Database;
}

namespace incassi::schema::gen {

using Cent = qint64;

inline double Euro(Cent c) {
    return double(c) / 100.0;
}

// base × perc / 100, rounded half-to-even to the cent.
Cent Quota(Cent base, double perc);

// The accounts playing each role of TabAssociazioneConti.
struct Ruoli {
    QString cassa, cassaRefill, cassaAcconti, utiliNewSlot, utiliAltri, residui, prestiti;
};
Ruoli LeggiRuoli(Database& db);

// PREU and AAMS percentages of the active tax record.
struct Aliquote {
    double preu = 0, aams = 0;
};
Aliquote LeggiAliquote(Database& db);

// Bookkeeping rows of one document: at most one row per account, a negative
// amount lands on the other side, a zero amount leaves no row.
class Nota {
  public:
    struct Riga {
        QString conto, descrizione;
        Cent dare = 0, avere = 0;
    };
    void dare(const QString& conto, const QString& descrizione, Cent importo);
    void avere(const QString& conto, const QString& descrizione, Cent importo);
    std::vector<Riga> righe() const;

  private:
    struct Voce {
        QString conto, descrizione;
        Cent saldo = 0;  // dare − avere
    };
    std::vector<Voce> voci_;
};

// One meter machine (collection type 6) in one collection.
struct Macchina6 {
    Cent in = 0, out = 0;
    Aliquote aliquote;
    Cent rete = 0;  // network fee, already resolved by its kind
    QString tipoCalcolo;
    double percLocale = 0;
    double percNoleggiatore = 0;  // third-manager venues: the contract's share
    bool terzo = false;
};
struct EsitoMacchina6 {
    Cent preu = 0, aams = 0, rete = 0, vs = 0, ns = 0, quotaConcess = 0;
    Cent tasse() const { return preu + aams + rete; }
};
EsitoMacchina6 CalcolaMacchina6(const Macchina6& m);

// A cash-box machine: the box holds in − out, split between venue and operator.
struct EsitoCassetto {
    Cent cassetto = 0, vs = 0, ns = 0;
};
EsitoCassetto CalcolaCassetto(Cent in, Cent out, const QString& tipoCalcolo, double percLocale);

// Network fee of a collection by its kind: a percent of the partial IN, a
// daily amount, or a monthly amount charged once per month.
Cent Rete(const QString& tipoRete, double valore, Cent in, int giorni, bool meseGiaPagato);

// Taxes of the machines of one concession holder in a collection.
struct TasseConcessionario {
    QString codice, prefisso;
    Cent preu = 0, aams = 0, rete = 0, quotaConcess = 0;
};

struct TotaliIncasso6 {
    Cent vs = 0, ns = 0, acconti = 0, refill = 0;
    Cent varDebito = 0;  // remainder of earlier collections paid now
    Cent rimanenza = 0;  // left unpaid at this collection
    bool tasseNoleggiatore = true;
    bool terzo = false;
    std::vector<TasseConcessionario> concessionari;
};

// The money collected at a collection of meter machines, and its rows (the
// second returns the same amount).
Cent RiscossoIncasso6(const TotaliIncasso6& t);
Cent NotaIncasso6(const Ruoli& r, const TotaliIncasso6& t, Nota& nota);
// Rows of a collection of cash-box machines; returns the money collected.
Cent NotaIncasso(const Ruoli& r, Cent totaleDaDividere, Nota& nota);
// Advance on a collection, refill by the operator, loan to the venue.
void NotaAcconto(const Ruoli& r, Cent acconto, Nota& nota);
void NotaRefill(const Ruoli& r, Cent refill, Nota& nota);
void NotaPrestito(const Ruoli& r, Cent variazione, Nota& nota);

}  // namespace incassi::schema::gen
