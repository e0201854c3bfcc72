#include "wizards/wizardvariazione.h"

#include <gtest/gtest.h>

#include "schema/creazione.h"
#include "support/testdb.h"
#include "values/values.h"
#include "window/scriptedui.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

const QDate kOggi(2026, 3, 20);
const QDateTime kAdesso(kOggi, QTime(10, 30));
const QString kPrestiti = QStringLiteral("02.01.01");
const QString kResidui = QStringLiteral("02.01.02");

struct Riga {
    QString descrizione;
    double dare, avere;
    QString conto, locale;
    int riga;
};

class Variazione : public ::testing::Test {
  protected:
    void SetUp() override {
        schema::PreparaSchema(t.db());
        t.run({
            "INSERT INTO anagraficaaziende (CodiceAzienda, ordine) VALUES ('AZ1', 1), ('AZ2', 2)",
            "INSERT INTO anagraficaoperatori (CodiceOperatore, cognome, nome, mansione) VALUES "
            "('E1', 'Rossi', 'Mario', 'Esattore')",
            "INSERT INTO AnagraficaLocali (CodLocale, Insegna, Indirizzo, Citta, CodiceAzienda, "
            "sospeso) VALUES ('BAR1', 'Bar Sport', 'Via Roma 1', 'Roma', 'AZ1', 0), "
            "('BAR2', 'Bar Centrale', 'Piazza Dante', 'Napoli', 'AZ2', 0)",
            "INSERT INTO AnagraficaLocali (CodLocale, Insegna, Citta, CodiceAzienda, sospeso, "
            "esDitta, esPiva, esCodf, esSedeVia, esSedeNr, esSedeCap, esSedeComune, "
            "esSedeProvincia) VALUES ('SOSP', 'Bar Chiuso', 'Bari', 'AZ1', -1, 'Chiuso S.r.l.', "
            "'01234567890', 'CHSBRI', 'Via Lunga', '12', '70100', 'Bari', 'BA')",
        });
    }

    std::unique_ptr<WizardVariazione> apri(const ProfiloVariazione& profilo,
                                           ProprietaIngresso prop = {}, RecordOperatore op = {}) {
        auto w = std::make_unique<WizardVariazione>(t.host(), ui, profilo, prop, op);
        w->orologio = [] { return kOggi; };
        w->adesso = [] { return kAdesso; };
        w->Apri();
        return w;
    }

    // Venue chosen, amount typed and left, summary page shown.
    std::unique_ptr<WizardVariazione> riepilogo(const ProfiloVariazione& profilo,
                                                const QString& importo,
                                                const char* locale = "BAR1") {
        auto w = apri(profilo);
        EXPECT_TRUE(w->casella(QStringLiteral("txeCodiceLocale")).ImpostaCodice(locale));
        w->Avanti();
        (*w)[QStringLiteral("txtDenaro")].setText(importo);
        w->DenaroLasciato();
        w->Avanti();
        EXPECT_EQ(w->pagina(), 2);
        return w;
    }

    void movimento(const QString& conto, const char* locale, const char* data, double dare,
                   double avere, const char* descrizione = "VoceMovimento") {
        t.run({QStringLiteral("INSERT INTO NoteRighe (IdTesta, CodConto, CodLocale, Data, Dare, "
                              "Avere, Descrizione) VALUES (0, '%1', '%2', '%3', %4, %5, '%6')")
                   .arg(conto, QLatin1String(locale), QLatin1String(data))
                   .arg(dare)
                   .arg(avere)
                   .arg(QLatin1String(descrizione))});
    }

    std::vector<Riga> righe(qlonglong idTesta) {
        std::vector<Riga> r;
        auto rs = t.host().OpenRecordSet(
            QStringLiteral("select * from NoteRighe where idtesta=%1 order by id").arg(idTesta));
        for (; !rs->Eof(); rs->MoveNext()) {
            r.push_back({Txt(rs->Value("Descrizione")), Num(rs->Value("Dare")),
                         Num(rs->Value("Avere")), Txt(rs->Value("CodConto")),
                         Txt(rs->Value("CodLocale")), int(Num(rs->Value("Riga")))});
        }
        return r;
    }

    QVariant testata(qlonglong id, const char* colonna) {
        return t.scalar(QStringLiteral("select %1 from NoteTeste where id=%2")
                            .arg(QLatin1String(colonna))
                            .arg(id));
    }

    int conta(const char* tabella) {
        return t.scalar(QStringLiteral("select count(*) from %1").arg(QLatin1String(tabella)))
            .toInt();
    }

    TestDb t;
    ScriptedUi ui;
};

TEST_F(Variazione, WorkedExamplesWriteHeaderAndTwoBalancedRows) {
    struct {
        const ProfiloVariazione& profilo;
        const char* importo;
        const char* colonna;  // the header column of the amount
        const char* altra;    // the other wizard's column, never written
        double valore;
        double dareCassa, avereCassa;
    } casi[] = {
        {ProfiloPrestito(), "100", "VarPrestito", "Rimanenza", 100, 0, 100},
        {ProfiloPrestito(), "-30", "VarPrestito", "Rimanenza", -30, 30, 0},
        {ProfiloRimanenza(), "50", "Rimanenza", "VarPrestito", 50, 0, 50},
        {ProfiloRimanenza(), "-20", "Rimanenza", "VarPrestito", -20, 20, 0},
    };
    for (const auto& c : casi) {
        const bool prestito = &c.profilo == &ProfiloPrestito();
        auto w = riepilogo(c.profilo, QLatin1String(c.importo));
        w->casella(QStringLiteral("txeCodEsattore")).ImpostaCodice(QStringLiteral("E1"));
        (*w)[QStringLiteral("txtNote")].setText(QStringLiteral("consegnati a mano"));
        w->Avanti();
        ASSERT_TRUE(w->chiusa()) << c.importo;
        EXPECT_EQ((*w)[QStringLiteral("CmdAnnulla")].caption(), QStringLiteral("&Chiudi"));
        const qlonglong id = w->idGenerato();
        EXPECT_EQ(Num(testata(id, c.colonna)), c.valore);
        EXPECT_TRUE(IsNull(testata(id, c.altra))) << c.altra;
        EXPECT_EQ(Txt(testata(id, "CodCausale")), prestito ? "PRE" : "CP");
        EXPECT_EQ(Txt(testata(id, "Descrizione")),
                  prestito ? "Variazione prestito locale" : "Variazione debito incasso");
        EXPECT_EQ(Txt(testata(id, "CodLocale")), "BAR1");
        EXPECT_EQ(Txt(testata(id, "CodEsattore")), "E1");
        EXPECT_EQ(Txt(testata(id, "CodiceAzienda")), "AZ1");
        EXPECT_EQ(Txt(testata(id, "annotazioni")), "consegnati a mano");
        EXPECT_EQ(Txt(testata(id, "idoperatore")), "ANNA");
        EXPECT_EQ(testata(id, "DataRegistrazione").toDate(), kOggi);
        const std::vector<Riga> r = righe(id);
        ASSERT_EQ(r.size(), 2u);
        EXPECT_EQ(r[0].descrizione, prestito ? "Cassa prestiti" : "Cassa rimanenze");
        EXPECT_EQ(r[0].conto, "01.01.01");  // the association's cash, the field was empty
        EXPECT_EQ(r[0].dare, c.dareCassa);
        EXPECT_EQ(r[0].avere, c.avereCassa);
        EXPECT_EQ(r[1].descrizione,
                  prestito ? "Variazione prestito al locale" : "Variazione debito incasso");
        EXPECT_EQ(r[1].conto, prestito ? kPrestiti : kResidui);
        EXPECT_EQ(r[1].dare, c.avereCassa);
        EXPECT_EQ(r[1].avere, c.dareCassa);
        for (const Riga& x : r) {
            EXPECT_EQ(x.locale, "BAR1");
            EXPECT_EQ(x.riga, 1);
        }
    }
}

TEST_F(Variazione, TheAmountShownIsTheAmountStored) {
    struct {
        const char* digitato;
        const char* mostrato;
        double memorizzato;
        double riga;  // the rows' rounded figure
    } casi[] = {
        {"1234,5", "€. 1.234,50", 1234.5, 1234.5},
        {"12.5", "€. 12,50", 12.5, 12.5},
        {"-1.234,565", "€. -1.234,56", -1234.56, 1234.56},
        {"€. 7,25", "€. 7,25", 7.25, 7.25},
        // A third decimal: half to even on the decimal value, header and rows alike.
        {"0,125", "€. 0,12", 0.12, 0.12},
        {"2,675", "€. 2,68", 2.68, 2.68},
        {"-0,135", "€. -0,14", -0.14, 0.14},
    };
    for (const auto& c : casi) {
        auto w = riepilogo(ProfiloPrestito(), QString::fromUtf8(c.digitato));
        EXPECT_EQ((*w)[QStringLiteral("txtDenaro")].text(), QString::fromUtf8(c.mostrato));
        w->Avanti();
        ASSERT_TRUE(w->chiusa()) << c.digitato;
        EXPECT_DOUBLE_EQ(Num(testata(w->idGenerato(), "VarPrestito")), c.memorizzato);
        const std::vector<Riga> r = righe(w->idGenerato());
        EXPECT_DOUBLE_EQ(r[1].dare + r[1].avere, c.riga) << c.digitato;
    }
}

TEST_F(Variazione, ZeroOrNotANumberWritesNothingAndKeepsTheWindowOpen) {
    for (const char* importo : {"0", "abc", "", "0,004", "-0"}) {
        ScriptedUi locale;
        auto w = riepilogo(ProfiloPrestito(), QLatin1String(importo));
        const size_t prima = ui.messaggi().size();
        w->Avanti();
        EXPECT_FALSE(w->chiusa()) << importo;
        EXPECT_EQ(w->pagina(), 2);
        EXPECT_EQ((*w)[QStringLiteral("CmdAvanti")].caption(), QStringLiteral("&Genera"));
        ASSERT_EQ(ui.messaggi().size(), prima + 1) << importo;
        EXPECT_TRUE(ui.messaggi().back().testo.contains(
            QStringLiteral("nessun movimento è stato registrato")));
        EXPECT_EQ(ui.messaggi().back().icona, Icona::Esclamazione);
        EXPECT_EQ(w->idGenerato(), 0);
    }
    EXPECT_EQ(conta("NoteTeste"), 0);
    EXPECT_EQ(conta("NoteRighe"), 0);
}

// An account role left empty, or a cash account taken away, stops the
// generate with a message naming what is missing: no row on no account.
TEST_F(Variazione, AMissingAccountIsNamedAndNothingIsGenerated) {
    struct {
        const char* istruzione;
        const char* messaggio;
    } casi[] = {
        {"update TabAssociazioneConti set PrestitiALocale=NULL",
         "Nella tabella delle associazioni dei conti manca il conto del ruolo PrestitiALocale: "
         "nessun movimento è stato registrato."},
        {"update TabAssociazioneConti set PrestitiALocale='99.99.99'",
         "Il conto 99.99.99 non è nel piano dei conti: nessun movimento è stato registrato."},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.istruzione);
        t.run({QLatin1String(c.istruzione)});
        auto w = riepilogo(ProfiloPrestito(), QStringLiteral("100"));
        w->Avanti();
        EXPECT_FALSE(w->chiusa());
        EXPECT_EQ(ui.messaggi().back().testo, QString::fromUtf8(c.messaggio));
        EXPECT_EQ(conta("NoteTeste"), 0);
        EXPECT_EQ(conta("NoteRighe"), 0);
    }
}

TEST_F(Variazione, WithoutTheRightToInsertNothingIsGenerated) {
    Diritti d = Diritti::Tutti();
    d.inserimento = false;
    t.host().setOperatore({QStringLiteral("ANNA"), d});
    auto w = riepilogo(ProfiloPrestito(), QStringLiteral("100"));
    w->Avanti();
    EXPECT_FALSE(w->chiusa());
    EXPECT_EQ(ui.messaggi().back().testo,
              "Operazione non consentita: l'operatore ANNA non ha il permesso di inserire "
              "documenti.");
    EXPECT_EQ(conta("NoteTeste"), 0);
    EXPECT_EQ(conta("NoteRighe"), 0);
}

TEST_F(Variazione, AFailureInTheMiddleOfGenerateLeavesNothingWritten) {
    // The second row fails after the header and the cash row went in.
    t.creaGuasto("NoteRighe", "INSERT", "disco pieno",
                 "NEW.Descrizione = 'Variazione prestito al locale'");
    auto w = riepilogo(ProfiloPrestito(), QStringLiteral("100"));
    w->Avanti();
    EXPECT_FALSE(w->chiusa());
    EXPECT_EQ(conta("NoteTeste"), 0);
    EXPECT_EQ(conta("NoteRighe"), 0);
    ASSERT_EQ(ui.messaggi().size(), 1u);
    EXPECT_EQ(ui.messaggi()[0].icona, Icona::Critico);
    EXPECT_TRUE(ui.messaggi()[0].testo.contains(QStringLiteral("disco pieno")));

    // Once the fault is gone the same window generates.
    t.togliGuasto("NoteRighe");
    w->Avanti();
    EXPECT_TRUE(w->chiusa());
    EXPECT_EQ(conta("NoteTeste"), 1);
    EXPECT_EQ(conta("NoteRighe"), 2);
}

TEST_F(Variazione, TodaysBalanceIsComputedOncePerEntryFromTheCriteria) {
    movimento(kPrestiti, "BAR1", "2026-01-10", 40, 0);
    auto w = apri(ProfiloPrestito());
    EXPECT_EQ((*w)[QStringLiteral("SaldoOggi")].text(), QStringLiteral("0,00"));
    w->casella(QStringLiteral("txeCodiceLocale")).ImpostaCodice(QStringLiteral("BAR1"));
    w->Avanti();
    EXPECT_EQ((*w)[QStringLiteral("SaldoOggi")].text(), QStringLiteral("40,00"));
    EXPECT_FALSE(w->saldoDaRicalcolare());

    // Page 2 and back to page 1: not recomputed.
    movimento(kPrestiti, "BAR1", "2026-02-10", 10, 0);
    w->Avanti();
    w->Indietro();
    EXPECT_EQ(w->pagina(), 1);
    EXPECT_EQ((*w)[QStringLiteral("SaldoOggi")].text(), QStringLiteral("40,00"));

    // Back to the criteria, another venue: recomputed on the way forward.
    w->Indietro();
    EXPECT_TRUE(w->saldoDaRicalcolare());
    w->casella(QStringLiteral("txeCodiceLocale")).ImpostaCodice(QStringLiteral("BAR2"));
    w->Avanti();
    EXPECT_EQ((*w)[QStringLiteral("SaldoOggi")].text(), QStringLiteral("0,00"));
    w->Indietro();
    w->casella(QStringLiteral("txeCodiceLocale")).ImpostaCodice(QStringLiteral("BAR1"));
    w->Avanti();
    EXPECT_EQ((*w)[QStringLiteral("SaldoOggi")].text(), QStringLiteral("50,00"));
}

TEST_F(Variazione, AVenueWithoutMovements) {
    auto w = riepilogo(ProfiloPrestito(), QStringLiteral("12,345"), "BAR2");
    EXPECT_EQ((*w)[QStringLiteral("SaldoOggi")].text(), QStringLiteral("0,00"));
    EXPECT_EQ((*w)[QStringLiteral("Saldo")].text(), QStringLiteral("12,34"));  // half to even
    EXPECT_TRUE(w->movimenti().empty());
}

TEST_F(Variazione, SummaryListsTheVenueMovementsNewestFirst) {
    movimento(kPrestiti, "BAR1", "2026-01-10", 40, 0, "Primo prestito");
    movimento(kPrestiti, "BAR1", "2026-03-01", 0, 15.5, "Rientro");
    movimento(kPrestiti, "BAR2", "2026-03-02", 99, 0, "Altro locale");
    auto w = riepilogo(ProfiloPrestito(), QStringLiteral("-4,5"));
    ASSERT_EQ(w->movimenti().size(), 2u);
    const VoceMovimento& m0 = w->movimenti()[0];
    EXPECT_EQ(m0.data, QStringLiteral("01/03/2026"));
    EXPECT_EQ(m0.descrizione, QStringLiteral("Rientro"));
    EXPECT_EQ(m0.dare, QString());
    EXPECT_EQ(m0.avere, QStringLiteral("15,50"));
    EXPECT_EQ(w->movimenti()[1].dare, QStringLiteral("40,00"));
    EXPECT_EQ(w->movimenti()[1].avere, QString());
    EXPECT_EQ((*w)[QStringLiteral("Saldo")].text(), QStringLiteral("20,00"));  // 40 - 15,5 - 4,5
}

// Years of movements: the newest are listed and a last line says older ones
// exist; the balance still counts them all.
TEST_F(Variazione, ALongAccountListsItsNewestMovements) {
    const QString giorno = test::SuPostgres()
                               ? QStringLiteral("date '2020-01-01' + i")
                               : QStringLiteral("date('2020-01-01', '+' || i || ' days')");
    t.run({QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
                          "i < 520) INSERT INTO NoteRighe (IdTesta, CodConto, CodLocale, Data, "
                          "Dare, Avere, Descrizione) SELECT 0, '%1', 'BAR1', %2, 1, 0, 'Giorno ' "
                          "|| i FROM n")
               .arg(kPrestiti, giorno)});
    auto w = riepilogo(ProfiloPrestito(), QStringLiteral("0"));
    ASSERT_EQ(w->movimenti().size(), size_t(WizardCassa::kMovimentiMostrati) + 1);
    EXPECT_EQ(w->movimenti().front().descrizione, QStringLiteral("Giorno 520"));
    EXPECT_TRUE(w->movimenti().back().descrizione.startsWith(u"(movimenti più vecchi"));
    EXPECT_EQ((*w)[QStringLiteral("SaldoOggi")].text(), QStringLiteral("520,00"));
}

TEST_F(Variazione, LoanAndRemainderBalancesNeverMixTheirAccounts) {
    movimento(kPrestiti, "BAR1", "2026-01-10", 70, 0, "Prestito");
    movimento(kResidui, "BAR1", "2026-01-11", 25, 0, "Residuo");
    struct {
        const ProfiloVariazione& profilo;
        const char* saldo;
        const char* descrizione;
    } casi[] = {{ProfiloPrestito(), "70,00", "Prestito"}, {ProfiloRimanenza(), "25,00", "Residuo"}};
    for (const auto& c : casi) {
        auto w = riepilogo(c.profilo, QStringLiteral("0"));
        EXPECT_EQ((*w)[QStringLiteral("SaldoOggi")].text(), QLatin1String(c.saldo));
        EXPECT_EQ((*w)[QStringLiteral("Saldo")].text(), QLatin1String(c.saldo));
        ASSERT_EQ(w->movimenti().size(), 1u);
        EXPECT_EQ(w->movimenti()[0].descrizione, QLatin1String(c.descrizione));
    }
}

TEST_F(Variazione, AClearedCausalIsWrittenAsTheWizardsOwn) {
    struct {
        const ProfiloVariazione& profilo;
        const char* causale;
        const char* scritta;
    } casi[] = {
        {ProfiloRimanenza(), "", "CP"},
        {ProfiloPrestito(), "", "PRE"},
        {ProfiloRimanenza(), "INC", "INC"},
    };
    for (const auto& c : casi) {
        auto w = riepilogo(c.profilo, QStringLiteral("10"));
        w->casella(QStringLiteral("txeCodCausale")).ImpostaCodice(QLatin1String(c.causale));
        w->Avanti();
        EXPECT_EQ(Txt(testata(w->idGenerato(), "CodCausale")), QLatin1String(c.scritta));
    }
}

TEST_F(Variazione, OpeningPresetsAndTexts) {
    auto w = apri(ProfiloRimanenza());
    EXPECT_EQ(w->titolo(), QStringLiteral("..:: Variazione Rimanenza ::.."));
    EXPECT_EQ((*w)[QStringLiteral("txeCodCausale")].text(), QStringLiteral("CP"));
    EXPECT_EQ((*w)[QStringLiteral("txtData")].text(), QStringLiteral("20/03/2026"));
    EXPECT_EQ((*w)[QStringLiteral("CmbAzienda")].text(), QStringLiteral("AZ1"));
    EXPECT_EQ((*w)[QStringLiteral("Frame1_0")].caption(),
              QStringLiteral("Criteri per la generazione della rimanenza"));
    EXPECT_TRUE((*w)[QStringLiteral("Frame1_0")].visible());
    EXPECT_FALSE((*w)[QStringLiteral("Frame1_1")].visible());
    EXPECT_FALSE((*w)[QStringLiteral("CmdIndietro")].enabled());
    EXPECT_EQ(
        w->casella(QStringLiteral("txeCassa")).query(),
        QStringLiteral("select * from AnagraficaPianoConti where codiceconto  Like '01.01.%'"));
    EXPECT_TRUE(w->saldoDaRicalcolare());
    EXPECT_EQ(apri(ProfiloPrestito())->casella(QStringLiteral("txeCassa")).query(),
              QStringLiteral("select * from AnagraficaPianoConti where codiceconto  Like "
                             "'01.01.%' order by codiceconto"));
}

TEST_F(Variazione, WithoutAVenueTheWizardDoesNotMove) {
    auto w = apri(ProfiloPrestito());
    w->Avanti();
    EXPECT_EQ(w->pagina(), 0);
    EXPECT_EQ(w->focus(), QStringLiteral("txeCodiceLocale"));
    ASSERT_EQ(ui.messaggi().size(), 1u);
    EXPECT_EQ(ui.messaggi()[0].testo, QStringLiteral("Selezionare un locale"));
    EXPECT_EQ(ui.messaggi()[0].icona, Icona::Esclamazione);
    // The venue box is marked until a venue is chosen.
    EXPECT_EQ((*w)[QStringLiteral("txeCodiceLocale")].backColor(), colori::Rosso);
    ASSERT_TRUE(
        w->casella(QStringLiteral("txeCodiceLocale")).ImpostaCodice(QStringLiteral("BAR1")));
    EXPECT_EQ((*w)[QStringLiteral("txeCodiceLocale")].backColor(), colori::Normale);
    w->Avanti();
    EXPECT_EQ(w->pagina(), 1);
}

TEST_F(Variazione, ASuspendedVenueHandedOverThroughRisposta) {
    ProprietaIngresso prop;
    prop.CampoRicerca = QStringLiteral("CodLocale");
    prop.Risposta = QStringLiteral("sosp");
    auto w = apri(ProfiloPrestito(), prop);
    const QString atteso = QStringLiteral(
        "Chiuso S.r.l.\rP.iva 01234567890 - CodF CHSBRI\rVia Lunga 12  70100 Bari (BA)\r"
        "Locale sospeso!");
    EXPECT_EQ((*w)[QStringLiteral("LabDatiLocale_0")].text(), atteso);
    EXPECT_EQ((*w)[QStringLiteral("LabDatiLocale_1")].text(), atteso);
    w->Avanti();
    (*w)[QStringLiteral("txtDenaro")].setText(QStringLiteral("5"));
    w->Avanti();
    w->Avanti();
    ASSERT_TRUE(w->chiusa());
    EXPECT_EQ(Txt(testata(w->idGenerato(), "CodLocale")), QStringLiteral("SOSP"));

    // Without CampoRicerca the answer is not a venue.
    prop.CampoRicerca.clear();
    EXPECT_EQ(apri(ProfiloPrestito(), prop)->finestra()[QStringLiteral("txeCodiceLocale")].text(),
              QString());
}

TEST_F(Variazione, SummaryFallsBackOnTheSignAndAddressFields) {
    auto w = apri(ProfiloPrestito());
    w->casella(QStringLiteral("txeCodiceLocale")).ImpostaCodice(QStringLiteral("BAR1"));
    EXPECT_EQ((*w)[QStringLiteral("LabDatiLocale_0")].text(),
              QStringLiteral("Bar Sport\rP.iva  - CodF \rVia Roma 1    Roma ()"));
}

TEST_F(Variazione, ARestrictedOperatorSeesOnlyItsCompany) {
    struct {
        QVariant ditta;
        bool completo;
        const char* query;
        const char* azienda;
        bool bar1;  // BAR1 (company AZ1) can be chosen
    } casi[] = {
        {QStringLiteral("AZ2"), false,
         "select * from Anagraficalocali where sospeso=0 and CodiceAzienda='AZ2'", "AZ2", false},
        {QStringLiteral("O'K"), false,
         "select * from Anagraficalocali where sospeso=0 and CodiceAzienda='O''K'", "O'K", false},
        {QStringLiteral("AZ2"), true, "select * from Anagraficalocali where sospeso=0", "AZ1",
         true},
        {QVariant(), false, "select * from Anagraficalocali where sospeso=0", "AZ1", true},
    };
    for (const auto& c : casi) {
        RecordOperatore op;
        op.trovato = true;
        op.codiceditta = c.ditta;
        op.accessocompleto = c.completo;
        auto w = apri(ProfiloPrestito(), {}, op);
        CasellaRicerca& locale = w->casella(QStringLiteral("txeCodiceLocale"));
        EXPECT_EQ(locale.query(), QLatin1String(c.query));
        EXPECT_EQ((*w)[QStringLiteral("CmbAzienda")].text(), QLatin1String(c.azienda));
        EXPECT_EQ(locale.ImpostaCodice(QStringLiteral("BAR1")), c.bar1) << c.query;
        EXPECT_FALSE(locale.ImpostaCodice(QStringLiteral("SOSP")));  // never offered
    }
}

TEST_F(Variazione, CancelAndTheCloseRequestWriteNothing) {
    auto w = riepilogo(ProfiloPrestito(), QStringLiteral("10"));
    EXPECT_FALSE(w->Timer());
    t.host().chiediChiusura();
    EXPECT_TRUE(w->Timer());
    EXPECT_TRUE(w->chiusa());
    w->Avanti();  // a closed window does nothing
    auto w2 = riepilogo(ProfiloPrestito(), QStringLiteral("10"));
    w2->Comando(QStringLiteral("CmdAnnulla"));
    EXPECT_TRUE(w2->chiusa());
    EXPECT_EQ(conta("NoteTeste"), 0);
}

}  // namespace
