// Every statement of a save, a correction, a deletion and each wizard's
// generate fails in turn, as a full disk or a lost connection would make it:
// the database and the window stay exactly as they were, and trying again
// writes exactly what one good run writes.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>

#include "collection/frmincassi.h"
#include "schema/controllo.h"
#include "support/anagrafiche.h"
#include "support/guasti.h"
#include "support/incassi.h"
#include "window/scriptedui.h"
#include "wizards/fabbrica.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

const QDate kGiorno = test::kGiornoIncassi;

// One operation on a window brought to the point just before it.
struct Caso {
    std::function<bool()> opera;         // true when the operation went through
    std::function<QStringList()> stato;  // what the window holds
    std::shared_ptr<void> finestra;      // keeps the window alive
};
using Preparazione = std::function<Caso(TestDb&, ScriptedUi&)>;

class Guasti : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        cartella_ = new QTemporaryDir;
        TestDb t;
        test::PreparaLocaleConAperti(t);
        t.copia(modello());
    }
    static void TearDownTestSuite() {
        delete cartella_;
        cartella_ = nullptr;
    }
    static QString modello() { return cartella_->filePath(QStringLiteral("modello.sqlite")); }

    // The operation once without faults, then with the Nth statement failing
    // for every N it sends, each time on a fresh copy of the database.
    static void ProvaOgniIstruzione(const Preparazione& prepara) {
        QStringList riferimento;
        int totale = 0;
        {
            TestDb t(modello());
            ScriptedUi ui;
            Caso c = prepara(t, ui);
            test::Guasto g(t.db());
            ASSERT_TRUE(c.opera());
            totale = g.inviate();
            riferimento = test::DumpDatabase(t.db());
        }
        ASSERT_GT(totale, 0);
        for (int n = 1; n <= totale; ++n) {
            TestDb t(modello());
            ScriptedUi ui;
            Caso c = prepara(t, ui);
            const QStringList database = test::DumpDatabase(t.db());
            const QStringList finestra = c.stato();
            test::Guasto g(t.db());
            g.al(n);
            const bool riuscita = c.opera();
            EXPECT_TRUE(g.scattato()) << "istruzione " << n;
            g.al(0);
            if (riuscita) {
                // The fault came after the commit: the work stands, once.
                EXPECT_EQ(test::Differenza(riferimento, test::DumpDatabase(t.db())), "")
                    << "istruzione " << n;
                continue;
            }
            EXPECT_EQ(test::Differenza(database, test::DumpDatabase(t.db())), "")
                << "istruzione " << n;
            EXPECT_EQ(test::Differenza(finestra, c.stato()), "") << "istruzione " << n;
            EXPECT_TRUE(c.opera()) << "istruzione " << n;
            // A server's counters do not go back with a rolled-back
            // transaction: there the retried work's ids may come later.
            if (!test::SuPostgres()) {
                EXPECT_EQ(test::Differenza(riferimento, test::DumpDatabase(t.db())), "")
                    << "istruzione " << n;
            }
        }
    }

    static std::shared_ptr<FrmIncassi> Incasso(TestDb& t, ScriptedUi& ui, ProprietaIngresso& p) {
        std::shared_ptr<FrmIncassi> f = test::ApriIncassi(t.host(), ui, p);
        test::NuovoIncasso(*f, ui);
        return f;
    }

    // How many statements a collection's save sends.
    static int IstruzioniDelSalvataggio() {
        TestDb t(modello());
        ScriptedUi ui;
        auto f = Incasso(t, ui, prop_);
        test::Guasto g(t.db());
        EXPECT_TRUE(f->Salva());
        return g.inviate();
    }

    // A collection saved with the server failing before statement n, for each n
    // of `quando` (`guasto` makes the failure for the test's database): the
    // document is whole or absent, the books are sound, and the save tried again
    // goes through.
    static void SalvaConServerGuasto(const std::vector<int>& quando,
                                     const std::function<std::function<void()>(TestDb&)>& guasto) {
        auto documenti = [](TestDb& t) {
            return t.scalar("select count(*) from NoteTeste").toInt();
        };
        for (const int n : quando) {
            SCOPED_TRACE(n);
            TestDb t(modello());
            ScriptedUi ui;
            auto f = Incasso(t, ui, prop_);
            const int prima = documenti(t);
            const std::function<void()> fai = guasto(t);
            int inviate = 0;
            t.db().setOsservatore([&](const QString&, const std::vector<QVariant>&) {
                if (++inviate == n) fai();
            });
            const bool salvato = f->Salva();
            t.db().setOsservatore({});
            test::DopoRiavvioDelServer();
            EXPECT_EQ(documenti(t), prima + (salvato ? 1 : 0));
            if (!salvato) {
                EXPECT_TRUE(ui.messaggi().back().testo.contains("interrotto"))
                    << ui.messaggi().back().testo.toStdString();
                EXPECT_TRUE(f->Salva());
                EXPECT_EQ(documenti(t), prima + 1);
            }
            const schema::RapportoControllo r = schema::ControllaIntegrita(t.db());
            EXPECT_TRUE(r.ok()) << r.testo().toStdString();
        }
    }

    static Caso SuIncassi(std::shared_ptr<FrmIncassi> f, std::function<bool()> opera) {
        return {std::move(opera), [f] { return test::DumpFinestra(f->finestra()); }, f};
    }

    static inline QTemporaryDir* cartella_ = nullptr;
    static inline ProprietaIngresso prop_;
};

TEST_F(Guasti, SaveOfANewCollection) {
    ProvaOgniIstruzione([](TestDb& t, ScriptedUi& ui) {
        auto f = Incasso(t, ui, prop_);
        return SuIncassi(f, [f] { return f->Salva(); });
    });
}

TEST_F(Guasti, CorrectionOfTheLatestCollection) {
    ProvaOgniIstruzione([](TestDb& t, ScriptedUi& ui) {
        auto f = Incasso(t, ui, prop_);
        EXPECT_TRUE(f->Salva());
        f->Modifica();
        auto righe = f->righeIncassi();
        righe->MoveFirst();
        const QVariant prima = righe->Value("ContatoreIn");
        righe->SetValue("ContatoreIn", 1650);
        f->CellaModificata("ContatoreIn", prima);
        return SuIncassi(f, [f] { return f->Salva(); });
    });
}

TEST_F(Guasti, DeletionOfTheLatestCollection) {
    ProvaOgniIstruzione([](TestDb& t, ScriptedUi& ui) {
        auto f = Incasso(t, ui, prop_);
        EXPECT_TRUE(f->Salva());
        return SuIncassi(f, [f, &ui] {
            ui.rispondi(Risposta::Si);
            return f->Elimina();
        });
    });
}

// The server goes away (its process ends) before one statement of a save,
// taken at intervals over the whole save.
TEST_F(Guasti, TheServerGoingAwayInTheMiddleOfASave) {
    if (!test::SuPostgres()) GTEST_SKIP() << "una connessione a un server";
    const int totale = IstruzioniDelSalvataggio();
    std::vector<int> quando;
    for (int n = 1; n <= totale; n += std::max(1, totale / 12))
        quando.push_back(n);
    SalvaConServerGuasto(quando, [](TestDb& t) {
        const QVariant pid = t.db().queryNative("SELECT pg_backend_pid()", {}).scalar();
        std::shared_ptr<Database> altra = t.altraConnessione();
        return [pid, altra] { altra->queryNative("SELECT pg_terminate_backend(?, 5000)", {pid}); };
    });
}

// The server stopped at once (pg_ctl stop -m immediate) and started again
// before one statement of a save, at its start, middle and end.
// INCASSI_TEST_PG_RIAVVIO is the command that does it (scripts/pg-test.sh
// sets it for its own server).
TEST_F(Guasti, TheServerStoppedAtOnceInTheMiddleOfASave) {
    const QByteArray riavvio = qgetenv("INCASSI_TEST_PG_RIAVVIO");
    if (!test::SuPostgres() || riavvio.isEmpty())
        GTEST_SKIP() << "un server che la prova può fermare";
    const int totale = IstruzioniDelSalvataggio();
    SalvaConServerGuasto({2, totale / 2, totale - 1}, [&](TestDb&) {
        return [&] { EXPECT_EQ(std::system(riavvio.constData()), 0); };
    });
}

TEST_F(Guasti, GenerateOfEachCashWizard) {
    struct {
        const char* finestra;
        std::function<void(WizardCassa&)> compila;
    } wizard[] = {
        {"FrmWizardPre",
         [](WizardCassa& w) {
             EXPECT_TRUE(w.casella("txeCodiceLocale").ImpostaCodice("BAR1"));
             w.Avanti();
             w.finestra()["txtDenaro"].setText("150");
             w.DenaroLasciato();
             w.Avanti();
         }},
        {"FrmWizardRimanenze",
         [](WizardCassa& w) {
             EXPECT_TRUE(w.casella("txeCodiceLocale").ImpostaCodice("BAR1"));
             w.Avanti();
             w.finestra()["txtDenaro"].setText("80");
             w.DenaroLasciato();
             w.Avanti();
         }},
        {"FrmVersamento",
         [](WizardCassa& w) {
             w.Avanti();
             EXPECT_TRUE(w.casella("txeDalConto").ImpostaCodice("01.01.01"));
             EXPECT_TRUE(w.casella("txeCassa").ImpostaCodice("01.01.02"));
             w.finestra()["txtDenaro"].setText("500");
             w.DenaroLasciato();
             w.Avanti();
         }},
    };
    for (const auto& caso : wizard) {
        SCOPED_TRACE(caso.finestra);
        ProvaOgniIstruzione([&caso](TestDb& t, ScriptedUi& ui) {
            std::shared_ptr<WizardCassa> w =
                CreaWizard(QLatin1String(caso.finestra), t.host(), ui, {}, RecordOperatore{});
            EXPECT_TRUE(w);
            w->orologio = [] { return kGiorno; };
            w->adesso = [] { return QDateTime(kGiorno, QTime(9, 0)); };
            w->Apri();
            caso.compila(*w);
            return Caso{[w] {
                            w->Avanti();
                            return w->idGenerato() > 0;
                        },
                        [w] { return test::DumpFinestra(w->finestra()); }, w};
        });
    }
}

}  // namespace
