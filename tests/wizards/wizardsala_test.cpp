// The hall wizard's list on a real database, and its "Crea incasso" against
// the same machines loaded by hand in the collection window.

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "collection/frmincassi.h"
#include "support/anagrafiche.h"
#include "support/guasti.h"
#include "support/incassi.h"
#include "support/testdb.h"
#include "values/values.h"
#include "window/scriptedui.h"
#include "wizards/wizardsala.h"

namespace incassi {
namespace {

class Sala : public ::testing::Test {
  protected:
    void SetUp() override {
        test::PreparaLocaleConAperti(t);
        // A machine of another collection type is not listed; hopper
        // documents of machine 1 on the 18th and, before the day, the 1st.
        test::InserisciMacchina(t, 3, "BAR1", 1, "2026-03-13", 0, 0);
        t.run(
            {"INSERT INTO NoteTeste (id, CodLocale, CodCausale, DataRegistrazione, Chiuso) "
             "VALUES (60, 'BAR1', 'HOP', '2026-03-18', 0), (61, 'BAR1', 'HOP', '2026-03-01', 0)",
             "INSERT INTO NoteIncassi (id, IdTesta, linkscheda, DataIncasso, LivelloH1, TipoH1, "
             "LivelloH2, TipoH2) VALUES (600, 60, 1, '2026-03-18', 10, 2, 3, NULL), (610, 61, 1, "
             "'2026-03-01', 99, 1, 0, 0)"});
    }
    test::TestDb t;
    ScriptedUi ui;
};

TEST_F(Sala, TheListOfTheHallsNetworkedMachines) {
    FrmWizardSala w(t.host(), "BAR1", QDate(2026, 3, 15));
    w.Carica();
    ASSERT_EQ(w.righe().size(), 2u);  // machine 3 is of type 1
    const RigaSala& a = w.righe()[0];
    EXPECT_EQ(a.linkScheda, 1);
    EXPECT_DOUBLE_EQ(a.hopper.toDouble(), 20);  // 10 x 2, the Null kind counting 0
    EXPECT_EQ(a.linkHopper.toInt(), 600);
    EXPECT_DOUBLE_EQ(a.parzialeIn.toDouble(), 600);  // 1600 - 1000
    EXPECT_DOUBLE_EQ(a.parzialeOut.toDouble(), 300);
    EXPECT_EQ(a.dataRilevazione, QDate(2026, 3, 20));
    const RigaSala& b = w.righe()[1];
    EXPECT_TRUE(IsNull(b.hopper));  // no HOP since the day
    EXPECT_DOUBLE_EQ(b.parzialeIn.toDouble(), 500);

    // A day after the readings: no reading, the meter columns stay empty.
    FrmWizardSala dopo(t.host(), "BAR1", QDate(2026, 3, 21));
    dopo.Carica();
    EXPECT_TRUE(IsNull(dopo.righe()[0].parzialeIn));
    EXPECT_FALSE(dopo.righe()[0].dataRilevazione.isValid());
    EXPECT_TRUE(IsNull(dopo.righe()[0].hopper));

    const FrmWizardSala::Totali tot = w.totali();
    EXPECT_EQ(tot.apparecchi, 2);
    EXPECT_EQ(tot.conHopper, 1);
    EXPECT_EQ(tot.parzialeIn, Dec(1100));
    EXPECT_EQ(tot.parzialeOut, Dec(500));
    EXPECT_EQ(FrmWizardSala::Colonne().size(), 18);
}

TEST_F(Sala, PagesAndTheHostsCloseRequest) {
    FrmWizardSala w(t.host(), "BAR1", QDate(2026, 3, 15));
    EXPECT_FALSE(w.Comando("CmdIndietro"));
    EXPECT_TRUE(w.Comando("CmdAvanti"));
    EXPECT_EQ(w.pagina(), 1);
    EXPECT_TRUE(w.Comando("CmdIndietro"));
    EXPECT_EQ(w.pagina(), 0);
    EXPECT_FALSE(w.Timer());
    t.host().chiediChiusura();
    EXPECT_TRUE(w.Timer());
}

// "Crea incasso" gives the document a person gets by choosing the same
// machines by hand.
TEST_F(Sala, CreateCollectionEqualsTheMachinesLoadedByHand) {
    ProprietaIngresso prop;
    auto sala = test::ApriIncassi(t.host(), ui, prop);
    FrmWizardSala w(t.host(), "BAR1", test::kGiornoIncassi);
    w.Carica();
    w.creaIncasso = [&](const QString& locale, const QDate& data,
                        const std::vector<qlonglong>& schede) {
        EXPECT_TRUE(sala->NuovoIncassoSala(locale, data, schede));
    };
    ASSERT_TRUE(w.Comando("CmdCreaIncasso"));
    EXPECT_TRUE(w.chiusa());
    sala->finestra()["txeCodEsattore"].setText("ES1");

    auto mano = test::ApriIncassi(t.host(), ui, prop);
    test::NuovoIncasso(*mano, ui, "INC6", "1|2|");
    // The moment each row was written is all that may differ.
    auto senzaIstanti = [](QStringList dump) {
        static const QRegularExpression kIstante(
            QStringLiteral("\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}\\.\\d{3}"));
        for (QString& riga : dump)
            riga.replace(kIstante, QString());
        return dump;
    };
    EXPECT_EQ(test::Differenza(senzaIstanti(test::DumpFinestra(mano->finestra())),
                               senzaIstanti(test::DumpFinestra(sala->finestra()))),
              "");
    EXPECT_EQ(sala->righeIncassi()->RecordCount(), 2);
    // Choosing the hall for a new INC6 said that its hopper documents are open.
    EXPECT_TRUE(std::any_of(ui.messaggi().begin(), ui.messaggi().end(), [](const auto& m) {
        return m.testo.startsWith("Il locale ha 2 documenti hopper della sala (HOP) ancora aperti");
    }));
}

}  // namespace
}  // namespace incassi
