#pragma once

// The page reader of a paged record set: the statement's parts, the filter,
// the ordering keys, and where the rows held stand in the whole list. The
// rows held are one run of the list: from its start, or, after a move to the
// last row, from its end backwards, so that "last" never reads the whole list.

#include <optional>

#include "host/recordset.h"

namespace incassi {

struct RecordSet::Pager {
    std::shared_ptr<const Translation> tr;
    std::vector<QVariant> params;  // the statement's own literals
    int pageSize = 100;
    QString filterSql;
    std::vector<QVariant> filterParams;
    std::vector<int> keyFields;      // field index of each ordering key
    std::vector<QVariant> lastKey;   // keys and id of the last row held
    std::vector<QVariant> firstKey;  // keys and id of the first row held
    bool complete = false;           // no row of the list after the last held
    int base = 0;                    // rows of the list before the first held
    bool fromEnd = false;            // rows before the first held are still unread
    std::optional<int> total;
    QSet<qint64> seen;

    QString orderBy(bool reversed, const Dialect& d) const;
    // Conditions shared by the pages and the count: the statement's own, then
    // the filter's.
    QStringList conditions(std::vector<QVariant>& out) const;
    // Rows after `key` in the statement's order (before it when reversed).
    QString after(const std::vector<QVariant>& key, bool reversed,
                  std::vector<QVariant>& out) const;
    // The same rows bounded by a range on the first key alone, which an index
    // on that key serves; `nullsFollow` when the rows whose first key is Null
    // come after and the range leaves them out.
    std::optional<QString> bound(const std::vector<QVariant>& key, bool reversed,
                                 std::vector<QVariant>& out, bool& nullsFollow) const;
    bool descending(size_t k, bool reversed) const;
};

}  // namespace incassi
