#include "host/database.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>
#include <atomic>

#include "host/postgresdialect.h"
#include "host/sqlitedialect.h"
#include "values/error.h"

namespace incassi {

namespace {

std::atomic<int> connectionCounter{0};

[[noreturn]] void DbFail(const QSqlError& e, const QString& sql) {
    QString text = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    throw Errore(QStringLiteral("Errore del database: %1\nIstruzione: %2").arg(text, sql));
}

}  // namespace

std::shared_ptr<Database> Database::OpenSqlite(const QString& file, bool soloLettura) {
    const QString name = QStringLiteral("incassi-%1").arg(++connectionCounter);
    std::shared_ptr<Database> db(new Database(std::make_unique<SqliteDialect>(), name));
    db->db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    if (!db->db_.isValid()) {
        throw Errore(QStringLiteral(
            "Il driver SQLite di Qt non è installato (pacchetto libqt6sql6-sqlite)."));
    }
    db->db_.setDatabaseName(file);
    db->db_.setConnectOptions(
        soloLettura ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000;QSQLITE_OPEN_READONLY")
                    : QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db->db_.open()) {
        throw Errore(QStringLiteral("Impossibile aprire il database %1: %2")
                         .arg(file, db->db_.lastError().text()));
    }
    db->dialect_->configureConnection(db->db_, soloLettura);
    return db;
}

QString Database::IndirizzoPg::mostrato() const {
    return QStringLiteral("postgresql://%1@%2:%3/%4").arg(utente, host).arg(porta).arg(database);
}

std::shared_ptr<Database> Database::OpenPostgres(const IndirizzoPg& a, bool soloLettura,
                                                 ChiediPassword password) {
    const QString name = QStringLiteral("incassi-%1").arg(++connectionCounter);
    std::shared_ptr<Database> db(new Database(std::make_unique<PostgresDialect>(), name));
    db->pg_ = a;
    db->soloLettura_ = soloLettura;
    db->chiediPassword_ = std::move(password);
    db->db_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    if (!db->db_.isValid()) {
        throw Errore(QStringLiteral(
            "Il driver PostgreSQL di Qt non è installato (pacchetto libqt6sql6-psql)."));
    }
    db->db_.setHostName(a.host);
    db->db_.setPort(a.porta);
    db->db_.setUserName(a.utente);
    db->db_.setDatabaseName(a.database);
    db->db_.setConnectOptions(a.opzioni.isEmpty() ? QStringLiteral("connect_timeout=10")
                                                  : a.opzioni);
    db->openConnection();
    return db;
}

void Database::openConnection() {
    if (!pg_) return;
    db_.setPassword(password_);
    bool aperto = db_.open();
    // The server wants a password and the password file has none: asked once.
    const QString testo = aperto ? QString() : db_.lastError().text();
    if (!aperto && chiediPassword_ && password_.isEmpty() &&
        (testo.contains(QStringLiteral("no password supplied")) ||
         testo.contains(QStringLiteral("password authentication failed")))) {
        password_ = chiediPassword_(pg_->mostrato());
        db_.setPassword(password_);
        aperto = !password_.isEmpty() && db_.open();
    }
    if (!aperto) {
        const QString motivo = db_.lastError().text().trimmed();
        password_.clear();
        throw Errore(QStringLiteral("Impossibile collegarsi al database %1: %2")
                         .arg(pg_->mostrato(), motivo));
    }
    dialect_->configureConnection(db_, soloLettura_);
}

Database::Database(std::unique_ptr<Dialect> dialect, const QString& connectionName)
    : dialect_(std::move(dialect)), connectionName_(connectionName), translator_(*dialect_) {}

Database::~Database() {
    if (depth_ > 0) {
        QSqlQuery q(db_);
        q.exec(dialect_->rollbackTransaction());
    }
    prepared_.clear();
    db_.close();
    db_ = QSqlDatabase();
    translator_.clear();
    dialect_.reset();  // it may hold the connection too
    QSqlDatabase::removeDatabase(connectionName_);
}

QString Database::fileName() const {
    return pg_ ? pg_->mostrato() : db_.databaseName();
}

void Database::assicuraConnessione() {
    if (!persa_ || depth_ > 0) return;
    prepared_.clear();
    db_.close();
    dialect_->forgetCatalog();
    openConnection();
    persa_ = false;
}

void Database::fail(const QSqlError& e, const QString& shown) {
    if (pg_ && dialect_->connectionLost(db_)) {
        persa_ = true;
        throw Errore(QStringLiteral("Collegamento al database %1 interrotto: l'operazione non è "
                                    "stata registrata. I dati della finestra sono conservati; il "
                                    "prossimo comando si ricollega al database.")
                         .arg(pg_->mostrato()));
    }
    DbFail(e, shown);
}

Database::Prepared& Database::prepared(const QString& sql, const QString& shownSql) {
    assicuraConnessione();
    auto it = prepared_.find(sql);
    if (it != prepared_.end()) return it->second;
    Prepared p;
    p.query = std::make_unique<QSqlQuery>(db_);
    p.query->setForwardOnly(dialect_->forwardOnly());
    if (!p.query->prepare(sql)) fail(p.query->lastError(), shownSql.isEmpty() ? sql : shownSql);
    if (prepared_.size() > 1024) prepared_.clear();
    return prepared_.emplace(sql, std::move(p)).first->second;
}

void Database::bindAndExec(Prepared& p, const std::vector<QVariant>& params,
                           const QString& shownSql) {
    QSqlQuery& q = *p.query;
    for (size_t i = 0; i < params.size(); ++i) {
        q.bindValue(int(i), dialect_->toEngine(params[i]));
    }
    if (osservatore_) {
        std::vector<QVariant> valori;
        for (int i = 0; i < int(params.size()); ++i)
            valori.push_back(q.boundValue(i));
        osservatore_(q.lastQuery(), valori);
    }
    if (!q.exec()) {
        const QSqlError e = q.lastError();
        q.finish();
        fail(e, shownSql);
    }
}

QueryResult Database::queryNative(const QString& sql, const std::vector<QVariant>& params,
                                  const QString& shownSql) {
    const QString& shown = shownSql.isEmpty() ? sql : shownSql;
    Prepared& p = prepared(sql, shown);
    bindAndExec(p, params, shown);
    QSqlQuery& q = *p.query;
    if (!p.columnsKnown) {
        p.columns = dialect_->resultColumns(q, shown);
        p.columnsKnown = true;
    }
    QueryResult r;
    r.sql = sql;
    r.columns = p.columns;
    const int n = int(r.columns.size());
    while (q.next()) {
        std::vector<QVariant> row;
        row.reserve(size_t(n));
        for (int c = 0; c < n; ++c)
            row.push_back(q.value(c));
        r.rows.push_back(std::move(row));
    }
    q.finish();
    return r;
}

int Database::executeNative(const QString& sql, const std::vector<QVariant>& params,
                            qint64* insertedId, const QString& shownSql) {
    const QString& shown = shownSql.isEmpty() ? sql : shownSql;
    // Where the engine gives the new id as a row, the insert asks for it.
    const bool riga = insertedId && !dialect_->returningId().isEmpty();
    Prepared& p = prepared(riga ? sql + dialect_->returningId() : sql, shown);
    bindAndExec(p, params, shown);
    const int affected = p.query->numRowsAffected();
    if (insertedId) {
        *insertedId = !riga             ? dialect_->insertedId(*p.query)
                      : p.query->next() ? p.query->value(0).toLongLong()
                                        : 0;
    }
    p.query->finish();
    return affected;
}

QString Database::insertSql(const QString& table, const QStringList& columns) const {
    QStringList nomi, segnaposto;
    for (const QString& c : columns) {
        nomi << dialect_->quoteIdentifier(c);
        segnaposto << QStringLiteral("?");
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(dialect_->quoteIdentifier(table), nomi.join(u','), segnaposto.join(u','));
}

qint64 Database::insert(const QString& table, const QStringList& columns,
                        const std::vector<QVariant>& values) {
    qint64 id = 0;
    executeNative(insertSql(table, columns), values, &id);
    return id;
}

QueryResult Database::query(const QString& classicSql) {
    std::vector<QVariant> params;
    auto tr = translator_.translate(classicSql, params);
    return queryNative(tr->sql, params, classicSql);
}

int Database::execute(const QString& classicSql) {
    std::vector<QVariant> params;
    auto tr = translator_.translate(classicSql, params);
    if (tr->kind == StatementKind::Select) {
        throw Errore(
            QStringLiteral("Execute accetta solo istruzioni di modifica: %1").arg(classicSql));
    }
    const int n = executeNative(tr->sql, params, nullptr, classicSql);
    if (tr->kind == StatementKind::Insert) syncKeyAfterInsert(tr->sql);
    return n;
}

void Database::syncKeyAfterInsert(const QString& sql) {
    if (dialect_->keySync(QString()).isEmpty()) return;
    // An insert that writes the ids itself leaves a counter behind them.
    static const QRegularExpression conId(
        QStringLiteral("^\\s*INSERT\\s+INTO\\s+\"?(\\w+)\"?\\s*\\(([^)]*)\\)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression id(QStringLiteral("(^|[\\s,\"])id([\\s,\"]|$)"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = conId.match(sql);
    if (!m.hasMatch() || !id.match(m.captured(2)).hasMatch()) return;
    for (const QString& s : dialect_->keySync(m.captured(1)))
        queryNative(s, {});
}

void Database::copiaRighe(const QString& table, const QStringList& columns,
                          const std::vector<std::vector<QVariant>>& rows) {
    assicuraConnessione();
    dialect_->bulkCopy(db_, table, columns, rows);
}

void Database::runPlain(const QString& sql) {
    if (osservatore_) osservatore_(sql, {});
    assicuraConnessione();
    QSqlQuery q(db_);
    if (!q.exec(sql)) fail(q.lastError(), sql);
}

void Database::executeScript(const QStringList& statements) {
    for (const QString& s : statements)
        runPlain(s);
    invalidateCatalog();
}

QStringList Database::tables() {
    return dialect_->tables(db_);
}

bool Database::hasTable(const QString& table) {
    return tableColumns(table) != nullptr;
}

const Database::Catalogo& Database::catalogo(const QString& table) {
    const QString key = table.toLower();
    auto it = columns_.find(key);
    if (it == columns_.end()) {
        Catalogo c;
        c.colonne = dialect_->columns(db_, table);
        for (int i = 0; i < int(c.colonne.size()); ++i)
            c.perNome.insert(c.colonne[size_t(i)].name.toLower(), i);
        it = columns_.emplace(key, std::move(c)).first;
    }
    return it->second;
}

const std::vector<ColumnInfo>* Database::tableColumns(const QString& table) {
    const Catalogo& c = catalogo(table);
    return c.colonne.empty() ? nullptr : &c.colonne;
}

const ColumnInfo* Database::column(const QString& table, const QString& column) {
    const Catalogo& c = catalogo(table);
    const auto it = c.perNome.constFind(column.toLower());
    return it == c.perNome.constEnd() ? nullptr : &c.colonne[size_t(*it)];
}

void Database::invalidateCatalog() {
    dialect_->forgetCatalog();
    columns_.clear();
    prepared_.clear();
    layouts_.clear();
}

std::shared_ptr<const FieldLayout> Database::layout(const QString& key) const {
    return layouts_.value(key);
}

void Database::keepLayout(const QString& key, std::shared_ptr<const FieldLayout> layout) {
    if (layouts_.size() > 1024) layouts_.clear();  // bounded like the prepared statements
    layouts_.insert(key, std::move(layout));
}

void Database::begin() {
    runPlain(depth_ == 0 ? dialect_->beginTransaction()
                         : dialect_->savepoint(QStringLiteral("sp%1").arg(depth_)));
    ++depth_;
    scopes_.push_back({++ultimoScope_, {}});
}

void Database::commit() {
    if (depth_ == 0) throw Errore(QStringLiteral("Nessuna transazione aperta"));
    const int level = depth_ - 1;
    // On failure the scope stays open, so the guard that owns it rolls it back.
    runPlain(level == 0 ? dialect_->commitTransaction()
                        : dialect_->releaseSavepoint(QStringLiteral("sp%1").arg(level)));
    depth_ = level;
    std::vector<Esito> esiti = std::move(scopes_.back().esiti);
    scopes_.pop_back();
    if (level > 0) {
        // A released savepoint is settled by the scope around it.
        auto& fuori = scopes_.back().esiti;
        fuori.insert(fuori.end(), std::make_move_iterator(esiti.begin()),
                     std::make_move_iterator(esiti.end()));
        return;
    }
    for (Esito& e : esiti)
        e(true);
}

void Database::rollback() {
    if (depth_ == 0) return;
    --depth_;
    std::vector<Esito> esiti = std::move(scopes_.back().esiti);
    scopes_.pop_back();
    // Whatever the engine says, the scope's work is gone: its waiting outcomes
    // learn so even when the rollback statement itself fails.
    struct Annuncia {
        std::vector<Esito>& esiti;
        ~Annuncia() {
            for (auto it = esiti.rbegin(); it != esiti.rend(); ++it)
                (*it)(false);
        }
    } annuncia{esiti};
    if (persa_) {
        // The server ended the transaction with the connection.
        if (depth_ == 0) scopes_.clear();
    } else if (depth_ == 0) {
        runPlain(dialect_->rollbackTransaction());
    } else {
        const QString name = QStringLiteral("sp%1").arg(depth_);
        runPlain(dialect_->rollbackToSavepoint(name));
        runPlain(dialect_->releaseSavepoint(name));
    }
}

void Database::allaFine(Esito esito) {
    if (depth_ == 0) {
        esito(true);
        return;
    }
    scopes_.back().esiti.push_back(std::move(esito));
}

Transazione::~Transazione() {
    if (!done_) {
        try {
            db_.rollback();
        } catch (...) {
            // A failed rollback leaves nothing more to undo here.
        }
    }
}

void Transazione::commit() {
    db_.commit();
    done_ = true;
}

}  // namespace incassi
