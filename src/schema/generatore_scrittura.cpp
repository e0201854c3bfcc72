#include "schema/generatore_scrittura.h"

#include <QDateTime>
#include <QSqlError>
#include <QStringList>

#include "host/database.h"
#include "values/error.h"

namespace incassi::schema::gen {

#define INCASSI_NOME(n) QStringLiteral(#n),

struct ScrittoreDocumenti::Inserimento {
    Inserimento(Database& db, const QString& tabella, const QStringList& colonne)
        : dialetto(db.dialect()), query(db.connection()), sql(db.insertSql(tabella, colonne)) {
        if (!query.prepare(sql)) Fallisci();
    }
    template <int N>
    void esegui(const Valori<N>& r) {
        for (int i = 0; i < N; ++i)
            query.bindValue(i, dialetto.toEngine(r[i]));
        if (!query.exec()) Fallisci();
    }
    [[noreturn]] void Fallisci() {
        throw Errore(QStringLiteral("Errore del database: %1\nIstruzione: %2")
                         .arg(query.lastError().text(), sql));
    }
    const Dialect& dialetto;
    QSqlQuery query;
    QString sql;
};

ScrittoreDocumenti::ScrittoreDocumenti(Database& db, qint64 righePerBlocco)
    : db_(db), perBlocco_(righePerBlocco) {
    ultimoId_ =
        db.queryNative(QStringLiteral("SELECT max(id) FROM NoteTeste"), {}).scalar().toLongLong();
    testate_ = std::make_unique<Inserimento>(db, QStringLiteral("NoteTeste"),
                                             QStringList{INCASSI_COLONNE_TESTATA(INCASSI_NOME)});
    incassi_ = std::make_unique<Inserimento>(db, QStringLiteral("NoteIncassi"),
                                             QStringList{INCASSI_COLONNE_INCASSO(INCASSI_NOME)});
    righeNota_ = std::make_unique<Inserimento>(db, QStringLiteral("NoteRighe"),
                                               QStringList{INCASSI_COLONNE_RIGA(INCASSI_NOME)});
    contatori_ =
        std::make_unique<Inserimento>(db, QStringLiteral("NoteIncassiContatori"),
                                      QStringList{INCASSI_COLONNE_CONTATORE(INCASSI_NOME)});
}

#undef INCASSI_NOME

ScrittoreDocumenti::~ScrittoreDocumenti() {
    testate_.reset();
    incassi_.reset();
    righeNota_.reset();
    contatori_.reset();
    if (aperto_) db_.rollback();
}

const QVariant& ScrittoreDocumenti::data(const QDate& d) {
    auto it = date_.find(d);
    if (it == date_.end()) it = date_.insert(d, db_.dialect().toEngine(d));
    return *it;
}

const QVariant& ScrittoreDocumenti::istante(const QDate& d, const QTime& t) {
    const qint64 chiave = d.toJulianDay() * 86400 + t.msecsSinceStartOfDay() / 1000;
    auto it = istanti_.find(chiave);
    if (it == istanti_.end()) it = istanti_.insert(chiave, db_.dialect().toEngine(QDateTime(d, t)));
    return *it;
}

void ScrittoreDocumenti::apri() {
    if (aperto_) return;
    db_.begin();
    aperto_ = true;
    nelBlocco_ = 0;
}

void ScrittoreDocumenti::scrivi(Documento& d) {
    apri();
    const QVariant id = d.testata[colT::id];
    testate_->esegui(d.testata);
    for (auto& r : d.incassi) {
        r[colI::IdTesta] = id;
        incassi_->esegui(r);
    }
    for (auto& r : d.righe) {
        r[colR::IdTesta] = id;
        righeNota_->esegui(r);
    }
    for (auto& r : d.contatori) {
        r[colC::IdTesta] = id;
        contatori_->esegui(r);
    }
    const qint64 n = 1 + qint64(d.incassi.size() + d.righe.size() + d.contatori.size());
    ++documenti_;
    righe_ += n;
    nelBlocco_ += n;
    if (nelBlocco_ >= perBlocco_) concludi();
}

void ScrittoreDocumenti::concludi() {
    if (!aperto_) return;
    // The headers carry their ids: the table's counter moves past them.
    for (const QString& s : db_.dialect().keySync(QStringLiteral("NoteTeste")))
        db_.queryNative(s, {});
    db_.commit();
    aperto_ = false;
}

}  // namespace incassi::schema::gen
