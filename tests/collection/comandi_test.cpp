// The collection window's commands: which run in which mode, which need which
// right, and that the field being typed into and the cells refused by a check
// never reach the database as they stand.

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "bookkeeping/movimenti.h"
#include "collection/frmincassi.h"
#include "support/anagrafiche.h"
#include "support/guasti.h"
#include "support/incassi.h"
#include "values/values.h"
#include "window/scriptedui.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

const QDate kGiorno = test::kGiornoIncassi;

class Comandi : public ::testing::Test {
  protected:
    void SetUp() override { test::PreparaLocaleConAperti(t); }

    std::unique_ptr<FrmIncassi> apri() { return test::ApriIncassi(t.host(), ui, prop); }

    std::unique_ptr<FrmIncassi> incasso() {
        auto f = apri();
        test::NuovoIncasso(*f, ui);
        return f;
    }

    QVariant q(const QString& sql) { return t.scalar(sql); }

    TestDb t;
    ScriptedUi ui;
    ProprietaIngresso prop;
};

// Every command by the mode of the window and the operator's rights: nothing
// that changes money runs while a stored document is only shown, nothing that
// leaves it while it is edited, nothing without its right.
TEST_F(Comandi, EachCommandInEachModeWithEachRight) {
    {
        auto f = incasso();
        ASSERT_TRUE(f->Esegui("Salva"));
    }
    const QStringList soloModifica = {"Salva",
                                      "Annulla",
                                      "CaricaApparecchi",
                                      "CalcolaDettagli",
                                      "Saldi",
                                      "CmdAcconto",
                                      "CmdChiudiIncasso",
                                      "CmdRicalcola",
                                      "CmdNoDenaro",
                                      "CmdRimanenza",
                                      "CmdAcconti",
                                      "EliminaRigaApparecchio",
                                      "InserisciRigaNota",
                                      "EliminaRigaNota",
                                      "ScegliPartenza",
                                      "ScegliDestinazione"};
    const std::map<QString, bool Diritti::*> diritto = {
        {"Nuovo", &Diritti::inserimento},     {"Modifica", &Diritti::modifica},
        {"Elimina", &Diritti::cancellazione}, {"Cerca", &Diritti::ricerca},
        {"Filtro", &Diritti::ricerca},        {"ApplicaFiltro", &Diritti::ricerca}};
    for (bool Diritti::*tolto : {static_cast<bool Diritti::*>(nullptr), &Diritti::inserimento,
                                 &Diritti::modifica, &Diritti::ricerca, &Diritti::cancellazione}) {
        Diritti d = Diritti::Tutti();
        if (tolto) d.*tolto = false;
        t.host().setOperatore({QStringLiteral("ANNA"), d});
        auto f = apri();
        for (const char* modo : {"mostrato", "nuovo", "in modifica"}) {
            if (modo == std::string("nuovo")) {
                if (!d.inserimento) continue;
                f->Esegui("Nuovo");
            } else if (modo == std::string("in modifica")) {
                if (!d.modifica) continue;
                f->Esegui("Modifica");
            }
            const bool modifica = modo != std::string("mostrato");
            for (const QString& c : FrmIncassi::Comandi()) {
                const bool ogniModo =
                    c == u"ContaDocumenti" || c == u"CmNota" || c == u"ContatoriIsola";
                const bool perModo = ogniModo || (soloModifica.contains(c) ? modifica : !modifica);
                const auto serve = diritto.find(c);
                const bool perDiritto = serve == diritto.end() || d.*(serve->second);
                EXPECT_EQ(f->Abilitato(c), perModo && perDiritto)
                    << c.toStdString() << " " << modo << " senza " << (tolto != nullptr);
            }
            if (modifica) f->Esegui("Annulla");
        }
    }
    // A disabled command does not run: the stored document stays as it is.
    t.host().setOperatore({QStringLiteral("ANNA"), Diritti::Tutti()});
    auto f = apri();
    const QStringList prima = test::DumpFinestra(f->finestra());
    EXPECT_FALSE(f->Esegui("CmdRimanenza"));
    EXPECT_FALSE(f->Esegui("CalcolaDettagli"));
    EXPECT_EQ(test::Differenza(prima, test::DumpFinestra(f->finestra())), "");
}

// Each right is checked by the action itself, whoever calls it.
TEST_F(Comandi, RightsAreEnforcedByTheActions) {
    auto f = incasso();
    ASSERT_TRUE(f->Salva());
    const qlonglong id = f->finestra()["EtiId"].caption().toLongLong();
    struct {
        bool Diritti::*diritto;
        std::function<void(FrmIncassi&)> azione;
        const char* permesso;
    } casi[] = {
        {&Diritti::inserimento, [](FrmIncassi& w) { w.Nuovo(); }, "inserire documenti"},
        {&Diritti::modifica, [](FrmIncassi& w) { w.Modifica(); }, "modificare i documenti"},
        {&Diritti::cancellazione, [](FrmIncassi& w) { w.Elimina(); }, "eliminare i documenti"},
        {&Diritti::ricerca, [](FrmIncassi& w) { w.Cerca(); }, "cercare i documenti"},
        {&Diritti::ricerca, [](FrmIncassi& w) { w.ApplicaFiltro(); }, "cercare i documenti"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.permesso);
        Diritti d = Diritti::Tutti();
        d.*c.diritto = false;
        t.host().setOperatore({QStringLiteral("ANNA"), d});
        const QStringList database = test::DumpDatabase(t.db());
        const size_t messaggi = ui.messaggi().size();
        c.azione(*f);
        ASSERT_EQ(ui.messaggi().size(), messaggi + 1);
        EXPECT_EQ(ui.messaggi().back().testo,
                  QStringLiteral("Operazione non consentita: l'operatore ANNA non ha il permesso "
                                 "di %1.")
                      .arg(QLatin1String(c.permesso)));
        EXPECT_FALSE(f->inModifica());
        EXPECT_EQ(test::DumpDatabase(t.db()), database);
        EXPECT_EQ(f->finestra()["EtiId"].caption().toLongLong(), id);
    }
    // A correction begun with the right cannot be saved once it is withdrawn.
    t.host().setOperatore({QStringLiteral("ANNA"), Diritti::Tutti()});
    f->Modifica();
    Diritti senza = Diritti::Tutti();
    senza.modifica = false;
    t.host().setOperatore({QStringLiteral("ANNA"), senza});
    EXPECT_FALSE(f->Salva());
    EXPECT_TRUE(ui.messaggi().back().testo.startsWith("Operazione non consentita"));
}

// F12 while the cursor is still in a money field: the field is committed
// (normalised, the panel and the rows recomputed) before the save, so the
// header and the cash row say the same, read the one way amounts are read
// (a lone "." typed in euro is the decimal point).
TEST_F(Comandi, AMoneyFieldIsCommittedBeforeAnyCommand) {
    auto f = incasso();
    (*f)["txtRiscosso"].setText("1000.5");
    f->CampoDigitato("txtRiscosso");
    ASSERT_TRUE(f->Esegui("Salva"));
    EXPECT_TRUE(ui.messaggi().empty());
    const qlonglong id = f->finestra()["EtiId"].caption().toLongLong();
    const ContiAssociati conti = ContiAssociati::Leggi(t.host());
    EXPECT_DOUBLE_EQ(
        q(QStringLiteral("select Riscosso from NoteTeste where id=%1").arg(id)).toDouble(), 1000.5);
    EXPECT_DOUBLE_EQ(q(QStringLiteral("select Dare from NoteRighe where idtesta=%1 and "
                                      "CodConto='%2'")
                           .arg(id)
                           .arg(conti["cassa"]))
                         .toDouble(),
                     1000.5);
    EXPECT_EQ(
        Round(
            q(QStringLiteral("select sum(Dare)-sum(Avere) from NoteRighe where idtesta=%1").arg(id))
                .toDouble(),
            2),
        0);
}

// An account refused in a bookkeeping row puts back that cell only: the row
// stays, and a row without a valid account never reaches the database.
// A typed text that is no amount is named, stays as typed, changes nothing
// and stops the command; "Annulla" still throws the edit away.
TEST_F(Comandi, ATextThatIsNoAmountStaysAndStopsTheCommand) {
    auto f = incasso();
    const QString riscosso = (*f)["txtRiscosso"].text();
    const int documenti = q("select count(*) from NoteTeste").toInt();
    for (const char* testo : {"12a", "1,2,3", "dodici"}) {
        (*f)["txtArrotondamenti"].setText(QLatin1String(testo));
        f->CampoDigitato("txtArrotondamenti");
        EXPECT_FALSE(f->Esegui("Salva")) << testo;
        EXPECT_EQ(ui.messaggi().back().testo,
                  QStringLiteral("\"%1\" non è un importo: scriverlo in cifre, ad esempio "
                                 "1.234,56.")
                      .arg(QLatin1String(testo)));
        EXPECT_EQ((*f)["txtArrotondamenti"].text(), QLatin1String(testo));
        EXPECT_EQ((*f)["txtRiscosso"].text(), riscosso);
        EXPECT_EQ(f->focus(), "txtArrotondamenti");
        EXPECT_EQ(q("select count(*) from NoteTeste").toInt(), documenti);
    }
    const size_t messaggi = ui.messaggi().size();
    ui.rispondi(Risposta::Si);  // "Annullare le modifiche?"
    EXPECT_TRUE(f->Esegui("Annulla"));
    EXPECT_FALSE(f->inModifica());
    EXPECT_EQ(ui.messaggi().size(), messaggi + 1);  // the question only
}

TEST_F(Comandi, AnInvalidAccountPutsBackTheCellOnly) {
    auto f = incasso();
    auto nota = f->righeNota();
    const int righe = nota->RecordCount();
    ASSERT_GT(righe, 2);
    nota->MoveFirst();
    const QVariant conto = nota->Value("codConto");
    nota->SetValue("codConto", "99.99.99");
    EXPECT_FALSE(f->CellaNotaModificata("codConto", conto));
    EXPECT_EQ(nota->RecordCount(), righe);
    EXPECT_EQ(nota->Value("codConto"), conto);

    // A blank-padded code is taken as the chart spells it.
    const QVariant prima = nota->Value("codConto");
    nota->SetValue("codConto", QStringLiteral(" %1 ").arg(Txt(conto).toLower()));
    EXPECT_TRUE(f->CellaNotaModificata("codConto", prima));
    EXPECT_EQ(nota->Value("codConto"), conto);

    // A new row whose account was refused has none: the save stops on it.
    nota->AddNew();
    nota->SetValue("codConto", "99.99.99");
    EXPECT_FALSE(f->CellaNotaModificata("codConto", QVariant()));
    EXPECT_EQ(nota->RecordCount(), righe + 1);
    const QStringList database = test::DumpDatabase(t.db());
    EXPECT_FALSE(f->Salva());
    EXPECT_EQ(ui.messaggi().back().testo, "Selezionare un conto o eliminare la riga.");
    EXPECT_EQ(test::DumpDatabase(t.db()), database);
}

// The ends of a bookkeeping row: kind 0 offers the stores, any other kind the
// venues not suspended; no choice leaves the row as it was.
TEST_F(Comandi, TheEndsOfABookkeepingRowComeFromStoresOrVenues) {
    t.run(
        {"INSERT INTO anagraficamagazzini (codicemagazzino, Descrizione) VALUES ('MAG1', "
         "'Sede'), ('MAG2', NULL)",
         "INSERT INTO AnagraficaLocali (CodLocale, Insegna, citta, sospeso) VALUES "
         "('CHIUSO', 'Bar Chiuso', 'Roma', -1)"});
    auto f = incasso();
    auto nota = f->righeNota();
    nota->MoveFirst();
    nota->SetValue("TipoDestinazione", 1);
    ui.rispondiElenco("MAG2").rispondiElenco("").rispondiElenco(QStringLiteral("BAR1"));
    ASSERT_TRUE(f->Esegui("ScegliPartenza"));
    EXPECT_EQ(nota->Value("CodicePartenza").toString(), "MAG2");
    EXPECT_EQ(nota->Value("DescrizionePartenza").toString(), "");
    EXPECT_EQ(ui.elenchi().back().titolo, "Magazzino di partenza");
    EXPECT_EQ(ui.elenchi().back().righe, 2);
    EXPECT_TRUE(f->Esegui("ScegliDestinazione"));  // nothing chosen
    EXPECT_TRUE(IsNull(nota->Value("CodiceDestinazione")));
    EXPECT_TRUE(f->Esegui("ScegliDestinazione"));
    EXPECT_EQ(nota->Value("CodiceDestinazione").toString(), QStringLiteral("BAR1"));
    EXPECT_TRUE(nota->Value("DescrizioneDestinazione").toString().contains(" - "));
    EXPECT_EQ(ui.elenchi().back().titolo, "Locale di destinazione");
    // The suspended venue is never offered.
    EXPECT_EQ(ui.elenchi().back().righe,
              q("SELECT count(*) FROM AnagraficaLocali WHERE sospeso=0").toInt());
}

// A meter the calculation cannot take goes back to what it was: the stored
// row never holds it.
TEST_F(Comandi, ACellRefusedByTheCalculationDoesNotStay) {
    auto f = incasso();
    auto righe = f->righeIncassi();
    righe->MoveFirst();
    const QStringList prima = test::DumpFinestra(f->finestra());
    const QVariant contatore = righe->Value("ContatoreIn");
    const QString scheda = Txt(righe->Value("linkscheda"));
    righe->SetValue("ContatoreIn", 1e30);
    f->CellaModificata("ContatoreIn", contatore);
    EXPECT_EQ(ui.messaggi().back().testo, "Valore numerico fuori dai limiti del calcolo");
    EXPECT_EQ(righe->Value("ContatoreIn"), contatore);
    EXPECT_EQ(test::Differenza(prima, test::DumpFinestra(f->finestra())), "");
    ASSERT_TRUE(f->Salva());
    EXPECT_EQ(q(QStringLiteral("select ContatoreIn from NoteIncassi where linkscheda=%1 and "
                               "IdTesta=%2")
                    .arg(scheda, f->finestra()["EtiId"].caption()))
                  .toDouble(),
              Num(contatore));
}

}  // namespace

namespace {

// Machine rows belong to the venue and causal they were loaded for: changing
// either asks to discard them on a new document and is refused on a stored
// one; a code set without its event cannot smuggle the rows into another
// venue's document.
TEST_F(Comandi, RowsNeverMoveToAnotherVenueOrCausal) {
    struct {
        const char* box;
        const char* altro;
        const char* tornato;
    } casi[] = {{"txeCodLocale", "BAR2", "BAR1"}, {"txeCodCausale", "INC", "INC6"}};
    for (const auto& c : casi) {
        SCOPED_TRACE(c.box);
        auto f = incasso();
        ui.rispondi(Risposta::No);
        EXPECT_TRUE(f->casella(c.box).ImpostaCodice(c.altro));
        EXPECT_TRUE(ui.messaggi().back().titolo.startsWith("Cambio"));
        EXPECT_EQ((*f)[c.box].text(), c.tornato);
        EXPECT_EQ(f->righeIncassi()->RecordCount(), 2);

        ui.rispondi(Risposta::Si);
        EXPECT_TRUE(f->casella(c.box).ImpostaCodice(c.altro));
        EXPECT_EQ((*f)[c.box].text(), c.altro);
        EXPECT_EQ(f->righeIncassi()->RecordCount(), 0);
    }

    auto f = incasso();
    (*f)["txeCodLocale"].setText("BAR2");
    const QStringList database = test::DumpDatabase(t.db());
    EXPECT_FALSE(f->Salva());
    EXPECT_TRUE(
        ui.messaggi().back().testo.startsWith("Le righe degli apparecchi sono state "
                                              "caricate per il locale BAR1"));
    EXPECT_EQ(test::DumpDatabase(t.db()), database);

    // A stored document keeps its venue while its rows are there.
    EXPECT_TRUE(f->casella("txeCodLocale").ImpostaCodice("BAR1"));
    ASSERT_TRUE(f->Salva());
    f->Modifica();
    EXPECT_TRUE(f->casella("txeCodLocale").ImpostaCodice("BAR2"));
    EXPECT_EQ((*f)["txeCodLocale"].text(), "BAR1");
    EXPECT_TRUE(ui.messaggi().back().testo.startsWith("Il locale di un documento salvato"));
}

}  // namespace

namespace {

// A document day that is not a day, or not one a collection can have, is
// said so before anything else: no meter warning, no rows, nothing saved.
// "Annulla" (Esc) throws work away only when asked: a document opened and left
// as it was is closed at once; one with a typed field, a chosen code or rows
// asks first, and "No" keeps everything.
TEST_F(Comandi, AnnullaAsksWhenAnythingChanged) {
    struct Caso {
        const char* cosa;
        std::function<void(FrmIncassi&)> cambia;
        bool chiede;
    } casi[] = {
        {"nothing", [](FrmIncassi& f) { f.Esegui("Nuovo"); }, false},
        {"a typed field",
         [](FrmIncassi& f) {
             f.Esegui("Nuovo");
             f["txtDescrizione"].setText("nota");
         },
         true},
        {"a chosen venue",
         [](FrmIncassi& f) {
             f.Esegui("Nuovo");
             EXPECT_TRUE(f.casella("txeCodLocale").ImpostaCodice("BAR1"));
         },
         true},
        {"machine rows", [this](FrmIncassi& f) { test::NuovoIncasso(f, ui); }, true},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.cosa);
        auto f = apri();
        c.cambia(*f);
        ASSERT_TRUE(f->inModifica());
        const size_t prima = ui.messaggi().size();
        if (c.chiede) {
            ui.rispondi(Risposta::No);
            f->Esegui("Annulla");
            ASSERT_EQ(ui.messaggi().size(), prima + 1);
            EXPECT_EQ(ui.messaggi().back().testo, "Annullare le modifiche?");
            EXPECT_TRUE(f->inModifica());
            ui.rispondi(Risposta::Si);
        }
        f->Esegui("Annulla");
        EXPECT_FALSE(f->inModifica());
        EXPECT_EQ(ui.messaggi().size(), prima + (c.chiede ? 2 : 0));
    }
    // A stored document opened for editing and left as it was.
    auto f = incasso();
    ASSERT_TRUE(f->Salva());
    f->Modifica();
    ASSERT_TRUE(f->inModifica());
    EXPECT_FALSE(f->Modificato());
    f->Esegui("Annulla");
    EXPECT_FALSE(f->inModifica());
}

// A day that is no day is said as the date field is left, and kept as typed.
TEST_F(Comandi, ADateThatIsNoDayIsSaidWhenLeft) {
    auto f = incasso();
    for (const char* data : {"31/02/2026", "20-03", "ieri"}) {
        (*f)["txtDataRegistrazione"].setText(QLatin1String(data));
        EXPECT_FALSE(f->UscitaCampo("txtDataRegistrazione")) << data;
        EXPECT_EQ(ui.messaggi().back().titolo, "Data non valida");
        EXPECT_EQ((*f)["txtDataRegistrazione"].text(), QLatin1String(data));
    }
    const size_t messaggi = ui.messaggi().size();
    (*f)["txtDataRegistrazione"].setText("21/03/2026");
    EXPECT_TRUE(f->UscitaCampo("txtDataRegistrazione"));
    EXPECT_EQ(ui.messaggi().size(), messaggi);
}

TEST_F(Comandi, ADocumentDayMustBeADay) {
    for (const char* data : {"31/02/2026", "20/03/1899", "20/03/2206", "20-03"}) {
        SCOPED_TRACE(data);
        auto f = incasso();
        const QStringList database = test::DumpDatabase(t.db());
        (*f)["txtDataRegistrazione"].setText(QLatin1String(data));
        const size_t prima = ui.messaggi().size();
        EXPECT_FALSE(f->Salva());
        ASSERT_EQ(ui.messaggi().size(), prima + 1);
        EXPECT_EQ(ui.messaggi().back().titolo, "Data non valida");
        EXPECT_EQ(ui.messaggi().back().testo,
                  QStringLiteral("La data \"%1\" non è valida: scrivere una data fra il 01/01/1990 "
                                 "e il 31/12/2100.")
                      .arg(QLatin1String(data)));
        EXPECT_EQ(test::DumpDatabase(t.db()), database);

        ui.rispondi(Risposta::Si);  // "Annullare le modifiche?"
        f->Esegui("Annulla");
        f->Esegui("Nuovo");
        (*f)["txtDataRegistrazione"].setText(QLatin1String(data));
        EXPECT_TRUE(f->casella("txeCodCausale").ImpostaCodice("INC6"));
        EXPECT_TRUE(f->casella("txeCodLocale").ImpostaCodice("BAR1"));
        EXPECT_EQ(f->CaricaApparecchi(), EsitoCaricamento::Interrotto);
        EXPECT_EQ(ui.messaggi().back().titolo, "Data non valida");
        EXPECT_EQ(f->righeIncassi()->RecordCount(), 0);
        EXPECT_EQ(f->focus(), "txtDataRegistrazione");
    }
}

}  // namespace
