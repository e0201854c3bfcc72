// The money panel and its bookkeeping rows as pure functions: the collections
// worked out by hand in docs/pannello-denaro.md, and the property that every
// combination of causal, collection type and venue settings balances its rows
// to the cent with nothing adjusted.

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "bookkeeping/denaro.h"
#include "bookkeeping/movimenti.h"
#include "support/qtprint.h"

using namespace incassi;

namespace {

// The seed accounts of a new installation.
ContiAssociati Conti() {
    ContiAssociati c;
    for (const auto& [ruolo, conto] : std::initializer_list<std::pair<const char*, const char*>>{
             {"cassa", "01.01.01"},
             {"cassaacconti", "01.01.03"},
             {"cassaaccontilocale", "01.01.04"},
             {"CassaRefill", "01.01.05"},
             {"CassaHopper", "01.01.06"},
             {"CassaHopperCambiam", "01.01.07"},
             {"PrestitiALocale", "02.01.01"},
             {"ResiduiIncassi", "02.01.02"},
             {"ClientiContoFatture", "02.01.03"},
             {"ClientiAbituali", "02.01.04"},
             {"Ammanchi", "05.01.01"},
             {"Furti", "05.01.02"},
             {"arrotondamentiPassivi", "05.01.03"},
             {"UtiliAltriApparecchi", "06.01.01"},
             {"utiliNewSlot", "06.01.02"},
             {"eccedenza", "06.01.03"},
             {"arrotondamentiAttivi", "06.01.04"}}) {
        c.imposta(QString::fromLatin1(ruolo), QString::fromLatin1(conto));
    }
    return c;
}

// Account -> debit minus credit, as the document's one row per account holds
// it; accounts that come to 0 are left out.
std::map<QString, double> Righe(const std::vector<Movimento>& movimenti) {
    std::map<QString, Dec> somme;
    for (const Movimento& m : movimenti)
        somme[m.conto] += m.dare;
    std::map<QString, double> out;
    for (const auto& [conto, saldo] : somme) {
        if (!saldo.arrotonda(2).zero()) out[conto] = saldo.arrotonda(2).toDouble();
    }
    return out;
}

Dec Sbilancio(const std::vector<Movimento>& movimenti) {
    Dec s;
    for (const Movimento& m : movimenti)
        s += m.dare.arrotonda(2);
    return s;
}

Dec E(double euro) {
    return Dec::DaDouble(euro);
}

struct Lavorato {
    const char* nome;
    const char* causale;
    int tipologia;
    bool tasseNoleggiatore, attesaFatture, remoto;
    TotaliRighe righe;
    Dec varDebito, accontoLocaleDocumento, accontiLocali;
    std::vector<TasseConcessionario> tasse;
    Dec riscosso;  // what the panel says to collect
    std::map<QString, double> attese;
};

TEST(Denaro, WorkedCollections) {
    const TasseConcessionario rete{"R1", "Rete Uno", "20.01", E(130), E(8), E(15), Dec()};
    const TasseConcessionario furto{"R1", "Rete Uno", "20.01", E(65), E(4), Dec(), Dec()};
    TotaliRighe inc6;
    inc6.parzialeIn = E(1000);
    inc6.parzialeOut = E(600);
    inc6.preu = E(130);
    inc6.aams = E(8);
    inc6.rete = E(15);
    inc6.incassoVs = inc6.incassoNs = E(123.5);
    inc6.refillGestore = E(20);
    inc6.acconti = E(50);
    inc6.variazioneHopper = E(10);
    TotaliRighe inc;
    inc.cassetto = E(200);
    inc.incassoVs = E(80);
    inc.incassoNs = E(120);
    TotaliRighe fur;
    fur.parzialeIn = E(500);
    fur.parzialeOut = E(300);
    fur.preu = E(65);
    fur.aams = E(4);
    fur.incassoVs = fur.incassoNs = E(65.5);
    fur.furti = E(200);
    TotaliRighe acc;
    acc.acconti = E(100);
    TotaliRighe ref;
    ref.refillGestore = E(20);
    ref.refillLocale = E(10);
    TotaliRighe carico;
    carico.variazioneHopper = E(20);
    TotaliRighe scarico;
    scarico.variazioneHopper = E(-95);
    scarico.ammanchi = E(5);
    TotaliRighe locale = inc6;
    locale.acconti = Dec();

    const Lavorato casi[] = {
        {"INC6 operator pays the taxes",
         "INC6",
         0,
         true,
         false,
         false,
         inc6,
         E(30),
         {},
         {},
         {rete},
         E(266.5),
         {{"01.01.01", 266.5},
          {"01.01.03", 50},
          {"01.01.05", -20},
          {"06.01.02", -123.5},
          {"02.01.02", -30},
          {"01.01.06", 10},
          {"20.01.01", -130},
          {"20.01.02", -8},
          {"20.01.03", -15}}},
        {"INC6 settling an advance paid at the venue the same day",
         "INC6",
         0,
         true,
         false,
         false,
         locale,
         {},
         {},
         E(80),
         {rete},
         E(206.5),
         {{"01.01.01", 206.5},
          {"01.01.04", 80},
          {"01.01.05", -20},
          {"06.01.02", -123.5},
          {"01.01.06", 10},
          {"20.01.01", -130},
          {"20.01.02", -8},
          {"20.01.03", -15}}},
        {"INC ordinary machine",
         "INC",
         0,
         false,
         false,
         false,
         inc,
         {},
         {},
         {},
         {},
         E(200),
         {{"01.01.01", 200}, {"06.01.01", -200}}},
        {"INC waiting for the venue's invoice",
         "INC",
         0,
         false,
         true,
         false,
         inc,
         {},
         {},
         {},
         {},
         E(200),
         {{"01.01.01", 200}, {"06.01.01", -120}, {"02.01.03", -80}}},
        {"FUR theft borne by the operator",
         "FUR",
         0,
         true,
         false,
         false,
         fur,
         {},
         {},
         {},
         {furto},
         E(-65.5),
         {{"01.01.01", -65.5},
          {"06.01.02", -65.5},
          {"20.01.01", -65},
          {"20.01.02", -4},
          {"05.01.02", 200}}},
        {"ACC advances on two machines",
         "ACC",
         0,
         false,
         false,
         false,
         acc,
         {},
         {},
         {},
         {},
         {},
         {{"01.01.03", -100}, {"01.01.01", 100}}},
        {"ACC remote collection",
         "ACC",
         0,
         false,
         false,
         true,
         acc,
         {},
         {},
         {},
         {},
         {},
         {{"02.01.04", -100}, {"01.01.01", 100}}},
        {"ACL advance paid at the venue",
         "ACL",
         0,
         false,
         false,
         false,
         {},
         {},
         E(80),
         {},
         {},
         {},
         {{"01.01.04", -80}, {"01.01.01", 80}}},
        {"REF operator's refill",
         "REF",
         3,
         false,
         false,
         false,
         ref,
         {},
         {},
         {},
         {},
         {},
         {{"01.01.01", -20}, {"01.01.05", 20}}},
        {"REF hall books both refills",
         "REF",
         10,
         false,
         false,
         false,
         ref,
         {},
         {},
         {},
         {},
         {},
         {{"01.01.01", -30}, {"01.01.05", 30}}},
        {"CH hopper load",
         "CH",
         0,
         false,
         false,
         false,
         carico,
         {},
         {},
         {},
         {},
         {},
         {{"01.01.01", -20}, {"01.01.06", 20}}},
        {"RH unload with a shortage",
         "RH",
         0,
         false,
         false,
         false,
         scarico,
         {},
         {},
         {},
         {},
         {},
         {{"01.01.01", 95}, {"01.01.06", -100}, {"05.01.01", 5}}},
    };
    const ContiAssociati conti = Conti();
    for (const Lavorato& c : casi) {
        ValoriPannello v;
        v.causale = QString::fromLatin1(c.causale);
        v.tipologia = c.tipologia;
        v.tasseNoleggiatore = c.tasseNoleggiatore;
        v.attesaFatture = c.attesaFatture;
        v.remoto = c.remoto;
        v.varDebito = c.varDebito;
        v.accontoLocaleDocumento = c.accontoLocaleDocumento;
        const ValoriPannello p = CalcolaPannello(c.righe, v, c.accontiLocali, false);
        EXPECT_EQ(p.riscosso, c.riscosso) << c.nome;
        EXPECT_EQ(Righe(MovimentiDocumento(p, conti, c.tasse)), c.attese) << c.nome;
    }
    // The networked collection's other figures.
    ValoriPannello v;
    v.causale = QStringLiteral("INC6");
    v.tipologia = 0;
    v.tasseNoleggiatore = true;
    v.varDebito = E(30);
    const ValoriPannello p = CalcolaPannello(inc6, v, Dec(), false);
    EXPECT_EQ(p.quotaNolTeorica, E(276.5));
    EXPECT_EQ(p.daRiscuotereTeorica, E(236.5));
    EXPECT_EQ(p.daRiscuotere, E(266.5));
    EXPECT_EQ(p.variazioni, E(30));
    EXPECT_EQ(p.versatoALocale, E(123.5));
    EXPECT_EQ(p.inMenoOut, E(400));
    EXPECT_EQ(p.tasse, E(153));
    // The venue pays the taxes: the operator collects his share only, and the
    // taxes are part of what the venue keeps.
    v.tasseNoleggiatore = false;
    const ValoriPannello q = CalcolaPannello(inc6, v, Dec(), false);
    EXPECT_EQ(q.quotaNolTeorica, E(123.5));
    EXPECT_EQ(q.riscosso, E(113.5));
    EXPECT_EQ(q.versatoALocale, E(276.5));
}

TEST(Denaro, ChangeMachineFromItsFlows) {
    EXPECT_EQ(Righe(MovimentiCambiamonete(Conti(), E(220), E(10))),
              (std::map<QString, double>{{"01.01.01", -220}, {"01.01.07", 210}, {"05.01.01", 10}}));
    // A surplus is a gain.
    EXPECT_EQ(Righe(MovimentiCambiamonete(Conti(), E(220), E(-5))),
              (std::map<QString, double>{{"01.01.01", -220}, {"01.01.07", 225}, {"06.01.03", -5}}));
}

// Totals with a third decimal are shown and booked to the cent: the figures
// are worked out from the rounded totals, so the rows still balance.
TEST(Denaro, TotalsWithAThirdDecimalBalanceToTheCent) {
    TotaliRighe r;
    r.parzialeIn = Dec(100005) / 1000;
    r.incassoVs = Dec(33335) / 1000;
    r.incassoNs = Dec(33345) / 1000;
    r.refillGestore = Dec(125) / 1000;
    ValoriPannello v;
    v.causale = QStringLiteral("INC6");
    v.tipologia = 0;
    const ValoriPannello p = CalcolaPannello(r, v, Dec(), false);
    EXPECT_EQ(p.introdotto, E(100));  // half to even
    EXPECT_EQ(p.utileLocale, E(33.34));
    EXPECT_EQ(p.utileNoleggiatore, E(33.34));
    EXPECT_EQ(p.riscosso, E(33.46));
    EXPECT_TRUE(Sbilancio(MovimentiDocumento(p, Conti(), {})).zero());
}

// What follows a field the collector left: the advance taken home, and a
// shortage or theft split by who manages the money, or totalled from its parts.
TEST(Denaro, FieldsTheCollectorLeaves) {
    ValoriPannello v;
    v.causale = QStringLiteral("ACC");
    v.accontoDocumento = E(100);
    v.anticipoLocale = E(30);
    SeguiCampo(v, QStringLiteral("Acconto"));
    EXPECT_EQ(v.acconto, E(100));
    EXPECT_EQ(v.denaroAcasa, E(70));

    v = {};
    v.causale = QStringLiteral("ACL");
    v.accontoLocaleDocumento = E(80);
    SeguiCampo(v, QStringLiteral("AccontoLocale"));
    EXPECT_EQ(v.accontoLocale, E(80));
    EXPECT_EQ(v.denaroAcasa, E(80));

    for (const bool locale : {false, true}) {
        v = {};
        v.causale = QStringLiteral("INC6");
        v.gestisceLocale = locale;
        v.ammanchi = E(12);
        v.furti = E(40);
        SeguiCampo(v, QStringLiteral("Ammanchi"));
        SeguiCampo(v, QStringLiteral("Furti"));
        EXPECT_EQ(v.ammancoNoleggiatore, locale ? Dec() : E(12));
        EXPECT_EQ(v.ammancoLocale, locale ? E(12) : Dec());
        EXPECT_EQ(v.furtoNoleggiatore, locale ? Dec() : E(40));
        EXPECT_EQ(v.furtoLocale, locale ? E(40) : Dec());
    }
    v.ammancoNoleggiatore = E(3);
    SeguiCampo(v, QStringLiteral("AmmancoN"));
    EXPECT_EQ(v.ammanchi, E(15));
    v.furtoNoleggiatore = E(5);
    SeguiCampo(v, QStringLiteral("FurtoN"));
    EXPECT_EQ(v.furti, E(45));
}

// Every causal x collection type x tax payer x money management x third
// manager x waiting for invoices x refills, advances, thefts and shortages
// present or not: the rows balance to the cent by themselves.
TEST(Denaro, EveryCombinationBalancesWithoutAdjustment) {
    const ContiAssociati conti = Conti();
    std::mt19937 gen(20261206);
    auto soldi = [&](int max) {
        return Dec(std::uniform_int_distribution<int>(0, max)(gen)) / 100;
    };
    const char* causali[] = {"INC6", "INC", "FUR", "REF", "ACC", "ACL", "CH", "RH"};
    const std::optional<int> tipologie[] = {0, 1, 3, 4, 5, 10};
    int casi = 0;
    for (const char* causale : causali) {
        for (const auto& tipologia : tipologie) {
            for (int impostazioni = 0; impostazioni < 16; ++impostazioni) {
                for (int presenti = 0; presenti < 16; ++presenti) {
                    ValoriPannello v;
                    v.causale = QString::fromLatin1(causale);
                    v.tipologia = tipologia;
                    v.tasseNoleggiatore = impostazioni & 1;
                    v.gestisceLocale = impostazioni & 2;
                    v.terzoGestore = impostazioni & 4;
                    v.attesaFatture = impostazioni & 8;
                    v.remoto = presenti & 1;
                    // What the collector typed or the venue carries over.
                    v.varDebito = soldi(50000) - 100;
                    v.arrotondamenti = soldi(500) - 2;
                    v.rimanenza = soldi(20000);
                    v.anticipoLocale = soldi(3000);
                    v.accontoDocumento = soldi(9000);
                    v.accontoLocaleDocumento = soldi(9000);
                    // One to three holders; the machine totals are their sums.
                    TotaliRighe r;
                    std::vector<TasseConcessionario> tasse;
                    const int holders = 1 + (presenti + impostazioni) % 3;
                    for (int h = 0; h < holders; ++h) {
                        TasseConcessionario t{QStringLiteral("R%1").arg(h),
                                              QStringLiteral("Rete"),
                                              QStringLiteral("20.0%1").arg(h + 1),
                                              soldi(90000),
                                              soldi(9000),
                                              soldi(9000),
                                              soldi(300000)};
                        r.preu += t.preu;
                        r.aams += t.aams;
                        r.rete += t.rete;
                        r.quotaConcess += t.quota;
                        tasse.push_back(t);
                    }
                    r.parzialeIn = soldi(5000000);
                    r.parzialeOut = soldi(4000000);
                    r.cassetto = soldi(900000);
                    r.incassoVs = soldi(900000);
                    r.incassoNs = soldi(900000);
                    r.variazioneHopper = soldi(90000) - 450;
                    if (presenti & 2) {
                        r.refillGestore = soldi(50000);
                        r.refillLocale = soldi(50000);
                    }
                    if (presenti & 4) r.acconti = soldi(40000);
                    if (presenti & 8) {
                        r.furti = soldi(30000);
                        r.ammanchi = soldi(20000) - 100;
                    }
                    const Dec accontiLocali = presenti & 4 ? soldi(40000) : Dec();
                    const ValoriPannello p = CalcolaPannello(r, v, accontiLocali, presenti & 1);
                    const auto movimenti =
                        MovimentiDocumento(p, conti,
                                           p.causaleE(Causale::INC6) || p.causaleE(Causale::FUR)
                                               ? tasse
                                               : std::vector<TasseConcessionario>{});
                    ASSERT_TRUE(Sbilancio(movimenti).zero())
                        << causale << " tipologia " << *tipologia << " impostazioni "
                        << impostazioni << " presenti " << presenti << ": "
                        << Sbilancio(movimenti).toString().toStdString();
                    ++casi;
                }
            }
        }
    }
    EXPECT_EQ(casi, 8 * 6 * 16 * 16);
}

}  // namespace
