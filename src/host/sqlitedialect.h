#pragma once

#include "host/dialect.h"

namespace incassi {

// SQLite: text compares without regard to case through COLLATE NOCASE on every
// text column, dates are stored as 'yyyy-mm-dd' text and timestamps as
// 'yyyy-mm-dd hh:mm:ss', flags as integers 0 / -1. The file runs in WAL mode
// with full sync so a committed save survives a power loss.
class SqliteDialect final : public Dialect {
  public:
    QString name() const override { return QStringLiteral("SQLite"); }
    QString quoteIdentifier(const QString& name) const override;
    QString limitClause(int n) const override;
    QString concatOperator() const override { return QStringLiteral("||"); }
    QString functionName(const QString& lowerName) const override;
    QString todayExpression() const override;
    QString nowExpression() const override;

    QVariant toEngine(const QVariant& value) const override;
    QVariant fromEngine(const QVariant& raw, FieldType type) const override;

    QString columnTypeSql(FieldType type, int maxLength) const override;
    FieldType typeFromDeclaration(const QString& decl, int* maxLength) const override;

    void configureConnection(QSqlDatabase& db, bool soloLettura) const override;
    QStringList integrityProblems(QSqlDatabase& db) const override;
    QString invalidDateCondition(const QString& column) const override;
    QString notFiniteCondition(const QString& column) const override;
    QStringList tables(QSqlDatabase& db) const override;
    std::vector<ColumnInfo> columns(QSqlDatabase& db, const QString& table) const override;
    std::vector<ResultColumn> resultColumns(const QSqlQuery& query,
                                            const QString& statement) const override;
    qint64 insertedId(const QSqlQuery& query) const override;

    QString keyDefinition(bool maiRiusato) const override;
    bool keyNeverReused(QSqlDatabase& db, const QString& table) const override;
    QString beginTransaction() const override { return QStringLiteral("BEGIN IMMEDIATE"); }
    QString commitTransaction() const override { return QStringLiteral("COMMIT"); }
    QString rollbackTransaction() const override { return QStringLiteral("ROLLBACK"); }
};

}  // namespace incassi
