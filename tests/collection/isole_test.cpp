// Island meters of a collection: reading and partial both ways, the totals by
// meter type, rows made once and reused, another workstation's rows never
// touched, and the master meters right after a save and after a deletion.

#include <gtest/gtest.h>

#include "auxwin/contatoriisole.h"
#include "collection/frmincassi.h"
#include "support/anagrafiche.h"
#include "support/incassi.h"
#include "support/testdb.h"
#include "window/scriptedui.h"

namespace incassi {
namespace {

class Isole : public ::testing::Test {
  protected:
    void SetUp() override {
        test::PreparaLocaleConAperti(t);
        test::InserisciMacchina(t, 5, "BAR1", 13, "2026-03-13", 0, 0);
        t.run(
            {"INSERT INTO magschedecontatori (id, linkscheda, NumeroContatore, tipocontatore, "
             "moltiplicatore, contatore, ContatoreAttuale, DataContatore) VALUES "
             "(71, 5, 1, 'IN', 0.1, 1000, 1000, '2026-03-13'), "
             "(72, 5, 2, 'OUT', 0.1, 400, 400, '2026-03-13'), "
             "(73, 5, 3, 'VINC', 1, 50, 50, '2026-03-13')",
             // Another workstation is collecting the same island.
             "INSERT INTO NoteIncassiContatori (IdTesta, linkscheda, linkcontatore, "
             "NumeroContatore, tipocontatore, moltiplicatore, vecchiocontatore, idoperatore) "
             "VALUES (0, 5, 71, 1, 'IN', 0.1, 1000, 'BRUNO')"});
    }

    // A new cash-box collection of BAR1 with the island loaded, its row current.
    std::unique_ptr<FrmIncassi> incasso() {
        auto f = test::ApriIncassi(t.host(), ui, prop);
        test::NuovoIncasso(*f, ui, "INC", "5|");
        f->righeIncassi()->MoveFirst();
        return f;
    }
    QVariant q(const QString& sql) { return t.scalar(sql); }
    int mie() {
        return q("select count(*) from NoteIncassiContatori where idtesta=0 and "
                 "idoperatore='ANNA'")
            .toInt();
    }

    test::TestDb t;
    ScriptedUi ui;
    ProprietaIngresso prop;
};

// 1000 -> 1250 at 0,1 is 25; a partial of 10 at 0,1 over 400 is the reading
// 500; the "V" meter counts in neither total.
void Leggi(FrmContatoriIsole& isola) {
    RecordSet& r = *isola.righe();
    ASSERT_EQ(r.RecordCount(), 3);
    r.MoveFirst();
    r.SetValue("ContatoreAttuale", 1250);
    EXPECT_TRUE(isola.CellaModificata("ContatoreAttuale", 1000));
    EXPECT_DOUBLE_EQ(r.Value("Parziale").toDouble(), 25);
    r.MoveNext();
    r.SetValue("Parziale", 10);
    EXPECT_TRUE(isola.CellaModificata("Parziale", QVariant()));
    EXPECT_DOUBLE_EQ(r.Value("ContatoreAttuale").toDouble(), 500);
    EXPECT_DOUBLE_EQ(r.Value("contatore").toDouble(), 500);
    r.MoveNext();
    r.SetValue("ContatoreAttuale", 80);
    EXPECT_TRUE(isola.CellaModificata("ContatoreAttuale", 50));
}

TEST_F(Isole, SavedAndDeletedTheMasterMetersFollow) {
    auto f = incasso();
    f->apriContatoriIsola = Leggi;
    ASSERT_TRUE(f->ContatoriIsola());
    RecordSet& riga = *f->righeIncassi();
    EXPECT_DOUBLE_EQ(riga.Value("parzialeIn").toDouble(), 25);
    EXPECT_DOUBLE_EQ(riga.Value("parzialeOut").toDouble(), 10);
    // Opened again: the same rows, none made twice.
    f->apriContatoriIsola = [](FrmContatoriIsole& i) { EXPECT_EQ(i.righe()->RecordCount(), 3); };
    ASSERT_TRUE(f->ContatoriIsola());
    EXPECT_EQ(mie(), 3);

    ASSERT_TRUE(f->Salva());
    const qlonglong id = f->finestra()["EtiId"].caption().toLongLong();
    EXPECT_EQ(
        q(QStringLiteral("select count(*) from NoteIncassiContatori where idtesta=%1").arg(id))
            .toInt(),
        3);
    // The other workstation's row waits as it was.
    EXPECT_EQ(q("select count(*) from NoteIncassiContatori where idtesta=0").toInt(), 1);
    const struct {
        int id;
        double lettura;
    } dopo[] = {{71, 1250}, {72, 500}, {73, 80}};
    for (const auto& m : dopo) {
        EXPECT_DOUBLE_EQ(
            q(QStringLiteral("select contatore from magschedecontatori where id=%1").arg(m.id))
                .toDouble(),
            m.lettura);
        EXPECT_DOUBLE_EQ(
            q(QStringLiteral("select ContatoreAttuale from magschedecontatori where id=%1")
                  .arg(m.id))
                .toDouble(),
            m.lettura);
    }
    EXPECT_EQ(q("select DataContatore from magschedecontatori where id=71").toDate(),
              test::kGiornoIncassi);

    // Deleted: the masters hold the readings before the collection again.
    ui.rispondi(Risposta::Si);
    ASSERT_TRUE(f->Elimina());
    EXPECT_DOUBLE_EQ(q("select contatore from magschedecontatori where id=71").toDouble(), 1000);
    EXPECT_DOUBLE_EQ(q("select ContatoreAttuale from magschedecontatori where id=73").toDouble(),
                     50);
    EXPECT_EQ(q("select DataContatore from magschedecontatori where id=72").toDate(),
              QDate(2026, 3, 13));
    EXPECT_EQ(q("select count(*) from NoteIncassiContatori").toInt(), 1);  // BRUNO's
}

// A stored collection corrected: the meters change with the correction, go
// back when it is undone, and reach the master when it is saved.
TEST_F(Isole, ACorrectionUndoneOrSaved) {
    auto f = incasso();
    f->apriContatoriIsola = Leggi;
    ASSERT_TRUE(f->ContatoriIsola());
    ASSERT_TRUE(f->Salva());
    const qlonglong id = f->finestra()["EtiId"].caption().toLongLong();
    auto lettura = [&] {
        return q(QStringLiteral("select ContatoreAttuale from NoteIncassiContatori where "
                                "idtesta=%1 and linkcontatore=71")
                     .arg(id))
            .toDouble();
    };
    auto correggi = [&](double valore) {
        f->Modifica();
        ASSERT_TRUE(f->inModifica());
        f->righeIncassi()->MoveFirst();
        f->apriContatoriIsola = [valore](FrmContatoriIsole& i) {
            ASSERT_TRUE(i.modificabile());
            i.righe()->MoveFirst();
            const QVariant prima = i.righe()->Value("ContatoreAttuale");
            i.righe()->SetValue("ContatoreAttuale", valore);
            i.CellaModificata("ContatoreAttuale", prima);
        };
        ASSERT_TRUE(f->ContatoriIsola());
        EXPECT_DOUBLE_EQ(lettura(), valore);
    };
    correggi(1300);
    f->Annulla();
    EXPECT_DOUBLE_EQ(lettura(), 1250);
    EXPECT_DOUBLE_EQ(f->righeIncassi()->Value("parzialeIn").toDouble(), 25);

    correggi(1300);
    ASSERT_TRUE(f->Salva());
    EXPECT_DOUBLE_EQ(lettura(), 1300);
    EXPECT_DOUBLE_EQ(q("select contatore from magschedecontatori where id=71").toDouble(), 1300);
}

TEST_F(Isole, UndoDropsOnlyThisOperatorsRows) {
    auto f = incasso();
    f->apriContatoriIsola = Leggi;
    ASSERT_TRUE(f->ContatoriIsola());
    EXPECT_EQ(mie(), 3);
    f->Annulla();
    EXPECT_EQ(mie(), 0);
    EXPECT_EQ(q("select count(*) from NoteIncassiContatori where idoperatore='BRUNO'").toInt(), 1);
}

TEST_F(Isole, NoMetersGiveZeroAndAPartialAtMultiplierZeroIsRefused) {
    t.run({"DELETE FROM magschedecontatori"});
    auto f = incasso();
    f->apriContatoriIsola = [](FrmContatoriIsole& i) { EXPECT_EQ(i.righe()->RecordCount(), 0); };
    ASSERT_TRUE(f->ContatoriIsola());
    EXPECT_DOUBLE_EQ(f->righeIncassi()->Value("parzialeIn").toDouble(), 0);

    t.run(
        {"INSERT INTO NoteIncassiContatori (IdTesta, linkscheda, tipocontatore, moltiplicatore, "
         "vecchiocontatore, Parziale, idoperatore) VALUES (0, 9, 'IN', 0, 100, 7, 'ANNA')"});
    auto righe =
        t.host().OpenRecordSetBatch("select * from NoteIncassiContatori where linkscheda=9");
    FrmContatoriIsole isola(ui, righe, "Isola", true);
    righe->SetValue("Parziale", 25);
    EXPECT_FALSE(isola.CellaModificata("Parziale", 7));
    EXPECT_DOUBLE_EQ(righe->Value("Parziale").toDouble(), 7);
    EXPECT_TRUE(ui.messaggi().back().testo.contains("moltiplicatore 0"));
}

}  // namespace
}  // namespace incassi
