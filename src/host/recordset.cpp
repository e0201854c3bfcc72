#include "host/recordset.h"

#include <QDate>
#include <QDateTime>

#include "host/database.h"
#include "host/recordset_pager.h"
#include "values/error.h"
#include "values/values.h"

namespace incassi {

RecordSet::Istantanea::Istantanea() = default;
RecordSet::Istantanea::~Istantanea() = default;
RecordSet::Istantanea::Istantanea(const Istantanea&) = default;
RecordSet::Istantanea& RecordSet::Istantanea::operator=(const Istantanea&) = default;

RecordSet::RecordSet(std::shared_ptr<Database> db, QString sql, RecordSetMode mode)
    : db_(std::move(db)), sql_(std::move(sql)), mode_(mode) {}

RecordSet::~RecordSet() = default;

void RecordSet::fail(const QString& why) const {
    throw Errore(QStringLiteral("%1 (%2)").arg(why, sql_));
}

std::shared_ptr<RecordSet> RecordSet::Open(std::shared_ptr<Database> db, const QString& sql,
                                           RecordSetMode mode, int pageSize) {
    std::shared_ptr<RecordSet> rs(new RecordSet(db, sql, mode));
    std::vector<QVariant> params;
    auto tr = db->translator().translate(sql, params);
    if (tr->kind != StatementKind::Select) {
        throw Errore(QStringLiteral("Un recordset si apre solo su una select: %1").arg(sql));
    }
    rs->table_ = tr->table;
    if (pageSize > 0 && tr->hasParts && !tr->table.isEmpty()) {
        auto pager = std::make_unique<Pager>();
        pager->tr = tr;
        pager->params = params;
        pager->pageSize = pageSize;
        rs->pager_ = std::move(pager);
        rs->fetchPage();
        // Paging needs the ordering keys and the id among the fields.
        bool pageable = rs->idIndex_ >= 0;
        for (const OrderKey& k : tr->parts.order) {
            const int f = rs->FieldIndex(k.column);
            if (f < 0) pageable = false;
            rs->pager_->keyFields.push_back(f);
        }
        if (pageable) {
            rs->pos_ = 0;
            // The first page was read before the key positions were known.
            if (!rs->rows_.empty()) {
                rs->pager_->firstKey = rs->keyOf(rs->rows_.front().values);
                rs->pager_->lastKey = rs->keyOf(rs->rows_.back().values);
            }
            return rs;
        }
        rs->pager_.reset();
        rs->rows_.clear();
    }
    rs->load(db->queryNative(tr->sql, params, sql), false);
    rs->pos_ = 0;
    return rs;
}

void RecordSet::setupFields(const QueryResult& result) {
    // The same statement gives the same fields: worked out once per statement,
    // not at every opening (a lookup of one row is opened thousands of times).
    const QString key = table_ + u'\x1f' + result.sql;
    std::shared_ptr<const FieldLayout> kept = result.sql.isEmpty() ? nullptr : db_->layout(key);
    if (!kept) {
        auto l = std::make_shared<FieldLayout>();
        for (const ResultColumn& c : result.columns) {
            FieldInfo f;
            f.name = c.name;
            f.type = c.type;
            f.maxLength = c.maxLength;
            if (!table_.isEmpty() &&
                (c.table.isEmpty() || c.table.compare(table_, Qt::CaseInsensitive) == 0)) {
                if (const ColumnInfo* tc = db_->column(table_, c.name)) {
                    f.writable = true;
                    if (f.type == FieldType::Unknown) {
                        f.type = tc->type;
                        f.maxLength = tc->maxLength;
                    }
                }
            }
            const QString name = f.name.toLower();
            if (!l->index.contains(name)) l->index.insert(name, int(l->fields.size()));
            if (f.writable && name == u"id" && l->idIndex < 0) l->idIndex = int(l->fields.size());
            l->fields.push_back(std::move(f));
        }
        kept = l;
        if (!result.sql.isEmpty()) db_->keepLayout(key, kept);
    }
    fields_ = kept->fields;
    fieldIndex_ = kept->index;
    idIndex_ = kept->idIndex;
    if (idIndex_ < 0) table_.clear();  // without its key a row cannot be written back
}

void RecordSet::load(QueryResult&& result, bool append) {
    if (!append || fields_.empty()) setupFields(result);
    if (!append) rows_.clear();
    // Grown by doubling: a page added to a long list must not move every row
    // already read (an exact reserve would, page after page).
    const size_t serve = rows_.size() + result.rows.size();
    if (serve > rows_.capacity()) rows_.reserve(std::max(serve, 2 * rows_.capacity()));
    for (std::vector<QVariant>& values : result.rows) {
        Row row;
        row.values = std::move(values);
        if (pager_ && idIndex_ >= 0) {
            const qint64 id = row.values[size_t(idIndex_)].toLongLong();
            if (pager_->seen.contains(id)) continue;
            pager_->seen.insert(id);
        }
        rows_.push_back(std::move(row));
    }
}

int RecordSet::FieldIndex(const QString& name) const {
    return fieldIndex_.value(name.toLower(), -1);
}

const FieldInfo& RecordSet::Field(const QString& name) const {
    const int i = FieldIndex(name);
    if (i < 0) fail(QStringLiteral("Il campo '%1' non esiste nel recordset").arg(name));
    return fields_[size_t(i)];
}

int RecordSet::count() const {
    return filtered_ ? int(view_.size()) : int(rows_.size());
}

RecordSet::Row& RecordSet::row(int p) {
    return rows_[size_t(filtered_ ? view_[size_t(p)] : p)];
}

const RecordSet::Row& RecordSet::row(int p) const {
    return rows_[size_t(filtered_ ? view_[size_t(p)] : p)];
}

RecordSet::Row& RecordSet::current() {
    if (pos_ < 0 || currentDeleted_ || !ensureLoaded(pos_)) {
        fail(QStringLiteral("Nessun record corrente"));
    }
    return row(pos_);
}

const RecordSet::Row& RecordSet::current() const {
    if (pos_ < 0 || currentDeleted_ || pos_ >= count())
        fail(QStringLiteral("Nessun record corrente"));
    return row(pos_);
}

bool RecordSet::ensureLoaded(int p) {
    while (pager_ && !pager_->complete && p >= int(rows_.size()))
        fetchPage();
    return p >= 0 && p < count();
}

QVariant RecordSet::Value(int index) const {
    if (index < 0 || index >= int(fields_.size())) {
        fail(QStringLiteral("Campo numero %1 inesistente").arg(index));
    }
    const QVariant& raw = current().values[size_t(index)];
    const FieldType t = fields_[size_t(index)].type;
    if (t == FieldType::Date || t == FieldType::DateTime || t == FieldType::Double) {
        QVariant v = db_->dialect().fromEngine(raw, t);
        // Parsed once: the row keeps the value as the module reads it (only
        // edited fields are ever written back, so the engine's text is not needed).
        if (v.typeId() != raw.typeId()) const_cast<QVariant&>(raw) = v;
        return v;
    }
    return IsNull(raw) ? QVariant() : raw;
}

QVariant RecordSet::Value(const QString& name) const {
    const int i = FieldIndex(name);
    if (i < 0) fail(QStringLiteral("Il campo '%1' non esiste nel recordset").arg(name));
    return Value(i);
}

QVariant RecordSet::coerce(const FieldInfo& f, const QVariant& value) const {
    if (IsNull(value)) return QVariant();
    const bool isText = value.typeId() == QMetaType::QString;
    if (isText && f.type != FieldType::Text && f.type != FieldType::Memo &&
        value.toString().trimmed().isEmpty()) {
        return QVariant();  // nothing typed in a number or date field is Null
    }
    auto bad = [&] {
        fail(QStringLiteral("Valore '%1' non valido per il campo '%2'").arg(Txt(value), f.name));
    };
    switch (f.type) {
        case FieldType::Text:
        case FieldType::Memo: {
            const QString s = Txt(value);
            if (f.type == FieldType::Text && f.maxLength > 0 && s.size() > f.maxLength) {
                fail(QStringLiteral("Il testo per il campo '%1' supera i %2 caratteri ammessi")
                         .arg(f.name)
                         .arg(f.maxLength));
            }
            return s;
        }
        case FieldType::Integer:
        case FieldType::Flag: {
            if (value.typeId() == QMetaType::Bool) return qlonglong(value.toBool() ? -1 : 0);
            std::optional<double> d;
            if (isText) {
                d = ParseNumero(value.toString());
            } else if (value.canConvert<double>()) {
                d = value.toDouble();
            }
            if (!d) bad();
            return qlonglong(Round(*d, 0));
        }
        case FieldType::Double: {
            if (isText) {
                auto d = ParseNumero(value.toString());
                if (!d) bad();
                return *d;
            }
            if (value.typeId() == QMetaType::Bool) return value.toBool() ? -1.0 : 0.0;
            bool ok = false;
            const double d = value.toDouble(&ok);
            if (!ok) bad();
            return d;
        }
        case FieldType::Date: {
            if (value.typeId() == QMetaType::QDate) return value;
            if (value.typeId() == QMetaType::QDateTime) return value.toDateTime().date();
            auto d = ParseData(value.toString());
            if (!d) bad();
            return *d;
        }
        case FieldType::DateTime: {
            if (value.typeId() == QMetaType::QDateTime) return value;
            if (value.typeId() == QMetaType::QDate) return QDateTime(value.toDate(), QTime(0, 0));
            QDateTime dt = QDateTime::fromString(value.toString(), Qt::ISODate);
            if (!dt.isValid()) {
                if (auto d = ParseData(value.toString())) dt = QDateTime(*d, QTime(0, 0));
            }
            if (!dt.isValid()) bad();
            return dt;
        }
        default:
            return value;
    }
}

void RecordSet::SetValue(const QString& name, const QVariant& value) {
    const int i = FieldIndex(name);
    if (i < 0) fail(QStringLiteral("Il campo '%1' non esiste nel recordset").arg(name));
    if (!updatable()) fail(QStringLiteral("Il recordset è di sola lettura"));
    const FieldInfo& f = fields_[size_t(i)];
    if (!f.writable) fail(QStringLiteral("Il campo '%1' non è aggiornabile").arg(name));
    Row& r = current();
    QVariant v = coerce(f, value);
    if (r.original.empty()) r.original = r.values;
    if (r.dirty.empty()) r.dirty.assign(fields_.size(), false);
    r.values[size_t(i)] = std::move(v);
    r.dirty[size_t(i)] = true;
    if (r.state == Row::Clean) r.state = Row::Modified;
    editing_ = true;
}

// Before the first row of an empty record set it is at once BOF and EOF.
bool RecordSet::Eof() {
    return !ensureLoaded(std::max(pos_, 0));
}

bool RecordSet::Bof() const {
    return pos_ < 0 || (count() == 0 && Complete());
}

void RecordSet::flushImmediate() {
    if (mode_ == RecordSetMode::Immediate && editing_) Update();
}

void RecordSet::MoveFirst() {
    flushImmediate();
    if (pager_ && pager_->fromEnd) tornaAllInizio();
    currentDeleted_ = false;
    pos_ = 0;
    ensureLoaded(0);
}

void RecordSet::MoveNext() {
    flushImmediate();
    if (currentDeleted_) {
        currentDeleted_ = false;
    } else if (pos_ < count() || (pager_ && !pager_->complete)) {
        ++pos_;
    }
    if (!ensureLoaded(pos_)) pos_ = count();
}

void RecordSet::MovePrevious() {
    flushImmediate();
    currentDeleted_ = false;
    int p = std::min(pos_, count()) - 1;
    if (p == -1 && pos_ == 0 && pager_) {
        // Rows held from the end of a long list: the page before, until one
        // brings rows not held yet or the start is reached.
        while (p < 0 && pager_->fromEnd)
            p += fetchPageBefore();
    }
    pos_ = std::max(-1, p);
}

void RecordSet::MoveLast() {
    flushImmediate();
    // A long list is read from its other end, not through all of its pages.
    if (pager_ && !pager_->complete) fetchLastPage();
    while (pager_ && !pager_->complete)
        fetchPage();
    currentDeleted_ = false;
    pos_ = count() > 0 ? count() - 1 : 0;
}

int RecordSet::LoadedCount() const {
    return count();
}

bool RecordSet::Complete() const {
    return !pager_ || pager_->complete;
}

bool RecordSet::CountKnown() const {
    return Complete() || (pager_ && pager_->total);
}

int RecordSet::RecordCount() {
    if (Complete()) return rowsBefore() + count();
    if (!pager_->total) {
        std::vector<QVariant> params;
        const QStringList conds = pager_->conditions(params);
        QString sql = QStringLiteral("SELECT COUNT(*) ") + pager_->tr->parts.from;
        if (!conds.isEmpty())
            sql += QStringLiteral(" WHERE ") + conds.join(QStringLiteral(" AND "));
        pager_->total = db_->queryNative(sql, params, sql_).scalar().toInt();
    }
    int added = 0;
    for (const Row& r : rows_)
        added += r.state == Row::New ? 1 : 0;
    return *pager_->total + added;
}

int RecordSet::AbsolutePosition() {
    if (pos_ < 0 || currentDeleted_ || !ensureLoaded(pos_)) return -1;
    return rowsBefore() + pos_ + 1;
}

int RecordSet::rowsBefore() const {
    return pager_ ? pager_->base : 0;
}

void RecordSet::SetAbsolutePosition(int position) {
    flushImmediate();
    currentDeleted_ = false;
    if (pager_ && pager_->fromEnd && position <= rowsBefore()) tornaAllInizio();
    const int p = position - 1 - rowsBefore();
    if (p < 0 || !ensureLoaded(p)) {
        fail(QStringLiteral("Posizione %1 fuori dall'elenco").arg(position));
    }
    pos_ = p;
}

bool RecordSet::rowMatches(const Row& r, const Criteria& c) const {
    const QStringList names = c.fields();
    return c.matches([&](int i) {
        const int f = FieldIndex(names[i]);
        const FieldType t = fields_[size_t(f)].type;
        const QVariant& raw = r.values[size_t(f)];
        if (t == FieldType::Date || t == FieldType::DateTime || t == FieldType::Double) {
            return db_->dialect().fromEngine(raw, t);
        }
        return raw;
    });
}

bool RecordSet::Find(const QString& criteria, bool soloLette) {
    flushImmediate();
    Criteria c = Criteria::Parse(criteria);
    for (const QString& f : c.fields()) {
        if (!HasField(f)) fail(QStringLiteral("Il campo '%1' non esiste nel recordset").arg(f));
    }
    const int primaPos = pos_;
    const bool primaEliminata = currentDeleted_;
    int p = std::max(pos_, 0);
    currentDeleted_ = false;
    while (soloLette ? p < count() : ensureLoaded(p)) {
        if (rowMatches(row(p), c)) {
            pos_ = p;
            return true;
        }
        ++p;
    }
    if (soloLette) {
        pos_ = primaPos;
        currentDeleted_ = primaEliminata;
        return false;
    }
    pos_ = count();
    return false;
}

void RecordSet::rebuildView() {
    view_.clear();
    if (!filtered_) return;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].state == Row::New || rowMatches(rows_[i], filter_)) view_.push_back(int(i));
    }
}

void RecordSet::SetFilter(const QString& criteria) {
    flushImmediate();
    Criteria c = Criteria::Parse(criteria);
    for (const QString& f : c.fields()) {
        if (!HasField(f)) fail(QStringLiteral("Il campo '%1' non esiste nel recordset").arg(f));
    }
    filterText_ = criteria.trimmed();
    if (pager_) {
        pager_->filterParams.clear();
        pager_->filterSql.clear();
        if (!c.empty()) {
            const QStringList names = c.fields();
            pager_->filterSql =
                c.toSql([&](int i) { return db_->dialect().quoteIdentifier(Field(names[i]).name); },
                        pager_->filterParams);
        }
        requeryPaged();
        return;
    }
    filter_ = std::move(c);
    filtered_ = !filter_.empty();
    rebuildView();
    pos_ = 0;
    currentDeleted_ = false;
}

void RecordSet::Requery() {
    editing_ = false;
    if (pager_) {
        requeryPaged();
        return;
    }
    std::vector<QVariant> params;
    auto tr = db_->translator().translate(sql_, params);
    load(db_->queryNative(tr->sql, params, sql_), false);
    deleted_.clear();
    rebuildView();
    pos_ = 0;
    currentDeleted_ = false;
}

void RecordSet::AddNew() {
    if (!updatable()) fail(QStringLiteral("Il recordset è di sola lettura"));
    flushImmediate();
    Row r;
    r.values.assign(fields_.size(), QVariant());
    r.dirty.assign(fields_.size(), false);
    r.state = Row::New;
    rows_.push_back(std::move(r));
    if (filtered_) view_.push_back(int(rows_.size() - 1));
    pos_ = count() - 1;
    currentDeleted_ = false;
    editing_ = true;
}

qint64 RecordSet::rowId(const Row& r) const {
    return r.values[size_t(idIndex_)].toLongLong();
}

void RecordSet::writeRow(Row& r) {
    QStringList sets;
    std::vector<QVariant> params;
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (!r.dirty.empty() && r.dirty[i] && fields_[i].writable && int(i) != idIndex_) {
            sets << db_->dialect().quoteIdentifier(fields_[i].name) + QStringLiteral(" = ?");
            params.push_back(r.values[i]);
        }
    }
    if (!sets.isEmpty()) {
        params.push_back(rowId(r));
        checkOne(
            db_->executeNative(QStringLiteral("UPDATE %1 SET %2 WHERE id = ?")
                                   .arg(db_->dialect().quoteIdentifier(table_), sets.join(u',')),
                               params),
            r, "aggiornare");
    }
}

void RecordSet::checkOne(int affected, const Row& r, const char* what) const {
    if (affected == 1) return;
    throw Errore(
        QStringLiteral("Impossibile %1 la riga %2 di %3: %4. Nessuna modifica è stata "
                       "salvata; rileggere i dati e riprovare.")
            .arg(QLatin1String(what))
            .arg(rowId(r))
            .arg(table_, affected == 0
                             ? QStringLiteral("non esiste più (eliminata da un'altra finestra o "
                                              "postazione)")
                             : QStringLiteral("l'identificativo non è univoco")));
}

void RecordSet::insertRow(Row& r, bool rileggi) {
    const Dialect& d = db_->dialect();
    QStringList cols, readBack;
    std::vector<QVariant> params;
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (!fields_[i].writable) continue;
        if (rileggi) readBack << d.quoteIdentifier(fields_[i].name);
        if (IsNull(r.values[i])) continue;
        cols << fields_[i].name;
        params.push_back(r.values[i]);
    }
    const QString table = d.quoteIdentifier(table_);
    const QString sql = cols.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                                       : db_->insertSql(table_, cols);
    qint64 id = 0;
    db_->executeNative(sql, params, &id);
    if (rileggi) {
        // Read the row back so that the columns' defaults show.
        const QueryResult back = db_->queryNative(
            QStringLiteral("SELECT %1 FROM %2 WHERE id = ?").arg(readBack.join(u','), table), {id});
        int k = 0;
        for (size_t i = 0; i < fields_.size(); ++i) {
            if (!fields_[i].writable) continue;
            if (back.count() > 0) r.values[i] = back.rows[0][size_t(k)];
            ++k;
        }
    }
    r.values[size_t(idIndex_)] = id;
    if (pager_) {
        pager_->seen.insert(id);
        if (pager_->total) pager_->total = *pager_->total + 1;  // sent, it is counted there
    }
}

void RecordSet::Update() {
    if (mode_ == RecordSetMode::Batch) {
        editing_ = false;
        return;
    }
    if (!editing_) return;
    Row& r = current();
    if (r.state == Row::Clean) {
        editing_ = false;
        return;
    }
    const std::optional<Istantanea> prima = perTransazione();
    const Row riga = r;
    try {
        if (r.state == Row::New) {
            insertRow(r);
        } else {
            writeRow(r);
        }
    } catch (...) {
        r = riga;
        throw;
    }
    if (prima) custodisci(*prima);
    r.state = Row::Clean;
    r.original.clear();
    r.dirty.clear();
    editing_ = false;
}

void RecordSet::CancelUpdate() {
    if (pos_ < 0 || pos_ >= count() || currentDeleted_) {
        editing_ = false;
        return;
    }
    Row& r = row(pos_);
    if (r.state == Row::New) {
        const size_t index = size_t(filtered_ ? view_[size_t(pos_)] : pos_);
        rows_.erase(rows_.begin() + std::ptrdiff_t(index));
        rebuildView();
        pos_ = std::max(0, std::min(pos_, count() - 1));
        if (count() == 0) pos_ = 0;
    } else if (r.state == Row::Modified) {
        r.values = r.original;
        r.original.clear();
        r.dirty.clear();
        r.state = Row::Clean;
    }
    editing_ = false;
}

void RecordSet::Delete() {
    if (!updatable()) fail(QStringLiteral("Il recordset è di sola lettura"));
    Row& r = current();
    const size_t index = size_t(filtered_ ? view_[size_t(pos_)] : pos_);
    const bool contata = r.state != Row::New;  // an unsent row is not in the count
    if (r.state != Row::New) {
        if (mode_ == RecordSetMode::Immediate) {
            const std::optional<Istantanea> prima = perTransazione();
            checkOne(db_->executeNative(QStringLiteral("DELETE FROM %1 WHERE id = ?")
                                            .arg(db_->dialect().quoteIdentifier(table_)),
                                        {rowId(r)}),
                     r, "eliminare");
            if (prima) custodisci(*prima);
        } else {
            deleted_.push_back(std::move(r));
        }
    }
    rows_.erase(rows_.begin() + std::ptrdiff_t(index));
    if (filtered_) rebuildView();
    if (pager_ && pager_->total && contata) pager_->total = *pager_->total - 1;
    currentDeleted_ = true;
    editing_ = false;
}

bool RecordSet::HasPendingChanges() const {
    if (!deleted_.empty()) return true;
    for (const Row& r : rows_) {
        if (r.state != Row::Clean) return true;
    }
    return false;
}

bool RecordSet::EditInProgress() const {
    return editing_;
}

void RecordSet::UpdateBatch() {
    editing_ = false;
    if (!HasPendingChanges()) return;
    const Istantanea prima = istantanea();
    try {
        Transazione t(*db_);
        eliminaInsieme();
        for (Row& r : rows_) {
            if (r.state == Row::Modified) {
                writeRow(r);
            } else if (r.state == Row::New) {
                insertRow(r, false);  // a batch is read again by whoever shows it
            }
        }
        t.commit();
    } catch (...) {
        // Nothing was stored: the rows are as they were, the new ones without an id.
        ripristina(prima);
        throw;
    }
    custodisci(prima);
    markClean();
}

void RecordSet::eliminaInsieme() {
    // A few statements for many rows (each a round trip to a server).
    constexpr size_t kPerIstruzione = 500;
    for (size_t da = 0; da < deleted_.size(); da += kPerIstruzione) {
        const size_t a = std::min(deleted_.size(), da + kPerIstruzione);
        QStringList segni, ids;
        std::vector<QVariant> params;
        for (size_t i = da; i < a; ++i) {
            segni << QStringLiteral("?");
            params.push_back(rowId(deleted_[i]));
            ids << QString::number(rowId(deleted_[i]));
        }
        const int eliminate =
            db_->executeNative(QStringLiteral("DELETE FROM %1 WHERE id IN (%2)")
                                   .arg(db_->dialect().quoteIdentifier(table_), segni.join(u',')),
                               params);
        if (eliminate == int(a - da)) continue;
        if (a - da == 1) checkOne(eliminate, deleted_[da], "eliminare");
        const int mancanti = int(a - da) - eliminate;
        throw Errore(
            QStringLiteral("Impossibile eliminare le righe %1 di %2: %3 (eliminat%4 da "
                           "un'altra finestra o postazione). Nessuna modifica è stata salvata; "
                           "rileggere i dati e riprovare.")
                .arg(ids.join(QStringLiteral(", ")), table_,
                     mancanti == 1 ? QStringLiteral("una non esiste più")
                                   : QStringLiteral("%1 non esistono più").arg(mancanti),
                     mancanti == 1 ? QStringLiteral("a") : QStringLiteral("e")));
    }
}

void RecordSet::markClean() {
    deleted_.clear();
    for (Row& r : rows_) {
        r.state = Row::Clean;
        r.original.clear();
        r.dirty.clear();
    }
}

RecordSet::Istantanea RecordSet::istantanea() const {
    Istantanea i;
    i.rows = rows_;
    i.deleted = deleted_;
    i.view = view_;
    i.filtered = filtered_;
    i.filterText = filterText_;
    i.pos = pos_;
    i.currentDeleted = currentDeleted_;
    i.editing = editing_;
    if (pager_) i.pager = std::make_shared<const Pager>(*pager_);
    return i;
}

void RecordSet::ripristina(const Istantanea& prima) {
    rows_ = prima.rows;
    deleted_ = prima.deleted;
    view_ = prima.view;
    filtered_ = prima.filtered;
    if (filterText_ != prima.filterText) {
        filterText_ = prima.filterText;
        filter_ = Criteria::Parse(filterText_);
    }
    pos_ = prima.pos;
    currentDeleted_ = prima.currentDeleted;
    editing_ = prima.editing;
    if (prima.pager) pager_ = std::make_unique<Pager>(*prima.pager);
}

std::optional<RecordSet::Istantanea> RecordSet::perTransazione() const {
    // Only the first write inside each scope needs the state to go back to.
    if (db_->transactionDepth() == 0 || custoditoIn_ == db_->currentScope()) return std::nullopt;
    return istantanea();
}

void RecordSet::custodisci(const Istantanea& prima) {
    const qint64 scope = db_->currentScope();
    if (scope == 0 || custoditoIn_ == scope) return;
    custoditoIn_ = scope;
    // A rollback puts back the state before the scope's first write; the
    // outcomes of inner scopes run first, so an outer one has the last word.
    db_->allaFine([self = weak_from_this(), prima, scope](bool confermato) {
        const auto rs = self.lock();
        if (!rs) return;
        if (rs->custoditoIn_ == scope) rs->custoditoIn_ = 0;
        if (!confermato) rs->ripristina(prima);
    });
}

void RecordSet::CancelBatch() {
    std::vector<Row> kept;
    for (Row& r : rows_) {
        if (r.state == Row::New) continue;
        if (r.state == Row::Modified) {
            r.values = r.original;
            r.state = Row::Clean;
        }
        r.original.clear();
        r.dirty.clear();
        kept.push_back(std::move(r));
    }
    for (Row& r : deleted_) {
        if (!r.original.empty()) r.values = r.original;
        r.state = Row::Clean;
        r.original.clear();
        r.dirty.clear();
        kept.push_back(std::move(r));
    }
    deleted_.clear();
    rows_ = std::move(kept);
    rebuildView();
    pos_ = 0;
    currentDeleted_ = false;
    editing_ = false;
}

}  // namespace incassi
