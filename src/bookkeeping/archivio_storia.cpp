// The document store: the history of a machine and of a venue, as the
// machine load, the row calculation and the history panels read it.

#include "bookkeeping/archivio.h"
#include "host/host.h"
#include "values/sqlquote.h"
#include "values/values.h"

namespace incassi {

std::optional<QVariant> Archivio::CassettoLasciato(qlonglong scheda, const QDate& data) {
    auto ultima = host_.OpenRecordSet(
        QStringLiteral("select top 1 NoteIncassi.* from noteincassi  INNER JOIN NoteTeste ON "
                       "NoteIncassi.IdTesta = NoteTeste.id where NoteIncassi.linkscheda=%1 and "
                       "NoteIncassi.dataincasso<=%2 and not (noteincassi.cassetto is null) and "
                       "NoteTeste.CodCausale in ('CAM','FUR') order by NoteIncassi.dataincasso "
                       "desc,noteincassi.id desc")
            .arg(scheda)
            .arg(sql::Data(data)));
    if (ultima->Eof()) return std::nullopt;
    return ultima->Value(QStringLiteral("cassetto"));
}

QHash<qlonglong, Archivio::Aperti> Archivio::ApertiDelleMacchine(const QList<qlonglong>& schede,
                                                                 const QDate& data) {
    QHash<qlonglong, Aperti> out;
    if (schede.isEmpty()) return out;
    const QString in = sql::Interi(schede);
    // A row without an amount adds nothing to a sum: leaving those rows out
    // (every collection of the machine's history) keeps the sums and lets the
    // index of open amounts answer.
    auto acconti = host_.OpenRecordSet(
        QStringLiteral(
            "select noteincassi.linkscheda, sum(noteincassi.acconti) as SommaDiAcconti from "
            "noteincassi INNER JOIN NoteTeste ON NoteIncassi.IdTesta = NoteTeste.id where "
            "noteincassi.linkscheda in (%1) and noteincassi.chiuso=0 and "
            "NoteIncassi.dataincasso<=%2 and noteincassi.acconti<>0 and "
            "NoteTeste.CodCausale='ACC' group by noteincassi.linkscheda")
            .arg(in, sql::Data(data)));
    for (; !acconti->Eof(); acconti->MoveNext()) {
        out[qlonglong(Num(acconti->Value(QStringLiteral("linkscheda"))))].acconti =
            acconti->Value(QStringLiteral("SommaDiAcconti"));
    }
    auto refill = host_.OpenRecordSet(
        QStringLiteral(
            "select noteincassi.linkscheda, sum(noteincassi.refillgestore) as sommaRefGest, "
            "sum(noteincassi.refillLocale) as sommaRefLocale from noteincassi INNER JOIN "
            "NoteTeste ON NoteIncassi.IdTesta = NoteTeste.id where noteincassi.linkscheda in "
            "(%1) and noteincassi.chiuso=0 and NoteIncassi.dataincasso<=%2 and "
            "(noteincassi.refillgestore<>0 or noteincassi.refillLocale<>0) and "
            "NoteTeste.CodCausale='REF' group by noteincassi.linkscheda")
            .arg(in, sql::Data(data)));
    for (; !refill->Eof(); refill->MoveNext()) {
        Aperti& a = out[qlonglong(Num(refill->Value(QStringLiteral("linkscheda"))))];
        a.refillGestore = refill->Value(QStringLiteral("sommaRefGest"));
        a.refillLocale = refill->Value(QStringLiteral("sommaRefLocale"));
    }
    return out;
}

RecordSetPtr Archivio::LetturePrecedenti(const QList<qlonglong>& schede, const QDate& data,
                                         const QString& codLocale, Lettura quale) {
    const QString giorno = sql::Data(data);
    const QString locale = sql::Raddoppia(codLocale);
    // For each machine, the id of its row (the index on machine and day finds
    // it walking back from the date); then those rows, in one statement.
    QString ultima;
    switch (quale) {
        case Lettura::UltimoIncasso:
            ultima = QStringLiteral(
                         "select top 1 r.id from noteincassi as r INNER JOIN NoteTeste as t ON "
                         "r.IdTesta = t.id where r.linkscheda=magschede.id and "
                         "r.dataincasso<=%1 and t.CodCausale in ('INC6','FUR') and "
                         "t.codlocale='%2' order by r.dataincasso desc,r.id desc")
                         .arg(giorno, locale);
            break;
        case Lettura::ConContatori:
            ultima = QStringLiteral(
                         "select top 1 r.id from noteincassi as r where "
                         "r.linkscheda=magschede.id and r.dataincasso<=%1 and not "
                         "(r.contatorein is null) and r.codlocale='%2' order by "
                         "r.dataincasso desc,r.id desc")
                         .arg(giorno, locale);
            break;
        case Lettura::Qualsiasi:
            ultima = QStringLiteral(
                         "select top 1 r.id from noteincassi as r where "
                         "r.linkscheda=magschede.id and r.dataincasso<=%1 order by "
                         "r.dataincasso desc,r.id desc")
                         .arg(giorno);
            break;
    }
    const QString colonne = quale == Lettura::UltimoIncasso
                                ? QStringLiteral(
                                      "NoteIncassi.*, NoteTeste.CodCausale from noteincassi "
                                      "INNER JOIN NoteTeste ON NoteIncassi.IdTesta = NoteTeste.id")
                                : QStringLiteral("NoteIncassi.* from noteincassi");
    return host_.OpenRecordSet(QStringLiteral("select %1 where NoteIncassi.id in (select (%2) "
                                              "from magschede where magschede.id in (%3))")
                                   .arg(colonne, ultima, sql::Interi(schede)));
}

Dec Archivio::ReteAddebitata(qlonglong scheda, const QString& codLocale, const QDate& dal,
                             const QDate& al, qlonglong escluso) {
    return ReteAddebitataMacchine({scheda}, codLocale, dal, al, escluso).value(scheda);
}

QHash<qlonglong, Dec> Archivio::ReteAddebitataMacchine(const QList<qlonglong>& schede,
                                                       const QString& codLocale, const QDate& dal,
                                                       const QDate& al, qlonglong escluso) {
    QHash<qlonglong, Dec> out;
    if (schede.isEmpty()) return out;
    auto rs = host_.OpenRecordSet(
        QStringLiteral("select linkscheda, sum(rete) as sommaDiRete from noteincassi where "
                       "linkscheda in (%1) and dataincasso>=%2 and dataincasso<=%3 and "
                       "codlocale='%4' and (idtesta is null or idtesta<>%5) group by linkscheda")
            // One call: a "%5" inside the venue's code stays as it is.
            .arg(sql::Interi(schede), sql::Data(dal), sql::Data(al), sql::Raddoppia(codLocale),
                 QString::number(escluso)));
    for (; !rs->Eof(); rs->MoveNext()) {
        out.insert(qlonglong(Num(rs->Value(QStringLiteral("linkscheda")))),
                   Dec::DaCella(rs->Value(QStringLiteral("sommaDiRete"))));
    }
    return out;
}

RecordSetPtr Archivio::DocumentiDelLocale(const QString& codLocale, const QDate& data) {
    // The statement shows six: the newest six, not the venue's whole history.
    return host_.OpenRecordSet(
        QStringLiteral(
            "select top 6 * from noteteste where codlocale='%1' and dataregistrazione<=%2 and "
            "codcausale "
            "in( 'INC6', 'INC' , 'REF', 'CH' , 'RH', 'FUR', 'CAM') order by dataregistrazione desc")
            .arg(sql::Raddoppia(codLocale), sql::Data(data)));
}

RecordSetPtr Archivio::SommeMacchine(const QList<qlonglong>& teste) {
    return host_.OpenRecordSet(
        QStringLiteral(
            "SELECT NoteIncassi.IdTesta, sum(NoteIncassi.LivelloH1*NoteIncassi.TipoH1) AS hop1, "
            "sum(NoteIncassi.LivelloH2*NoteIncassi.TipoH2) AS hop2, "
            "sum(NoteIncassi.LivelloH3*NoteIncassi.TipoH3) AS hop3, sum(NoteIncassi.ammanchi) AS "
            "sumAmmanchi, sum(NoteIncassi.cassetto) AS sumCassetto, "
            "sum(NoteIncassi.VariazioneHopper) AS sumVariazione From NoteIncassi where "
            "NoteIncassi.IdTesta in (%1) group by NoteIncassi.IdTesta")
            .arg(sql::Interi(teste)));
}

RecordSetPtr Archivio::StoriaMacchina(qlonglong scheda, int tipoIncasso, const QString& codLocale,
                                      const QDate& data) {
    QString causali;
    if (tipoIncasso == 6)
        causali = QStringLiteral("NoteTeste.CodCausale in ('INC','INC6','REF','FUR')");
    else if (tipoIncasso == 2)
        causali = QStringLiteral("NoteTeste.CodCausale in ('CAM','FUR')");
    else
        causali = QStringLiteral("NoteTeste.CodCausale in ('INC','INC6')");
    return host_.OpenRecordSetAsync(
        QStringLiteral("select top 10 NoteIncassi.*, NoteTeste.CodCausale from noteincassi INNER "
                       "JOIN NoteTeste ON NoteIncassi.IdTesta = NoteTeste.id where "
                       "NoteIncassi.Linkscheda=%1 and NoteIncassi.DataIncasso<=%2 and %3 and "
                       "noteteste.codlocale='%4' order by NoteIncassi.dataIncasso desc")
            .arg(scheda)
            .arg(sql::Data(data), causali, sql::Raddoppia(codLocale)),
        100);
}

}  // namespace incassi
