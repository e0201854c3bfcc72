// The document store: settling and reopening advances and refills, the
// latest-document test of a machine, and the machine card's update by a
// document and its restoration by a deletion.

#include <QDateTime>

#include "bookkeeping/archivio.h"
#include "host/host.h"
#include "values/causali.h"
#include "values/dec.h"
#include "values/sqlquote.h"
#include "values/values.h"

namespace incassi {

namespace {

QString GiornoBarra(const QDate& d) {
    return sql::Data(d, FormatoDataSql::MeseGiornoAnnoBarra);
}

}  // namespace

void Archivio::chiudiRighe(const char* causale, qlonglong chiusura, qlonglong scheda,
                           const QDate& data) {
    host_.Execute(
        QStringLiteral(
            "UPDATE NoteIncassi SET NoteIncassi.Chiuso=-1, NoteIncassi.IdChiusura=%1  WHERE "
            "(((NoteIncassi.LinkScheda)=%2) AND ((NoteIncassi.Chiuso)=0) AND "
            "((NoteIncassi.DataIncasso)<=%3) AND (IdTesta IN(SELECT id FROM NoteTeste WHERE "
            "CodCausale='%4')));")
            .arg(chiusura)
            .arg(scheda)
            .arg(GiornoBarra(data), QLatin1String(causale)));
}

void Archivio::riapriAcconto(qlonglong chiusura, qlonglong scheda) {
    host_.Execute(
        QStringLiteral(
            "UPDATE NoteIncassi set NoteIncassi.Chiuso = 0 , NoteIncassi.IdChiusura = 0   WHERE "
            "(((NoteIncassi.LinkScheda)=%1) AND ((NoteIncassi.Chiuso)<>0))  and "
            "NoteIncassi.IdChiusura =%2 AND NoteIncassi.IdTesta IN (SELECT id FROM NoteTeste "
            "WHERE CodCausale='ACC')")
            .arg(scheda)
            .arg(chiusura));
}

void Archivio::riapriRefill(qlonglong chiusura, qlonglong scheda) {
    host_.Execute(
        QStringLiteral(
            "UPDATE NoteIncassi  SET NoteIncassi.Chiuso = 0 WHERE (((NoteIncassi.LinkScheda)=%1) "
            "AND ((NoteIncassi.Chiuso)<>0) AND NoteIncassi.IdChiusura = %2  )  AND "
            "NoteIncassi.IdTesta IN (SELECT id FROM NoteTeste WHERE CodCausale='REF')")
            .arg(scheda)
            .arg(chiusura));
}

void Archivio::riapriTesteAcconti(qlonglong chiusura) {
    host_.Execute(
        QStringLiteral("UPDATE NoteTeste SET Noteteste.Chiuso = 0 , Noteteste.IdOnda = 0, "
                       "NoteTeste.Versione = NoteTeste.Versione + 1  WHERE "
                       "((NoteTeste.Chiuso)<>0) AND ((NoteTeste.CodCausale) in ('ACC','ACL')) and "
                       "Noteteste.IdOnda =%1")
            .arg(chiusura));
}

void Archivio::chiudiTesteAcconti(const QString& causale, qlonglong chiusura,
                                  const QString& codLocale, const QDate& data) {
    host_.Execute(
        QStringLiteral(
            "UPDATE NoteTeste SET NoteTeste.idOnda = %1, NoteTeste.Chiuso = 1, NoteTeste.Versione "
            "= NoteTeste.Versione + 1 WHERE "
            "(((NoteTeste.CodLocale)='%2') AND ((NoteTeste.CodCausale)='%3') AND "
            "((NoteTeste.DataRegistrazione)<=%4)) and (NoteTeste.idOnda=0 or NoteTeste.idOnda is "
            "null) and NoteTeste.id<%1")
            .arg(chiusura)
            .arg(sql::Raddoppia(codLocale), sql::Raddoppia(causale), sql::Data(data)));
    if (CausaleDi(causale) == Causale::ACC) ricalcolaChiusoAcconti();
}

void Archivio::ricalcolaChiusoAcconti() {
    host_.Execute(
        QStringLiteral("UPDATE NoteTeste SET Chiuso=0, Versione=Versione+1 WHERE id IN ( SELECT "
                       "nt.id FROM NoteTeste nt "
                       "INNER JOIN NoteIncassi ni ON "
                       "(nt.id=ni.idTesta AND ni.Chiuso=0) GROUP BY nt.id,nt.CodCausale,nt.Chiuso "
                       "HAVING nt.CodCausale='ACC' AND "
                       "nt.Chiuso<>0 AND COUNT(ni.id)>0)"));
    host_.Execute(QStringLiteral(
        "UPDATE NoteTeste SET Chiuso=1, Versione=Versione+1 WHERE id IN ( SELECT tmp.id FROM ( "
        "SELECT "
        "nt.id,COUNT(ni.id) AS "
        "TotRighe,(SELECT COUNT(id) FROM NoteIncassi WHERE idTesta=nt.id AND Chiuso<>0) AS "
        "RigheChiuse FROM "
        "NoteTeste nt INNER JOIN NoteIncassi ni ON (nt.id=ni.idTesta) GROUP BY "
        "nt.id,nt.CodCausale,nt.Chiuso HAVING "
        "nt.CodCausale='ACC' AND nt.Chiuso=0 ) tmp WHERE tmp.TotRighe=tmp.RigheChiuse)"));
}

bool Archivio::UltimoDocumento(qlonglong scheda, const QDate& data, const QString& causale,
                               const QString& codLocale) {
    return UltimiDocumenti({scheda}, data, causale, codLocale).contains(scheda);
}

QSet<qlonglong> Archivio::UltimiDocumenti(const QList<qlonglong>& schede, const QDate& data,
                                          const QString& causale, const QString& codLocale) {
    // The later documents that would make this one stale.
    QString insieme;
    switch (CausaleDi(causale)) {
        case Causale::CH:
        case Causale::RH:
            insieme = QStringLiteral("('CH','RH','FUR')");
            break;
        case Causale::INC:
            insieme = QStringLiteral("('INC','FUR')");
            break;
        case Causale::INC6:
            insieme = QStringLiteral("('INC6','FUR')");
            break;
        case Causale::FUR:
            insieme = QStringLiteral("('INC6','INC','FUR')");
            break;
        case Causale::CAM:
            insieme = QStringLiteral("('CAM')");
            break;
        default:
            return {};
    }
    QSet<qlonglong> ultimi;
    auto macchine =
        host_.OpenRecordSet(QStringLiteral("Select id,codlocale from magschede where id in (%1)")
                                .arg(sql::Interi(schede)));
    for (; !macchine->Eof(); macchine->MoveNext()) {
        if (Txt(macchine->Value(QStringLiteral("codlocale")))
                .trimmed()
                .compare(codLocale.trimmed(), Qt::CaseInsensitive) == 0) {
            ultimi.insert(macchine->Value(QStringLiteral("id")).toLongLong());
        }
    }
    if (ultimi.isEmpty()) return ultimi;
    // A row carries its document's day (the save writes it): the range on the
    // row's day lets the index stop at each machine's later rows instead of
    // walking its whole history under the write lock.
    auto dopo = host_.OpenRecordSet(
        QStringLiteral(
            "Select distinct NoteIncassi.linkscheda from NoteIncassi INNER JOIN NoteTeste ON "
            "NoteIncassi.IdTesta = NoteTeste.id where NoteIncassi.linkscheda in (%1) and "
            "NoteIncassi.DataIncasso>%3 and NoteTeste.codcausale in %2 and "
            "NoteTeste.dataregistrazione>%3")
            .arg(sql::Interi(schede), insieme, sql::Data(data)));
    for (; !dopo->Eof(); dopo->MoveNext())
        ultimi.remove(qlonglong(Num(dopo->Value(QStringLiteral("linkscheda")))));
    return ultimi;
}

Archivio::Schede::Schede(Host& host, const QList<qlonglong>& ids) : host_(host), ids_(ids) {}

RecordSet* Archivio::Schede::di(const QVariant& scheda) {
    const QString id = sql::Intero(scheda);
    if (!righe_) {
        righe_ = host_.OpenRecordSet(
            QStringLiteral("select * from magschede where id in (%1)").arg(sql::Interi(ids_)));
    }
    righe_->MoveFirst();
    return righe_->Find(QStringLiteral("id=") + id) ? righe_.get() : nullptr;
}

void Archivio::aggiornaScheda(Schede& schede, RecordSet& riga, const QDate& data, bool contatori,
                              bool caricati) {
    RecordSet* const scheda = schede.di(riga.Value(QStringLiteral("linkscheda")));
    if (!scheda) return;
    if (contatori) {
        scheda->SetValue(QStringLiteral("ultimoIncasso"), data);
        scheda->SetValue(QStringLiteral("cntotin"), riga.Value(QStringLiteral("ContatoreIn")));
        scheda->SetValue(QStringLiteral("cntotout"), riga.Value(QStringLiteral("ContatoreOUT")));
    }
    for (int n = 1; n <= 3; ++n) {
        const Dec soldi = Dec::DaCella(riga.Value(QStringLiteral("LivelloH%1").arg(n))) *
                          Dec::DaCella(riga.Value(QStringLiteral("TipoH%1").arg(n)));
        scheda->SetValue(QStringLiteral("attualeh%1").arg(n), soldi.arrotonda(2).toDouble());
        if (caricati)
            scheda->SetValue(QStringLiteral("ChHopper%1").arg(n), soldi.arrotonda(2).toDouble());
    }
    scheda->Update();
}

void Archivio::ripristinaScheda(Schede& schede, RecordSet& riga,
                                std::initializer_list<Ripristino> cosa) {
    RecordSet* const scheda = schede.di(riga.Value(QStringLiteral("linkscheda")));
    if (!scheda) return;
    for (Ripristino r : cosa) {
        if (r == Ripristino::Contatori) {
            scheda->SetValue(QStringLiteral("cntotin"),
                             riga.Value(QStringLiteral("VecchioContatoreIN")));
            scheda->SetValue(QStringLiteral("cntotout"),
                             riga.Value(QStringLiteral("VecchioContatoreOut")));
            scheda->SetValue(QStringLiteral("ultimoIncasso"),
                             riga.Value(QStringLiteral("DataVecchioContatore")));
            continue;
        }
        for (int n = 1; n <= 3; ++n) {
            const QString livello = r == Ripristino::HopperDaLivelli
                                        ? QStringLiteral("LivelloH%1").arg(n)
                                        : QStringLiteral("HopperOLD%1").arg(n);
            const double soldi = (Dec::DaCella(riga.Value(livello)) *
                                  Dec::DaCella(riga.Value(QStringLiteral("TipoH%1").arg(n))))
                                     .arrotonda(2)
                                     .toDouble();
            scheda->SetValue(r == Ripristino::Caricati ? QStringLiteral("ChHopper%1").arg(n)
                                                       : QStringLiteral("attualeh%1").arg(n),
                             soldi);
        }
    }
    scheda->Update();
}

void Archivio::perContatoreIsola(
    qlonglong id, qlonglong scheda,
    const std::function<void(const RecordSet& riga, RecordSet& contatore)>& fai) {
    auto righe = host_.OpenRecordSet(
        QStringLiteral("select * from noteincassicontatori where idtesta=%1 and linkscheda=%2")
            .arg(id)
            .arg(scheda));
    for (; !righe->Eof(); righe->MoveNext()) {
        auto contatore = host_.OpenRecordSet(
            QStringLiteral("select * from magschedecontatori where linkscheda = %1 and id=%2")
                .arg(scheda)
                .arg(sql::Intero(righe->Value(QStringLiteral("linkcontatore")))));
        if (!contatore->Eof()) fai(*righe, *contatore);
    }
}

void Archivio::aggiornaContatoriIsola(qlonglong id, qlonglong scheda, const QDate& data,
                                      const QDateTime& adesso) {
    perContatoreIsola(id, scheda, [&](const RecordSet& riga, RecordSet& contatore) {
        // The reading is typed into ContatoreAttuale; the master keeps it in
        // both its columns, and the next collection reads `contatore`.
        QVariant lettura = riga.Value(QStringLiteral("ContatoreAttuale"));
        if (IsNull(lettura)) lettura = riga.Value(QStringLiteral("contatore"));
        if (IsNull(lettura)) return;  // a meter not read keeps its reading
        contatore.SetValue(QStringLiteral("iddata"), adesso);
        contatore.SetValue(QStringLiteral("idoperatore"), host_.user());
        contatore.SetValue(QStringLiteral("DataContatore"), data);
        contatore.SetValue(QStringLiteral("contatore"), lettura);
        contatore.SetValue(QStringLiteral("ContatoreAttuale"), lettura);
        contatore.Update();
    });
}

void Archivio::ripristinaContatoriIsola(qlonglong id, qlonglong scheda) {
    perContatoreIsola(id, scheda, [](const RecordSet& riga, RecordSet& contatore) {
        const QVariant prima = riga.Value(QStringLiteral("vecchiocontatore"));
        contatore.SetValue(QStringLiteral("contatore"), prima);
        contatore.SetValue(QStringLiteral("ContatoreAttuale"), prima);
        contatore.SetValue(QStringLiteral("DataContatore"),
                           riga.Value(QStringLiteral("DataVecchioContatore")));
        contatore.Update();
    });
    host_.Execute(QStringLiteral("delete * from noteincassicontatori where idtesta=%1 and "
                                 "linkscheda=%2")
                      .arg(id)
                      .arg(scheda));
}

}  // namespace incassi
