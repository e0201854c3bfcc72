#include "machines/contratti.h"

#include "host/host.h"
#include "host/recordset.h"
#include "values/sqlquote.h"
#include "values/values.h"

namespace incassi {

Ripartizione LeggiRipartizionePredefinita(Host& host) {
    Ripartizione r;
    auto rs = host.OpenRecordSet(QStringLiteral("select * from DefaultIncassi"));
    if (!rs->Eof()) {
        r.tipoCalcolo = Txt(rs->Value(QStringLiteral("tipoincasso")));
        r.percLocale = Round(Num(rs->Value(QStringLiteral("valoreperc"))), 2);
    }
    return r;
}

namespace {

// The key of a memo of text arguments: each text whole, kept apart.
QString Chiave(const QString& a, const QString& b) {
    return QString::number(a.size()) + u':' + a + b;
}

Ripartizione RipartizioneDellaRiga(RecordSet& rs) {
    return {Txt(rs.Value(QStringLiteral("tipologia"))),
            Round(Num(rs.Value(QStringLiteral("percentuale"))), 2), 0};
}

}  // namespace

RegoleLocale::RegoleLocale(Host& host, const QString& codLocale, const Ripartizione& predefinita)
    : host_(host), codLocale_(codLocale), predefinita_(predefinita) {}

void RegoleLocale::LeggiMacchine(const QList<qlonglong>& schede) {
    QList<qlonglong> nuove;
    for (qlonglong s : schede) {
        if (lette_.contains(s)) continue;
        lette_.insert(s);
        nuove << s;
    }
    if (nuove.isEmpty()) return;
    // The split agreed for each machine in this venue. The table links the
    // machine card (linkscheda), so the card's id is the key; the first row
    // of a machine counts, as when it is read alone.
    auto rs = host_.OpenRecordSet(
        QStringLiteral(
            "select * from PercentualiApparecchi where linkscheda in (%1) and codlocale='%2'")
            .arg(sql::Interi(nuove), sql::Raddoppia(codLocale_)));
    for (; !rs->Eof(); rs->MoveNext()) {
        const qlonglong scheda = qlonglong(Num(rs->Value(QStringLiteral("linkscheda"))));
        if (!proprie_.contains(scheda)) proprie_.insert(scheda, RipartizioneDellaRiga(*rs));
    }
}

Ripartizione RegoleLocale::Scegli(qlonglong idScheda, const QString& categoria) {
    if (!lette_.contains(idScheda)) LeggiMacchine({idScheda});
    const auto propria = proprie_.constFind(idScheda);
    if (propria != proprie_.constEnd()) return *propria;
    const auto gia = categorie_.constFind(categoria);
    if (gia != categorie_.constEnd()) return *gia;
    Ripartizione r{predefinita_.tipoCalcolo, predefinita_.percLocale, 0};
    auto locale = host_.OpenRecordSet(
        QStringLiteral("select * from Localipercentuali where codicelocale='%1' and categoria='%2'")
            .arg(sql::Raddoppia(codLocale_), sql::Raddoppia(categoria)));
    if (!locale->Eof()) {
        r = {Txt(locale->Value(QStringLiteral("Tipo"))),
             Round(Num(locale->Value(QStringLiteral("percentualeloc"))), 2),
             Round(Num(locale->Value(QStringLiteral("percentualenol"))), 2)};
    }
    categorie_.insert(categoria, r);
    return r;
}

ParametriRete RegoleLocale::Rete(const QString& concessionario, const QString& contratto) {
    const QString chiave = Chiave(concessionario, contratto);
    const auto gia = reti_.constFind(chiave);
    if (gia != reti_.constEnd()) return *gia;
    const ParametriRete r = CercaRete(host_, codLocale_, concessionario, contratto);
    reti_.insert(chiave, r);
    return r;
}

std::optional<double> RegoleLocale::TerzoGestore(const QString& concessionario,
                                                 const QString& contratto) {
    const QString chiave = Chiave(concessionario, contratto);
    const auto gia = terzi_.constFind(chiave);
    if (gia != terzi_.constEnd()) return *gia;
    const std::optional<double> p =
        PercentualeTerzoGestore(host_, codLocale_, concessionario, contratto);
    terzi_.insert(chiave, p);
    return p;
}

Ripartizione ScegliRipartizione(Host& host, qlonglong idScheda, const QString& codLocale,
                                const QString& categoria, const Ripartizione& predefinita) {
    return RegoleLocale(host, codLocale, predefinita).Scegli(idScheda, categoria);
}

ParametriRete CercaRete(Host& host, const QString& codLocale, const QString& concessionario,
                        const QString& contratto) {
    const QString base = QStringLiteral(
                             "select * from LocaliConcessionari where codicelocale='%1' and "
                             "CodiceConcessionario='%2'")
                             .arg(sql::Raddoppia(codLocale), sql::Raddoppia(concessionario));
    RecordSetPtr rs;
    if (!contratto.trimmed().isEmpty()) {
        rs = host.OpenRecordSet(
            base + QStringLiteral(" and contratto='%1'").arg(sql::Raddoppia(contratto)));
    }
    if (!rs || rs->Eof()) rs = host.OpenRecordSet(base + QStringLiteral(" order by contratto"));
    if (!rs->Eof()) {
        return {Txt(rs->Value(QStringLiteral("Tipo"))),
                Round(Num(rs->Value(QStringLiteral("Valore"))), 2)};
    }
    auto holder = host.OpenRecordSet(
        QStringLiteral("select * from anagraficaconcessionari where codiceConcessionario='%1'")
            .arg(sql::Raddoppia(concessionario)));
    if (!holder->Eof()) {
        return {Txt(holder->Value(QStringLiteral("TipoCostoRete"))),
                Round(Num(holder->Value(QStringLiteral("valorerete"))), 2)};
    }
    return {};
}

std::optional<double> PercentualeTerzoGestore(Host& host, const QString& codLocale,
                                              const QString& concessionario,
                                              const QString& contratto) {
    if (contratto.trimmed().isEmpty()) return std::nullopt;
    auto rs =
        host.OpenRecordSet(QStringLiteral("select * from localiConcessionari where "
                                          "codiceLocale='%1' and codiceConcessionario='%2'")
                               .arg(sql::Raddoppia(codLocale), sql::Raddoppia(concessionario)));
    if (rs->Eof() || !Flag(rs->Value(QStringLiteral("TerzoGestore")))) return std::nullopt;
    auto tipo = host.OpenRecordSet(
        QStringLiteral(
            "select * from tipocontratto where codConcessionario='%1' and contratto='%2'")
            .arg(sql::Raddoppia(concessionario), sql::Raddoppia(contratto)));
    if (tipo->Eof()) return std::nullopt;
    return Num(tipo->Value(QStringLiteral("PercentualeComodato")));
}

AliquoteTasse TassaAttiva(Host& host) {
    auto rs = host.OpenRecordSet(QStringLiteral("select * from anagraficaTasse where attiva<>0"));
    if (rs->Eof()) return {};
    return {Round(Num(rs->Value(QStringLiteral("percentualepreu"))), 2),
            Round(Num(rs->Value(QStringLiteral("percentualeAAMS"))), 2), true};
}

}  // namespace incassi
