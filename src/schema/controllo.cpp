#include "schema/controllo.h"

#include <QDate>
#include <cmath>

#include "host/database.h"
#include "schema/creazione.h"
#include "schema/schema.h"
#include "values/error.h"
#include "values/values.h"

namespace incassi::schema {

namespace {

const char* const kTitoli[kTipiAnomalia] = {
    "Controllo del file del database",
    "Schema del database",
    "Documenti sbilanciati (Dare diverso da Avere)",
    "Totali della testata diversi dalle righe",
    "Righe di prima nota senza testata",
    "Righe apparecchio senza testata",
    "Righe contatori senza testata o senza contatore",
    "Chiusure da documenti inesistenti",
    "Righe di prima nota con conto mancante, con spazi o inesistente",
    "Righe apparecchio con scheda inesistente",
    "Documenti con causale inesistente",
    "Documenti con locale inesistente",
    "Importi che non sono numeri",
    "Date mancanti, illeggibili o fuori dal 1990-2100",
    "Numeri di riga ripetuti in un documento",
    "Controlli non eseguiti",
};

// The tables of documents, each with the column that names its document and
// the day the document moves money on, which must be a day of the years a
// collection can have (other dates, such as a card's last reading copied on
// a row, need only be dates).
struct TabellaDocumento {
    const char* nome;
    const char* documento;
    const char* giorno;
};
const TabellaDocumento kDocumenti[] = {{"NoteTeste", "id", "DataRegistrazione"},
                                       {"NoteIncassi", "IdTesta", "DataIncasso"},
                                       {"NoteRighe", "IdTesta", "Data"},
                                       {"NoteIncassiContatori", "IdTesta", ""}};

void Aggiungi(RapportoControllo& r, TipoAnomalia tipo, qint64 id, const QString& testo) {
    int& n = r.conteggio[int(tipo)];
    if (n < RapportoControllo::kMassimoElencate) r.anomalie.push_back({tipo, id, testo});
    ++n;
}

// Runs one check; a check that cannot run (a broken file, a missing table)
// is itself a finding, and the others still run.
template <typename F>
void Prova(RapportoControllo& r, const QString& nome, F&& controllo) {
    try {
        controllo();
    } catch (const Errore& e) {
        Aggiungi(r, TipoAnomalia::ControlloFallito, 0, nome + QStringLiteral(": ") + e.testo());
    }
}

QString Euro(double v) {
    return QString::number(v, 'f', 2);
}

QString TestoValore(const QVariant& v) {
    return v.isNull() ? QStringLiteral("(vuoto)") : u'\'' + v.toString() + u'\'';
}

qint64 Conta(Database& db, const QString& tabella) {
    return db.queryNative(QStringLiteral("SELECT count(*) FROM %1").arg(tabella), {})
        .scalar()
        .toLongLong();
}

void ControllaMotore(Database& db, RapportoControllo& r) {
    for (const QString& p : db.dialect().integrityProblems(db.connection()))
        Aggiungi(r, TipoAnomalia::Motore, 0, p);
}

// The version the database records, and the tables and columns of that
// version it must have. An older version is only reported: check never upgrades.
void ControllaSchema(Database& db, RapportoControllo& r) {
    const int versione = VersioneDatabase(db);
    if (versione != kVersioneSchema) {
        Aggiungi(r, TipoAnomalia::Schema, 0,
                 versione < kVersioneSchema
                     ? QStringLiteral("schema alla versione %1, questo programma usa la %2: il "
                                      "database sarà aggiornato alla prossima apertura")
                           .arg(versione)
                           .arg(kVersioneSchema)
                     : QStringLiteral("schema alla versione %1, più recente della %2 di questo "
                                      "programma")
                           .arg(versione)
                           .arg(kVersioneSchema));
    }
    for (const Tabella& t : Tabelle()) {
        if (t.versione > versione) continue;
        if (!db.hasTable(t.nome)) {
            Aggiungi(r, TipoAnomalia::Schema, 0, QStringLiteral("tabella %1 mancante").arg(t.nome));
            continue;
        }
        for (const Colonna& c : t.colonne) {
            if (c.versione <= versione && !db.column(t.nome, c.nome)) {
                Aggiungi(r, TipoAnomalia::Schema, 0,
                         QStringLiteral("colonna %1.%2 mancante").arg(t.nome, c.nome));
            }
        }
    }
}

// Balance to the cent: the sums are compared in cents, so the binary error of
// many additions never shows as an imbalance.
void ControllaSaldi(Database& db, RapportoControllo& r) {
    const auto saldi = db.queryNative(
        QStringLiteral("SELECT IdTesta, sum(coalesce(Dare,0)), sum(coalesce(Avere,0)) "
                       "FROM NoteRighe GROUP BY IdTesta "
                       "HAVING abs(sum(coalesce(Dare,0)) - sum(coalesce(Avere,0))) >= 0.005 "
                       "ORDER BY IdTesta"),
        {});
    for (const auto& row : saldi.rows) {
        const double dare = row[1].toDouble(), avere = row[2].toDouble();
        if (std::llround(dare * 100) == std::llround(avere * 100)) continue;
        Aggiungi(r, TipoAnomalia::Sbilanciato, row[0].toLongLong(),
                 QStringLiteral("documento %1: Dare %2, Avere %3, differenza %4")
                     .arg(row[0].toString(), Euro(dare), Euro(avere), Euro(dare - avere)));
    }
}

// The money a collection says it collected is what its cash row took in.
void ControllaRiscosso(Database& db, RapportoControllo& r) {
    const QVariant cassa =
        db.queryNative(QStringLiteral("SELECT cassa FROM TabAssociazioneConti"), {}).scalar();
    if (cassa.isNull()) return;
    const auto diversi = db.queryNative(
        QStringLiteral("SELECT t.id, coalesce(t.Riscosso,0), "
                       "coalesce(sum(r.Dare),0) - coalesce(sum(r.Avere),0) FROM NoteTeste t "
                       "LEFT JOIN NoteRighe r ON r.IdTesta = t.id AND r.CodConto = ? "
                       "WHERE t.CodCausale IN ('INC', 'INC6', 'FUR') GROUP BY t.id, t.Riscosso "
                       "HAVING abs(coalesce(t.Riscosso,0) - (coalesce(sum(r.Dare),0) - "
                       "coalesce(sum(r.Avere),0))) >= 0.005 ORDER BY t.id"),
        {cassa});
    for (const auto& row : diversi.rows) {
        if (std::llround(row[1].toDouble() * 100) == std::llround(row[2].toDouble() * 100))
            continue;
        Aggiungi(r, TipoAnomalia::TotaleDiverso, row[0].toLongLong(),
                 QStringLiteral("documento %1: riscosso %2, riga di cassa (%3) %4")
                     .arg(row[0].toString(), Euro(row[1].toDouble()), cassa.toString(),
                          Euro(row[2].toDouble())));
    }
}

// References that point at nothing, and rows given one number twice: each
// query names the document first, and the message takes the columns in order.
struct Verifica {
    TipoAnomalia tipo;
    const char* sql;
    const char* testo;
};

const Verifica kVerifiche[] = {
    {TipoAnomalia::RigaOrfana,
     "SELECT r.IdTesta, r.id FROM NoteRighe r LEFT JOIN NoteTeste t ON t.id = r.IdTesta "
     "WHERE t.id IS NULL ORDER BY r.IdTesta, r.id",
     "documento %1 inesistente: riga di prima nota %2"},
    {TipoAnomalia::IncassoOrfano,
     "SELECT i.IdTesta, i.id FROM NoteIncassi i LEFT JOIN NoteTeste t ON t.id = i.IdTesta "
     "WHERE t.id IS NULL ORDER BY i.IdTesta, i.id",
     "documento %1 inesistente: riga apparecchio %2"},
    {TipoAnomalia::ContatoreOrfano,
     "SELECT c.IdTesta, c.id FROM NoteIncassiContatori c LEFT JOIN NoteTeste t "
     "ON t.id = c.IdTesta WHERE t.id IS NULL ORDER BY c.IdTesta, c.id",
     "documento %1 inesistente: riga contatori %2"},
    {TipoAnomalia::ContatoreOrfano,
     "SELECT c.IdTesta, c.id, c.linkcontatore FROM NoteIncassiContatori c "
     "LEFT JOIN MagSchedeContatori m ON m.id = c.linkcontatore WHERE m.id IS NULL "
     "ORDER BY c.IdTesta, c.id",
     "documento %1: riga contatori %2 del contatore %3 inesistente"},
    {TipoAnomalia::ChiusuraOrfana,
     "SELECT i.IdTesta, i.id, i.IdChiusura FROM NoteIncassi i LEFT JOIN NoteTeste t "
     "ON t.id = i.IdChiusura WHERE i.Chiuso <> 0 AND i.IdChiusura <> 0 AND t.id IS NULL "
     "ORDER BY i.IdTesta, i.id",
     "documento %1: riga apparecchio %2 chiusa dal documento %3 inesistente"},
    {TipoAnomalia::ChiusuraOrfana,
     "SELECT a.id, a.CodCausale, a.idOnda FROM NoteTeste a LEFT JOIN NoteTeste t "
     "ON t.id = a.idOnda WHERE a.CodCausale IN ('ACC', 'ACL') AND a.idOnda <> 0 AND t.id IS NULL "
     "ORDER BY a.id",
     "documento %1 (%2) chiuso dal documento %3 inesistente"},
    {TipoAnomalia::ContoSconosciuto,
     "SELECT r.IdTesta, r.id, r.CodConto FROM NoteRighe r "
     "LEFT JOIN AnagraficaPianoConti c ON c.CodiceConto = r.CodConto "
     "WHERE c.id IS NULL OR r.CodConto <> trim(r.CodConto) ORDER BY r.IdTesta, r.id",
     "documento %1: riga %2 con conto %3 non presente nel piano dei conti"},
    {TipoAnomalia::SchedaSconosciuta,
     "SELECT i.IdTesta, i.id, i.linkscheda FROM NoteIncassi i "
     "LEFT JOIN MagSchede s ON s.id = i.linkscheda WHERE s.id IS NULL ORDER BY i.IdTesta, i.id",
     "documento %1: riga apparecchio %2 con scheda %3 inesistente"},
    {TipoAnomalia::CausaleSconosciuta,
     "SELECT t.id, t.CodCausale FROM NoteTeste t "
     "LEFT JOIN AnagraficaCausali c ON c.codiceCausale = t.CodCausale WHERE c.id IS NULL "
     "ORDER BY t.id",
     "documento %1: causale %2 inesistente"},
    {TipoAnomalia::LocaleSconosciuto,
     "SELECT t.id, t.CodLocale FROM NoteTeste t "
     "LEFT JOIN AnagraficaLocali l ON l.CodLocale = t.CodLocale "
     "WHERE t.CodLocale IS NOT NULL AND t.CodLocale <> '' AND l.id IS NULL ORDER BY t.id",
     "documento %1: locale %2 inesistente"},
    {TipoAnomalia::DataNonValida,
     "SELECT id, CodCausale FROM NoteTeste WHERE DataRegistrazione IS NULL ORDER BY id",
     "documento %1 (%2) senza data di registrazione"},
    {TipoAnomalia::RigaDoppia,
     "SELECT IdTesta, Riga, count(*) FROM NoteIncassi WHERE Riga IS NOT NULL "
     "GROUP BY IdTesta, Riga "
     "HAVING count(*) > 1 ORDER BY IdTesta",
     "documento %1: %3 righe apparecchio con il numero %2"},
    // The cash wizards number both rows of their documents 1: only the
    // documents of the collection window number their rows one by one.
    {TipoAnomalia::RigaDoppia,
     "SELECT r.IdTesta, r.Riga, count(*) FROM NoteRighe r INNER JOIN NoteTeste t "
     "ON t.id = r.IdTesta WHERE t.CodCausale IN ('INC', 'INC6', 'FUR', 'CAM', 'ACC', 'ACL', "
     "'REF', 'CH', 'RH') AND r.Riga IS NOT NULL GROUP BY r.IdTesta, r.Riga HAVING count(*) > 1 "
     "ORDER BY r.IdTesta",
     "documento %1: %3 righe di prima nota con il numero %2"},
};

void ControllaRiferimenti(Database& db, RapportoControllo& r, const Verifica& v) {
    for (const auto& row : db.queryNative(QString::fromUtf8(v.sql), {}).rows) {
        QString testo = QString::fromUtf8(v.testo);
        testo = testo.arg(row[0].isNull() ? QStringLiteral("(vuoto)") : row[0].toString());
        for (size_t i = 1; i < row.size(); ++i)
            testo = testo.arg(row[i].typeId() == QMetaType::QString ? TestoValore(row[i])
                                                                    : row[i].toString());
        Aggiungi(r, v.tipo, row[0].toLongLong(), testo);
    }
}

// Columns of a type in a document table, as the database has them.
QStringList ColonneDiTipo(Database& db, const Tabella& t, FieldType tipo) {
    QStringList out;
    for (const Colonna& c : t.colonne) {
        if (c.tipo == tipo && db.column(t.nome, c.nome)) out << c.nome;
    }
    return out;
}

// Amounts that are not finite numbers, and dates that are unreadable or out
// of the years the business can have: one pass over each table.
void ControllaValori(Database& db, RapportoControllo& r, const TabellaDocumento& td,
                     FieldType tipo) {
    const Tabella* t = nullptr;
    for (const Tabella& x : Tabelle())
        if (x.nome.compare(QLatin1String(td.nome), Qt::CaseInsensitive) == 0) t = &x;
    if (!t) return;
    const QStringList colonne = ColonneDiTipo(db, *t, tipo);
    if (colonne.isEmpty()) return;
    const Dialect& d = db.dialect();
    QStringList condizioni;
    std::vector<QVariant> parametri;
    const QString giorno = QLatin1String(td.giorno);
    auto delDocumento = [&](const QString& c) {
        return c.compare(giorno, Qt::CaseInsensitive) == 0;
    };
    for (const QString& c : colonne) {
        if (tipo == FieldType::Date) {
            condizioni << d.invalidDateCondition(c);
            if (delDocumento(c)) {
                condizioni << QStringLiteral("%1 < ? OR %1 > ?").arg(c);
                parametri.push_back(PrimaDataDocumento());
                parametri.push_back(UltimaDataDocumento());
            }
        } else {
            condizioni << d.notFiniteCondition(c);
        }
    }
    const QString doc = QLatin1String(td.documento);
    const auto righe =
        db.queryNative(QStringLiteral("SELECT %1, id, %2 FROM %3 WHERE %4 ORDER BY id")
                           .arg(doc, colonne.join(u','), QLatin1String(td.nome),
                                condizioni.join(QStringLiteral(" OR "))),
                       parametri);
    for (const auto& row : righe.rows) {
        QStringList cattive;
        for (int i = 0; i < colonne.size(); ++i) {
            const QVariant& v = row[size_t(i) + 2];
            if (v.isNull()) continue;
            bool buono = false;
            if (tipo == FieldType::Date) {
                const QDate g = QDate::fromString(v.toString().left(10), Qt::ISODate);
                buono = g.isValid() && g.toString(Qt::ISODate) == v.toString().left(10) &&
                        (!delDocumento(colonne[i]) || DataPlausibile(g));
            } else {
                bool numero = false;
                const double x = v.toDouble(&numero);
                buono = numero && v.typeId() != QMetaType::QString && std::isfinite(x) &&
                        std::fabs(x) <= 1e308;
            }
            if (!buono) cattive << colonne[i] + u'=' + TestoValore(v);
        }
        if (cattive.isEmpty()) continue;
        const QString riga =
            doc == u"id"
                ? QString()
                : QStringLiteral(" riga %1 di %2:").arg(row[1].toString(), QLatin1String(td.nome));
        Aggiungi(
            r,
            tipo == FieldType::Date ? TipoAnomalia::DataNonValida : TipoAnomalia::ImportoNonValido,
            row[0].toLongLong(),
            QStringLiteral("documento %1:%2 %3")
                .arg(row[0].toString(), riga, cattive.join(QStringLiteral(", "))));
    }
}

}  // namespace

bool RapportoControllo::ok() const {
    return totale() == 0;
}

int RapportoControllo::totale() const {
    int n = 0;
    for (int c : conteggio)
        n += c;
    return n;
}

QString RapportoControllo::testo() const {
    QString out = QStringLiteral("Documenti: %1, righe di prima nota: %2, righe apparecchio: %3\n")
                      .arg(documenti)
                      .arg(righe)
                      .arg(incassi);
    for (int k = 0; k < kTipiAnomalia; ++k) {
        out += QStringLiteral("%1: %2\n").arg(QString::fromUtf8(kTitoli[k])).arg(conteggio[k]);
        for (const Anomalia& a : anomalie) {
            if (int(a.tipo) == k) out += QStringLiteral("  - %1\n").arg(a.testo);
        }
        if (conteggio[k] > kMassimoElencate) {
            out += QStringLiteral("  ... e altre %1\n").arg(conteggio[k] - kMassimoElencate);
        }
    }
    out += ok() ? QStringLiteral("Esito: database integro.\n")
                : QStringLiteral("Esito: %1 anomalie trovate.\n").arg(totale());
    return out;
}

RapportoControllo ControllaIntegrita(Database& db) {
    RapportoControllo r;
    Prova(r, QStringLiteral("controllo del file"), [&] { ControllaMotore(db, r); });
    Prova(r, QStringLiteral("schema"), [&] { ControllaSchema(db, r); });
    Prova(r, QStringLiteral("conteggi"), [&] {
        r.documenti = Conta(db, QStringLiteral("NoteTeste"));
        r.righe = Conta(db, QStringLiteral("NoteRighe"));
        r.incassi = Conta(db, QStringLiteral("NoteIncassi"));
    });
    Prova(r, QStringLiteral("saldi"), [&] { ControllaSaldi(db, r); });
    Prova(r, QStringLiteral("riscosso"), [&] { ControllaRiscosso(db, r); });
    for (const Verifica& v : kVerifiche) {
        Prova(r, QString::fromUtf8(kTitoli[int(v.tipo)]), [&] { ControllaRiferimenti(db, r, v); });
    }
    for (const TabellaDocumento& t : kDocumenti) {
        for (FieldType tipo : {FieldType::Double, FieldType::Date}) {
            Prova(r, QStringLiteral("valori di %1").arg(QLatin1String(t.nome)),
                  [&] { ControllaValori(db, r, t, tipo); });
        }
    }
    return r;
}

}  // namespace incassi::schema
