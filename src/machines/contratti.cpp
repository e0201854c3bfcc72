#include "machines/contratti.h"

#include "host/host.h"
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

Ripartizione ScegliRipartizione(Host& host, qlonglong idScheda, const QString& codLocale,
                                const QString& categoria, const Ripartizione& predefinita) {
    // The split agreed for this machine in this venue. The table links the
    // machine card (linkscheda), so the card's id is the key.
    auto macchina = host.OpenRecordSet(
        QStringLiteral("select * from PercentualiApparecchi where linkscheda=%1 and codlocale='%2'")
            .arg(idScheda)
            .arg(sql::Raddoppia(codLocale)));
    if (!macchina->Eof()) {
        return {Txt(macchina->Value(QStringLiteral("tipologia"))),
                Round(Num(macchina->Value(QStringLiteral("percentuale"))), 2), 0};
    }
    auto locale = host.OpenRecordSet(
        QStringLiteral("select * from Localipercentuali where codicelocale='%1' and categoria='%2'")
            .arg(sql::Raddoppia(codLocale), sql::Raddoppia(categoria)));
    if (!locale->Eof()) {
        return {Txt(locale->Value(QStringLiteral("Tipo"))),
                Round(Num(locale->Value(QStringLiteral("percentualeloc"))), 2),
                Round(Num(locale->Value(QStringLiteral("percentualenol"))), 2)};
    }
    return {predefinita.tipoCalcolo, predefinita.percLocale, 0};
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
