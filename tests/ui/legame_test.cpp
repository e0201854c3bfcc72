#include "ui/legame.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include "support/testdb.h"
#include "ui/casellaricerca.h"
#include "ui/colori.h"
#include "window/scriptedui.h"

namespace incassi::ui {
namespace {

TEST(Colori, WindowsValuesAndSystemColours) {
    QPalette p;
    p.setColor(QPalette::Base, QColor(1, 2, 3));
    p.setColor(QPalette::Button, QColor(4, 5, 6));
    const struct {
        Colore colore;
        QColor atteso;
    } casi[] = {
        {colori::Rosso, QColor(255, 0, 0)},      {colori::Giallo, QColor(255, 255, 0)},
        {colori::Bianco, QColor(255, 255, 255)}, {0x00FF0000, QColor(0, 0, 255)},
        {0x00102030, QColor(0x30, 0x20, 0x10)},  {colori::Normale, QColor(1, 2, 3)},
        {0x8000000F, QColor(4, 5, 6)},           {0x80000099, QColor(1, 2, 3)},
    };
    for (const auto& c : casi)
        EXPECT_EQ(ColoreQt(c.colore, p), c.atteso) << std::hex << c.colore;
}

class Legame : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* n :
             {"txtNome", "lllTotale", "cmbTipo", "chkAttivo", "cmdSalva", "txtSolo"})
            modello.aggiungi(QString::fromUtf8(n));
        modello[QStringLiteral("cmbTipo")].aggiungiElemento(QStringLiteral("Bar"), 1);
        modello[QStringLiteral("cmbTipo")].aggiungiElemento(QStringLiteral("Sala"), 2);
        // Widget names differ in case only; txtSolo has no widget, Extra no control.
        nome = crea<QLineEdit>("TXTNOME");
        totale = crea<QLabel>("lllTotale");
        tipo = crea<QComboBox>("cmbTipo");
        attivo = crea<QCheckBox>("chkattivo");
        salva = crea<QPushButton>("cmdSalva");
        crea<QLineEdit>("Extra");
    }
    template <typename W>
    W* crea(const char* nomeOggetto) {
        auto* w = new W(&radice);
        w->setObjectName(QString::fromUtf8(nomeOggetto));
        return w;
    }
    ModelloFinestra modello;
    QWidget radice;
    QLineEdit* nome;
    QLabel* totale;
    QComboBox* tipo;
    QCheckBox* attivo;
    QPushButton* salva;
};

TEST_F(Legame, ModelToWidgetsAndBack) {
    modello[QStringLiteral("txtNome")].setText(QStringLiteral("Bar Sport"));
    modello[QStringLiteral("txtNome")].setMaxLength(20);
    modello[QStringLiteral("txtNome")].setBackColor(colori::Rosso);
    modello[QStringLiteral("lllTotale")].setText(QStringLiteral("1.234,50"));
    modello[QStringLiteral("cmbTipo")].setListIndex(1);
    modello[QStringLiteral("chkAttivo")].setChecked(1);
    modello[QStringLiteral("cmdSalva")].setEnabled(false);
    modello[QStringLiteral("chkAttivo")].setVisible(false);
    LegameControlli legame(modello, radice);
    EXPECT_EQ(legame.collegati(), 5);
    EXPECT_EQ(nome->text(), QStringLiteral("Bar Sport"));
    EXPECT_EQ(nome->maxLength(), 20);
    EXPECT_EQ(nome->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_EQ(totale->text(), QStringLiteral("1.234,50"));
    EXPECT_EQ(tipo->count(), 2);
    EXPECT_EQ(tipo->currentText(), QStringLiteral("Sala"));
    EXPECT_TRUE(attivo->isChecked());
    EXPECT_TRUE(attivo->isHidden());
    EXPECT_FALSE(salva->isEnabled());

    QSignalSpy modificati(&legame, &LegameControlli::modificato);
    nome->setText(QStringLiteral("Bar Roma"));
    tipo->setCurrentIndex(0);
    attivo->setChecked(false);
    EXPECT_EQ(modello[QStringLiteral("txtNome")].text(), QStringLiteral("Bar Roma"));
    EXPECT_EQ(modello[QStringLiteral("cmbTipo")].listIndex(), 0);
    EXPECT_EQ(modello[QStringLiteral("cmbTipo")].value(), QVariant(1));
    EXPECT_EQ(modello[QStringLiteral("chkAttivo")].checked(), 0);
    ASSERT_EQ(modificati.count(), 3);
    EXPECT_EQ(modificati[0][0].toString(), QStringLiteral("txtNome"));

    // Pushing the model again announces nothing and restores the normal colour.
    modello[QStringLiteral("txtNome")].setBackColor(colori::Normale);
    modello[QStringLiteral("cmbTipo")].setListIndex(-1);
    legame.AggiornaVista();
    EXPECT_EQ(modificati.count(), 3);
    EXPECT_EQ(tipo->currentIndex(), -1);
    EXPECT_EQ(nome->palette().color(QPalette::Base),
              QApplication::palette(nome).color(QPalette::Base));

    QSignalSpy comandi(&legame, &LegameControlli::comando);
    modello[QStringLiteral("cmdSalva")].setEnabled(true);
    legame.AggiornaVista(QStringLiteral("CMDSALVA"));
    salva->click();
    ASSERT_EQ(comandi.count(), 1);
    EXPECT_EQ(comandi[0][0].toString(), QStringLiteral("cmdSalva"));
}

TEST(LegameRicerca, SearchBoxWidgetShowsCodeAndDescription) {
    test::TestDb db;
    db.run({QStringLiteral("CREATE TABLE AnagraficaLocali (id INTEGER PRIMARY KEY, CodLocale "
                           "TEXT COLLATE NOCASE, Insegna TEXT, Citta TEXT, Sospeso INTEGER)"),
            QStringLiteral("INSERT INTO AnagraficaLocali VALUES (1, 'BAR01', 'Bar Sport', "
                           "'Roma', 0), (2, 'BAR02', 'Bar Blu', 'Bari', 0)")});
    ModelloFinestra modello;
    auto& casella = modello.aggiungi<CasellaRicerca>(QStringLiteral("txeCodLocale"), db.host());
    casella.setQuery(QStringLiteral("select * from AnagraficaLocali where sospeso=0"));
    casella.setVisualizza(QStringLiteral("Insegna,citta"));
    casella.setCamporicerca(QStringLiteral("CodLocale"));
    ScriptedUi ui;
    QWidget radice;
    auto* w = new WidgetRicerca(casella, ui, &radice);
    LegameControlli legame(modello, radice);
    QSignalSpy modificati(&legame, &LegameControlli::modificato);

    ui.rispondiElenco(QStringLiteral("BAR02"));
    EXPECT_TRUE(w->scegli());
    EXPECT_EQ(casella.text(), QStringLiteral("BAR02"));
    EXPECT_EQ(w->riga()->text(), QStringLiteral("BAR02 Bar Blu Bari"));
    EXPECT_EQ(modificati.count(), 1);

    w->riga()->setText(QStringLiteral("bar01"));
    Q_EMIT w->riga()->editingFinished();
    EXPECT_EQ(casella.text(), QStringLiteral("BAR01"));
    // Refused: the box keeps its code, the line what was typed, and the
    // message names the code.
    w->riga()->setText(QStringLiteral("NESSUNO"));
    Q_EMIT w->riga()->editingFinished();
    EXPECT_EQ(casella.text(), QStringLiteral("BAR01"));
    EXPECT_EQ(w->riga()->text(), QStringLiteral("NESSUNO"));
    ASSERT_FALSE(ui.messaggi().empty());
    EXPECT_TRUE(ui.messaggi().back().testo.startsWith("Il codice \"NESSUNO\" non è nell'elenco"));
    w->aggiorna();  // a refresh keeps it
    EXPECT_EQ(w->riga()->text(), QStringLiteral("NESSUNO"));
    const size_t messaggi = ui.messaggi().size();
    Q_EMIT w->riga()->editingFinished();  // said once
    EXPECT_EQ(ui.messaggi().size(), messaggi);
    w->riga()->setText(QStringLiteral("bar01"));  // corrected
    Q_EMIT w->riga()->editingFinished();
    EXPECT_EQ(w->riga()->text(), QStringLiteral("BAR01 Bar Sport Roma"));
    EXPECT_EQ(modificati.count(), 3);

    casella.setBackColor(colori::Giallo);
    casella.setEnabled(false);
    legame.AggiornaVista();
    EXPECT_EQ(w->riga()->palette().color(QPalette::Active, QPalette::Base), QColor(255, 255, 0));
    EXPECT_FALSE(w->pulsante()->isEnabled());
}

}  // namespace
}  // namespace incassi::ui
