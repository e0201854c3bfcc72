#pragma once

// The history of a generated venue: weekly collections of its meter machines
// (INC6) and of its cash-box machines (INC), advances (ACC) and refills (REF)
// settled by the next collection, loans (PRE), remainders carried over. Machine
// meters continue from one collection to the next.

#include <QDate>
#include <QHash>
#include <QString>

#include "schema/generatore_anagrafiche.h"
#include "schema/generatore_denaro.h"
#include "schema/generatore_scrittura.h"

namespace incassi::schema::gen {

// A small deterministic generator, the same on every platform.
class Casuale {
  public:
    explicit Casuale(quint64 seme) : s_(seme * 0x9E3779B97F4A7C15ULL + 1) {}
    quint32 prossimo();
    int tra(int da, int a);  // da..a, both included
    bool prob(int percento) { return tra(1, 100) <= percento; }

  private:
    quint64 s_;
};

struct ParametriStoria {
    QDate primo;  // first collection day
    int settimane = 52;
    QString operatore;  // idoperatore of every row
    quint64 seme = 1;
    Ruoli ruoli;
    Aliquote aliquote;
    QHash<QString, QString> prefissi;  // holder code (upper case) -> account prefix
    // Chances per venue and week, in percent.
    int acconto = 25, refill = 20, prestito = 4, rimanenza = 5;
};

// The parameters of a history from the first collection day on: the account
// roles, the tax rates and the holders' account prefixes read from `db`.
ParametriStoria ParametriDi(Database& db, const QDate& primo, int settimane,
                            const QString& operatore, quint64 seme);

class Storia {
  public:
    Storia(ScrittoreDocumenti& scrittore, ParametriStoria p);
    // Writes every document of the venue in date order and leaves its machines
    // with their last readings. `indice` seeds the venue's own sequence.
    void genera(Locale& l, int indice);

  private:
    struct Settimana;
    void acconto(Settimana& s, Locale& l, const QDate& data);
    void refill(Settimana& s, Locale& l, const QDate& data);
    void prestito(Locale& l, const QDate& data);
    void incasso6(Settimana& s, Locale& l, const QDate& data);
    void incasso(Locale& l, const QDate& data);
    Valori<colT::N> testata(const Locale& l, qint64 id, const QString& causale, const QDate& data,
                            const QString& descrizione);
    Valori<colI::N> riga(const Locale& l, const Apparecchio& a, const QDate& data, int n);
    void nota(Documento& d, const Locale& l, const QDate& data, const Nota& n, bool rigaUnica);

    ScrittoreDocumenti& w_;
    ParametriStoria p_;
    Casuale rnd_{1};
};

}  // namespace incassi::schema::gen
