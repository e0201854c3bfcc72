#include <gtest/gtest.h>

#include <random>

#include "machines/calcolo.h"
#include "machines/dispatch.h"
#include "schema/creazione.h"
#include "support/testdb.h"
#include "values/error.h"
#include "values/values.h"
#include "window/scriptedui.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

// A machine row of the collection grid over a real NoteIncassi table, with
// the values of a test preset by name.
class Riga : public ::testing::Test {
  protected:
    void SetUp() override {
        schema::CreaSchema(t.db());
        ctx.causale = "INC6";
        ctx.dataRegistrazione = QDate(2026, 3, 20);
        ctx.codLocale = "BAR1";
        nuova({});
    }
    void nuova(std::initializer_list<std::pair<const char*, QVariant>> valori) {
        rs = t.host().OpenRecordSetBatch("select * from NoteIncassi where idtesta=-1");
        rs->AddNew();
        rs->SetValue("linkscheda", 7);
        rs->SetValue("TipoIncasso", "6");
        for (const auto& [col, v] : valori)
            rs->SetValue(col, v);
    }
    void set(std::initializer_list<std::pair<const char*, QVariant>> valori) {
        for (const auto& [col, v] : valori)
            rs->SetValue(col, v);
    }
    CalcoloRiga calcolo() { return CalcoloRiga(t.host(), ui, ctx, *rs); }
    double v(const char* col) { return Num(rs->Value(col)); }
    bool nullo(const char* col) { return IsNull(rs->Value(col)); }
    void modifica(const char* col, const QVariant& value) {
        rs->SetValue(col, value);
        CalcoloRiga c = calcolo();
        DopoModificaCella(c, *rs, ctx, col, {});
    }

    TestDb t;
    ScriptedUi ui;
    ContestoCalcolo ctx;
    RecordSetPtr rs;
};

TEST_F(Riga, TaxesAndNetworkFee) {
    struct Case {
        const char* tipoRete;
        double percRete, giorni, rete;
    } cases[] = {
        {"Percentuale", 1.5, 0, 18.52},  // 1234.56 x 1.5% = 18.5184
        {"percentuale", 1.5, 0, 18.52}, {"Fisso", 2.5, 7, 17.50},
        {"Fisso", 2.5, 0, 0},           {"Mensile", 30, 0, 30},
    };
    for (const Case& c : cases) {
        nuova({{"ParzialeIn", 1234.56},
               {"PercPreu", 13},
               {"PercAAMS", 0.8},
               {"TipoRete", c.tipoRete},
               {"PercRete", c.percRete},
               {"NumGiorniIncasso", c.giorni}});
        calcolo().tasse();
        calcolo().rete();
        EXPECT_DOUBLE_EQ(v("Preu"), 160.49);  // 160.4928
        EXPECT_DOUBLE_EQ(v("AAMS"), 9.88);    // 9.87648
        EXPECT_DOUBLE_EQ(v("Rete"), c.rete) << c.tipoRete << " " << c.giorni;
    }
}

// A monthly fee on the 20th of March, for machine 7 at BAR1, corrected
// document 41, with one earlier row of the machine's history.
TEST_F(Riga, MonthlyFeeIsChargedOncePerMonthAndVenue) {
    struct Caso {
        int idTesta, scheda;
        const char *locale, *giorno;
        double rete, atteso;
    } casi[] = {
        {40, 7, "ALTRO", "2026-03-05", 30, 30},  // another venue
        {40, 7, "BAR1", "2026-02-27", 30, 30},   // last month
        {40, 8, "BAR1", "2026-03-02", 30, 30},   // another machine
        {40, 7, "BAR1", "2026-03-10", 0, 30},    // nothing charged
        {40, 7, "bar1", "2026-03-01", 30, 0},    // the first of the month
        {40, 7, "BAR1", "2026-03-20", 30, 0},    // another collection the same day
        {40, 7, "BAR1", "2026-03-21", 30, 30},   // a later day
        {41, 7, "BAR1", "2026-03-20", 30, 30},   // the corrected document's own row
    };
    ctx.idDocumento = 41;
    for (const Caso& c : casi) {
        t.run({QStringLiteral("INSERT INTO NoteIncassi (idtesta, linkscheda, codlocale, "
                              "dataincasso, rete) VALUES (%1, %2, '%3', '%4', %5)")
                   .arg(c.idTesta)
                   .arg(c.scheda)
                   .arg(c.locale, c.giorno)
                   .arg(c.rete)});
        nuova({{"TipoRete", "Mensile"}, {"PercRete", 30}});
        calcolo().rete();
        EXPECT_DOUBLE_EQ(v("Rete"), c.atteso) << c.locale << " " << c.giorno << " " << c.idTesta;
        t.run({"DELETE FROM NoteIncassi"});
    }
}

// in 1000, out 600, taxes 130 + 8 + 12: profit 250.
TEST_F(Riga, SplitOfMeterMachines) {
    struct Case {
        const char* metodo;
        double pl, vs, ns;
    } cases[] = {
        {"Utile", 40, 100, 150},
        {"utile", 33.33, 83.32, 166.68},  // 83.325 to the even cent
        {"Introdotto Nolegg.", 40, -150, 400},
        {"Introdotto Locale", 40, 400, -150},
        {"Fisso Mensile +Tasse", 40, 250, 0},
        {"Lordo", 40, 160, 90},
        {"Boh", 40, 1, 2},  // an unknown method changes nothing
    };
    for (const Case& c : cases) {
        nuova({{"ParzialeIn", 1000},
               {"ParzialeOUT", 600},
               {"Preu", 130},
               {"AAMS", 8},
               {"Rete", 12},
               {"TipoCalcolo", c.metodo},
               {"PercLocale", c.pl},
               {"IncassoVs", 1},
               {"IncassoNs", 2}});
        calcolo().ripartizione();
        EXPECT_DOUBLE_EQ(v("IncassoVs"), c.vs) << c.metodo;
        EXPECT_DOUBLE_EQ(v("IncassoNs"), c.ns) << c.metodo;
        EXPECT_DOUBLE_EQ(v("Totaletasse"), 150) << c.metodo;
    }
}

TEST_F(Riga, SplitOfCashBoxMachines) {
    struct Case {
        const char* tipo;
        const char* metodo;
        double vs, ns;
    } cases[] = {
        {"0", "Utile", 100.02, 100.03},  // 200.05 at 50%: 100.025 to the even cent
        {"1", "Lordo", 100.02, 100.03},
        {"15", "Introdotto Locale", 100.02, 100.03},
        {"13", "Fisso Mensile +Tasse", 100.02, 100.03},
        {"9", "Introdotto Nolegg.", 100.03, 100.02},
        {"2", "Utile", 1, 2},  // change machines are not split
        {"4", "Utile", 1, 2},  // nor unknown collection types
    };
    for (const Case& c : cases) {
        nuova({{"TipoIncasso", c.tipo},
               {"Cassetto", 200.05},
               {"TipoCalcolo", c.metodo},
               {"PercLocale", 50},
               {"IncassoVs", 1},
               {"IncassoNs", 2}});
        calcolo().ripartizione();
        EXPECT_DOUBLE_EQ(v("IncassoVs"), c.vs) << c.tipo;
        EXPECT_DOUBLE_EQ(v("IncassoNs"), c.ns) << c.tipo;
    }
}

// in 500, out 200, refills 20 + 10, hopper variation 15, advances 50.
// A token machine's cash box is the difference of two products, rounded once,
// half to even on the decimal value.
TEST_F(Riga, ExpectedCashBoxOfProductsWithAThirdDecimal) {
    struct Caso {
        double in, moltIn, out, moltOut, cassetto;
    } casi[] = {
        {333, 0.125, 0, 0.2, 41.62},  // 41.625
        {107, 0.025, 0, 0.2, 2.68},   // 2.675, below it in binary
        {1, 0.135, 1, 0.005, 0.13},   // 0.13 exactly; each product rounded would give 0.14
    };
    ctx.causale = "INC";
    for (const Caso& c : casi) {
        nuova({{"TipoIncasso", "20"},
               {"ParzialeIn", c.in},
               {"ParzialeOUT", c.out},
               {"TipoCalcolo", "Utile"},
               {"MoltiplicatoreIn", c.moltIn},
               {"Moltiplicatoreout", c.moltOut}});
        calcolo().cassettoAtteso();
        EXPECT_DOUBLE_EQ(v("Cassetto"), c.cassetto) << c.in << " x " << c.moltIn;
    }
}

TEST_F(Riga, ExpectedCashBox) {
    struct Case {
        const char* tipo;
        const char* causale;
        std::optional<int> tipologia;
        const char* metodo;
        double cassetto;
    } cases[] = {
        {"13", "INC", {}, "Utile", 250}, {"13", "INC", {}, "Lordo", 450},
        {"9", "INC", {}, "Utile", 450},  {"8", "INC", {}, "Utile", 300},
        {"20", "INC", {}, "Utile", 10},  // 500 x 0.1 - 200 x 0.2
        {"6", "INC6", 10, "Utile", 330}, {"6", "CH", 10, "Utile", 315},
        {"6", "INC6", 3, "Utile", 265},  {"0", "INC", 4, "Utile", 265},
        {"6", "INC6", 0, "Utile", 280},  {"6", "INC6", {}, "Utile", 280},
        {"6", "FUR", {}, "Utile", 265},
    };
    for (const Case& c : cases) {
        ctx.causale = c.causale;
        ctx.tipologiaIncasso = c.tipologia;
        nuova({{"TipoIncasso", c.tipo},
               {"ParzialeIn", 500},
               {"ParzialeOUT", 200},
               {"RefillGestore", 20},
               {"RefillLocale", 10},
               {"VariazioneHopper", 15},
               {"acconti", 50},
               {"TipoCalcolo", c.metodo},
               {"MoltiplicatoreIn", 0.1},
               {"Moltiplicatoreout", 0.2}});
        calcolo().cassettoAtteso();
        EXPECT_DOUBLE_EQ(v("Cassetto"), c.cassetto) << c.tipo << " " << c.causale;
        if (QString(c.causale) == "FUR") {
            EXPECT_DOUBLE_EQ(v("Furti"), c.cassetto);
        } else {
            EXPECT_TRUE(nullo("Furti"));
        }
    }
}

// Hoppers now hold 100 x 1 + 50 x 2 = 200, before 80 x 1 + 40 x 2 = 160.
TEST_F(Riga, HopperVariation) {
    struct Case {
        const char* causale;
        std::optional<int> tipologia;
        EventoHopper evento;
        std::optional<double> vhTyped, ammTyped;
        double vh, amm;
    } cases[] = {
        {"INC6", 0, EventoHopper::Livelli, {}, 3, 40, 0},
        {"FUR", {}, EventoHopper::Livelli, {}, {}, 40, 0},
        {"CH", 3, EventoHopper::Livelli, {}, {}, 40, 0},
        {"INC6", 10, EventoHopper::Livelli, 30, {}, 30, 10},
        {"RH", 0, EventoHopper::AmmancoDigitato, {}, 5, 45, 5},
        {"RH", 0, EventoHopper::VariazioneDigitata, 50, {}, 50, 10},
        {"REF", 0, EventoHopper::Livelli, {}, {}, 30, 0},
        {"INC", 0, EventoHopper::Livelli, {}, {}, 30, 0},  // against the recorded 150 + 20
    };
    for (const Case& c : cases) {
        ctx.causale = c.causale;
        ctx.tipologiaIncasso = c.tipologia;
        ctx.hopperPrecedente = {Dec(150), Dec(20), Dec()};
        nuova({{"LivelloH1", 100},
               {"TipoH1", 1},
               {"LivelloH2", 50},
               {"TipoH2", 2},
               {"HopperOLD1", 80},
               {"HopperOLD2", 40},
               {"RefillGestore", 20},
               {"RefillLocale", 10},
               {"Ammanchi", 0}});
        if (c.vhTyped) set({{"VariazioneHopper", *c.vhTyped}});
        if (c.ammTyped) set({{"Ammanchi", *c.ammTyped}});
        calcolo().variazioneHopper(c.evento);
        EXPECT_DOUBLE_EQ(v("VariazioneHopper"), c.vh) << c.causale;
        EXPECT_DOUBLE_EQ(v("Ammanchi"), c.amm) << c.causale;
    }
}

// Coins added 100, notes added 200, notes removed 50, coins removed 30 (net
// 220), 500 left in the machine.
TEST_F(Riga, ChangeMachines) {
    ctx.causale = "CAM";
    auto prepara = [&] {
        nuova({{"TipoIncasso", "2"},
               {"MonetaAggiunta", 100},
               {"BanconoteAggiunte", 200},
               {"BanconoteRitirate", 50},
               {"MonetaRitirata", 30},
               {"LivelloH3", 500}});
    };
    prepara();
    modifica("MonetaRitirata", 30);
    EXPECT_DOUBLE_EQ(v("VariazioneHopper"), 220);
    EXPECT_DOUBLE_EQ(v("Cassetto"), 720);
    EXPECT_DOUBLE_EQ(v("Ammanchi"), 0);
    prepara();
    modifica("VariazioneHopper", 100);
    EXPECT_DOUBLE_EQ(v("Cassetto"), 600);
    EXPECT_DOUBLE_EQ(v("Ammanchi"), 0);
    prepara();
    set({{"Cassetto", 700}});
    modifica("Ammanchi", 10);
    EXPECT_DOUBLE_EQ(v("VariazioneHopper"), 210);
    EXPECT_DOUBLE_EQ(v("Cassetto"), 700);
    prepara();
    modifica("Cassetto", 700);
    EXPECT_DOUBLE_EQ(v("Ammanchi"), 20);
}

TEST_F(Riga, TokensAndTypedCashBox) {
    ctx.causale = "INC";
    nuova({{"TipoIncasso", "0"},
           {"TipoCalcolo", "Utile"},
           {"PercLocale", 50},
           {"ValoreGettone", 0.5}});
    modifica("Gettoni", 37);
    EXPECT_DOUBLE_EQ(v("Cassetto"), 18.5);
    EXPECT_DOUBLE_EQ(v("IncassoVs"), 9.25);

    // A typed cash box survives a split-only change and goes at the next cash-box change.
    ctx.causale = "INC6";
    nuova(
        {{"ParzialeIn", 500}, {"ParzialeOUT", 200}, {"TipoCalcolo", "Utile"}, {"PercLocale", 50}});
    modifica("Cassetto", 290);
    EXPECT_DOUBLE_EQ(v("Ammanchi"), 10);
    EXPECT_DOUBLE_EQ(v("Cassetto"), 290);  // the split that follows keeps it
    modifica("Rete", 0);                   // split, then the cash box
    EXPECT_DOUBLE_EQ(v("Cassetto"), 300);
    modifica("Cassetto", 290);
    modifica("Acconti", 20);
    EXPECT_DOUBLE_EQ(v("Cassetto"), 280);
}

TEST_F(Riga, ThirdManager) {
    ctx.terzoGestore = true;
    nuova({{"ParzialeIn", 1000},
           {"ParzialeOUT", 600},
           {"TipoCalcolo", "Utile"},
           {"PercLocale", 40},
           {"PercNoleggiatore", 20}});
    calcolo().ripartizione();
    calcolo().terzoGestore();
    EXPECT_DOUBLE_EQ(v("IncassoVs"), 160);
    EXPECT_DOUBLE_EQ(v("IncassoNs"), 200);
    EXPECT_DOUBLE_EQ(v("QuotaConcess"), 40);  // 1000 - 600 - 200 - 160

    nuova({{"ParzialeIn", 1000}, {"ParzialeOUT", 600}, {"IncassoNs", 5}, {"PercNoleggiatore", 0}});
    calcolo().terzoGestore();
    EXPECT_DOUBLE_EQ(v("IncassoNs"), 5);
    EXPECT_TRUE(nullo("QuotaConcess"));

    ctx.vistaConQuotaConcess = false;
    nuova({{"ParzialeIn", 1000}, {"PercNoleggiatore", 20}});
    calcolo().terzoGestore();
    EXPECT_DOUBLE_EQ(v("IncassoNs"), 200);
    EXPECT_TRUE(nullo("QuotaConcess"));
    ASSERT_EQ(ui.messaggi().size(), 1u);
    EXPECT_EQ(ui.messaggi()[0].titolo, "Ricreare Vista Personalizzata!");
}

TEST_F(Riga, MeterQuestionAndItsAnswers) {
    struct Case {
        std::optional<Risposta> risposta;
        double parzialeTyped, contatore, parziale;
        bool forzato;
    } cases[] = {
        {{}, 0, 1500, 500, false},              // an empty partial takes the meters' one
        {{}, 500, 1500, 500, false},            // agreeing: no question
        {Risposta::Si, 450, 1450, 450, false},  // keep the typed partial, realign the meter
        {Risposta::No, 450, 1500, 500, false},  // keep the meters' partial
        {Risposta::Annulla, 450, 1500, 450, true},
    };
    for (const Case& c : cases) {
        ScriptedUi fresh;
        ui = fresh;
        if (c.risposta) ui.rispondi(*c.risposta);
        nuova({{"VecchioContatoreIN", 1000}, {"ParzialeIn", c.parzialeTyped}, {"Forzato", 0}});
        modifica("ContatoreIN", 1500);
        EXPECT_DOUBLE_EQ(v("ContatoreIN"), c.contatore);
        EXPECT_DOUBLE_EQ(v("ParzialeIn"), c.parziale);
        EXPECT_EQ(Flag(rs->Value("Forzato")), c.forzato);
        EXPECT_EQ(ui.messaggi().size(), c.risposta ? 1u : 0u);
        if (c.risposta) {
            EXPECT_EQ(ui.messaggi()[0].titolo, "Problema sul contatore IN");
            EXPECT_TRUE(
                ui.messaggi()[0].testo.startsWith("Il sistema ha rilevato un incongruenza sul "
                                                  "parziale introdotto.\nParziale Inserito 450\n"
                                                  "Parziale Calcolato 500\n\nScegliere SI per "
                                                  "confermare il parziale inserito :>450"));
            EXPECT_EQ(ui.messaggi()[0].pulsanti, Pulsanti::SiNoAnnulla);
            EXPECT_EQ(ui.messaggi()[0].icona, Icona::Esclamazione);
        }
    }

    // Meters counting multiplier units.
    ui.rispondi(Risposta::Si);
    nuova({{"TipoIncasso", "8"},
           {"VecchioContatoreIN", 1000},
           {"MoltiplicatoreIn", 0.1},
           {"ParzialeIn", 30}});
    modifica("ContatoreIN", 1250);
    EXPECT_DOUBLE_EQ(v("ContatoreIN"), 1300);  // 1000 + 30 / 0.1
    EXPECT_TRUE(ui.messaggi().back().testo.startsWith(
        "Errore rilevato sul parziale introdotto.\nParziale In inserito: 30"));
    nuova({{"TipoIncasso", "9"}, {"VecchioContatoreIN", 1000}, {"MoltiplicatoreIn", 0.1}});
    modifica("ContatoreIN", 1250);
    EXPECT_DOUBLE_EQ(v("ParzialeIn"), 25);

    // OUT side and a negative meter.
    ui.rispondi(Risposta::No);
    nuova({{"VecchioContatoreOut", 300}, {"ParzialeOUT", 90}});
    modifica("ContatoreOUT", 400);
    EXPECT_DOUBLE_EQ(v("ParzialeOUT"), 100);
    EXPECT_EQ(ui.messaggi().back().testo,
              "Errore rilevato sul parziale uscite.\nDato Inserito 90\nDato Calcolato 100\n\n"
              "SI per confermare il valore inserito, No per confermare il valore calcolato, "
              "Annulla per forzare");
    nuova({{"VecchioContatoreOut", 300}});
    modifica("ContatoreOUT", -5);
    EXPECT_DOUBLE_EQ(v("ContatoreOUT"), 0);
    EXPECT_DOUBLE_EQ(v("ParzialeOUT"), 0);
    EXPECT_EQ(ui.risposteRimaste(), 0);
}

TEST_F(Riga, MeterPartialsAtLoad) {
    struct Case {
        double contatore, parziale;
        std::optional<Risposta> risposta;
        double atteso;
    } cases[] = {
        {1000, 0, {}, 0},      // p = 0: unchanged, no question
        {900, 7, {}, 7},       // p < 0: unchanged, no question
        {1200, 0, {}, 200},    // empty partial: written
        {1200, 200, {}, 200},  // equal: nothing
        {1200, 150, Risposta::No, 200},
    };
    for (const Case& c : cases) {
        if (c.risposta) ui.rispondi(*c.risposta);
        const size_t asked = ui.messaggi().size();
        nuova({{"VecchioContatoreIN", 1000},
               {"ContatoreIN", c.contatore},
               {"ParzialeIn", c.parziale}});
        calcolo().parzialiAlCaricamento();
        EXPECT_DOUBLE_EQ(v("ParzialeIn"), c.atteso) << c.contatore << " " << c.parziale;
        EXPECT_EQ(ui.messaggi().size() - asked, c.risposta ? 1u : 0u);
    }
    ctx.causale = "INC";  // only under the meter collection causal
    nuova({{"VecchioContatoreIN", 1000}, {"ContatoreIN", 1200}});
    calcolo().parzialiAlCaricamento();
    EXPECT_TRUE(nullo("ParzialeIn"));
}

TEST_F(Riga, TypedPartialsMoveTheMeters) {
    nuova({{"VecchioContatoreIN", 1000}, {"PercPreu", 13}});
    modifica("ParzialeIn", 300);
    EXPECT_DOUBLE_EQ(v("ContatoreIN"), 1300);
    EXPECT_DOUBLE_EQ(v("Preu"), 39);
    modifica("ParzialeIn", -20);
    EXPECT_DOUBLE_EQ(v("ParzialeIn"), 0);
    EXPECT_DOUBLE_EQ(v("ContatoreIN"), 1000);
    set({{"Forzato", -1}});
    modifica("ParzialeIn", 50);
    EXPECT_DOUBLE_EQ(v("ContatoreIN"), 1000);  // a forced row keeps its meters
    ctx.causale = "INC";
    nuova({{"TipoIncasso", "0"}, {"VecchioContatoreOut", 100}, {"Moltiplicatoreout", 2}});
    modifica("ParzialeOUT", 50);
    EXPECT_DOUBLE_EQ(v("ContatoreOUT"), 200);
}

TEST_F(Riga, DispatchEdges) {
    bool loaded = false;
    nuova({});
    rs->SetValue("linkscheda", QVariant());
    rs->SetValue("ParzialeIn", 10);
    CalcoloRiga c = calcolo();
    DopoModificaCella(c, *rs, ctx, "ParzialeIn", {[&] { loaded = true; }});
    EXPECT_TRUE(loaded);

    ctx.causale = "INC";
    nuova({{"TipoIncasso", "0"}, {"ParzialeIn", 100}, {"Cassetto", 55}});
    modifica("Descrizione", "x");
    EXPECT_DOUBLE_EQ(v("Cassetto"), 55);  // not a calculated column
    nuova({{"TipoIncasso", "0"}, {"ParzialeIn", 100}, {"VariazioneHopper", 7}});
    modifica("RefillLocale", 10);
    EXPECT_DOUBLE_EQ(v("VariazioneHopper"), 7);
    EXPECT_DOUBLE_EQ(v("Cassetto"), 110);

    nuova({{"DataVecchioContatore", QDate(2026, 3, 13)}});
    modifica("DataVecchioContatore", QDate(2026, 3, 13));
    EXPECT_DOUBLE_EQ(v("NumGiorniIncasso"), 7);

    EXPECT_EQ(TastoNellaColonna("cassetto", '.'), QChar(','));
    EXPECT_EQ(TastoNellaColonna("ContatoreMec2", '.'), QChar(','));
    EXPECT_EQ(TastoNellaColonna("Descrizione", '.'), QChar('.'));
    EXPECT_EQ(TastoNellaColonna("ContatoreAttuale", '.'), QChar(','));  // island meters
    EXPECT_EQ(TastoNellaColonna("Cassetto", '5'), QChar('5'));
}

// Over generated meter machines, the shares and taxes make up the net takings.
TEST_F(Riga, SharesAndTaxesMakeUpTheTakings) {
    std::mt19937 gen(20261206);
    std::uniform_int_distribution<int> cents(0, 5000000), pct(0, 10000);
    const char* metodi[] = {"Utile", "Introdotto Nolegg.", "Introdotto Locale",
                            "Fisso Mensile +Tasse", "Lordo"};
    for (int i = 0; i < 300; ++i) {
        const double in = cents(gen) / 100.0, out = std::min(in, cents(gen) / 100.0);
        nuova({{"ParzialeIn", in},
               {"ParzialeOUT", out},
               {"PercPreu", pct(gen) / 500.0},
               {"PercAAMS", pct(gen) / 5000.0},
               {"TipoRete", "Percentuale"},
               {"PercRete", pct(gen) / 1000.0},
               {"TipoCalcolo", metodi[i % 5]},
               {"PercLocale", pct(gen) / 100.0}});
        CalcoloRiga c = calcolo();
        c.tasse();
        c.rete();
        c.ripartizione();
        const Dec somma = Dec::DaCella(rs->Value("IncassoVs")) +
                          Dec::DaCella(rs->Value("IncassoNs")) +
                          Dec::DaCella(rs->Value("Totaletasse"));
        EXPECT_EQ(somma, Dec::DaDouble(in) - Dec::DaDouble(out))
            << metodi[i % 5] << " " << in << " " << out;
        EXPECT_EQ(Dec::DaCella(rs->Value("IncassoVs")).arrotonda(2),
                  Dec::DaCella(rs->Value("IncassoVs")));
        EXPECT_EQ(Dec::DaCella(rs->Value("IncassoNs")).arrotonda(2),
                  Dec::DaCella(rs->Value("IncassoNs")));
    }
}

}  // namespace
