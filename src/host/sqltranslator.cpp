#include "host/sqltranslator.h"

#include <QSet>

#include "values/error.h"

namespace incassi {

namespace {

[[noreturn]] void Fail(const QString& sql, const QString& why) {
    throw Errore(QStringLiteral("Istruzione SQL non traducibile (%1): %2").arg(why, sql));
}

// Words that may stand before "(" without being a function call.
bool IsKeyword(const QString& lw) {
    static const QSet<QString> words = {
        QStringLiteral("select"),  QStringLiteral("from"),   QStringLiteral("where"),
        QStringLiteral("and"),     QStringLiteral("or"),     QStringLiteral("not"),
        QStringLiteral("in"),      QStringLiteral("exists"), QStringLiteral("on"),
        QStringLiteral("join"),    QStringLiteral("inner"),  QStringLiteral("left"),
        QStringLiteral("right"),   QStringLiteral("outer"),  QStringLiteral("as"),
        QStringLiteral("values"),  QStringLiteral("into"),   QStringLiteral("by"),
        QStringLiteral("order"),   QStringLiteral("group"),  QStringLiteral("having"),
        QStringLiteral("union"),   QStringLiteral("all"),    QStringLiteral("distinct"),
        QStringLiteral("is"),      QStringLiteral("null"),   QStringLiteral("like"),
        QStringLiteral("between"), QStringLiteral("set"),    QStringLiteral("update"),
        QStringLiteral("delete"),  QStringLiteral("insert"), QStringLiteral("case"),
        QStringLiteral("when"),    QStringLiteral("then"),   QStringLiteral("else"),
        QStringLiteral("end"),     QStringLiteral("top"),    QStringLiteral("asc"),
        QStringLiteral("desc"),    QStringLiteral("mod"),
    };
    return words.contains(lw);
}

bool IsAggregate(const QString& lw) {
    return lw == u"sum" || lw == u"count" || lw == u"avg" || lw == u"min" || lw == u"max";
}

// A piece of the translated statement.
struct Piece {
    QString text;
    bool param = false;
    int depth = 0;
    bool keyword = false;  // a structural keyword at this depth (lower-case text)
    bool nulls = false;    // where an ordering key puts its Nulls
};

class Translator {
  public:
    Translator(const QString& sql, const Lexed& lx, const Dialect& d) : sql_(sql), lx_(lx), d_(d) {}

    Translation run();

  private:
    const Token& tok(size_t i) const { return lx_.tokens[i]; }
    bool has(size_t i) const { return i < end_; }
    bool is(size_t i, QStringView w) const { return has(i) && TokenIs(sql_, tok(i), w); }
    bool isKind(size_t i, TokKind k) const { return has(i) && tok(i).kind == k; }
    QString raw(size_t i) const { return sql_.mid(tok(i).pos, tok(i).len); }
    QString lower(size_t i) const { return raw(i).toLower(); }

    void emit(QString text, bool param = false) {
        pieces_.push_back({std::move(text), param, depth_, false});
    }
    void emitKeyword(const QString& lw, const QString& text) {
        if (lw == u"by" && !keywordText_.empty() && keywordText_.back() == u"order")
            ordering_.back() = true;
        pieces_.push_back({text, false, depth_, true});
        pieces_.back().keyword = true;
        keywordText_.push_back(lw);
        keywordIndex_.push_back(pieces_.size() - 1);
    }
    void closeScope() {
        endOrderKey();
        ordering_.pop_back();
        if (tops_.back() >= 0) emit(d_.limitClause(tops_.back()).trimmed());
        tops_.pop_back();
    }
    // After each key of an ORDER BY: Nulls first ascending, last descending,
    // on every engine.
    void endOrderKey() {
        if (!ordering_.back() || pieces_.empty()) return;
        const bool verso = pieces_.back().keyword &&
                           (pieces_.back().text.compare(u"desc", Qt::CaseInsensitive) == 0 ||
                            pieces_.back().text.compare(u"asc", Qt::CaseInsensitive) == 0);
        const bool desc = verso && pieces_.back().text.compare(u"desc", Qt::CaseInsensitive) == 0;
        // The key is never Null: its own index serves the order as it is.
        const size_t colonna = pieces_.size() - (verso ? 2 : 1);
        if (pieces_[colonna].text.compare(u"id", Qt::CaseInsensitive) == 0) return;
        const QString nulls = d_.nullsOrder(desc);
        if (nulls.isEmpty()) return;
        pieces_.push_back({nulls, false, depth_, false, true});
    }

    QString render(size_t from, size_t to) const;
    // Whether the operator at i stands before a value rather than between two.
    bool unary(size_t i) const {
        if (i == 0) return true;
        const Token& p = tok(i - 1);
        switch (p.kind) {
            case TokKind::Op:
            case TokKind::LParen:
            case TokKind::Comma:
                return true;
            case TokKind::Ident:
                return IsKeyword(lower(i - 1));
            default:
                return false;
        }
    }
    void findParts(Translation& t) const;

    const QString& sql_;
    const Lexed& lx_;
    const Dialect& d_;
    size_t end_ = 0;
    int depth_ = 0;
    std::vector<int> tops_{-1};
    std::vector<bool> ordering_{false};  // inside an ORDER BY, per depth
    std::vector<Piece> pieces_;
    std::vector<QString> keywordText_;
    std::vector<size_t> keywordIndex_;
    std::vector<int> negated_;
    bool anyTop_ = false, anyDistinct_ = false, anyAggregateAtTop_ = false;
};

QString Translator::render(size_t from, size_t to) const {
    QString out;
    out.reserve(int(to - from) * 8);
    for (size_t i = from; i < to; ++i) {
        const QString& p = pieces_[i].text;
        if (!out.isEmpty()) {
            const QChar last = out.back();
            const bool tight = p == u"." || p == u"," || p == u")" || last == u'.' || last == u'(';
            if (!tight) out.append(u' ');
        }
        out.append(p);
    }
    return out;
}

Translation Translator::run() {
    end_ = lx_.tokens.size();
    if (end_ == 0) Fail(sql_, QStringLiteral("istruzione vuota"));
    while (end_ > 0 && tok(end_ - 1).kind == TokKind::Semicolon)
        --end_;
    for (size_t i = 0; i < end_; ++i) {
        if (tok(i).kind == TokKind::Semicolon) Fail(sql_, QStringLiteral("più istruzioni"));
    }

    Translation t;
    const QString first = has(0) ? lower(0) : QString();
    if (first == u"select") {
        t.kind = StatementKind::Select;
    } else if (first == u"insert") {
        t.kind = StatementKind::Insert;
    } else if (first == u"update") {
        t.kind = StatementKind::Update;
    } else if (first == u"delete") {
        t.kind = StatementKind::Delete;
    } else {
        Fail(sql_, QStringLiteral("istruzione non ammessa"));
    }

    bool inSet = false, expectTarget = false;
    for (size_t i = 0; i < end_; ++i) {
        const Token& k = tok(i);
        switch (k.kind) {
            case TokKind::Ident: {
                const QString lw = lower(i);
                const bool afterDot = i > 0 && tok(i - 1).kind == TokKind::Dot;
                if (afterDot) {
                    emit(raw(i));
                    break;
                }
                if (lw == u"select") {
                    emitKeyword(lw, QStringLiteral("SELECT"));
                    if (is(i + 1, u"distinctrow") || is(i + 1, u"distinct")) {
                        emit(QStringLiteral("DISTINCT"));
                        if (depth_ == 0) anyDistinct_ = true;
                        ++i;
                    } else if (is(i + 1, u"all")) {
                        ++i;
                    }
                    if (is(i + 1, u"top")) {
                        if (!isKind(i + 2, TokKind::Number) || tok(i + 2).param >= 0) {
                            Fail(sql_, QStringLiteral("TOP senza numero"));
                        }
                        bool ok = false;
                        const int n = raw(i + 2).toInt(&ok);
                        if (!ok || n < 0) Fail(sql_, QStringLiteral("TOP non valido"));
                        if (is(i + 3, u"percent")) Fail(sql_, QStringLiteral("TOP PERCENT"));
                        tops_.back() = n;
                        if (depth_ == 0) anyTop_ = true;
                        i += 2;
                    }
                } else if (lw == u"delete") {
                    emitKeyword(lw, QStringLiteral("DELETE"));
                    if (isKind(i + 1, TokKind::Star)) {
                        ++i;  // delete * from
                    } else if (isKind(i + 2, TokKind::Dot) && isKind(i + 3, TokKind::Star) &&
                               is(i + 4, u"from")) {
                        i += 3;  // delete t.* from
                    }
                } else if (lw == u"true" || lw == u"false") {
                    emit(lw == u"true" ? QStringLiteral("-1") : QStringLiteral("0"));
                } else if (lw == u"mod") {
                    emit(QStringLiteral("%"));
                } else if (lw == u"set" && t.kind == StatementKind::Update && depth_ == 0) {
                    emitKeyword(lw, QStringLiteral("SET"));
                    inSet = expectTarget = true;
                } else if (isKind(i + 1, TokKind::LParen) && !IsKeyword(lw) &&
                           !(i > 0 && is(i - 1, u"into"))) {
                    if (lw == u"date" || lw == u"now") {
                        if (!isKind(i + 2, TokKind::RParen)) {
                            Fail(sql_, QStringLiteral("%1() non accetta argomenti").arg(lw));
                        }
                        emit(lw == u"date" ? d_.todayExpression() : d_.nowExpression());
                        i += 2;
                        break;
                    }
                    const QString fn = d_.functionName(lw);
                    if (fn.isEmpty()) {
                        Fail(sql_, QStringLiteral("funzione '%1' non supportata").arg(raw(i)));
                    }
                    if (depth_ == 0 && IsAggregate(lw)) anyAggregateAtTop_ = true;
                    emit(fn);
                } else if (expectTarget && depth_ == 0) {
                    // Qualified assignment target: SET t.col = ... becomes SET col = ...
                    if (isKind(i + 1, TokKind::Dot) && isKind(i + 2, TokKind::Ident) &&
                        isKind(i + 3, TokKind::Op) && raw(i + 3) == u"=") {
                        i += 2;
                    }
                    emit(raw(i));
                    expectTarget = false;
                } else if (lw == u"like") {
                    emitKeyword(lw, d_.likeOperator());
                } else if (depth_ == 0 && IsKeyword(lw)) {
                    if (lw == u"where" && inSet) inSet = false;
                    emitKeyword(lw, raw(i));
                } else {
                    if (IsKeyword(lw)) {
                        emitKeyword(lw, raw(i));
                    } else {
                        emit(raw(i));
                    }
                }
                break;
            }
            case TokKind::QuotedIdent:
                emit(d_.quoteIdentifier(TokenText(sql_, k)));
                if (expectTarget && depth_ == 0) expectTarget = false;
                break;
            case TokKind::String:
            case TokKind::Date:
                emit(QStringLiteral("?"), true);
                break;
            case TokKind::Number:
                if (k.param >= 0) {
                    emit(QStringLiteral("?"), true);
                } else {
                    emit(raw(i));
                }
                break;
            case TokKind::Op:
                if (raw(i) == u"-" && isKind(i + 1, TokKind::Number) && tok(i + 1).param >= 0 &&
                    unary(i)) {
                    negated_.push_back(tok(i + 1).param);
                    emit(QStringLiteral("?"), true);
                    ++i;
                    break;
                }
                emit(raw(i) == u"&" ? d_.concatOperator() : raw(i));
                break;
            case TokKind::LParen:
                emit(QStringLiteral("("));
                ++depth_;
                tops_.push_back(-1);
                ordering_.push_back(false);
                break;
            case TokKind::RParen:
                closeScope();
                --depth_;
                emit(QStringLiteral(")"));
                break;
            case TokKind::Comma:
                endOrderKey();
                emit(QStringLiteral(","));
                if (inSet && depth_ == 0) expectTarget = true;
                break;
            case TokKind::Dot:
                emit(QStringLiteral("."));
                break;
            case TokKind::Star:
                emit(QStringLiteral("*"));
                break;
            case TokKind::Semicolon:
                break;
        }
    }
    closeScope();

    t.sql = render(0, pieces_.size());
    t.negated = negated_;
    findParts(t);
    return t;
}

// Finds the single table of a plain select, and its head, condition and
// ordering keys, from the keywords seen at depth 0.
void Translator::findParts(Translation& t) const {
    if (t.kind != StatementKind::Select) return;
    auto find = [&](QStringView w) -> std::ptrdiff_t {
        for (size_t k = 0; k < keywordText_.size(); ++k) {
            if (pieces_[keywordIndex_[k]].depth == 0 && keywordText_[k] == w) {
                return std::ptrdiff_t(keywordIndex_[k]);
            }
        }
        return -1;
    };
    for (const char16_t* w : {u"join", u"group", u"having", u"union"}) {
        if (find(w) >= 0) return;
    }
    if (anyTop_ || anyDistinct_ || anyAggregateAtTop_) return;
    const std::ptrdiff_t from = find(u"from");
    if (from < 0) return;
    const std::ptrdiff_t where = find(u"where");
    const std::ptrdiff_t order = find(u"order");
    const size_t fromEnd =
        size_t(where >= 0 ? where : (order >= 0 ? order : std::ptrdiff_t(pieces_.size())));

    // FROM table [[AS] alias]
    size_t i = size_t(from) + 1;
    if (i >= fromEnd || pieces_[i].keyword || pieces_[i].text == u"(" || pieces_[i].param) return;
    QString table = pieces_[i].text;
    if (table.startsWith(u'"'))
        table =
            table.mid(1, table.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    ++i;
    if (i < fromEnd && pieces_[i].keyword &&
        pieces_[i].text.compare(u"as", Qt::CaseInsensitive) == 0)
        ++i;
    if (i < fromEnd && !pieces_[i].keyword && pieces_[i].text != u"," && pieces_[i].text != u".")
        ++i;
    if (i != fromEnd) return;
    t.table = table;

    SelectParts p;
    p.head = render(0, fromEnd);
    p.from = render(size_t(from), fromEnd);
    for (size_t k = 0; k < fromEnd; ++k)
        p.headParams += pieces_[k].param ? 1 : 0;
    if (where >= 0) {
        const size_t whereEnd = size_t(order >= 0 ? order : std::ptrdiff_t(pieces_.size()));
        p.where = render(size_t(where) + 1, whereEnd);
        for (size_t k = size_t(where) + 1; k < whereEnd; ++k)
            p.whereParams += pieces_[k].param ? 1 : 0;
    }
    if (order >= 0) {
        size_t k = size_t(order) + 1;
        if (k >= pieces_.size() || pieces_[k].text.compare(u"by", Qt::CaseInsensitive) != 0) return;
        ++k;
        while (k < pieces_.size()) {
            // [qualifier .] column [ASC|DESC]
            OrderKey key;
            if (pieces_[k].keyword || pieces_[k].param || pieces_[k].text == u"(") return;
            QString column = pieces_[k].text;
            QString text = column;
            ++k;
            if (k + 1 < pieces_.size() && pieces_[k].text == u".") {
                column = pieces_[k + 1].text;
                text += u'.' + column;
                k += 2;
            }
            if (column.startsWith(u'"') || column.front().isDigit()) return;
            key.column = column;
            key.sql = text;
            if (k < pieces_.size() && pieces_[k].keyword &&
                (pieces_[k].text.compare(u"desc", Qt::CaseInsensitive) == 0 ||
                 pieces_[k].text.compare(u"asc", Qt::CaseInsensitive) == 0)) {
                key.descending = pieces_[k].text.compare(u"desc", Qt::CaseInsensitive) == 0;
                ++k;
            }
            if (k < pieces_.size() && pieces_[k].nulls) ++k;
            p.order.push_back(key);
            if (k == pieces_.size()) break;
            if (pieces_[k].text != u",") return;
            ++k;
        }
    }
    t.hasParts = true;
    t.parts = std::move(p);
}

}  // namespace

Translation TranslateClassicSql(const QString& sql, const Lexed& lexed, const Dialect& dialect) {
    return Translator(sql, lexed, dialect).run();
}

std::shared_ptr<const Translation> SqlTranslator::translate(const QString& sql,
                                                            std::vector<QVariant>& params) {
    if (auto it = byText_.constFind(sql); it != byText_.constEnd()) {
        ++stats_.exactHits;
        params = it->params;
        return it->translation;
    }
    LexClassicSql(sql, scratch_);
    std::shared_ptr<const Translation> tr;
    if (auto it = byShape_.constFind(scratch_.shape); it != byShape_.constEnd()) {
        ++stats_.shapeHits;
        tr = *it;
    } else {
        ++stats_.misses;
        tr = std::make_shared<const Translation>(TranslateClassicSql(sql, scratch_, dialect_));
        if (byShape_.size() >= kMaxEntries) byShape_.clear();
        byShape_.insert(scratch_.shape, tr);
    }
    params = scratch_.params;
    for (int k : tr->negated) {
        QVariant& v = params[size_t(k)];
        v = v.typeId() == QMetaType::Double ? QVariant(-v.toDouble()) : QVariant(-v.toLongLong());
    }
    if (byText_.size() >= kMaxEntries) byText_.clear();
    byText_.insert(sql, Exact{tr, params});
    return tr;
}

void SqlTranslator::clear() {
    byText_.clear();
    byShape_.clear();
}

}  // namespace incassi
