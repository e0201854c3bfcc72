// The quick links: which are listed for whom, a stored query narrowed to the
// current venue, the module started with the plug-in protocol, the refusals.

#include <gtest/gtest.h>

#include "collection/frmincassi.h"
#include "entry/configura.h"
#include "entry/lanciatore.h"
#include "schema/creazione.h"
#include "support/anagrafiche.h"
#include "support/incassi.h"
#include "support/testdb.h"
#include "window/linkrapidi.h"
#include "window/scriptedui.h"

namespace incassi {
namespace {

class Link : public ::testing::Test {
  protected:
    void SetUp() override {
        schema::PreparaSchema(t.db());
        t.run(
            {"INSERT INTO linkrapidi (id, modulo, ordine, Descrizione, Descrizioneestesa, "
             "visibilita, nomequery, ModuloAvvio, Parametri, NomeVista) VALUES "
             "(1, 'Incassi', 2, 'Ultimi incassi', 'Ultimi incassi del locale', 0, 'IncLoc', "
             "'Incassi', 'id', 'RicIncassi'), "
             "(2, 'Incassi', 1, 'Prestito', 'Prestito a un locale', 1, NULL, 'Prestito', "
             "'CodLocale<Modale>', NULL), "
             "(3, 'Incassi', 3, 'Solo admin', NULL, 2, NULL, 'Giroconto', NULL, NULL), "
             "(4, 'Incassi', 4, 'Nascosto', NULL, 9, NULL, 'Giroconto', NULL, NULL), "
             "(5, 'Incassi', 5, 'Cattiva', NULL, 0, 'Cattiva', 'Incassi', 'id', NULL), "
             "(6, 'Incassi', 6, 'Persa', NULL, 0, 'Manca', 'Incassi', 'id', NULL), "
             "(7, 'Altro', 1, 'Di un altro modulo', NULL, 0, NULL, 'Altro', NULL, NULL)",
             "INSERT INTO queryrapide (nomequery, testoquery, CampoRicerca, campo, tipocampo, "
             "Ordine) VALUES ('IncLoc', 'SELECT id, CodLocale FROM NoteTeste WHERE "
             "CodCausale=''INC6''', 'CodLocale', 'id', 'T', 'ORDER BY id DESC'), ('Cattiva', "
             "'SELECT 1; DELETE FROM NoteTeste', NULL, 'id', 'T', NULL)",
             "INSERT INTO NoteTeste (id, CodLocale, CodCausale) VALUES (7, 'L''OSTE', 'INC6'), "
             "(8, 'L''OSTE', 'INC6'), (9, 'BAR', 'INC6'), (10, 'L''OSTE', 'ACC')"});
    }

    LinkRapidi link() {
        return LinkRapidi(t.host(), ui, QStringLiteral("Incassi"),
                          [this](const ProprietaIngresso& p) {
                              avviati.push_back(p);
                              return p.CodiceStampa != u"Sconosciuto";
                          });
    }

    test::TestDb t;
    ScriptedUi ui;
    std::vector<ProprietaIngresso> avviati;
};

TEST_F(Link, ListedByOrderAndByTheOperatorsRights) {
    const struct {
        Diritti diritti;
        QStringList testi;
    } casi[] = {
        {Diritti::Tutti(), {"Prestito", "Ultimi incassi", "Solo admin", "Cattiva", "Persa"}},
        {Diritti{}, {"Ultimi incassi", "Cattiva", "Persa"}},
        {Diritti{false, true, false, false, false, false, false},
         {"Prestito", "Ultimi incassi", "Cattiva", "Persa"}},
    };
    for (const auto& c : casi) {
        t.host().setOperatore({"ANNA", c.diritti});
        QStringList testi;
        for (const VoceLink& v : link().voci())
            testi << v.testo;
        EXPECT_EQ(testi, c.testi);
    }
    EXPECT_EQ(link().voci().front().chiave, "Link:2");
    EXPECT_EQ(link().titolo(), "Torvane Link Incassi");
}

// The stored query narrowed to the venue (its quote doubled), the search
// dialog over it, and the chosen document handed to the module started.
TEST_F(Link, AQueryLinkStartsTheModuleOnTheChosenRow) {
    ui.rispondiRicerca("7");
    ASSERT_TRUE(link().Esegui("Link:1", "L'OSTE"));
    const RichiestaRicerca& r = ui.ricerche().back();
    EXPECT_EQ(r.Caption, "Ultimi incassi del locale");
    EXPECT_EQ(r.Modulo, "RicIncassi");
    EXPECT_EQ(r.CampoRicerca, "id");
    ASSERT_EQ(r.Recordset->RecordCount(), 2);
    EXPECT_EQ(r.Recordset->Value("id").toInt(), 8);  // newest first
    ASSERT_EQ(avviati.size(), 1u);
    EXPECT_EQ(avviati[0].CodiceStampa, "Incassi");
    EXPECT_EQ(avviati[0].CodiceEsportazione, "Incassi");
    EXPECT_EQ(avviati[0].CampoRicerca, "id");
    EXPECT_EQ(avviati[0].Risposta, "7");
    EXPECT_EQ(avviati[0].Modale, "");

    // Nothing chosen: nothing started.
    ui.rispondiRicerca("");
    EXPECT_FALSE(link().Esegui("Link:1", "L'OSTE"));
    EXPECT_EQ(avviati.size(), 1u);
}

// A numeric positioning value is written as a number, or refused.
TEST_F(Link, ANumericPositionIsANumberOrRefused) {
    t.run(
        {"INSERT INTO queryrapide (nomequery, testoquery, CampoRicerca, campo, tipocampo) "
         "VALUES ('PerId', 'SELECT id, CodLocale FROM NoteTeste', 'id', 'id', 'N')",
         "UPDATE linkrapidi SET nomequery='PerId' WHERE id=1"});
    EXPECT_FALSE(link().Esegui("Link:1", "8 or 1=1"));
    EXPECT_EQ(ui.messaggi().back().testo, "Il valore \"8 or 1=1\" non è un numero.");
    ui.rispondiRicerca("8");
    ASSERT_TRUE(link().Esegui("Link:1", "8"));
    EXPECT_EQ(ui.ricerche().back().Recordset->RecordCount(), 1);
}

TEST_F(Link, ADirectLinkAndItsModalMarker) {
    ASSERT_TRUE(link().Esegui("Link:2"));
    ASSERT_EQ(avviati.size(), 1u);
    EXPECT_EQ(avviati[0].CodiceStampa, "Prestito");
    EXPECT_EQ(avviati[0].CampoRicerca, "CodLocale");
    EXPECT_EQ(avviati[0].Modale, "1");
    EXPECT_TRUE(ui.ricerche().empty());
}

TEST_F(Link, RefusedWithAMessage) {
    t.run({"UPDATE linkrapidi SET ModuloAvvio='Sconosciuto' WHERE id=2"});
    const struct {
        const char* chiave;
        const char* messaggio;
    } casi[] = {
        {"Link:5", "La query \"Cattiva\" non è una sola SELECT: non viene eseguita."},
        {"Link:6", "Query non trovata :->"},
        {"Link:2", "Il modulo \"Sconosciuto\" non è disponibile in questa installazione."},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.chiave);
        EXPECT_FALSE(link().Esegui(QLatin1String(c.chiave)));
        EXPECT_EQ(ui.messaggi().back().testo, QString::fromUtf8(c.messaggio));
    }
    EXPECT_FALSE(link().Esegui("Link:99"));
    EXPECT_FALSE(link().Esegui("Altro:1"));
}

// Through the entry protocol: the link hands the chosen document to the
// entry object, whose launcher opens the collection window on it.
TEST(LinkProtocollo, ALinkOpensIncassiOnTheChosenDocument) {
    test::TestDb t;
    test::PreparaLocaleConAperti(t);
    t.run(
        {"INSERT INTO linkrapidi (id, modulo, ordine, Descrizione, visibilita, nomequery, "
         "ModuloAvvio, Parametri) VALUES (1, 'Incassi', 1, 'Acconti', 0, 'Acc', 'Incassi', "
         "'id')",
         "INSERT INTO queryrapide (nomequery, testoquery, CampoRicerca, campo, tipocampo) "
         "VALUES ('Acc', 'SELECT id, DataRegistrazione FROM NoteTeste WHERE "
         "CodCausale=''ACC''', 'CodLocale', 'id', 'T')"});
    ScriptedUi ui;
    struct Apertura : Lanciatore {
        Apertura(Host& h, UiPort& u, configura& e) : host(h), ui(u), entrata(e) {}
        void Apri(const QString& nome, bool) override {
            EXPECT_EQ(nome, finestre::Incassi);
            prop = entrata.proprieta();
            finestra = test::ApriIncassi(host, ui, prop);
        }
        Host& host;
        UiPort& ui;
        configura& entrata;
        ProprietaIngresso prop;
        std::unique_ptr<FrmIncassi> finestra;
    };
    configura entrata;
    Apertura apertura(t.host(), ui, entrata);
    entrata.setLanciatore(&apertura);
    entrata.setApplicazione(&t.host());
    LinkRapidi link(t.host(), ui, QStringLiteral("Incassi"), [&](const ProprietaIngresso& p) {
        entrata.setProprieta(p);
        entrata.Start();
        return apertura.finestra != nullptr;
    });
    ui.rispondiRicerca("52");
    ASSERT_TRUE(link.Esegui("Link:1", "BAR1"));
    ASSERT_NE(apertura.finestra, nullptr);
    EXPECT_EQ((*apertura.finestra)["EtiId"].caption(), "52");
}

TEST(SoloSelect, OneSelectAndNothingElse) {
    for (const char* buona : {"SELECT * FROM NoteTeste", "select id from a where b='; drop'"})
        EXPECT_TRUE(LinkRapidi::SoloSelect(QLatin1String(buona))) << buona;
    for (const char* cattiva : {"", "DELETE FROM NoteTeste", "SELECT 1; SELECT 2",
                                "SELECT * INTO copia FROM NoteTeste", "select 'non chiusa"})
        EXPECT_FALSE(LinkRapidi::SoloSelect(QLatin1String(cattiva))) << cattiva;
}

}  // namespace
}  // namespace incassi
