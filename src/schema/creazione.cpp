#include "schema/creazione.h"

#include <QDateTime>

#include "host/database.h"
#include "schema/dati_iniziali.h"
#include "values/error.h"

namespace incassi::schema {

namespace {

QString DefinizioneColonna(const Dialect& d, const Colonna& c) {
    QString s = d.quoteIdentifier(c.nome) + u' ' + d.columnTypeSql(c.tipo, c.lunghezza);
    if (c.zero) s += QStringLiteral(" DEFAULT 0");
    const QString controllo = d.columnCheck(c.nome, c.tipo, c.lunghezza);
    if (!controllo.isEmpty()) s += u' ' + controllo;
    return s;
}

// The counter key every table has, at schema version `versione`.
QString DefinizioneChiave(const Dialect& d, const Tabella& t, int versione) {
    return d.keyDefinition(t.chiaveUnicaDalla > 0 && versione >= t.chiaveUnicaDalla);
}

// A table whose key must from now on never give an id twice is rebuilt with
// such a key: same columns (declared or not), same rows and ids, same indexes.
void RicostruisciChiave(Database& db, const Tabella& t, int passo) {
    const Dialect& d = db.dialect();
    const QString nuova = t.nome + QStringLiteral("_ricostruita");
    QStringList definizioni{DefinizioneChiave(d, t, passo)}, nomi{d.quoteIdentifier("id")};
    for (const ColumnInfo& c : *db.tableColumns(t.nome)) {
        if (c.name.compare(u"id", Qt::CaseInsensitive) == 0) continue;
        const Colonna* dichiarata = t.colonna(c.name);
        definizioni << (dichiarata ? DefinizioneColonna(d, *dichiarata)
                                   : d.quoteIdentifier(c.name) + u' ' +
                                         d.columnTypeSql(c.type, c.maxLength));
        nomi << d.quoteIdentifier(c.name);
    }
    QStringList istruzioni{
        QStringLiteral("CREATE TABLE %1 (%2)")
            .arg(d.quoteIdentifier(nuova), definizioni.join(QStringLiteral(", "))),
        QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3")
            .arg(d.quoteIdentifier(nuova), nomi.join(u','), d.quoteIdentifier(t.nome)),
        QStringLiteral("DROP TABLE %1").arg(d.quoteIdentifier(t.nome)),
        QStringLiteral("ALTER TABLE %1 RENAME TO %2")
            .arg(d.quoteIdentifier(nuova), d.quoteIdentifier(t.nome))};
    for (const Indice& i : t.indici) {
        if (i.versione <= passo) istruzioni << IstruzioneCreaIndice(d, t, i);
    }
    db.executeScript(istruzioni);
}

void CreaTabellaVersione(Database& db) {
    if (db.hasTable(QString::fromLatin1(kTabellaVersione))) return;
    const Dialect& d = db.dialect();
    QStringList istruzioni{QStringLiteral("CREATE TABLE %1 (%2, %3 %4 NOT NULL, %5 %6)")
                               .arg(d.quoteIdentifier(QString::fromLatin1(kTabellaVersione)),
                                    d.keyDefinition(false),
                                    d.quoteIdentifier(QStringLiteral("versione")),
                                    d.columnTypeSql(FieldType::Integer, 0),
                                    d.quoteIdentifier(QStringLiteral("aggiornato")),
                                    d.columnTypeSql(FieldType::DateTime, 0))};
    istruzioni << d.nameNotes(QString::fromLatin1(kTabellaVersione), QString());
    db.executeScript(istruzioni);
}

void RegistraVersione(Database& db, int versione) {
    const QString tab = db.dialect().quoteIdentifier(QString::fromLatin1(kTabellaVersione));
    const QVariant adesso = QDateTime::currentDateTime();
    if (db.executeNative(QStringLiteral("UPDATE %1 SET versione=?, aggiornato=?").arg(tab),
                         {versione, adesso}) == 0) {
        db.executeNative(
            QStringLiteral("INSERT INTO %1 (versione, aggiornato) VALUES (?, ?)").arg(tab),
            {versione, adesso});
    }
}

// Runs `lavoro` in one transaction; on failure the catalogue is read again,
// since the rolled-back statements may have changed what it cached.
template <typename F>
void InTransazione(Database& db, F&& lavoro) {
    try {
        Transazione tr(db);
        lavoro();
        tr.commit();
    } catch (...) {
        db.invalidateCatalog();
        throw;
    }
}

}  // namespace

QStringList IstruzioniCreaTabella(const Dialect& d, const Tabella& t, int versione) {
    QStringList colonne{DefinizioneChiave(d, t, versione)};
    for (const Colonna& c : t.colonne) {
        if (c.versione <= versione) colonne << DefinizioneColonna(d, c);
    }
    QStringList out{QStringLiteral("CREATE TABLE %1 (%2)")
                        .arg(d.quoteIdentifier(t.nome), colonne.join(QStringLiteral(", ")))};
    out << d.nameNotes(t.nome, QString());
    for (const Colonna& c : t.colonne) {
        if (c.versione <= versione) out << d.nameNotes(t.nome, c.nome);
    }
    for (const Indice& i : t.indici) {
        if (i.versione <= versione) out << IstruzioneCreaIndice(d, t, i);
    }
    return out;
}

QString IstruzioneCreaIndice(const Dialect& d, const Tabella& t, const Indice& i) {
    QStringList colonne;
    // The key is never Null and is ordered without words about Nulls.
    bool conChiave = false;
    for (const QString& c : i.colonne) {
        const bool chiave = c.compare(u"id", Qt::CaseInsensitive) == 0;
        conChiave |= chiave;
        colonne << d.quoteIdentifier(c) + (chiave ? QString() : d.indexNullsOrder());
    }
    // A unique index stays on its own columns: the key would make every row unique.
    if (!i.unico && !conChiave && d.indexEndsWithKey())
        colonne << d.quoteIdentifier(QStringLiteral("id"));
    return QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)")
        .arg(i.unico ? QStringLiteral("UNIQUE ") : QString(), d.quoteIdentifier(i.nome),
             d.quoteIdentifier(t.nome), colonne.join(QStringLiteral(", ")));
}

int VersioneDatabase(Database& db) {
    if (!db.hasTable(QString::fromLatin1(kTabellaVersione))) return 0;
    const QString sql =
        QStringLiteral("SELECT max(versione) FROM %1")
            .arg(db.dialect().quoteIdentifier(QString::fromLatin1(kTabellaVersione)));
    return db.queryNative(sql, {}).scalar().toInt();
}

bool DatabaseVuoto(Database& db) {
    return db.tables().isEmpty();
}

void EseguiPasso(Database& db, const std::vector<Tabella>& tabelle, int passo) {
    const Dialect& d = db.dialect();
    InTransazione(db, [&] {
        CreaTabellaVersione(db);
        // A venue's notes become one before the index that keeps them one:
        // the newest stays.
        if (passo == 5 && db.hasTable(QStringLiteral("notalocale"))) {
            db.executeNative(QStringLiteral("DELETE FROM notalocale WHERE id NOT IN (SELECT "
                                            "max(id) FROM notalocale GROUP BY codlocale)"),
                             {});
        }
        // The index of open amounts without the header gives way to the one with it.
        if (passo == 6) {
            db.executeScript({QStringLiteral("DROP INDEX IF EXISTS %1")
                                  .arg(d.quoteIdentifier(QStringLiteral("NoteIncassi_aperti")))});
        }
        for (const Tabella& t : tabelle) {
            if (t.versione > passo) continue;
            if (!db.hasTable(t.nome)) {
                db.executeScript(IstruzioniCreaTabella(d, t, passo));
                continue;
            }
            QStringList istruzioni;
            for (const Colonna& c : t.colonne) {
                if (c.versione <= passo && !db.column(t.nome, c.nome)) {
                    istruzioni << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
                                      .arg(d.quoteIdentifier(t.nome), DefinizioneColonna(d, c))
                               << d.nameNotes(t.nome, c.nome);
                }
            }
            for (const Indice& i : t.indici) {
                if (i.versione <= passo) istruzioni << IstruzioneCreaIndice(d, t, i);
            }
            if (!istruzioni.isEmpty()) db.executeScript(istruzioni);
            if (t.chiaveUnicaDalla > 0 && passo >= t.chiaveUnicaDalla &&
                !d.keyNeverReused(db.connection(), t.nome)) {
                RicostruisciChiave(db, t, passo);
            }
        }
        // The register of reports came with the reports themselves (a new
        // database is made in its last step alone; a register that already
        // lists the module's reports is left as it is).
        if (passo >= 4) RegistraStampe(db);
        RegistraVersione(db, passo);
    });
}

void CreaSchema(Database& db, const std::vector<Tabella>& tabelle, int versione) {
    const QStringList preambolo = db.dialect().schemaPreamble();
    if (!preambolo.isEmpty()) db.executeScript(preambolo);
    EseguiPasso(db, tabelle, versione);
}

void AggiornaSchema(Database& db, const std::vector<Tabella>& tabelle, int versione) {
    if (!db.hasTable(QString::fromLatin1(kTabellaVersione))) {
        throw Errore(QStringLiteral("Il database %1 non è un database di Incassi: contiene tabelle "
                                    "di un altro programma. Non viene modificato.")
                         .arg(db.fileName()));
    }
    const int attuale = VersioneDatabase(db);
    if (attuale > versione) {
        throw Errore(QStringLiteral("Il database %1 è alla versione %2 dello schema, più recente "
                                    "della versione %3 gestita da questo programma. Aggiornare il "
                                    "programma prima di usare questo database.")
                         .arg(db.fileName())
                         .arg(attuale)
                         .arg(versione));
    }
    for (int passo = attuale + 1; passo <= versione; ++passo)
        EseguiPasso(db, tabelle, passo);
}

void PreparaSchema(Database& db) {
    if (DatabaseVuoto(db)) {
        CreaSchema(db);
        CaricaDatiIniziali(db);
        return;
    }
    AggiornaSchema(db);
}

}  // namespace incassi::schema
