#include "support/testdb.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <atomic>

#include "host/connessione.h"
#include "schema/copia.h"
#include "values/error.h"

namespace incassi::test {

namespace {

std::atomic<int> contatore{0};

// The administration connection of this test process.
Database& Amministrazione() {
    static std::shared_ptr<Database> db = ApriDatabase(IndirizzoTest());
    return *db;
}

}  // namespace

void DopoRiavvioDelServer() {
    try {
        Amministrazione().queryNative(QStringLiteral("SELECT 1"), {});
    } catch (const Errore&) {
        // The lost connection is said once; the next statement connects again.
    }
}

namespace {

void Esegui(const QString& sql) {
    Amministrazione().executeScript({sql});
}

bool Esiste(const QString& database) {
    return Amministrazione()
               .queryNative(QStringLiteral("SELECT count(*) FROM pg_database WHERE datname = ?"),
                            {database})
               .scalar()
               .toInt() > 0;
}

// A database made from `modello` (an SQLite file) once per content and kept
// on the server as a template: every test that starts from it is a cheap
// copy of the template.
QString Modello(const QString& modello) {
    QFile f(modello);
    if (!f.open(QIODevice::ReadOnly)) throw Errore(QStringLiteral("modello illeggibile"));
    const QString nome =
        QStringLiteral("modello_") +
        QString::fromLatin1(
            QCryptographicHash::hash(f.readAll(), QCryptographicHash::Md5).toHex().left(20));
    if (Esiste(nome)) return nome;
    const QString provvisorio =
        nome + QStringLiteral("_%1").arg(QCoreApplication::applicationPid());
    Esegui(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(provvisorio));
    Esegui(QStringLiteral("CREATE DATABASE %1").arg(provvisorio));
    {
        auto da = Database::OpenSqlite(modello, true);
        auto a = ApriDatabase(IndirizzoTest(provvisorio));
        schema::CopiaDatabase(*da, *a);
    }
    // Another test process may have made it meanwhile: the first one stays.
    try {
        Esegui(QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(provvisorio, nome));
    } catch (const Errore&) {
        Esegui(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(provvisorio));
    }
    return nome;
}

// A new database, empty or a copy of a template; a template in use by
// another process's copy is tried again.
QString NuovoDatabase(const QString& modello) {
    const QString nome =
        QStringLiteral("t_%1_%2").arg(QCoreApplication::applicationPid()).arg(++contatore);
    const QString sql = modello.isEmpty()
                            ? QStringLiteral("CREATE DATABASE %1").arg(nome)
                            : QStringLiteral("CREATE DATABASE %1 TEMPLATE %2 STRATEGY FILE_COPY")
                                  .arg(nome, modello);
    for (int tentativo = 0;; ++tentativo) {
        try {
            Esegui(sql);
            return nome;
        } catch (const Errore& e) {
            if (tentativo > 100 || !e.testo().contains(QStringLiteral("other users"))) throw;
            QThread::msleep(50);
        }
    }
}

// The declared spelling of a table's and its columns' names, kept as the
// schema's own tables keep it.
QStringList NoteDeiNomi(const Dialect& d, const QString& sql) {
    static const QRegularExpression crea(
        QStringLiteral("^\\s*CREATE\\s+TABLE\\s+(\\w+)\\s*\\((.*)\\)\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto m = crea.match(sql);
    if (!m.hasMatch()) return {};
    QStringList note = d.nameNotes(m.captured(1), QString());
    int livello = 0;
    QString pezzo;
    QStringList colonne;
    for (const QChar ch : m.captured(2) + u',') {
        if (ch == u'(') ++livello;
        if (ch == u')') --livello;
        if (ch == u',' && livello == 0) {
            colonne << pezzo.trimmed().section(u' ', 0, 0);
            pezzo.clear();
        } else {
            pezzo += ch;
        }
    }
    for (const QString& c : colonne) {
        if (!c.isEmpty() && c.front().isLetter()) note << d.nameNotes(m.captured(1), c);
    }
    return note;
}

}  // namespace

bool SuPostgres() {
    return qEnvironmentVariable("INCASSI_MOTORE") == u"postgresql";
}

QString IndirizzoTest(const QString& database) {
    QString base = qEnvironmentVariable("INCASSI_TEST_PG");
    if (base.isEmpty()) throw Errore(QStringLiteral("INCASSI_TEST_PG non impostato"));
    if (database.isEmpty()) return base;
    return base.left(base.lastIndexOf(u'/') + 1) + database;
}

TestDb::TestDb() : TestDb(QString()) {}

TestDb::TestDb(const QString& modello) {
    std::shared_ptr<Database> db;
    if (SuPostgres()) {
        databasePg_ = NuovoDatabase(modello.isEmpty() ? QString() : Modello(modello));
        dove_ = IndirizzoTest(databasePg_);
        db = ApriDatabase(dove_);
        db->executeScript(db->dialect().schemaPreamble());
    } else {
        dove_ = QDir(dir_.path()).filePath(QStringLiteral("test.sqlite"));
        if (!modello.isEmpty()) QFile::copy(modello, dove_);
        db = Database::OpenSqlite(dove_);
    }
    auto settings =
        std::make_unique<SettingsStore>(QDir(dir_.path()).filePath(QStringLiteral("torvane.ini")));
    host_ = std::make_unique<SqlHost>(db, std::move(settings), dir_.path());
    host_->setOperatore({QStringLiteral("ANNA"), Diritti::Tutti()});
}

TestDb::~TestDb() {
    host_.reset();
    if (databasePg_.isEmpty()) return;
    try {
        Esegui(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(databasePg_));
    } catch (const Errore&) {
        // A database left behind goes with the test server.
    }
}

std::shared_ptr<Database> TestDb::altraConnessione() const {
    return ApriDatabase(dove_);
}

void TestDb::run(const QStringList& statements) {
    if (!SuPostgres()) {
        db().executeScript(statements);
        return;
    }
    // The tests write their tables as on SQLite: the key becomes a counter,
    // and a table given explicit ids moves its counter past them.
    static const QRegularExpression chiave(QStringLiteral("\\bINTEGER\\s+PRIMARY\\s+KEY\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression nocase(
        QStringLiteral("\\b(VARCHAR\\s*\\(\\s*\\d+\\s*\\)|TEXT)\\s+COLLATE\\s+NOCASE\\b"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression doppio(QStringLiteral("\\bDOUBLE\\b(?!\\s+PRECISION)"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression istante(QStringLiteral("\\bDATETIME\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression inserisci(QStringLiteral("\\bINSERT\\s+INTO\\s+\"?(\\w+)"),
                                              QRegularExpression::CaseInsensitiveOption);
    QStringList tradotte, tabelle;
    for (QString s : statements) {
        s.replace(chiave, db().dialect().keyDefinition(false).mid(3));
        s.replace(nocase, QStringLiteral("citext"));
        s.replace(doppio, QStringLiteral("double precision"));
        s.replace(istante, QStringLiteral("timestamp(0)"));
        if (const auto m = inserisci.match(s); m.hasMatch()) tabelle << m.captured(1);
        tradotte << s << NoteDeiNomi(db().dialect(), s);
    }
    db().executeScript(tradotte);
    tabelle.removeDuplicates();
    for (const QString& t : tabelle) {
        const ColumnInfo* id = db().column(t, QStringLiteral("id"));
        if (!id) continue;
        for (const QString& s : db().dialect().keySync(t))
            db().queryNative(s, {});
    }
}

void TestDb::createDocumentTables() {
    const Dialect& d = db().dialect();
    // A column as the schema declares it: type and, where the engine needs
    // one, the check of its length.
    auto c = [&](const char* nome, FieldType type, int len = 0) {
        const QString n = QString::fromLatin1(nome);
        const QString check = d.columnCheck(n, type, len);
        return n + u' ' + d.columnTypeSql(type, len) + (check.isEmpty() ? QString() : u' ' + check);
    };
    using F = FieldType;
    const QString testo = QStringLiteral("CREATE TABLE %1 (id INTEGER PRIMARY KEY, %2)");
    run({
        testo.arg("NoteTeste",
                  QStringList{c("CodLocale", F::Text, 20), c("CodCausale", F::Text, 10),
                              c("DataRegistrazione", F::Date), c("Chiuso", F::Flag) + " DEFAULT 0",
                              c("idOnda", F::Integer), c("iddata", F::DateTime),
                              c("Riscosso", F::Double), c("Descrizione", F::Text, 30)}
                      .join(", ")),
        testo.arg("NoteIncassi",
                  QStringList{c("IdTesta", F::Integer), c("LinkScheda", F::Integer),
                              c("DataIncasso", F::Date), c("Chiuso", F::Flag) + " DEFAULT 0",
                              c("IdChiusura", F::Integer) + " DEFAULT 0", c("acconti", F::Double),
                              c("contatorein", F::Double)}
                      .join(", ")),
        testo.arg("NoteRighe",
                  QStringList{c("IdTesta", F::Integer), c("CodConto", F::Text, 20) + " NOT NULL",
                              c("CodLocale", F::Text, 20), c("Data", F::Date),
                              c("Dare", F::Double) + " DEFAULT 0",
                              c("Avere", F::Double) + " DEFAULT 0", c("Riga", F::Integer)}
                      .join(", ")),
        QStringLiteral("CREATE UNIQUE INDEX NoteRighe_conto ON NoteRighe (IdTesta, CodConto)"),
    });
}

void TestDb::creaGuasto(const QString& tabella, const QString& evento, const QString& messaggio,
                        const QString& quando) {
    if (!SuPostgres()) {
        run({QStringLiteral("CREATE TRIGGER guasto BEFORE %1 ON %2 %3 BEGIN SELECT RAISE(ABORT, "
                            "'%4'); END")
                 .arg(evento, tabella,
                      quando.isEmpty() ? QString() : QStringLiteral("WHEN ") + quando, messaggio)});
        return;
    }
    run({QStringLiteral("CREATE OR REPLACE FUNCTION guasto() RETURNS trigger LANGUAGE plpgsql AS "
                        "$$ BEGIN RAISE EXCEPTION '%1'; END $$")
             .arg(messaggio),
         QStringLiteral("CREATE TRIGGER guasto BEFORE %1 ON %2 FOR EACH ROW %3 EXECUTE FUNCTION "
                        "guasto()")
             .arg(evento, tabella,
                  quando.isEmpty() ? QString() : QStringLiteral("WHEN (%1)").arg(quando))});
}

void TestDb::togliGuasto(const QString& tabella) {
    run({SuPostgres() ? QStringLiteral("DROP TRIGGER guasto ON %1").arg(tabella)
                      : QStringLiteral("DROP TRIGGER guasto")});
}

QVariant TestDb::scalar(const QString& classicSql) {
    return db().query(classicSql).scalar();
}

void TestDb::copia(const QString& file) {
    QFile::remove(file);
    if (!SuPostgres()) {
        db().executeNative(QStringLiteral("VACUUM INTO ?"), {file});
        return;
    }
    auto a = Database::OpenSqlite(file);
    schema::CopiaDatabase(db(), *a);
}

}  // namespace incassi::test
