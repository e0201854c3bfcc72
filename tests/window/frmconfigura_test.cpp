// The grid view editor on a real database and install folder: saving,
// activating and deleting views, the names refused, the shared default.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "schema/creazione.h"
#include "support/testdb.h"
#include "window/frmconfigura.h"
#include "window/gridviews.h"
#include "window/scriptedui.h"

namespace incassi {
namespace {

class Configura : public ::testing::Test {
  protected:
    void SetUp() override { schema::PreparaSchema(t.db()); }

    FrmConfigura editor() {
        LayoutGriglia l;
        l.colonne = {{"CodConto", 0, 80, "Conto", true, {}}, {"Dare", 1, 60, "Dare", true, {}}};
        return FrmConfigura(t.host(), ui, QStringLiteral("NoteRighe"), l,
                            {"CodConto", "Dare", "Avere"});
    }
    int preferite() {
        return t
            .scalar(
                "SELECT count(*) FROM viste WHERE codicericerca='NoteRighe' AND "
                "preferito<>0")
            .toInt();
    }

    test::TestDb t;
    ScriptedUi ui;
};

TEST_F(Configura, FieldsMissingFromTheLayoutJoinItHidden) {
    FrmConfigura f = editor();
    EXPECT_EQ(f.visibili(), (QStringList{"CodConto", "Dare"}));
    EXPECT_EQ(f.nascosti(), QStringList{"Avere"});
    f.mostra("avere", true);
    f.mostra("CodConto", false);
    EXPECT_EQ(f.visibili(), (QStringList{"Dare", "Avere"}));
    f.mostraTutti(false);
    EXPECT_TRUE(f.visibili().isEmpty());
}

// Saving with "predefinita", again under another name, then activating the
// first: one preferred view at each step. The style survives the file.
TEST_F(Configura, OnePreferredViewAndTheStyleKept) {
    FrmConfigura f = editor();
    f.griglia().evidenziaRiga = true;
    f.griglia().colorePari = 0x00FF00;
    ui.rispondi(Risposta::Si).rispondi(Risposta::Si).rispondi(Risposta::Si);
    ASSERT_TRUE(f.Salva("Mia", true));
    ASSERT_TRUE(f.Salva("L'altra", true));
    EXPECT_EQ(f.viste(), (QStringList{"Mia", "L'altra"}));
    EXPECT_EQ(f.preferita(), "L'altra");
    EXPECT_EQ(preferite(), 1);
    ASSERT_TRUE(f.Attiva("Mia"));
    EXPECT_EQ(f.preferita(), "Mia");
    EXPECT_EQ(preferite(), 1);
    LayoutGriglia letto;
    ASSERT_TRUE(VisteGriglia(t.host()).CaricaVista("Mia", letto));
    EXPECT_EQ(letto, f.griglia());
    EXPECT_EQ(ui.messaggi().back().testo, "Vuoi modificare la vista selezionata");
}

TEST_F(Configura, NamesAFileCannotHoldAreRefusedBeforeAnyQuestion) {
    FrmConfigura f = editor();
    for (const char* nome :
         {"", "   ", "../fuori", "a/b", "a\\b", "ora:12", "a*", "tab\tx", "fine."}) {
        SCOPED_TRACE(nome);
        EXPECT_FALSE(f.Salva(QString::fromUtf8(nome), false));
        EXPECT_TRUE(ui.messaggi().back().testo.startsWith("Impossibile salvare la vista:"));
    }
    EXPECT_TRUE(f.viste().isEmpty());
    EXPECT_FALSE(QDir(t.host().percorso() + "pers").exists());
}

// A view deleted leaves its file: saving again under its name overwrites it.
// A listed view whose file is gone cannot be saved over.
TEST_F(Configura, DeletingAndSavingAgain) {
    FrmConfigura f = editor();
    ui.rispondi(Risposta::Si).rispondi(Risposta::Si).rispondi(Risposta::Si);
    ASSERT_TRUE(f.Salva("Mia", false));
    const QString file = VisteGriglia(t.host()).filePersonale("Mia");
    ASSERT_TRUE(f.EliminaVista("Mia"));
    EXPECT_EQ(ui.messaggi().back().testo, "Cancellazione effettuata");
    EXPECT_TRUE(f.viste().isEmpty());
    EXPECT_TRUE(QFile::exists(file));
    ASSERT_TRUE(f.Salva("Mia", false));
    QFile::remove(file);
    ui.rispondi(Risposta::Si);
    EXPECT_FALSE(f.Salva("mia", false));
    EXPECT_TRUE(
        ui.messaggi().back().testo.startsWith("Impossibile salvare la vista con questo nome"));
    // A No changes nothing.
    ui.rispondi(Risposta::No);
    EXPECT_FALSE(f.EliminaVista("Mia"));
    EXPECT_EQ(f.viste(), QStringList{"Mia"});
}

TEST_F(Configura, TheSharedDefaultIsForAdministratorsOnly) {
    FrmConfigura f = editor();
    Diritti d = Diritti::Tutti();
    d.admin = false;
    t.host().setOperatore({"ANNA", d});
    EXPECT_FALSE(f.SalvaComeBase());
    EXPECT_TRUE(ui.messaggi().back().testo.startsWith("Solo un amministratore"));

    t.host().setOperatore({"ANNA", Diritti::Tutti()});
    ui.rispondi(Risposta::Si).rispondi(Risposta::Si);
    ASSERT_TRUE(f.SalvaComeBase());
    f.mostraTutti(false);
    ASSERT_TRUE(f.CaricaDefault());
    EXPECT_EQ(f.visibili(), (QStringList{"CodConto", "Dare"}));

    // A folder that cannot be written (here a file stands in its place, which
    // stops root too): a message, no exception.
    const QString cartella = t.host().percorso() + "parametri";
    ASSERT_TRUE(QDir(cartella).removeRecursively());
    QFile(cartella).open(QIODevice::WriteOnly);
    ui.rispondi(Risposta::Si);
    EXPECT_FALSE(f.SalvaComeBase());
    EXPECT_TRUE(ui.messaggi().back().testo.startsWith("Impossibile salvare la vista base"));
}

}  // namespace
}  // namespace incassi
