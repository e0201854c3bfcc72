#include "host/postgresdialect.h"

#include <libpq-fe.h>

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QSqlResult>

#include "values/error.h"
#include "values/sqlquote.h"

namespace incassi {

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The key of the one advisory lock every writing transaction takes first.
constexpr qint64 kChiaveScrittura = 0x1CA551;

const PGresult* ResultHandle(const QSqlQuery& query) {
    const QSqlResult* result = query.result();
    if (!result) return nullptr;
    QVariant v = result->handle();
    if (!v.isValid() ||
        (qstrcmp(v.typeName(), "PGresult*") != 0 && qstrcmp(v.typeName(), "pg_result*") != 0))
        return nullptr;
    return *static_cast<PGresult* const*>(v.constData());
}

// The type of an expression's column, from the value type the driver gives.
FieldType TipoDelValore(const QSqlField& f) {
    switch (f.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::UInt:
            return f.length() == 2 ? FieldType::Flag : FieldType::Integer;
        case QMetaType::Double:
            return FieldType::Double;
        case QMetaType::QDate:
            return FieldType::Date;
        case QMetaType::QDateTime:
            return FieldType::DateTime;
        case QMetaType::QByteArray:
            return FieldType::Blob;
        default:
            return FieldType::Unknown;
    }
}

// The libpq connection under the driver's, when it is one.
PGconn* Connessione(QSqlDatabase& db) {
    const QVariant v = db.driver() ? db.driver()->handle() : QVariant();
    if (!v.isValid() ||
        (qstrcmp(v.typeName(), "PGconn*") != 0 && qstrcmp(v.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn* const*>(v.constData());
}

// A value as COPY's text format writes it (already as bound: days and
// instants as text, flags as numbers).
QByteArray TestoPerCopia(const QVariant& v) {
    if (v.isNull()) return QByteArrayLiteral("\\N");
    switch (v.typeId()) {
        case QMetaType::Double:
            return QByteArray::number(v.toDouble(), 'g', 17);
        case QMetaType::QByteArray:
            return QByteArrayLiteral("\\\\x") + v.toByteArray().toHex();
        default:
            break;
    }
    QByteArray out;
    const QByteArray testo = v.toString().remove(QChar(0)).toUtf8();
    out.reserve(testo.size());
    for (const char c : testo) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

[[noreturn]] void Fail(const QSqlQuery& q, const QString& what) {
    throw Errore(QStringLiteral("Errore del database (%1): %2").arg(what, q.lastError().text()));
}

}  // namespace

QString PostgresDialect::quoteIdentifier(const QString& name) const {
    QString q = name.toLower();
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

QString PostgresDialect::limitClause(int n) const {
    return QStringLiteral(" LIMIT %1").arg(n);
}

QString PostgresDialect::nullsOrder(bool descending) const {
    return descending ? QStringLiteral("NULLS LAST") : QStringLiteral("NULLS FIRST");
}

QString PostgresDialect::functionName(const QString& lowerName) const {
    static const QHash<QString, QString> names = {
        {QStringLiteral("sum"), QStringLiteral("sum")},
        {QStringLiteral("count"), QStringLiteral("count")},
        {QStringLiteral("avg"), QStringLiteral("avg")},
        {QStringLiteral("min"), QStringLiteral("min")},
        {QStringLiteral("max"), QStringLiteral("max")},
        {QStringLiteral("abs"), QStringLiteral("abs")},
        {QStringLiteral("upper"), QStringLiteral("upper")},
        {QStringLiteral("lower"), QStringLiteral("lower")},
        {QStringLiteral("ucase"), QStringLiteral("upper")},
        {QStringLiteral("lcase"), QStringLiteral("lower")},
        {QStringLiteral("len"), QStringLiteral("char_length")},
        {QStringLiteral("trim"), QStringLiteral("btrim")},
        {QStringLiteral("ltrim"), QStringLiteral("ltrim")},
        {QStringLiteral("rtrim"), QStringLiteral("rtrim")},
        {QStringLiteral("coalesce"), QStringLiteral("coalesce")},
        {QStringLiteral("nz"), QStringLiteral("coalesce")},
    };
    return names.value(lowerName);
}

QVariant PostgresDialect::toEngine(const QVariant& value) const {
    if (value.isNull()) return value;
    switch (value.typeId()) {
        // Days and instants travel as text, read by the column they meet:
        // the session's time zone never moves them.
        case QMetaType::QDate:
            return value.toDate().toString(kDateFormat);
        case QMetaType::QDateTime:
            return value.toDateTime().toString(kDateTimeFormat);
        case QMetaType::Bool:
            return value.toBool() ? qlonglong(-1) : qlonglong(0);
        case QMetaType::QString: {
            // The engine refuses the zero character in text.
            const QString s = value.toString();
            return s.contains(QChar(0)) ? QVariant(QString(s).remove(QChar(0))) : value;
        }
        default:
            return value;
    }
}

QVariant PostgresDialect::fromEngine(const QVariant& raw, FieldType type) const {
    if (raw.isNull()) return QVariant();
    switch (raw.typeId()) {
        // Whole numbers read as on SQLite, whatever their width.
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Short:
            if (type == FieldType::Double) return raw.toDouble();
            return raw.toLongLong();
        case QMetaType::QDateTime:
            if (type == FieldType::Date) return raw.toDateTime().date();
            // The driver reads a timestamp without zone as local time already.
            return raw;
        case QMetaType::QDate:
            if (type == FieldType::DateTime) return QDateTime(raw.toDate(), QTime(0, 0));
            return raw;
        default:
            return raw;
    }
}

QString PostgresDialect::columnTypeSql(FieldType type, int /*maxLength*/) const {
    switch (type) {
        case FieldType::Integer:
            return QStringLiteral("integer");
        case FieldType::Double:
            return QStringLiteral("double precision");
        case FieldType::Text:
        case FieldType::Memo:
            return QStringLiteral("citext");
        case FieldType::Date:
            return QStringLiteral("date");
        case FieldType::DateTime:
            return QStringLiteral("timestamp(0)");
        case FieldType::Flag:
            return QStringLiteral("smallint");
        case FieldType::Blob:
            return QStringLiteral("bytea");
        case FieldType::Unknown:
            break;
    }
    return QString();
}

QString PostgresDialect::columnCheck(const QString& column, FieldType type, int maxLength) const {
    if (type != FieldType::Text) return QString();
    return QStringLiteral("CHECK (char_length(%1) <= %2)")
        .arg(quoteIdentifier(column))
        .arg(maxLength > 0 ? maxLength : 255);
}

QStringList PostgresDialect::nameNotes(const QString& table, const QString& column) const {
    if (column.isEmpty()) {
        if (table == table.toLower()) return {};
        return {QStringLiteral("COMMENT ON TABLE %1 IS %2")
                    .arg(quoteIdentifier(table), sql::Testo(table))};
    }
    if (column == column.toLower()) return {};
    return {QStringLiteral("COMMENT ON COLUMN %1.%2 IS %3")
                .arg(quoteIdentifier(table), quoteIdentifier(column), sql::Testo(column))};
}

QStringList PostgresDialect::schemaPreamble() const {
    return {QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext")};
}

QStringList PostgresDialect::keySync(const QString& table) const {
    const QString t = quoteIdentifier(table);
    return {QStringLiteral("SELECT setval(pg_get_serial_sequence(%1, 'id'), "
                           "coalesce((SELECT max(id) FROM %2), 0) + 1, false)")
                .arg(sql::Testo(t), t)};
}

FieldType PostgresDialect::typeFromDeclaration(const QString& decl, int* maxLength) const {
    if (maxLength) *maxLength = 0;
    const QString t = decl.trimmed().toLower();
    static const QRegularExpression sized(QStringLiteral("\\((\\d+)\\)"));
    if (t == u"integer" || t == u"bigint" || t == u"int" || t == u"int4" || t == u"int8")
        return FieldType::Integer;
    if (t == u"smallint" || t == u"int2" || t == u"boolean") return FieldType::Flag;
    if (t == u"double precision" || t == u"real" || t.startsWith(u"numeric") || t == u"float8")
        return FieldType::Double;
    if (t.startsWith(u"character varying") || t.startsWith(u"varchar") ||
        t.startsWith(u"character")) {
        if (auto m = sized.match(t); m.hasMatch() && maxLength) *maxLength = m.captured(1).toInt();
        return FieldType::Text;
    }
    if (t == u"citext" || t == u"text") return FieldType::Memo;
    if (t == u"date") return FieldType::Date;
    if (t.startsWith(u"timestamp")) return FieldType::DateTime;
    if (t == u"bytea") return FieldType::Blob;
    return FieldType::Unknown;
}

void PostgresDialect::configureConnection(QSqlDatabase& db, bool soloLettura) const {
    db_ = db;
    forgetCatalog();
    QSqlQuery q(db);
    QStringList impostazioni{QStringLiteral("SET client_min_messages = warning"),
                             QStringLiteral("SET datestyle = 'ISO, YMD'"),
                             QStringLiteral("SET lock_timeout = '30s'")};
    if (soloLettura) impostazioni << QStringLiteral("SET default_transaction_read_only = on");
    for (const QString& s : impostazioni) {
        if (!q.exec(s)) Fail(q, s);
    }
}

bool PostgresDialect::connectionLost(QSqlDatabase& db) const {
    const PGconn* conn = Connessione(db);
    return conn ? PQstatus(conn) == CONNECTION_BAD : !db.isOpen();
}

void PostgresDialect::bulkCopy(QSqlDatabase& db, const QString& table, const QStringList& columns,
                               const std::vector<std::vector<QVariant>>& rows) const {
    PGconn* conn = Connessione(db);
    if (!conn) throw Errore(QStringLiteral("Connessione al server non disponibile"));
    QStringList nomi;
    for (const QString& c : columns)
        nomi << quoteIdentifier(c);
    const QByteArray inizio = QStringLiteral("COPY %1 (%2) FROM STDIN")
                                  .arg(quoteIdentifier(table), nomi.join(u','))
                                  .toUtf8();
    auto errore = [&](const char* testo) {
        throw Errore(QStringLiteral("Errore del database: %1\nIstruzione: %2")
                         .arg(QString::fromUtf8(testo).trimmed(), QString::fromUtf8(inizio)));
    };
    PGresult* r = PQexec(conn, inizio.constData());
    const bool pronto = PQresultStatus(r) == PGRES_COPY_IN;
    if (!pronto) {
        const QByteArray testo = PQresultErrorMessage(r);
        PQclear(r);
        errore(testo.constData());
    }
    PQclear(r);
    // The rows in the server's text format: tab between values, \N for
    // Null, backslash escapes in text.
    QByteArray riga;
    QByteArray blocco;
    for (const auto& valori : rows) {
        riga.clear();
        for (size_t i = 0; i < valori.size(); ++i) {
            if (i) riga += '\t';
            riga += TestoPerCopia(toEngine(valori[i]));
        }
        riga += '\n';
        blocco += riga;
        if (blocco.size() > (1 << 20)) {
            if (PQputCopyData(conn, blocco.constData(), int(blocco.size())) != 1)
                errore(PQerrorMessage(conn));
            blocco.clear();
        }
    }
    if (!blocco.isEmpty() && PQputCopyData(conn, blocco.constData(), int(blocco.size())) != 1)
        errore(PQerrorMessage(conn));
    if (PQputCopyEnd(conn, nullptr) != 1) errore(PQerrorMessage(conn));
    QByteArray problema;
    while (PGresult* fine = PQgetResult(conn)) {
        if (PQresultStatus(fine) != PGRES_COMMAND_OK && problema.isEmpty())
            problema = PQresultErrorMessage(fine);
        PQclear(fine);
    }
    if (!problema.isEmpty()) errore(problema.constData());
}

QStringList PostgresDialect::integrityProblems(QSqlDatabase& db) const {
    // The server keeps its own pages sound; what can be checked from here is
    // that every table reads from start to end.
    QStringList problemi;
    for (const QString& t : tables(db)) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SELECT count(*) FROM %1").arg(quoteIdentifier(t))))
            problemi << QStringLiteral("%1: %2").arg(t, q.lastError().text());
    }
    return problemi;
}

QString PostgresDialect::invalidDateCondition(const QString& /*column*/) const {
    // A date column holds only valid days.
    return QStringLiteral("(1=0)");
}

QString PostgresDialect::notFiniteCondition(const QString& column) const {
    return QStringLiteral(
               "(%1 IS NOT NULL AND %1 IN ('NaN'::float8, 'Infinity'::float8, "
               "'-Infinity'::float8))")
        .arg(column);
}

const PostgresDialect::Catalogo& PostgresDialect::catalogo(QSqlDatabase& db) const {
    if (catalogo_) return *catalogo_;
    auto c = std::make_unique<Catalogo>();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral(
            "SELECT c.oid, coalesce(obj_description(c.oid, 'pg_class'), c.relname), a.attnum, "
            "coalesce(col_description(c.oid, a.attnum), a.attname), "
            "format_type(a.atttypid, a.atttypmod) "
            "FROM pg_class c JOIN pg_attribute a ON a.attrelid = c.oid "
            "WHERE c.relnamespace = current_schema()::regnamespace AND c.relkind = 'r' "
            "AND a.attnum > 0 AND NOT a.attisdropped ORDER BY c.relname, a.attnum")))
        Fail(q, QStringLiteral("catalogo"));
    while (q.next()) {
        const quint32 oid = q.value(0).toUInt();
        Tabella& t = c->perOid[oid];
        if (t.nome.isEmpty()) {
            t.nome = q.value(1).toString();
            c->oidPerNome.insert(t.nome.toLower(), oid);
            c->nomi << t.nome;
        }
        Colonna col;
        col.numero = q.value(2).toInt();
        col.info.name = q.value(3).toString();
        col.info.type = typeFromDeclaration(q.value(4).toString(), &col.info.maxLength);
        col.info.primaryKey = col.info.name.compare(u"id", Qt::CaseInsensitive) == 0;
        t.colonne.push_back(std::move(col));
    }
    // A citext column with a check on its length is a Text of that length.
    static const QRegularExpression lunghezza(
        QStringLiteral("char_length\\(\\(?\"?(\\w+)\"?\\)?(?:::\\w+)?\\)\\s*<=\\s*(\\d+)"));
    if (!q.exec(QStringLiteral(
            "SELECT conrelid, pg_get_constraintdef(oid) FROM pg_constraint "
            "WHERE contype = 'c' AND connamespace = current_schema()::regnamespace")))
        Fail(q, QStringLiteral("catalogo"));
    while (q.next()) {
        auto it = c->perOid.find(q.value(0).toUInt());
        const auto m = lunghezza.match(q.value(1).toString());
        if (it == c->perOid.end() || !m.hasMatch()) continue;
        for (Colonna& col : it->colonne) {
            if (col.info.name.compare(m.captured(1), Qt::CaseInsensitive) == 0 &&
                (col.info.type == FieldType::Memo || col.info.type == FieldType::Text)) {
                col.info.type = FieldType::Text;
                col.info.maxLength = m.captured(2).toInt();
            }
        }
    }
    c->nomi.sort(Qt::CaseInsensitive);
    catalogo_ = std::move(c);
    return *catalogo_;
}

void PostgresDialect::forgetCatalog() const {
    catalogo_.reset();
}

QStringList PostgresDialect::tables(QSqlDatabase& db) const {
    return catalogo(db).nomi;
}

std::vector<ColumnInfo> PostgresDialect::columns(QSqlDatabase& db, const QString& table) const {
    const Catalogo& c = catalogo(db);
    std::vector<ColumnInfo> out;
    const auto it = c.oidPerNome.constFind(table.toLower());
    if (it == c.oidPerNome.constEnd()) return out;
    for (const Colonna& col : c.perOid.value(*it).colonne)
        out.push_back(col.info);
    return out;
}

std::vector<ResultColumn> PostgresDialect::resultColumns(const QSqlQuery& query,
                                                         const QString& statement) const {
    // Named as on SQLite: a table's column by its declaration, an alias or an
    // expression as the select list writes it (the server gives lower case).
    static const QRegularExpression from(QStringLiteral("\\bfrom\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
    const qsizetype fine = statement.indexOf(from);
    const QString lista = fine < 0 ? statement : statement.left(fine);
    std::vector<ResultColumn> cols;
    const QSqlRecord rec = query.record();
    const PGresult* res = ResultHandle(query);
    cols.reserve(size_t(rec.count()));
    for (int i = 0; i < rec.count(); ++i) {
        ResultColumn c;
        const QSqlField f = rec.field(i);
        c.name = f.name();
        if (const Colonna* col = res ? colonnaDi(res, i) : nullptr) {
            c.table = catalogo(db_).perOid.value(quint32(PQftable(res, i))).nome;
            c.type = col->info.type;
            c.maxLength = col->info.maxLength;
            if (c.name == col->info.name.toLower()) {
                c.name = col->info.name;
                cols.push_back(std::move(c));
                continue;
            }
        } else {
            c.type = TipoDelValore(f);
        }
        const QRegularExpression scritto(
            QStringLiteral("\\b%1\\b").arg(QRegularExpression::escape(c.name)),
            QRegularExpression::CaseInsensitiveOption);
        if (const auto m = scritto.match(lista); m.hasMatch()) c.name = m.captured(0);
        cols.push_back(std::move(c));
    }
    return cols;
}

const PostgresDialect::Colonna* PostgresDialect::colonnaDi(const PGresult* res, int i) const {
    if (!db_.isValid()) return nullptr;
    const Catalogo& cat = catalogo(db_);
    const auto t = cat.perOid.constFind(quint32(PQftable(res, i)));
    if (t == cat.perOid.constEnd()) return nullptr;
    const int numero = PQftablecol(res, i);
    for (const Colonna& col : t->colonne) {
        if (col.numero == numero) return &col;
    }
    return nullptr;
}

qint64 PostgresDialect::insertedId(const QSqlQuery& query) const {
    // The id comes back as the row of RETURNING, read by the connection.
    return query.lastInsertId().toLongLong();
}

QString PostgresDialect::keyDefinition(bool /*maiRiusato*/) const {
    // An identity column never gives an id twice.
    return QStringLiteral("id integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
}

QString PostgresDialect::beginTransaction() const {
    return QStringLiteral("BEGIN; SELECT pg_advisory_xact_lock(%1)").arg(kChiaveScrittura);
}

}  // namespace incassi
