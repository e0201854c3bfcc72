#include "values/causali.h"

#include <gtest/gtest.h>

namespace incassi {
namespace {

// Every spelling the suite's tables and people use reads as one causal.
TEST(Causali, SpellingsReadAsOneCausal) {
    const struct {
        const char* codice;
        Causale causale;
    } casi[] = {{"INC6", Causale::INC6},  {"Inc6", Causale::INC6},   {" inc6 ", Causale::INC6},
                {"Inc", Causale::INC},    {"RH", Causale::RH},       {"Rh", Causale::RH},
                {"rh", Causale::RH},      {"Acl", Causale::ACL},     {"", Causale::Nessuna},
                {"  ", Causale::Nessuna}, {"INC 6", Causale::Altra}, {"XYZ", Causale::Altra}};
    for (const auto& c : casi)
        EXPECT_EQ(CausaleDi(QLatin1String(c.codice)), c.causale) << c.codice;
    for (Causale c :
         {Causale::INC, Causale::INC6, Causale::FUR, Causale::CAM, Causale::ACC, Causale::ACL,
          Causale::REF, Causale::CH, Causale::RH, Causale::PRE, Causale::CP, Causale::HOP})
        EXPECT_EQ(CausaleDi(CodiceCausale(c)), c);
    EXPECT_TRUE(CausaleTra(QStringLiteral("fur"), {Causale::INC6, Causale::FUR}));
    EXPECT_FALSE(CausaleTra(QStringLiteral("furto"), {Causale::FUR}));
}

}  // namespace
}  // namespace incassi
