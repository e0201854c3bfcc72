#pragma once

// The cursor the module works with: rows of a query with fields by
// case-insensitive name, Null, EOF/BOF, moves, Find and Filter, and edits.
// A record set over one table with an `id` column is updatable; edits go to
// the database at Update, or, in batch mode, all together at UpdateBatch.
// A paged record set reads its rows a page at a time, by key, as the cursor
// moves.

#include <QSet>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

#include "host/criteria.h"
#include "host/fieldtype.h"
#include "host/sqltranslator.h"

namespace incassi {

class Database;

enum class RecordSetMode { Immediate, Batch };

class RecordSet : public std::enable_shared_from_this<RecordSet> {
    struct Row;
    struct Pager;

  public:
    // The whole state of the record set (rows, pending edits, cursor, filter),
    // to put it back exactly as it was.
    class Istantanea {
      public:
        Istantanea();
        ~Istantanea();
        Istantanea(const Istantanea&);
        Istantanea& operator=(const Istantanea&);

      private:
        friend class RecordSet;
        std::vector<Row> rows, deleted;
        std::vector<int> view;
        bool filtered = false;
        QString filterText;
        int pos = -1;
        bool currentDeleted = false;
        bool editing = false;
        std::shared_ptr<const Pager> pager;
    };

    // Opens the statement. pageSize 0 reads every row at once; otherwise the
    // rows are read pageSize at a time when the statement can be paged by key.
    static std::shared_ptr<RecordSet> Open(std::shared_ptr<Database> db, const QString& sql,
                                           RecordSetMode mode, int pageSize = 0);
    ~RecordSet();

    const QString& sql() const { return sql_; }
    bool updatable() const { return !table_.isEmpty(); }
    const QString& table() const { return table_; }
    bool paged() const { return pager_ != nullptr; }
    RecordSetMode mode() const { return mode_; }

    // Fields.
    int FieldCount() const { return int(fields_.size()); }
    const FieldInfo& Field(int i) const { return fields_[size_t(i)]; }
    int FieldIndex(const QString& name) const;  // -1 when missing
    bool HasField(const QString& name) const { return FieldIndex(name) >= 0; }
    const FieldInfo& Field(const QString& name) const;  // throws when missing

    // Values of the current row. Reading or writing a field the record set does
    // not have, or with no current row, throws Errore.
    QVariant Value(const QString& name) const;
    QVariant Value(int index) const;
    void SetValue(const QString& name, const QVariant& value);

    // Navigation.
    bool Eof();
    bool Bof() const;
    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    // Number of rows (with the filter applied). For a paged record set the
    // count is asked of the database the first time, without reading the rows.
    int RecordCount();
    // Rows read so far, and whether every row has been read.
    int LoadedCount() const;
    bool Complete() const;
    // Whether RecordCount() is known without asking the database again.
    bool CountKnown() const;
    // 1-based position of the current row; -1 before the first or after the last.
    int AbsolutePosition();
    void SetAbsolutePosition(int position);

    // Moves to the first row from the current one on that matches; on no match
    // the record set stands after the last row and the result is false.
    // `soloLette`: among the rows read so far only, leaving the cursor where
    // it was on no match (a long paged list is not read to its end).
    bool Find(const QString& criteria, bool soloLette = false);
    // Shows only the rows that match; an empty text removes the filter.
    void SetFilter(const QString& criteria);
    const QString& Filter() const { return filterText_; }
    // Reads the rows again from the database (pending edits are discarded).
    void Requery();

    Istantanea istantanea() const;
    void ripristina(const Istantanea& prima);

    // Edits. Rows sent inside a transaction count as saved only when the
    // outermost transaction commits: a rollback puts the record set back as it
    // was before it first sent them. An UPDATE or DELETE of a row that is no
    // longer there (or is there twice) is an error.
    void AddNew();
    void Update();
    void CancelUpdate();
    void Delete();
    void UpdateBatch();
    void CancelBatch();
    bool HasPendingChanges() const;
    bool EditInProgress() const;

  private:
    struct Row {
        std::vector<QVariant> values;
        std::vector<QVariant> original;  // values before the first edit
        std::vector<bool> dirty;
        enum State { Clean, Modified, New } state = Clean;
    };

    RecordSet(std::shared_ptr<Database> db, QString sql, RecordSetMode mode);
    [[noreturn]] void fail(const QString& why) const;
    void load(struct QueryResult&& result, bool append);
    void setupFields(const struct QueryResult& result);
    int count() const;
    Row& row(int p);
    const Row& row(int p) const;
    Row& current();
    const Row& current() const;
    bool ensureLoaded(int p);
    void fetchPage();
    void requeryPaged();
    // The page after `key` (before it when reversed); the first or the last
    // page when `key` is empty.
    struct QueryResult readPage(const std::vector<QVariant>& key, bool reversed);
    std::vector<QVariant> keyOf(const std::vector<QVariant>& values) const;
    // Holds the last page of the list instead of the rows read so far; false
    // when rows held carry edits.
    bool fetchLastPage();
    // Reads the page before the first row held; the number of rows added.
    int fetchPageBefore();
    // Rows held from the end of a long list: reads its start again (through
    // the pages before, when rows held carry edits).
    void tornaAllInizio();
    int rowsBefore() const;
    void rebuildView();
    void flushImmediate();
    // Keeps `prima` until the open transaction is settled, and puts it back
    // when that transaction rolls back.
    void custodisci(const Istantanea& prima);
    // The state to keep before a write, when a transaction is open and none is kept yet.
    std::optional<Istantanea> perTransazione() const;
    void markClean();
    void checkOne(int affected, const Row& r, const char* what) const;
    // Sends the deletions held in batch mode; a row no longer there stops them.
    void eliminaInsieme();
    void writeRow(Row& r);
    void insertRow(Row& r, bool rileggi = true);
    qint64 rowId(const Row& r) const;
    QVariant coerce(const FieldInfo& f, const QVariant& value) const;
    bool rowMatches(const Row& r, const Criteria& c) const;

    std::shared_ptr<Database> db_;
    QString sql_;
    RecordSetMode mode_;
    QString table_;
    int idIndex_ = -1;
    std::vector<FieldInfo> fields_;
    QHash<QString, int> fieldIndex_;  // lower-case name -> index
    std::vector<Row> rows_;
    std::vector<Row> deleted_;  // batch deletions not yet sent
    std::vector<int> view_;     // rows shown under the filter
    bool filtered_ = false;
    QString filterText_;
    Criteria filter_;
    int pos_ = -1;
    bool currentDeleted_ = false;  // Delete leaves the cursor on the next row
    bool editing_ = false;         // an edit begun since the last Update
    std::unique_ptr<Pager> pager_;
    qint64 custoditoIn_ = 0;  // the scope whose rollback puts back a kept state
};

using RecordSetPtr = std::shared_ptr<RecordSet>;

}  // namespace incassi
