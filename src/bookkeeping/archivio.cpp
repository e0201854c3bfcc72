// The document store: loading, saving and deleting a document.

#include "bookkeeping/archivio.h"

#include <QDateTime>

#include "host/host.h"
#include "values/causali.h"
#include "values/error.h"
#include "values/sqlquote.h"
#include "values/values.h"

namespace incassi {

namespace {

constexpr int kPagina = 100;

}  // namespace

RecordSetPtr Archivio::Elenco(const QString& codLocale, const QString& azienda) {
    QString dove;
    if (!codLocale.isEmpty())
        dove = QStringLiteral("where codLocale='%1' ").arg(sql::Raddoppia(codLocale));
    else if (!azienda.isEmpty())
        dove = QStringLiteral("where CodiceAzienda='%1' ").arg(sql::Raddoppia(azienda));
    return host_.OpenRecordSetAsync(
        QStringLiteral("select * from noteTeste %1order by DataRegistrazione desc").arg(dove),
        kPagina);
}

RecordSetPtr Archivio::ElencoDi(qlonglong id) {
    return host_.OpenRecordSetAsync(QStringLiteral("select * from noteTeste where id=%1").arg(id),
                                    kPagina);
}

RecordSetPtr Archivio::ElencoCon(const QString& campo, const QString& testo) {
    // The value is a text to look for: its "%" and "_" are not wildcards.
    return host_.OpenRecordSetAsync(
        QStringLiteral("select * from noteTeste where %1 like '%2' escape '!'")
            .arg(host_.Campo(QStringLiteral("NoteTeste"), campo), sql::Contiene(testo)),
        kPagina);
}

RecordSetPtr Archivio::Cerca(const Ricerca& r) {
    QStringList condizioni;
    if (!r.causale.isEmpty())
        condizioni << QStringLiteral("noteTeste.codcausale='%1'").arg(sql::Raddoppia(r.causale));
    if (!r.codLocale.isEmpty())
        condizioni << QStringLiteral("noteTeste.codLocale='%1'").arg(sql::Raddoppia(r.codLocale));
    if (r.dal.isValid())
        condizioni << QStringLiteral("noteTeste.DataRegistrazione>=") + sql::Data(r.dal);
    if (r.al.isValid())
        condizioni << QStringLiteral("noteTeste.DataRegistrazione<=") + sql::Data(r.al);
    if (!r.azienda.isEmpty()) {
        condizioni
            << QStringLiteral("AnagraficaLocali.CodiceAzienda='%1'").arg(sql::Raddoppia(r.azienda));
    }
    return host_.OpenRecordSet(
        QStringLiteral("SELECT top %1 noteTeste.*, AnagraficaLocali.Insegna, "
                       "AnagraficaLocali.Citta, AnagraficaLocali.Indirizzo  FROM noteTeste LEFT "
                       "JOIN AnagraficaLocali ON noteTeste.CodLocale = AnagraficaLocali.CodLocale ")
            .arg(kDocumentiCercati + 1) +
        (condizioni.isEmpty()
             ? QString()
             : QStringLiteral("where ") + condizioni.join(QStringLiteral(" and "))) +
        QStringLiteral(" ORDER BY noteTeste.DataRegistrazione DESC"));
}

Archivio::Dopo Archivio::DocumentiDopo(const QString& causale, const QString& codLocale,
                                       const QDate& data) {
    auto rs = host_.OpenRecordSet(
        QStringLiteral("select count(*) as Numero, max(DataRegistrazione) as Ultimo from "
                       "noteteste where codcausale='%1' and codlocale='%2' and "
                       "dataregistrazione>%3")
            .arg(sql::Raddoppia(causale), sql::Raddoppia(codLocale), sql::Data(data)));
    return {int(Num(rs->Value(QStringLiteral("Numero")))),
            rs->Value(QStringLiteral("Ultimo")).toDate()};
}

RecordSetPtr Archivio::RigheNota(qlonglong id) {
    return host_.OpenRecordSetBatch(
        QStringLiteral("select * from NoteRighe where idtesta=%1 order by riga")
            .arg(id > 0 ? id : -1));
}

RecordSetPtr Archivio::RigheIncassi(qlonglong id) {
    return host_.OpenRecordSetBatch(
        QStringLiteral("select * from noteIncassi where idtesta=%1").arg(id > 0 ? id : -1));
}

Archivio::Presa Archivio::PrendiTestata(qlonglong id, qlonglong versione) {
    if (host_.Execute(QStringLiteral("UPDATE NoteTeste SET NoteTeste.Versione = "
                                     "coalesce(NoteTeste.Versione, 0) + 1 WHERE id=%1 AND "
                                     "coalesce(Versione, 0)=%2")
                          .arg(id)
                          .arg(versione)) != 1) {
        return Presa::Cambiata;
    }
    auto testata =
        host_.OpenRecordSet(QStringLiteral("select Bloccato from NoteTeste where id=%1").arg(id));
    return Flag(testata->Value(QStringLiteral("Bloccato"))) ? Presa::Bloccata : Presa::Presa;
}

namespace {

// The machines of a set of machine rows, each once.
QList<qlonglong> SchedeDelleRighe(RecordSet& righe) {
    QList<qlonglong> ids;
    for (righe.MoveFirst(); !righe.Eof(); righe.MoveNext()) {
        const QVariant scheda = righe.Value(QStringLiteral("linkscheda"));
        if (IsNull(scheda)) continue;
        const qlonglong id = qlonglong(Num(scheda));
        if (!ids.contains(id)) ids << id;
    }
    return ids;
}

}  // namespace

qlonglong Archivio::Salva(const Documento& d, const std::function<void(RecordSet&)>& riempi,
                          RecordSet* incassi, RecordSet* nota) {
    RecordSetPtr testata = host_.OpenRecordSet(
        QStringLiteral("select * from NoteTeste where id=%1").arg(d.id > 0 ? d.id : -1));
    if (d.id <= 0) {
        testata->AddNew();
    } else if (testata->Eof()) {
        throw Errore(QStringLiteral("il documento %1 non esiste più: è stato eliminato da "
                                    "un'altra finestra o postazione.")
                         .arg(d.id));
    }
    riempi(*testata);
    const QDateTime adesso = QDateTime::currentDateTime();
    testata->SetValue(QStringLiteral("totTasse"),
                      (Dec::DaCella(testata->Value(QStringLiteral("totpreu"))) +
                       Dec::DaCella(testata->Value(QStringLiteral("totaams"))) +
                       Dec::DaCella(testata->Value(QStringLiteral("totrete"))))
                          .toDouble());
    testata->SetValue(QStringLiteral("iddata"), adesso);
    testata->SetValue(QStringLiteral("idoperatore"), host_.user());
    testata->Update();
    const qlonglong id = testata->Value(QStringLiteral("id")).toLongLong();

    // The bookkeeping rows in grid order.
    int riga = 0;
    if (nota) {
        for (nota->MoveFirst(); !nota->Eof(); nota->MoveNext()) {
            nota->SetValue(QStringLiteral("Idtesta"), id);
            nota->SetValue(QStringLiteral("iddata"), adesso);
            nota->SetValue(QStringLiteral("Data"), d.data);
            nota->SetValue(QStringLiteral("idoperatore"), host_.user());
            nota->SetValue(QStringLiteral("CodLocale"), d.codLocale);
            nota->SetValue(QStringLiteral("Riga"), ++riga);
        }
    }
    // The machine rows, the cards and the advances and refills they settle.
    riga = 0;
    if (incassi) {
        const QList<qlonglong> macchine = SchedeDelleRighe(*incassi);
        Schede schede(host_, macchine);
        const QSet<qlonglong> ultimi = UltimiDocumenti(macchine, d.data, d.causale, d.codLocale);
        for (incassi->MoveFirst(); !incassi->Eof(); incassi->MoveNext()) {
            RecordSet& r = *incassi;
            if (CausaleTra(d.causale, {Causale::INC6}) &&
                IsNull(r.Value(QStringLiteral("ContatoreIn"))) &&
                IsNull(r.Value(QStringLiteral("ContatoreOUT")))) {
                r.Delete();  // a networked machine without meters was not collected
                continue;
            }
            if (CausaleTra(d.causale, {Causale::ACC}) &&
                Dec::DaCella(r.Value(QStringLiteral("acconti"))).zero()) {
                r.Delete();  // advances are stored for the machines that have one
                continue;
            }
            r.SetValue(QStringLiteral("IdTesta"), id);
            r.SetValue(QStringLiteral("iddata"), adesso);
            r.SetValue(QStringLiteral("DataIncasso"), d.data);
            r.SetValue(QStringLiteral("idoperatore"), host_.user());
            r.SetValue(QStringLiteral("CodLocale"), d.codLocale);
            r.SetValue(QStringLiteral("Riga"), ++riga);
            scriviRigaMacchina(d, id, r, adesso, schede, ultimi);
        }
    }
    // Both row sets in one go.
    if (incassi) incassi->UpdateBatch();
    if (nota) nota->UpdateBatch();
    // The venue's advance headers settled by this collection.
    if (CausaleTra(d.causale, {Causale::INC6, Causale::INC, Causale::FUR})) {
        if (d.deduceAcconti) chiudiTesteAcconti(QStringLiteral("ACC"), id, d.codLocale, d.data);
        if (d.deduceAccontiLocali)
            chiudiTesteAcconti(QStringLiteral("ACL"), id, d.codLocale, d.data);
    }
    return id;
}

void Archivio::scriviRigaMacchina(const Documento& d, qlonglong id, RecordSet& r,
                                  const QDateTime& adesso, Schede& schede,
                                  const QSet<qlonglong>& ultimi) {
    const qlonglong scheda = qlonglong(Num(r.Value(QStringLiteral("linkscheda"))));
    const auto tipo = ParseNumero(Txt(r.Value(QStringLiteral("tipoincasso"))));
    switch (CausaleDi(d.causale)) {
        case Causale::INC6:
        case Causale::FUR: {
            const QDate prima = r.Value(QStringLiteral("DataVecchioContatore")).toDate();
            if (CausaleDi(d.causale) == Causale::INC6 && prima.isValid())
                r.SetValue(QStringLiteral("NumGiorniIncasso"), prima.daysTo(d.data));
            if (ultimi.contains(scheda))
                aggiornaScheda(schede, r, d.data, true, CausaleDi(d.causale) == Causale::FUR);
            // An advance is settled where the collection deducts it: one the
            // collector chose to ignore stays open, rows and header.
            if (!Dec::DaCella(r.Value(QStringLiteral("acconti"))).zero() && d.deduceAcconti)
                chiudiRighe("ACC", id, scheda, d.data);
            if (!Dec::DaCella(r.Value(QStringLiteral("refillLocale"))).zero() ||
                !Dec::DaCella(r.Value(QStringLiteral("RefillGestore"))).zero()) {
                chiudiRighe("REF", id, scheda, d.data);
            }
            break;
        }
        case Causale::INC:
            if (tipo && (*tipo == 7 || *tipo == 8 || *tipo == 9 || *tipo == 20) &&
                ultimi.contains(scheda)) {
                aggiornaScheda(schede, r, d.data, true, false);
            }
            if (tipo && *tipo == 13) {
                // The machine's meter rows written before the document had an
                // id: this operator's, of this machine only (another
                // workstation may be collecting the same island).
                host_.Execute(QStringLiteral("UPDATE NoteIncassiContatori SET IdTesta = %1 where "
                                             "idtesta=0 and linkscheda=%2 and idoperatore='%3'")
                                  .arg(id)
                                  .arg(scheda)
                                  .arg(sql::Raddoppia(host_.user())));
                aggiornaContatoriIsola(id, scheda, d.data, adesso);
            }
            break;
        case Causale::CH:
        case Causale::RH:
            // Only the hoppers: their money, and the money loaded in them.
            if (ultimi.contains(scheda)) aggiornaScheda(schede, r, d.data, false, true);
            break;
        default:
            break;
    }
}

Archivio::Stato Archivio::StatoDocumento(qlonglong id) {
    Stato s;
    auto testata = host_.OpenRecordSet(
        QStringLiteral("select CodCausale, CodLocale, DataRegistrazione, Versione, Bloccato from "
                       "NoteTeste where id=%1")
            .arg(id));
    if (testata->Eof()) return s;
    s.esiste = true;
    s.versione = qlonglong(Num(testata->Value(QStringLiteral("Versione"))));
    s.bloccato = Flag(testata->Value(QStringLiteral("Bloccato")));
    const QString locale = Txt(testata->Value(QStringLiteral("CodLocale")));
    const QString giorno = sql::Data(testata->Value(QStringLiteral("DataRegistrazione")).toDate(),
                                     FormatoDataSql::AnnoMeseGiorno);
    QString dopo = QStringLiteral("CodCausale='%1'")
                       .arg(sql::Raddoppia(Txt(testata->Value(QStringLiteral("CodCausale")))));
    if (!locale.isEmpty())
        dopo += QStringLiteral(" AND CodLocale='%1'").arg(sql::Raddoppia(locale));
    dopo += QStringLiteral(" AND ( DataRegistrazione>%1 OR ( DataRegistrazione=%1 AND id > %2 ) )")
                .arg(giorno)
                .arg(id);
    auto conta = host_.OpenRecordSet(
        QStringLiteral("select count(*) as Successivi from NoteTeste where %1").arg(dopo));
    s.successivi = int(Num(conta->Value(QStringLiteral("Successivi"))));
    return s;
}

void Archivio::Elimina(qlonglong id) {
    auto testata =
        host_.OpenRecordSet(QStringLiteral("select CodCausale from NoteTeste where id=%1").arg(id));
    if (testata->Eof()) {
        throw Errore(QStringLiteral("il documento %1 non esiste più: è stato eliminato da "
                                    "un'altra finestra o postazione.")
                         .arg(id));
    }
    const Causale c = CausaleDi(Txt(testata->Value(QStringLiteral("CodCausale"))));
    auto righe = RigheNota(id);
    for (righe->MoveFirst(); !righe->Eof(); righe->MoveNext())
        righe->Delete();
    righe->UpdateBatch();
    // Only a collection that settled advance or refill rows has any to reopen.
    const bool haChiuso =
        host_
            .OpenRecordSet(
                QStringLiteral("select top 1 id from NoteIncassi where IdChiusura=%1").arg(id))
            ->RecordCount() > 0;
    auto macchine = RigheIncassi(id);
    Schede schede(host_, SchedeDelleRighe(*macchine));
    for (macchine->MoveFirst(); !macchine->Eof(); macchine->MoveNext()) {
        RecordSet& r = *macchine;
        const qlonglong scheda = qlonglong(Num(r.Value(QStringLiteral("linkscheda"))));
        switch (c) {
            case Causale::INC:
                ripristinaScheda(schede, r, {Ripristino::Contatori, Ripristino::HopperDaLivelli});
                if (haChiuso) riapriAcconto(id, scheda);
                ripristinaContatoriIsola(id, scheda);
                break;
            case Causale::CH:
            case Causale::RH:
                ripristinaScheda(schede, r, {Ripristino::Caricati});
                break;
            case Causale::FUR:
                ripristinaScheda(
                    schede, r,
                    {Ripristino::Contatori, Ripristino::HopperDaPrecedenti, Ripristino::Caricati});
                if (haChiuso) riapriAcconto(id, scheda);
                if (haChiuso) riapriRefill(id, scheda);
                break;
            case Causale::INC6:
                ripristinaScheda(schede, r,
                                 {Ripristino::Contatori, Ripristino::HopperDaPrecedenti});
                if (haChiuso) riapriAcconto(id, scheda);
                if (haChiuso) riapriRefill(id, scheda);
                break;
            default:
                break;
        }
        r.Delete();
    }
    macchine->UpdateBatch();
    riapriTesteAcconti(id);
    if (host_.Execute(QStringLiteral("delete * from NoteTeste where id=%1").arg(id)) != 1) {
        throw Errore(QStringLiteral("il documento %1 non esiste più: è stato eliminato da "
                                    "un'altra finestra o postazione.")
                         .arg(id));
    }
}

RecordSetPtr Archivio::TestataVuota() {
    return host_.OpenRecordSet(QStringLiteral("SELECT * FROM NoteTeste where id=-1"));
}

RecordSetPtr Archivio::RigheVuote() {
    return host_.OpenRecordSet(QStringLiteral("SELECT * FROM NoteRighe where idtesta=-1"));
}

void Archivio::ScartaContatoriSospesi(const std::vector<qlonglong>& schede) {
    for (qlonglong scheda : schede) {
        host_.Execute(QStringLiteral("delete * from noteincassicontatori where idtesta=0 and "
                                     "linkscheda=%1 and idoperatore='%2'")
                          .arg(scheda)
                          .arg(sql::Raddoppia(host_.user())));
    }
}

Dec Archivio::Saldo(const QString& conto, const QString& codLocale, const QDate& data,
                    qlonglong escluso) {
    // The venue's balance through the covering index, then the document's
    // own rows through the index on the header.
    const QString condizione =
        QStringLiteral(
            "NoteRighe.CodConto='%1' AND NoteRighe.codLocale='%2' and NoteRighe.data<=%3")
            // One call: a "%2" inside a code stays as it is.
            .arg(sql::Raddoppia(conto), sql::Raddoppia(codLocale),
                 sql::Data(data, FormatoDataSql::MeseGiornoAnnoBarra));
    Dec saldo = dareMenoAvere(condizione);
    if (escluso > 0)
        saldo -=
            dareMenoAvere(QStringLiteral("NoteRighe.idtesta=%1 and ").arg(escluso) + condizione);
    return saldo;
}

std::vector<Dec> Archivio::Saldi(const QStringList& conti, const QString& codLocale,
                                 const QDate& data) {
    std::vector<Dec> saldi(size_t(conti.size()));
    if (conti.isEmpty()) return saldi;
    QStringList elenco;
    for (const QString& c : conti)
        elenco << sql::Testo(c);
    auto rs = host_.OpenRecordSet(
        QStringLiteral("SELECT NoteRighe.CodConto, Sum(NoteRighe.Dare) AS SommaDiDare, "
                       "Sum(NoteRighe.Avere) AS SommaDiAvere From NoteRighe WHERE "
                       "NoteRighe.CodConto in (%1) AND NoteRighe.codLocale='%2' and "
                       "NoteRighe.data<=%3 GROUP BY NoteRighe.CodConto")
            .arg(elenco.join(u','), sql::Raddoppia(codLocale),
                 sql::Data(data, FormatoDataSql::MeseGiornoAnnoBarra)));
    for (; !rs->Eof(); rs->MoveNext()) {
        const QString conto = Txt(rs->Value(QStringLiteral("CodConto")));
        const Dec saldo = Dec::DaCella(rs->Value(QStringLiteral("SommaDiDare"))) -
                          Dec::DaCella(rs->Value(QStringLiteral("SommaDiAvere")));
        // Codes compare without regard to case, as in the statement.
        for (int i = 0; i < conti.size(); ++i) {
            if (conti[i].compare(conto, Qt::CaseInsensitive) == 0) saldi[size_t(i)] = saldo;
        }
    }
    return saldi;
}

Dec Archivio::dareMenoAvere(const QString& condizione) {
    auto rs = host_.OpenRecordSet(
        QStringLiteral("SELECT Sum(NoteRighe.Dare) AS SommaDiDare, Sum(NoteRighe.Avere) AS "
                       "SommaDiAvere From NoteRighe WHERE ") +
        condizione);
    if (rs->Eof()) return Dec();
    return Dec::DaCella(rs->Value(QStringLiteral("SommaDiDare"))) -
           Dec::DaCella(rs->Value(QStringLiteral("SommaDiAvere")));
}

namespace {

QString DelConto(const QString& conto, const QString& codLocale) {
    QString dove = QStringLiteral("codConto='%1'").arg(sql::Raddoppia(conto));
    if (!codLocale.isEmpty())
        dove += QStringLiteral(" and codLocale='%1'").arg(sql::Raddoppia(codLocale));
    return dove;
}

}  // namespace

Dec Archivio::SaldoConto(const QString& conto, const QString& codLocale) {
    return dareMenoAvere(DelConto(conto, codLocale));
}

RecordSetPtr Archivio::Movimenti(const QString& conto, const QString& codLocale, int quanti) {
    return host_.OpenRecordSet(QStringLiteral("SELECT top %1 * FROM NoteRighe where ").arg(quanti) +
                               DelConto(conto, codLocale) +
                               QStringLiteral(" order by data desc, id desc"));
}

}  // namespace incassi
