#include "entry/configura.h"

#include "entry/lanciatore.h"
#include "host/host.h"
#include "values/error.h"
#include "values/sqlquote.h"

namespace incassi {

QString TestoVersione(int major, int minor, int revision) {
    return QStringLiteral("%1.%2%3")
        .arg(major)
        .arg(minor, 3, 10, QLatin1Char('0'))
        .arg(revision, 3, 10, QLatin1Char('0'));
}

QString FinestraDaCodice(const QString& codiceStampa) {
    for (const finestre::Funzione& f : finestre::Funzioni) {
        if (codiceStampa.compare(f.codice, Qt::CaseInsensitive) == 0) return f.finestra;
    }
    return {};
}

QString configura::Ver() const {
    return TestoVersione(INCASSI_VERSION_MAJOR, INCASSI_VERSION_MINOR, INCASSI_VERSION_PATCH);
}

void configura::Start() {
    if (!host_) throw Errore(QStringLiteral("Start: applicazione non impostata"));
    operatore_ =
        host_->OpenRecordSet(QStringLiteral("select * from operatori where codiceUtente='") +
                             sql::Raddoppia(host_->user()) + QStringLiteral("'"));
    const QString finestra = FinestraDaCodice(p_.CodiceStampa);
    if (finestra.isEmpty() || !lanciatore_) return;
    const bool modale = p_.Modale.compare(QLatin1String("1"), Qt::CaseInsensitive) == 0;
    lanciatore_->Apri(finestra, modale);
}

incassi::RecordOperatore configura::Operatore() const {
    return operatore_ ? incassi::RecordOperatore::Da(*operatore_) : incassi::RecordOperatore{};
}

QString configura::CodiceDitta() const {
    return Operatore().azienda();
}

bool configura::AccessoCompleto() const {
    return Operatore().accessocompleto;
}

}  // namespace incassi
