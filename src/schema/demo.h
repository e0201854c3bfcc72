#pragma once

// The demo operator: two companies, their collectors, agents and program users,
// a dozen venues with about forty machines, contracts with two concession
// holders, a year of collections, advances, refills and loans, and the meter
// readings imported for the next collection. The same rows every time for a
// given day.

#include <QDate>

namespace incassi {
class Database;
}

namespace incassi::schema {

// Loads the operator into a database holding the schema and the seed rows, in
// one transaction. The history ends on the last Monday before the next one
// after `oggi`; the imported readings are dated that next Monday.
void CaricaDemo(Database& db, const QDate& oggi = QDate::currentDate());

}  // namespace incassi::schema
