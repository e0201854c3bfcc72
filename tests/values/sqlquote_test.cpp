#include "values/sqlquote.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "support/qtprint.h"
#include "values/error.h"

namespace incassi::sql {
namespace {

// Reads a quoted literal back as the database does; nullopt unless the whole
// text is one literal (a lone quote inside would end it early).
std::optional<QString> Letterale(const QString& s) {
    if (s.size() < 2 || !s.startsWith(u'\'') || !s.endsWith(u'\'')) return std::nullopt;
    QString dentro;
    for (qsizetype i = 1; i < s.size() - 1; ++i) {
        if (s[i] == u'\'' && (i + 2 >= s.size() || s[++i] != u'\'')) return std::nullopt;
        dentro += s[i];
    }
    return dentro;
}

TEST(Sql, TestoIsAlwaysOneLiteral) {
    EXPECT_EQ(Testo("O'Brien"), "'O''Brien'");
    EXPECT_EQ(Raddoppia("a'b''c"), "a''b''''c");
    for (const char* t : {"", "'", "''", "'; drop table x; --", "\\'", "x' or '1'='1", "end'"}) {
        EXPECT_EQ(Letterale(Testo(t)), QString::fromUtf8(t)) << t;
    }
}

TEST(Sql, Numero) {
    struct {
        double valore;
        const char* atteso;
    } casi[] = {{12.5, "12.5"}, {-3, "-3"}, {-0.0, "0"}, {0.1 + 0.2, "0.3"}, {1e-7, "0.0000001"}};
    for (const auto& c : casi)
        EXPECT_EQ(Numero(c.valore), c.atteso);
    EXPECT_THROW(Numero(std::numeric_limits<double>::quiet_NaN()), Errore);
    EXPECT_THROW(Numero(-std::numeric_limits<double>::infinity()), Errore);
}

// A nullptr expectation means the value must be refused with Errore.
TEST(Sql, NumeroAndInteroFromCells) {
    struct {
        QVariant v;
        const char* numero;
        const char* intero;
    } casi[] = {
        {QStringLiteral("1.234,5"), "1234.5", nullptr},
        {QStringLiteral(" 15 "), "15", "15"},
        {QStringLiteral("1; drop table x"), nullptr, nullptr},
        {QStringLiteral("15 or 1=1"), nullptr, nullptr},
        {QStringLiteral("1e3"), nullptr, nullptr},
        {QString(), nullptr, nullptr},
        {QVariant(), nullptr, nullptr},
        {QVariant(QMetaType::fromType<int>()), nullptr, nullptr},
        {QDate(2026, 3, 7), nullptr, nullptr},
        {12.5, "12.5", nullptr},
        {12.0, "12", "12"},
        {1e17, "100000000000000000", nullptr},
        {std::numeric_limits<double>::quiet_NaN(), nullptr, nullptr},
        {std::numeric_limits<qlonglong>::max(), "9223372036854780000", "9223372036854775807"},
        {true, "-1", "-1"}};
    for (const auto& c : casi) {
        if (c.numero) {
            EXPECT_EQ(Numero(c.v), c.numero);
        } else {
            EXPECT_THROW(Numero(c.v), Errore) << c.v.toString().toStdString();
        }
        if (c.intero) {
            EXPECT_EQ(Intero(c.v), c.intero);
        } else {
            EXPECT_THROW(Intero(c.v), Errore) << c.v.toString().toStdString();
        }
    }
    EXPECT_EQ(Data(QDate(2026, 3, 7)), "#03-07-2026#");
}

}  // namespace
}  // namespace incassi::sql
