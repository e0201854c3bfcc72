#pragma once

// The operator's login against table `operatori`. The stored password is an
// Argon2id hash made by libsodium (its text carries the parameters and the
// salt): each guess against a copied database costs memory as well as time,
// which is what makes offline guessing slow on graphics cards, where PBKDF2
// costs only time. Hashes of the earlier form, one round of salted SHA-256
// ("sha256$salt$hash", hex), are still read and are replaced by an Argon2id
// hash at the next successful login. An operator without a hash logs in with
// the empty password. The rights are the row's 0 / -1 flags.

#include <QString>
#include <optional>

#include "host/host.h"

namespace incassi {

// A new hash of `password`, with a fresh random salt.
QString HashPassword(const QString& password);
// The earlier form, for databases written before: salted SHA-256.
QString HashPasswordSha256(const QString& password, const QString& sale);
// Whether `password` matches the stored hash; an empty hash accepts only the
// empty password, a hash in an unknown form accepts nothing.
bool VerificaPassword(const QString& memorizzato, const QString& password);
// Whether a stored hash is of an earlier form or weaker than HashPassword makes.
bool HashDaAggiornare(const QString& memorizzato);

// Sets the password of the operator of that code; false when there is no such
// operator. An empty password is refused with Errore.
bool ImpostaPassword(Host& host, const QString& codice, const QString& password);

// The operator of that code (compared without regard to case) with the rights
// of its row, the code as stored; nothing when there is no such row.
std::optional<Operatore> LeggiOperatore(Host& host, const QString& codice);
// The same, only when the password matches; an old hash is upgraded then.
std::optional<Operatore> Accedi(Host& host, const QString& codice, const QString& password);

}  // namespace incassi
