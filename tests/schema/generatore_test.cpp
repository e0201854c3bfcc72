#include <gtest/gtest.h>

#include "host/database.h"
#include "schema/controllo.h"
#include "schema/creazione.h"
#include "schema/dati_iniziali.h"
#include "schema/generatore.h"
#include "schema/generatore_denaro.h"
#include "support/testdb.h"

using namespace incassi;
using namespace incassi::schema;
using namespace incassi::schema::gen;
using incassi::test::TestDb;

namespace {

Cent Saldo(const Nota& n) {
    Cent s = 0;
    for (const Nota::Riga& r : n.righe()) {
        EXPECT_GE(r.dare, 0);
        EXPECT_GE(r.avere, 0);
        EXPECT_TRUE((r.dare == 0) != (r.avere == 0)) << r.conto.toStdString();
        s += r.dare - r.avere;
    }
    return s;
}

const Ruoli kRuoli{"01.01.01", "01.01.05", "01.01.03", "06.01.02",
                   "06.01.01", "02.01.02", "02.01.01"};

TEST(DenaroGenerato, QuotaRoundsHalfToEvenOnTheCent) {
    struct {
        Cent base;
        double perc;
        Cent atteso;
    } casi[] = {
        {1250, 1, 12},      // 12.5 -> 12
        {1350, 1, 14},      // 13.5 -> 14
        {-1250, 1, -12},    // ties round to even on negatives too
        {10000, 13, 1300},  //
        {12345, 0.8, 99},   // 98.76
        {0, 13, 0},
    };
    for (const auto& c : casi)
        EXPECT_EQ(Quota(c.base, c.perc), c.atteso) << c.base << " x " << c.perc;
}

TEST(DenaroGenerato, NoteMergesAnAccountAndFlipsNegatives) {
    Nota n;
    n.dare("01.01.01", "Cassa", 1000);
    n.avere("01.01.01", "Cassa", 300);
    n.dare("02.01.02", "Residui", -50);  // lands on Avere
    n.avere("06.01.02", "Utile", 0);     // leaves no row
    const auto r = n.righe();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].dare, 700);
    EXPECT_EQ(r[1].avere, 50);
}

TEST(DenaroGenerato, CollectionsBalanceInEveryVariant) {
    struct Caso {
        const char* nome;
        TotaliIncasso6 t;
    } casi[] = {
        {"plain", {1000, 2000, 0, 0, 0, 0, true, false, {{"C01", "20.02", 1300, 80, 50, 0}}}},
        {"advances above the takings (collected is negative)",
         {100, 200, 5000, 0, 0, 0, true, false, {{"C01", "20.02", 130, 8, 0, 0}}}},
        {"refill, remainder and debt paid",
         {800,
          1700,
          300,
          2000,
          1500,
          900,
          true,
          false,
          {{"C01", "20.02", 900, 55, 40, 0}, {"C02", "20.03", 400, 20, 1500, 0}}}},
        {"taxes paid by the venue",
         {800, 1700, 0, 0, 0, 0, false, false, {{"C01", "20.02", 900, 55, 40, 0}}}},
        {"third manager, holder owes the operator",
         {500, 700, 0, 0, 0, 0, true, true, {{"C01", "20.02", 900, 55, 40, 200}}}},
        {"loss: negative shares", {-300, -700, 0, 0, 0, 0, true, false, {}}},
    };
    for (const Caso& c : casi) {
        Nota n;
        const Cent riscosso = NotaIncasso6(kRuoli, c.t, n);
        EXPECT_EQ(Saldo(n), 0) << c.nome;
        bool cassa = false;
        for (const Nota::Riga& r : n.righe()) {
            if (r.conto == kRuoli.cassa) {
                cassa = true;
                EXPECT_EQ(r.dare - r.avere, riscosso) << c.nome;
            }
        }
        EXPECT_EQ(cassa, riscosso != 0) << c.nome;
    }
    for (Cent v : {Cent(12345), Cent(-4000), Cent(0)}) {
        Nota a, r, p, i;
        NotaAcconto(kRuoli, v, a);
        NotaRefill(kRuoli, v, r);
        NotaPrestito(kRuoli, v, p);
        NotaIncasso(kRuoli, v, i);
        for (const Nota* n : {&a, &r, &p, &i}) {
            EXPECT_EQ(Saldo(*n), 0);
            EXPECT_EQ(n->righe().size(), v ? 2u : 0u);
        }
    }
}

TEST(DenaroGenerato, MeterMachineSharesAddUp) {
    struct Caso {
        const char* tipo;
        bool terzo;
    } casi[] = {{"Utile", false},
                {"Lordo", false},
                {"Introdotto Locale", false},
                {"Introdotto Nolegg.", false},
                {"Fisso Mensile +Tasse", false},
                {"Utile", true}};
    for (const Caso& c : casi) {
        const Macchina6 m{123457, 87651, {13, 0.8}, 617, c.tipo, 50, 6, c.terzo};
        const EsitoMacchina6 e = CalcolaMacchina6(m);
        EXPECT_EQ(e.preu, 16049) << c.tipo;  // 16049.41
        EXPECT_EQ(e.aams, 988) << c.tipo;    // 987.656
        // The holder's share includes the taxes it pays.
        const Cent resto = c.terzo ? e.quotaConcess : e.tasse();
        EXPECT_EQ(e.vs + e.ns + resto, m.in - m.out) << c.tipo;
        if (c.terzo) {
            EXPECT_EQ(e.ns, 7407) << "6 % of the money in";
        }
    }
    EXPECT_EQ(
        CalcolaMacchina6({100000, 70000, {13, 0.8}, 0, "Fisso Mensile +Tasse", 50, 0, false}).ns,
        0);
    const EsitoCassetto k = CalcolaCassetto(10000, 1500, "Utile", 40);
    EXPECT_EQ(k.cassetto, 8500);
    EXPECT_EQ(k.vs, 3400);
    EXPECT_EQ(k.ns, 5100);
}

TEST(DenaroGenerato, NetworkFeeByKind) {
    EXPECT_EQ(Rete("Percentuale", 0.5, 100000, 7, false), 500);
    EXPECT_EQ(Rete("fisso", 0.3, 100000, 7, false), 210);
    EXPECT_EQ(Rete("Fisso", 0.3, 100000, 0, false), 0);
    EXPECT_EQ(Rete("Mensile", 15, 100000, 7, false), 1500);
    EXPECT_EQ(Rete("Mensile", 15, 100000, 7, true), 0);
}

TEST(Generatore, SmallOperatorPassesTheCheckWithTheExpectedDocuments) {
    TestDb t;
    CreaSchema(t.db());
    CaricaDatiIniziali(t.db());
    ParametriGenerazione p;
    p.locali = 3;
    p.anni = 1;
    p.oggi = QDate(2026, 3, 4);
    int chiamate = 0;
    const RiepilogoGenerazione r = GeneraOperatore(t.db(), p, [&](const Avanzamento& a) {
        ++chiamate;
        EXPECT_EQ(a.totale, 3);
        EXPECT_EQ(a.locali, chiamate);
    });
    EXPECT_EQ(chiamate, 3);
    const RapportoControllo c = ControllaIntegrita(t.db());
    EXPECT_TRUE(c.ok()) << c.testo().toStdString();
    EXPECT_EQ(c.documenti, r.documenti);
    EXPECT_EQ(c.documenti + c.righe + c.incassi, r.righe);
    auto conta = [&](const QString& sql) {
        return t.db().queryNative(sql, {}).scalar().toLongLong();
    };
    // One meter collection per venue and week; one cash-box collection per
    // week at the venues that have cash-box machines.
    EXPECT_EQ(conta("SELECT count(*) FROM NoteTeste WHERE CodCausale='INC6'"), 3 * 52);
    const qint64 conCassetto =
        conta("SELECT count(DISTINCT CodLocale) FROM MagSchede WHERE TipologiaIncasso=0");
    EXPECT_EQ(conta("SELECT count(*) FROM NoteTeste WHERE CodCausale='INC'"), conCassetto * 52);
    EXPECT_EQ(conta("SELECT count(*) FROM NoteTeste WHERE CodCausale NOT IN "
                    "('INC6','INC','ACC','REF','PRE')"),
              0);
    EXPECT_EQ(conta("SELECT max(DataRegistrazione) <= '2026-03-04' FROM NoteTeste"), 1);
    EXPECT_EQ(r.locali, 3);
    EXPECT_EQ(conta("SELECT count(*) FROM MagSchede"), r.apparecchi);
}

}  // namespace
