#include "window/scriptedui.h"

#include <gtest/gtest.h>

#include "support/testdb.h"
#include "values/error.h"

namespace incassi {
namespace {

TEST(ScriptedUi, AnswersInOrderAndRecordsEveryMessage) {
    ScriptedUi ui;
    UiPort& porta = ui;  // asked as the windows ask
    ui.rispondi(Risposta::No).rispondi(Risposta::Annulla);

    EXPECT_EQ(porta.Messaggio(QStringLiteral("Salvataggio Completato"),
                              QStringLiteral("Salvataggio"), Icona::Informazione),
              Risposta::Ok);  // OK alone needs no prepared answer
    EXPECT_EQ(porta.Messaggio(QStringLiteral("Si desidera procedere comunque?"),
                              QStringLiteral("Conferma"), Icona::Esclamazione, Pulsanti::SiNo,
                              Risposta::No),
              Risposta::No);
    EXPECT_EQ(porta.Messaggio(QStringLiteral("Contatore?"), QStringLiteral("Attenzione"),
                              Icona::Domanda, Pulsanti::SiNoAnnulla),
              Risposta::Annulla);

    ASSERT_EQ(ui.messaggi().size(), 3u);
    const MessaggioRegistrato& m = ui.messaggi()[1];
    EXPECT_EQ(m.testo, QStringLiteral("Si desidera procedere comunque?"));
    EXPECT_EQ(m.titolo, QStringLiteral("Conferma"));
    EXPECT_EQ(m.icona, Icona::Esclamazione);
    EXPECT_EQ(m.pulsanti, Pulsanti::SiNo);
    EXPECT_EQ(m.predefinita, Risposta::No);
    EXPECT_EQ(m.risposta, Risposta::No);
    EXPECT_EQ(ui.messaggi()[0].icona, Icona::Informazione);
    EXPECT_EQ(ui.risposteRimaste(), 0);
}

TEST(ScriptedUi, RunningOutOrAnsweringWithAMissingButtonThrows) {
    struct {
        const char* caso;
        std::optional<Risposta> preparata;
        Pulsanti pulsanti;
    } casi[] = {{"nessuna risposta", std::nullopt, Pulsanti::SiNo},
                {"Sì a OK/Annulla", Risposta::Si, Pulsanti::OkAnnulla},
                {"Annulla a Sì/No", Risposta::Annulla, Pulsanti::SiNo},
                {"OK a Sì/No/Annulla", Risposta::Ok, Pulsanti::SiNoAnnulla}};
    for (const auto& c : casi) {
        ScriptedUi ui;
        UiPort& porta = ui;  // asked as the windows ask
        if (c.preparata) ui.rispondi(*c.preparata);
        try {
            porta.Messaggio(QStringLiteral("Salvo la vista corrente?"),
                            QStringLiteral("Conferma salvataggio"), Icona::Domanda, c.pulsanti);
            ADD_FAILURE() << c.caso;
        } catch (const Errore& e) {
            EXPECT_TRUE(e.testo().contains(QStringLiteral("Conferma salvataggio"))) << c.caso;
            EXPECT_TRUE(e.testo().contains(QStringLiteral("Salvo la vista corrente?"))) << c.caso;
        }
        EXPECT_TRUE(ui.messaggi().empty()) << c.caso;
    }
}

TEST(ScriptedUi, PickListsSearchesAndFiles) {
    test::TestDb db;
    db.createDocumentTables();
    db.run({QStringLiteral("INSERT INTO NoteTeste (id) VALUES (1), (2), (3)")});
    RecordSetPtr rs = db.host().OpenRecordSet(QStringLiteral("select * from NoteTeste"));

    ScriptedUi ui;
    UiPort& porta = ui;  // asked as the windows ask
    ui.rispondiElenco(QStringLiteral("1|3|")).rispondiElenco(QString());
    ui.rispondiElenco(QStringLiteral("1|2|"));
    EXPECT_EQ(porta.ElencoScelta(rs, QStringLiteral("Apparecchi"), QStringLiteral("ElencoApp"),
                                 QStringLiteral("id"), true),
              QStringLiteral("1|3|"));
    EXPECT_EQ(porta.ElencoScelta(rs, QStringLiteral("Magazzini"), QStringLiteral("ElencoMag"),
                                 QStringLiteral("id")),
              QString());
    // Several keys for a single choice is a scripting error, not a choice.
    EXPECT_THROW(porta.ElencoScelta(rs, QStringLiteral("Magazzini"), QStringLiteral("ElencoMag"),
                                    QStringLiteral("id")),
                 Errore);
    // The refused answer stays queued for the next list.
    EXPECT_EQ(porta.ElencoScelta(rs, QStringLiteral("Apparecchi"), QStringLiteral("ElencoApp"),
                                 QStringLiteral("id"), true),
              QStringLiteral("1|2|"));
    EXPECT_THROW(porta.ElencoScelta(rs, QStringLiteral("Apparecchi"), QStringLiteral("ElencoApp"),
                                    QStringLiteral("id"), true),
                 Errore);
    ASSERT_EQ(ui.elenchi().size(), 3u);
    EXPECT_EQ(ui.elenchi()[0].righe, 3);
    EXPECT_TRUE(ui.elenchi()[0].sceltaMultipla);
    EXPECT_EQ(ui.elenchi()[1].chiaveElenco, QStringLiteral("ElencoMag"));

    RichiestaRicerca r;
    r.Caption = QStringLiteral("Note incassi Locali");
    r.Modulo = QStringLiteral("NoteIncassiLocali");
    r.CampoRicerca = QStringLiteral("id");
    EXPECT_THROW(ui.Ricerca(r), Errore);
    ui.rispondiRicerca(QStringLiteral("12"));
    EXPECT_EQ(ui.Ricerca(r), QStringLiteral("12"));
    ASSERT_EQ(ui.ricerche().size(), 1u);
    EXPECT_EQ(ui.ricerche()[0].Modulo, QStringLiteral("NoteIncassiLocali"));

    EXPECT_THROW(ui.SalvaFile(QStringLiteral("Esporta"), QString(), QString()), Errore);
    ui.rispondiFile(QStringLiteral("/tmp/a.xls")).rispondiFile(QString());
    EXPECT_EQ(ui.SalvaFile(QStringLiteral("Esporta"), QString(), QString()),
              QStringLiteral("/tmp/a.xls"));
    EXPECT_EQ(ui.ApriFile(QStringLiteral("Scanner"), QString(), QString()), QString());
    EXPECT_EQ(ui.dialoghiFile(),
              QStringList({QStringLiteral("Esporta"), QStringLiteral("Scanner")}));
    EXPECT_TRUE(ui.ApriConProgramma(QStringLiteral("/tmp/a.xls")));
    EXPECT_EQ(ui.fileAperti(), QStringList(QStringLiteral("/tmp/a.xls")));
    EXPECT_EQ(ui.risposteRimaste(), 0);
}

}  // namespace
}  // namespace incassi
