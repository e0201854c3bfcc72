#include "host/sqllexer.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include "values/error.h"

namespace incassi {

namespace {

[[noreturn]] void Fail(const QString& sql, const QString& why) {
    throw Errore(QStringLiteral("Istruzione SQL non traducibile (%1): %2").arg(why, sql));
}

bool IsIdentStart(QChar c) {
    return c.isLetter() || c == u'_';
}
bool IsIdentPart(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

bool EqualsLower(QStringView text, QStringView lower) {
    if (text.size() != lower.size()) return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].toLower() != lower[i]) return false;
    }
    return true;
}

// Parses the inside of a #...# literal in one of the three date forms, with an
// optional time.
QVariant ParseDateLiteral(const QString& sql, QStringView body) {
    body = body.trimmed();
    QStringView datePart = body;
    QStringView timePart;
    if (qsizetype blank = body.indexOf(u' '); blank > 0) {
        datePart = body.left(blank);
        timePart = body.mid(blank + 1).trimmed();
    }
    const QChar sep = datePart.contains(u'/') ? u'/' : u'-';
    const auto parts = datePart.split(sep);
    if (parts.size() != 3) Fail(sql, QStringLiteral("data non valida #%1#").arg(body));
    bool ok1 = false, ok2 = false, ok3 = false;
    const int a = parts[0].toInt(&ok1), b = parts[1].toInt(&ok2), c = parts[2].toInt(&ok3);
    QDate d;
    if (ok1 && ok2 && ok3) {
        if (parts[0].size() == 4 && sep == u'-') {
            d = QDate(a, b, c);  // yyyy-mm-dd
        } else if (parts[2].size() == 4) {
            d = QDate(c, a, b);  // mm-dd-yyyy or mm/dd/yyyy
        }
    }
    if (!d.isValid()) Fail(sql, QStringLiteral("data non valida #%1#").arg(body));
    if (timePart.isEmpty()) return d;
    QTime t = QTime::fromString(timePart.toString(), QStringLiteral("H:mm:ss"));
    if (!t.isValid()) t = QTime::fromString(timePart.toString(), QStringLiteral("H:mm"));
    if (!t.isValid()) Fail(sql, QStringLiteral("ora non valida #%1#").arg(body));
    return QDateTime(d, t);
}

}  // namespace

QString TokenText(const QString& sql, const Token& t) {
    if (t.kind == TokKind::QuotedIdent) return sql.mid(t.pos + 1, t.len - 2);
    return sql.mid(t.pos, t.len).toLower();
}

bool TokenIs(const QString& sql, const Token& t, QStringView lowerWord) {
    return t.kind == TokKind::Ident && EqualsLower(QStringView(sql).mid(t.pos, t.len), lowerWord);
}

void LexClassicSql(const QString& sql, Lexed& out) {
    out.shape.clear();
    out.tokens.clear();
    out.params.clear();
    out.shape.reserve(sql.size());

    const QChar* s = sql.constData();
    const qsizetype n = sql.size();
    qsizetype copied = 0;  // source text up to here is already in the shape

    // Numbers are kept in the text after TOP and inside ORDER BY / GROUP BY
    // lists, where a number means a row count or a column position.
    int depth = 0;
    std::vector<int> orderListDepths;
    auto inOrderList = [&] { return !orderListDepths.empty() && orderListDepths.back() == depth; };

    auto lift = [&](qsizetype start, qsizetype end, QVariant value) {
        out.shape.append(QStringView(s + copied, start - copied));
        out.shape.append(u'?');
        copied = end;
        out.tokens.back().param = static_cast<int>(out.params.size());
        out.params.push_back(std::move(value));
    };

    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        if (IsIdentStart(c)) {
            while (i < n && IsIdentPart(s[i]))
                ++i;
            out.tokens.push_back({TokKind::Ident, int(start), int(i - start)});
            const QStringView word(s + start, i - start);
            if (EqualsLower(word, u"by") && out.tokens.size() >= 2) {
                const Token& prev = out.tokens[out.tokens.size() - 2];
                if (TokenIs(sql, prev, u"order") || TokenIs(sql, prev, u"group")) {
                    orderListDepths.push_back(depth);
                }
            } else if (inOrderList() &&
                       (EqualsLower(word, u"having") || EqualsLower(word, u"union") ||
                        EqualsLower(word, u"limit"))) {
                orderListDepths.pop_back();
            }
            continue;
        }
        if (c.isDigit() ||
            (c == u'.' && i + 1 < n && s[i + 1].isDigit() &&
             (out.tokens.empty() || (out.tokens.back().kind != TokKind::Ident &&
                                     out.tokens.back().kind != TokKind::QuotedIdent &&
                                     out.tokens.back().kind != TokKind::RParen)))) {
            bool isReal = false;
            while (i < n && s[i].isDigit())
                ++i;
            if (i < n && s[i] == u'.') {
                isReal = true;
                ++i;
                while (i < n && s[i].isDigit())
                    ++i;
            }
            if (i < n && (s[i] == u'e' || s[i] == u'E')) {
                qsizetype j = i + 1;
                if (j < n && (s[j] == u'+' || s[j] == u'-')) ++j;
                if (j < n && s[j].isDigit()) {
                    isReal = true;
                    i = j;
                    while (i < n && s[i].isDigit())
                        ++i;
                }
            }
            if (i < n && IsIdentStart(s[i])) Fail(sql, QStringLiteral("numero non valido"));
            out.tokens.push_back({TokKind::Number, int(start), int(i - start)});
            const bool afterTop =
                out.tokens.size() >= 2 && TokenIs(sql, out.tokens[out.tokens.size() - 2], u"top");
            if (!afterTop && !inOrderList()) {
                const QStringView text(s + start, i - start);
                bool ok = false;
                QVariant value;
                if (!isReal) {
                    const qlonglong v = text.toLongLong(&ok);
                    if (ok) value = v;
                }
                if (!ok) value = text.toDouble(&ok);
                if (!ok) Fail(sql, QStringLiteral("numero non valido"));
                lift(start, i, std::move(value));
            }
            continue;
        }
        switch (c.unicode()) {
            case u'\'':
            case u'"': {
                // A text literal; a doubled quote stands for one quote.
                const QChar quote = c;
                qsizetype j = i + 1;
                bool doubled = false;
                for (;;) {
                    if (j >= n) Fail(sql, QStringLiteral("testo non chiuso"));
                    if (s[j] == quote) {
                        if (j + 1 < n && s[j + 1] == quote) {
                            doubled = true;
                            j += 2;
                            continue;
                        }
                        break;
                    }
                    ++j;
                }
                QString value(s + i + 1, j - i - 1);
                if (doubled) value.replace(QString(2, quote), QString(quote));
                i = j + 1;
                out.tokens.push_back({TokKind::String, int(start), int(i - start)});
                lift(start, i, std::move(value));
                continue;
            }
            case u'#': {
                const qsizetype close = sql.indexOf(u'#', i + 1);
                if (close < 0) Fail(sql, QStringLiteral("data non chiusa"));
                i = close + 1;
                out.tokens.push_back({TokKind::Date, int(start), int(i - start)});
                lift(start, i,
                     ParseDateLiteral(sql, QStringView(s + start + 1, close - start - 1)));
                continue;
            }
            case u'[': {
                const qsizetype close = sql.indexOf(u']', i + 1);
                if (close < 0 || close == i + 1)
                    Fail(sql, QStringLiteral("nome tra [] non valido"));
                i = close + 1;
                out.tokens.push_back({TokKind::QuotedIdent, int(start), int(i - start)});
                continue;
            }
            case u'(':
                ++depth;
                ++i;
                out.tokens.push_back({TokKind::LParen, int(start), 1});
                continue;
            case u')':
                if (inOrderList()) orderListDepths.pop_back();
                --depth;
                if (depth < 0) Fail(sql, QStringLiteral("parentesi non bilanciate"));
                ++i;
                out.tokens.push_back({TokKind::RParen, int(start), 1});
                continue;
            case u',':
                ++i;
                out.tokens.push_back({TokKind::Comma, int(start), 1});
                continue;
            case u'.':
                ++i;
                out.tokens.push_back({TokKind::Dot, int(start), 1});
                continue;
            case u'*':
                ++i;
                out.tokens.push_back({TokKind::Star, int(start), 1});
                continue;
            case u';':
                ++i;
                out.tokens.push_back({TokKind::Semicolon, int(start), 1});
                continue;
            case u'<':
                ++i;
                if (i < n && (s[i] == u'>' || s[i] == u'=')) ++i;
                out.tokens.push_back({TokKind::Op, int(start), int(i - start)});
                continue;
            case u'>':
                ++i;
                if (i < n && s[i] == u'=') ++i;
                out.tokens.push_back({TokKind::Op, int(start), int(i - start)});
                continue;
            case u'-':
                if (i + 1 < n && s[i + 1] == u'-')
                    Fail(sql, QStringLiteral("commento non ammesso"));
                ++i;
                out.tokens.push_back({TokKind::Op, int(start), 1});
                continue;
            case u'/':
                if (i + 1 < n && s[i + 1] == u'*')
                    Fail(sql, QStringLiteral("commento non ammesso"));
                ++i;
                out.tokens.push_back({TokKind::Op, int(start), 1});
                continue;
            case u'=':
            case u'+':
            case u'&':
                ++i;
                out.tokens.push_back({TokKind::Op, int(start), 1});
                continue;
            default:
                Fail(sql, QStringLiteral("carattere '%1' non ammesso").arg(c));
        }
    }
    if (depth != 0) Fail(sql, QStringLiteral("parentesi non bilanciate"));
    out.shape.append(QStringView(s + copied, n - copied));
}

}  // namespace incassi
