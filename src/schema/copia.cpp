#include "schema/copia.h"

#include <QHash>
#include <algorithm>
#include <limits>

#include "host/database.h"
#include "schema/creazione.h"
#include "schema/schema.h"
#include "values/error.h"

namespace incassi::schema {

namespace {

constexpr int kRighePerLettura = 5000;

qint64 Conta(Database& db, const QString& tabella) {
    return db
        .queryNative(
            QStringLiteral("SELECT count(*) FROM %1").arg(db.dialect().quoteIdentifier(tabella)),
            {})
        .scalar()
        .toLongLong();
}

// A table of the source that the declaration does not know: made with the
// same columns, types and lengths.
void CreaComeSorgente(Database& a, const QString& tabella, const std::vector<ColumnInfo>& colonne) {
    const Dialect& d = a.dialect();
    QStringList definizioni{d.keyDefinition(true)};
    QStringList istruzioni;
    for (const ColumnInfo& c : colonne) {
        if (c.name.compare(u"id", Qt::CaseInsensitive) == 0) continue;
        QString def = d.quoteIdentifier(c.name) + u' ' + d.columnTypeSql(c.type, c.maxLength);
        const QString controllo = d.columnCheck(c.name, c.type, c.maxLength);
        if (!controllo.isEmpty()) def += u' ' + controllo;
        definizioni << def;
        istruzioni << d.nameNotes(tabella, c.name);
    }
    istruzioni.prepend(
        QStringLiteral("CREATE TABLE %1 (%2)")
            .arg(d.quoteIdentifier(tabella), definizioni.join(QStringLiteral(", "))));
    istruzioni << d.nameNotes(tabella, QString());
    a.executeScript(istruzioni);
}

// Writes rows in statements of many rows each: one round trip per batch.
class Scrittore {
  public:
    Scrittore(Database& a, const QString& tabella, const QStringList& colonne)
        : a_(a),
          tabella_(tabella),
          colonne_(colonne),
          perIstruzione_(
              std::max(1, std::min(200, 30000 / int(std::max<qsizetype>(1, colonne.size()))))) {}

    void aggiungi(std::vector<QVariant>&& riga) {
        // Where the engine loads rows in bulk, they go in blocks of many.
        if (a_.dialect().hasBulkCopy()) {
            blocco_.push_back(std::move(riga));
            if (blocco_.size() >= 20000) scarica();
            return;
        }
        for (QVariant& v : riga)
            valori_.push_back(std::move(v));
        if (++righe_ == perIstruzione_) scarica();
    }
    void scarica() {
        if (!blocco_.empty()) {
            a_.copiaRighe(tabella_, colonne_, blocco_);
            blocco_.clear();
        }
        if (righe_ == 0) return;
        a_.executeNative(istruzione(righe_), valori_);
        valori_.clear();
        righe_ = 0;
    }

  private:
    QString istruzione(int righe) {
        if (righe == perIstruzione_ && !piena_.isEmpty()) return piena_;
        const Dialect& d = a_.dialect();
        QStringList nomi, segnaposto;
        for (const QString& c : colonne_) {
            nomi << d.quoteIdentifier(c);
            segnaposto << QStringLiteral("?");
        }
        const QString una = u'(' + segnaposto.join(u',') + u')';
        QStringList tutte;
        for (int i = 0; i < righe; ++i)
            tutte << una;
        const QString sql =
            QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                .arg(d.quoteIdentifier(tabella_), nomi.join(u','), tutte.join(u','));
        if (righe == perIstruzione_) piena_ = sql;
        return sql;
    }

    Database& a_;
    QString tabella_;
    QStringList colonne_;
    int perIstruzione_;
    int righe_ = 0;
    std::vector<QVariant> valori_;
    std::vector<std::vector<QVariant>> blocco_;
    QString piena_;
};

}  // namespace

void CopiaDatabase(Database& da, Database& a,
                   const std::function<void(const AvanzamentoCopia&)>& avanzamento) {
    if (!a.tables().isEmpty()) {
        throw Errore(QStringLiteral("Il database di destinazione %1 contiene già delle tabelle: la "
                                    "copia va fatta in un database vuoto.")
                         .arg(a.fileName()));
    }
    const QStringList tabelle = da.tables();
    AvanzamentoCopia stato;
    for (const QString& t : tabelle)
        stato.totale += Conta(da, t);
    const bool incassi = da.hasTable(QString::fromLatin1(kTabellaVersione));
    const int versione = incassi ? VersioneDatabase(da) : 0;
    if (versione > kVersioneSchema) {
        throw Errore(
            QStringLiteral("Il database %1 è alla versione %2 dello schema, più recente di "
                           "questo programma: aggiornare il programma prima di copiarlo.")
                .arg(da.fileName())
                .arg(versione));
    }
    try {
        Transazione tr(a);
        // What the engine needs before any table (a server's case-blind text).
        const QStringList preambolo = a.dialect().schemaPreamble();
        if (!preambolo.isEmpty()) a.executeScript(preambolo);
        // The declared tables as the source's version has them, emptied of
        // the rows their creation writes; then any table of the source's own.
        if (incassi) {
            CreaSchema(a, Tabelle(), versione);
            for (const QString& t : a.tables())
                a.executeNative(
                    QStringLiteral("DELETE FROM %1").arg(a.dialect().quoteIdentifier(t)), {});
        }
        for (const QString& t : tabelle) {
            if (!a.hasTable(t)) CreaComeSorgente(a, t, *da.tableColumns(t));
        }
        for (const QString& t : tabelle) {
            stato.tabella = t;
            QStringList nomi, lettura;
            std::vector<FieldType> tipi;
            int colonnaId = -1;
            for (const ColumnInfo& c : *da.tableColumns(t)) {
                if (!a.column(t, c.name)) continue;
                if (c.name.compare(u"id", Qt::CaseInsensitive) == 0) colonnaId = int(nomi.size());
                nomi << c.name;
                lettura << da.dialect().quoteIdentifier(c.name);
                tipi.push_back(c.type);
            }
            const bool conId = colonnaId >= 0;
            if (nomi.isEmpty()) continue;
            Scrittore scrittore(a, t, nomi);
            const QString base = QStringLiteral("SELECT %1 FROM %2")
                                     .arg(lettura.join(u','), da.dialect().quoteIdentifier(t));
            // Read by key in slices, so a table of millions of rows is never
            // held whole.
            QVariant ultimo = qint64(std::numeric_limits<qint32>::min());
            for (;;) {
                const QueryResult r =
                    conId ? da.queryNative(base + QStringLiteral(" WHERE id > ? ORDER BY id") +
                                               da.dialect().limitClause(kRighePerLettura),
                                           {ultimo})
                          : da.queryNative(base, {});
                for (const auto& grezza : r.rows) {
                    std::vector<QVariant> riga;
                    riga.reserve(grezza.size());
                    for (size_t c = 0; c < grezza.size(); ++c)
                        riga.push_back(da.dialect().fromEngine(grezza[c], tipi[c]));
                    scrittore.aggiungi(std::move(riga));
                }
                if (conId && !r.rows.empty()) ultimo = r.rows.back()[size_t(colonnaId)];
                stato.righe += r.count();
                if (avanzamento) avanzamento(stato);
                if (!conId || r.count() < kRighePerLettura) break;
            }
            scrittore.scarica();
            if (conId) {
                for (const QString& s : a.dialect().keySync(t))
                    a.queryNative(s, {});
            }
        }
        tr.commit();
    } catch (...) {
        a.invalidateCatalog();
        throw;
    }
    a.invalidateCatalog();
    // After a large load the planner needs to know the tables.
    const QStringList dopo = a.dialect().afterBulkLoad();
    if (!dopo.isEmpty()) a.executeScript(dopo);
}

std::vector<ConteggioTabella> ConfrontaConteggi(Database& da, Database& a) {
    std::vector<ConteggioTabella> out;
    for (const QString& t : da.tables())
        out.push_back({t, Conta(da, t), a.hasTable(t) ? Conta(a, t) : -1});
    return out;
}

}  // namespace incassi::schema
