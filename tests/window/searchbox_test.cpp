#include "window/searchbox.h"

#include <gtest/gtest.h>

#include "support/testdb.h"
#include "values/error.h"
#include "window/scriptedui.h"
#include "window/windowmodel.h"

namespace incassi {
namespace {

class SearchBox : public ::testing::Test {
  protected:
    void SetUp() override {
        db.run({
            QStringLiteral("CREATE TABLE AnagraficaLocali (id INTEGER PRIMARY KEY, "
                           "CodLocale VARCHAR(20) COLLATE NOCASE, Insegna VARCHAR(50) COLLATE "
                           "NOCASE, Citta VARCHAR(50) COLLATE NOCASE, Sospeso INTEGER)"),
            QStringLiteral("INSERT INTO AnagraficaLocali (id, CodLocale, Insegna, Citta, Sospeso) "
                           "VALUES (1, 'BAR01', 'Bar Sport', 'Roma', 0), "
                           "(2, 'L''ANGOLO', 'L''Angolo', NULL, 0), "
                           "(3, 'CHIUSO', 'Bar Chiuso', 'Bari', -1)"),
        });
        box.setQuery(QStringLiteral("select * from Anagraficalocali where sospeso=0"));
        box.setVisualizza(QStringLiteral("Insegna,citta"));
        box.setCamporicerca(QStringLiteral("codLocale"));
        box.nomevista = QStringLiteral("AnagLocali");
        box.onChange = [this](CasellaRicerca& b) { eventi << b.text(); };
    }
    test::TestDb db;
    CasellaRicerca box{QStringLiteral("txeCodLocale"), db.host()};
    QStringList eventi;
};

TEST_F(SearchBox, TypedCodesAreCheckedAgainstTheQuery) {
    struct {
        const char* digitato;
        bool accettato;
        const char* testo;  // the box's text afterwards
        const char* visualizzato;
    } casi[] = {
        {"BAR01", true, "BAR01", "BAR01 Bar Sport Roma"},
        {"bar01", true, "BAR01", "BAR01 Bar Sport Roma"},  // stored spelling kept
        {"NESSUNO", false, "BAR01", "BAR01 Bar Sport Roma"},
        {"CHIUSO", false, "BAR01", "BAR01 Bar Sport Roma"},  // not in the query's rows
        {"l'angolo", true, "L'ANGOLO", "L'ANGOLO L'Angolo"},
        {"x' or '1'='1", false, "L'ANGOLO", "L'ANGOLO L'Angolo"},
        {"  bar01 ", true, "BAR01", "BAR01 Bar Sport Roma"},
        {"", true, "", ""},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(box.ImpostaCodice(QString::fromUtf8(c.digitato)), c.accettato) << c.digitato;
        EXPECT_EQ(box.text(), QString::fromUtf8(c.testo)) << c.digitato;
        EXPECT_EQ(box.testoVisualizzato(), QString::fromUtf8(c.visualizzato)) << c.digitato;
    }
    EXPECT_EQ(eventi, QStringList({QStringLiteral("BAR01"), QStringLiteral("BAR01"),
                                   QStringLiteral("L'ANGOLO"), QStringLiteral("BAR01")}));
}

TEST_F(SearchBox, QueryReplacedAtRunTime) {
    box.setQuery(QStringLiteral("select * from AnagraficaLocali where sospeso<>0"));
    EXPECT_FALSE(box.ImpostaCodice(QStringLiteral("BAR01")));
    EXPECT_TRUE(box.ImpostaCodice(QStringLiteral("chiuso")));
    EXPECT_EQ(box.text(), QStringLiteral("CHIUSO"));
}

TEST_F(SearchBox, JoinsAndOrderedQueriesAndBadColumns) {
    box.setQuery(
        QStringLiteral("select a.CodLocale, a.Insegna, b.Citta from AnagraficaLocali a "
                       "inner join AnagraficaLocali b on a.id=b.id order by a.Insegna"));
    EXPECT_TRUE(box.ImpostaCodice(QStringLiteral("bar01")));
    EXPECT_EQ(box.testoVisualizzato(), QStringLiteral("BAR01 Bar Sport Roma"));

    box.setQuery(QStringLiteral("select * from AnagraficaLocali order by insegna"));
    box.setCamporicerca(QStringLiteral("NonEsiste"));
    EXPECT_THROW(box.ImpostaCodice(QStringLiteral("BAR01")), Errore);
    EXPECT_EQ(box.text(), QStringLiteral("BAR01"));
}

TEST_F(SearchBox, BehavesAsATextBoxForTheGenericOperations) {
    ModelloFinestra f;
    auto& b = f.aggiungi<CasellaRicerca>(QStringLiteral("txeCodCausale"), db.host());
    b.setQuery(box.query());
    b.setCamporicerca(QStringLiteral("CodLocale"));
    b.setTag(TagObbligatorio);
    EXPECT_LT(ControllaObbligatori(f), 0);
    EXPECT_EQ(b.backColor(), colori::Rosso);
    ASSERT_TRUE(b.ImpostaCodice(QStringLiteral("BAR01")));
    EXPECT_EQ(ControllaObbligatori(f), 0);
    PulisciCampi(f, true);
    EXPECT_EQ(b.text(), QStringLiteral("BAR01"));
    PulisciCampi(f, false);
    EXPECT_EQ(b.text(), QString());
    EXPECT_EQ(b.testoVisualizzato(), QString());  // no stale description
}

// A code that arrives without a check (a stored document shown) still shows
// with its description, without firing the change event; an unknown code
// shows alone.
TEST_F(SearchBox, ACodeSetByBindingIsDescribedToo) {
    struct {
        const char* codice;
        const char* visualizzato;
    } casi[] = {{"BAR01", "BAR01 Bar Sport Roma"},
                {"bar01", "bar01 Bar Sport Roma"},
                {"L'ANGOLO", "L'ANGOLO L'Angolo"},
                {"CHIUSO", "CHIUSO"},  // not in the list offered
                {"", ""}};
    for (const auto& c : casi) {
        box.setText(QString::fromUtf8(c.codice));
        EXPECT_EQ(box.testoVisualizzato(), QString::fromUtf8(c.visualizzato)) << c.codice;
    }
    EXPECT_TRUE(eventi.isEmpty());
}

TEST_F(SearchBox, PickFromTheList) {
    ScriptedUi ui;
    ui.rispondiElenco(QStringLiteral("L'ANGOLO")).rispondiElenco(QString());
    EXPECT_TRUE(box.Scegli(ui));
    EXPECT_EQ(box.text(), QStringLiteral("L'ANGOLO"));
    EXPECT_FALSE(box.Scegli(ui));
    EXPECT_EQ(box.text(), QStringLiteral("L'ANGOLO"));
    ASSERT_EQ(ui.elenchi().size(), 2u);
    EXPECT_EQ(ui.elenchi()[0].chiaveElenco, QStringLiteral("AnagLocali"));
    EXPECT_EQ(ui.elenchi()[0].righe, 2);
}

}  // namespace
}  // namespace incassi
