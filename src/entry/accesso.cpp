#include "entry/accesso.h"

#include <sodium.h>

#include <QCryptographicHash>
#include <QRandomGenerator>

#include "values/error.h"

#include "values/sqlquote.h"
#include "values/values.h"

namespace incassi {

namespace {

const QString kSchema = QStringLiteral("sha256");
const QString kArgon2id = QStringLiteral("$argon2id$");

// Argon2id with libsodium's limits for an interactive login: about a tenth of
// a second and 64 MiB for each guess.
const unsigned long long kOperazioni = crypto_pwhash_OPSLIMIT_INTERACTIVE;
const size_t kMemoria = crypto_pwhash_MEMLIMIT_INTERACTIVE;

void InizializzaSodium() {
    static const int esito = sodium_init();
    if (esito < 0) throw Errore(QStringLiteral("Impossibile inizializzare libsodium"));
}

RecordSetPtr RigaOperatore(Host& host, const QString& codice) {
    return host.OpenRecordSet(QStringLiteral("select * from operatori where codiceUtente='") +
                              sql::Raddoppia(codice) + QStringLiteral("'"));
}

bool FlagRiga(RecordSet& rs, const char* campo) {
    const QString nome = QLatin1String(campo);
    return rs.HasField(nome) && Flag(rs.Value(nome));
}

Operatore DaRiga(RecordSet& rs) {
    Operatore op;
    op.codice = Txt(rs.Value(QStringLiteral("codiceUtente")));
    op.diritti.admin = FlagRiga(rs, "admin");
    op.diritti.inserimento = FlagRiga(rs, "inserimento");
    op.diritti.modifica = FlagRiga(rs, "modifica");
    op.diritti.ricerca = FlagRiga(rs, "ricerca");
    op.diritti.cancellazione = FlagRiga(rs, "cancellazione");
    op.diritti.stampa = FlagRiga(rs, "stampa");
    op.diritti.ricerchePers = FlagRiga(rs, "ricerchePers");
    return op;
}

}  // namespace

QString HashPasswordSha256(const QString& password, const QString& sale) {
    const QByteArray h =
        QCryptographicHash::hash((sale + password).toUtf8(), QCryptographicHash::Sha256);
    return kSchema + u'$' + sale + u'$' + QString::fromLatin1(h.toHex());
}

QString HashPassword(const QString& password) {
    InizializzaSodium();
    const QByteArray chiaro = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, chiaro.constData(), size_t(chiaro.size()), kOperazioni, kMemoria) !=
        0) {
        throw Errore(
            QStringLiteral("Memoria insufficiente per calcolare l'impronta della password"));
    }
    return QString::fromLatin1(hash);
}

namespace {

bool VerificaSha256(const QString& memorizzato, const QString& password) {
    const QStringList parti = memorizzato.split(u'$');
    if (parti.size() != 3 || parti[0] != kSchema || parti[1].isEmpty()) return false;
    const QByteArray atteso = HashPasswordSha256(password, parti[1]).toLatin1();
    const QByteArray dato = memorizzato.toLatin1();
    if (atteso.size() != dato.size()) return false;
    // Compares every byte, so the time taken does not tell where they differ.
    return sodium_memcmp(atteso.constData(), dato.constData(), size_t(atteso.size())) == 0;
}

}  // namespace

bool VerificaPassword(const QString& memorizzato, const QString& password) {
    if (memorizzato.isEmpty()) return password.isEmpty();
    if (memorizzato.startsWith(kArgon2id)) {
        InizializzaSodium();
        const QByteArray hash = memorizzato.toLatin1();
        const QByteArray chiaro = password.toUtf8();
        return crypto_pwhash_str_verify(hash.constData(), chiaro.constData(),
                                        size_t(chiaro.size())) == 0;
    }
    return VerificaSha256(memorizzato, password);
}

bool HashDaAggiornare(const QString& memorizzato) {
    if (memorizzato.isEmpty()) return false;
    if (!memorizzato.startsWith(kArgon2id)) return true;
    InizializzaSodium();
    return crypto_pwhash_str_needs_rehash(memorizzato.toLatin1().constData(), kOperazioni,
                                          kMemoria) != 0;
}

bool ImpostaPassword(Host& host, const QString& codice, const QString& password) {
    if (password.isEmpty()) throw Errore(QStringLiteral("La password non può essere vuota."));
    return host.Execute(
               QStringLiteral("update operatori set PasswordHash=%1 where codiceUtente=%2")
                   .arg(sql::Testo(HashPassword(password)), sql::Testo(codice.trimmed()))) > 0;
}

std::optional<Operatore> LeggiOperatore(Host& host, const QString& codice) {
    if (codice.trimmed().isEmpty()) return std::nullopt;
    RecordSetPtr rs = RigaOperatore(host, codice.trimmed());
    if (rs->Eof()) return std::nullopt;
    return DaRiga(*rs);
}

std::optional<Operatore> Accedi(Host& host, const QString& codice, const QString& password) {
    if (codice.trimmed().isEmpty()) return std::nullopt;
    RecordSetPtr rs = RigaOperatore(host, codice.trimmed());
    if (rs->Eof()) return std::nullopt;
    const QString hash = rs->HasField(QStringLiteral("PasswordHash"))
                             ? Txt(rs->Value(QStringLiteral("PasswordHash")))
                             : QString();
    if (!VerificaPassword(hash, password)) return std::nullopt;
    if (HashDaAggiornare(hash)) {
        // The password is known now: the old hash gives way to a slow one. A
        // database that cannot take it now (busy, read-only) does at a later login.
        try {
            host.Execute(QStringLiteral("update operatori set PasswordHash=%1 where id=%2")
                             .arg(sql::Testo(HashPassword(password)),
                                  sql::Intero(rs->Value(QStringLiteral("id")))));
        } catch (const Errore&) {
        }
    }
    return DaRiga(*rs);
}

}  // namespace incassi
