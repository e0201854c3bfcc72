#include <gtest/gtest.h>

#include "bookkeeping/archivio.h"
#include "collection/frmincassi.h"
#include "schema/creazione.h"
#include "support/testdb.h"
#include "values/values.h"
#include "window/scriptedui.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

const QDate kOggi(2026, 3, 20);

// Four meter machines at BAR1, each with a history of its own, so that a
// value given to the wrong machine shows: their previous readings (one at
// another venue, one only on the card), imported readings (one code in
// another case), own splits, open advances and this month's network fee.
class Caricamento : public ::testing::Test {
  protected:
    void SetUp() override {
        schema::PreparaSchema(t.db());
        t.run({
            "INSERT INTO anagraficaaziende (CodiceAzienda, ordine) VALUES ('AZ1', 1)",
            "INSERT INTO AnagraficaLocali (CodLocale, Insegna, citta, CodiceAzienda, sospeso, "
            "GestioneDenaro, IncassoTasse, tipologiaincasso) VALUES "
            "('BAR1', 'Bar Sport', 'Roma', 'AZ1', 0, 'Noleggiatore', 'Locale', 0), "
            "('BAR2', 'Bar Centrale', 'Napoli', 'AZ1', 0, 'Noleggiatore', 'Locale', 0)",
            "INSERT INTO MagAnagArticoli (CodArticolo, TipoArticolo, CatApparecchio) VALUES "
            "('AWP', 4, 'AWP')",
            "INSERT INTO LocaliConcessionari (codicelocale, CodiceConcessionario, contratto, Tipo, "
            "Valore, TerzoGestore) VALUES ('BAR1', 'RETE1', '', 'Mensile', 30, 0)",
            "INSERT INTO Localipercentuali (codicelocale, categoria, Tipo, percentualeloc, "
            "percentualenol) VALUES ('BAR1', 'AWP', 'Utile', 45, 10)",
            "INSERT INTO PercentualiApparecchi (linkscheda, codlocale, tipologia, percentuale) "
            "VALUES (2, 'BAR1', 'Lordo', 40), (4, 'BAR2', 'Lordo', 10)",
            "INSERT INTO contatori (codiceAAMS, datacontatore, cntotin, cntotout) VALUES "
            "('AAMS1', '2026-03-20', 1300, 500), ('aams3', '2026-03-20', 900, 100), "
            "('AAMS2', '2026-03-19', 7000, 4000)",
            "INSERT INTO NoteTeste (id, CodLocale, CodCausale, DataRegistrazione) VALUES "
            "(10, 'BAR1', 'INC6', '2026-03-05'), (11, 'BAR2', 'INC6', '2026-03-06'), "
            "(12, 'BAR1', 'ACC', '2026-03-10')",
            "INSERT INTO NoteIncassi (IdTesta, linkscheda, codlocale, DataIncasso, ContatoreIN, "
            "ContatoreOUT, LivelloH1, TipoH1, rete, acconti, chiuso) VALUES "
            "(10, 1, 'BAR1', '2026-03-05', 1100, 450, 20, 1, 30, 0, 0), "
            "(10, 2, 'BAR1', '2026-03-05', 5200, 3100, 40, 1, 0, 0, 0), "
            "(11, 4, 'BAR2', '2026-03-06', 8000, 6000, 70, 1, 30, 0, 0), "
            "(12, 2, 'BAR1', '2026-03-10', NULL, NULL, NULL, NULL, 0, 15, 0), "
            "(12, 4, 'BAR1', '2026-03-10', NULL, NULL, NULL, NULL, 0, 25, 0)",
        });
        for (int id = 1; id <= 4; ++id) {
            t.run({QStringLiteral(
                       "INSERT INTO MagSchede (id, NomeGioco, CodiceInterno, CodiceAAMS, "
                       "CodLocale, TipologiaIncasso, ultimoIncasso, cntotin, cntotout, Tipoh1, "
                       "attualeh1, MoltiplicatoreIn, Moltiplicatoreout, CodConcessionario) "
                       "VALUES (%1, 'Gioco', 'INT%1', 'AAMS%1', 'BAR1', 6, '2026-03-01', %2, "
                       "%3, 1, %4, 1, 1, 'RETE1')")
                       .arg(id)
                       .arg(id * 100)
                       .arg(id * 10)
                       .arg(id * 5),
                   QStringLiteral("INSERT INTO MagProdottoFinito (id, Descrizione, CodLocale, "
                                  "CodArticolo, OrdineIncasso) VALUES (%1, 'P', 'BAR1', 'AWP', %1)")
                       .arg(100 + id),
                   QStringLiteral("INSERT INTO MagProdottoDistinta (IdProdottoFinito, "
                                  "linkScheda, TipoArticolo) VALUES (%1, %2, 1)")
                       .arg(100 + id)
                       .arg(id)});
        }
    }

    // A new meter collection at BAR1 on the test day with machines `scelta` loaded.
    std::unique_ptr<FrmIncassi> carica(const QString& scelta) {
        auto f = std::make_unique<FrmIncassi>(t.host(), ui, prop, RecordOperatore{});
        f->orologio = [] { return kOggi; };
        f->Apri();
        f->Nuovo();
        (*f)["txtDataRegistrazione"].setValue(kOggi);
        EXPECT_TRUE(f->casella("txeCodCausale").ImpostaCodice("INC6"));
        EXPECT_TRUE(f->casella("txeCodLocale").ImpostaCodice("BAR1"));
        ui.rispondiElenco(scelta);
        EXPECT_EQ(f->CaricaApparecchi(), EsitoCaricamento::Caricato);
        return f;
    }

    TestDb t;
    ScriptedUi ui;
    ProprietaIngresso prop;
};

TEST_F(Caricamento, MachinesLoadedTogetherGetEachTheirOwnHistory) {
    struct Attesa {
        int scheda;
        double vecchioIn, livello, contatoreIn, acconti, percLocale, rete;
        const char* tipoCalcolo;
    } attese[] = {
        // Its last collection here; imported reading; this month's fee already charged.
        {1, 1100, 20, 1300, 0, 45, 0, "Utile"},
        // Its last collection; no reading for the day; an advance; its own split.
        {2, 5200, 40, 0, 15, 40, 30, "Lordo"},
        // Only the card; a reading imported with its code in lower case.
        {3, 300, 15, 900, 0, 45, 30, "Utile"},
        // A collection at another venue does not count, nor its split there.
        {4, 400, 20, 0, 25, 45, 30, "Utile"},
    };
    auto insieme = carica("1|2|3|4|");
    for (const Attesa& a : attese) {
        SCOPED_TRACE(a.scheda);
        auto sola = carica(QStringLiteral("%1|").arg(a.scheda));
        for (FrmIncassi* f : {insieme.get(), sola.get()}) {
            auto rs = f->righeIncassi();
            rs->MoveFirst();
            ASSERT_TRUE(rs->Find(QStringLiteral("linkscheda=%1").arg(a.scheda)));
            EXPECT_DOUBLE_EQ(Num(rs->Value("VecchioContatoreIN")), a.vecchioIn);
            EXPECT_DOUBLE_EQ(Num(rs->Value("LivelloH1")), a.livello);
            EXPECT_DOUBLE_EQ(Num(rs->Value("ContatoreIN")), a.contatoreIn);
            EXPECT_DOUBLE_EQ(Num(rs->Value("acconti")), a.acconti);
            EXPECT_DOUBLE_EQ(Num(rs->Value("PercLocale")), a.percLocale);
            EXPECT_DOUBLE_EQ(Num(rs->Value("Rete")), a.rete);
            EXPECT_EQ(Txt(rs->Value("TipoCalcolo")), a.tipoCalcolo);
        }
    }
}

TEST_F(Caricamento, ThePreviousReadingOfEachKindForSeveralMachines) {
    t.run(
        {"INSERT INTO NoteTeste (id, CodLocale, CodCausale, DataRegistrazione) VALUES "
         "(13, 'BAR1', 'INC', '2026-03-12')",
         "INSERT INTO NoteIncassi (IdTesta, linkscheda, codlocale, DataIncasso, ContatoreIN) "
         "VALUES (13, 1, 'BAR1', '2026-03-12', NULL), (13, 3, 'BAR1', '2026-03-21', 5)"});
    using L = Archivio::Lettura;
    struct Caso {
        L quale;
        const char* locale;
        std::map<int, QDate> attese;  // the machine and the day of the row it gets
    } casi[] = {
        // The last collection or theft at the venue.
        {L::UltimoIncasso, "BAR1", {{1, {2026, 3, 5}}, {2, {2026, 3, 5}}}},
        {L::UltimoIncasso, "bar2", {{4, {2026, 3, 6}}}},
        // The last row with meters at the venue.
        {L::ConContatori, "BAR1", {{1, {2026, 3, 5}}, {2, {2026, 3, 5}}}},
        // The last row anywhere up to the day, meters or not.
        {L::Qualsiasi, "BAR1", {{1, {2026, 3, 12}}, {2, {2026, 3, 10}}, {4, {2026, 3, 10}}}},
    };
    Archivio archivio(t.host());
    for (const Caso& c : casi) {
        SCOPED_TRACE(int(c.quale));
        auto rs = archivio.LetturePrecedenti({1, 2, 3, 4}, kOggi, c.locale, c.quale);
        std::map<int, QDate> trovate;
        for (; !rs->Eof(); rs->MoveNext()) {
            const int scheda = int(Num(rs->Value("linkscheda")));
            EXPECT_FALSE(trovate.count(scheda)) << "two rows for machine " << scheda;
            trovate[scheda] = rs->Value("DataIncasso").toDate();
        }
        EXPECT_EQ(trovate, c.attese);
        // Each alone gets the same row.
        for (int scheda = 1; scheda <= 4; ++scheda) {
            auto sola = archivio.LetturePrecedenti({scheda}, kOggi, c.locale, c.quale);
            EXPECT_EQ(sola->Eof(), !c.attese.count(scheda));
            if (!sola->Eof()) {
                EXPECT_EQ(sola->Value("DataIncasso").toDate(), c.attese.at(scheda));
            }
        }
    }
    EXPECT_TRUE(archivio.LetturePrecedenti({}, kOggi, "BAR1", L::Qualsiasi)->Eof());
}

}  // namespace
