#include "wizards/wizardversamento.h"

#include <gtest/gtest.h>

#include "schema/creazione.h"
#include "support/testdb.h"
#include "values/values.h"
#include "window/scriptedui.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

const QDate kOggi(2026, 3, 20);

class Versamento : public ::testing::Test {
  protected:
    void SetUp() override {
        schema::PreparaSchema(t.db());
        t.run({"INSERT INTO anagraficaaziende (CodiceAzienda, ordine) VALUES ('AZ1', 1)",
               "INSERT INTO AnagraficaPianoConti (CodiceConto) VALUES ('01.01.99')"});
    }

    std::unique_ptr<WizardVersamento> apri() {
        auto w = std::make_unique<WizardVersamento>(t.host(), ui);
        w->orologio = [] { return kOggi; };
        w->adesso = [] { return QDateTime(kOggi, QTime(9, 0)); };
        w->Apri();
        return w;
    }

    // Accounts and amount set, summary page shown.
    std::unique_ptr<WizardVersamento> riepilogo(const QString& dal, const QString& al,
                                                const QString& importo) {
        auto w = apri();
        w->Avanti();
        EXPECT_EQ(w->focus(), QStringLiteral("txtDenaro"));
        if (!dal.isEmpty()) {
            EXPECT_TRUE(w->casella(QStringLiteral("txeDalConto")).ImpostaCodice(dal));
        }
        if (!al.isEmpty()) {
            EXPECT_TRUE(w->casella(QStringLiteral("txeCassa")).ImpostaCodice(al));
        }
        (*w)[QStringLiteral("txtDenaro")].setText(importo);
        w->DenaroLasciato();
        w->Avanti();
        return w;
    }

    void movimentoCassa(double dare, double avere) {
        t.run({QStringLiteral("INSERT INTO NoteRighe (IdTesta, CodConto, Data, Dare, Avere, "
                              "Descrizione) VALUES (0, '01.01.01', '2026-01-05', %1, %2, 'Cassa')")
                   .arg(dare)
                   .arg(avere)});
    }

    TestDb t;
    ScriptedUi ui;
};

// A transfer to the account it comes from, or to no account, moves nothing.
TEST_F(Versamento, SourceAndDestinationMustBeTwoAccounts) {
    struct {
        const char* dal;
        const char* al;
        const char* messaggio;
    } casi[] = {
        {"01.01.01", "01.01.01",
         "Il conto di prelevamento e quello di versamento coincidono: nessun movimento è stato "
         "registrato."},
        {"", "01.01.02",
         "Selezionare il conto di prelevamento: nessun movimento è stato registrato."},
    };
    for (const auto& c : casi) {
        auto w = riepilogo(QLatin1String(c.dal), QLatin1String(c.al), QStringLiteral("50"));
        w->Avanti();
        EXPECT_FALSE(w->chiusa()) << c.dal;
        EXPECT_EQ(ui.messaggi().back().testo, QString::fromUtf8(c.messaggio));
    }
    EXPECT_EQ(t.scalar("select count(*) from NoteTeste").toInt(), 0);
}

TEST_F(Versamento, WorkedExamplesBothWays) {
    struct {
        const char* dal;
        const char* al;
        const char* importo;
        const char* versamento;  // destination row
        double dareAl, avereAl;
        const char* prelevamento;  // source row
        double dareDal, avereDal;
    } casi[] = {
        {"01.01.01", "01.01.02", "500", "Versamento Banca", 500, 0, "Prelevamento Cassa", 0, 500},
        {"01.01.02", "01.01.01", "500", "Versamento Cassa", 500, 0, "Prelevamento Banca", 0, 500},
        {"01.01.01", "01.01.02", "-500", "Versamento Banca", 0, 500, "Prelevamento Cassa", 500, 0},
        // An account without description: the whole display text, the code.
        {"01.01.99", "01.01.08", "7,5", "Versamento Cassa sede", 7.5, 0, "Prelevamento 01.01.99", 0,
         7.5},
    };
    for (const auto& c : casi) {
        auto w = riepilogo(QLatin1String(c.dal), QLatin1String(c.al), QLatin1String(c.importo));
        w->Avanti();
        ASSERT_TRUE(w->chiusa()) << c.importo;
        const qlonglong id = w->idGenerato();
        auto testa =
            t.host().OpenRecordSet(QStringLiteral("select * from NoteTeste where id=%1").arg(id));
        EXPECT_EQ(Txt(testa->Value("Descrizione")), QStringLiteral("Giroconto"));
        EXPECT_EQ(Txt(testa->Value("CodCausale")), QStringLiteral("CP"));
        EXPECT_TRUE(IsNull(testa->Value("CodLocale")));
        EXPECT_TRUE(IsNull(testa->Value("VarPrestito")));
        EXPECT_EQ(Txt(testa->Value("CodiceAzienda")), QStringLiteral("AZ1"));
        auto rs = t.host().OpenRecordSet(
            QStringLiteral("select * from NoteRighe where idtesta=%1 order by id").arg(id));
        ASSERT_EQ(rs->RecordCount(), 2);
        EXPECT_EQ(Txt(rs->Value("Descrizione")), QLatin1String(c.versamento));
        EXPECT_EQ(Txt(rs->Value("CodConto")), QLatin1String(c.al));
        EXPECT_EQ(Num(rs->Value("Dare")), c.dareAl);
        EXPECT_EQ(Num(rs->Value("Avere")), c.avereAl);
        EXPECT_EQ(Num(rs->Value("Riga")), 1);
        rs->MoveNext();
        EXPECT_EQ(Txt(rs->Value("Descrizione")), QLatin1String(c.prelevamento));
        EXPECT_EQ(Txt(rs->Value("CodConto")), QLatin1String(c.dal));
        EXPECT_EQ(Num(rs->Value("Dare")), c.dareDal);
        EXPECT_EQ(Num(rs->Value("Avere")), c.avereDal);
        EXPECT_EQ(Num(rs->Value("Riga")), 1);
        EXPECT_TRUE(IsNull(rs->Value("CodLocale")));
    }
}

TEST_F(Versamento, DescriptionIsTheDisplayTextAfterItsFirstBlank) {
    struct {
        const char* visualizzato;
        const char* descrizione;
    } casi[] = {
        {"01.01.02 Banca", "Banca"},
        {"01.01.08 Cassa sede centrale", "Cassa sede centrale"},
        {"01.01.99", "01.01.99"},
        {"", ""},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(DescrizioneDaVisualizzato(QLatin1String(c.visualizzato)),
                  QLatin1String(c.descrizione));
    }
}

TEST_F(Versamento, BalanceSignFollowsTheSourceAccountInAnyCase) {
    // A cash account whose code has letters, so that the case can differ.
    t.run(
        {"INSERT INTO AnagraficaPianoConti (CodiceConto, Descrizione) "
         "VALUES ('01.01.CA', 'Cassa centrale')",
         "UPDATE TabAssociazioneConti SET cassa = '01.01.CA'",
         "INSERT INTO NoteRighe (IdTesta, CodConto, Data, Dare, Avere) "
         "VALUES (0, '01.01.CA', '2026-01-05', 1000, 0)"});
    struct {
        const char* dal;
        const char* saldo;
    } casi[] = {
        {"01.01.CA", "500,00"},   {"01.01.ca", "500,00"}, {" 01.01.Ca ", "500,00"},
        {"01.01.02", "1.500,00"}, {"", "1.500,00"},
    };
    for (const auto& c : casi) {
        auto w = apri();
        w->Avanti();
        EXPECT_EQ((*w)[QStringLiteral("SaldoOggi")].text(), QStringLiteral("1.000,00"));
        (*w)[QStringLiteral("txeDalConto")].setText(QLatin1String(c.dal));
        (*w)[QStringLiteral("txtDenaro")].setText(QStringLiteral("500"));
        w->Avanti();
        EXPECT_EQ((*w)[QStringLiteral("Saldo")].text(), QLatin1String(c.saldo)) << c.dal;
        ASSERT_EQ(w->movimenti().size(), 1u);
    }
}

TEST_F(Versamento, EmptyDestinationTakesTheMainCashOnTheSummary) {
    movimentoCassa(0, 80);
    auto w = riepilogo(QStringLiteral("01.01.02"), QString(), QStringLiteral("20"));
    EXPECT_EQ((*w)[QStringLiteral("txeCassa")].text(), QStringLiteral("01.01.01"));
    EXPECT_EQ((*w)[QStringLiteral("Saldo")].text(), QStringLiteral("-60,00"));
    ASSERT_EQ(w->movimenti().size(), 1u);
    EXPECT_EQ(w->movimenti()[0].avere, QStringLiteral("80,00"));
}

TEST_F(Versamento, NothingIsWrittenWithoutAmountOrSource) {
    struct {
        const char* dal;
        const char* importo;
    } casi[] = {{"01.01.01", "0"}, {"01.01.01", "cento"}, {"", "100"}};
    for (const auto& c : casi) {
        auto w =
            riepilogo(QLatin1String(c.dal), QStringLiteral("01.01.02"), QLatin1String(c.importo));
        const size_t prima = ui.messaggi().size();
        w->Avanti();
        EXPECT_FALSE(w->chiusa()) << c.importo;
        ASSERT_EQ(ui.messaggi().size(), prima + 1);
        EXPECT_TRUE(ui.messaggi().back().testo.contains(
            QStringLiteral("nessun movimento è stato registrato")));
    }
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from NoteTeste")).toInt(), 0);
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from NoteRighe")).toInt(), 0);
}

TEST_F(Versamento, OpeningTexts) {
    auto w = apri();
    EXPECT_EQ(w->titolo(), QStringLiteral("..:: Giroconto  ::.."));
    EXPECT_EQ((*w)[QStringLiteral("Frame1_0")].caption(),
              QStringLiteral("Criteri per il versamento"));
    EXPECT_EQ((*w)[QStringLiteral("Frame1_1")].caption(), QStringLiteral("Dettaglio Versamenti"));
    EXPECT_EQ((*w)[QStringLiteral("txeDalConto")].caption(), QStringLiteral("Giroconto dal conto"));
    EXPECT_EQ((*w)[QStringLiteral("LabHelp")].text(),
              QStringLiteral("Selezionare il locale, esattore e azienda. Selezionare avanti per "
                             "inserire il valore e tipo del prestito."));
    EXPECT_EQ(w->finestra().trova(QStringLiteral("txeCodiceLocale")), nullptr);
    EXPECT_EQ(w->finestra().trova(QStringLiteral("txeCodCausale")), nullptr);
}

}  // namespace
