// Paged reading of a record set, by key: the next page after the last row
// held, the last page of the list, and the page before the first row held.

#include "host/recordset_pager.h"

#include <algorithm>

#include "host/database.h"
#include "values/values.h"

namespace incassi {

bool RecordSet::Pager::descending(size_t k, bool reversed) const {
    const auto& order = tr->parts.order;
    // The id follows the direction of the last key.
    const bool desc =
        k < order.size() ? order[k].descending : (!order.empty() && order.back().descending);
    return desc != reversed;
}

QString RecordSet::Pager::orderBy(bool reversed, const Dialect& d) const {
    QStringList keys;
    const auto& order = tr->parts.order;
    for (size_t k = 0; k <= order.size(); ++k) {
        const bool desc = descending(k, reversed);
        // The key is never Null: no words about Nulls, so its index serves.
        const QString nulls = k < order.size() ? d.nullsOrder(desc) : QString();
        keys << (k < order.size() ? order[k].sql : QStringLiteral("id")) +
                    (desc ? QStringLiteral(" DESC") : QString()) +
                    (nulls.isEmpty() ? QString() : u' ' + nulls);
    }
    return keys.join(QStringLiteral(", "));
}

QStringList RecordSet::Pager::conditions(std::vector<QVariant>& out) const {
    const SelectParts& p = tr->parts;
    QStringList conds;
    if (!p.where.isEmpty()) {
        conds << u'(' + p.where + u')';
        out.insert(out.end(), params.begin() + p.headParams,
                   params.begin() + p.headParams + p.whereParams);
    }
    if (!filterSql.isEmpty()) {
        conds << filterSql;
        out.insert(out.end(), filterParams.begin(), filterParams.end());
    }
    return conds;
}

// For each key (k1, ..., kn, id), the rows equal on the keys before it and
// past it on this one. Null sorts first ascending and last descending.
QString RecordSet::Pager::after(const std::vector<QVariant>& key, bool reversed,
                                std::vector<QVariant>& out) const {
    const auto& order = tr->parts.order;
    QStringList alternatives;
    QStringList equalSoFar;
    std::vector<QVariant> equalParams;
    for (size_t k = 0; k <= order.size(); ++k) {
        const QString col = k < order.size() ? order[k].sql : QStringLiteral("id");
        const bool desc = descending(k, reversed);
        const QVariant& v = key[k];
        QString cond;
        std::vector<QVariant> condParams;
        if (IsNull(v)) {
            cond = desc ? QString() : col + QStringLiteral(" IS NOT NULL");
        } else {
            cond = desc ? QStringLiteral("(%1 < ? OR %1 IS NULL)").arg(col)
                        : QStringLiteral("%1 > ?").arg(col);
            condParams.push_back(v);
        }
        if (!cond.isEmpty()) {
            QStringList all = equalSoFar;
            all << cond;
            alternatives << u'(' + all.join(QStringLiteral(" AND ")) + u')';
            out.insert(out.end(), equalParams.begin(), equalParams.end());
            out.insert(out.end(), condParams.begin(), condParams.end());
        }
        if (IsNull(v)) {
            equalSoFar << col + QStringLiteral(" IS NULL");
        } else {
            equalSoFar << col + QStringLiteral(" = ?");
            equalParams.push_back(v);
        }
    }
    if (alternatives.isEmpty()) return QStringLiteral("(1=0)");
    return u'(' + alternatives.join(QStringLiteral(" OR ")) + u')';
}

std::optional<QString> RecordSet::Pager::bound(const std::vector<QVariant>& key, bool reversed,
                                               std::vector<QVariant>& out,
                                               bool& nullsFollow) const {
    nullsFollow = false;
    const auto& order = tr->parts.order;
    // Ordered by id alone, the condition is already a range; after a Null
    // first key, the Null rows are a range of their own.
    if (order.empty() || IsNull(key[0])) return std::nullopt;
    out.push_back(key[0]);
    if (descending(0, reversed)) {
        nullsFollow = true;
        return order[0].sql + QStringLiteral(" <= ?");
    }
    return order[0].sql + QStringLiteral(" >= ?");
}

QueryResult RecordSet::readPage(const std::vector<QVariant>& key, bool reversed) {
    Pager& p = *pager_;
    auto leggi = [&](QStringList conds, std::vector<QVariant> params, int limite) {
        QString sql = p.tr->parts.head;
        if (!conds.isEmpty())
            sql += QStringLiteral(" WHERE ") + conds.join(QStringLiteral(" AND "));
        sql += QStringLiteral(" ORDER BY ") + p.orderBy(reversed, db_->dialect()) +
               db_->dialect().limitClause(limite);
        return db_->queryNative(sql, params, sql_);
    };
    std::vector<QVariant> params(p.params.begin(), p.params.begin() + p.tr->parts.headParams);
    const std::vector<QVariant> testa = params;
    QStringList conds = p.conditions(params);
    const QStringList comuni = conds;
    bool nullsFollow = false;
    if (!key.empty()) {
        conds << p.after(key, reversed, params);
        if (auto b = p.bound(key, reversed, params, nullsFollow)) conds << *b;
    }
    QueryResult result = leggi(conds, params, p.pageSize);
    if (nullsFollow && result.count() < p.pageSize) {
        // The rows whose first key is Null, after every other.
        std::vector<QVariant> altri = testa;
        QStringList nulli = p.conditions(altri);
        nulli << p.tr->parts.order[0].sql + QStringLiteral(" IS NULL");
        QueryResult coda = leggi(nulli, altri, p.pageSize - result.count());
        for (auto& r : coda.rows)
            result.rows.push_back(std::move(r));
        if (result.columns.empty()) result.columns = std::move(coda.columns);
    }
    return result;
}

std::vector<QVariant> RecordSet::keyOf(const std::vector<QVariant>& values) const {
    std::vector<QVariant> key;
    for (int f : pager_->keyFields) {
        if (f >= 0) key.push_back(values[size_t(f)]);
    }
    if (idIndex_ >= 0) key.push_back(values[size_t(idIndex_)]);
    return key;
}

void RecordSet::fetchPage() {
    Pager& p = *pager_;
    QueryResult result = readPage(p.lastKey, false);
    const int n = result.count();
    if (n < p.pageSize) p.complete = true;
    if (n > 0) {
        if (fields_.empty()) setupFields(result);
        p.lastKey = keyOf(result.rows.back());
        if (p.firstKey.empty()) p.firstKey = keyOf(result.rows.front());
    }
    load(std::move(result), true);
}

void RecordSet::requeryPaged() {
    rows_.clear();
    deleted_.clear();
    pager_->lastKey.clear();
    pager_->firstKey.clear();
    pager_->base = 0;
    pager_->fromEnd = false;
    pager_->seen.clear();
    pager_->complete = false;
    pager_->total.reset();
    fetchPage();
    pos_ = 0;
    currentDeleted_ = false;
    editing_ = false;
}

bool RecordSet::fetchLastPage() {
    if (HasPendingChanges()) return false;  // edits held are not dropped
    Pager& p = *pager_;
    // Counted now: rows written since an earlier count would shift every position.
    p.total.reset();
    const int total = RecordCount();
    QueryResult result = readPage({}, true);
    std::reverse(result.rows.begin(), result.rows.end());
    const int n = result.count();
    rows_.clear();
    p.seen.clear();
    p.complete = true;
    p.fromEnd = n >= p.pageSize;
    p.base = p.fromEnd ? std::max(0, total - n) : 0;
    if (n > 0) {
        p.firstKey = keyOf(result.rows.front());
        p.lastKey = keyOf(result.rows.back());
    }
    load(std::move(result), true);
    return true;
}

int RecordSet::fetchPageBefore() {
    Pager& p = *pager_;
    QueryResult result = readPage(p.firstKey, true);
    const int n = result.count();
    if (n < p.pageSize) p.fromEnd = false;
    // The next page before starts past every row read, held already or not.
    if (n > 0) p.firstKey = keyOf(result.rows.back());
    std::vector<Row> prima;
    for (auto it = result.rows.rbegin(); it != result.rows.rend(); ++it) {
        if (idIndex_ >= 0) {
            const qint64 id = (*it)[size_t(idIndex_)].toLongLong();
            if (p.seen.contains(id)) continue;
            p.seen.insert(id);
        }
        Row r;
        r.values = std::move(*it);
        prima.push_back(std::move(r));
    }
    const int added = int(prima.size());
    rows_.insert(rows_.begin(), std::make_move_iterator(prima.begin()),
                 std::make_move_iterator(prima.end()));
    // The count read at the jump to the end may be stale by now.
    p.base = p.fromEnd ? std::max(0, p.base - added) : 0;
    return added;
}

void RecordSet::tornaAllInizio() {
    if (!HasPendingChanges()) {
        requeryPaged();
        return;
    }
    // Edits held are not dropped: the rows before them are read instead.
    while (pager_->fromEnd) {
        const int aggiunte = fetchPageBefore();
        pos_ += aggiunte;
    }
}

}  // namespace incassi
