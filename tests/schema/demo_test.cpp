#include <gtest/gtest.h>

#include "host/database.h"
#include "schema/controllo.h"
#include "schema/creazione.h"
#include "schema/dati_iniziali.h"
#include "schema/demo.h"
#include "schema/generatore.h"
#include "support/testdb.h"

using namespace incassi;
using namespace incassi::schema;
using incassi::test::TestDb;

namespace {

// A Wednesday: the next collection is Monday 9 March, the last one 2 March.
const QDate kOggi(2026, 3, 4);

class Demo : public ::testing::Test {
  protected:
    void SetUp() override {
        CreaSchema(t.db());
        CaricaDatiIniziali(t.db());
        CaricaDemo(t.db(), kOggi);
    }
    qint64 Conta(const QString& sql, const std::vector<QVariant>& valori = {}) {
        return t.db().queryNative(sql, valori).scalar().toLongLong();
    }
    TestDb t;
};

TEST_F(Demo, PassesTheIntegrityCheck) {
    const RapportoControllo r = ControllaIntegrita(t.db());
    EXPECT_TRUE(r.ok()) << r.testo().toStdString();
    EXPECT_GT(r.documenti, 900);
    // Every row has exactly one non-negative side.
    EXPECT_EQ(Conta("SELECT count(*) FROM NoteRighe WHERE Dare < 0 OR Avere < 0 OR "
                    "(Dare <> 0) = (Avere <> 0)"),
              0);
}

struct Caso {
    const char* cosa;
    const char* sql;
    qint64 almeno;
};

TEST_F(Demo, HoldsTheCasesTheWindowsNeed) {
    const Caso casi[] = {
        {"two companies", "SELECT count(*) FROM anagraficaaziende", 2},
        {"collectors", "SELECT count(*) FROM anagraficaoperatori WHERE mansione='Esattore'", 2},
        {"agents", "SELECT count(*) FROM anagraficaoperatori WHERE mansione='Agente'", 1},
        {"administrator",
         "SELECT count(*) FROM operatori WHERE codiceUtente='admin' AND accessocompleto=-1 "
         "AND admin=-1 AND cancellazione=-1 AND inserimento=-1 AND modifica=-1",
         1},
        {"clerk of one company",
         "SELECT count(*) FROM operatori WHERE accessocompleto=0 AND codiceditta='AZ02'", 1},
        {"user without delete right", "SELECT count(*) FROM operatori WHERE cancellazione=0", 1},
        {"about twelve venues", "SELECT count(*) FROM AnagraficaLocali", 12},
        {"suspended venue", "SELECT count(*) FROM AnagraficaLocali WHERE sospeso=-1", 1},
        {"third-manager venue with contracts",
         "SELECT count(*) FROM LocaliConcessionari lc JOIN tipocontratto tc ON "
         "tc.codConcessionario=lc.CodiceConcessionario AND tc.contratto=lc.contratto "
         "WHERE lc.TerzoGestore=-1 AND tc.PercentualeComodato>0",
         2},
        {"change machine placed in a venue",
         "SELECT count(*) FROM MagSchede s JOIN MagProdottoDistinta d ON d.linkScheda=s.id "
         "AND d.TipoArticolo=1 JOIN MagProdottoFinito p ON p.id=d.IdProdottoFinito "
         "JOIN MagAnagArticoli a ON a.CodArticolo=p.CodArticolo AND a.TipoArticolo=4 "
         "WHERE s.TipologiaIncasso=2 AND a.CatApparecchio='CAMB'",
         1},
        {"island with its meters",
         "SELECT count(*) FROM magschedecontatori c JOIN MagSchede s ON s.id=c.linkscheda "
         "WHERE s.TipologiaIncasso=13",
         4},
        {"island meters of past collections",
         "SELECT count(DISTINCT IdTesta) FROM NoteIncassiContatori WHERE IdTesta>0", 40},
        {"about forty machines", "SELECT count(*) FROM MagSchede", 38},
        {"cash-box machines", "SELECT count(*) FROM MagSchede WHERE TipologiaIncasso=0", 3},
        {"cabinets", "SELECT count(*) FROM MagProdottoDistinta WHERE TipoArticolo=2", 5},
        {"split of its own", "SELECT count(*) FROM PercentualiApparecchi", 1},
        {"holders with prefixes",
         "SELECT count(*) FROM anagraficaconcessionari c JOIN AnagraficaPianoConti p ON "
         "p.CodiceConto=c.CodiceConto || '.04'",
         2},
        {"advances", "SELECT count(*) FROM NoteTeste WHERE CodCausale='ACC'", 10},
        {"refills", "SELECT count(*) FROM NoteTeste WHERE CodCausale='REF'", 10},
        {"loans", "SELECT count(*) FROM NoteTeste WHERE CodCausale='PRE'", 3},
        {"remainders carried", "SELECT count(*) FROM NoteTeste WHERE Rimanenza>0", 3},
    };
    for (const Caso& c : casi)
        EXPECT_GE(Conta(QString::fromUtf8(c.sql)), c.almeno) << c.cosa;
}

TEST_F(Demo, ReadingsForTheNextCollectionOfEveryMeterMachine) {
    const QDate prossimo(2026, 3, 9);
    EXPECT_EQ(ProssimoLunedi(kOggi), prossimo);
    EXPECT_EQ(Conta("SELECT count(*) FROM MagSchede s WHERE s.TipologiaIncasso=6 AND NOT EXISTS "
                    "(SELECT 1 FROM contatori c WHERE c.codiceAAMS=s.CodiceAAMS AND "
                    "c.datacontatore=? AND c.cntotin>=s.cntotin AND c.cntotout>=s.cntotout)",
                    {t.db().dialect().toEngine(prossimo)}),
              0);
    EXPECT_GT(Conta("SELECT count(*) FROM contatori"), 30);
    // No document after today; the last collection is the Monday before.
    EXPECT_EQ(Conta("SELECT count(*) FROM NoteTeste WHERE DataRegistrazione>?",
                    {t.db().dialect().toEngine(kOggi)}),
              0);
    EXPECT_EQ(Conta("SELECT count(*) FROM NoteTeste WHERE CodCausale='INC6' AND "
                    "DataRegistrazione=?",
                    {t.db().dialect().toEngine(QDate(2026, 3, 2))}),
              Conta("SELECT count(*) FROM AnagraficaLocali WHERE sospeso=0"));
}

TEST_F(Demo, CardsContinueFromTheirLastCollection) {
    // Each machine row starts where the previous one of the machine ended...
    EXPECT_EQ(
        Conta("SELECT count(*) FROM NoteIncassi a JOIN NoteIncassi b ON "
              "b.linkscheda=a.linkscheda AND b.DataVecchioContatore=a.DataIncasso "
              "WHERE a.ContatoreIN IS NOT NULL AND b.ContatoreIN IS NOT NULL AND "
              "(b.VecchioContatoreIN<>a.ContatoreIN OR b.VecchioContatoreOut<>a.ContatoreOUT)"),
        0);
    // ...and the card holds the last one.
    EXPECT_EQ(Conta("SELECT count(*) FROM MagSchede s JOIN NoteIncassi i ON i.linkscheda=s.id "
                    "AND i.ContatoreIN IS NOT NULL AND i.DataIncasso=s.ultimoIncasso "
                    "WHERE i.ContatoreIN<>s.cntotin OR i.ContatoreOUT<>s.cntotout"),
              0);
    // (The hall's hopper counts since then are no collection.)
    EXPECT_EQ(Conta("SELECT count(*) FROM MagSchede s WHERE s.TipologiaIncasso<>2 AND "
                    "s.ultimoIncasso < (SELECT max(DataIncasso) FROM NoteIncassi i "
                    "WHERE i.linkscheda=s.id AND i.IdTesta NOT IN (SELECT id FROM NoteTeste "
                    "WHERE CodCausale='HOP'))"),
              0);
    EXPECT_EQ(Conta("SELECT count(*) FROM NoteTeste WHERE CodCausale='HOP' AND Chiuso=0"), 1);
}

TEST_F(Demo, AdvancesAndRefillsAreSettledByTheNextCollection) {
    EXPECT_EQ(Conta("SELECT count(*) FROM NoteIncassi i JOIN NoteTeste t ON t.id=i.IdTesta "
                    "JOIN NoteTeste c ON c.id=i.IdChiusura WHERE t.CodCausale IN ('ACC','REF') "
                    "AND (i.Chiuso<>-1 OR c.CodCausale<>'INC6' OR c.DataRegistrazione<"
                    "t.DataRegistrazione OR c.id<t.id)"),
              0);
    EXPECT_EQ(Conta("SELECT count(*) FROM NoteIncassi i JOIN NoteTeste t ON t.id=i.IdTesta "
                    "WHERE t.CodCausale IN ('ACC','REF') AND i.IdChiusura=0"),
              0);
    // What the collection booked as settled is what the advances held.
    EXPECT_EQ(Conta("SELECT count(*) FROM NoteTeste c WHERE c.CodCausale='INC6' AND "
                    "abs(c.Acconto - coalesce((SELECT sum(i.acconti) FROM NoteIncassi i JOIN "
                    "NoteTeste a ON a.id=i.IdTesta WHERE a.CodCausale='ACC' AND "
                    "i.IdChiusura=c.id),0)) >= 0.005"),
              0);
}

TEST_F(Demo, SameRowsEveryTime) {
    TestDb altro;
    CreaSchema(altro.db());
    CaricaDatiIniziali(altro.db());
    CaricaDemo(altro.db(), kOggi);
    const QString firma =
        QStringLiteral("SELECT count(*), sum(Dare), sum(Avere), sum(IdTesta) FROM NoteRighe");
    const auto a = t.db().queryNative(firma, {}).rows[0];
    const auto b = altro.db().queryNative(firma, {}).rows[0];
    EXPECT_EQ(a, b);
}

}  // namespace
