#pragma once

// The scratch database a report reads: a copy of the report's template file in
// a folder of this process and user, emptied and filled with the documents to
// print (their headers, machine rows and venue) and one row of parameters
// (the title and the period). The report never reads the live database.

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

namespace incassi {
class Host;
}

namespace incassi::stampa {

// What goes into the scratch database.
struct Selezione {
    bool perPeriodo = false;  // false: the one document `documento`
    qlonglong documento = 0;
    QString codLocale;  // the venue of the period
    QDate dal, al;      // the period, both days included; also the printed bounds
    QString azienda;    // the period's company; empty: every company
};

// The columns copied into each scratch table, in the scratch table's order.
const QStringList& ColonneTeste();
const QStringList& ColonneIncassi();
const QStringList& ColonneLocali();

// Writes a template file holding the empty scratch tables ("Parametri",
// "noteteste", "noteincassi", "anagraficalocali", "noterighe"); the columns
// take the types the module's tables give them.
void CreaModello(const QString& file);

// Puts the report definitions shipped with the program into `percorso`
// "stampe/" when missing (a file of the operator's own is never replaced),
// and the scratch template "stampe/Incassi.sqlite" when missing.
void InstallaStampe(const QString& percorso);

// The folder of the scratch copies of this process and user (created).
QString CartellaTemporanea(const QString& utente);

// Copies `modello` into `cartella` under its own name, empties its tables and
// fills them from the live database as `s` asks, in one transaction; returns
// the copy's path. `avanzamento` is told of each document copied; when it
// answers false the copy is left empty and "" comes back. Throws Errore when
// the template is missing or cannot be copied or written.
QString PreparaArchivio(Host& host, const QString& modello, const QString& cartella,
                        const Selezione& s,
                        const std::function<bool(int fatti, int totale)>& avanzamento = {});

}  // namespace incassi::stampa
