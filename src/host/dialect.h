#pragma once

// What differs between database engines: identifiers, row limits, functions,
// how values are bound and read back, column types, transactions and the
// catalogue. One small class per engine; nothing engine-specific lives
// outside it.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

#include "host/fieldtype.h"

namespace incassi {

// A column of a query's result: its name, the table it comes from (empty for
// expressions) and its type when the engine knows it.
struct ResultColumn {
    QString name;
    QString table;
    FieldType type = FieldType::Unknown;
    int maxLength = 0;
};

class Dialect {
  public:
    virtual ~Dialect() = default;

    virtual QString name() const = 0;
    virtual QString quoteIdentifier(const QString& name) const = 0;
    // Text appended to a select to keep its first n rows.
    virtual QString limitClause(int n) const = 0;
    virtual QString concatOperator() const = 0;
    // Engine function for a classic function name, or empty when unknown.
    virtual QString functionName(const QString& lowerName) const = 0;
    virtual QString todayExpression() const = 0;
    virtual QString nowExpression() const = 0;
    // The pattern match that ignores case, and the words after an ORDER BY
    // key that put Nulls first ascending and last descending.
    virtual QString likeOperator() const { return QStringLiteral("LIKE"); }
    virtual QString nullsOrder(bool /*descending*/) const { return QString(); }
    // Words after an index's column so the index serves that ordering both
    // ways.
    virtual QString indexNullsOrder() const { return QString(); }
    // Whether a plain index must name the key `id` last to keep rows of equal
    // values in key order, as SQLite's indexes do by their row id: a list
    // ordered by a date and then the key reads it straight from the index.
    virtual bool indexEndsWithKey() const { return false; }
    // Whether results may be read as a stream (no other statement meanwhile).
    virtual bool forwardOnly() const { return true; }

    // A value as it is bound into a statement.
    virtual QVariant toEngine(const QVariant& value) const = 0;
    // A value read from the engine, in the type of its column.
    virtual QVariant fromEngine(const QVariant& raw, FieldType type) const = 0;

    // The counter key `id`; with `maiRiusato` an id once given is never given
    // again, even after its row is deleted.
    virtual QString keyDefinition(bool maiRiusato) const = 0;
    // Whether the table's key already never gives an id twice.
    virtual bool keyNeverReused(QSqlDatabase& db, const QString& table) const = 0;

    // Column DDL and its reading back.
    virtual QString columnTypeSql(FieldType type, int maxLength) const = 0;
    virtual FieldType typeFromDeclaration(const QString& decl, int* maxLength) const = 0;
    // A check written after a column's type (its length, where the type has none).
    virtual QString columnCheck(const QString& /*column*/, FieldType, int /*maxLength*/) const {
        return QString();
    }
    // Statements that keep a table's or column's declared spelling (column
    // empty: the table's).
    virtual QStringList nameNotes(const QString& /*table*/, const QString& /*column*/) const {
        return {};
    }
    // Statements run before a schema is first created in a database.
    virtual QStringList schemaPreamble() const { return {}; }
    // Statements that move a table's counter past ids written explicitly.
    virtual QStringList keySync(const QString& /*table*/) const { return {}; }

    // Settings of a new connection; a read-only one changes nothing in the file.
    virtual void configureConnection(QSqlDatabase& db, bool soloLettura) const = 0;
    // Whether the connection to the engine is lost (a server that went away).
    virtual bool connectionLost(QSqlDatabase& /*db*/) const { return false; }
    // The engine's own check of the file: one line per problem, none when sound.
    virtual QStringList integrityProblems(QSqlDatabase& db) const = 0;
    // Conditions on a column: true for a value that is not a valid date, and
    // for a value that is not a finite number.
    virtual QString invalidDateCondition(const QString& column) const = 0;
    virtual QString notFiniteCondition(const QString& column) const = 0;
    virtual QStringList tables(QSqlDatabase& db) const = 0;
    virtual std::vector<ColumnInfo> columns(QSqlDatabase& db, const QString& table) const = 0;
    // Columns of an executed query (names, source tables, declared types);
    // `statement` is the text the caller wrote, for the names of expressions.
    virtual std::vector<ResultColumn> resultColumns(const QSqlQuery& query,
                                                    const QString& statement) const = 0;
    // Text after an INSERT that returns the new id as a row (empty: the
    // engine gives it with the statement, read by insertedId).
    virtual QString returningId() const { return QString(); }
    virtual qint64 insertedId(const QSqlQuery& query) const = 0;
    // Whether bulkCopy can load rows faster than inserts; and the loading of
    // `rows` (values in `columns` order) into `table`, throwing Errore.
    virtual bool hasBulkCopy() const { return false; }
    virtual void bulkCopy(QSqlDatabase& /*db*/, const QString& /*table*/,
                          const QStringList& /*columns*/,
                          const std::vector<std::vector<QVariant>>& /*rows*/) const {}
    // Statements after a large load (the planner's statistics).
    virtual QStringList afterBulkLoad() const { return {}; }
    // Forgets what was read of the catalogue (a statement changed it).
    virtual void forgetCatalog() const {}

    virtual QString beginTransaction() const = 0;
    virtual QString commitTransaction() const = 0;
    virtual QString rollbackTransaction() const = 0;
    // Savepoints, written alike by the engines this program knows.
    virtual QString savepoint(const QString& name) const {
        return QStringLiteral("SAVEPOINT %1").arg(name);
    }
    virtual QString releaseSavepoint(const QString& name) const {
        return QStringLiteral("RELEASE SAVEPOINT %1").arg(name);
    }
    virtual QString rollbackToSavepoint(const QString& name) const {
        return QStringLiteral("ROLLBACK TO SAVEPOINT %1").arg(name);
    }
};

}  // namespace incassi
