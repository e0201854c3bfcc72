#pragma once

// A fresh SQLite database per test, in a temporary folder, with a host over it.

#include <QTemporaryDir>
#include <memory>

#include "host/sqlhost.h"
#include "support/qtprint.h"

namespace incassi::test {

class TestDb {
  public:
    TestDb();
    // A copy of the database file `modello` (made with copia()).
    explicit TestDb(const QString& modello);
    ~TestDb();
    SqlHost& host() { return *host_; }
    Database& db() { return host_->database(); }
    QString folder() const { return dir_.path(); }
    // Engine statements run as they are (table creation, rows for the test).
    void run(const QStringList& statements);
    // A few document tables, enough for the host tests.
    void createDocumentTables();
    // The value of the first column of the first row of a classic statement.
    QVariant scalar(const QString& classicSql);
    // Writes a consistent copy of the whole database to `file`.
    void copia(const QString& file);

  private:
    QTemporaryDir dir_;
    std::unique_ptr<SqlHost> host_;
};

}  // namespace incassi::test
