#pragma once

// The two history panels beside the collection grid: the recent documents of
// the venue and the recent collections of the machine in the current row, as
// text lines in fixed-width columns. Nothing is written.

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>

#include "values/dec.h"

namespace incassi {

class Host;

struct Pannello {
    QString intestazione;
    QStringList righe;
};

// The newest six documents of the venue up to the date.
Pannello StoricoLocale(Host& host, const QString& codLocale, const QDate& data);

struct StoricoMacchina {
    Pannello pannello;
    // The same collections seen from the hoppers (money in each, total,
    // variation) and from the cash box (box, collectable, shortages, per day):
    // the two panels the collector shows from the preferences menu.
    Pannello hopper;
    Pannello cassetto;
    // The money each hopper held before this collection: the card's when it
    // is the later reading, otherwise the last collection's levels.
    std::array<Dec, 3> hopperPrecedente{};
};

// The newest ten collections of the machine in the venue up to the date.
StoricoMacchina StoricoApparecchio(Host& host, qlonglong idScheda, int tipoIncasso,
                                   const QString& causale, const QString& codLocale,
                                   const QDate& data);

}  // namespace incassi
