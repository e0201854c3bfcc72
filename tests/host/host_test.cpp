#include <gtest/gtest.h>

#include <QDir>

#include "support/testdb.h"
#include "values/error.h"
#include "values/values.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

TEST(Host, TransactionRollsBackWhenLeftWithoutCommit) {
    TestDb t;
    t.createDocumentTables();
    try {
        TransazioneHost tr(t.host());
        t.host().Execute("insert into noteteste (codlocale) values ('A')");
        {
            TransazioneHost inner(t.host());
            t.host().Execute("insert into noteteste (codlocale) values ('B')");
        }  // the inner scope alone rolls back
        EXPECT_EQ(t.scalar("select count(*) from noteteste").toInt(), 1);
        t.host().Execute("insert into nessunatabella (x) values (1)");
        tr.commit();
    } catch (const Errore& e) {
        EXPECT_TRUE(e.testo().contains("nessunatabella"));
    }
    EXPECT_EQ(t.scalar("select count(*) from noteteste").toInt(), 0);

    {
        TransazioneHost tr(t.host());
        t.host().Execute("insert into noteteste (codlocale) values ('C')");
        tr.commit();
    }
    EXPECT_EQ(t.scalar("select count(*) from noteteste").toInt(), 1);
    EXPECT_EQ(t.db().transactionDepth(), 0);
}

TEST(Host, SettingsReadBackIntegersAsBooleans) {
    TestDb t;
    SqlHost& h = t.host();
    EXPECT_TRUE(h.LeggiFlag("Incassi", "AbbuoniAutomatico", true));
    EXPECT_FALSE(h.LeggiFlag("Incassi", "AmmancoAutomatico", false));
    h.salvasettaggio("Incassi", "AbbuoniAutomatico", 0);
    h.salvasettaggio("Incassi", "AmmancoAutomatico", -1);
    h.salvasettaggio("Scanner", "Percorso", "C:\\scan\\in\\");
    EXPECT_FALSE(h.LeggiFlag("Incassi", "AbbuoniAutomatico", true));
    EXPECT_TRUE(h.LeggiFlag("Incassi", "AmmancoAutomatico", false));
    EXPECT_EQ(h.LeggiSettaggio("Incassi", "AmmancoAutomatico", 0).toInt(), -1);
    EXPECT_EQ(h.LeggiSettaggio("Scanner", "Percorso", "").toString(), "C:\\scan\\in\\");

    // A second host on the same file sees what the first stored.
    SettingsStore again(QDir(t.folder()).filePath("torvane.ini"));
    EXPECT_EQ(again.read("Incassi", "AmmancoAutomatico", 0).toInt(), -1);
}

TEST(Host, OperatorAndFolder) {
    TestDb t;
    t.host().setOperatore({"MARIO", Diritti{false, true, false, true, false, true, false}});
    EXPECT_EQ(t.host().user(), "MARIO");
    EXPECT_FALSE(t.host().UserAdmin());
    EXPECT_TRUE(t.host().UserInserimento());
    EXPECT_FALSE(t.host().UserCancellazione());
    EXPECT_TRUE(t.host().percorso().endsWith('/'));
    EXPECT_FALSE(t.host().ChiudiFinestre());
    t.host().chiediChiusura();
    EXPECT_TRUE(t.host().ChiudiFinestre());
}

}  // namespace
