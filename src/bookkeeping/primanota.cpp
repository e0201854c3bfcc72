#include "bookkeeping/primanota.h"

#include <QDateTime>

#include "host/host.h"
#include "values/sqlquote.h"
#include "values/values.h"

namespace incassi {

PrimaNota::PrimaNota(RecordSet& righe, DocumentoNota documento)
    : righe_(righe), doc_(std::move(documento)) {}

bool PrimaNota::trova(const QString& conto) {
    for (righe_.MoveFirst(); !righe_.Eof(); righe_.MoveNext()) {
        if (Txt(righe_.Value(QStringLiteral("codconto")))
                .trimmed()
                .compare(conto.trimmed(), Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

void PrimaNota::scriviRiga(const QString& conto, const QString& descrizione, const Dec& dare,
                           int riga) {
    const Dec importo = dare.arrotonda(2);
    if (trova(conto)) {
        if (importo.zero()) {
            righe_.Delete();
            return;
        }
    } else {
        if (importo.zero()) return;
        righe_.AddNew();
        righe_.SetValue(QStringLiteral("Data"), doc_.data);
        righe_.SetValue(QStringLiteral("Riga"), riga);
        righe_.SetValue(QStringLiteral("iddata"), QDateTime::currentDateTime());
        righe_.SetValue(QStringLiteral("idoperatore"), doc_.operatore);
        righe_.SetValue(QStringLiteral("Idtesta"), doc_.id);
        righe_.SetValue(QStringLiteral("CodLocale"), doc_.codLocale);
        righe_.SetValue(QStringLiteral("codConto"), conto);
        righe_.SetValue(QStringLiteral("Descrizione"), descrizione);
    }
    righe_.SetValue(QStringLiteral("Dare"), importo.negativo() ? 0.0 : importo.toDouble());
    righe_.SetValue(QStringLiteral("Avere"), importo.negativo() ? (-importo).toDouble() : 0.0);
    righe_.Update();
}

void PrimaNota::AggiornaRighePrimanotaAvere(const QString& conto, const QString& descrizione,
                                            const Dec& importo, int riga) {
    scriviRiga(conto, descrizione, -importo, riga);
}

void PrimaNota::AggiornaRighePrimanotaDare(const QString& conto, const QString& descrizione,
                                           const Dec& importo, int riga) {
    scriviRiga(conto, descrizione, importo, riga);
}

void PrimaNota::Scrivi(const std::vector<Movimento>& movimenti, const QString& prefisso) {
    // Movements on one account add up: a document holds one row per account.
    std::vector<Movimento> conti;
    for (const Movimento& m : movimenti) {
        auto it = std::find_if(conti.begin(), conti.end(), [&](const Movimento& c) {
            return c.conto.trimmed().compare(m.conto.trimmed(), Qt::CaseInsensitive) == 0;
        });
        if (it == conti.end()) {
            conti.push_back(m);
        } else {
            it->dare += m.dare;
        }
    }
    if (!prefisso.isEmpty()) {
        for (righe_.MoveFirst(); !righe_.Eof(); righe_.MoveNext()) {
            const QString conto = Txt(righe_.Value(QStringLiteral("codconto"))).trimmed();
            if (!conto.startsWith(prefisso, Qt::CaseInsensitive)) continue;
            const bool nominato = std::any_of(conti.begin(), conti.end(), [&](const Movimento& c) {
                return c.conto.trimmed().compare(conto, Qt::CaseInsensitive) == 0;
            });
            if (!nominato) righe_.Delete();
        }
    }
    int riga = 0;
    for (const Movimento& c : conti) {
        const bool scritta = !c.dare.arrotonda(2).zero();
        scriviRiga(c.conto, c.descrizione, c.dare, scritta ? ++riga : riga);
    }
}

Dec PrimaNota::Sbilancio() {
    // The grid's current row stays where it was.
    const int posizione = righe_.AbsolutePosition();
    Dec s;
    for (righe_.MoveFirst(); !righe_.Eof(); righe_.MoveNext()) {
        s += Dec::DaCella(righe_.Value(QStringLiteral("Dare"))) -
             Dec::DaCella(righe_.Value(QStringLiteral("Avere")));
    }
    if (posizione > 0) righe_.SetAbsolutePosition(posizione);
    return s.arrotonda(2);
}

std::optional<QString> ContoDelPiano(Host& host, const QString& conto) {
    if (conto.isEmpty()) return std::nullopt;
    auto rs = host.OpenRecordSet(
        QStringLiteral("select CodiceConto from AnagraficaPianoConti where codiceconto='%1'")
            .arg(sql::Raddoppia(conto)));
    if (rs->Eof()) return std::nullopt;
    return Txt(rs->Value(QStringLiteral("CodiceConto")));
}

QStringList ContiSconosciuti(Host& host, const QStringList& conti) {
    if (conti.isEmpty()) return {};
    QStringList elenco;
    for (const QString& c : conti)
        elenco << sql::Testo(c);
    QStringList noti;
    for (auto rs = host.OpenRecordSet(
             QStringLiteral(
                 "select CodiceConto from AnagraficaPianoConti where codiceconto in (%1)")
                 .arg(elenco.join(u',')));
         !rs->Eof(); rs->MoveNext())
        noti << Txt(rs->Value(0));
    QStringList ignoti;
    for (const QString& c : conti)
        if (!noti.contains(c, Qt::CaseInsensitive)) ignoti << c;
    return ignoti;
}

}  // namespace incassi
