#pragma once

// Translation of the classic SQL dialect for one engine. Statements are keyed
// by their shape (literals lifted out by the lexer), so a statement repeated
// with other values reuses its translation; the literals travel as bound
// values in the order they appear.

#include <QHash>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

#include "host/dialect.h"
#include "host/sqllexer.h"

namespace incassi {

enum class StatementKind { Select, Insert, Update, Delete };

struct OrderKey {
    QString column;  // unqualified column name as written
    QString sql;     // the key as it stands in the statement (maybe qualified)
    bool descending = false;
};

// The pieces of a select over one table, for paging and counting by key.
struct SelectParts {
    QString head;   // SELECT ... FROM table [alias]
    QString from;   // FROM table [alias]
    QString where;  // condition without WHERE, empty when none
    int headParams = 0;
    int whereParams = 0;
    std::vector<OrderKey> order;  // empty when the statement has no ORDER BY
};

struct Translation {
    QString sql;  // the statement for the engine, with ? for every lifted literal
    StatementKind kind = StatementKind::Select;
    // The one table a plain select reads (no join, grouping, distinct, top or
    // aggregate): its rows can be updated and paged by key.
    QString table;
    bool hasParts = false;
    SelectParts parts;
    // Lifted numbers written with a minus sign before them: the sign goes
    // into the value (a bare "- ?" has no type some engines can choose).
    std::vector<int> negated;
};

class SqlTranslator {
  public:
    explicit SqlTranslator(const Dialect& dialect) : dialect_(dialect) {}

    // Translates `sql`; `params` receives the lifted literals in bind order.
    // Throws Errore naming the statement when it cannot be translated.
    std::shared_ptr<const Translation> translate(const QString& sql, std::vector<QVariant>& params);

    struct Stats {
        qint64 exactHits = 0, shapeHits = 0, misses = 0;
    };
    const Stats& stats() const { return stats_; }
    void clear();

  private:
    struct Exact {
        std::shared_ptr<const Translation> translation;
        std::vector<QVariant> params;
    };
    static constexpr int kMaxEntries = 4096;

    const Dialect& dialect_;
    Lexed scratch_;
    QHash<QString, Exact> byText_;
    QHash<QString, std::shared_ptr<const Translation>> byShape_;
    Stats stats_;
};

// Translation without caching (used by the translator and by tests).
Translation TranslateClassicSql(const QString& sql, const Lexed& lexed, const Dialect& dialect);

}  // namespace incassi
