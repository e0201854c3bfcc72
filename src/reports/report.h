#pragma once

// A report: a definition file (JSON, under the install folder) read over the
// scratch database of a print, which gives its content as a sequence of
// blocks with typed values. The content knows nothing of pages: the layout
// pass cuts it into pages for the printer and the PDF, the workbook and the
// Word writers take it as it is.
//
// Definition file:
//   { "titolo": "...", "orizzontale": false,
//     "intestazione": [blocks shown on top of every page],
//     "corpo": [blocks] }
// Blocks ("tipo"):
//   testo    "testo" with {Campo} or {Campo|formato} taken from the rows in
//            scope (innermost first: the group rows, then anagraficalocali and
//            Parametri; {utente} and {oggi} too); "stile": titolo, sottotitolo,
//            normale, piccolo, grassetto; "allineamento": sinistra, centro,
//            destra; "se": a field that must be neither empty nor zero.
//   gruppo   one pass of "blocchi" per row of SELECT * FROM "da" WHERE "dove"
//            ORDER BY "ordine"; "nuovaPagina" starts each row after the first
//            on a new page; "seVuoto": the text shown when there is no row.
//   tabella  rows of "da" / "dove" / "ordine" in "colonne": each with "campo"
//            or "espressione" (SQL over the scratch tables), "titolo",
//            "larghezza" (a weight), "formato" (testo, importo, intero,
//            numero, data, percentuale), "allineamento", "totale"; "totali":
//            the caption of the totals row (no totals row without it).
//   totali   the sums of every earlier table of the report ("etichetta").
//   campi    label / value pairs, "perRiga" to a line: "voci" of "etichetta",
//            "campo", "formato"; or, with "da" / "dove" / "ordine", one pair
//            per row: the columns (or expressions) "etichetta" and "valore".
//   firme    signature lines with the captions "firme".
//   spazio   "altezza" millimetres of blank.
// A "dove" may name fields of the rows in scope as :Campo.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

#include "values/dec.h"

namespace incassi::stampa {

enum class Formato { Testo, Importo, Intero, Numero, Data, Percentuale };
enum class Allineamento { Sinistra, Centro, Destra };
enum class Stile { Titolo, Sottotitolo, Normale, Piccolo, Grassetto };

// A value as a report shows it: amounts "1.234,56", dates "dd/mm/yyyy", Null
// as nothing.
QString TestoValore(const QVariant& v, Formato f);
// Numbers as doubles, dates as dates, the rest as text (Null stays Null).
QVariant ValoreTipizzato(const QVariant& v, Formato f);
bool Numerico(Formato f);

struct ColonnaTabella {
    QString titolo;
    double peso = 10;
    Formato formato = Formato::Testo;
    Allineamento allineamento = Allineamento::Sinistra;
    bool totale = false;
};

struct Voce {
    QString etichetta;
    QVariant valore;
    Formato formato = Formato::Testo;
};

struct Blocco {
    enum class Tipo { Testo, Tabella, Campi, Firme, Spazio, NuovaPagina };
    Tipo tipo = Tipo::Testo;

    // Testo
    QString testo;
    Stile stile = Stile::Normale;
    Allineamento allineamento = Allineamento::Sinistra;

    // Tabella: typed values, one vector per row. A table of grand totals
    // (`generale`) has no rows: its sums are those of every earlier table.
    std::vector<ColonnaTabella> colonne;
    std::vector<std::vector<QVariant>> righe;
    bool conTotali = false;
    bool generale = false;
    QString etichettaTotali;
    std::vector<Dec> somme;  // per column, rounded to the cent

    // Campi
    std::vector<Voce> voci;
    int perRiga = 2;

    // Firme
    QStringList firme;

    // Spazio, in millimetres
    double altezza = 0;
};

// Calls the member of `v` for the kind of block `b`: testo, tabella, campi,
// firme, spazio or nuovaPagina, each taking the block.
template <typename V>
void PerBlocco(const Blocco& b, V& v) {
    switch (b.tipo) {
        case Blocco::Tipo::Testo:
            return v.testo(b);
        case Blocco::Tipo::Tabella:
            return v.tabella(b);
        case Blocco::Tipo::Campi:
            return v.campi(b);
        case Blocco::Tipo::Firme:
            return v.firme(b);
        case Blocco::Tipo::Spazio:
            return v.spazio(b);
        case Blocco::Tipo::NuovaPagina:
            return v.nuovaPagina(b);
    }
}

struct Contenuto {
    QString titolo;
    bool orizzontale = false;
    std::vector<Blocco> intestazione;  // on top of every page
    std::vector<Blocco> corpo;
    QString piede;  // the footer's left text ("Stampato il ... da ...")

    // Every row of every table, for progress and tests.
    int righe() const;
};

// Reads the definition `fileReport` over the scratch database `archivio`.
// Throws Errore naming the file when the definition cannot be read or names
// something the scratch tables lack.
Contenuto ApriReport(const QString& fileReport, const QString& archivio, const QString& utente,
                     const QDate& oggi = QDate::currentDate());

}  // namespace incassi::stampa
