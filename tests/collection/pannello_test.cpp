#include <gtest/gtest.h>

#include <random>

#include "bookkeeping/primanota.h"
#include "collection/frmincassi.h"
#include "schema/creazione.h"
#include "support/testdb.h"
#include "values/values.h"
#include "window/scriptedui.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

const QDate kOggi(2026, 3, 20);

class Pannello : public ::testing::Test {
  protected:
    void SetUp() override {
        schema::PreparaSchema(t.db());
        t.run(
            {"INSERT INTO AnagraficaLocali (CodLocale, Insegna, citta, sospeso, GestioneDenaro, "
             "IncassoTasse, "
             "tipologiaincasso) VALUES ('BAR1', 'Bar Sport', 'Roma', 0, 'Noleggiatore', "
             "'Noleggiatore', 0)",
             "INSERT INTO anagraficaconcessionari (codiceConcessionario, CodiceConto, "
             "RagioneSociale) VALUES "
             "('RETE2', '20.02', 'Rete Due')",
             "INSERT INTO AnagraficaPianoConti (CodiceConto, Descrizione) VALUES ('20.02.01', "
             "'PREU'), "
             "('20.02.02', 'AAMS'), ('20.02.03', 'RETE'), ('20.02.04', 'Debito')"});
        conti = ContiAssociati::Leggi(t.host());
    }

    // A new document at BAR1 with the causal and the collection type given.
    std::unique_ptr<FrmIncassi> nuovo(const char* causale, int tipologia = 0,
                                      const char* locale = "BAR1") {
        auto f = std::make_unique<FrmIncassi>(t.host(), ui, prop, RecordOperatore{});
        f->orologio = [] { return kOggi; };
        f->Apri();
        f->Nuovo();
        (*f)["txtDataRegistrazione"].setValue(kOggi);
        EXPECT_TRUE(f->casella("txeCodCausale").ImpostaCodice(causale));
        EXPECT_TRUE(f->casella("txeCodLocale").ImpostaCodice(QLatin1String(locale)));
        EXPECT_TRUE((*f)["CmiTipologiaIncasso"].selezionaPerValore(tipologia));
        return f;
    }

    void riga(FrmIncassi& f, std::initializer_list<std::pair<const char*, QVariant>> valori) {
        auto rs = f.righeIncassi();
        rs->AddNew();
        rs->SetValue("linkscheda", 1);
        for (const auto& [col, v] : valori)
            rs->SetValue(col, v);
        rs->Update();
    }

    // The account rows of the note: account -> Dare - Avere.
    std::map<QString, double> righe(FrmIncassi& f) {
        std::map<QString, double> out;
        auto rs = f.righeNota();
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            out[Txt(rs->Value("codConto"))] = Num(rs->Value("Dare")) - Num(rs->Value("Avere"));
            EXPECT_TRUE(Num(rs->Value("Dare")) == 0 || Num(rs->Value("Avere")) == 0);
            EXPECT_GE(Num(rs->Value("Dare")), 0);
            EXPECT_GE(Num(rs->Value("Avere")), 0);
        }
        return out;
    }

    double v(FrmIncassi& f, const char* nome) {
        const Controllo& c = f.finestra()[nome];
        return Num(c.prefisso() == "txt" || c.prefisso() == "ttt" ? c.text() : c.caption());
    }

    TestDb t;
    ScriptedUi ui;
    ProprietaIngresso prop;
    ContiAssociati conti;
};

TEST_F(Pannello, WritersFindDeleteAndSwapSides) {
    auto rs = t.host().OpenRecordSetBatch("select * from NoteRighe where idtesta=-1");
    PrimaNota nota(*rs, {kOggi, "BAR1", 0, "ANNA"});
    nota.AggiornaRighePrimanotaDare("01.01.01", "Incasso su locale", Dec(100), 1);
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_DOUBLE_EQ(Num(rs->Value("Dare")), 100);
    EXPECT_EQ(Txt(rs->Value("CodLocale")), "BAR1");
    EXPECT_EQ(rs->Value("Data").toDate(), kOggi);
    nota.AggiornaRighePrimanotaDare("01.01.02", "Negativo", Dec(-30), 2);
    EXPECT_DOUBLE_EQ(Num(rs->Value("Avere")), 30);  // a negative debit is a credit
    EXPECT_DOUBLE_EQ(Num(rs->Value("Dare")), 0);
    nota.AggiornaRighePrimanotaAvere("01.01.03", "Negativo", Dec(-12), 3);
    EXPECT_DOUBLE_EQ(Num(rs->Value("Dare")), 12);
    nota.AggiornaRighePrimanotaDare("01.01.01", "Incasso su locale", Dec(), 1);
    EXPECT_EQ(rs->RecordCount(), 2);  // 0 removes the row
    nota.AggiornaRighePrimanotaDare("01.01.07", "Zero", Dec(), 4);
    EXPECT_EQ(rs->RecordCount(), 2);  // 0 writes nothing
    EXPECT_EQ(nota.Sbilancio(), Dec(-18));
}

TEST_F(Pannello, CollectedMoneyOnAnOrdinaryCollection) {
    auto f = nuovo("INC");
    riga(*f, {{"TipoIncasso", "0"}, {"Cassetto", 100}, {"IncassoVs", 40}, {"IncassoNs", 60}});
    f->CalcolaDettagli();
    f->aggiornaConteggi("Riscosso");
    auto r = righe(*f);
    EXPECT_DOUBLE_EQ(r[conti["cassa"]], 100);
    EXPECT_DOUBLE_EQ(r[conti["UtiliAltriApparecchi"]], -100);
    EXPECT_EQ(f->finestra()["txSbilancio"].caption(), "0,00");
    auto rs = f->righeNota();
    rs->MoveFirst();
    EXPECT_TRUE(rs->Find(QStringLiteral("codconto='%1'").arg(conti["cassa"])));
    EXPECT_EQ(Txt(rs->Value("Descrizione")), "Incasso su locale");
    const auto prima = righe(*f);
    f->aggiornaConteggi("Riscosso");
    EXPECT_EQ(righe(*f), prima);  // a second refresh leaves the same rows

    // Waiting for the venue's invoice: the whole cash box is still collected,
    // the venue's share owed to it on the credit side, and nothing to adjust.
    auto fatture = nuovo("INC");
    (*fatture)["chkAttesaFatture"].setChecked(1);
    riga(*fatture,
         {{"TipoIncasso", "0"}, {"Cassetto", 200}, {"IncassoVs", 80}, {"IncassoNs", 120}});
    fatture->CalcolaDettagli();
    fatture->aggiornaConteggi("Riscosso");
    r = righe(*fatture);
    EXPECT_DOUBLE_EQ(r[conti["cassa"]], 200);
    EXPECT_DOUBLE_EQ(r[conti["UtiliAltriApparecchi"]], -120);
    EXPECT_DOUBLE_EQ(r[conti["ClientiContoFatture"]], -80);
    EXPECT_TRUE(fatture->conguaglio().zero());
    EXPECT_EQ(fatture->finestra()["txSbilancio"].caption(), "0,00");
}

TEST_F(Pannello, RefillRowsByCollectionType) {
    struct Case {
        int tipologia;
        double r;
    } cases[] = {{10, 30}, {3, 20}, {4, 20}, {0, 20}};
    for (const Case& c : cases) {
        auto f = nuovo("REF", c.tipologia);
        riga(*f, {{"RefillGestore", 20}, {"RefillLocale", 10}});
        f->CalcolaDettagli();
        f->aggiornaConteggi("Riscosso");
        auto r = righe(*f);
        EXPECT_DOUBLE_EQ(r[conti["cassa"]], -c.r) << c.tipologia;
        EXPECT_DOUBLE_EQ(r[conti["CassaRefill"]], c.r) << c.tipologia;
    }
}

TEST_F(Pannello, AdvancesAndTheRemoteType) {
    auto f = nuovo("ACC");
    riga(*f, {{"acconti", 70}});
    riga(*f, {{"acconti", 30}});
    f->CalcolaDettagli();
    f->aggiornaConteggi("Acconto");
    auto r = righe(*f);
    EXPECT_DOUBLE_EQ(v(*f, "txtAcconto"), 100);
    EXPECT_DOUBLE_EQ(r[conti["cassaacconti"]], -100);
    EXPECT_DOUBLE_EQ(r[conti["cassa"]], 100);

    auto remoto = nuovo("ACC", 5);  // "Incasso Remoto"
    ASSERT_EQ(remoto->finestra()["CmiTipologiaIncasso"].text(), "Incasso Remoto");
    riga(*remoto, {{"acconti", 100}});
    remoto->CalcolaDettagli();
    remoto->aggiornaConteggi("Acconto");
    r = righe(*remoto);
    EXPECT_DOUBLE_EQ(r[conti["ClientiAbituali"]], -100);
    EXPECT_EQ(r.count(conti["cassaacconti"]), 0u);
    EXPECT_EQ(remoto->finestra()["txSbilancio"].caption(), "0,00");
}

// A venue's code goes into the statement as it is, even when it looks like a
// placeholder of the text it is put in.
TEST_F(Pannello, AVenueCodeWithPercentSignsIsTakenAsItIs) {
    t.run(
        {"INSERT INTO AnagraficaLocali (CodLocale, Insegna, sospeso, GestioneDenaro, "
         "IncassoTasse, tipologiaincasso) VALUES ('B%2%1', 'Bar Cento', 0, 'Noleggiatore', "
         "'Noleggiatore', 0)",
         "INSERT INTO NoteRighe (IdTesta, CodConto, CodLocale, Data, Dare, Avere) VALUES (999, "
         "'" +
             conti["cassaaccontilocale"] + "', 'B%2%1', '2026-03-01', 0, 80)"});
    auto f = nuovo("INC6", 0, "B%2%1");
    f->CalcolaDettagli();
    EXPECT_DOUBLE_EQ(v(*f, "lllAccontoLocale"), 80);
}

// A change machine's operation is booked from its flows, whether or not the
// venue has a collection type.
TEST_F(Pannello, AChangeMachineIsBookedWithoutACollectionType) {
    auto f = nuovo("CAM");
    (*f)["CmiTipologiaIncasso"].setListIndex(-1);
    riga(*f, {{"monetaaggiunta", 100}, {"banconoteRitirate", 30}});
    f->AggiornaConteggiPrimaNota();
    auto r = righe(*f);
    EXPECT_DOUBLE_EQ(r[conti["cassa"]], -70);
    EXPECT_DOUBLE_EQ(r[conti["CassaHopperCambiam"]], 70);
}

TEST_F(Pannello, InvalidAccountTypedByHand) {
    auto f = nuovo("INC");
    auto rs = f->righeNota();
    rs->AddNew();
    rs->SetValue("codConto", "99.99.99");
    EXPECT_FALSE(f->CellaNotaModificata("codConto", QVariant()));
    EXPECT_EQ(ui.messaggi().back().testo, "Codice conto non valido");
    rs->AddNew();
    rs->SetValue("codConto", conti["cassa"]);
    EXPECT_TRUE(f->CellaNotaModificata("codConto", QVariant()));
}

TEST_F(Pannello, SettlementCommands) {
    // Coins in 250, out 100: 150 in the machine; venue 60, operator 70, taxes 20.
    auto f = nuovo("INC6");
    riga(*f, {{"TipoIncasso", "6"},
              {"ParzialeIn", 250},
              {"ParzialeOut", 100},
              {"preu", 15},
              {"aams", 3},
              {"rete", 2},
              {"IncassoVs", 60},
              {"IncassoNs", 70}});
    f->CalcolaDettagli();
    f->aggiornaConteggi("Riscosso");
    EXPECT_DOUBLE_EQ(v(*f, "txtRiscosso"), 90);
    EXPECT_TRUE(f->conguaglio().zero());

    f->CmdNoDenaro();
    EXPECT_DOUBLE_EQ(v(*f, "txtRiscosso"), 0);
    EXPECT_DOUBLE_EQ(v(*f, "txtVersatoALocale"), 150);
    EXPECT_DOUBLE_EQ(v(*f, "txtRimanenza"), 150);
    EXPECT_EQ(f->finestra()["txSbilancio"].caption(), "0,00");

    f->CmdRicalcola();
    const auto righePrima = righe(*f);
    const double riscosso = v(*f, "txtRiscosso");
    f->CmdRicalcola();
    EXPECT_EQ(righe(*f), righePrima);
    EXPECT_DOUBLE_EQ(v(*f, "txtRiscosso"), riscosso);

    t.host().salvasettaggio("Incassi", "AmmancoAutomatico", -1);
    t.host().salvasettaggio("Incassi", "AbbuoniAutomatico", -1);
    f->preferenze().Leggi();
    f->CmdAcconto();
    EXPECT_EQ(t.host().LeggiSettaggio("Incassi", "AmmancoAutomatico", 9).toInt(), 0);
    EXPECT_EQ(t.host().LeggiSettaggio("Incassi", "AbbuoniAutomatico", 9).toInt(), 0);
    EXPECT_EQ(t.host().LeggiSettaggio("Incassi", "RimanenzaAutomatico", 9).toInt(), -1);
    EXPECT_DOUBLE_EQ(v(*f, "txtRiscosso"), 150);   // the whole takings
    EXPECT_DOUBLE_EQ(v(*f, "txtRimanenza"), -60);  // the venue's share stays owed to it
    EXPECT_EQ(f->finestra()["txSbilancio"].caption(), "0,00");

    f->CmdRimanenza();
    EXPECT_FALSE(f->rimanenzaAbilitata());
    EXPECT_FALSE(f->finestra()["CmdRimanenza"].enabled());
    EXPECT_EQ(f->finestra()["txSbilancio"].caption(), "0,00");
    f->CmdAcconti();
    EXPECT_EQ(f->finestra()["txSbilancio"].caption(), "0,00");

    // Collected money typed by hand: the difference is an allowance.
    f->CmdRicalcola();
    f->finestra()["txtRimanenza"].setText("0");
    t.host().salvasettaggio("Incassi", "RimanenzaAutomatico", 0);
    t.host().salvasettaggio("Incassi", "AbbuoniAutomatico", -1);
    f->preferenze().Leggi();
    f->CmdRicalcola();
    f->finestra()["txtRiscosso"].setText("85");
    f->UscitaCampo("txtRiscosso");
    EXPECT_EQ(f->finestra()["txtRiscosso"].text(), "€. 85,00");
    EXPECT_DOUBLE_EQ(v(*f, "txtArrotondamenti"), 5);
    EXPECT_DOUBLE_EQ(righe(*f)[conti["arrotondamentiPassivi"]], 5);
    EXPECT_EQ(f->finestra()["txSbilancio"].caption(), "0,00");
}

// The networked-machine collection worked out by hand in the notes on the panel.
TEST_F(Pannello, WorkedNetworkedCollection) {
    auto f = nuovo("INC6");
    riga(*f, {{"TipoIncasso", "6"},
              {"ParzialeIn", 1000},
              {"ParzialeOut", 600},
              {"preu", 130},
              {"aams", 8},
              {"rete", 15},
              {"IncassoVs", 123.5},
              {"IncassoNs", 123.5},
              {"RefillGestore", 20},
              {"acconti", 50},
              {"VariazioneHopper", 10}});
    (*f)["LllVarDebito"].setCaption("30,00");
    f->CalcolaDettagli();
    f->aggiornaConteggi("Totali");
    EXPECT_DOUBLE_EQ(v(*f, "lllQuotaNolTeorica"), 276.5);
    EXPECT_DOUBLE_EQ(v(*f, "lllDaRiscuotereTeorica"), 236.5);
    EXPECT_DOUBLE_EQ(v(*f, "lllDaRiscuotere"), 266.5);
    EXPECT_DOUBLE_EQ(v(*f, "txtRiscosso"), 266.5);
    EXPECT_DOUBLE_EQ(v(*f, "txtVersatoALocale"), 123.5);
    const std::map<QString, double> attese = {
        {"01.01.01", 266.5},  {"01.01.03", 50},  {"01.01.05", -20},
        {"06.01.02", -123.5}, {"02.01.02", -30}, {"01.01.06", 10},
        {"20.01.01", -130},   {"20.01.02", -8},  {"20.01.03", -15},
    };
    EXPECT_EQ(righe(*f), attese);
    EXPECT_EQ(f->finestra()["txSbilancio"].caption(), "0,00");
}

// Over generated collections the rows balance to the cent after the totals and
// after every settlement command, and the totals balance them on their own.
TEST_F(Pannello, GeneratedCollectionsAlwaysBalance) {
    std::mt19937 gen(6122026);
    auto soldi = [&](int max) { return std::uniform_int_distribution<int>(0, max)(gen) / 100.0; };
    auto moneta = [&] { return std::uniform_int_distribution<int>(0, 1)(gen) == 1; };
    const char* causali[] = {"INC6", "INC", "FUR", "REF", "ACC", "ACL", "CH", "RH", "CAM"};
    const int tipologie[] = {0, 1, 3, 4, 5, 10};
    for (int i = 0; i < 90; ++i) {
        const char* causale = causali[i % 9];
        auto f = nuovo(causale, tipologie[(i / 9) % 6]);
        (*f)["CmiIncassoTasse"].selezionaPerValore(moneta() ? "Noleggiatore" : "Locale");
        (*f)["CmiGestioneDenaro"].selezionaPerValore(moneta() ? "Noleggiatore" : "Locale");
        (*f)["ChkTerzoGestore"].setChecked(moneta());
        (*f)["chkAttesaFatture"].setChecked(moneta());
        (*f)["LllVarDebito"].setCaption(FormatoNumero(soldi(5000), 2));
        if (QString(causale) == "ACL")
            (*f)["txtAccontoLocale"].setText(FormatoNumero(soldi(20000), 2));
        const int macchine = 1 + i % 4;
        for (int m = 0; m < macchine; ++m) {
            const double in = soldi(500000), out = std::min(in, soldi(400000));
            riga(*f, {{"TipoIncasso", m % 2 ? "6" : "0"},
                      {"CodConcessionario", m % 2 ? "RETE2" : "RETE1"},
                      {"ParzialeIn", in},
                      {"ParzialeOut", out},
                      {"Cassetto", soldi(90000)},
                      {"preu", soldi(9000)},
                      {"aams", soldi(900)},
                      {"rete", soldi(900)},
                      {"IncassoVs", soldi(90000)},
                      {"IncassoNs", soldi(90000)},
                      {"QuotaConcess", soldi(30000)},
                      {"RefillGestore", soldi(5000)},
                      {"RefillLocale", soldi(5000)},
                      {"VariazioneHopper", soldi(9000) - 45},
                      {"Ammanchi", soldi(2000) - 10},
                      {"Furti", soldi(3000)},
                      {"acconti", soldi(4000)},
                      {"MonetaAggiunta", soldi(5000)},
                      {"BanconoteAggiunte", soldi(5000)},
                      {"BanconoteRitirate", soldi(5000)},
                      {"MonetaRitirata", soldi(5000)}});
        }
        f->CalcolaDettagli();
        f->aggiornaConteggi("Totali");
        EXPECT_EQ(f->finestra()["txSbilancio"].caption(), "0,00") << causale << " " << i;
        EXPECT_TRUE(f->conguaglio().zero())
            << causale << " " << i << " " << f->conguaglio().toString().toStdString();
        for (auto cmd :
             {&FrmIncassi::CmdRicalcola, &FrmIncassi::CmdNoDenaro, &FrmIncassi::CmdAcconto,
              &FrmIncassi::CmdChiudiIncasso, &FrmIncassi::CmdAcconti, &FrmIncassi::CmdRimanenza}) {
            ((*f).*cmd)();
            EXPECT_EQ(f->finestra()["txSbilancio"].caption(), "0,00") << causale << " " << i;
        }
    }
}

}  // namespace
