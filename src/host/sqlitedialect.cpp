#include "host/sqlitedialect.h"

#include <sqlite3.h>

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlResult>

#include "values/error.h"

namespace incassi {

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The digits at s[from, from + n), or -1 when any is not a digit.
int Cifre(QStringView s, qsizetype from, int n) {
    int v = 0;
    for (qsizetype i = from; i < from + n; ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9') return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

// "yyyy-MM-dd" as the engine stores it, read without the general parser
// (dates are read by the thousand); anything else: an invalid date.
QDate GiornoRapido(QStringView s) {
    if (s.size() < 10 || s[4] != u'-' || s[7] != u'-') return {};
    const int y = Cifre(s, 0, 4), m = Cifre(s, 5, 2), d = Cifre(s, 8, 2);
    return y < 0 || m < 0 || d < 0 ? QDate() : QDate(y, m, d);
}

// "yyyy-MM-dd HH:mm:ss", the same way.
QDateTime IstanteRapido(QStringView s) {
    if (s.size() != 19 || s[10] != u' ' || s[13] != u':' || s[16] != u':') return {};
    const QDate d = GiornoRapido(s);
    const int h = Cifre(s, 11, 2), mi = Cifre(s, 14, 2), se = Cifre(s, 17, 2);
    if (!d.isValid() || h < 0 || mi < 0 || se < 0) return {};
    const QTime t(h, mi, se);
    return t.isValid() ? QDateTime(d, t) : QDateTime();
}

sqlite3_stmt* StatementHandle(const QSqlQuery& query) {
    const QSqlResult* result = query.result();
    if (!result) return nullptr;
    QVariant v = result->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3_stmt*") != 0) return nullptr;
    return *static_cast<sqlite3_stmt* const*>(v.constData());
}

}  // namespace

QString SqliteDialect::quoteIdentifier(const QString& name) const {
    QString q = name;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

QString SqliteDialect::limitClause(int n) const {
    return QStringLiteral(" LIMIT %1").arg(n);
}

QString SqliteDialect::functionName(const QString& lowerName) const {
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
        {QStringLiteral("len"), QStringLiteral("length")},
        {QStringLiteral("trim"), QStringLiteral("trim")},
        {QStringLiteral("ltrim"), QStringLiteral("ltrim")},
        {QStringLiteral("rtrim"), QStringLiteral("rtrim")},
        {QStringLiteral("coalesce"), QStringLiteral("coalesce")},
        {QStringLiteral("nz"), QStringLiteral("coalesce")},
    };
    return names.value(lowerName);
}

QString SqliteDialect::todayExpression() const {
    return QStringLiteral("date('now','localtime')");
}

QString SqliteDialect::nowExpression() const {
    return QStringLiteral("datetime('now','localtime')");
}

namespace {

// SQLite reads UTF-16 text taking any surrogate as the first half of a pair:
// a lone one would swallow the character after it. It goes in as U+FFFD.
QVariant TestoIntero(const QString& testo) {
    qsizetype i = 0;
    const qsizetype n = testo.size();
    auto solitario = [&](qsizetype k) {
        const QChar c = testo[k];
        if (c.isHighSurrogate()) return k + 1 >= n || !testo[k + 1].isLowSurrogate();
        return c.isLowSurrogate() && (k == 0 || !testo[k - 1].isHighSurrogate());
    };
    for (; i < n; ++i)
        if (solitario(i)) break;
    if (i == n) return testo;
    QString sano = testo;
    for (; i < n; ++i)
        if (solitario(i)) sano[i] = QChar::ReplacementCharacter;
    return sano;
}

}  // namespace

QVariant SqliteDialect::toEngine(const QVariant& value) const {
    if (value.isNull()) return value;
    switch (value.typeId()) {
        case QMetaType::QString:
            return TestoIntero(value.toString());
        case QMetaType::QDate:
            return value.toDate().toString(kDateFormat);
        case QMetaType::QDateTime:
            return value.toDateTime().toString(kDateTimeFormat);
        case QMetaType::Bool:
            return value.toBool() ? qlonglong(-1) : qlonglong(0);
        default:
            return value;
    }
}

QVariant SqliteDialect::fromEngine(const QVariant& raw, FieldType type) const {
    if (raw.isNull()) return QVariant();
    switch (type) {
        case FieldType::Date:
            if (raw.typeId() == QMetaType::QString) {
                const QString s = raw.toString();
                QDate d = GiornoRapido(s);
                if (!d.isValid()) d = QDate::fromString(s.left(10), kDateFormat);
                return d.isValid() ? QVariant(d) : raw;
            }
            return raw;
        case FieldType::DateTime:
            if (raw.typeId() == QMetaType::QString) {
                const QString s = raw.toString();
                QDateTime dt = IstanteRapido(s);
                if (!dt.isValid()) dt = QDateTime::fromString(s, kDateTimeFormat);
                if (!dt.isValid()) dt = QDateTime::fromString(s, Qt::ISODate);
                if (!dt.isValid() && s.size() == 10) {
                    dt = QDateTime(QDate::fromString(s, kDateFormat), QTime(0, 0));
                }
                return dt.isValid() ? QVariant(dt) : raw;
            }
            return raw;
        case FieldType::Double:
            if (raw.typeId() == QMetaType::LongLong) return double(raw.toLongLong());
            return raw;
        default:
            return raw;
    }
}

QString SqliteDialect::columnTypeSql(FieldType type, int maxLength) const {
    switch (type) {
        case FieldType::Integer:
            return QStringLiteral("INTEGER");
        case FieldType::Double:
            return QStringLiteral("DOUBLE");
        case FieldType::Text:
            return QStringLiteral("VARCHAR(%1) COLLATE NOCASE")
                .arg(maxLength > 0 ? maxLength : 255);
        case FieldType::Memo:
            return QStringLiteral("TEXT COLLATE NOCASE");
        case FieldType::Date:
            return QStringLiteral("DATE");
        case FieldType::DateTime:
            return QStringLiteral("DATETIME");
        case FieldType::Flag:
            return QStringLiteral("BOOLEAN");
        case FieldType::Blob:
            return QStringLiteral("BLOB");
        case FieldType::Unknown:
            break;
    }
    return QString();
}

FieldType SqliteDialect::typeFromDeclaration(const QString& decl, int* maxLength) const {
    if (maxLength) *maxLength = 0;
    static const QRegularExpression sized(QStringLiteral("^\\s*(\\w+)\\s*\\(\\s*(\\d+)"));
    const QString upper = decl.trimmed().toUpper();
    if (upper.isEmpty()) return FieldType::Unknown;
    QString base = upper.section(u' ', 0, 0).section(u'(', 0, 0);
    if (auto m = sized.match(upper); m.hasMatch()) {
        base = m.captured(1);
        if (maxLength) *maxLength = m.captured(2).toInt();
    }
    if (base == u"INTEGER" || base == u"INT" || base == u"SMALLINT" || base == u"BIGINT" ||
        base == u"COUNTER" || base == u"LONG") {
        return FieldType::Integer;
    }
    if (base == u"DOUBLE" || base == u"REAL" || base == u"FLOAT" || base == u"NUMERIC" ||
        base == u"CURRENCY" || base == u"DECIMAL") {
        return FieldType::Double;
    }
    if (base == u"VARCHAR" || base == u"CHAR" || base == u"NVARCHAR") return FieldType::Text;
    if (base == u"TEXT") return (maxLength && *maxLength > 0) ? FieldType::Text : FieldType::Memo;
    if (base == u"MEMO" || base == u"CLOB") return FieldType::Memo;
    if (base == u"DATE") return FieldType::Date;
    if (base == u"DATETIME" || base == u"TIMESTAMP") return FieldType::DateTime;
    if (base == u"BOOLEAN" || base == u"BIT" || base == u"YESNO") return FieldType::Flag;
    if (base == u"BLOB") return FieldType::Blob;
    return FieldType::Unknown;
}

void SqliteDialect::configureConnection(QSqlDatabase& db, bool soloLettura) const {
    QSqlQuery q(db);
    // Changing the journal mode would write the file.
    const std::vector<const char*> pragmi =
        soloLettura
            ? std::vector<const char*>{"PRAGMA temp_store=MEMORY", "PRAGMA query_only=1"}
            : std::vector<const char*>{"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL",
                                       "PRAGMA temp_store=MEMORY", "PRAGMA foreign_keys=OFF"};
    for (const char* pragma : pragmi) {
        if (!q.exec(QString::fromLatin1(pragma))) {
            throw Errore(QStringLiteral("Impossibile configurare il database (%1): %2")
                             .arg(QString::fromLatin1(pragma), q.lastError().text()));
        }
    }
}

QStringList SqliteDialect::integrityProblems(QSqlDatabase& db) const {
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA integrity_check(100)")))
        return {q.lastError().databaseText().isEmpty() ? q.lastError().text()
                                                       : q.lastError().databaseText()};
    QStringList problemi;
    while (q.next()) {
        const QString riga = q.value(0).toString();
        if (riga.compare(u"ok", Qt::CaseInsensitive) != 0) problemi << riga;
    }
    if (q.lastError().isValid()) problemi << q.lastError().text();
    return problemi;
}

QString SqliteDialect::invalidDateCondition(const QString& column) const {
    // Dates are stored as yyyy-mm-dd texts: anything else, or a day that does
    // not exist (moved by zero days it becomes another day, or nothing), is
    // unreadable.
    return QStringLiteral(
               "(%1 IS NOT NULL AND (typeof(%1) <> 'text' OR date(%1, '+0 days') IS NULL OR "
               "date(%1, '+0 days') <> substr(%1, 1, 10)))")
        .arg(column);
}

QString SqliteDialect::notFiniteCondition(const QString& column) const {
    // SQLite keeps no NaN (it stores Null); infinities and texts are the faults.
    return QStringLiteral(
               "(%1 IS NOT NULL AND (typeof(%1) NOT IN ('integer', 'real') OR abs(%1) > 1e308))")
        .arg(column);
}

QString SqliteDialect::keyDefinition(bool maiRiusato) const {
    // AUTOINCREMENT keeps the highest id ever given, so a deleted last row's
    // id is not given again.
    return quoteIdentifier(QStringLiteral("id")) + QStringLiteral(" INTEGER PRIMARY KEY") +
           (maiRiusato ? QStringLiteral(" AUTOINCREMENT") : QString());
}

bool SqliteDialect::keyNeverReused(QSqlDatabase& db, const QString& table) const {
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "SELECT sql FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE"));
    q.addBindValue(table);
    if (!q.exec() || !q.next()) return false;
    return q.value(0).toString().contains(QStringLiteral("AUTOINCREMENT"), Qt::CaseInsensitive);
}

QStringList SqliteDialect::tables(QSqlDatabase& db) const {
    QStringList names;
    QSqlQuery q(db);
    q.exec(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite\\_%' ESCAPE "
        "'\\' ORDER BY name"));
    while (q.next())
        names << q.value(0).toString();
    return names;
}

std::vector<ColumnInfo> SqliteDialect::columns(QSqlDatabase& db, const QString& table) const {
    std::vector<ColumnInfo> cols;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoteIdentifier(table)))) return cols;
    while (q.next()) {
        ColumnInfo c;
        c.name = q.value(1).toString();
        c.type = typeFromDeclaration(q.value(2).toString(), &c.maxLength);
        c.primaryKey = q.value(5).toInt() > 0;
        cols.push_back(std::move(c));
    }
    return cols;
}

std::vector<ResultColumn> SqliteDialect::resultColumns(const QSqlQuery& query,
                                                       const QString& /*statement*/) const {
    std::vector<ResultColumn> cols;
    const QSqlRecord rec = query.record();
    sqlite3_stmt* stmt = StatementHandle(query);
    cols.reserve(rec.count());
    for (int i = 0; i < rec.count(); ++i) {
        ResultColumn c;
        c.name = rec.fieldName(i);
        if (stmt) {
            if (const char* t = sqlite3_column_table_name(stmt, i)) c.table = QString::fromUtf8(t);
            if (const char* d = sqlite3_column_decltype(stmt, i)) {
                c.type = typeFromDeclaration(QString::fromUtf8(d), &c.maxLength);
            }
        }
        cols.push_back(std::move(c));
    }
    return cols;
}

qint64 SqliteDialect::insertedId(const QSqlQuery& query) const {
    return query.lastInsertId().toLongLong();
}

}  // namespace incassi
