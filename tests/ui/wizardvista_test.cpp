#include "ui/wizardvista.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "entry/configura.h"
#include "schema/creazione.h"
#include "support/testdb.h"
#include "ui/casellaricerca.h"
#include "window/scriptedui.h"
#include "wizards/wizardvariazione.h"

namespace incassi::ui {
namespace {

void EliminaRimandati() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class WizardVista : public ::testing::Test {
  protected:
    void SetUp() override {
        schema::PreparaSchema(db.db());
        db.run({"INSERT INTO anagraficaaziende (CodiceAzienda, ordine) VALUES ('AZ1', 1)",
                "INSERT INTO AnagraficaLocali (CodLocale, Insegna, Citta, sospeso, esSedeVia) "
                "VALUES ('BAR1', 'Bar Sport', 'Roma', 0, 'Via Po')",
                "INSERT INTO NoteRighe (IdTesta, CodConto, CodLocale, Data, Dare, Avere, "
                "Descrizione) VALUES (0, '02.01.01', 'BAR1', '2026-01-10', 40, 0, 'Vecchio')"});
    }

    QPointer<VistaWizard> apri(const QString& codice) {
        entrata.setLanciatore(&registro);
        entrata.setApplicazione(&db.host());
        RegistraViste(registro, ui, [&](QWidget* w) { aperte << w; });
        entrata.setCodiceStampa(codice);
        entrata.Start();
        return aperte.isEmpty() ? nullptr : qobject_cast<VistaWizard*>(aperte.back().data());
    }

    template <typename T>
    T* figlio(QWidget* w, const char* nome) {
        return w->findChild<T*>(QLatin1String(nome));
    }

    // Saved for a look when INCASSI_FOTO names a folder.
    static void foto(QWidget* w, const QString& nome) {
        const QString cartella = qEnvironmentVariable("INCASSI_FOTO");
        if (!cartella.isEmpty()) w->grab().save(QDir(cartella).filePath(nome + ".png"));
    }

    test::TestDb db;
    ScriptedUi ui;
    configura entrata;
    RegistroFinestre registro{entrata};
    QList<QPointer<QWidget>> aperte;
};

// A wizard done from the keyboard: the focus starts on the venue, Enter goes
// forward and at last generates, Esc leaves without writing.
TEST_F(WizardVista, EnterGoesForwardAndEscLeaves) {
    QPointer<VistaWizard> w = apri(QStringLiteral("Prestito"));
    ASSERT_NE(w, nullptr);
    w->activateWindow();
    QCoreApplication::processEvents();
    auto* locale = figlio<WidgetRicerca>(w, "txeCodiceLocale");
    ASSERT_EQ(QApplication::focusWidget(), locale->riga());
    QTest::keyClicks(locale->riga(), QStringLiteral("bar1"));
    QTest::keyClick(locale->riga(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->modello().pagina(), 1);
    auto* denaro = figlio<QLineEdit>(w, "txtDenaro");
    denaro->setFocus();
    QTest::keyClicks(denaro, QStringLiteral("25"));
    QTest::keyClick(denaro, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->modello().pagina(), 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EliminaRimandati();
    EXPECT_TRUE(w.isNull() || !w->isVisible());
    EXPECT_EQ(db.scalar("select count(*) from NoteTeste").toInt(), 0);
}

// Going back and forth the wizard keeps its size and its place.
TEST_F(WizardVista, PagesKeepTheSizeAndThePlace) {
    QPointer<VistaWizard> w = apri(QStringLiteral("Prestito"));
    ASSERT_NE(w, nullptr);
    QCoreApplication::processEvents();
    const QRect prima = w->geometry();
    auto* locale = figlio<WidgetRicerca>(w, "txeCodiceLocale");
    locale->riga()->setText(QStringLiteral("bar1"));
    Q_EMIT locale->riga()->editingFinished();
    for (const char* pulsante : {"CmdAvanti", "CmdAvanti", "CmdIndietro", "CmdIndietro"}) {
        figlio<QPushButton>(w, pulsante)->click();
        QCoreApplication::processEvents();
        EXPECT_EQ(w->geometry(), prima) << pulsante << " to page " << w->modello().pagina();
    }
}

TEST_F(WizardVista, LoanWizardWalksItsPagesAndGenerates) {
    QPointer<VistaWizard> w = apri(QStringLiteral("Prestito"));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("..:: Variazione Prestito ::.."));
    EXPECT_EQ(w->timerChiusura().interval(), 3000);
    for (const auto& c : w->modello().finestra())
        EXPECT_NE(w->legame().widget(c->nome()), nullptr) << c->nome().toStdString();
    auto* frame0 = figlio<QGroupBox>(w, "Frame1_0");
    ASSERT_NE(frame0, nullptr);
    EXPECT_EQ(frame0->title(), QStringLiteral("Criteri per la generazione del prestito"));
    foto(w, QStringLiteral("prestito0"));

    auto* avanti = figlio<QPushButton>(w, "CmdAvanti");
    auto* locale = figlio<WidgetRicerca>(w, "txeCodiceLocale");
    locale->riga()->setText(QStringLiteral("bar1"));
    Q_EMIT locale->riga()->editingFinished();
    EXPECT_TRUE(figlio<QLabel>(w, "LabDatiLocale_0")->text().startsWith(u"Bar Sport\n"));

    avanti->click();
    EXPECT_TRUE(figlio<QGroupBox>(w, "Frame1_1")->isVisible());
    EXPECT_FALSE(frame0->isVisible());
    EXPECT_EQ(figlio<QLineEdit>(w, "SaldoOggi")->text(), QStringLiteral("40,00"));
    auto* denaro = figlio<QLineEdit>(w, "txtDenaro");
    denaro->setText(QStringLiteral("100"));
    Q_EMIT denaro->editingFinished();
    EXPECT_EQ(denaro->text(), QStringLiteral("€. 100,00"));
    foto(w, QStringLiteral("prestito1"));

    avanti->click();
    EXPECT_EQ(avanti->text(), QStringLiteral("&Genera"));
    EXPECT_EQ(figlio<QLineEdit>(w, "Saldo")->text(), QStringLiteral("140,00"));
    ASSERT_EQ(w->lista()->topLevelItemCount(), 1);
    EXPECT_EQ(w->lista()->topLevelItem(0)->text(1), QStringLiteral("Vecchio"));
    foto(w, QStringLiteral("prestito2"));

    avanti->click();
    EliminaRimandati();
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from NoteRighe")).toInt(), 3);
}

TEST_F(WizardVista, TransferWizardClosesOnTheHostsRequest) {
    QPointer<VistaWizard> w = apri(QStringLiteral("giroconto"));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("..:: Giroconto  ::.."));
    EXPECT_NE(figlio<WidgetRicerca>(w, "txeDalConto"), nullptr);
    EXPECT_EQ(figlio<WidgetRicerca>(w, "txeCodiceLocale"), nullptr);
    figlio<QPushButton>(w, "CmdAvanti")->click();
    foto(w, QStringLiteral("giroconto1"));
    w->controllaTimer();
    EliminaRimandati();
    ASSERT_FALSE(w.isNull());
    db.host().chiediChiusura();
    w->controllaTimer();
    EliminaRimandati();
    EXPECT_TRUE(w.isNull());
}

// The demonstration behind the pictures reaches the later pages of every
// wizard and writes nothing.
TEST_F(WizardVista, TheDemonstrationReachesEveryPage) {
    for (const char* nome : {"Prestito", "Rimanenza", "Giroconto"}) {
        for (const auto& [scenario, pagina] : {std::pair{"Pagina2", 1}, std::pair{"Pagina3", 2}}) {
            QPointer<VistaWizard> w = apri(QLatin1String(nome));
            ASSERT_NE(w, nullptr) << nome;
            EXPECT_TRUE(w->eseguiScenario(QLatin1String(scenario))) << nome << " " << scenario;
            EXPECT_EQ(w->modello().pagina(), pagina) << nome << " " << scenario;
            delete w.data();
        }
    }
    QPointer<VistaWizard> w = apri(QStringLiteral("Prestito"));
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->eseguiScenario(QStringLiteral("Pagina9")));
    delete w.data();
    EXPECT_EQ(db.scalar("select count(*) from NoteTeste").toInt(), 0);
}

}  // namespace
}  // namespace incassi::ui
