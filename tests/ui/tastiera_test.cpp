// A collection entered from the keyboard alone, in the real window, stores
// exactly what the scenario runner stores for the same input.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "scenario/esecutore.h"
#include "schema/creazione.h"
#include "support/anagrafiche.h"
#include "support/testdb.h"
#include "ui/frmincassi_view.h"
#include "ui/modellorecordset.h"
#include "window/scriptedui.h"

namespace incassi::ui {
namespace {

// BAR1 with three networked machines, and an operator who may do everything.
void Prepara(test::TestDb& t) {
    schema::PreparaSchema(t.db());
    test::InserisciLocali(t);
    for (int id : {1, 2, 3})
        test::InserisciMacchina(t, id, "BAR1", 6, "2026-03-13", id * 1000, id * 400);
    t.run(
        {"INSERT INTO operatori (codiceUtente, accessocompleto, admin, inserimento, modifica) "
         "VALUES ('ANNA', -1, -1, -1, -1)"});
}

// What a saved collection leaves in the database, without ids and stamps.
QStringList Salvato(test::TestDb& t) {
    QStringList out;
    const char* const tabelle[] = {
        "select CodLocale, CodCausale, DataRegistrazione, Riscosso, VersatoALocale, TotPreu, "
        "TotAAMS, TotRete, TotIntrodotto, TotUscite, UtileLocale, UtileNoleggiatore from "
        "NoteTeste",
        "select Riga, CodConto, Descrizione, Data, Dare, Avere, CodLocale from NoteRighe order by "
        "Riga",
        "select Riga, LinkScheda, DataIncasso, ContatoreIn, ContatoreOUT, ParzialeIn, ParzialeOUT, "
        "Preu, AAMS, Rete, IncassoVs, IncassoNs from NoteIncassi order by Riga",
        "select id, cntotin, cntotout, ultimoIncasso from MagSchede order by id"};
    for (const char* sql : tabelle) {
        auto rs = t.host().OpenRecordSet(QLatin1String(sql));
        for (; !rs->Eof(); rs->MoveNext()) {
            QStringList riga;
            for (int i = 0; i < rs->FieldCount(); ++i)
                riga << rs->Value(i).toString();
            out << riga.join(u'|');
        }
    }
    return out;
}

// Keys as a person types them: each to the widget that has the focus then.
void Digita(const QString& testo) {
    for (const QChar c : testo)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

void Tasto(Qt::Key tasto, Qt::KeyboardModifiers modificatori = {}) {
    QTest::keyClick(QApplication::focusWidget(), tasto, modificatori);
    QCoreApplication::processEvents();
}

TEST(Tastiera, AKeyboardOnlyCollectionStoresWhatTheScenarioRunnerStores) {
    const struct {
        int riga;
        const char *in, *out;
    } letture[] = {{1, "1700", "800"}, {2, "2650", "1100"}, {3, "3120,5", "1312,25"}};

    // The scenario runner, on a copy of the database.
    test::TestDb modello;
    Prepara(modello);
    const QString file = modello.folder() + QStringLiteral("/scenario.sqlite");
    modello.copia(file);
    QByteArray passi = R"([{"azione": "nuovo"},
        {"azione": "scegli", "controllo": "txeCodCausale", "codice": "INC6"},
        {"azione": "scegli", "controllo": "txeCodLocale", "codice": "BAR1"},
        {"azione": "entra"})";
    for (const auto& l : letture) {
        passi += QStringLiteral(R"(, {"azione": "cella", "griglia": "GrigliaIncassi", "riga": %1,
            "colonna": "ContatoreIN", "valore": %2},
            {"azione": "cella", "griglia": "GrigliaIncassi", "riga": %1,
            "colonna": "ContatoreOUT", "valore": %3})")
                     .arg(l.riga)
                     // JSON numbers take the point; the keyboard types the comma.
                     .arg(QString::fromLatin1(l.in).replace(u',', u'.'),
                          QString::fromLatin1(l.out).replace(u',', u'.'))
                     .toUtf8();
    }
    passi += R"(, {"azione": "comando", "nome": "Salva"}])";
    scenario::EseguiScenario(
        scenario::LeggiScenario(R"({"ingresso": {"funzione": "Incassi"}, "operatore": "ANNA",
            "oggi": "2026-03-20", "risposte": {"elenchi": ["1|2|3|"], "messaggi": ["si"]},
            "passi": )" + passi + "}",
                                QStringLiteral("tastiera.json")),
        file, scenario::TabellaAdattatori());
    test::TestDb dopoScenario(file);
    const QStringList atteso = Salvato(dopoScenario);
    ASSERT_EQ(atteso.filter(QStringLiteral("INC6")).size(), 1);

    // The same collection in the window, from the keyboard.
    test::TestDb t;
    Prepara(t);
    ScriptedUi ui;
    FinestraIncassi w(t.host(), ui, ProprietaIngresso{}, RecordOperatore{});
    w.show();
    w.activateWindow();
    QCoreApplication::processEvents();
    Tasto(Qt::Key_Insert);  // Nuovo: the date has the focus
    Tasto(Qt::Key_A, Qt::ControlModifier);
    Digita(QStringLiteral("20/03/2026"));
    Tasto(Qt::Key_Tab);
    Digita(QStringLiteral("INC6"));
    Tasto(Qt::Key_Tab);
    Digita(QStringLiteral("BAR1"));
    ui.rispondiElenco(QStringLiteral("1|2|3|"));
    Tasto(Qt::Key_Return);  // the venue's machines, and into the grid
    GrigliaRecordset* g = w.grigliaIncassi();
    ASSERT_TRUE(g->hasFocus());
    ModelloRecordset& m = g->modello();
    for (const auto& l : letture) {
        for (const auto& [colonna, valore] :
             {std::pair{"ContatoreIN", l.in}, {"ContatoreOUT", l.out}}) {
            for (int n = 0; n < 2 * m.columnCount() &&
                            m.campo(g->currentIndex().column()) != QLatin1String(colonna);
                 ++n)
                Tasto(Qt::Key_Return);
            ASSERT_EQ(g->currentIndex().row(), l.riga - 1) << colonna;
            ASSERT_EQ(m.campo(g->currentIndex().column()), QLatin1String(colonna));
            Digita(QLatin1String(valore));
            Tasto(Qt::Key_Return);
        }
    }
    ui.rispondi(Risposta::Si);  // no collector chosen: save anyway
    Tasto(Qt::Key_F12);
    EXPECT_FALSE(w.modello().inModifica());
    EXPECT_EQ(Salvato(t), atteso);
}

}  // namespace
}  // namespace incassi::ui
