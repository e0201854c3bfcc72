#pragma once

#include <QHash>
#include <memory>

#include "host/dialect.h"

struct pg_result;

namespace incassi {

// PostgreSQL: names are kept in lower case (the engine folds unquoted names),
// with the declared spelling in the column's and table's comment so results
// come back named as on SQLite. Text is citext, compared, matched and sorted
// without regard to case; a Text column's length is a check on its length.
// Flags are smallint 0 / -1, dates `date`, iddata `timestamp(0)`, keys
// identity columns. Every writing transaction first takes one advisory lock,
// so writers follow each other as they do on SQLite.
class PostgresDialect final : public Dialect {
  public:
    QString name() const override { return QStringLiteral("PostgreSQL"); }
    QString quoteIdentifier(const QString& name) const override;
    QString limitClause(int n) const override;
    QString concatOperator() const override { return QStringLiteral("||"); }
    QString functionName(const QString& lowerName) const override;
    QString todayExpression() const override { return QStringLiteral("CURRENT_DATE"); }
    QString nowExpression() const override { return QStringLiteral("LOCALTIMESTAMP(0)"); }
    QString likeOperator() const override { return QStringLiteral("ILIKE"); }
    QString nullsOrder(bool descending) const override;
    QString indexNullsOrder() const override { return QStringLiteral(" NULLS FIRST"); }
    bool indexEndsWithKey() const override { return true; }
    bool forwardOnly() const override { return false; }

    QVariant toEngine(const QVariant& value) const override;
    QVariant fromEngine(const QVariant& raw, FieldType type) const override;

    QString columnTypeSql(FieldType type, int maxLength) const override;
    QString columnCheck(const QString& column, FieldType type, int maxLength) const override;
    QStringList nameNotes(const QString& table, const QString& column) const override;
    FieldType typeFromDeclaration(const QString& decl, int* maxLength) const override;
    QStringList schemaPreamble() const override;

    void configureConnection(QSqlDatabase& db, bool soloLettura) const override;
    bool connectionLost(QSqlDatabase& db) const override;
    QStringList integrityProblems(QSqlDatabase& db) const override;
    QString invalidDateCondition(const QString& column) const override;
    QString notFiniteCondition(const QString& column) const override;
    QStringList tables(QSqlDatabase& db) const override;
    std::vector<ColumnInfo> columns(QSqlDatabase& db, const QString& table) const override;
    std::vector<ResultColumn> resultColumns(const QSqlQuery& query,
                                            const QString& statement) const override;
    QString returningId() const override { return QStringLiteral(" RETURNING id"); }
    qint64 insertedId(const QSqlQuery& query) const override;
    void forgetCatalog() const override;
    bool hasBulkCopy() const override { return true; }
    void bulkCopy(QSqlDatabase& db, const QString& table, const QStringList& columns,
                  const std::vector<std::vector<QVariant>>& rows) const override;
    QStringList afterBulkLoad() const override { return {QStringLiteral("ANALYZE")}; }
    QStringList keySync(const QString& table) const override;

    QString keyDefinition(bool maiRiusato) const override;
    bool keyNeverReused(QSqlDatabase&, const QString&) const override { return true; }
    QString beginTransaction() const override;
    QString commitTransaction() const override { return QStringLiteral("COMMIT"); }
    QString rollbackTransaction() const override { return QStringLiteral("ROLLBACK"); }

  private:
    struct Colonna {
        ColumnInfo info;
        int numero = 0;  // attnum
    };
    struct Tabella {
        QString nome;  // as declared
        std::vector<Colonna> colonne;
    };
    // The catalogue of the connection's schema, read once and kept until a
    // statement changes it.
    struct Catalogo {
        QHash<quint32, Tabella> perOid;
        QHash<QString, quint32> oidPerNome;  // lower-case name -> oid
        QStringList nomi;
    };
    const Catalogo& catalogo(QSqlDatabase& db) const;
    // The table column the result's column i reads, if any.
    const Colonna* colonnaDi(const pg_result* res, int i) const;

    mutable std::unique_ptr<Catalogo> catalogo_;
    mutable QSqlDatabase db_;  // the connection, for catalogue reads
};

}  // namespace incassi
