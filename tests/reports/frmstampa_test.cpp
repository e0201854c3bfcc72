// The print window over a real database with the shipped reports: the
// selection check, the refusals before anything is prepared, the export names
// and what the reports hold.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "reports/frmstampa.h"
#include "schema/creazione.h"
#include "support/testdb.h"
#include "values/values.h"
#include "window/scriptedui.h"

using namespace incassi;
using namespace incassi::stampa;
using incassi::test::TestDb;

namespace {

// Records what the window asked of the engine; exports write a marker.
class MotoreFinto : public MotoreReport {
  public:
    void Anteprima(const Contenuto& c) override { anteprime.push_back(c); }
    void Esporta(const Contenuto& c, FormatoExport, const QString& file) override {
        esportati << file;
        ultimo = c;
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write("x");
    }
    std::vector<Contenuto> anteprime;
    QStringList esportati;
    Contenuto ultimo;
};

class Stampa : public ::testing::Test {
  protected:
    void SetUp() override {
        schema::PreparaSchema(t.db());
        t.host().setPersonalizzazione(false);
        t.run(
            {"INSERT INTO AnagraficaLocali (id, CodLocale, Insegna, CodiceAzienda) VALUES "
             "(7, 'L''OSTE', 'L''Oste', 'AZ01')",
             "INSERT INTO anagraficaaziende (CodiceAzienda, Descrizione) VALUES ('AZ01', "
             "'Giochi Tirreno S.r.l.')",
             "INSERT INTO NoteTeste (id, CodLocale, CodCausale, DataRegistrazione, "
             "CodiceAzienda, TotIntrodotto, Riscosso) VALUES "
             "(1, 'L''OSTE', 'INC6', '2026-03-02', 'AZ01', 1200, 100.5), "
             "(2, 'L''OSTE', 'INC6', '2026-03-09', 'AZ01', 800, 20), "
             "(3, 'L''OSTE', 'CAM', '2026-03-10', 'AZ01', 0, 0)",
             "INSERT INTO NoteIncassi (IdTesta, Riga, linkscheda, CodArticolo, DataIncasso, "
             "ParzialeIn, Preu, IncassoVs, IncassoNs) VALUES "
             "(1, 1, 11, 'A1', '2026-03-02', 700.10, 91.01, 300.55, 308.54), "
             "(1, 2, 12, 'A2', '2026-03-02', 499.90, 64.99, 200.45, 234.46), "
             "(2, 1, 11, 'A1', '2026-03-09', 800, 104, 348, 348)"});
    }

    std::unique_ptr<FrmStampa> apri(qlonglong documento) {
        auto f = std::make_unique<FrmStampa>(
            t.host(), ui, motore,
            RichiestaStampa{QStringLiteral("Incassi"), documento, QStringLiteral("L'OSTE"),
                            QStringLiteral("L'Oste"), QDate(2026, 3, 9)});
        f->orologio = [] { return QDate(2026, 3, 9); };
        f->Apri();
        return f;
    }

    TestDb t;
    ScriptedUi ui;
    MotoreFinto motore;
};

TEST_F(Stampa, OpensWithTheModuleReportsAndTheVenue) {
    auto p = apri(1);
    FrmStampa& f = *p;
    QStringList voci;
    for (const auto& e : f[QStringLiteral("List1")].elementi())
        voci << e.testo;
    EXPECT_EQ(voci, (QStringList{"Ricevuta di incasso", "Riepilogo incassi del periodo",
                                 "Dettaglio apparecchi del periodo"}));
    EXPECT_TRUE(f[QStringLiteral("List2")].elementi().empty());  // no personal reports
    EXPECT_EQ(f[QStringLiteral("ChkCorrente")].caption(),
              QStringLiteral("Incasso Corrente relativa al locale: L'Oste"));
    EXPECT_TRUE(f[QStringLiteral("ChkCorrente")].checked());
    EXPECT_EQ(f[QStringLiteral("txtDallaData")].text(), QStringLiteral("01/01/2026"));
    EXPECT_EQ(f[QStringLiteral("txtAllaData")].text(), QStringLiteral("09/03/2026"));
    EXPECT_TRUE(QFile::exists(t.host().percorso() + QStringLiteral("stampe/Incassi.sqlite")));
}

TEST_F(Stampa, RefusedBeforeAnythingIsPrepared) {
    const struct {
        const char* caso;
        qlonglong documento;
        int scheda;
        std::function<void(FrmStampa&)> prepara;
        const char* messaggio;
    } casi[] = {
        {"lista vuota", 1, 1, {}, "Selezionare una stampa dall'elenco"},
        {"incasso non salvato", 0, 0,
         [](FrmStampa& f) {
             f[QStringLiteral("ChkCorrente")].setChecked(1);
             f[QStringLiteral("ChkPerPeriodo")].setChecked(0);
         },
         "Nessun incasso salvato da stampare"},
        {"nessuna scelta", 1, 0, [](FrmStampa& f) { f.Esegui(QStringLiteral("CmdAzzera")); },
         "Scegliere \"Incasso Corrente\" oppure \"Per Periodo\"."},
        {"date invertite", 0, 0,
         [](FrmStampa& f) {
             f[QStringLiteral("txtDallaData")].setText(QStringLiteral("10/03/2026"));
         },
         "La data iniziale del periodo è successiva alla data finale."},
        {"data non valida", 0, 0,
         [](FrmStampa& f) {
             f[QStringLiteral("txtAllaData")].setText(QStringLiteral("31/02/2026"));
         },
         "31/02/2026"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.caso);
        auto p = apri(c.documento);
        FrmStampa& f = *p;
        f.setScheda(c.scheda);
        if (c.prepara) c.prepara(f);
        const size_t prima = ui.messaggi().size();
        EXPECT_FALSE(f.Esegui(QStringLiteral("CmdPdf")));
        ASSERT_EQ(ui.messaggi().size(), prima + 1);
        EXPECT_TRUE(ui.messaggi().back().testo.contains(QString::fromUtf8(c.messaggio)))
            << ui.messaggi().back().testo.toStdString();
        EXPECT_TRUE(motore.esportati.isEmpty());
    }
    EXPECT_EQ(ui.messaggi().front().titolo, QStringLiteral("Stampa non selezionata"));
}

TEST_F(Stampa, NothingChosenPrintsTheFirstReport) {
    auto p = apri(1);
    FrmStampa& f = *p;
    ASSERT_TRUE(f.Esegui(QStringLiteral("CmdStampa"))) << ui.messaggi().back().testo.toStdString();
    EXPECT_EQ(f[QStringLiteral("List1")].listIndex(), 0);
    ASSERT_EQ(motore.anteprime.size(), 1u);
    EXPECT_EQ(motore.anteprime[0].titolo, QStringLiteral("Ricevuta di incasso"));
}

TEST_F(Stampa, ExportsNeverOverwriteAnEarlierFile) {
    const QString cartella = t.host().percorso() + QStringLiteral("export/pdf/");
    QDir().mkpath(cartella);
    QFile vecchio(cartella + QStringLiteral("Incassi2.pdf"));
    ASSERT_TRUE(vecchio.open(QIODevice::WriteOnly));
    vecchio.write("vecchio");
    vecchio.close();
    auto p = apri(1);
    FrmStampa& f = *p;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(f.Esegui(QStringLiteral("CmdPdf")));
    EXPECT_EQ(motore.esportati, (QStringList{cartella + "Incassi1.pdf", cartella + "Incassi3.pdf",
                                             cartella + "Incassi4.pdf"}));
    ASSERT_TRUE(vecchio.open(QIODevice::ReadOnly));
    EXPECT_EQ(vecchio.readAll(), QByteArray("vecchio"));
    EXPECT_EQ(ui.fileAperti(), motore.esportati);
}

// The period report of the venue, whose code holds a quote: collections
// only, one line each, totals equal to the sum of the lines.
TEST_F(Stampa, ThePeriodSummaryAddsUpItsLines) {
    auto p = apri(2);
    FrmStampa& f = *p;
    f[QStringLiteral("ChkCorrente")].setChecked(0);
    f[QStringLiteral("ChkPerPeriodo")].setChecked(1);
    f[QStringLiteral("List1")].setListIndex(1);
    ASSERT_TRUE(f.Esegui(QStringLiteral("CmdExportExcel")));
    const Blocco* tabella = nullptr;
    for (const Blocco& b : motore.ultimo.corpo)
        if (b.tipo == Blocco::Tipo::Tabella) tabella = &b;
    ASSERT_NE(tabella, nullptr);
    ASSERT_EQ(tabella->righe.size(), 2u);     // the change-machine document is not printed
    EXPECT_EQ(tabella->somme[3], Dec(2000));  // TotIntrodotto
    EXPECT_EQ(tabella->somme[12], Dec::DaDouble(120.5));  // Riscosso
    EXPECT_EQ(motore.ultimo.intestazione[0].testo, QStringLiteral("Giochi Tirreno S.r.l."));
    EXPECT_TRUE(motore.esportati.front().endsWith(QStringLiteral("export/Xls/Incassi1.xlsx")));
}

TEST_F(Stampa, TheReceiptTotalsTheMachinesToTheCent) {
    auto p = apri(1);
    FrmStampa& f = *p;
    ASSERT_TRUE(f.Esegui(QStringLiteral("CmdStampa")));
    const Contenuto& c = motore.anteprime.at(0);
    const Blocco* macchine = nullptr;
    for (const Blocco& b : c.corpo)
        if (b.tipo == Blocco::Tipo::Tabella && !macchine) macchine = &b;
    ASSERT_NE(macchine, nullptr);
    EXPECT_EQ(macchine->righe.size(), 2u);
    EXPECT_EQ(TestoValore(macchine->somme[4].toDouble(), Formato::Importo),
              QStringLiteral("1.200,00"));
    EXPECT_EQ(macchine->somme[10], Dec::DaDouble(501.0));  // venue's share
    EXPECT_EQ(macchine->somme[11], Dec::DaDouble(543.0));  // operator's share
    EXPECT_EQ(f.righeUltimoReport(), 2);
}

// A host whose personal register is the standard one lists nothing twice;
// stopping the preparation (the progress dialog's "Annulla") exports nothing.
TEST_F(Stampa, PersonalReportsAndAStoppedPreparation) {
    t.host().setPersonalizzazione(true);
    auto p = apri(1);
    FrmStampa& f = *p;
    EXPECT_TRUE(f[QStringLiteral("List2")].elementi().empty());
    f.avanzamento = [](int, int) { return false; };
    EXPECT_FALSE(f.Esegui(QStringLiteral("CmdPdf")));
    EXPECT_TRUE(motore.esportati.isEmpty());
    EXPECT_TRUE(ui.messaggi().empty());
}

TEST_F(Stampa, TheHostCloseRequestClosesTheWindow) {
    auto p = apri(1);
    FrmStampa& f = *p;
    EXPECT_FALSE(f.Timer());
    t.host().chiediChiusura();
    EXPECT_TRUE(f.Timer());
}

}  // namespace
