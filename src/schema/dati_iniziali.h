#pragma once

// The rows every installation needs: causal codes, collection types, the chart
// of accounts with the account roles, collection defaults and the tax record.

namespace incassi {
class Database;
}

namespace incassi::schema {

// Which grid tab the collection window shows for a causal
// (AnagraficaCausali.tipovideata).
enum class TipoVideata {
    Apparecchi = 0,     // machine rows: collections
    Acconti = 1,        // advances
    Refill = 2,         // hopper refills
    Cambiamonete = 3,   // change machines
    Hopper = 4,         // hopper load and unload
    Furti = 5,          // thefts
    SoloPrimaNota = 6,  // no machine rows: loans, cash movements
};

// Inserts the rows, in one transaction. Meant for a freshly created schema.
void CaricaDatiIniziali(Database& db);

// The module's reports in the register `stampe` (function code "Incassi"),
// unless the register already lists reports of the module.
void RegistraStampe(Database& db);

}  // namespace incassi::schema
