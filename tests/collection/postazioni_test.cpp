// Two workstations on one database: two connections, each with its own
// window, interleaving new collections, corrections and deletions of the same
// venue and document in every order. Whatever the order, the books stay whole
// and no takings are booked twice: the money a machine's documents book is
// exactly the advance of its meters.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <utility>

#include "collection/frmincassi.h"
#include "host/connessione.h"
#include "schema/controllo.h"
#include "support/anagrafiche.h"
#include "support/guasti.h"
#include "support/incassi.h"
#include "values/values.h"
#include "window/scriptedui.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

const QDate kGiorno = test::kGiornoIncassi;

// The scripted answers, and something the other workstation does while a
// question of this one is open.
class UiConAttesa : public ScriptedUi {
  public:
    std::function<void()> mentreChiede;
    Risposta Messaggio(const QString& testo, const QString& titolo, Icona icona, Pulsanti pulsanti,
                       std::optional<Risposta> predefinita) override {
        if (pulsanti != Pulsanti::Ok && mentreChiede) std::exchange(mentreChiede, {})();
        return ScriptedUi::Messaggio(testo, titolo, icona, pulsanti, predefinita);
    }
};

// A workstation: its own connection, settings and window.
struct Postazione {
    Postazione(const QString& file, const QString& cartella, const QString& nome) {
        host = std::make_unique<SqlHost>(
            ApriDatabase(file),
            std::make_unique<SettingsStore>(QDir(cartella).filePath(nome + ".ini")), cartella);
        host->setOperatore({nome, Diritti::Tutti()});
        f = test::ApriIncassi(*host, ui, prop);
    }
    // Shows document `id` in the window.
    void mostra(qlonglong id) {
        f->documenti()->Requery();
        ASSERT_TRUE(f->documenti()->Find(QStringLiteral("id=%1").arg(id)));
        f->MostraTestata();
    }
    void nuovoIncasso() {
        test::NuovoIncasso(*f, ui);
        ASSERT_EQ(f->righeIncassi()->RecordCount(), 2);
    }
    std::unique_ptr<SqlHost> host;
    UiConAttesa ui;
    ProprietaIngresso prop;
    std::unique_ptr<FrmIncassi> f;
};

class Postazioni : public ::testing::Test {
  protected:
    void SetUp() override {
        test::PreparaLocaleConAperti(t);
        a = std::make_unique<Postazione>(file(), t.folder(), "ANNA");
        b = std::make_unique<Postazione>(file(), t.folder(), "BRUNO");
    }
    QString file() const { return t.dove(); }

    // The money a machine's collections book is the advance of its meters.
    static void nessunIncassoDoppio(Database& db) {
        auto valore = [&](const QString& sql) { return db.query(sql).scalar().toDouble(); };
        for (int scheda : {1, 2}) {
            const double parziali =
                valore(QStringLiteral("select sum(ParzialeIn) from NoteIncassi i inner join "
                                      "NoteTeste t on t.id=i.IdTesta where t.CodCausale='INC6' "
                                      "and i.linkscheda=%1")
                           .arg(scheda));
            const double avanzamento =
                valore(QStringLiteral("select cntotin from MagSchede where id=%1").arg(scheda)) -
                (scheda == 1 ? 1000 : 5000);
            EXPECT_DOUBLE_EQ(parziali, avanzamento) << "apparecchio " << scheda;
        }
        const schema::RapportoControllo r = schema::ControllaIntegrita(db);
        EXPECT_TRUE(r.ok()) << r.testo().toStdString();
    }

    TestDb t;
    std::unique_ptr<Postazione> a, b;
};

TEST_F(Postazioni, TheSameTakingsAreNeverBookedTwice) {
    a->nuovoIncasso();
    b->nuovoIncasso();
    ASSERT_TRUE(a->f->Salva());
    const QStringList prima = test::DumpDatabase(t.db());
    const QStringList finestra = test::DumpFinestra(b->f->finestra());

    // The second save stops, naming the machine; refusing the reload changes nothing.
    b->ui.rispondi(Risposta::No);
    EXPECT_FALSE(b->f->Salva());
    EXPECT_EQ(b->ui.messaggi().back().titolo, "Apparecchio modificato");
    EXPECT_TRUE(b->ui.messaggi().back().testo.contains("Gioco1 - INT1 - AAMS1"))
        << b->ui.messaggi().back().testo.toStdString();
    EXPECT_EQ(test::DumpDatabase(t.db()), prima);
    EXPECT_EQ(test::Differenza(finestra, test::DumpFinestra(b->f->finestra())), "");

    // Reloaded, each machine starts from the readings the other saved.
    b->ui.rispondi(Risposta::Si);
    EXPECT_FALSE(b->f->Salva());
    EXPECT_TRUE(b->ui.messaggi().back().testo.startsWith("Gli apparecchi "));
    ASSERT_TRUE(b->f->Salva());
    nessunIncassoDoppio(t.db());
}

// While one workstation confirms the deletion of the latest collection, the
// other saves a later one: the deletion, asked again under the lock, stops,
// and the later collection's cards are never put back under it.
TEST_F(Postazioni, ADeletionConfirmedWhileALaterDocumentIsSavedStops) {
    a->nuovoIncasso();
    ASSERT_TRUE(a->f->Salva());
    const qlonglong id = a->f->finestra()["EtiId"].caption().toLongLong();
    a->mostra(id);
    b->nuovoIncasso();
    (*b->f)["txtDataRegistrazione"].setValue(QDate(2026, 3, 21));
    a->ui.mentreChiede = [&] { EXPECT_TRUE(b->f->Salva()); };
    a->ui.rispondi(Risposta::Si);
    EXPECT_FALSE(a->f->Elimina());
    EXPECT_TRUE(a->ui.messaggi().back().testo.startsWith("Si puo eliminare solo l'ultima"));
    EXPECT_EQ(
        t.scalar(QStringLiteral("select count(*) from NoteTeste where id=%1").arg(id)).toInt(), 1);
    nessunIncassoDoppio(t.db());
}

TEST_F(Postazioni, EveryOrderOfTwoOperationsOnOneDocument) {
    a->nuovoIncasso();
    ASSERT_TRUE(a->f->Salva());
    const qlonglong documento = a->f->finestra()["EtiId"].caption().toLongLong();
    const QString modello = QDir(t.folder()).filePath("modello.sqlite");
    t.copia(modello);

    // Each operation in two halves: what a window does before the other
    // workstation acts, and the command that ends it.
    struct Operazione {
        const char* nome;
        std::function<void(Postazione&, qlonglong)> inizia;
        std::function<bool(Postazione&)> finisci;
    };
    const Operazione operazioni[] = {
        {"nuovo", [](Postazione& p, qlonglong) { p.nuovoIncasso(); },
         [](Postazione& p) {
             p.ui.rispondi(Risposta::No);  // no reload when the cards moved
             return p.f->Salva();
         }},
        {"correggi",
         [](Postazione& p, qlonglong id) {
             p.mostra(id);
             p.f->Modifica();
             auto righe = p.f->righeIncassi();
             righe->MoveFirst();
             const QVariant prima = righe->Value("ContatoreIn");
             righe->SetValue("ContatoreIn", Num(prima) + 50);
             p.f->CellaModificata("ContatoreIn", prima);
         },
         [](Postazione& p) { return p.f->Salva(); }},
        {"elimina", [](Postazione& p, qlonglong id) { p.mostra(id); },
         [](Postazione& p) {
             p.ui.rispondi(Risposta::Si);
             return p.f->Elimina();
         }},
    };
    int giro = 0;
    for (const Operazione& primo : operazioni) {
        for (const Operazione& secondo : operazioni) {
            SCOPED_TRACE(std::string(primo.nome) + " mentre " + secondo.nome);
            const QString copia =
                QDir(t.folder()).filePath(QStringLiteral("giro%1.sqlite").arg(++giro));
            ASSERT_TRUE(QFile::copy(modello, copia));
            Postazione x(copia, t.folder(), "ANNA"), y(copia, t.folder(), "BRUNO");
            Database& db = x.host->database();
            primo.inizia(x, documento);
            secondo.inizia(y, documento);
            const bool riuscitoSecondo = secondo.finisci(y);
            EXPECT_TRUE(riuscitoSecondo);
            const QStringList dopoSecondo = test::DumpDatabase(db);
            if (!primo.finisci(x)) {
                EXPECT_EQ(test::DumpDatabase(db), dopoSecondo);
            }
            nessunIncassoDoppio(db);
        }
    }
}

}  // namespace
