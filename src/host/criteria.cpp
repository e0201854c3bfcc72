#include "host/criteria.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <optional>

#include "host/sqllexer.h"
#include "values/error.h"
#include "values/values.h"

namespace incassi {

enum class CmpOp { Eq, Ne, Lt, Gt, Le, Ge, Like, NotLike, IsNull, IsNotNull };

struct Criteria::Node {
    enum Kind { And, Or, Cmp } kind = Cmp;
    std::vector<std::unique_ptr<Node>> children;
    int field = -1;
    CmpOp op = CmpOp::Eq;
    QVariant value;
    mutable std::optional<QRegularExpression> like;  // compiled once for like
};

namespace {

class Parser {
  public:
    Parser(const QString& text, QStringList& fields) : text_(text), fields_(fields) {
        LexClassicSql(text, lx_);
    }

    std::unique_ptr<Criteria::Node> parse() {
        if (lx_.tokens.empty()) return nullptr;
        auto n = expr();
        if (i_ != lx_.tokens.size()) fail(QStringLiteral("testo inatteso"));
        return n;
    }

  private:
    [[noreturn]] void fail(const QString& why) const {
        throw Errore(QStringLiteral("Criterio non valido (%1): %2").arg(why, text_));
    }
    bool atEnd() const { return i_ >= lx_.tokens.size(); }
    const Token& cur() const {
        if (atEnd()) fail(QStringLiteral("criterio incompleto"));
        return lx_.tokens[i_];
    }
    bool word(QStringView w) const { return !atEnd() && TokenIs(text_, lx_.tokens[i_], w); }
    QString raw(const Token& t) const { return text_.mid(t.pos, t.len); }

    std::unique_ptr<Criteria::Node> expr() {
        auto left = term();
        while (word(u"or")) {
            ++i_;
            auto n = std::make_unique<Criteria::Node>();
            n->kind = Criteria::Node::Or;
            n->children.push_back(std::move(left));
            n->children.push_back(term());
            left = std::move(n);
        }
        return left;
    }

    std::unique_ptr<Criteria::Node> term() {
        auto left = factor();
        while (word(u"and")) {
            ++i_;
            auto n = std::make_unique<Criteria::Node>();
            n->kind = Criteria::Node::And;
            n->children.push_back(std::move(left));
            n->children.push_back(factor());
            left = std::move(n);
        }
        return left;
    }

    std::unique_ptr<Criteria::Node> factor() {
        if (cur().kind == TokKind::LParen) {
            ++i_;
            auto n = expr();
            if (atEnd() || cur().kind != TokKind::RParen)
                fail(QStringLiteral("parentesi non chiusa"));
            ++i_;
            return n;
        }
        return comparison();
    }

    std::unique_ptr<Criteria::Node> comparison() {
        auto n = std::make_unique<Criteria::Node>();
        n->field = fieldRef();
        if (word(u"is")) {
            ++i_;
            bool negated = false;
            if (word(u"not")) {
                negated = true;
                ++i_;
            }
            if (!word(u"null")) fail(QStringLiteral("atteso null"));
            ++i_;
            n->op = negated ? CmpOp::IsNotNull : CmpOp::IsNull;
            return n;
        }
        if (word(u"not")) {
            ++i_;
            if (!word(u"like")) fail(QStringLiteral("atteso like"));
            ++i_;
            n->op = CmpOp::NotLike;
        } else if (word(u"like")) {
            ++i_;
            n->op = CmpOp::Like;
        } else {
            const Token& t = cur();
            if (t.kind != TokKind::Op) fail(QStringLiteral("operatore mancante"));
            const QString op = raw(t);
            if (op == u"=")
                n->op = CmpOp::Eq;
            else if (op == u"<>")
                n->op = CmpOp::Ne;
            else if (op == u"<")
                n->op = CmpOp::Lt;
            else if (op == u">")
                n->op = CmpOp::Gt;
            else if (op == u"<=")
                n->op = CmpOp::Le;
            else if (op == u">=")
                n->op = CmpOp::Ge;
            else
                fail(QStringLiteral("operatore '%1' non ammesso").arg(op));
            ++i_;
        }
        n->value = value();
        if (n->value.isNull()) {
            if (n->op == CmpOp::Eq)
                n->op = CmpOp::IsNull;
            else if (n->op == CmpOp::Ne)
                n->op = CmpOp::IsNotNull;
            else
                fail(QStringLiteral("null si confronta solo con = o <>"));
        }
        return n;
    }

    int fieldRef() {
        const Token& t = cur();
        QString name;
        if (t.kind == TokKind::Ident) {
            name = raw(t);
            ++i_;
            // A qualified name keeps only the column.
            if (!atEnd() && cur().kind == TokKind::Dot) {
                ++i_;
                const Token& col = cur();
                if (col.kind != TokKind::Ident && col.kind != TokKind::QuotedIdent) {
                    fail(QStringLiteral("nome di campo non valido"));
                }
                name = col.kind == TokKind::Ident ? raw(col) : TokenText(text_, col);
                ++i_;
            }
        } else if (t.kind == TokKind::QuotedIdent) {
            name = TokenText(text_, t);
            ++i_;
        } else {
            fail(QStringLiteral("atteso il nome di un campo"));
        }
        for (int k = 0; k < fields_.size(); ++k) {
            if (fields_[k].compare(name, Qt::CaseInsensitive) == 0) return k;
        }
        fields_.push_back(name);
        return int(fields_.size() - 1);
    }

    QVariant value() {
        bool negative = false;
        if (cur().kind == TokKind::Op && (raw(cur()) == u"-" || raw(cur()) == u"+")) {
            negative = raw(cur()) == u"-";
            ++i_;
            if (cur().kind != TokKind::Number) fail(QStringLiteral("numero atteso"));
        }
        const Token& t = cur();
        ++i_;
        switch (t.kind) {
            case TokKind::String:
            case TokKind::Date:
                return lx_.params[size_t(t.param)];
            case TokKind::Number: {
                QVariant v = lx_.params[size_t(t.param)];
                if (!negative) return v;
                if (v.typeId() == QMetaType::LongLong) return -v.toLongLong();
                return -v.toDouble();
            }
            case TokKind::Ident:
                if (TokenIs(text_, t, u"null")) return QVariant();
                if (TokenIs(text_, t, u"true")) return qlonglong(-1);
                if (TokenIs(text_, t, u"false")) return qlonglong(0);
                break;
            default:
                break;
        }
        fail(QStringLiteral("valore non valido"));
    }

    const QString& text_;
    QStringList& fields_;
    Lexed lx_;
    size_t i_ = 0;
};

bool IsNumberType(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Bool:
            return true;
        default:
            return false;
    }
}

bool IsDateType(const QVariant& v) {
    return v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime;
}

QDate AsDate(const QVariant& v) {
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().date();
    if (v.typeId() == QMetaType::QDate) return v.toDate();
    return ParseData(v.toString()).value_or(QDate());
}

template <typename T>
int Sign(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Compares a field's value with a literal; nullopt when they cannot be compared.
std::optional<int> Compare(const QVariant& field, const QVariant& literal) {
    if (IsDateType(literal) || (IsDateType(field) && literal.typeId() == QMetaType::QString)) {
        const QDate a = AsDate(field), b = AsDate(literal);
        if (!a.isValid() || !b.isValid()) return std::nullopt;
        return Sign(a, b);
    }
    if (IsNumberType(field) || IsNumberType(literal)) {
        auto number = [](const QVariant& v) -> std::optional<double> {
            if (IsNumberType(v)) return v.toDouble();
            bool ok = false;
            const double d = v.toString().trimmed().toDouble(&ok);
            if (ok) return d;
            return ParseNumero(v.toString());
        };
        const auto a = number(field), b = number(literal);
        if (a && b) return Sign(*a, *b);
        if (IsNumberType(field) && IsNumberType(literal)) return std::nullopt;
    }
    return QString::compare(Txt(field), Txt(literal), Qt::CaseInsensitive) < 0
               ? -1
               : (QString::compare(Txt(field), Txt(literal), Qt::CaseInsensitive) > 0 ? 1 : 0);
}

QRegularExpression LikePattern(const QString& pattern) {
    QString rx;
    rx.reserve(pattern.size() * 2 + 4);
    for (QChar c : pattern) {
        if (c == u'%' || c == u'*') {
            rx += QStringLiteral(".*");
        } else if (c == u'_' || c == u'?') {
            rx += u'.';
        } else {
            rx += QRegularExpression::escape(QString(c));
        }
    }
    return QRegularExpression(
        QRegularExpression::anchoredPattern(rx),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
}

bool Evaluate(const Criteria::Node& n, const std::function<QVariant(int)>& value) {
    switch (n.kind) {
        case Criteria::Node::And:
            return Evaluate(*n.children[0], value) && Evaluate(*n.children[1], value);
        case Criteria::Node::Or:
            return Evaluate(*n.children[0], value) || Evaluate(*n.children[1], value);
        case Criteria::Node::Cmp:
            break;
    }
    const QVariant v = value(n.field);
    if (n.op == CmpOp::IsNull) return IsNull(v);
    if (n.op == CmpOp::IsNotNull) return !IsNull(v);
    if (IsNull(v)) return false;
    if (n.op == CmpOp::Like || n.op == CmpOp::NotLike) {
        if (!n.like) n.like = LikePattern(Txt(n.value));
        const bool m = n.like->match(Txt(v)).hasMatch();
        return n.op == CmpOp::Like ? m : !m;
    }
    const auto c = Compare(v, n.value);
    if (!c) return n.op == CmpOp::Ne;
    switch (n.op) {
        case CmpOp::Eq:
            return *c == 0;
        case CmpOp::Ne:
            return *c != 0;
        case CmpOp::Lt:
            return *c < 0;
        case CmpOp::Gt:
            return *c > 0;
        case CmpOp::Le:
            return *c <= 0;
        case CmpOp::Ge:
            return *c >= 0;
        default:
            return false;
    }
}

QString ToSql(const Criteria::Node& n, const std::function<QString(int)>& column,
              std::vector<QVariant>& params) {
    if (n.kind != Criteria::Node::Cmp) {
        // Left before right: the values are bound in the order they appear.
        const QString sinistra = ToSql(*n.children[0], column, params);
        const QString destra = ToSql(*n.children[1], column, params);
        const QString op =
            n.kind == Criteria::Node::And ? QStringLiteral(" AND ") : QStringLiteral(" OR ");
        return u'(' + sinistra + op + destra + u')';
    }
    const QString col = column(n.field);
    const char* op = "=";
    switch (n.op) {
        case CmpOp::IsNull:
            return col + QStringLiteral(" IS NULL");
        case CmpOp::IsNotNull:
            return col + QStringLiteral(" IS NOT NULL");
        case CmpOp::Like:
        case CmpOp::NotLike: {
            QString pattern = Txt(n.value);
            pattern.replace(u'*', u'%');
            params.push_back(pattern);
            return col + (n.op == CmpOp::Like ? QStringLiteral(" LIKE ?")
                                              : QStringLiteral(" NOT LIKE ?"));
        }
        case CmpOp::Eq:
            op = "=";
            break;
        case CmpOp::Ne:
            op = "<>";
            break;
        case CmpOp::Lt:
            op = "<";
            break;
        case CmpOp::Gt:
            op = ">";
            break;
        case CmpOp::Le:
            op = "<=";
            break;
        case CmpOp::Ge:
            op = ">=";
            break;
    }
    params.push_back(n.value);
    return col + u' ' + QLatin1String(op) + QStringLiteral(" ?");
}

}  // namespace

Criteria::Criteria() = default;
Criteria::~Criteria() = default;
Criteria::Criteria(Criteria&&) noexcept = default;
Criteria& Criteria::operator=(Criteria&&) noexcept = default;

Criteria Criteria::Parse(const QString& text) {
    Criteria c;
    Parser p(text, c.fields_);
    c.root_ = p.parse();
    return c;
}

bool Criteria::empty() const {
    return !root_;
}

QStringList Criteria::fields() const {
    return fields_;
}

bool Criteria::matches(const std::function<QVariant(int)>& value) const {
    return !root_ || Evaluate(*root_, value);
}

QString Criteria::toSql(const std::function<QString(int)>& column,
                        std::vector<QVariant>& params) const {
    return root_ ? ToSql(*root_, column, params) : QStringLiteral("1=1");
}

}  // namespace incassi
