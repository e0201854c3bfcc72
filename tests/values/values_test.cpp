#include "values/values.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <cmath>
#include <cstdlib>

#include "support/qtprint.h"
#include "values/error.h"

namespace incassi {
namespace {

TEST(Round, HalfToEvenOnTheDecimalValue) {
    struct {
        double valore;
        int cifre;
        double atteso;
    } casi[] = {{0.125, 2, 0.12},   {0.135, 2, 0.14},    {2.675, 2, 2.68},
                {-2.675, 2, -2.68}, {1.005, 2, 1.0},     {0.145, 2, 0.14},
                {0.155, 2, 0.16},   {2.5, 0, 2},         {3.5, 0, 4},
                {-0.5, 0, 0},       {0.1 + 0.2, 2, 0.3}, {123456789.125, 2, 123456789.12},
                {0.995, 2, 1.0},    {0.005, 2, 0},       {1e15 + 0.5, 2, 1e15}};
    for (const auto& c : casi) {
        const double r = Round(c.valore, c.cifre);
        EXPECT_EQ(r, c.atteso) << c.valore;
        EXPECT_FALSE(r == 0 && std::signbit(r)) << c.valore;
    }
}

TEST(ParseNumero, ItalianRulesStrictly) {
    struct {
        const char* testo;
        double atteso;
    } buoni[] = {{"1.234,56", 1234.56},
                 {"0,5", 0.5},
                 {"-3", -3},
                 {"+3", 3},
                 {" 12 ", 12},
                 {"€. 1.234,56", 1234.56},
                 {"€ 10", 10},
                 {"E. 5,00", 5},
                 {"L. 1.000.000", 1000000},
                 {"€. -1.234,56", -1234.56},
                 {"1.000", 1000},
                 {"12,", 12},
                 {",5", 0.5}};
    for (const auto& c : buoni)
        EXPECT_EQ(ParseNumero(QString::fromUtf8(c.testo)), c.atteso);

    const char* cattivi[] = {"",     "abc",      "1,2,3", "1-2",    "--3",   "-",   ",",   "€.",
                             "1.00", "1234.567", ".5",    "1.000.", "1 000", "1e5", "inf", "E 5"};
    for (const char* t : cattivi)
        EXPECT_EQ(ParseNumero(QString::fromUtf8(t)), std::nullopt) << t;
}

TEST(TestoImporto, NormalisesTypedAmounts) {
    struct {
        const char* input;
        const char* valuta;
        const char* atteso;
    } casi[] = {{"1234,5", "E", "€. 1.234,50"},
                {"0", "e", "€. 0,00"},
                {"-2,675", "E", "€. -2,68"},
                {"12.5", "E", "€. 12,50"},
                {"1.234.567", "E", "€. 1.234.567,00"},
                {"0,125", "E", "€. 0,12"},
                {"-0,004", "E", "€. 0,00"},
                {" abc ", "E", "abc"},
                {"", "E", ""},
                {" € 5", "E", "€ 5"},
                {"e. 5", "L", "e. 5"},
                {"5", "L", "L. 5.000.000"},
                {"150", "l", "L. 150.000.000"},
                {"1500000", "L", "L. 1.500.000"},
                {"2500", "L", "L. 2.500"},
                {"-5", "L", "L. -5.000.000"},
                {"1.000", "L", "L. 1.000"},
                {"4,5", "L", "L. 4"}};
    for (const auto& c : casi) {
        const QString valuta = QString::fromUtf8(c.valuta);
        const QString uscita = TestoImporto(QString::fromUtf8(c.input), valuta);
        EXPECT_EQ(uscita, QString::fromUtf8(c.atteso));
        EXPECT_EQ(TestoImporto(uscita, valuta), uscita);
    }
}

// Amounts typed in thousandths read back as the amount rounded half-to-even to
// cents; the expected cents are worked out here in integers.
TEST(TestoImporto, ReadsBackAsTheRoundedAmount) {
    static const QRegularExpression forma(QStringLiteral("^€\\. -?\\d{1,3}(\\.\\d{3})*,\\d\\d$"));
    for (long long mill = -100000000; mill <= 100000000; mill += 98765) {
        const long long a = std::llabs(mill);
        long long cent = a / 10;
        if (a % 10 > 5 || (a % 10 == 5 && cent % 2 == 1)) ++cent;
        const QString x = QStringLiteral("%1%2,%3")
                              .arg(QLatin1String(mill < 0 ? "-" : ""))
                              .arg(a / 1000)
                              .arg(a % 1000, 3, 10, QLatin1Char('0'));
        const QString uscita = TestoImporto(x, QStringLiteral("E"));
        ASSERT_TRUE(forma.match(uscita).hasMatch()) << uscita.toStdString();
        const double atteso = cent == 0 ? 0.0 : (mill < 0 ? -1 : 1) * (cent / 100.0);
        EXPECT_EQ(ParseNumero(uscita), atteso) << x.toStdString();
        EXPECT_EQ(ParseNumero(uscita), Round(*ParseNumero(x), 2));
        EXPECT_EQ(TestoImporto(uscita, QStringLiteral("E")), uscita);
    }
}

TEST(Testi, NumbersAsText) {
    EXPECT_EQ(FormatoNumero(1234.5, 2, true), "1.234,50");
    EXPECT_EQ(FormatoNumero(-0.004, 2), "0,00");
    EXPECT_EQ(FormatoNumero(1234.5, 0, false), "1234");
    EXPECT_EQ(FormatoNumero(-1234567.891, 2), "-1.234.567,89");
    EXPECT_EQ(FormatoNumero(999.995, 2), "1.000,00");
    struct {
        double valore;
        const char* atteso;
    } casi[] = {
        {0, "0"},           {-0.0, "0"},         {-12.5, "-12,5"},          {1234.56, "1234,56"},
        {0.1 + 0.2, "0,3"}, {1e-7, "0,0000001"}, {1e15, "1000000000000000"}};
    for (const auto& c : casi)
        EXPECT_EQ(TestoNumero(c.valore), c.atteso);
}

TEST(Celle, ReadThroughTheHelpers) {
    struct {
        QVariant v;
        double num;
        bool flag;
        const char* txt;
        bool vuoto;
    } casi[] = {{QVariant(), 0, false, "", true},
                {QVariant(QMetaType::fromType<double>()), 0, false, "", true},
                {QString(), 0, false, "", true},
                {QStringLiteral("  "), 0, false, "  ", true},
                {QStringLiteral("1.234,5"), 1234.5, true, "1.234,5", false},
                {QStringLiteral("abc"), 0, false, "abc", false},
                {QStringLiteral("vero"), 0, true, "vero", false},
                {QStringLiteral("-1"), -1, true, "-1", false},
                {true, -1, true, "true", false},
                {qlonglong(7), 7, true, "7", false},
                {2.5, 2.5, true, "2,5", false},
                {QDate(2026, 3, 7), 0, false, "07/03/2026", false}};
    for (const auto& c : casi) {
        EXPECT_EQ(Num(c.v), c.num) << c.txt;
        EXPECT_EQ(Flag(c.v), c.flag) << c.txt;
        EXPECT_EQ(Txt(c.v), c.txt);
        EXPECT_EQ(IsNullOrEmpty(c.v), c.vuoto) << c.txt;
        EXPECT_EQ(NullAZero(c.v), c.vuoto ? QVariant(0) : c.v) << c.txt;
        EXPECT_EQ(RoundCell(c.v, 0), c.vuoto ? QVariant(QString()) : QVariant(Round(c.num, 0)));
    }
    EXPECT_FALSE(IsNull(QString()));
    EXPECT_EQ(NullAVuoto(QVariant()), QVariant(QString()));
}

TEST(Date, TextAndSqlLiterals) {
    const QDate d(2026, 3, 7);
    EXPECT_EQ(TestoData(d), "07/03/2026");
    EXPECT_EQ(TestoData(QDate()), "");
    for (const char* t : {"07/03/2026", "7/3/2026", "2026-03-07"})
        EXPECT_EQ(ParseData(t), d);
    for (const char* t : {"31/02/2026", "", "abc", "07/03/26", "2026-3-7", "07-03-2026"}) {
        EXPECT_EQ(ParseData(t), std::nullopt) << t;
    }
    EXPECT_EQ(DataSql(d), "#03-07-2026#");
    EXPECT_EQ(DataSql(d, FormatoDataSql::MeseGiornoAnnoBarra), "#03/07/2026#");
    EXPECT_EQ(DataSql(d, FormatoDataSql::AnnoMeseGiorno), "#2026-03-07#");
    EXPECT_THROW(DataSql(QDate()), Errore);
}

}  // namespace
}  // namespace incassi
