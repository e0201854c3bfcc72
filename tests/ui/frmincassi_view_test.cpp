// The collection window on screen, offscreen: it opens on a database, binds
// its widgets to the model, shows what the model holds, and sends the grid's
// edits to the model.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <functional>

#include "schema/creazione.h"
#include "support/anagrafiche.h"
#include "support/testdb.h"
#include "ui/configuravista.h"
#include "ui/frmincassi_view.h"
#include "ui/isolevista.h"
#include "ui/legame.h"
#include "ui/modellorecordset.h"
#include "ui/notavista.h"
#include "ui/principale.h"
#include "values/values.h"
#include "window/gridlayout.h"
#include "window/scriptedui.h"

namespace incassi::ui {
namespace {

// A scripted UI that lets a test look at the window while a message is open.
class UiCheGuarda : public ScriptedUi {
  public:
    std::function<void(const QString&)> alMessaggio;
    Risposta Messaggio(const QString& testo, const QString& titolo, Icona icona, Pulsanti pulsanti,
                       std::optional<Risposta> predefinita) override {
        if (alMessaggio) alMessaggio(testo);
        return ScriptedUi::Messaggio(testo, titolo, icona, pulsanti, predefinita);
    }
};

class Vista : public ::testing::Test {
  protected:
    void SetUp() override {
        schema::PreparaSchema(t.db());
        t.run({
            "INSERT INTO anagraficaaziende (CodiceAzienda, ordine) VALUES ('AZ1', 1)",
            "INSERT INTO AnagraficaLocali (CodLocale, Insegna, citta, CodiceAzienda, sospeso, "
            "GestioneDenaro, IncassoTasse, tipologiaincasso) VALUES ('BAR1', 'Bar Sport', 'Roma', "
            "'AZ1', 0, 'Locale', 'Noleggiatore', 3)",
            "INSERT INTO MagAnagArticoli (CodArticolo, TipoArticolo, CatApparecchio) VALUES "
            "('AWP', 4, 'AWP')",
        });
        macchina(1, 1000, 400);
        macchina(2, 5000, 3000);
    }

    void macchina(int id, double in, double out) {
        t.run({QStringLiteral(
                   "INSERT INTO MagSchede (id, NomeGioco, CodiceInterno, CodiceAAMS, CodLocale, "
                   "TipologiaIncasso, ultimoIncasso, cntotin, cntotout, Tipoh1, attualeh1, "
                   "MoltiplicatoreIn, Moltiplicatoreout, CodConcessionario) VALUES (%1, 'Gioco%1', "
                   "'INT%1', 'AAMS%1', 'BAR1', 6, '2026-03-13', %2, %3, 1, 50, 1, 1, 'RETE1')")
                   .arg(id)
                   .arg(in)
                   .arg(out),
               QStringLiteral("INSERT INTO MagProdottoFinito (id, Descrizione, CodLocale, "
                              "CodArticolo, OrdineIncasso) VALUES (%1, 'Prodotto', 'BAR1', 'AWP', "
                              "%2)")
                   .arg(100 + id)
                   .arg(id),
               QStringLiteral("INSERT INTO MagProdottoDistinta (IdProdottoFinito, linkScheda, "
                              "TipoArticolo) VALUES (%1, %2, 1)")
                   .arg(100 + id)
                   .arg(id)});
    }

    std::unique_ptr<FinestraIncassi> apri() {
        auto w =
            std::make_unique<FinestraIncassi>(t.host(), ui, ProprietaIngresso{}, RecordOperatore{});
        w->modello().orologio = [] { return QDate(2026, 3, 20); };
        w->show();
        return w;
    }

    // A new INC6 document at BAR1 with both machines loaded.
    std::unique_ptr<FinestraIncassi> caricata() {
        auto w = apri();
        w->azione(QStringLiteral("Nuovo"))->trigger();
        w->modello()["txtDataRegistrazione"].setValue(QDate(2026, 3, 20));
        EXPECT_TRUE(w->modello().casella("txeCodCausale").ImpostaCodice("INC6"));
        EXPECT_TRUE(w->modello().casella("txeCodLocale").ImpostaCodice("BAR1"));
        ui.rispondiElenco("1|2|");
        w->azione(QStringLiteral("CaricaApparecchi"))->trigger();
        return w;
    }

    QString cella(FinestraIncassi& w, int riga, const char* campo) {
        ModelloRecordset& m = w.grigliaIncassi()->modello();
        const int c = m.colonnaDi(QLatin1String(campo));
        EXPECT_GE(c, 0) << campo;
        return m.data(m.index(riga, c), Qt::DisplayRole).toString();
    }

    // Keys as a person types them: each to the widget that has the focus then.
    static void digita(const char* testo) {
        for (const char* c = testo; *c; ++c)
            QTest::keyClick(QApplication::focusWidget(), *c);
    }

    test::TestDb t;
    UiCheGuarda ui;
};

TEST_F(Vista, OpensBindsAndInstallsTheSharedLayouts) {
    // A shared layout already there is the installation's own: it stays.
    const QString parametri = QDir(t.folder()).filePath(QStringLiteral("parametri"));
    QDir().mkpath(parametri);
    LayoutGriglia mio;
    mio.colonne = {{"Descrizione", 0, 300, "Mia", true, ""}};
    ScriviLayout(QDir(parametri).filePath(QStringLiteral("NOTERIGHE.grx")),
                 QStringLiteral("noteRighe"), mio);

    auto w = apri();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("..:: Prima Nota - Incassi ::.."));
    for (const char* nome :
         {"txtDataRegistrazione", "txeCodLocale", "txeCodCausale", "txeCodEsattore",
          "CmiTipologiaIncasso", "CmiIncassoTasse", "ChkTerzoGestore", "txtRiscosso", "lllTotPreu",
          "LllVarDebito", "txSbilancio", "CmNota", "GrigliaIncassi", "GrigliaNota", "TxLocale",
          "EtiId"})
        EXPECT_NE(w->legame().widget(QLatin1String(nome)), nullptr) << nome;
    EXPECT_TRUE(QFile::exists(QDir(parametri).filePath(QStringLiteral("NoteIncassiNewSlot.grx"))));
    EXPECT_FALSE(QFile::exists(QDir(parametri).filePath(QStringLiteral("noteRighe.grx"))));
    EXPECT_EQ(w->grigliaNota()->modello().headerData(0, Qt::Horizontal, Qt::DisplayRole),
              QStringLiteral("Mia"));
    // The keyboard help and the status.
    EXPECT_TRUE(w->barraStato()
                    ->findChild<QLabel*>(QStringLiteral("lblTasti"))
                    ->text()
                    .contains(QStringLiteral("F12 = Salva")));
    EXPECT_EQ(w->barraStato()->findChild<QLabel*>(QStringLiteral("lblStato"))->text(),
              QStringLiteral("Record 0 di 0"));
    // Every toolbar command is there and works while browsing.
    for (const char* c : {"Stampa", "RicerchePers"}) {
        QAction* a = w->azione(QLatin1String(c));
        ASSERT_NE(a, nullptr) << c;
        EXPECT_TRUE(a->isEnabled()) << c;
    }
    EXPECT_TRUE(w->azione(QStringLiteral("Nuovo"))->isEnabled());
}

TEST_F(Vista, LoadedMachinesShowInTheTabOfTheCausalWithItalianAmounts) {
    auto w = caricata();
    ModelloRecordset& m = w->grigliaIncassi()->modello();
    ASSERT_EQ(m.rowCount(), 2);
    EXPECT_EQ(w->schede()->currentIndex(), 0);
    EXPECT_EQ(m.headerData(m.colonnaDi("ContatoreIN"), Qt::Horizontal, Qt::DisplayRole),
              QStringLiteral("Cont. IN"));
    EXPECT_EQ(cella(*w, 1, "VecchioContatoreIN"), QStringLiteral("5.000,00"));
    EXPECT_TRUE(cella(*w, 0, "Descrizione").startsWith(QStringLiteral("Gioco1")));
    EXPECT_TRUE(m.flags(m.index(0, m.colonnaDi("ContatoreIN"))) & Qt::ItemIsEditable);
    // The venue's name on its box, and its statement panel.
    EXPECT_TRUE(
        w->legame().widget("txeCodLocale")->toolTip().contains(QStringLiteral("Bar Sport")));
    EXPECT_FALSE(w->pannelloApparecchio()->toPlainText().isEmpty());
}

TEST_F(Vista, ATypedMeterRecomputesThePartialThroughTheModel) {
    auto w = caricata();
    ModelloRecordset& m = w->grigliaIncassi()->modello();
    const QModelIndex in = m.index(1, m.colonnaDi("ContatoreIN"));
    const QString altra = cella(*w, 0, "ParzialeIn");
    auto* introdotto =
        qobject_cast<QLabel*>(w->legame().widget(QStringLiteral("LLLTotIntrodotto")));
    ASSERT_NE(introdotto, nullptr);
    const double prima = ParseNumero(introdotto->text()).value_or(-1);
    ASSERT_TRUE(m.setData(in, QStringLiteral("6.250,5"), Qt::EditRole));
    EXPECT_EQ(cella(*w, 1, "ContatoreIN"), QStringLiteral("6.250,50"));
    EXPECT_EQ(cella(*w, 1, "ParzialeIn"), QStringLiteral("1.250,50"));
    auto rs = w->modello().righeIncassi();
    EXPECT_EQ(rs->AbsolutePosition(), 2);
    EXPECT_DOUBLE_EQ(Num(rs->Value(QStringLiteral("ParzialeIn"))), 1250.5);
    // The other row is untouched; the panel shows the new total.
    EXPECT_EQ(cella(*w, 0, "ParzialeIn"), altra);
    EXPECT_GT(ParseNumero(introdotto->text()).value_or(-1), prima);
}

TEST_F(Vista, LeavingAMoneyFieldNormalisesItThroughTheModel) {
    auto w = caricata();
    auto* riscosso = qobject_cast<QLineEdit*>(w->legame().widget(QStringLiteral("txtRiscosso")));
    ASSERT_NE(riscosso, nullptr);
    riscosso->setText(QStringLiteral("1234.5"));
    QFocusEvent uscita(QEvent::FocusOut);
    QCoreApplication::sendEvent(riscosso, &uscita);
    QCoreApplication::processEvents();
    EXPECT_EQ(riscosso->text(), QStringLiteral("€. 1.234,50"));
    EXPECT_EQ(w->modello()["txtRiscosso"].text(), riscosso->text());
}

// F12 with the cursor still in a money field: what was typed is committed
// first, so the stored header and its cash row say the same amount.
TEST_F(Vista, SavingFromInsideAMoneyFieldCommitsIt) {
    auto w = caricata();
    w->modello().casella("txeCodEsattore").setText(QString());
    auto* riscosso = qobject_cast<QLineEdit*>(w->legame().widget(QStringLiteral("txtRiscosso")));
    ASSERT_NE(riscosso, nullptr);
    w->activateWindow();
    riscosso->setFocus();
    riscosso->selectAll();
    QTest::keyClicks(riscosso, QStringLiteral("1000.5"));
    ui.rispondi(Risposta::Si);  // the collector is left empty: save anyway
    w->azione(QStringLiteral("Salva"))->trigger();
    const QString id = w->modello()["EtiId"].caption();
    ASSERT_NE(id, QStringLiteral("0"));
    EXPECT_DOUBLE_EQ(t.scalar("select Riscosso from NoteTeste where id=" + id).toDouble(), 1000.5);
    EXPECT_DOUBLE_EQ(
        t.scalar("select Dare from NoteRighe where CodConto='01.01.01' and idtesta=" + id)
            .toDouble(),
        1000.5);
}

// A stored document being browsed: every settlement button is disabled on
// screen, and a click on one changes nothing.
TEST_F(Vista, ClicksOnSettlementButtonsChangeNothingWhileBrowsing) {
    auto w = caricata();
    ui.rispondi(Risposta::Si);  // no collector chosen: save anyway
    w->azione(QStringLiteral("Salva"))->trigger();
    ASSERT_FALSE(w->modello().inModifica());
    const QString riscosso = w->modello()["txtRiscosso"].text();
    for (const char* nome : {"CmdAcconto", "CmdChiudiIncasso", "CmdRicalcola", "CmdNoDenaro",
                             "CmdRimanenza", "CmdAcconti"}) {
        auto* pulsante = qobject_cast<QAbstractButton*>(w->legame().widget(QLatin1String(nome)));
        ASSERT_NE(pulsante, nullptr) << nome;
        EXPECT_FALSE(pulsante->isEnabled()) << nome;
        QTest::mouseClick(pulsante, Qt::LeftButton);
        EXPECT_EQ(w->modello()["txtRiscosso"].text(), riscosso) << nome;
    }
    EXPECT_FALSE(w->modello().inModifica());
    // Fields that cannot be typed into do not look as if they could, and a
    // computed amount is no box at all.
    auto* campo = qobject_cast<QLineEdit*>(w->legame().widget(QStringLiteral("txtRiscosso")));
    ASSERT_NE(campo, nullptr);
    EXPECT_FALSE(campo->isEnabled());
    EXPECT_NE(campo->palette().color(QPalette::Disabled, QPalette::Base),
              campo->palette().color(QPalette::Active, QPalette::Base));
    auto* calcolato = qobject_cast<QLabel*>(w->legame().widget(QStringLiteral("lllDaRiscuotere")));
    ASSERT_NE(calcolato, nullptr);
    EXPECT_EQ(calcolato->frameShape(), QFrame::NoFrame);
}

// After the venue was chosen the window asked for the focus once; a click on a
// grid cell then keeps it there, and what is typed goes into that cell.
TEST_F(Vista, ClickingAGridCellAndTypingGoesIntoThatCell) {
    auto w = caricata();
    w->activateWindow();
    QCoreApplication::processEvents();
    GrigliaRecordset* g = w->grigliaIncassi();
    ModelloRecordset& m = g->modello();
    const QModelIndex in = m.index(0, m.colonnaDi("ContatoreIN"));
    g->scrollTo(in);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(in).center());
    QCoreApplication::processEvents();
    ASSERT_EQ(g->currentIndex(), in);
    digita("1700");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(cella(*w, 0, "ContatoreIN"), QStringLiteral("1.700,00"));
    EXPECT_EQ(w->modello()["txeCodLocale"].text(), QStringLiteral("BAR1"));
    EXPECT_TRUE(g->hasFocus() || g->isAncestorOf(QApplication::focusWidget()));
}

// Esc in a cell editor cancels that cell only; Esc on the window asks before
// throwing the collection away, and "No" keeps it.
TEST_F(Vista, EscCancelsTheCellFirstThenAsksForTheDocument) {
    auto w = caricata();
    w->activateWindow();
    GrigliaRecordset* g = w->grigliaIncassi();
    ModelloRecordset& m = g->modello();
    const QModelIndex in = m.index(0, m.colonnaDi("ContatoreIN"));
    const QString prima = cella(*w, 0, "ContatoreIN");
    g->setFocus();
    g->setCurrentIndex(in);
    g->edit(in);
    QCoreApplication::processEvents();
    ASSERT_NE(g->indexWidget(in), nullptr);  // the cell editor is open
    digita("9");
    const size_t messaggi = ui.messaggi().size();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(g->indexWidget(in), nullptr);
    EXPECT_EQ(cella(*w, 0, "ContatoreIN"), prima);
    EXPECT_TRUE(w->modello().inModifica());
    EXPECT_EQ(ui.messaggi().size(), messaggi);

    ui.rispondi(Risposta::No);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    ASSERT_EQ(ui.messaggi().size(), messaggi + 1);
    EXPECT_EQ(ui.messaggi().back().testo, QStringLiteral("Annullare le modifiche?"));
    EXPECT_TRUE(w->modello().inModifica());
    EXPECT_EQ(m.rowCount(), 2);

    ui.rispondi(Risposta::Si);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_FALSE(w->modello().inModifica());
}

// Quitting the host program with an unsaved collection asks; "No" keeps the
// program and the collection.
TEST_F(Vista, QuittingTheHostAsksForAnUnsavedCollection) {
    FinestraPrincipale principale(QStringLiteral("ANNA"));
    principale.show();
    auto w = caricata();
    ui.rispondi(Risposta::No);
    EXPECT_FALSE(principale.close());
    EXPECT_TRUE(principale.isVisible());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->modello().inModifica());
    ui.rispondi(Risposta::Si);
    EXPECT_TRUE(principale.close());
    EXPECT_FALSE(w->isVisible());
}

// A missing field is coloured while the message about it is read, and loses
// the colour as soon as it is filled.
TEST_F(Vista, AMissingFieldIsMarkedDuringItsMessageAndClearedWhenFilled) {
    auto w = caricata();
    QWidget* esattore = w->legame().widget(QStringLiteral("txeCodEsattore"));
    auto* riga = esattore->findChild<QLineEdit*>();
    ASSERT_NE(riga, nullptr);
    const QColor normale = riga->palette().color(QPalette::Base);
    QColor durante;
    std::optional<Qt::CursorShape> puntatore;  // none: no override
    ui.alMessaggio = [&](const QString&) {
        durante = riga->palette().color(QPalette::Base);
        if (const QCursor* c = QApplication::overrideCursor()) puntatore = c->shape();
    };
    ui.rispondi(Risposta::No);  // "Alcuni campi ... Si desidera procedere comunque?"
    w->azione(QStringLiteral("Salva"))->trigger();
    ui.alMessaggio = nullptr;
    EXPECT_NE(durante, normale);
    // The command's busy pointer is not over the question, nor left after it.
    EXPECT_EQ(puntatore, std::optional(Qt::ArrowCursor));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(w->modello().inModifica());
    w->modello()["txeCodEsattore"].setText(QStringLiteral("E1"));
    w->Aggiorna();
    EXPECT_EQ(riga->palette().color(QPalette::Base), normale);
}

// The status bar says what a save did, and a new document has no place in the
// list until it is saved.
TEST_F(Vista, TheStatusBarSaysTheDocumentWasSaved) {
    auto w = caricata();
    auto* record = w->barraStato()->findChild<QLabel*>(QStringLiteral("lblStato"));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->text(), QStringLiteral("Nuovo documento"));
    ui.rispondi(Risposta::Si);  // no collector chosen: save anyway
    w->azione(QStringLiteral("Salva"))->trigger();
    EXPECT_EQ(w->barraStato()->currentMessage(), QStringLiteral("Documento salvato"));
    EXPECT_EQ(record->text(), QStringLiteral("Record 1 di 1"));
}

// Rows by hand from the keyboard: Ctrl+- on the machine grid takes the current
// machine out, Ctrl++ on the bookkeeping grid adds a row; while browsing the
// grids' row commands are disabled.
TEST_F(Vista, GridRowsAreAddedAndRemovedFromTheKeyboard) {
    auto w = caricata();
    w->activateWindow();
    QCoreApplication::processEvents();
    GrigliaRecordset* macchine = w->grigliaIncassi();
    macchine->setFocus();
    macchine->setCurrentIndex(macchine->modello().index(1, 0));
    QCoreApplication::processEvents();
    QTest::keyClick(macchine, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(macchine->modello().rowCount(), 1);
    EXPECT_EQ(cella(*w, 0, "VecchioContatoreIN"), QStringLiteral("1.000,00"));

    auto* nota = w->findChild<GrigliaRecordset*>(QStringLiteral("GrigliaNota"));
    ASSERT_NE(nota, nullptr);
    const int righe = nota->modello().rowCount();
    nota->setFocus();
    QCoreApplication::processEvents();
    QTest::keyClick(nota, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(nota->modello().rowCount(), righe + 1);
    QTest::keyClick(nota, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(nota->modello().rowCount(), righe);

    ui.rispondi(Risposta::Si);  // no collector chosen: save anyway
    w->azione(QStringLiteral("Salva"))->trigger();
    ASSERT_FALSE(w->modello().inModifica());
    // Only the island meters may still be looked at.
    for (QAction* a : macchine->actions() + nota->actions()) {
        EXPECT_EQ(a->isEnabled(), a->data().toString() == u"ContatoriIsola")
            << a->objectName().toStdString();
    }
}

// Meters typed without the mouse: Enter commits the cell and moves to the
// next cell to type in, then on to the next machine.
TEST_F(Vista, EnterMovesToTheNextCellToType) {
    auto w = caricata();
    w->activateWindow();
    QCoreApplication::processEvents();
    GrigliaRecordset* g = w->grigliaIncassi();
    ModelloRecordset& m = g->modello();
    g->setFocus();
    g->setCurrentIndex(m.index(0, m.colonnaDi("ContatoreIN")));
    QCoreApplication::processEvents();
    digita("1700");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(cella(*w, 0, "ContatoreIN"), QStringLiteral("1.700,00"));
    EXPECT_EQ(g->currentIndex().row(), 0);
    EXPECT_GT(g->currentIndex().column(), m.colonnaDi("ContatoreIN"));
    // On along the row to the meter OUT, past the cells it can be typed in.
    for (int n = 0; n < m.columnCount() && m.campo(g->currentIndex().column()) != u"ContatoreOUT";
         ++n) {
        EXPECT_TRUE(m.flags(g->currentIndex()) & Qt::ItemIsEditable);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    ASSERT_EQ(m.campo(g->currentIndex().column()), QStringLiteral("ContatoreOUT"));
    digita("800");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(cella(*w, 0, "ContatoreOUT"), QStringLiteral("800,00"));
    for (int n = 0; n < m.columnCount() && g->currentIndex().row() == 0; ++n) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(g->currentIndex().row(), 1);
    EXPECT_TRUE(m.flags(g->currentIndex()) & Qt::ItemIsEditable);
}

// At 1024x768 every control of the header, the panel and both grids is inside
// the window, and with text 1.25 times larger no amount or label is cut; the
// optional history panels shown too.
TEST_F(Vista, EverythingFitsAt1024x768AndLargerText) {
    for (const char* vis : {"VisHopper", "VisCassetto"})
        t.host().salvasettaggio(QStringLiteral("Incassi"), QLatin1String(vis), -1);
    for (const double scala : {1.0, 1.25}) {
        QFont f = QApplication::font();
        const QFont prima = f;
        f.setPointSizeF(f.pointSizeF() * scala);
        QApplication::setFont(f);
        auto w = caricata();
        w->resize(1024, 768);
        QCoreApplication::processEvents();
        if (scala == 1.0) {
            ASSERT_LE(w->width(), 1024) << "minimum " << w->minimumSizeHint().width();
            ASSERT_LE(w->height(), 768) << "minimum " << w->minimumSizeHint().height();
        }
        const QRect finestra = w->rect();
        for (const auto& c : w->modello().finestra()) {
            QWidget* x = w->legame().widget(c->nome());
            if (!x || !x->isVisibleTo(w.get())) continue;
            const QRect r(x->mapTo(w.get(), QPoint(0, 0)), x->size());
            EXPECT_TRUE(finestra.contains(r))
                << scala << " " << qPrintable(c->nome()) << " at " << r.x() << "," << r.y() << " "
                << r.width() << "x" << r.height();
            if (auto* l = qobject_cast<QLabel*>(x); l && !l->text().isEmpty()) {
                EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->contentsRect().width())
                    << scala << " " << qPrintable(c->nome()) << " \"" << qPrintable(l->text())
                    << "\"";
            }
        }
        // Every cell's text fits its column.
        for (auto* g : w->findChildren<GrigliaRecordset*>()) {
            ModelloRecordset& m = g->modello();
            for (int riga = 0; riga < m.rowCount(); ++riga) {
                for (int col = 0; col < m.columnCount(); ++col) {
                    if (g->isColumnHidden(col) || m.campo(col) == u"Descrizione") continue;
                    const QString t = m.data(m.index(riga, col), Qt::DisplayRole).toString();
                    EXPECT_LE(QFontMetrics(g->font()).horizontalAdvance(t) + 8, g->columnWidth(col))
                        << scala << " " << qPrintable(g->objectName()) << "."
                        << qPrintable(m.campo(col)) << " \"" << qPrintable(t) << "\"";
                }
            }
        }
        QApplication::setFont(prima);
    }
}

// The window comes back as the operator left it: its size and its splitters.
TEST_F(Vista, SizeAndSplittersAreRemembered) {
    QList<int> lasciate;
    {
        auto w = apri();
        w->resize(1020, 700);
        QCoreApplication::processEvents();
        auto* d = w->findChild<QSplitter*>(QStringLiteral("DivisoreGriglieStorici"));
        ASSERT_NE(d, nullptr);
        d->setSizes({600, 410});
        lasciate = d->sizes();
        ASSERT_TRUE(w->close());
    }
    auto w = apri();
    QCoreApplication::processEvents();
    EXPECT_EQ(w->size(), QSize(1020, 700));
    EXPECT_EQ(w->findChild<QSplitter*>(QStringLiteral("DivisoreGriglieStorici"))->sizes(),
              lasciate);
}

// A column the user widened comes back as wide; one narrowed below its
// content is widened again, so that no amount is shown in part.
TEST_F(Vista, ColumnWidthsAreRememberedPerUser) {
    int larga = 0, stretta = 0;
    {
        auto w = caricata();
        GrigliaRecordset* g = w->grigliaIncassi();
        const int in = g->modello().colonnaDi(QStringLiteral("ContatoreIN"));
        const int prec = g->modello().colonnaDi(QStringLiteral("VecchioContatoreIN"));
        larga = g->columnWidth(in) + 37;
        g->horizontalHeader()->resizeSection(in, larga);
        g->horizontalHeader()->resizeSection(prec, 5);
        ui.rispondi(Risposta::Si);  // the collection on screen is given up
        ASSERT_TRUE(w->close());
    }
    auto w = caricata();
    GrigliaRecordset* g = w->grigliaIncassi();
    EXPECT_EQ(g->columnWidth(g->modello().colonnaDi(QStringLiteral("ContatoreIN"))), larga);
    stretta = g->columnWidth(g->modello().colonnaDi(QStringLiteral("VecchioContatoreIN")));
    EXPECT_GE(stretta, g->fontMetrics().horizontalAdvance(QStringLiteral("5.000,00")));
}

// Tab leaves the machine grid for the money panel, then walks the typed
// amounts in the panel's order and goes on to the bookkeeping grid.
TEST_F(Vista, TabGoesFromTheGridThroughTheMoneyPanel) {
    auto w = caricata();
    w->activateWindow();
    QCoreApplication::processEvents();
    w->grigliaIncassi()->setFocus();
    QCoreApplication::processEvents();
    QStringList percorso;
    for (int n = 0; n < 15; ++n) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCoreApplication::processEvents();
        percorso << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(percorso, (QStringList{"txtRiscosso", "txtAcconto", "txtAccontoLocale",
                                     "txtAnticipoLocale", "txtArrotondamenti", "txtRimanenza",
                                     "txtVersatoALocale", "txtVarPrestito", "txtAmmancoLocale",
                                     "txtAmmancoNoleggiatore", "tttAmmanchi", "txtFurtoLocale",
                                     "txtFurtoNoleggiatore", "tttFurti", "GrigliaNota"}));
}

TEST_F(Vista, TheImbalanceTurnsRedOnlyWhenThereIsOne) {
    auto w = apri();
    auto* s = qobject_cast<QLabel*>(w->legame().widget(QStringLiteral("txSbilancio")));
    ASSERT_NE(s, nullptr);
    const QColor rosso(210, 0, 0);
    for (const auto& [testo, atteso] : {std::pair{"12,50", true}, std::pair{"0,00", false},
                                        std::pair{"-0,01", true}, std::pair{"", false}}) {
        w->modello()["txSbilancio"].setText(QLatin1String(testo));
        w->Aggiorna();
        if (*testo) {
            EXPECT_EQ(s->text(), QLatin1String(testo));
        }
        EXPECT_EQ(s->palette().color(QPalette::Window) == rosso, atteso) << testo;
    }
}

// A long list is not counted when the window opens: the counter says how many
// rows were read until a double click on it asks for the count; "last" knows it.
TEST_F(Vista, TheDocumentsAreCountedWhenAsked) {
    QStringList righe;
    for (int i = 1; i <= 150; ++i)
        righe << QStringLiteral("(%1, 'BAR1', 'INC6', '2026-01-01')").arg(1000 + i);
    t.run({"INSERT INTO NoteTeste (id, CodLocale, CodCausale, DataRegistrazione) VALUES " +
           righe.join(',')});
    const int tutti = t.scalar("select count(*) from NoteTeste").toInt();
    auto w = apri();
    auto* contatore = w->findChild<QLabel*>(QStringLiteral("lblStato"));
    ASSERT_NE(contatore, nullptr);
    EXPECT_EQ(contatore->text(), QStringLiteral("Record 1 di 100+"));
    QTest::mouseDClick(contatore, Qt::LeftButton);
    EXPECT_EQ(contatore->text(), QStringLiteral("Record 1 di %1").arg(tutti));

    auto altra = apri();
    altra->azione(QStringLiteral("Ultimo"))->trigger();
    contatore = altra->findChild<QLabel*>(QStringLiteral("lblStato"));
    EXPECT_EQ(contatore->text(), QStringLiteral("Record %1 di %1").arg(tutti));
}

TEST_F(Vista, MenuChecksFollowThePreferences) {
    auto w = apri();
    QAction* abbuoni = w->azione(QStringLiteral("MenuAbbuoni"));
    QAction* ammanco = w->azione(QStringLiteral("MenuAmmanco"));
    ASSERT_TRUE(abbuoni && ammanco);
    EXPECT_TRUE(abbuoni->isChecked());
    EXPECT_FALSE(ammanco->isChecked());
    ammanco->trigger();
    EXPECT_TRUE(ammanco->isChecked());
    EXPECT_FALSE(abbuoni->isChecked());
    EXPECT_EQ(t.host()
                  .LeggiSettaggio(QStringLiteral("Incassi"), QStringLiteral("AbbuoniAutomatico"),
                                  QVariant())
                  .toInt(),
              0);
}

TEST_F(Vista, TheHopperAndCashBoxHistoriesShowAndHideWithTheirMenuItems) {
    auto w = caricata();
    const struct {
        const char* menu;
        QTextEdit* pannello;
        const char* intestazione;
    } casi[] = {{"MenuVisHopper", w->pannelloHopper(), "Var. Hopper"},
                {"MenuVisCassetto", w->pannelloCassetto(), "Al giorno"}};
    for (const auto& c : casi) {
        QAction* voce = w->azione(QLatin1String(c.menu));
        ASSERT_NE(voce, nullptr) << c.menu;
        EXPECT_FALSE(c.pannello->isVisibleTo(w.get())) << c.menu;
        voce->trigger();
        EXPECT_TRUE(c.pannello->isVisibleTo(w.get())) << c.menu;
        EXPECT_TRUE(c.pannello->toPlainText().contains(QLatin1String(c.intestazione))) << c.menu;
        voce->trigger();
        EXPECT_FALSE(c.pannello->isVisibleTo(w.get())) << c.menu;
    }
    EXPECT_TRUE(w->pannelloApparecchio()->isVisibleTo(w.get()));
}

TEST_F(Vista, TheDemonstrationLoadsTheFirstVenueWithMeterMachines) {
    auto w = apri();
    ASSERT_TRUE(w->eseguiScenario(QStringLiteral("INC6")));
    EXPECT_EQ(w->modello()["txeCodLocale"].text(), QStringLiteral("BAR1"));
    EXPECT_EQ(w->grigliaIncassi()->modello().rowCount(), 2);
    EXPECT_FALSE(w->eseguiScenario(QStringLiteral("ALTRO")));
    // Back to real dialogs afterwards: the scripted port is asked again.
    EXPECT_TRUE(ui.messaggi().empty());
}

// F2 in the destination column of a bookkeeping row opens the list of its
// end; the chosen store fills the row.
TEST_F(Vista, F2InAnEndColumnPicksItsStore) {
    t.run(
        {"INSERT INTO anagraficamagazzini (codicemagazzino, Descrizione) VALUES ('MAG1', "
         "'Sede')"});
    auto w = caricata();
    GrigliaRecordset* g = w->grigliaNota();
    if (g->modello().rowCount() == 0) w->modello().Esegui(QStringLiteral("InserisciRigaNota"));
    w->Aggiorna();
    const int colonna = g->modello().colonnaDi(QStringLiteral("DescrizioneDestinazione"));
    ASSERT_GE(colonna, 0);
    w->activateWindow();
    g->setFocus();
    g->setCurrentIndex(g->modello().index(0, colonna));
    ui.rispondiElenco("MAG1");
    QTest::keyClick(g, Qt::Key_F2);
    ASSERT_FALSE(ui.elenchi().empty());
    EXPECT_EQ(ui.elenchi().back().titolo, QStringLiteral("Magazzino di destinazione"));
    EXPECT_EQ(g->modello().data(g->modello().index(0, colonna), Qt::DisplayRole).toString(),
              QStringLiteral("Sede"));
}

// The view editor from the toolbar: a column hidden and the whole-row cursor
// show at once in its grid; saved as the preferred view, they show in the
// collection window's grid when the editor closes.
TEST_F(Vista, TheViewEditorShapesTheGridAndKeepsTheView) {
    auto w = apri();  // browsing: the editor is not for a document being written
    w->azione(QStringLiteral("RicerchePers"))->trigger();
    auto* e = w->findChild<VistaConfigura*>();
    ASSERT_NE(e, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(e));
    const int colonne = e->griglia()->modello().columnCount();
    ASSERT_GT(colonne, 2);

    const QString foto = qEnvironmentVariable("INCASSI_FOTO");
    auto pagina = [&](const char* chiave, const char* nome) {
        e->vaiA(QLatin1String(chiave));
        if (!foto.isEmpty()) e->grab().save(QDir(foto).filePath(QLatin1String(nome)));
    };
    pagina("POSIZIONE", "configura-posizione.png");
    e->vaiA(QStringLiteral("VISUALIZZA"));
    auto* visibili = e->findChild<QListWidget*>(QStringLiteral("List1"));
    visibili->setCurrentRow(0);
    const QString nascosta = visibili->currentItem()->text();
    QTest::mouseClick(e->findChild<QPushButton*>(QStringLiteral("CmdSportaI")), Qt::LeftButton);
    EXPECT_EQ(e->griglia()->modello().columnCount(), colonne - 1);
    EXPECT_LT(e->griglia()->modello().colonnaDi(nascosta), 0);
    EXPECT_FALSE(e->findChild<QListWidget*>(QStringLiteral("List2"))
                     ->findItems(nascosta, Qt::MatchExactly)
                     .isEmpty());

    pagina("VISUALIZZA", "configura-visualizza.png");
    e->vaiA(QStringLiteral("STILE"));
    e->findChild<QCheckBox*>(QStringLiteral("ChkEvidenzia"))->setChecked(true);
    pagina("STILE", "configura-stile.png");
    EXPECT_EQ(e->griglia()->selectionBehavior(), QAbstractItemView::SelectRows);

    e->vaiA(QStringLiteral("SALVA"));
    QTest::keyClicks(e->findChild<QLineEdit*>(QStringLiteral("txtNome")), QStringLiteral("Mia"));
    e->findChild<QCheckBox*>(QStringLiteral("ChkPredefinito"))->setChecked(true);
    ui.rispondi(Risposta::Si);
    QTest::mouseClick(e->findChild<QPushButton*>(QStringLiteral("CmdSalva")), Qt::LeftButton);
    EXPECT_EQ(ui.messaggi().back().testo, QStringLiteral("Salvataggio Completato"));
    EXPECT_EQ(e->findChild<QListWidget*>(QStringLiteral("Lista"))->count(), 1);
    pagina("SALVA", "configura-salva.png");

    e->close();
    EXPECT_LT(w->grigliaIncassi()->modello().colonnaDi(nascosta), 0);
    EXPECT_EQ(w->grigliaIncassi()->selectionBehavior(), QAbstractItemView::SelectRows);

    // The header menu: the saved view checked, the shared default; choosing
    // the default shows the hidden column again.
    QMenu menu;
    w->riempiMenuViste(menu, w->grigliaIncassi());
    const QList<QAction*> voci = menu.actions();
    ASSERT_EQ(voci.size(), 4);  // Mia, the default, a separator, the editor
    EXPECT_EQ(voci[0]->text(), QStringLiteral("Mia"));
    EXPECT_TRUE(voci[0]->isChecked());
    EXPECT_EQ(voci[1]->text(), QStringLiteral("Vista predefinita ..."));
    EXPECT_FALSE(voci[1]->isChecked());
    voci[1]->trigger();
    EXPECT_GE(w->grigliaIncassi()->modello().colonnaDi(nascosta), 0);
}

// "Note" opens the venue's note; saved, the button turns green.
TEST_F(Vista, TheNoteButtonOpensTheVenuesNoteAndTakesItsColour) {
    auto w = caricata();
    auto* pulsante = qobject_cast<QPushButton*>(w->legame().widget(QStringLiteral("CmNota")));
    ASSERT_NE(pulsante, nullptr);
    EXPECT_NE(w->modello()[QStringLiteral("CmNota")].backColor(), colori::Verde);
    QTest::mouseClick(pulsante, Qt::LeftButton);
    auto* n = w->findChild<VistaNota*>();
    ASSERT_NE(n, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(n));
    QTest::keyClicks(n->testo(), QStringLiteral("Chiuso il lunedi"));
    const QString foto = qEnvironmentVariable("INCASSI_FOTO");
    if (!foto.isEmpty()) n->grab().save(QDir(foto).filePath("nota-locale.png"));
    ui.rispondi(Risposta::Si);
    QTest::mouseClick(n->findChild<QPushButton*>(QStringLiteral("CmdSalva")), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w->findChild<VistaNota*>(), nullptr);
    EXPECT_EQ(t.scalar("SELECT NotaLocale FROM notalocale WHERE codlocale='BAR1'").toString(),
              QStringLiteral("Chiuso il lunedi"));
    EXPECT_EQ(w->modello()[QStringLiteral("CmNota")].backColor(), colori::Verde);
}

// F2 on the row of an island machine opens its meters: a reading typed
// gives its partial at once, and on "Chiudi" the row takes the totals.
TEST_F(Vista, F2OnAnIslandOpensItsMeters) {
    test::InserisciMacchina(t, 5, "BAR1", 13, "2026-03-13", 0, 0);
    t.run(
        {"INSERT INTO magschedecontatori (id, linkscheda, NumeroContatore, tipocontatore, "
         "moltiplicatore, contatore) VALUES (71, 5, 1, 'IN', 0.1, 1000), (72, 5, 2, 'OUT', "
         "0.1, 400)"});
    auto w = apri();
    w->azione(QStringLiteral("Nuovo"))->trigger();
    w->modello()["txtDataRegistrazione"].setValue(QDate(2026, 3, 20));
    ASSERT_TRUE(w->modello().casella("txeCodCausale").ImpostaCodice("INC"));
    ASSERT_TRUE(w->modello().casella("txeCodLocale").ImpostaCodice("BAR1"));
    ui.rispondiElenco("5|");
    w->azione(QStringLiteral("CaricaApparecchi"))->trigger();
    GrigliaRecordset* g = w->grigliaIncassi();
    ASSERT_EQ(g->modello().rowCount(), 1);
    w->activateWindow();
    g->setFocus();
    g->setCurrentIndex(g->modello().index(0, 1));
    bool visto = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<DialogoContatoriIsole*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        ModelloRecordset& m = d->griglia()->modello();
        const int lettura = m.colonnaDi(QStringLiteral("ContatoreAttuale"));
        ASSERT_GE(lettura, 0);
        EXPECT_LT(m.colonnaDi(QStringLiteral("linkscheda")), 0);  // technical: hidden
        m.setData(m.index(0, lettura), QStringLiteral("1250"), Qt::EditRole);
        EXPECT_EQ(
            m.data(m.index(0, m.colonnaDi(QStringLiteral("Parziale"))), Qt::DisplayRole).toString(),
            QStringLiteral("25,00"));
        const QString foto = qEnvironmentVariable("INCASSI_FOTO");
        if (!foto.isEmpty()) d->grab().save(QDir(foto).filePath("contatori-isola.png"));
        visto = true;
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cmdChiudi")), Qt::LeftButton);
    });
    QTest::keyClick(g, Qt::Key_F2);
    EXPECT_TRUE(visto);
    EXPECT_DOUBLE_EQ(w->modello().righeIncassi()->Value(QStringLiteral("parzialeIn")).toDouble(),
                     25);
}

}  // namespace
}  // namespace incassi::ui
