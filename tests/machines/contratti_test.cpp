#include <gtest/gtest.h>

#include "machines/contratti.h"
#include "schema/creazione.h"
#include "support/testdb.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

class Contratti : public ::testing::Test {
  protected:
    void SetUp() override {
        schema::CreaSchema(t.db());
        t.run({
            "INSERT INTO PercentualiApparecchi (linkscheda, codlocale, tipologia, percentuale) "
            "VALUES "
            "(7, 'BAR1', 'Lordo', 33.333)",
            "INSERT INTO Localipercentuali (codicelocale, categoria, Tipo, percentualeloc, "
            "percentualenol) VALUES "
            "('BAR1', 'AWP', 'Utile', 45.005, 10.255), ('O''HARA', 'AWP', 'Introdotto Locale', 20, "
            "0)",
            "INSERT INTO LocaliConcessionari (codicelocale, CodiceConcessionario, contratto, Tipo, "
            "Valore, "
            "TerzoGestore) VALUES ('BAR1', 'RETE1', '', 'Percentuale', 1.5, 0), "
            "('BAR1', 'RETE1', 'C2', 'Fisso', 2.505, 0), ('BAR2', 'RETE1', 'C2', 'Mensile', 30, "
            "-1)",
            "INSERT INTO anagraficaconcessionari (codiceConcessionario, TipoCostoRete, valorerete) "
            "VALUES "
            "('RETE1', 'Percentuale', 0.9), ('RETE2', 'Fisso', 3)",
            "INSERT INTO tipocontratto (codConcessionario, contratto, PercentualeComodato) VALUES "
            "('RETE1', 'C2', 22.5)",
        });
    }
    TestDb t;
};

TEST_F(Contratti, SplitFirstRuleThatApplies) {
    const Ripartizione predefinita{"Utile", 50, 0};
    struct Case {
        qlonglong scheda;
        const char* locale;
        const char* categoria;
        Ripartizione attesa;
    } cases[] = {
        {7, "BAR1", "AWP", {"Lordo", 33.33, 0}},     // the machine's own split
        {7, "bar1", "VLT", {"Lordo", 33.33, 0}},     // whatever its category
        {8, "BAR1", "awp", {"Utile", 45.0, 10.26}},  // the venue's for the category, rounded
        {8, "O'HARA", "AWP", {"Introdotto Locale", 20, 0}},
        {8, "BAR1", "VLT", {"Utile", 50, 0}},  // the defaults
        {7, "BAR2", "AWP", {"Utile", 50, 0}},
    };
    for (const Case& c : cases) {
        const Ripartizione r =
            ScegliRipartizione(t.host(), c.scheda, c.locale, c.categoria, predefinita);
        EXPECT_EQ(r.tipoCalcolo, c.attesa.tipoCalcolo) << c.scheda << c.locale << c.categoria;
        EXPECT_DOUBLE_EQ(r.percLocale, c.attesa.percLocale) << c.scheda << c.locale << c.categoria;
        EXPECT_DOUBLE_EQ(r.percNoleggiatore, c.attesa.percNoleggiatore)
            << c.scheda << c.locale << c.categoria;
    }
}

TEST_F(Contratti, NetworkFeeContractVenueOrHolder) {
    struct Case {
        const char* locale;
        const char* concessionario;
        const char* contratto;
        const char* tipo;
        double valore;
    } cases[] = {
        {"BAR1", "RETE1", "C2", "Fisso", 2.5},        // the contract's row (2.505 to the even cent)
        {"BAR1", "RETE1", "", "Percentuale", 1.5},    // the venue's row
        {"BAR1", "RETE1", "C9", "Percentuale", 1.5},  // unknown contract: the venue's row
        {"BAR3", "RETE1", "C2", "Percentuale", 0.9},  // no venue row: the holder's default
        {"BAR3", "RETE2", "", "Fisso", 3},           {"BAR3", "RETE9", "", "", 0},
    };
    for (const Case& c : cases) {
        const ParametriRete r = CercaRete(t.host(), c.locale, c.concessionario, c.contratto);
        EXPECT_EQ(r.tipoRete, c.tipo) << c.locale << " " << c.contratto;
        EXPECT_DOUBLE_EQ(r.percRete, c.valore) << c.locale << " " << c.contratto;
    }
}

TEST_F(Contratti, ThirdManagerAndTaxes) {
    EXPECT_EQ(PercentualeTerzoGestore(t.host(), "BAR2", "RETE1", "C2"), 22.5);
    EXPECT_EQ(PercentualeTerzoGestore(t.host(), "BAR2", "RETE1", ""), std::nullopt);  // no contract
    EXPECT_EQ(PercentualeTerzoGestore(t.host(), "BAR1", "RETE1", "C2"),
              std::nullopt);  // not a third manager
    EXPECT_EQ(PercentualeTerzoGestore(t.host(), "BAR2", "RETE1", "C3"),
              std::nullopt);  // unknown contract type

    EXPECT_FALSE(TassaAttiva(t.host()).trovata);
    t.run(
        {"INSERT INTO anagraficaTasse (attiva, percentualepreu, percentualeAAMS) VALUES (0, 12, "
         "0.6), "
         "(-1, 13.004, 0.805)"});
    const AliquoteTasse a = TassaAttiva(t.host());
    EXPECT_TRUE(a.trovata);
    EXPECT_DOUBLE_EQ(a.preu, 13.0);
    EXPECT_DOUBLE_EQ(a.aams, 0.8);  // 0.805 to the even cent
}

}  // namespace
