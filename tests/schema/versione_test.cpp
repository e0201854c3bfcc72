#include <gtest/gtest.h>

#include <QSet>

#include "schema/creazione.h"
#include "schema/dati_iniziali.h"
#include "support/testdb.h"
#include "values/error.h"

using namespace incassi;
using namespace incassi::schema;
using incassi::test::TestDb;

namespace {

// A small declaration whose version 2 adds a column, a table and an index.
std::vector<Tabella> DueVersioni() {
    return {
        {"Clienti",
         {Codice("Codice"), Testo("Nome"), Importo("Fido").dalla(2), Flag("Sospeso").dalla(2)},
         {Idx("Clienti_codice", {"Codice"}), Indice{"Clienti_nome", {"Nome"}, false, 2}}},
        {"Zone", {Codice("CodZona")}, {}, 2},
    };
}

bool HaIndice(TestDb& t, const QString& nome) {
    return t.scalar("select count(*) from sqlite_master where type='index' and name='" + nome + "'")
               .toInt() == 1;
}

TEST(SchemaVersion, OlderDatabaseIsUpgradedStepByStep) {
    SOLO_SQLITE("databases of older versions are SQLite files");
    TestDb t;
    const auto tabelle = DueVersioni();
    CreaSchema(t.db(), tabelle, 1);
    EXPECT_EQ(VersioneDatabase(t.db()), 1);
    EXPECT_EQ(t.db().column("Clienti", "Fido"), nullptr);
    EXPECT_FALSE(t.db().hasTable("Zone"));
    t.db().execute("insert into Clienti (Codice, Nome) values ('C1', 'Bar Roma')");

    AggiornaSchema(t.db(), tabelle, 2);
    EXPECT_EQ(VersioneDatabase(t.db()), 2);
    ASSERT_NE(t.db().column("Clienti", "Fido"), nullptr);
    EXPECT_TRUE(t.db().hasTable("Zone"));
    EXPECT_TRUE(HaIndice(t, "Clienti_nome"));
    // The row survives, and a flag added later reads 0, not Null.
    EXPECT_EQ(t.scalar("select Sospeso from Clienti where Codice='c1'").toInt(), 0);

    // A step run again (an interrupted upgrade retried) changes nothing.
    EseguiPasso(t.db(), tabelle, 2);
    EXPECT_EQ(t.scalar("select count(*) from Clienti").toInt(), 1);
    EXPECT_EQ(VersioneDatabase(t.db()), 2);
}

TEST(SchemaVersion, NewerDatabaseIsRefusedUntouched) {
    TestDb t;
    const auto tabelle = DueVersioni();
    CreaSchema(t.db(), tabelle, 2);
    try {
        AggiornaSchema(t.db(), tabelle, 1);
        FAIL() << "a newer database must be refused";
    } catch (const Errore& e) {
        EXPECT_TRUE(e.testo().contains("più recente")) << e.testo().toStdString();
    }
    EXPECT_EQ(VersioneDatabase(t.db()), 2);
}

TEST(SchemaVersion, ForeignDatabaseIsRefused) {
    TestDb t;
    t.run({"CREATE TABLE Fatture (id INTEGER PRIMARY KEY, numero INTEGER)"});
    EXPECT_THROW(PreparaSchema(t.db()), Errore);
    EXPECT_FALSE(t.db().hasTable("NoteTeste"));
}

TEST(SchemaVersion, FailedStepLeavesNothingBehind) {
    TestDb t;
    // A column declared twice (names compare without regard to case): the
    // second table fails, so the whole step rolls back, the first included.
    std::vector<Tabella> rotta = {
        {"Uno", {Codice("A")}, {Idx("Uno_a", {"A"})}},
        {"Due", {Codice("Modulo"), Codice("modulo")}, {}},
    };
    EXPECT_THROW(CreaSchema(t.db(), rotta, 1), Errore);
    EXPECT_TRUE(t.db().tables().isEmpty());
}

// Names the engine would reject, or silently skip (an index name taken twice
// is skipped by CREATE INDEX IF NOT EXISTS), are caught in the declaration.
TEST(Schema, DeclarationNamesAreUnique) {
    QSet<QString> tabelle, indici;
    for (const Tabella& t : Tabelle()) {
        EXPECT_FALSE(tabelle.contains(t.nome.toLower())) << t.nome.toStdString();
        tabelle.insert(t.nome.toLower());
        QSet<QString> colonne{QStringLiteral("id")};
        for (const Colonna& c : t.colonne) {
            EXPECT_FALSE(colonne.contains(c.nome.toLower()))
                << t.nome.toStdString() << "." << c.nome.toStdString();
            colonne.insert(c.nome.toLower());
            EXPECT_LE(c.versione, kVersioneSchema);
        }
        for (const Indice& i : t.indici) {
            EXPECT_FALSE(indici.contains(i.nome.toLower())) << i.nome.toStdString();
            indici.insert(i.nome.toLower());
            for (const QString& c : i.colonne)
                EXPECT_NE(t.colonna(c), nullptr) << i.nome.toStdString() << " " << c.toStdString();
        }
    }
}

TEST(SchemaVersion, EmptyDatabaseGetsSchemaAndSeed) {
    TestDb t;
    PreparaSchema(t.db());
    EXPECT_EQ(VersioneDatabase(t.db()), kVersioneSchema);
    EXPECT_GT(t.scalar("select count(*) from AnagraficaCausali").toInt(), 0);
    // Opening again is a no-op upgrade.
    PreparaSchema(t.db());
    EXPECT_EQ(t.scalar("select count(*) from TabAssociazioneConti").toInt(), 1);
}

TEST(Schema, TextComparesWithoutRegardToCase) {
    TestDb t;
    CreaSchema(t.db());
    t.db().execute("insert into NoteTeste (CodCausale, CodLocale) values ('INC6', 'Bar01')");
    t.db().execute(
        "insert into NoteRighe (IdTesta, CodConto, CodLocale, Dare) "
        "values (1, '01.01.01', 'BAR01', 10)");
    EXPECT_EQ(t.scalar("select count(*) from NoteTeste where CodCausale='inc6'").toInt(), 1);
    EXPECT_EQ(t.scalar("select count(*) from NoteTeste where codcausale in ('Inc6','FUR')").toInt(),
              1);
    EXPECT_EQ(t.scalar("select count(*) from NoteTeste t inner join NoteRighe r "
                       "on t.CodLocale = r.CodLocale where r.codlocale='bar01'")
                  .toInt(),
              1);
    // Unique codes are unique without regard to case too.
    t.db().execute("insert into AnagraficaCausali (codiceCausale) values ('ZZ')");
    EXPECT_THROW(t.db().execute("insert into AnagraficaCausali (codiceCausale) values ('zz')"),
                 Errore);
}

TEST(SeedData, EveryRoleNamesAnAccountOfTheChart) {
    TestDb t;
    CreaSchema(t.db());
    CaricaDatiIniziali(t.db());
    const auto ruoli = t.db().query("select * from TabAssociazioneConti");
    ASSERT_EQ(ruoli.count(), 1);
    ASSERT_EQ(ruoli.columns.size(), 18u);  // id and the seventeen roles
    for (size_t c = 1; c < ruoli.columns.size(); ++c) {
        const QString conto = ruoli.rows[0][c].toString();
        EXPECT_FALSE(conto.isEmpty()) << ruoli.columns[c].name.toStdString();
        EXPECT_EQ(
            t.scalar("select count(*) from AnagraficaPianoConti where CodiceConto='" + conto + "'")
                .toInt(),
            1)
            << ruoli.columns[c].name.toStdString();
    }
    EXPECT_EQ(t.scalar("select count(*) from AnagraficaPianoConti where "
                       "CodiceConto in ('20.01.01','20.01.02','20.01.03','20.01.04')")
                  .toInt(),
              4);
    EXPECT_GE(t.scalar("select count(*) from AnagraficaPianoConti where CodiceConto like "
                       "'01.01.%'")
                  .toInt(),
              3);
}

TEST(SeedData, CausalsTypesDefaultsAndTaxes) {
    TestDb t;
    CreaSchema(t.db());
    CaricaDatiIniziali(t.db());
    for (const char* c :
         {"INC", "INC6", "FUR", "CAM", "ACC", "ACL", "REF", "CH", "RH", "PRE", "CP", "HOP"}) {
        const auto r = t.db().query(QStringLiteral("select Descrizione, tipovideata from "
                                                   "AnagraficaCausali where codiceCausale='%1'")
                                        .arg(QString::fromLatin1(c).toLower()));
        ASSERT_EQ(r.count(), 1) << c;
        EXPECT_FALSE(r.rows[0][0].toString().isEmpty()) << c;
        EXPECT_FALSE(r.rows[0][1].isNull()) << c;
    }
    EXPECT_EQ(t.scalar("select count(*) from incassoTipologia where Codice in (0,3,4,10)").toInt(),
              4);
    EXPECT_EQ(t.scalar("select count(*) from incassoTipologia where Descrizione='Incasso Remoto'")
                  .toInt(),
              1);
    EXPECT_EQ(
        t.scalar("select valoreperc from DefaultIncassi where tipoincasso='Utile'").toDouble(),
        50.0);
    const auto tasse = t.db().query(
        "select percentualepreu, percentualeAAMS from anagraficaTasse "
        "where attiva<>0");
    ASSERT_EQ(tasse.count(), 1);
    EXPECT_DOUBLE_EQ(tasse.rows[0][0].toDouble(), 13.0);
    EXPECT_DOUBLE_EQ(tasse.rows[0][1].toDouble(), 0.8);
}

}  // namespace

namespace {

// Document numbers are never given twice: on a new database and on one
// upgraded from the first version, whose rows, ids and indexes stay.
TEST(SchemaVersion, DocumentNumbersAreNeverGivenTwice) {
    SOLO_SQLITE("the rebuilt key of an older file");
    for (int partenza : {kVersioneSchema, 1}) {
        SCOPED_TRACE(partenza);
        TestDb t;
        CreaSchema(t.db(), Tabelle(), partenza);
        t.run(
            {"INSERT INTO NoteTeste (id, CodCausale, Descrizione) VALUES (1, 'INC6', 'uno'), "
             "(2, 'ACC', 'due')",
             "INSERT INTO NoteRighe (id, IdTesta, CodConto, Dare) VALUES (7, 2, '01.01.01', 5)"});
        AggiornaSchema(t.db());
        EXPECT_EQ(VersioneDatabase(t.db()), kVersioneSchema);
        EXPECT_EQ(t.scalar("select Descrizione from NoteTeste where id=2").toString(), "due");
        EXPECT_EQ(t.scalar("select Versione from NoteTeste where id=2").toInt(), 0);
        EXPECT_TRUE(HaIndice(t, "NoteTeste_locale_causale_data"));
        EXPECT_TRUE(HaIndice(t, "NoteRighe_saldo"));
        for (const char* tabella : {"NoteTeste", "NoteRighe"}) {
            const QString nome = QLatin1String(tabella);
            const qlonglong ultimo = t.scalar("select max(id) from " + nome).toLongLong();
            t.run({"DELETE FROM " + nome + " WHERE id=" + QString::number(ultimo)});
            const qlonglong nuovo = t.db().insert(nome, {"CodLocale"}, {QVariant("BAR1")});
            EXPECT_GT(nuovo, ultimo) << tabella;
        }
        // Upgrading again changes nothing: no table is built anew.
        auto schema = [&] {
            QStringList out;
            for (const auto& r :
                 t.db().queryNative("select name, sql from sqlite_master order by name", {}).rows)
                out << r[0].toString() + u':' + r[1].toString();
            return out;
        };
        const QStringList prima = schema();
        EseguiPasso(t.db(), Tabelle(), kVersioneSchema);
        EXPECT_EQ(schema(), prima);
        EXPECT_EQ(t.scalar("select count(*) from NoteTeste").toInt(), 2);
    }
}

}  // namespace

namespace {

// A venue's notes become one on the upgrade that makes them unique: the
// newest stays, and a second note for the venue is refused from then on.
TEST(SchemaVersion, OneNotePerVenueKeepsTheNewest) {
    TestDb t;
    CreaSchema(t.db(), Tabelle(), 4);
    t.run(
        {"INSERT INTO notalocale (id, codlocale, NotaLocale) VALUES (1, 'L1', 'vecchia'), "
         "(2, 'L2', 'altra'), (3, 'l1', 'nuova')"});
    AggiornaSchema(t.db());
    EXPECT_EQ(t.scalar("SELECT count(*) FROM notalocale").toInt(), 2);
    EXPECT_EQ(t.scalar("SELECT NotaLocale FROM notalocale WHERE codlocale='L1'").toString(),
              "nuova");
    EXPECT_THROW(t.run({"INSERT INTO notalocale (codlocale, NotaLocale) VALUES ('L2', 'doppia')"}),
                 Errore);
}

// The index of open amounts made from version 3 to 5 gives way on the upgrade
// to the one that also holds the header.
TEST(SchemaVersion, TheOpenAmountsIndexGetsTheHeader) {
    TestDb t;
    CreaSchema(t.db(), Tabelle(), 5);
    t.run({"CREATE INDEX NoteIncassi_aperti ON NoteIncassi (linkscheda, Chiuso)"});
    const auto indici = [&] {
        const QString sql =
            test::SuPostgres()
                ? QStringLiteral("SELECT indexname FROM pg_indexes WHERE tablename='noteincassi'")
                : QStringLiteral(
                      "SELECT name FROM sqlite_master WHERE type='index' AND "
                      "tbl_name='NoteIncassi'");
        QStringList nomi;
        for (const auto& riga : t.db().queryNative(sql, {}).rows)
            nomi << riga[0].toString().toLower();
        return nomi;
    };
    EXPECT_TRUE(indici().contains("noteincassi_aperti"));
    AggiornaSchema(t.db());
    EXPECT_FALSE(indici().contains("noteincassi_aperti"));
    EXPECT_TRUE(indici().contains("noteincassi_aperti_testa"));
}

}  // namespace
