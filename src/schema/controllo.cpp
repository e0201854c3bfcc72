#include "schema/controllo.h"

#include <cmath>

#include "host/database.h"

namespace incassi::schema {

namespace {

const char* const kTitoli[] = {
    "Documenti sbilanciati (Dare diverso da Avere)",
    "Righe di prima nota senza testata",
    "Righe apparecchio senza testata",
    "Righe di prima nota con conto inesistente",
    "Righe apparecchio con scheda inesistente",
};

qint64 Conta(Database& db, const QString& tabella) {
    return db.queryNative(QStringLiteral("SELECT count(*) FROM %1").arg(tabella), {})
        .scalar()
        .toLongLong();
}

void Aggiungi(RapportoControllo& r, TipoAnomalia tipo, qint64 id, const QString& testo) {
    int& n = r.conteggio[int(tipo)];
    if (n < RapportoControllo::kMassimoElencate) r.anomalie.push_back({tipo, id, testo});
    ++n;
}

QString Euro(double v) {
    return QString::number(v, 'f', 2);
}

QString TestoValore(const QVariant& v) {
    return v.isNull() ? QStringLiteral("(vuoto)") : u'\'' + v.toString() + u'\'';
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
    for (int k = 0; k < 5; ++k) {
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
    r.documenti = Conta(db, QStringLiteral("NoteTeste"));
    r.righe = Conta(db, QStringLiteral("NoteRighe"));
    r.incassi = Conta(db, QStringLiteral("NoteIncassi"));

    // Balance to the cent: the sums are compared in cents, so the binary error
    // of many additions never shows as an imbalance.
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

    // Rows that point at nothing: the last column is the missing reference.
    struct Verifica {
        TipoAnomalia tipo;
        const char* sql;
        const char* testo;
    };
    const Verifica verifiche[] = {
        {TipoAnomalia::RigaOrfana,
         "SELECT r.id, r.IdTesta FROM NoteRighe r "
         "LEFT JOIN NoteTeste t ON t.id = r.IdTesta WHERE t.id IS NULL ORDER BY r.id",
         "riga %1: testata %2 inesistente"},
        {TipoAnomalia::IncassoOrfano,
         "SELECT i.id, i.IdTesta FROM NoteIncassi i "
         "LEFT JOIN NoteTeste t ON t.id = i.IdTesta WHERE t.id IS NULL ORDER BY i.id",
         "riga apparecchio %1: testata %2 inesistente"},
        {TipoAnomalia::ContoSconosciuto,
         "SELECT r.id, r.IdTesta, r.CodConto FROM NoteRighe r "
         "LEFT JOIN AnagraficaPianoConti c ON c.CodiceConto = r.CodConto "
         "WHERE c.id IS NULL ORDER BY r.id",
         "riga %1 del documento %2: conto %3 non presente nel piano dei conti"},
        {TipoAnomalia::SchedaSconosciuta,
         "SELECT i.id, i.IdTesta, i.linkscheda FROM NoteIncassi i "
         "LEFT JOIN MagSchede s ON s.id = i.linkscheda WHERE s.id IS NULL ORDER BY i.id",
         "riga apparecchio %1 del documento %2: scheda %3 inesistente"},
    };
    for (const Verifica& v : verifiche) {
        for (const auto& row : db.queryNative(QString::fromUtf8(v.sql), {}).rows) {
            const QString testo = QString::fromUtf8(v.testo);
            const QString ultimo = TestoValore(row.back());
            Aggiungi(r, v.tipo, row[0].toLongLong(),
                     row.size() == 2 ? testo.arg(row[0].toString(), ultimo)
                                     : testo.arg(row[0].toString(), row[1].toString(), ultimo));
        }
    }
    return r;
}

}  // namespace incassi::schema
