#include "ui/qtui.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "support/testdb.h"
#include "ui/elenco.h"

namespace incassi::ui {
namespace {

QStringList Testi(const QMessageBox& box) {
    QStringList t;
    const auto pulsanti = box.buttons();
    for (const QAbstractButton* b : pulsanti)
        t << b->text();
    t.sort();
    return t;
}

TEST(Messaggi, ItalianButtonsIconAndDefault) {
    const struct {
        Icona icona;
        Pulsanti pulsanti;
        std::optional<Risposta> predefinita;
        QMessageBox::Icon iconaQt;
        QStringList testi;  // sorted
        const char* base;   // the default button's text
    } casi[] = {
        {Icona::Informazione, Pulsanti::Ok, std::nullopt, QMessageBox::Information, {"OK"}, "OK"},
        {Icona::Esclamazione,
         Pulsanti::OkAnnulla,
         std::nullopt,
         QMessageBox::Warning,
         {"Annulla", "OK"},
         "OK"},
        {Icona::Domanda, Pulsanti::SiNo, Risposta::No, QMessageBox::Question, {"No", "Sì"}, "No"},
        {Icona::Critico,
         Pulsanti::SiNoAnnulla,
         Risposta::Annulla,
         QMessageBox::Critical,
         {"Annulla", "No", "Sì"},
         "Annulla"},
        // A default that is not one of the buttons falls back to the first.
        {Icona::Nessuna, Pulsanti::SiNo, Risposta::Ok, QMessageBox::NoIcon, {"No", "Sì"}, "Sì"},
    };
    for (const auto& c : casi) {
        auto box = CreaMessaggio(QStringLiteral("Testo"), QStringLiteral("Titolo"), c.icona,
                                 c.pulsanti, c.predefinita);
        EXPECT_EQ(Testi(*box), c.testi);
        EXPECT_EQ(box->icon(), c.iconaQt);
        ASSERT_NE(box->defaultButton(), nullptr);
        EXPECT_EQ(box->defaultButton()->text(), QString::fromUtf8(c.base));
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Titolo"));
    }
}

TEST(Messaggi, ClickedButtonGivesItsAnswer) {
    const struct {
        Pulsanti pulsanti;
        const char* clic;  // "" closes the box without a click
        Risposta attesa;
    } casi[] = {
        {Pulsanti::SiNoAnnulla, "Sì", Risposta::Si},
        {Pulsanti::SiNoAnnulla, "No", Risposta::No},
        {Pulsanti::SiNoAnnulla, "", Risposta::Annulla},
        {Pulsanti::SiNo, "", Risposta::No},
        {Pulsanti::Ok, "", Risposta::Ok},
        {Pulsanti::OkAnnulla, "OK", Risposta::Ok},
    };
    for (const auto& c : casi) {
        auto box = CreaMessaggio({}, {}, Icona::Domanda, c.pulsanti, std::nullopt);
        const auto pulsanti = box->buttons();
        for (QAbstractButton* b : pulsanti) {
            if (b->text() == QString::fromUtf8(c.clic)) b->click();
        }
        EXPECT_EQ(RispostaDi(*box), c.attesa) << c.clic;
    }
}

class Elenco : public ::testing::Test {
  protected:
    void SetUp() override {
        db.run({QStringLiteral("CREATE TABLE Causali (id INTEGER PRIMARY KEY, Codice TEXT, "
                               "Descrizione TEXT)"),
                QStringLiteral("INSERT INTO Causali VALUES (1, 'INC', 'Incasso'), (2, 'ACC', "
                               "'Acconto'), (3, 'REF', 'Refill'), (4, 'INC6', 'Incasso sei')")});
        rs = db.host().OpenRecordSet(QStringLiteral("select * from Causali order by id"));
    }
    void seleziona(DialogoElenco& d, std::initializer_list<int> righe) {
        for (int r : righe)
            d.tabella()->selectRow(r);
    }
    test::TestDb db;
    RecordSetPtr rs;
};

TEST_F(Elenco, SingleAndMultipleChoiceWithFilter) {
    rs->MoveFirst();
    rs->MoveNext();  // the window's cursor stands on ACC
    DialogoElenco singola(rs, QStringLiteral("Causali"), QStringLiteral("codice"), false);
    EXPECT_EQ(singola.tabella()->rowCount(), 4);
    EXPECT_EQ(rs->Value(QStringLiteral("Codice")).toString(), QStringLiteral("ACC"));
    EXPECT_EQ(singola.scelta(), QString());
    seleziona(singola, {2});
    EXPECT_EQ(singola.scelta(), QStringLiteral("REF"));

    DialogoElenco multipla(rs, QStringLiteral("Causali"), QStringLiteral("Codice"), true);
    EXPECT_EQ(multipla.scelta(), QStringLiteral("INC|ACC|REF|INC6|"));  // all, at first
    multipla.findChild<QPushButton*>(QStringLiteral("Nessuno"))->click();
    EXPECT_EQ(multipla.scelta(), QString());
    multipla.findChild<QPushButton*>(QStringLiteral("SelezionaTutti"))->click();
    EXPECT_EQ(multipla.scelta(), QStringLiteral("INC|ACC|REF|INC6|"));
    multipla.tabella()->clearSelection();
    seleziona(multipla, {3, 0});
    EXPECT_EQ(multipla.scelta(), QStringLiteral("INC|INC6|"));  // in list order
    multipla.filtro()->setText(QStringLiteral("sei"));          // hides INC
    EXPECT_TRUE(multipla.tabella()->isRowHidden(0));
    EXPECT_EQ(multipla.scelta(), QStringLiteral("INC6|"));
    multipla.filtro()->clear();
    EXPECT_FALSE(multipla.tabella()->isRowHidden(0));
    EXPECT_EQ(multipla.scelta(), QStringLiteral("INC6|"));  // a hidden row was unselected

    DialogoElenco senzaChiave(rs, QStringLiteral("Causali"), QStringLiteral("NonEsiste"), false);
    seleziona(senzaChiave, {1});
    EXPECT_EQ(senzaChiave.scelta(), QString());
}

// A long list shows its first rows and says that there are more; a short one
// says nothing.
TEST_F(Elenco, ALongListShowsItsFirstRowsAndSaysSo) {
    const int molte = DialogoElenco::kRigheMostrate + 5;
    db.run({QStringLiteral("WITH RECURSIVE k(n) AS (SELECT 5 UNION ALL SELECT n+1 FROM k WHERE "
                           "n<%1) INSERT INTO Causali SELECT n, 'C' || n, 'Causale' FROM k")
                .arg(molte)});
    auto lunga = db.host().OpenRecordSet(QStringLiteral("select * from Causali order by id"));
    DialogoElenco d(lunga, QStringLiteral("Causali"), QStringLiteral("Codice"), false);
    EXPECT_EQ(d.tabella()->rowCount(), DialogoElenco::kRigheMostrate);
    auto* altre = d.findChild<QLabel*>(QStringLiteral("lblAltre"));
    ASSERT_NE(altre, nullptr);
    EXPECT_FALSE(altre->isHidden());
    EXPECT_EQ(altre->text(), QStringLiteral("Sono mostrate le prime 10.000 righe: restringere la "
                                            "ricerca per vedere le altre."));

    DialogoElenco breve(rs, QStringLiteral("Causali"), QStringLiteral("Codice"), false);
    EXPECT_TRUE(breve.findChild<QLabel*>(QStringLiteral("lblAltre"))->isHidden());
}

// A click on a heading sorts by that column, numbers as numbers; the chosen
// key follows its row. A saved view gives the columns, captions and order.
TEST_F(Elenco, SortedByAHeadingAndShapedByItsView) {
    db.run({QStringLiteral("INSERT INTO Causali VALUES (10, 'X10', 'Altro')")});
    auto tutte = db.host().OpenRecordSet(QStringLiteral("select * from Causali order by id"));
    DialogoElenco d(tutte, QStringLiteral("Causali"), QStringLiteral("Codice"), false);
    QHeaderView* h = d.tabella()->horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                      QPoint(h->sectionViewportPosition(0) + 3, h->height() / 2));
    d.tabella()->sortItems(0, Qt::AscendingOrder);
    seleziona(d, {4});
    EXPECT_EQ(d.scelta(), QStringLiteral("X10"));  // 10 after 4, not after 1
    d.tabella()->sortItems(2, Qt::AscendingOrder);
    d.tabella()->clearSelection();
    seleziona(d, {0});
    EXPECT_EQ(d.scelta(), QStringLiteral("ACC"));  // "Acconto" first

    LayoutGriglia vista;
    vista.colonne = {{"Descrizione", 0, 150, "Causale", true, {}},
                     {"codice", 1, 0, "Codice", true, {}}};
    d.applicaVista(vista);
    EXPECT_TRUE(d.tabella()->isColumnHidden(0));
    EXPECT_EQ(h->logicalIndex(0), 2);
    EXPECT_EQ(d.tabella()->horizontalHeaderItem(2)->text(), QStringLiteral("Causale"));
    EXPECT_EQ(d.tabella()->columnWidth(2), 150);
}

TEST_F(Elenco, EmptyRecordSetAndNone) {
    auto vuoto = db.host().OpenRecordSet(QStringLiteral("select * from Causali where id=0"));
    DialogoElenco d(vuoto, QStringLiteral("Causali"), QStringLiteral("Codice"), true);
    EXPECT_EQ(d.tabella()->rowCount(), 0);
    EXPECT_EQ(d.tabella()->columnCount(), 3);
    // The id is a technical column: not shown; the others are.
    EXPECT_TRUE(d.tabella()->isColumnHidden(0));
    EXPECT_FALSE(d.tabella()->isColumnHidden(1));
    EXPECT_EQ(d.scelta(), QString());
    DialogoElenco nessuno(nullptr, QStringLiteral("Vuoto"), QStringLiteral("Codice"), false);
    EXPECT_EQ(nessuno.scelta(), QString());
}

}  // namespace
}  // namespace incassi::ui
