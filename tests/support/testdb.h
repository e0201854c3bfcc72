#pragma once

// A fresh database per test with a host over it: an SQLite file in a
// temporary folder, or, for the tests run on PostgreSQL (INCASSI_MOTORE set
// to "postgresql"), a new database on the test server named by
// INCASSI_TEST_PG, dropped at the end.

#include <QTemporaryDir>
#include <memory>

#include "host/sqlhost.h"
#include "support/qtprint.h"

namespace incassi::test {

// Whether this run of the tests is the PostgreSQL one.
bool SuPostgres();
// After the test server was restarted: the process's administration
// connection notices it and connects again.
void DopoRiavvioDelServer();
// For a test of what only SQLite has (its files, its functions, its
// triggers): skipped in the PostgreSQL run.
#define SOLO_SQLITE(perche) \
    if (::incassi::test::SuPostgres()) GTEST_SKIP() << "solo SQLite: " << perche
// The server's address for a database of that name (the administration
// database when empty); skips the test when no server was given.
QString IndirizzoTest(const QString& database = QString());

class TestDb {
  public:
    TestDb();
    // A copy of the database file `modello` (made with copia()).
    explicit TestDb(const QString& modello);
    ~TestDb();
    SqlHost& host() { return *host_; }
    Database& db() { return host_->database(); }
    QString folder() const { return dir_.path(); }
    // Where the database is: its file, or its server address.
    QString dove() const { return dove_; }
    // A second connection to the same database (another workstation).
    std::shared_ptr<Database> altraConnessione() const;
    // Engine statements run as they are (table creation, rows for the test).
    void run(const QStringList& statements);
    // A few document tables, enough for the host tests.
    void createDocumentTables();
    // The value of the first column of the first row of a classic statement.
    QVariant scalar(const QString& classicSql);
    // A fault: every `evento` (INSERT, DELETE) on `tabella`, when `quando`
    // holds of the NEW or OLD row, fails with `messaggio`; and its removal.
    void creaGuasto(const QString& tabella, const QString& evento, const QString& messaggio,
                    const QString& quando = QString());
    void togliGuasto(const QString& tabella);
    // Writes a consistent copy of the whole database to the SQLite `file`.
    void copia(const QString& file);

  private:
    QTemporaryDir dir_;
    QString dove_;
    QString databasePg_;
    std::unique_ptr<SqlHost> host_;
};

}  // namespace incassi::test
