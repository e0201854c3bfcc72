#include <gtest/gtest.h>

#include "values/dec.h"
#include "values/error.h"

using incassi::Dec;

namespace {

TEST(Dec, ExactArithmeticAndHalfEvenRounding) {
    struct Case {
        Dec got;
        const char* expected;
    } cases[] = {
        {Dec::DaDouble(0.1) + Dec::DaDouble(0.2), "0.3"},
        {Dec::DaDouble(1250) - Dec::DaDouble(1000), "250"},
        {(Dec::DaDouble(1250) - Dec::DaDouble(1000)) * Dec::DaDouble(0.1), "25"},
        {Dec::DaDouble(25) / Dec::DaDouble(0.1), "250"},
        {Dec::DaDouble(1234.56) * 13 / 100, "160.4928"},
        {(Dec::DaDouble(1234.56) * 13 / 100).arrotonda(2), "160.49"},
        {Dec::DaDouble(2.675).arrotonda(2), "2.68"},
        {Dec::DaDouble(-2.675).arrotonda(2), "-2.68"},
        {Dec::DaDouble(0.125).arrotonda(2), "0.12"},
        {Dec::DaDouble(0.135).arrotonda(2), "0.14"},
        {Dec::DaDouble(-0.125).arrotonda(2), "-0.12"},
        {Dec(10) / 3, "3.333333333"},
        {(Dec(2) / 3).arrotonda(2), "0.67"},
        {Dec::DaDouble(99999999.995).arrotonda(2), "100000000"},
        {Dec::DaCella(QVariant()), "0"},
        {Dec::DaCella(QString()), "0"},
        {Dec::DaCella(QStringLiteral("1.234,5")), "1234.5"},
        {Dec::DaCella(-7), "-7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got.toString(), c.expected);
    EXPECT_EQ((Dec::DaDouble(0.1) + Dec::DaDouble(0.2)).toDouble(), 0.3);
    EXPECT_THROW(Dec(1) / Dec(), incassi::Errore);
    EXPECT_LT(Dec::DaDouble(-0.01), Dec());
}

// Shares taken by subtraction add up to the whole to the cent.
TEST(Dec, SharesAddUpByConstruction) {
    for (int cents = -100000; cents <= 100000; cents += 317) {
        for (double pl : {0.0, 33.33, 50.0, 66.67, 12.5, 100.0}) {
            const Dec whole = Dec(cents) / 100;
            const Dec venue = (whole * Dec::DaDouble(pl) / 100).arrotonda(2);
            const Dec oper = whole - venue;
            EXPECT_EQ(venue + oper, whole);
            EXPECT_EQ(oper.arrotonda(2), oper);
        }
    }
}

}  // namespace
