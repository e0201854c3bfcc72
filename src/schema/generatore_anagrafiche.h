#pragma once

// The operator a generator builds: venues, their machines and contracts, kept
// in memory while the history is written, and inserted into the master tables.

#include <QDate>
#include <QString>
#include <QVariant>
#include <vector>

#include "schema/generatore_denaro.h"

namespace incassi {
class Database;
}

namespace incassi::schema::gen {

struct Concessionario {
    QString codice, descrizione, prefisso;  // prefix of the tax accounts, "20.02"
    QString tipoRete;                       // default network fee
    double valoreRete = 0;
};

struct TipoContratto {
    QString concessionario, contratto, descrizione;
    double percentualeComodato = 0;
};

// One meter of a multi-meter machine.
struct ContatoreIsola {
    qint64 id = 0;
    int numero = 0;
    bool entrata = true;  // I = money in, U = money out
    double moltiplicatore = 0.01;
    double valore = 0;  // last reading, in meter units
    Cent media = 0;     // weekly money through this meter
};

struct Apparecchio {
    // Identity.
    qint64 scheda = 0, prodotto = 0;
    QString codArticolo, categoria, nomeGioco, codiceInterno, aams, descrizione;
    QString concessionario, contratto, azienda;
    int tipologia = 6;
    double moltIn = 1, moltOut = 1;
    double tipoH[3] = {1, 2, 0.5};
    int livelloH[3] = {0, 0, 0};
    bool mobile = false;  // has a cabinet in its bill of materials
    int ordine = 0;
    // Split: a split of its own, otherwise the venue's for its category.
    bool percentualePropria = false;
    QString tipoCalcolo = QStringLiteral("Utile");
    double percLocale = 50, percNoleggiatore = 0;
    QString tipoRete;
    double percRete = 0;
    // Behaviour: average weekly money in and the share paid out.
    Cent media = 50000;
    double payout = 0.7;
    // State after the last collection.
    QDate ultimo;
    double cntotin = 0, cntotout = 0;
    int meseRete = 0;  // yyyymm of the last monthly network fee
    Cent accontoAperto = 0, refillAperto = 0;
    std::vector<ContatoreIsola> contatori;
};

struct PercentualeLocale {
    QString categoria, tipo;
    double locale = 50, noleggiatore = 50;
};

struct ContrattoLocale {
    QString concessionario, contratto, tipo;
    double valore = 0;
    bool terzo = false;
};

struct Locale {
    QString codice, insegna, ragioneSociale, azienda, esattore, agente, zona;
    QString indirizzo, civico, cap, citta, provincia, telefono, partitaIva;
    int tipologiaIncasso = 0;
    QString incassoTasse = QStringLiteral("Noleggiatore");
    QString gestioneDenaro = QStringLiteral("Noleggiatore");
    bool terzo = false;
    QDate sospesoDal;  // no collections from this date; the venue is suspended
    QDate acquisito;
    int giorno = 0;  // days after the week's first collection day
    std::vector<PercentualeLocale> percentuali;
    std::vector<ContrattoLocale> contratti;
    std::vector<Apparecchio> apparecchi;
    Cent debito = 0, prestito = 0;  // remainders due, money lent
};

// The two concession holders and their contract types, the same for every
// generated operator.
const std::vector<Concessionario>& ConcessionariTipo();
const std::vector<TipoContratto>& ContrattiTipo();

// The two companies of every operator.
void InserisciAziende(Database& db);
// The price lists every operator shares: the articles and machine categories,
// the holders with their tax accounts, and their contract types.
void InserisciListini(Database& db);
// The articles and machine categories the generators place.
void InserisciArticoli(Database& db);
// The holder and its four tax accounts under its prefix.
void InserisciConcessionario(Database& db, const Concessionario& c);
void InserisciTipoContratto(Database& db, const TipoContratto& t);

// Resolves each machine's split, third-manager share and network fee by the
// rules the collection window applies.
void RisolviCondizioni(Locale& l, const std::vector<Concessionario>& concessionari,
                       const std::vector<TipoContratto>& contratti, const QString& tipoDefault,
                       double percDefault);

// The venue with its settings, percentages, contracts and machines (cards,
// placed products, bills of materials, cabinets, meters); machine ids are set.
void InserisciLocale(Database& db, Locale& l);
// Writes the machines' last readings back to their cards and meters.
void AggiornaSchede(Database& db, const Locale& l);

}  // namespace incassi::schema::gen
