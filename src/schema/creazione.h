#pragma once

// Creation and upgrade of the schema from its declaration. Every step runs in
// its own transaction and can be run again: it adds only what is missing.

#include <QStringList>
#include <vector>

#include "schema/schema.h"

namespace incassi {
class Database;
class Dialect;
}  // namespace incassi

namespace incassi::schema {

// Engine statements that create a table with the columns of versions up to
// `versione`, and its indexes of those versions.
QStringList IstruzioniCreaTabella(const Dialect& d, const Tabella& t, int versione);
QString IstruzioneCreaIndice(const Dialect& d, const Tabella& t, const Indice& i);

// The version recorded in the database; 0 when it records none.
int VersioneDatabase(Database& db);

// True when the database holds no table at all.
bool DatabaseVuoto(Database& db);

// Creates every table and index of `tabelle` up to `versione` and records the
// version, in one transaction.
void CreaSchema(Database& db, const std::vector<Tabella>& tabelle = Tabelle(),
                int versione = kVersioneSchema);

// Brings the database to version `passo`: creates the tables and indexes and
// adds the columns that are missing. One transaction; safe to re-run.
void EseguiPasso(Database& db, const std::vector<Tabella>& tabelle, int passo);

// Upgrades an older database one numbered step at a time; refuses a database
// written by a newer program and one that is not ours.
void AggiornaSchema(Database& db, const std::vector<Tabella>& tabelle = Tabelle(),
                    int versione = kVersioneSchema);

// What a program does on opening: an empty database gets the schema, ours is
// upgraded when older, anything else is refused.
void PreparaSchema(Database& db);

}  // namespace incassi::schema
