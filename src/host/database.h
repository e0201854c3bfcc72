#pragma once

// One connection to the suite's database. It translates classic statements,
// keeps one prepared query per translated statement, binds the lifted values,
// knows the tables' columns, and nests transactions as savepoints.

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "host/dialect.h"
#include "host/sqltranslator.h"

namespace incassi {

// Rows read by a query: column metadata and the values of each row.
struct QueryResult {
    QString sql;  // the native statement that gave it
    std::vector<ResultColumn> columns;
    std::vector<std::vector<QVariant>> rows;
    int count() const { return int(rows.size()); }
    // The first column of the first row, or Null when there is no row.
    QVariant scalar() const { return rows.empty() || rows[0].empty() ? QVariant() : rows[0][0]; }
};

class Database {
  public:
    // Opens (creating when missing) an SQLite database file; `soloLettura`
    // opens an existing file without ever writing to it.
    static std::shared_ptr<Database> OpenSqlite(const QString& file, bool soloLettura = false);
    // Connects to a PostgreSQL database. The password is never part of the
    // address: it comes from the user's password file, or from `password`
    // when the server asks for one.
    struct IndirizzoPg {
        QString utente, host, database, opzioni;
        int porta = 5432;
        QString mostrato() const;  // postgresql://user@host:port/db
    };
    using ChiediPassword = std::function<QString(const QString& mostrato)>;
    static std::shared_ptr<Database> OpenPostgres(const IndirizzoPg& a, bool soloLettura = false,
                                                  ChiediPassword password = nullptr);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const Dialect& dialect() const { return *dialect_; }
    SqlTranslator& translator() { return translator_; }
    // The file, or the server's address without password.
    QString fileName() const;
    bool isPostgres() const { return pg_.has_value(); }
    // The engine connection, for measurements against the bare engine.
    QSqlDatabase& connection() { return db_; }

    // Classic-dialect statements.
    QueryResult query(const QString& classicSql);
    int execute(const QString& classicSql);

    // Statements already in the engine's language, with values to bind.
    QueryResult queryNative(const QString& sql, const std::vector<QVariant>& params,
                            const QString& shownSql = QString());
    int executeNative(const QString& sql, const std::vector<QVariant>& params,
                      qint64* insertedId = nullptr, const QString& shownSql = QString());
    // INSERT of one row: the statement for these columns (quoted by the
    // dialect, one placeholder each), and running it; the id the database gave.
    QString insertSql(const QString& table, const QStringList& columns) const;
    qint64 insert(const QString& table, const QStringList& columns,
                  const std::vector<QVariant>& values);
    // Loads many rows into a table at once, on an engine whose dialect
    // hasBulkCopy(); values in `columns` order.
    void copiaRighe(const QString& table, const QStringList& columns,
                    const std::vector<std::vector<QVariant>>& rows);
    // Runs engine statements as they are, without values (schema creation).
    void executeScript(const QStringList& statements);

    // Catalogue. Column lookups are case-insensitive; results are cached until
    // invalidateCatalog().
    QStringList tables();
    bool hasTable(const QString& table);
    const std::vector<ColumnInfo>* tableColumns(const QString& table);
    const ColumnInfo* column(const QString& table, const QString& column);
    void invalidateCatalog();
    // The field layout a record set made of a statement's result (key: its
    // table and native statement), kept until the catalogue changes.
    std::shared_ptr<const FieldLayout> layout(const QString& key) const;
    void keepLayout(const QString& key, std::shared_ptr<const FieldLayout> layout);

    // Sees every statement sent to the engine, with its bound values (Null when
    // none is set), before it runs. Measurements use it to replay a window's
    // work on the bare engine; a fault-injection test throws from it to make
    // that statement fail.
    using Osservatore =
        std::function<void(const QString& sql, const std::vector<QVariant>& params)>;
    void setOsservatore(Osservatore o) { osservatore_ = std::move(o); }

    // Transactions: the outermost scope is a transaction, inner ones savepoints.
    void begin();
    void commit();
    void rollback();
    int transactionDepth() const { return depth_; }
    // A number that names the innermost scope now open (0 outside any): each
    // scope begun gets a new one.
    qint64 currentScope() const { return scopes_.empty() ? 0 : scopes_.back().numero; }
    // Runs `esito` once the work of the scope now open is settled: with true
    // when the outermost transaction commits, with false when this scope (or
    // one around it) rolls back. Outside a transaction it runs at once with true.
    using Esito = std::function<void(bool confermato)>;
    void allaFine(Esito esito);

  private:
    Database(std::unique_ptr<Dialect> dialect, const QString& connectionName);
    struct Prepared {
        std::unique_ptr<QSqlQuery> query;
        std::vector<ResultColumn> columns;
        bool columnsKnown = false;
    };
    Prepared& prepared(const QString& sql, const QString& shownSql);
    void bindAndExec(Prepared& p, const std::vector<QVariant>& params, const QString& shownSql);
    void runPlain(const QString& sql);
    void syncKeyAfterInsert(const QString& sql);
    // A statement failed: when the connection itself is lost, forgets the
    // open transaction and says so in the user's words; otherwise the
    // engine's error. Never returns.
    [[noreturn]] void fail(const QSqlError& e, const QString& shown);
    // Before a statement: reconnects a lost connection when no transaction
    // depended on it.
    void assicuraConnessione();
    void openConnection();

    std::unique_ptr<Dialect> dialect_;
    QString connectionName_;
    QSqlDatabase db_;
    SqlTranslator translator_;
    std::unordered_map<QString, Prepared> prepared_;
    struct Catalogo {
        std::vector<ColumnInfo> colonne;
        QHash<QString, int> perNome;  // lower-case column name -> index
    };
    const Catalogo& catalogo(const QString& table);
    // key: lower-case table name; nodes stay put, so pointers into them last
    std::unordered_map<QString, Catalogo> columns_;
    QHash<QString, std::shared_ptr<const FieldLayout>> layouts_;
    QHash<QString, bool> knownTables_;
    int depth_ = 0;
    // The open scopes, outermost first, each with its outcomes waiting.
    struct Scope {
        qint64 numero;
        std::vector<Esito> esiti;
    };
    std::vector<Scope> scopes_;
    qint64 ultimoScope_ = 0;
    Osservatore osservatore_;
    std::optional<IndirizzoPg> pg_;
    bool soloLettura_ = false;
    ChiediPassword chiediPassword_;
    QString password_;  // given at the prompt, kept for reconnecting
    bool persa_ = false;
};

// Rolls back when it leaves its scope without commit(); nested scopes are
// savepoints of the outer transaction.
class Transazione {
  public:
    explicit Transazione(Database& db) : db_(db) { db_.begin(); }
    ~Transazione();
    Transazione(const Transazione&) = delete;
    Transazione& operator=(const Transazione&) = delete;
    void commit();

  private:
    Database& db_;
    bool done_ = false;
};

}  // namespace incassi
