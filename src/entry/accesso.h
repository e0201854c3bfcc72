#pragma once

// The operator's login against table `operatori`: the stored password is a
// salted SHA-256 hash ("sha256$salt$hash", hex); an operator without a hash
// logs in with the empty password. The rights are the row's 0 / -1 flags.

#include <QString>
#include <optional>

#include "host/host.h"

namespace incassi {

// A new hash of `password` with a fresh random salt.
QString HashPassword(const QString& password);
// The hash of `password` with the given salt.
QString HashPassword(const QString& password, const QString& sale);
// Whether `password` matches the stored hash; an empty hash accepts only the
// empty password, a hash in an unknown form accepts nothing.
bool VerificaPassword(const QString& memorizzato, const QString& password);

// The operator of that code (compared without regard to case) with the rights
// of its row, the code as stored; nothing when there is no such row.
std::optional<Operatore> LeggiOperatore(Host& host, const QString& codice);
// The same, only when the password matches.
std::optional<Operatore> Accedi(Host& host, const QString& codice, const QString& password);

}  // namespace incassi
