#pragma once

// Master data for the window tests: venues, machines placed in them, a collector.

#include "support/testdb.h"

namespace incassi::test {

// Two companies, three venues (one suspended), the articles, a collector.
void InserisciLocali(TestDb& t);
// A machine card placed in a venue (product 100 + id), with its last reading.
void InserisciMacchina(TestDb& t, int id, const char* locale, int tipologia, const char* ultimo,
                       double in, double out);

// The schema and the venues, then BAR1 with two networked machines, an open
// advance on each (one from the 15th, one from the 20th), an advance from the
// 21st, an open refill, and the meters imported for the 20th.
void PreparaLocaleConAperti(TestDb& t);

}  // namespace incassi::test
