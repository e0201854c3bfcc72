#pragma once

// The causal codes of the documents, declared once. Codes read from the
// database or typed compare without regard to case or surrounding blanks, in
// CausaleDi alone; the code compares Causale values, never spellings.

#include <QString>
#include <initializer_list>

namespace incassi {

enum class Causale {
    Nessuna,  // no code
    INC,      // collection of ordinary machines
    INC6,     // collection of networked machines
    FUR,      // theft
    CAM,      // change machine
    ACC,      // advance on the machines
    ACL,      // advance at the venue
    REF,      // hopper refill
    CH,       // hopper load
    RH,       // hopper unload
    PRE,      // loan to the venue
    CP,       // cash movement
    HOP,      // hall hopper
    Altra,    // a code this program gives no meaning of its own
};

// The causal of a code.
Causale CausaleDi(const QString& codice);
// The code as the table spells it ("INC6"); empty for Nessuna and Altra.
QString CodiceCausale(Causale c);
// Whether a code is one of `causali`.
bool CausaleTra(const QString& codice, std::initializer_list<Causale> causali);

}  // namespace incassi
