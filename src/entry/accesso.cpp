#include "entry/accesso.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

#include "common/sqlquote.h"
#include "common/values.h"

namespace incassi {

namespace {

const QString kSchema = QStringLiteral("sha256");

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

QString HashPassword(const QString& password, const QString& sale) {
    const QByteArray h =
        QCryptographicHash::hash((sale + password).toUtf8(), QCryptographicHash::Sha256);
    return kSchema + u'$' + sale + u'$' + QString::fromLatin1(h.toHex());
}

QString HashPassword(const QString& password) {
    QByteArray sale(16, '\0');
    for (char& c : sale)
        c = char(QRandomGenerator::system()->bounded(256));
    return HashPassword(password, QString::fromLatin1(sale.toHex()));
}

bool VerificaPassword(const QString& memorizzato, const QString& password) {
    if (memorizzato.isEmpty()) return password.isEmpty();
    const QStringList parti = memorizzato.split(u'$');
    if (parti.size() != 3 || parti[0] != kSchema || parti[1].isEmpty()) return false;
    const QByteArray atteso = HashPassword(password, parti[1]).toLatin1();
    const QByteArray dato = memorizzato.toLatin1();
    // Compares every byte, so the time taken does not tell where they differ.
    if (atteso.size() != dato.size()) return false;
    int diverso = 0;
    for (qsizetype i = 0; i < atteso.size(); ++i)
        diverso |= atteso[i] ^ dato[i];
    return diverso == 0;
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
    return DaRiga(*rs);
}

}  // namespace incassi
