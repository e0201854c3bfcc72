#pragma once

// Tokenizer of the classic SQL dialect. It splits a statement into tokens and
// lifts every text, date and (most) number literals out into a list of values,
// so that the statement's shape (the text with each lifted literal replaced by
// a placeholder) can key a translation cache and no value is ever parsed as SQL.

#include <QString>
#include <QVariant>
#include <cstdint>
#include <vector>

namespace incassi {

enum class TokKind : std::uint8_t {
    Ident,        // bare word: keyword, table, column or function name
    QuotedIdent,  // [name with blanks]
    String,       // 'text' or "text"
    Number,
    Date,  // #mm-dd-yyyy#, #mm/dd/yyyy#, #yyyy-mm-dd#
    Op,    // = <> < > <= >= + - / & and the like
    LParen,
    RParen,
    Comma,
    Dot,
    Star,
    Semicolon,
};

struct Token {
    TokKind kind;
    int pos;         // offset in the statement
    int len;         // length in the statement
    int param = -1;  // index of the lifted value, -1 when kept in the text
};

struct Lexed {
    QString shape;
    std::vector<Token> tokens;
    std::vector<QVariant> params;
};

// Splits `sql` into `out` (cleared first). Throws Errore naming the statement on
// characters or literals the dialect does not have.
void LexClassicSql(const QString& sql, Lexed& out);

// Lower-case text of an identifier token, without brackets.
QString TokenText(const QString& sql, const Token& t);
bool TokenIs(const QString& sql, const Token& t, QStringView lowerWord);

}  // namespace incassi
