#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "schema/controllo.h"
#include "schema/creazione.h"
#include "schema/dati_iniziali.h"
#include "schema/esamefile.h"
#include "support/testdb.h"

using namespace incassi;
using namespace incassi::schema;
using incassi::test::TestDb;

namespace {

class Controllo : public ::testing::Test {
  protected:
    void SetUp() override {
        CreaSchema(t.db());
        CaricaDatiIniziali(t.db());
        t.db().execute("insert into MagSchede (id, NomeGioco) values (7, 'Slot')");
    }
    // A document with its bookkeeping rows (account, debit, credit).
    void Documento(int id, std::initializer_list<std::tuple<const char*, double, double>> righe) {
        t.db().execute(
            QStringLiteral("insert into NoteTeste (id, CodCausale) values (%1, 'INC')").arg(id));
        for (const auto& [conto, dare, avere] : righe) {
            t.db().executeNative(
                "insert into NoteRighe (IdTesta, CodConto, Dare, Avere) values (?,?,?,?)",
                {id, QString::fromLatin1(conto), dare, avere});
        }
    }
    TestDb t;
};

TEST_F(Controllo, BalancedDocumentsPass) {
    // 0.1 + 0.2 is not 0.3 in binary; to the cent it is.
    Documento(1, {{"01.01.01", 0.1, 0}, {"01.01.02", 0.2, 0}, {"06.01.02", 0, 0.3}});
    Documento(2, {{"01.01.01", 1234.56, 0}, {"06.01.02", 0, 1234.56}});
    t.db().execute("insert into NoteIncassi (IdTesta, linkscheda) values (2, 7)");
    const RapportoControllo r = ControllaIntegrita(t.db());
    EXPECT_TRUE(r.ok()) << r.testo().toStdString();
    EXPECT_EQ(r.documenti, 2);
    EXPECT_EQ(r.righe, 5);
}

struct Guasto {
    const char* nome;
    QStringList istruzioni;
    TipoAnomalia tipo;
};

TEST_F(Controllo, EachFaultIsFoundAndNamed) {
    const Guasto guasti[] = {
        {"one cent off",
         {"insert into NoteTeste (id) values (10)",
          "insert into NoteRighe (IdTesta, CodConto, Dare) values (10, '01.01.01', 100.01)",
          "insert into NoteRighe (IdTesta, CodConto, Avere) values (10, '06.01.02', 100)"},
         TipoAnomalia::Sbilanciato},
        {"debit only",
         {"insert into NoteTeste (id) values (11)",
          "insert into NoteRighe (IdTesta, CodConto, Dare) values (11, '01.01.01', 5)"},
         TipoAnomalia::Sbilanciato},
        {"bookkeeping row without header",
         {"insert into NoteRighe (IdTesta, CodConto, Dare, Avere) values (99, '01.01.01', 0, 0)"},
         TipoAnomalia::RigaOrfana},
        {"machine row without header",
         {"insert into NoteIncassi (IdTesta, linkscheda) values (98, 7)"},
         TipoAnomalia::IncassoOrfano},
        {"unknown account",
         {"insert into NoteTeste (id) values (12)",
          "insert into NoteRighe (IdTesta, CodConto, Dare, Avere) values (12, '99.99.99', 0, 0)"},
         TipoAnomalia::ContoSconosciuto},
        {"missing account",
         {"insert into NoteTeste (id) values (13)",
          "insert into NoteRighe (IdTesta, Dare, Avere) values (13, 0, 0)"},
         TipoAnomalia::ContoSconosciuto},
        {"machine row without card",
         {"insert into NoteTeste (id) values (14)",
          "insert into NoteIncassi (IdTesta, linkscheda) values (14, 4242)"},
         TipoAnomalia::SchedaSconosciuta},
    };
    for (const Guasto& g : guasti) {
        TestDb fresh;
        CreaSchema(fresh.db());
        CaricaDatiIniziali(fresh.db());
        fresh.db().execute("insert into MagSchede (id) values (7)");
        fresh.run(g.istruzioni);
        const RapportoControllo r = ControllaIntegrita(fresh.db());
        EXPECT_FALSE(r.ok()) << g.nome;
        EXPECT_EQ(r.totale(), 1) << g.nome << "\n" << r.testo().toStdString();
        EXPECT_EQ(r.quante(g.tipo), 1) << g.nome;
    }
}

TEST_F(Controllo, AccountCodesMatchWithoutRegardToCase) {
    t.db().execute("insert into AnagraficaPianoConti (CodiceConto) values ('CASSA.A')");
    Documento(1, {{"cassa.a", 10, 0}, {"06.01.02", 0, 10}});
    EXPECT_TRUE(ControllaIntegrita(t.db()).ok());
}

TEST_F(Controllo, ReportListsAtMostFiftyOfAKindButCountsAll) {
    for (int i = 0; i < 60; ++i) {
        t.db().executeNative("insert into NoteIncassi (IdTesta, linkscheda) values (?, 7)",
                             {1000 + i});
    }
    const RapportoControllo r = ControllaIntegrita(t.db());
    EXPECT_EQ(r.quante(TipoAnomalia::IncassoOrfano), 60);
    EXPECT_EQ(r.anomalie.size(), size_t(RapportoControllo::kMassimoElencate));
    EXPECT_TRUE(r.testo().contains("e altre 10"));
}

// Bad input for the command line tool is recognised without writing.
TEST(EsameFile, RecognisesWhatAFileIs) {
    TestDb t;
    const QDir dir(t.folder());
    auto scrivi = [&](const QString& nome, const QByteArray& dati) {
        QFile f(dir.filePath(nome));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(dati);
        return dir.filePath(nome);
    };
    EXPECT_EQ(EsaminaFile(dir.filePath("manca/x.db")).stato, StatoFile::CartellaMancante);
    EXPECT_EQ(EsaminaFile(dir.filePath("nuovo.db")).stato, StatoFile::FileMancante);
    EXPECT_EQ(EsaminaFile(t.folder()).stato, StatoFile::Cartella);
    EXPECT_EQ(EsaminaFile(scrivi("vuoto.db", {})).stato, StatoFile::FileVuoto);

    const QString testo = scrivi("note.txt", "non sono un database\n");
    const EsameFile e = EsaminaFile(testo);
    EXPECT_EQ(e.stato, StatoFile::NonDatabase);
    EXPECT_TRUE(e.messaggio.contains("non è un database"));

    // The test database starts empty, then becomes ours.
    const QString nostro = dir.filePath("test.sqlite");
    EXPECT_EQ(EsaminaFile(nostro).stato, StatoFile::DatabaseVuoto);
    CreaSchema(t.db());
    const EsameFile n = EsaminaFile(nostro);
    EXPECT_EQ(n.stato, StatoFile::DatabaseIncassi);
    EXPECT_EQ(n.versione, kVersioneSchema);
}

TEST(EsameFile, ForeignDatabaseIsLeftByteForByte) {
    TestDb t;
    const QString altro = QDir(t.folder()).filePath("altro.db");
    {
        auto db = Database::OpenSqlite(altro);
        db->executeScript({"CREATE TABLE Clienti (id INTEGER PRIMARY KEY, nome TEXT)",
                           "PRAGMA journal_mode=DELETE"});
    }
    QFile f(altro);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray prima = f.readAll();
    f.close();

    const EsameFile e = EsaminaFile(altro);
    EXPECT_EQ(e.stato, StatoFile::DatabaseEstraneo);
    EXPECT_TRUE(e.messaggio.contains("altro programma"));

    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), prima);
    EXPECT_FALSE(QFile::exists(altro + "-wal"));
}

}  // namespace
