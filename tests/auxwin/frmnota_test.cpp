// The venue's note: one row made then updated, deleted with its message only
// when there was one, the refusals, the search over every note.

#include <gtest/gtest.h>

#include "auxwin/frmnota.h"
#include "schema/creazione.h"
#include "support/testdb.h"
#include "window/scriptedui.h"

namespace incassi {
namespace {

class Nota : public ::testing::Test {
  protected:
    void SetUp() override {
        schema::PreparaSchema(t.db());
        t.run(
            {"INSERT INTO AnagraficaLocali (CodLocale, Insegna, Citta) VALUES ('L''OSTE', "
             "'L''Oste', 'Roma')"});
    }
    int righe() { return t.scalar("SELECT count(*) FROM notalocale").toInt(); }

    test::TestDb t;
    ScriptedUi ui;
};

TEST_F(Nota, OneRowMadeThenUpdated) {
    for (const char* testo : {"Chiuso il lunedì", "Chiuso il martedì"}) {
        FrmNota f(t.host(), ui, "L'OSTE", FrmNota::NotaDi(t.host(), "L'OSTE"));
        f["txtNote"].setText(QString::fromUtf8(testo));
        ui.rispondi(Risposta::Si);
        ASSERT_TRUE(f.Esegui("CmdSalva"));
        EXPECT_TRUE(f.chiusa());
    }
    EXPECT_EQ(righe(), 1);
    EXPECT_EQ(FrmNota::NotaDi(t.host(), "l'oste"), QString::fromUtf8("Chiuso il martedì"));
    EXPECT_EQ(t.scalar("SELECT IdOperatore FROM notalocale").toString(), "ANNA");
    EXPECT_EQ(ui.messaggi().back().titolo, "Salvataggio");

    FrmNota f(t.host(), ui, "L'OSTE", "altro");
    ui.rispondi(Risposta::No);
    EXPECT_FALSE(f.Esegui("CmdSalva"));
    EXPECT_FALSE(f.chiusa());
    EXPECT_EQ(FrmNota::NotaDi(t.host(), "L'OSTE"), QString::fromUtf8("Chiuso il martedì"));
}

TEST_F(Nota, DeletedWithItsMessageOnlyWhenThereWasOne) {
    t.run({"INSERT INTO notalocale (codlocale, NotaLocale) VALUES ('L''OSTE', 'x')"});
    FrmNota f(t.host(), ui, "L'OSTE", "x");
    ui.rispondi(Risposta::Si);
    ASSERT_TRUE(f.Esegui("CmdElimina"));
    EXPECT_EQ(righe(), 0);
    const auto& domanda = ui.messaggi()[0];
    EXPECT_EQ(domanda.testo, "Confermi l'eliminazione della nota?");
    EXPECT_EQ(domanda.predefinita, Risposta::No);
    EXPECT_EQ(ui.messaggi().back().testo, "Cancellazione avvenuta con successo");
    EXPECT_EQ(ui.messaggi().back().titolo, "Ok");

    FrmNota g(t.host(), ui, "L'OSTE", "");
    ui.rispondi(Risposta::Si);
    EXPECT_FALSE(g.Esegui("CmdElimina"));
    EXPECT_EQ(ui.messaggi().back().testo, "Il locale non ha una nota da eliminare.");
}

TEST_F(Nota, NoVenueNothingAskedAndTheSearchOverEveryNote) {
    FrmNota vuota(t.host(), ui, "  ", "testo");
    EXPECT_FALSE(vuota.Esegui("CmdSalva"));
    EXPECT_FALSE(vuota.Esegui("CmdElimina"));
    EXPECT_EQ(ui.messaggi().size(), 2u);
    EXPECT_EQ(righe(), 0);

    t.run({"INSERT INTO notalocale (codlocale, NotaLocale) VALUES ('L''OSTE', 'x')"});
    FrmNota f(t.host(), ui, "L'OSTE", "x");
    ui.rispondiRicerca("");
    EXPECT_TRUE(f.Esegui("CmdVisualizza"));
    const RichiestaRicerca& r = ui.ricerche().back();
    EXPECT_EQ(r.Modulo, "NoteIncassiLocali");
    EXPECT_EQ(r.Caption, "Note incassi Locali");
    EXPECT_EQ(r.CampoRicerca, "id");
    EXPECT_EQ(r.Recordset->RecordCount(), 1);
    EXPECT_EQ(r.Recordset->Value("Insegna").toString(), "L'Oste");
    EXPECT_TRUE(f.Esegui("CmdAnnulla"));
    EXPECT_TRUE(f.chiusa());
}

}  // namespace
}  // namespace incassi
