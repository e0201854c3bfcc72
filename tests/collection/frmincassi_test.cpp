#include <gtest/gtest.h>

#include <QRegularExpression>

#include "collection/frmincassi.h"
#include "schema/creazione.h"
#include "support/testdb.h"
#include "values/values.h"
#include "window/scriptedui.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

const QDate kOggi(2026, 3, 20);

// Venues, machines and documents enough to open the window and load rows.
class Finestra : public ::testing::Test {
  protected:
    void SetUp() override {
        schema::PreparaSchema(t.db());
        t.run({
            "INSERT INTO anagraficaaziende (CodiceAzienda, ordine) VALUES ('AZ1', 1), ('AZ2', 2)",
            "INSERT INTO AnagraficaLocali (CodLocale, Insegna, citta, CodiceAzienda, sospeso, "
            "GestioneDenaro, "
            "IncassoTasse, tipologiaincasso) VALUES ('BAR1', 'Bar Sport', 'Roma', 'AZ1', 0, "
            "'Locale', 'Noleggiatore', 3), "
            "('BAR2', 'Bar Centrale', 'Napoli', 'AZ2', 0, 'Noleggiatore', 'Locale', 0), "
            "('SOSP', 'Bar Chiuso', 'Bari', 'AZ1', -1, 'Noleggiatore', 'Locale', 0)",
            "INSERT INTO MagAnagArticoli (CodArticolo, TipoArticolo, CatApparecchio) VALUES "
            "('AWP', 4, 'AWP'), "
            "('CAMB', 4, 'CAMB')",
        });
        macchina(1, "BAR1", 6, "2026-03-13", 1000, 400);
        macchina(2, "BAR1", 6, "2026-03-13", 5000, 3000);
        macchina(3, "BAR1", 2, "2026-03-13", 0, 0);
        macchina(4, "BAR1", 0, "2026-03-13", 0, 0);
        ui.rispondiElenco("");  // never used unless a test loads
    }

    void macchina(int id, const char* locale, int tipologia, const char* ultimo, double in,
                  double out) {
        t.run({QStringLiteral(
                   "INSERT INTO MagSchede (id, NomeGioco, CodiceInterno, CodiceAAMS, CodLocale, "
                   "TipologiaIncasso, ultimoIncasso, cntotin, cntotout, Tipoh1, attualeh1, "
                   "MoltiplicatoreIn, Moltiplicatoreout, CodConcessionario) VALUES (%1, 'Gioco%1', "
                   "'INT%1', 'AAMS%1', '%2', %3, %4, %5, %6, 1, 50, 1, 1, 'RETE1')")
                   .arg(id)
                   .arg(locale)
                   .arg(tipologia)
                   .arg(ultimo ? QStringLiteral("'%1'").arg(ultimo) : QStringLiteral("NULL"))
                   .arg(in)
                   .arg(out),
               QStringLiteral(
                   "INSERT INTO MagProdottoFinito (id, Descrizione, CodLocale, CodArticolo, "
                   "OrdineIncasso) VALUES (%1, 'Prodotto %1', '%2', '%3', %1)")
                   .arg(100 + id)
                   .arg(locale)
                   .arg(tipologia == 2 ? "CAMB" : "AWP"),
               QStringLiteral(
                   "INSERT INTO MagProdottoDistinta (IdProdottoFinito, linkScheda, TipoArticolo) "
                   "VALUES (%1, %2, 1)")
                   .arg(100 + id)
                   .arg(id)});
    }

    std::unique_ptr<FrmIncassi> apri(const char* codice = "", const char* parametri = "",
                                     RecordOperatore op = {}) {
        prop.Codice = codice;
        prop.Parametri = parametri;
        auto f = std::make_unique<FrmIncassi>(t.host(), ui, prop, op);
        f->orologio = [] { return kOggi; };
        f->Apri();
        return f;
    }

    // A new document at BAR1 on the test day with the given causal.
    std::unique_ptr<FrmIncassi> nuovo(const char* causale, const char* locale = "BAR1") {
        auto f = apri();
        f->Nuovo();
        (*f)["txtDataRegistrazione"].setValue(kOggi);
        EXPECT_TRUE(f->casella("txeCodCausale").ImpostaCodice(causale));
        EXPECT_TRUE(f->casella("txeCodLocale").ImpostaCodice(locale));
        return f;
    }

    std::vector<int> macchineCaricate(FrmIncassi& f) {
        std::vector<int> ids;
        auto rs = f.righeIncassi();
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            ids.push_back(int(Num(rs->Value("linkscheda"))));
        return ids;
    }

    int candidati() { return ui.elenchi().back().righe; }

    TestDb t;
    ScriptedUi ui;
    ProprietaIngresso prop;
};

TEST_F(Finestra, OpeningListsTheDocuments) {
    t.run(
        {"INSERT INTO NoteTeste (id, CodLocale, CodCausale, DataRegistrazione, CodiceAzienda) "
         "VALUES "
         "(15, 'BAR1', 'INC6', '2026-03-01', 'AZ1'), (16, 'BAR2', 'INC', '2026-03-02', 'AZ2'), "
         "(17, 'xabcx', 'INC', '2026-03-03', 'AZ1'), (18, 'a_%c', 'INC', NULL, 'AZ1')"});
    struct Case {
        const char* codice;
        const char* parametri;
        std::vector<int> ids;
        const char* titolo;
    } cases[] = {
        {"15", "CodLocale", {15}, "..:: Prima Nota - Incassi ::.."},
        {"abc", "CodLocale", {17}, "..:: CodLocale -> abc ::.."},
        // "%" and "_" are the text looked for, not wildcards.
        {"_%", "CodLocale", {18}, "..:: CodLocale -> _% ::.."},
        {"", "", {17, 16, 15, 18}, "..:: Prima Nota - Incassi ::.."},
        {"x' or '1'='1", "CodLocale", {}, "..:: CodLocale -> x' or '1'='1 ::.."},
    };
    for (const Case& c : cases) {
        auto f = apri(c.codice, c.parametri);
        std::vector<int> ids;
        for (auto rs = f->documenti(); !rs->Eof(); rs->MoveNext())
            ids.push_back(rs->Value("id").toInt());
        EXPECT_EQ(ids, c.ids) << c.codice;
        EXPECT_EQ(f->titolo(), c.titolo);
    }
    // A field that is not a column is refused with a message; the window stays open.
    auto f = apri("abc", "CodLocale like '%' or 1=1 --");
    EXPECT_EQ(ui.messaggi().back().icona, Icona::Critico);
    EXPECT_TRUE(ui.messaggi().back().testo.contains("non esiste"));

    auto shown = apri();
    EXPECT_EQ(shown->stato(), "Record 1 di 4");
    EXPECT_EQ(shown->finestra()["EtiId"].caption(), "17");
    EXPECT_EQ(shown->finestra()["txeCodLocale"].text(), "xabcx");

    // An operator restricted to one company sees only its documents and venues.
    RecordOperatore ristretto;
    ristretto.trovato = true;
    ristretto.codiceditta = "AZ2";
    auto r = apri("", "", ristretto);
    EXPECT_EQ(r->documenti()->RecordCount(), 1);
    EXPECT_FALSE(r->casella("txeCodLocale").ImpostaCodice("BAR1"));
    EXPECT_TRUE(r->casella("txeCodLocale").ImpostaCodice("bar2"));
}

TEST_F(Finestra, PreferencesDefaultsAndTheExclusiveGroup) {
    auto f = apri();
    for (const VocePreferenza& v : VociPreferenze()) {
        EXPECT_EQ(f->preferenze().attiva(v.chiave), qstrcmp(v.chiave, "AbbuoniAutomatico") == 0)
            << v.chiave;
    }
    f->ClicMenu("MenuAbbuoni");  // the checked item stays checked and rewrites the three keys
    EXPECT_TRUE(f->preferenze().attiva("MenuAbbuoni"));
    EXPECT_EQ(t.host().LeggiSettaggio("Incassi", "AmmancoAutomatico", 9).toInt(), 0);
    EXPECT_EQ(t.host().LeggiSettaggio("Incassi", "AbbuoniAutomatico", 9).toInt(), -1);
    EXPECT_EQ(t.host().LeggiSettaggio("Incassi", "RimanenzaAutomatico", 9).toInt(), 0);
    f->ClicMenu("MenuRimanenza");
    EXPECT_FALSE(f->preferenze().attiva("MenuAbbuoni"));
    EXPECT_TRUE(f->preferenze().attiva("RimanenzaAutomatico"));
    // A settlement command that switches the treatment shows in the menu at once.
    f->ClicMenu("MenuAbbuoni");
    f->Nuovo();
    f->CmdAcconto();
    auto spuntato = [&](const char* chiave) {
        for (const MenuItem& m : f->menu().menus)
            for (const MenuItem& v : m.children)
                if (v.key == QLatin1String(chiave)) return v.checked;
        return false;
    };
    EXPECT_TRUE(spuntato("MenuRimanenza"));
    EXPECT_FALSE(spuntato("MenuAbbuoni"));
    f->Annulla();
    f->ClicMenu("MenuVisHopper");
    EXPECT_EQ(t.host().LeggiSettaggio("Incassi", "VisHopper", 9).toInt(), -1);
    f->ClicMenu("MenuVisHopper");
    EXPECT_EQ(t.host().LeggiSettaggio("Incassi", "VisHopper", 9).toInt(), 0);

    // Suspended venues appear in both venue boxes once the preference is on.
    EXPECT_FALSE(f->casella("txeCodLocale").ImpostaCodice("SOSP"));
    f->ClicMenu("MenuLocaliSospesi");
    EXPECT_TRUE(f->casella("txeCodLocale").ImpostaCodice("SOSP"));
    EXPECT_TRUE(f->casella("TxLocale").ImpostaCodice("SOSP"));

    ui.rispondiFile("/home/anna/scan/in/a.pdf");
    f->ClicMenu("MenuPercorsoScan");
    EXPECT_EQ(t.host().LeggiSettaggio("Scanner", "Percorso", "").toString(), "/home/anna/scan/in/");
    EXPECT_EQ(ui.messaggi().back().testo, "/home/anna/scan/in/\nPercorso impostato correttamente");
    EXPECT_EQ(CartellaScanner("C:\\scan\\in\\a.pdf"), "C:\\scan\\in\\");
}

TEST_F(Finestra, BalancesTakeSameDayRowsAndLeaveLaterOnes) {
    t.run(
        {"INSERT INTO NoteRighe (IdTesta, CodConto, CodLocale, Data, Dare, Avere) VALUES "
         "(1, (SELECT ResiduiIncassi FROM TabAssociazioneConti), 'BAR1', '2026-03-10', 100, 0), "
         "(2, (SELECT ResiduiIncassi FROM TabAssociazioneConti), 'BAR1', '2026-03-20', 0, 30), "
         "(3, (SELECT ResiduiIncassi FROM TabAssociazioneConti), 'BAR1', '2026-03-21', 500, 0), "
         "(4, (SELECT ResiduiIncassi FROM TabAssociazioneConti), 'BAR2', '2026-03-10', 7, 0), "
         "(5, (SELECT PrestitiALocale FROM TabAssociazioneConti), 'BAR1', '2026-03-20', 250, 0)"});
    auto f = nuovo("INC6");
    EXPECT_EQ(f->finestra()["LllVarDebito"].caption(), "70,00");
    EXPECT_EQ(f->finestra()["LabPrestitoPre"].caption(), "250,00");
    EXPECT_TRUE(f->casella("txeCodLocale").ImpostaCodice("BAR3") == false);
    auto g = nuovo("INC6", "BAR2");
    EXPECT_EQ(g->finestra()["LllVarDebito"].caption(), "7,00");
    EXPECT_EQ(g->finestra()["LabPrestitoPre"].caption(), "0,00");
}

TEST_F(Finestra, AnAdvanceCannotPrecedeACollection) {
    t.run(
        {"INSERT INTO NoteTeste (CodLocale, CodCausale, DataRegistrazione) VALUES "
         "('BAR1', 'INC6', '2026-03-20'), ('BAR1', 'INC6', '2026-03-25'), ('BAR1', 'INC6', "
         "'2026-03-27')"});
    auto f = nuovo("ACC");
    ASSERT_FALSE(ui.messaggi().empty());
    const MessaggioRegistrato& m = ui.messaggi().back();
    EXPECT_EQ(m.titolo, "Errore data");
    EXPECT_EQ(m.icona, Icona::Critico);
    EXPECT_EQ(
        m.testo,
        "Attenzione!!! Non può essere inserito un acconto precedente a un incasso.\n"
        "Sono presenti 2 registrazioni successive a quella che si vuole inserire\n"
        "Data Acconto :20/03/2026   data Incasso :27/03/2026\n"
        "Se si vuole inserire quest'acconto devono essere eliminati gli incassi successivi oppure "
        "modificare la data dell'acconto.");
    const size_t n = ui.messaggi().size();
    (*f)["txtDataRegistrazione"].setValue(
        QDate(2026, 3, 27));  // same day as the last collection: allowed
    f->SceltaLocale();
    EXPECT_EQ(ui.messaggi().size(), n);
}

TEST_F(Finestra, HopperCausalsOnlyFromTheCashDeskWhenItManagesThem) {
    for (bool cassa : {false, true}) {
        t.run({QStringLiteral("UPDATE Zconfigurazioni SET HoppergestitoDaCassa=%1")
                   .arg(cassa ? -1 : 0)});
        auto f = apri();
        f->Nuovo();
        const size_t n = ui.messaggi().size();
        f->casella("txeCodCausale").ImpostaCodice("ch");
        EXPECT_EQ(f->finestra()["txeCodCausale"].text().isEmpty(), cassa);
        EXPECT_EQ(ui.messaggi().size() - n, cassa ? 1u : 0u);
        if (cassa) {
            EXPECT_EQ(ui.messaggi().back().titolo, "Impossibile usare la causale selezionata");
        }
    }
    // A stored document keeps its causal.
    auto f = apri();
    f->Nuovo();
    f->finestra()["EtiId"].setCaption("12");
    EXPECT_TRUE(f->casella("txeCodCausale").ImpostaCodice("RH"));
    EXPECT_EQ(f->finestra()["txeCodCausale"].text(), "RH");
}

// A change machine's money follows its operations: each one starts from the
// cash box the one before counted.
TEST_F(Finestra, AChangeMachineStartsFromTheMoneyItsLastOperationLeft) {
    struct {
        const char* giorno;
        double aggiunta, ritirata;
        double iniziale;  // LivelloH3 at the load
        double cassetto;  // after the flows
    } operazioni[] = {
        {"2026-03-14", 100, 0, 0, 100},
        {"2026-03-16", 0, 30, 100, 70},
        {"2026-03-18", 50, 0, 70, 120},
    };
    ui = ScriptedUi();
    for (const auto& o : operazioni) {
        SCOPED_TRACE(o.giorno);
        auto f = apri();
        f->Nuovo();
        const QDate giorno = QDate::fromString(QLatin1String(o.giorno), Qt::ISODate);
        (*f)["txtDataRegistrazione"].setValue(giorno);
        EXPECT_TRUE(f->casella("txeCodCausale").ImpostaCodice("CAM"));
        EXPECT_TRUE(f->casella("txeCodLocale").ImpostaCodice("BAR1"));
        ui.rispondiElenco("3|");
        f->CaricaApparecchi();
        auto rs = f->righeIncassi();
        ASSERT_EQ(rs->RecordCount(), 1);
        rs->MoveFirst();
        EXPECT_DOUBLE_EQ(Num(rs->Value("LivelloH3")), o.iniziale);
        for (const auto& [colonna, valore] :
             {std::pair{"MonetaAggiunta", o.aggiunta}, std::pair{"MonetaRitirata", o.ritirata}}) {
            const QVariant prima = rs->Value(colonna);
            rs->SetValue(colonna, valore);
            f->CellaModificata(colonna, prima);
        }
        rs->MoveFirst();
        EXPECT_DOUBLE_EQ(Num(rs->Value("Cassetto")), o.cassetto);
        EXPECT_DOUBLE_EQ(Num(rs->Value("Ammanchi")), 0);
        ui.rispondi(Risposta::Si);  // no collector
        ASSERT_TRUE(f->Salva());
    }
}

TEST_F(Finestra, CandidatesFollowTheCausal) {
    macchina(5, "BAR2", 6, "2026-03-13", 0, 0);
    t.run(
        {"INSERT INTO MagMovTeste (id, DataMovimento, CodiceLocale) VALUES (1, '2026-02-19', "
         "'BAR2'), "
         "(2, '2026-02-17', 'BAR2')",
         "INSERT INTO MagMovRighe (idTesta, CodCausale, CodProdottoFinito) VALUES (1, 'Rnole', "
         "101), (2, 'Rnole', 102)"});
    struct Case {
        const char* causale;
        bool ritirati;
        std::vector<int> ids;
    } cases[] = {
        {"Inc6", false, {1, 2}},
        {"CAM", false, {3}},
        {"Inc", false, {4}},
        {"FUR", false, {1, 2, 3, 4}},
        {"RH", false, {1, 2}},
        {"INC6", true, {1}},  // withdrawn from BAR2 29 days before; 31 days is too old
    };
    for (const Case& c : cases) {
        auto f = nuovo(c.causale, c.ritirati ? "BAR2" : "BAR1");
        f->setRitirati(c.ritirati);
        EXPECT_EQ(f->CaricaApparecchi(), EsitoCaricamento::NessunaScelta);
        ASSERT_FALSE(ui.elenchi().empty());
        EXPECT_EQ(ui.elenchi().back().titolo, "Apparecchi nel locale");
        EXPECT_EQ(ui.elenchi().back().chiaveElenco, "ArtLocali");
        EXPECT_TRUE(ui.elenchi().back().sceltaMultipla);
        EXPECT_EQ(candidati(), int(c.ids.size())) << c.causale;
        ui.rispondiElenco("");
    }
}

TEST_F(Finestra, LoadingMachinesAndItsStops) {
    t.run(
        {"INSERT INTO contatori (codiceAAMS, datacontatore, cntotin, cntotout) VALUES "
         "('AAMS1', '2026-03-20', 1600, 700)"});
    ui = ScriptedUi();
    ui.rispondiElenco("1|2|1|");  // the same machine twice: the load stops at the second
    auto f = nuovo("INC6");
    EXPECT_EQ(f->CaricaApparecchi(), EsitoCaricamento::Interrotto);
    EXPECT_EQ(macchineCaricate(*f), (std::vector<int>{1, 2}));
    EXPECT_EQ(ui.messaggi().back().testo, "Apparecchio Già Inserito");
    auto rs = f->righeIncassi();
    rs->MoveFirst();
    EXPECT_DOUBLE_EQ(Num(rs->Value("VecchioContatoreIN")), 1000);  // from the card
    EXPECT_DOUBLE_EQ(Num(rs->Value("ContatoreIN")), 1600);         // imported for the date
    EXPECT_DOUBLE_EQ(Num(rs->Value("ParzialeIn")), 600);
    EXPECT_DOUBLE_EQ(Num(rs->Value("ParzialeOUT")), 300);
    EXPECT_DOUBLE_EQ(Num(rs->Value("NumGiorniIncasso")), 7);
    EXPECT_DOUBLE_EQ(Num(rs->Value("PercPreu")), 13);
    EXPECT_DOUBLE_EQ(Num(rs->Value("Preu")), 78);  // 600 x 13%
    EXPECT_EQ(Txt(rs->Value("Descrizione")), "Gioco1 - INT1 - AAMS1 - Prodotto 101");

    // A change machine offered under the meter collection causal stops the load.
    t.host().salvasettaggio("Incassi", "VisCambiamonete", -1);
    ui.rispondiElenco("3|");
    auto g = nuovo("INC6");
    EXPECT_EQ(g->CaricaApparecchi(), EsitoCaricamento::Interrotto);
    EXPECT_EQ(ui.messaggi().back().testo, "Per le cambiamonete inserire la causale di incasso CAM");

    // A card read after the collection date asks; No leaves the grid as it was.
    t.run({"UPDATE MagSchede SET ultimoIncasso='2026-03-25' WHERE id=2"});
    ui.rispondiElenco("1|2|").rispondi(Risposta::No);
    auto h = nuovo("INC6");
    EXPECT_EQ(h->CaricaApparecchi(), EsitoCaricamento::Interrotto);
    EXPECT_EQ(macchineCaricate(*h), (std::vector<int>{1}));
    EXPECT_EQ(ui.messaggi().back().titolo, "Problema");
    EXPECT_TRUE(ui.messaggi().back().testo.startsWith(
        "Attenzione!! La data del contatore sulla scheda è più recente della data di incasso!\n"
        "Data Scheda : 25/03/2026      Data Incasso 20/03/2026"));

    // A card without a last reading: told, and today is the base.
    t.run({"UPDATE MagSchede SET ultimoIncasso=NULL WHERE id=4"});
    ui.rispondiElenco("4|");
    auto k = nuovo("INC");
    EXPECT_EQ(k->CaricaApparecchi(), EsitoCaricamento::Caricato);
    EXPECT_TRUE(ui.messaggi().back().testo.startsWith("Attenzione!! il tipo di incasso impostato"));
    k->righeIncassi()->MoveFirst();
    EXPECT_EQ(k->righeIncassi()->Value("DataVecchioContatore").toDate(), kOggi);

    // No venue: told, and the focus goes to the venue box.
    auto m = apri();
    m->Nuovo();
    m->casella("txeCodCausale").ImpostaCodice("INC6");
    EXPECT_EQ(m->CaricaApparecchi(), EsitoCaricamento::LocaleMancante);
    EXPECT_EQ(ui.messaggi().back().testo, "Selezionare un locale!");
    EXPECT_EQ(m->focus(), "txeCodLocale");
}

TEST_F(Finestra, HistoryPanels) {
    QStringList righe;
    for (int d = 1; d <= 7; ++d) {
        righe << QStringLiteral("(%1, 'BAR1', 'INC6', '2026-03-%2', 10)")
                     .arg(d)
                     .arg(d, 2, 10, QChar('0'));
    }
    t.run(
        {"INSERT INTO NoteTeste (id, CodLocale, CodCausale, DataRegistrazione, "
         "DaRiscuotereTeorica) VALUES " +
             righe.join(','),
         "INSERT INTO NoteIncassi (IdTesta, linkscheda, codlocale, DataIncasso, Parzialein, "
         "NumGiorniIncasso, "
         "LivelloH1, TipoH1) VALUES (7, 1, 'BAR1', '2026-03-07', 700, 7, 30, 1), "
         "(5, 2, 'BAR1', '2026-03-05', 0, 1, 4, 2)"});
    const Pannello locale = StoricoLocale(t.host(), "BAR1", kOggi);
    ASSERT_EQ(locale.righe.size(), 6);
    EXPECT_TRUE(locale.righe.front().startsWith("07/03/2026"));
    EXPECT_TRUE(locale.righe.back().startsWith("02/03/2026"));
    // Each document with the money of its own machine rows' hoppers.
    QStringList hopper;
    for (const QString& r : locale.righe)
        hopper << r.split(' ', Qt::SkipEmptyParts).at(7);
    EXPECT_EQ(hopper, (QStringList{"30,00", "0,00", "8,00", "0,00", "0,00", "0,00"}));

    const StoricoMacchina m = StoricoApparecchio(t.host(), 1, 6, "INC6", "BAR1", kOggi);
    ASSERT_EQ(m.pannello.righe.size(), 1);
    EXPECT_TRUE(m.pannello.righe[0].contains("100,00"))
        << m.pannello.righe[0].toStdString();  // 700 in 7 days
    // Two blanks at least between headings, so that none runs into the next.
    EXPECT_EQ(m.pannello.intestazione.trimmed().split(QRegularExpression("\\s{2,}")),
              (QStringList{"Data", "Media Introdotto", "Introdotto", "Uscite", "CNTOTIN",
                           "CNTOTOUT", "Hopper1", "Hopper2", "Hp 3", "Variazione Hopper"}));
    // The same collection from the hoppers (30 coins of 1) and from the box.
    ASSERT_EQ(m.hopper.righe.size(), 1);
    EXPECT_EQ(m.hopper.righe[0].split(' ', Qt::SkipEmptyParts),
              (QStringList{"07/03/2026", "30,00", "0,00", "0,00", "30,00", "0,00"}));
    ASSERT_EQ(m.cassetto.righe.size(), 1);
    EXPECT_EQ(m.cassetto.righe[0].split(' ', Qt::SkipEmptyParts).at(4), "7");
    // The card's reading (13/03) is later than the collection (07/03): its money wins.
    EXPECT_EQ(m.hopperPrecedente[0], Dec(50));

    const StoricoMacchina vuota =
        StoricoApparecchio(t.host(), 2, 6, "INC6", "BAR1", QDate(2026, 1, 1));
    EXPECT_TRUE(vuota.pannello.righe.isEmpty());
    EXPECT_FALSE(vuota.pannello.intestazione.isEmpty());
}

}  // namespace
