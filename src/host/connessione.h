#pragma once

// Where the suite's database is: an SQLite file, or a PostgreSQL server named
// by an address "postgresql://user@host:port/database". The password is never
// part of the address (command lines and logs show it): it comes from the
// user's PostgreSQL password file or is asked when the server wants one.

#include <QString>
#include <memory>

#include "host/database.h"

namespace incassi {

// Whether the text is a PostgreSQL address rather than a file.
bool IndirizzoPostgres(const QString& dove);
// The parts of an address; throws Errore, in the user's words, for a
// malformed one or one that carries a password.
Database::IndirizzoPg LeggiIndirizzoPg(const QString& indirizzo);
// Opens the database named by `dove` (file or address).
std::shared_ptr<Database> ApriDatabase(const QString& dove, bool soloLettura = false,
                                       Database::ChiediPassword password = nullptr);
// A line of the terminal, not shown while typed, after `domanda`; from a
// pipe, its first line.
QString LeggiRigaNascosta(const QString& domanda);
// A password read from the terminal without showing it; empty without one.
QString PasswordDaTerminale(const QString& mostrato);

}  // namespace incassi
