#pragma once

// What runs after a cell of a machine row changes: the rule of the changed
// column, then the expected cash box and the split as each column needs.

#include <QChar>
#include <QString>
#include <functional>

#include "machines/calcolo.h"

namespace incassi {

struct AzioniGriglia {
    // Loads the venue's machines (a row without a machine was typed into).
    std::function<void()> caricaApparecchi;
};

// Runs the recalculation of the current row after `colonna` changed.
void DopoModificaCella(CalcoloRiga& calcolo, RecordSet& riga, const ContestoCalcolo& contesto,
                       const QString& colonna, const AzioniGriglia& azioni);

// Numeric columns take the decimal comma: a "." typed there becomes ",".
bool ColonnaNumerica(const QString& colonna);
QChar TastoNellaColonna(const QString& colonna, QChar tasto);

}  // namespace incassi
