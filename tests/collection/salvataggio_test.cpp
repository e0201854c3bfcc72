#include <gtest/gtest.h>

#include <QRegularExpression>

#include "bookkeeping/movimenti.h"
#include "collection/frmincassi.h"
#include "schema/creazione.h"
#include "support/anagrafiche.h"
#include "support/guasti.h"
#include "support/incassi.h"
#include "values/values.h"
#include "window/scriptedui.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

const QDate kGiorno = test::kGiornoIncassi;

// A venue with two networked machines, an open advance on each (one from the
// 15th, one from the collection's own day), an advance from the day after,
// and an open refill; the meters are imported for the collection day.
class Salvataggio : public ::testing::Test {
  protected:
    void SetUp() override { test::PreparaLocaleConAperti(t); }

    std::unique_ptr<FrmIncassi> apri() { return test::ApriIncassi(t.host(), ui, prop); }

    // A collection of both machines, computed and ready to save.
    std::unique_ptr<FrmIncassi> incasso(const char* causale = "INC6",
                                        const char* macchine = "1|2|") {
        auto f = apri();
        test::NuovoIncasso(*f, ui, causale, macchine);
        return f;
    }

    QVariant q(const QString& sql) { return t.scalar(sql); }

    // 250 later documents of another venue: the fixture's are past the list's first page.
    void documentiRecenti() {
        t.run(
            {"WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM k WHERE i<250) "
             "INSERT INTO NoteTeste (id, CodLocale, CodCausale, DataRegistrazione) "
             "SELECT 5000+i, 'ALTRO', 'INC', '2026-06-01' FROM k"});
    }

    // Every row of every table, to prove that a failed operation wrote nothing.
    QStringList dump() { return test::DumpDatabase(t.db()); }

    TestDb t;
    ScriptedUi ui;
    ProprietaIngresso prop;
};

TEST_F(Salvataggio, ACollectionIsStoredAndDeletedWithItsEffects) {
    auto f = incasso();
    EXPECT_EQ(f->finestra()["txSbilancio"].caption(), "0,00");
    ASSERT_TRUE(f->Salva());
    const qlonglong id = f->finestra()["EtiId"].caption().toLongLong();
    ASSERT_GT(id, 53);
    EXPECT_FALSE(f->inModifica());

    // The header, its rows and the machine rows.
    EXPECT_EQ(q(QStringLiteral("select CodCausale from NoteTeste where id=%1").arg(id)).toString(),
              "INC6");
    EXPECT_EQ(q(QStringLiteral("select CodEsattore from NoteTeste where id=%1").arg(id)).toString(),
              "ES1");
    EXPECT_DOUBLE_EQ(
        q(QStringLiteral("select TotPreu from NoteTeste where id=%1").arg(id)).toDouble(), 78 + 65);
    EXPECT_EQ(
        q(QStringLiteral("select count(*) from NoteIncassi where idtesta=%1").arg(id)).toInt(), 2);
    EXPECT_EQ(
        q(QStringLiteral("select riga from NoteIncassi where idtesta=%1 and linkscheda=2").arg(id))
            .toInt(),
        2);
    EXPECT_EQ(
        Round(
            q(QStringLiteral("select sum(dare)-sum(avere) from NoteRighe where idtesta=%1").arg(id))
                .toDouble(),
            2),
        0);
    EXPECT_GT(q(QStringLiteral("select count(*) from NoteRighe where idtesta=%1").arg(id)).toInt(),
              3);
    // The cards take the new readings.
    EXPECT_DOUBLE_EQ(q("select cntotin from MagSchede where id=1").toDouble(), 1600);
    EXPECT_EQ(q("select ultimoIncasso from MagSchede where id=1").toString(), "2026-03-20");
    // Advances and the refill up to the day are settled; the day after is not.
    EXPECT_EQ(q("select IdChiusura from NoteIncassi where id=500").toLongLong(), id);
    EXPECT_EQ(q("select IdChiusura from NoteIncassi where id=520").toLongLong(), id);
    EXPECT_EQ(q("select IdChiusura from NoteIncassi where id=510").toLongLong(), id);
    EXPECT_EQ(q("select Chiuso from NoteIncassi where id=530").toInt(), 0);
    EXPECT_EQ(q("select idOnda from NoteTeste where id=50").toLongLong(), id);
    EXPECT_EQ(q("select idOnda from NoteTeste where id=52").toLongLong(), id);  // the same day
    EXPECT_EQ(q("select Chiuso from NoteTeste where id=52").toInt(), 1);
    EXPECT_EQ(q("select idOnda from NoteTeste where id=53").toLongLong(), 0);  // the day after

    // Deleted: the cards go back, the rows and headers open again.
    ui.rispondi(Risposta::Si);
    ASSERT_TRUE(f->Elimina());
    EXPECT_EQ(q(QStringLiteral("select count(*) from NoteTeste where id=%1").arg(id)).toInt(), 0);
    EXPECT_EQ(q(QStringLiteral("select count(*) from NoteRighe where idtesta=%1").arg(id)).toInt(),
              0);
    EXPECT_EQ(
        q(QStringLiteral("select count(*) from NoteIncassi where idtesta=%1").arg(id)).toInt(), 0);
    EXPECT_DOUBLE_EQ(q("select cntotin from MagSchede where id=1").toDouble(), 1000);
    EXPECT_EQ(q("select ultimoIncasso from MagSchede where id=1").toString(), "2026-03-13");
    EXPECT_DOUBLE_EQ(q("select attualeh1 from MagSchede where id=1").toDouble(), 50);
    EXPECT_EQ(q("select Chiuso from NoteIncassi where id=500").toInt(), 0);
    EXPECT_EQ(q("select IdChiusura from NoteIncassi where id=500").toInt(), 0);
    EXPECT_EQ(q("select Chiuso from NoteIncassi where id=510").toInt(), 0);
    EXPECT_EQ(q("select IdChiusura from NoteIncassi where id=510").toLongLong(),
              id);  // a refill keeps it
    EXPECT_EQ(q("select idOnda from NoteTeste where id=50").toInt(), 0);
    EXPECT_EQ(q("select Chiuso from NoteTeste where id=52").toInt(), 0);

    // The next collection settles the refill again, with its own id.
    auto g = incasso();
    ASSERT_TRUE(g->Salva());
    EXPECT_EQ(q("select IdChiusura from NoteIncassi where id=510").toLongLong(),
              g->finestra()["EtiId"].caption().toLongLong());
}

// "Ignora acconti": the collection deducts no advance, so none is settled,
// rows or headers, and the next collection still finds them open.
TEST_F(Salvataggio, AnIgnoredAdvanceStaysOpenForTheNextCollection) {
    auto f = incasso();
    f->CmdAcconti();
    ASSERT_TRUE(f->Salva());
    const qlonglong id = f->finestra()["EtiId"].caption().toLongLong();
    const ContiAssociati conti = ContiAssociati::Leggi(t.host());
    EXPECT_EQ(q(QStringLiteral("select count(*) from NoteRighe where idtesta=%1 and CodConto='%2'")
                    .arg(id)
                    .arg(conti["cassaacconti"]))
                  .toInt(),
              0);
    for (int riga : {500, 520})
        EXPECT_EQ(q(QStringLiteral("select Chiuso from NoteIncassi where id=%1").arg(riga)).toInt(),
                  0)
            << riga;
    EXPECT_EQ(q("select idOnda from NoteTeste where id=50").toLongLong(), 0);
    EXPECT_EQ(q("select IdChiusura from NoteIncassi where id=510").toLongLong(), id);  // the refill

    // The next day's collection deducts and settles them.
    t.run(
        {"INSERT INTO contatori (codiceAAMS, datacontatore, cntotin, cntotout) VALUES "
         "('AAMS1', '2026-03-21', 1700, 750), ('AAMS2', '2026-03-21', 5600, 3250)"});
    auto g = apri();
    g->Nuovo();
    (*g)["txtDataRegistrazione"].setValue(kGiorno.addDays(1));
    EXPECT_TRUE(g->casella("txeCodCausale").ImpostaCodice("INC6"));
    EXPECT_TRUE(g->casella("txeCodLocale").ImpostaCodice("BAR1"));
    EXPECT_TRUE(g->casella("txeCodEsattore").ImpostaCodice("ES1"));
    ui.rispondiElenco("1|2|");
    g->CaricaApparecchi();
    EXPECT_DOUBLE_EQ(Num((*g)["lllAcconto"].caption()), 40 + 10 + 5);
    ASSERT_TRUE(g->Salva());
    const qlonglong dopo = g->finestra()["EtiId"].caption().toLongLong();
    EXPECT_EQ(q("select IdChiusura from NoteIncassi where id=500").toLongLong(), dopo);
    EXPECT_EQ(q("select idOnda from NoteTeste where id=50").toLongLong(), dopo);
}

TEST_F(Salvataggio, RowsWithoutMetersOrAdvancesAreNotStored) {
    t.run({"DELETE FROM contatori WHERE codiceAAMS='AAMS2'"});
    auto f = incasso();
    ASSERT_TRUE(f->Salva());
    const qlonglong id = f->finestra()["EtiId"].caption().toLongLong();
    EXPECT_EQ(
        q(QStringLiteral("select count(*) from NoteIncassi where idtesta=%1").arg(id)).toInt(), 1);

    auto acc = incasso("ACC");
    auto rs = acc->righeIncassi();
    rs->MoveFirst();
    rs->SetValue("acconti", 0);
    ASSERT_TRUE(acc->Salva());
    const qlonglong idAcc = acc->finestra()["EtiId"].caption().toLongLong();
    EXPECT_EQ(
        q(QStringLiteral("select count(*) from NoteIncassi where idtesta=%1").arg(idAcc)).toInt(),
        1);
}

TEST_F(Salvataggio, ChecksBeforeWriting) {
    auto f = incasso();
    const QStringList prima = dump();
    // The balance is checked on the rows about to be written, not on the label.
    auto nota = f->righeNota();
    nota->MoveFirst();
    const QVariant dare = nota->Value("Dare");
    nota->SetValue("Dare", Num(dare) + 0.01);
    EXPECT_EQ(f->finestra()["txSbilancio"].caption(), "0,00");
    EXPECT_FALSE(f->Salva());
    EXPECT_TRUE(ui.messaggi().back().testo.startsWith(
        "Impossibile salvare in quanto la registrazione risulta sbilanciata di 0,01 Euro."));
    EXPECT_EQ(f->finestra()["txSbilancio"].caption(), "0,01");
    EXPECT_EQ(dump(), prima);
    nota->MoveFirst();
    nota->SetValue("Dare", dare);

    f->casella("txeCodEsattore").ImpostaCodice("");
    ui.rispondi(Risposta::No);
    EXPECT_FALSE(f->Salva());
    EXPECT_EQ(ui.messaggi().back().titolo, "Conferma");
    EXPECT_TRUE(ui.messaggi().back().testo.contains("( 1 )"));
    EXPECT_EQ(dump(), prima);

    f->finestra()["txtDataRegistrazione"].setText("");
    EXPECT_FALSE(f->Salva());
    EXPECT_EQ(ui.messaggi().back().testo,
              "Attenzione!: i campi evidenziati in rosso devono essere compilati.");
    EXPECT_EQ(f->finestra()["txtDataRegistrazione"].backColor(), colori::Rosso);
    EXPECT_EQ(dump(), prima);
}

TEST_F(Salvataggio, AFailureInTheMiddleWritesNothingAndKeepsTheInput) {
    auto f = incasso();
    t.creaGuasto("NoteRighe", "INSERT", "guasto simulato");
    const QStringList prima = dump();
    const QString riscosso = f->finestra()["txtRiscosso"].text();
    EXPECT_FALSE(f->Salva());
    EXPECT_EQ(ui.messaggi().back().titolo, "errore Salvataggio");
    EXPECT_TRUE(ui.messaggi().back().testo.startsWith("Errore durante il salvataggio!\n"));
    EXPECT_EQ(dump(), prima);
    EXPECT_TRUE(f->inModifica());
    EXPECT_EQ(f->finestra()["EtiId"].caption(), "0");
    EXPECT_EQ(f->finestra()["txtRiscosso"].text(), riscosso);
    EXPECT_EQ(f->righeIncassi()->RecordCount(), 2);

    t.togliGuasto("NoteRighe");
    ASSERT_TRUE(f->Salva());  // the same input saves once the fault is gone
    t.creaGuasto("NoteTeste", "DELETE", "guasto simulato");
    const QStringList salvato = dump();
    ui.rispondi(Risposta::Si);
    EXPECT_FALSE(f->Elimina());
    EXPECT_EQ(dump(), salvato);
}

TEST_F(Salvataggio, LockedLaterAndConcurrentDocuments) {
    auto f = incasso();
    ASSERT_TRUE(f->Salva());
    const qlonglong id = f->finestra()["EtiId"].caption().toLongLong();

    // Two windows correct the same document in the same second: the second
    // save finds a newer version than it read and is refused.
    auto altra = apri();
    ASSERT_TRUE(altra->documenti()->Find(QStringLiteral("id=%1").arg(id)));
    altra->MostraTestata();
    altra->Modifica();
    f->Modifica();
    (*altra)["txtDescrizione"].setText("dall'altra finestra");
    ASSERT_TRUE(altra->Salva());
    (*f)["txtDescrizione"].setText("da questa finestra");
    EXPECT_FALSE(f->Salva());
    EXPECT_TRUE(ui.messaggi().back().testo.startsWith(
        "Impossibile salvare in quanto sono state aperte più finestre"));
    EXPECT_EQ(q(QStringLiteral("select Descrizione from NoteTeste where id=%1").arg(id)),
              "dall'altra finestra");
    f->Annulla();

    // A locked document is neither modified nor deleted, even by an administrator.
    t.run({QStringLiteral("UPDATE NoteTeste SET Bloccato=-1 WHERE id=%1").arg(id)});
    f->MostraTestata();
    f->documenti()->Requery();
    f->documenti()->Find(QStringLiteral("id=%1").arg(id));
    f->MostraTestata();
    f->Modifica();
    EXPECT_FALSE(f->inModifica());
    EXPECT_EQ(ui.messaggi().back().titolo, "Record bloccato");
    EXPECT_FALSE(f->Elimina());
    EXPECT_EQ(ui.messaggi().back().testo,
              "Attenzione!! il Record non è eliminabile in quanto Bloccato.");
    EXPECT_EQ(q(QStringLiteral("select count(*) from NoteTeste where id=%1").arg(id)).toInt(), 1);

    // Only the latest of its kind: a same-day document with a higher id is later.
    t.run({QStringLiteral("UPDATE NoteTeste SET Bloccato=0 WHERE id=%1").arg(id),
           "INSERT INTO NoteTeste (CodLocale, CodCausale, DataRegistrazione) VALUES ('BAR1', "
           "'INC6', '2026-03-20')"});
    f->documenti()->Requery();
    f->documenti()->Find(QStringLiteral("id=%1").arg(id));
    f->MostraTestata();
    EXPECT_FALSE(f->Elimina());
    EXPECT_EQ(ui.messaggi().back().testo,
              "Si puo eliminare solo l'ultima registrazione!\nSono presenti 1 registrazioni "
              "successive a quella che "
              "si vuole eliminare.");
}

TEST_F(Salvataggio, ACardIsLeftAloneWhenALaterCollectionHasIt) {
    t.run(
        {"INSERT INTO NoteTeste (id, CodLocale, CodCausale, DataRegistrazione) VALUES (60, "
         "'BAR1', 'INC6', '2026-03-27')",
         "INSERT INTO NoteIncassi (IdTesta, linkscheda, DataIncasso) VALUES (60, 1, "
         "'2026-03-27')"});
    auto f = incasso();
    ASSERT_TRUE(f->Salva());
    EXPECT_DOUBLE_EQ(q("select cntotin from MagSchede where id=1").toDouble(), 1000);
    EXPECT_EQ(q("select ultimoIncasso from MagSchede where id=1").toString(), "2026-03-13");
    EXPECT_DOUBLE_EQ(q("select cntotin from MagSchede where id=2").toDouble(), 5500);
}

// A collection dated before a long list's first page is shown on its own: the
// list is not read to its end to find it.
TEST_F(Salvataggio, ASavedDocumentFarDownTheListIsShownWithoutReadingTheList) {
    documentiRecenti();
    auto f = incasso();
    ASSERT_TRUE(f->Salva());
    const qlonglong id = f->finestra()["EtiId"].caption().toLongLong();
    ASSERT_FALSE(f->documenti()->Eof());
    EXPECT_EQ(f->documenti()->Value("id").toLongLong(), id);
    EXPECT_LE(f->documenti()->LoadedCount(), 100);
}

TEST_F(Salvataggio, ACorrectionSettlesNoAdvanceHeaderWrittenAfterIt) {
    auto f = incasso();
    ASSERT_TRUE(f->Salva());
    const qlonglong id = f->finestra()["EtiId"].caption().toLongLong();
    t.run(
        {"INSERT INTO NoteTeste (CodLocale, CodCausale, DataRegistrazione, Chiuso, idOnda) "
         "VALUES ('BAR1', 'ACC', '2026-03-20', 0, 0)"});
    const qlonglong dopo = q("select max(id) from NoteTeste").toLongLong();
    ASSERT_GT(dopo, id);
    f->Modifica();
    ASSERT_TRUE(f->Salva());
    EXPECT_EQ(q(QStringLiteral("select idOnda from NoteTeste where id=%1").arg(dopo)).toInt(), 0);
    EXPECT_EQ(q("select idOnda from NoteTeste where id=52").toLongLong(), id);
}

TEST_F(Salvataggio, ACellChangeReachesThePanelAndTheStoredRows) {
    auto f = incasso();
    const double riscosso = ParseNumero(f->finestra()["txtRiscosso"].text()).value_or(-1);
    EXPECT_EQ(f->finestra()["lllTotUscite"].caption(), "500,00");
    auto rs = f->righeIncassi();
    rs->MoveFirst();
    ASSERT_EQ(rs->Value("linkscheda").toInt(), 1);
    rs->SetValue("ContatoreOUT", 800);  // 100 more paid out by machine 1
    ui.rispondi(Risposta::No);          // the partial from the meters, not the one typed before
    f->CellaModificata("ContatoreOUT", QVariant());
    EXPECT_EQ(f->finestra()["lllTotUscite"].caption(), "600,00");
    EXPECT_LT(ParseNumero(f->finestra()["txtRiscosso"].text()).value_or(-1), riscosso);
    EXPECT_EQ(f->finestra()["txSbilancio"].caption(), "0,00");
    ASSERT_TRUE(f->Salva());
    const qlonglong id = f->finestra()["EtiId"].caption().toLongLong();
    EXPECT_DOUBLE_EQ(
        q(QStringLiteral("select TotUscite from NoteTeste where id=%1").arg(id)).toDouble(), 600);
    // The cash row is the collected amount the panel shows after the change.
    EXPECT_DOUBLE_EQ(
        q(QStringLiteral("select Riscosso from NoteTeste where id=%1").arg(id)).toDouble(),
        q(QStringLiteral("select Dare from NoteRighe where idtesta=%1 and "
                         "CodConto='01.01.01'")
              .arg(id))
            .toDouble());
}

TEST_F(Salvataggio, AnAdvancePaidAtTheVenueKeepsItsAmount) {
    auto f = apri();
    f->Nuovo();
    f->finestra()["txtDataRegistrazione"].setValue(kGiorno);
    ASSERT_TRUE(f->casella("txeCodCausale").ImpostaCodice("ACL"));
    ASSERT_TRUE(f->casella("txeCodLocale").ImpostaCodice("BAR1"));
    ASSERT_TRUE(f->casella("txeCodEsattore").ImpostaCodice("ES1"));
    f->finestra()["txtAccontoLocale"].setText("80");
    f->UscitaCampo("txtAccontoLocale");
    ASSERT_TRUE(f->Salva());
    const QString id = f->finestra()["EtiId"].caption();
    const auto somme = [&] {
        return q("select sum(Dare) from NoteRighe where idtesta=" + id).toString() + u'/' +
               q("select sum(Avere) from NoteRighe where idtesta=" + id).toString();
    };
    EXPECT_DOUBLE_EQ(q("select AccontoLocale from NoteTeste where id=" + id).toDouble(), 80);
    EXPECT_EQ(somme(), "80/80");

    // Shown again, corrected without a change and saved: nothing is lost.
    f->Modifica();
    ASSERT_TRUE(f->inModifica());
    EXPECT_EQ(ParseNumero(f->finestra()["txtAccontoLocale"].text()), 80);
    f->UscitaCampo("txtAccontoLocale");
    ASSERT_TRUE(f->Salva());
    EXPECT_DOUBLE_EQ(q("select AccontoLocale from NoteTeste where id=" + id).toDouble(), 80);
    EXPECT_EQ(somme(), "80/80");
}

// Advances paid at the venue: one on the collection's own day is deducted by
// it and settled, one from the day after waits for a later collection.
TEST_F(Salvataggio, AnAdvancePaidAtTheVenueOnTheCollectionDayIsDeducted) {
    auto f = apri();
    QStringList acl;
    for (const auto& [giorno, importo] : {std::pair{kGiorno, "80"}, {kGiorno.addDays(1), "15"}}) {
        f->Nuovo();
        f->finestra()["txtDataRegistrazione"].setValue(giorno);
        ASSERT_TRUE(f->casella("txeCodCausale").ImpostaCodice("ACL"));
        ASSERT_TRUE(f->casella("txeCodLocale").ImpostaCodice("BAR1"));
        ASSERT_TRUE(f->casella("txeCodEsattore").ImpostaCodice("ES1"));
        f->finestra()["txtAccontoLocale"].setText(importo);
        f->UscitaCampo("txtAccontoLocale");
        ASSERT_TRUE(f->Salva());
        acl << f->finestra()["EtiId"].caption();
    }
    auto g = incasso();
    EXPECT_EQ(LeggiImporto(g->finestra()["lllAccontoLocale"].text(), QStringLiteral("e")), 80);
    EXPECT_EQ(g->finestra()["txSbilancio"].caption(), "0,00");
    ASSERT_TRUE(g->Salva());
    const QString id = g->finestra()["EtiId"].caption();
    EXPECT_EQ(q("select idOnda from NoteTeste where id=" + acl[0]).toString(), id);
    EXPECT_EQ(q("select idOnda from NoteTeste where id=" + acl[1]).toInt(), 0);
    // The collection takes the advance back out of the account it sits on.
    EXPECT_DOUBLE_EQ(q("select sum(Dare) from NoteRighe where idtesta=" + id +
                       " and CodConto=(select cassaaccontilocale from TabAssociazioneConti)")
                         .toDouble(),
                     80);
}

// Everything the window shows: every control, the history panels, the grids.
QStringList Schermo(FrmIncassi& f) {
    QStringList out;
    for (const auto& c : f.finestra()) {
        out << c->nome() + u'=' + c->text() + u'|' + c->caption() + u'|' +
                   QString::number(c->listIndex()) + u'|' + QString::number(c->checked()) + u'|' +
                   QString::number(c->enabled()) + QString::number(c->visible()) + u'|' +
                   QString::number(int(c->backColor()));
    }
    out << f.storicoLocale().righe << f.storicoApparecchio().righe;
    out << QString::number(f.righeIncassi()->RecordCount())
        << QString::number(f.righeNota()->RecordCount());
    return out;
}

// What differs between two screens, entry by entry.
QStringList Differenze(const QStringList& prima, const QStringList& dopo) {
    QStringList out;
    for (qsizetype i = 0; i < std::max(prima.size(), dopo.size()); ++i) {
        const QString a = prima.value(i), b = dopo.value(i);
        if (a != b) out << a + QStringLiteral(" -> ") + b;
    }
    return out;
}

// Showing a document shows that document only: after another venue's
// document, or a new collection thrown away, the screen is exactly what it
// was; a new document starts from the same clean screen whatever was shown.
TEST_F(Salvataggio, ShowingADocumentLeavesNothingOfTheOneBefore) {
    {
        auto f = incasso();
        ASSERT_TRUE(f->Salva());
    }
    t.run(
        {"INSERT INTO NoteTeste (id, CodLocale, CodCausale, DataRegistrazione, Riscosso, "
         "TotPreu, Versione) VALUES (90, 'BAR2', 'INC6', '2026-03-25', 12.5, 3, 0)",
         "INSERT INTO NoteRighe (IdTesta, CodConto, CodLocale, Data, Dare, Avere, Riga) VALUES "
         "(90, '01.01.01', 'BAR2', '2026-03-25', 12.5, 0, 1), "
         "(90, '04.01.01', 'BAR2', '2026-03-25', 0, 12.5, 2)"});
    auto f = apri();
    ASSERT_EQ(f->documenti()->Value("id").toInt(), 90);
    const QStringList bar2 = Schermo(*f);

    int passi = 0;
    do {
        f->Muovi(FrmIncassi::Verso::Successivo);
        ++passi;
    } while (f->documenti()->Value("CodCausale").toString() != "INC6");
    ASSERT_EQ(f->documenti()->Value("CodLocale").toString(), "BAR1");
    const QStringList bar1 = Schermo(*f);
    EXPECT_FALSE(Differenze(bar2, bar1).isEmpty());
    EXPECT_FALSE(f->storicoApparecchio().righe.isEmpty());  // of its first machine
    for (int i = 0; i < passi; ++i)
        f->Muovi(FrmIncassi::Verso::Precedente);
    EXPECT_EQ(Differenze(bar2, Schermo(*f)), QStringList());

    test::NuovoIncasso(*f, ui);
    ui.rispondi(Risposta::Si);
    f->Esegui("Annulla");
    EXPECT_EQ(Differenze(bar2, Schermo(*f)), QStringList());

    // A new document, after each of the two.
    f->Nuovo();
    ASSERT_EQ(f->finestra()["EtiId"].caption(), "0");
    const QStringList dopoBar2 = Schermo(*f);
    f->Annulla();
    for (int i = 0; i < passi; ++i)
        f->Muovi(FrmIncassi::Verso::Successivo);
    f->Nuovo();
    EXPECT_EQ(Differenze(dopoBar2, Schermo(*f)), QStringList());
    f->Annulla();
    EXPECT_EQ(Differenze(bar1, Schermo(*f)), QStringList());
}

// Every amount of the panel reads one way, on a new document, on one being
// collected and on a stored one: Italian, two decimals, "€. " on typed fields.
TEST_F(Salvataggio, EveryAmountReadsTheSameWay) {
    const QRegularExpression importo(QStringLiteral("^(€\\. )?-?\\d{1,3}(\\.\\d{3})*,\\d\\d$"));
    auto controlla = [&](FrmIncassi& f, const char* quando) {
        for (const auto& c : f.finestra()) {
            const QString n = c->nome();
            const bool etichetta = n.startsWith(u"lll", Qt::CaseInsensitive) ||
                                   n.startsWith(u"Lab") || n == u"txSbilancio";
            if (!etichetta && !FrmIncassi::CampoDenaro(n)) continue;
            const QString testo = etichetta ? c->caption() : c->text();
            EXPECT_TRUE(importo.match(testo).hasMatch())
                << quando << " " << qPrintable(n) << " \"" << qPrintable(testo) << "\"";
            EXPECT_EQ(testo.startsWith(u"€"), !etichetta) << quando << " " << qPrintable(n);
        }
    };
    auto f = apri();
    f->Nuovo();
    controlla(*f, "new");
    f->Annulla();
    test::NuovoIncasso(*f, ui);
    controlla(*f, "collected");
    ASSERT_TRUE(f->Salva());
    controlla(*f, "stored");
    f->Muovi(FrmIncassi::Verso::Primo);
    controlla(*f, "first");
}

// A machine picked by mistake comes out of a new collection, and the panel
// and the rows follow; a hand-added bookkeeping row needs an account or goes.
TEST_F(Salvataggio, RowsAddedAndRemovedByHand) {
    auto f = incasso();
    const Dec introdotto2 = Dec::DaCella(f->finestra()["LLLTotIntrodotto"].caption());
    auto rs = f->righeIncassi();
    rs->MoveLast();
    ASSERT_EQ(rs->Value("linkscheda").toInt(), 2);
    const Dec parziale2 = Dec::DaCella(rs->Value("ParzialeIn"));
    ASSERT_TRUE(f->Esegui("EliminaRigaApparecchio"));
    EXPECT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(Dec::DaCella(f->finestra()["LLLTotIntrodotto"].caption()), introdotto2 - parziale2);
    EXPECT_EQ(f->finestra()["txSbilancio"].caption(), "0,00");

    auto nota = f->righeNota();
    const int righe = nota->RecordCount();
    ASSERT_TRUE(f->Esegui("InserisciRigaNota"));
    EXPECT_EQ(nota->RecordCount(), righe + 1);
    EXPECT_FALSE(f->Salva());
    EXPECT_EQ(ui.messaggi().back().testo, "Selezionare un conto o eliminare la riga.");
    nota->MoveLast();
    ASSERT_TRUE(f->Esegui("EliminaRigaNota"));
    EXPECT_EQ(nota->RecordCount(), righe);
    ASSERT_TRUE(f->Salva());
    const QString id = f->finestra()["EtiId"].caption();
    EXPECT_EQ(q("select count(*) from NoteIncassi where idtesta=" + id).toInt(), 1);

    // A stored machine row stays: the card it moved would be left behind.
    f->Modifica();
    f->righeIncassi()->MoveFirst();
    EXPECT_TRUE(f->Esegui("EliminaRigaApparecchio"));  // the command ran, and refused
    EXPECT_TRUE(ui.messaggi().back().testo.startsWith("La riga è già salvata"));
    EXPECT_EQ(f->righeIncassi()->RecordCount(), 1);
    f->Annulla();
    EXPECT_FALSE(f->Esegui("InserisciRigaNota"));  // browsing: nothing changes
}

// The search and the filter take the days "Dal ... al" as a range; a hidden
// filter panel narrows nothing (its fields keep today's date).
TEST_F(Salvataggio, SearchAndFilterByARangeOfDays) {
    auto f = apri();
    const int tutti = q("select count(*) from NoteTeste").toInt();
    ui.rispondiRicerca(QString());
    f->Cerca();
    ASSERT_FALSE(ui.ricerche().empty());
    EXPECT_EQ(ui.ricerche().back().Recordset->RecordCount(), tutti);

    f->MostraFiltro(true);
    struct Caso {
        const char *dal, *al;
        int documenti;
    } casi[] = {{"16/03/2026", "20/03/2026", 2},  // the 16th and the 20th, ends included
                {"20/03/2026", "16/03/2026", 2},  // the same, typed the other way round
                {"21/03/2026", "", 1},            // from the 21st on
                {"", "15/03/2026", 1},            // up to the 15th
                {"", "", 4}};
    for (const Caso& c : casi) {
        f->finestra()["DataFiltro"].setText(QLatin1String(c.dal));
        f->finestra()["DataFiltroFine"].setText(QLatin1String(c.al));
        ui.rispondiRicerca(QString());
        f->Cerca();
        EXPECT_EQ(ui.ricerche().back().Recordset->RecordCount(), c.documenti)
            << c.dal << "-" << c.al;
        f->ApplicaFiltro();
        EXPECT_EQ(f->documenti()->RecordCount(), c.documenti) << c.dal << "-" << c.al;
    }
}

// A document chosen in the search is shown without reading the list to it.
TEST_F(Salvataggio, ADocumentChosenInTheSearchIsShownWithoutReadingTheList) {
    documentiRecenti();
    const qlonglong vecchio = q("select min(id) from NoteTeste").toLongLong();
    auto f = apri();
    ui.rispondiRicerca(QString::number(vecchio));
    f->Cerca();
    ASSERT_FALSE(f->documenti()->Eof());
    EXPECT_EQ(f->documenti()->Value("id").toLongLong(), vecchio);
    EXPECT_LE(f->documenti()->LoadedCount(), 100);
}

TEST_F(Salvataggio, FilterPanelWithAQuote) {
    t.run(
        {"INSERT INTO AnagraficaLocali (CodLocale, Insegna, sospeso) VALUES ('L''OSTE', 'L''Oste', "
         "0)",
         "INSERT INTO NoteTeste (CodLocale, CodCausale, DataRegistrazione) VALUES ('L''OSTE', "
         "'INC', '2026-03-20'), "
         "('L''OSTE', 'INC6', '2026-03-20'), ('L''OSTE', 'INC', '2026-03-19')"});
    auto f = apri();
    f->finestra()["CCausale"].selezionaPerValore("INC");
    f->finestra()["TxLocale"].setText("L'OSTE");
    f->finestra()["DataFiltro"].setValue(kGiorno);
    f->ApplicaFiltro();
    EXPECT_EQ(f->documenti()->RecordCount(), 1);
    f->finestra()["CCausale"].setListIndex(-1);
    f->ApplicaFiltro();
    EXPECT_EQ(f->documenti()->RecordCount(), 2);
}

}  // namespace
