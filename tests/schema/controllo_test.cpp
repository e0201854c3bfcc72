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

// A sound header: the causal and the day, collected what its cash row took.
QString Testata(int id, const char* causale = "INC", double riscosso = 0) {
    return QStringLiteral(
               "insert into NoteTeste (id, CodCausale, DataRegistrazione, Riscosso) "
               "values (%1, '%2', '2026-03-20', %3)")
        .arg(id)
        .arg(QLatin1String(causale))
        .arg(riscosso);
}

class Controllo : public ::testing::Test {
  protected:
    void SetUp() override {
        CreaSchema(t.db());
        CaricaDatiIniziali(t.db());
        t.db().execute("insert into MagSchede (id, NomeGioco) values (7, 'Slot')");
    }
    // A collection with its bookkeeping rows (account, debit, credit).
    void Documento(int id, std::initializer_list<std::tuple<const char*, double, double>> righe) {
        double cassa = 0;
        for (const auto& [conto, dare, avere] : righe)
            if (QLatin1String(conto) == u"01.01.01") cassa += dare - avere;
        t.run({Testata(id, "INC", cassa)});
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
    t.db().execute("insert into NoteIncassi (IdTesta, linkscheda, Riga) values (2, 7, 1)");
    // A wizard's document numbers both its rows 1.
    t.run({Testata(3, "PRE"),
           "insert into NoteRighe (IdTesta, CodConto, Dare, Riga) values (3, '02.01.01', 5, 1)",
           "insert into NoteRighe (IdTesta, CodConto, Avere, Riga) values (3, '01.01.01', 5, 1)"});
    const RapportoControllo r = ControllaIntegrita(t.db());
    EXPECT_TRUE(r.ok()) << r.testo().toStdString();
    EXPECT_EQ(r.documenti, 3);
    EXPECT_EQ(r.righe, 7);
}

struct Rottura {
    const char* nome;
    QStringList istruzioni;
    TipoAnomalia tipo;
    const char* documento;  // what the finding must name
};

// Hand-broken databases: each fault is found once, of its kind, naming its document.
TEST_F(Controllo, EachFaultIsFoundAndNamed) {
    SOLO_SQLITE("faults that only a file without types can hold");
    const Rottura rotture[] = {
        {"one cent off",
         {Testata(10, "ACC"),
          "insert into NoteRighe (IdTesta, CodConto, Dare) values (10, '01.01.03', 100.01)",
          "insert into NoteRighe (IdTesta, CodConto, Avere) values (10, '06.01.02', 100)"},
         TipoAnomalia::Sbilanciato,
         "documento 10"},
        {"debit only",
         {Testata(11, "ACC"),
          "insert into NoteRighe (IdTesta, CodConto, Dare) values (11, '01.01.03', 5)"},
         TipoAnomalia::Sbilanciato,
         "documento 11"},
        {"collected is not the cash row",
         {Testata(15, "INC6", 50),
          "insert into NoteRighe (IdTesta, CodConto, Dare) values (15, '01.01.01', 40)",
          "insert into NoteRighe (IdTesta, CodConto, Avere) values (15, '06.01.02', 40)"},
         TipoAnomalia::TotaleDiverso,
         "documento 15"},
        {"bookkeeping row without header",
         {"insert into NoteRighe (IdTesta, CodConto, Dare, Avere) values (99, '01.01.01', 0, 0)"},
         TipoAnomalia::RigaOrfana,
         "documento 99"},
        {"machine row without header",
         {"insert into NoteIncassi (IdTesta, linkscheda) values (98, 7)"},
         TipoAnomalia::IncassoOrfano,
         "documento 98"},
        {"meter row without header",
         {"insert into MagSchedeContatori (id, linkscheda) values (3, 7)",
          "insert into NoteIncassiContatori (IdTesta, linkscheda, linkcontatore) values (97, 7, "
          "3)"},
         TipoAnomalia::ContatoreOrfano,
         "documento 97"},
        {"meter row without meter",
         {Testata(16),
          "insert into NoteIncassiContatori (IdTesta, linkscheda, linkcontatore) values (16, 7, "
          "3)"},
         TipoAnomalia::ContatoreOrfano,
         "documento 16"},
        {"advance settled by a missing document",
         {Testata(17, "ACC"),
          "insert into NoteIncassi (IdTesta, linkscheda, Riga, Chiuso, IdChiusura) values "
          "(17, 7, 1, -1, 555)"},
         TipoAnomalia::ChiusuraOrfana,
         "documento 555"},
        {"advance header settled by a missing document",
         {Testata(18, "ACL") + "", "update NoteTeste set idOnda=556, Chiuso=1 where id=18"},
         TipoAnomalia::ChiusuraOrfana,
         "documento 556"},
        {"unknown account",
         {Testata(12, "ACC"),
          "insert into NoteRighe (IdTesta, CodConto, Dare, Avere) values (12, '99.99.99', 0, 0)"},
         TipoAnomalia::ContoSconosciuto,
         "documento 12"},
        {"missing account",
         {Testata(13, "ACC"), "insert into NoteRighe (IdTesta, Dare, Avere) values (13, 0, 0)"},
         TipoAnomalia::ContoSconosciuto,
         "documento 13"},
        {"blank-padded account",
         {Testata(19, "ACC"),
          "insert into NoteRighe (IdTesta, CodConto, Dare, Avere) values (19, '01.01.03 ', 0, 0)"},
         TipoAnomalia::ContoSconosciuto,
         "documento 19"},
        {"machine row without card",
         {Testata(14), "insert into NoteIncassi (IdTesta, linkscheda) values (14, 4242)"},
         TipoAnomalia::SchedaSconosciuta,
         "documento 14"},
        {"unknown causal",
         {"insert into NoteTeste (id, CodCausale, DataRegistrazione) values (20, 'XYZ', "
          "'2026-03-20')"},
         TipoAnomalia::CausaleSconosciuta,
         "documento 20"},
        {"unknown venue",
         {Testata(21, "ACC"), "update NoteTeste set CodLocale='NESSUNO' where id=21"},
         TipoAnomalia::LocaleSconosciuto,
         "documento 21"},
        {"infinite amount",
         {Testata(22, "ACC"), "update NoteTeste set Acconto=9e999 where id=22"},
         TipoAnomalia::ImportoNonValido,
         "documento 22"},
        {"text in an amount of a row",
         {Testata(23, "ACC"),
          "insert into NoteIncassi (IdTesta, linkscheda, Riga, acconti) values (23, 7, 1, "
          "'tanti')"},
         TipoAnomalia::ImportoNonValido,
         "documento 23"},
        {"unreadable date",
         {Testata(24, "ACC"), "update NoteTeste set DataRegistrazione='31/02/2026' where id=24"},
         TipoAnomalia::DataNonValida,
         "documento 24"},
        {"a day that does not exist",
         {Testata(25, "ACC"), "update NoteTeste set DataRegistrazione='2026-02-31' where id=25"},
         TipoAnomalia::DataNonValida,
         "documento 25"},
        {"implausible year",
         {Testata(26, "ACC"),
          "insert into NoteIncassi (IdTesta, linkscheda, Riga, DataIncasso) values (26, 7, 1, "
          "'1899-12-30')"},
         TipoAnomalia::DataNonValida,
         "documento 26"},
        {"header without date",
         {Testata(27, "ACC"), "update NoteTeste set DataRegistrazione=NULL where id=27"},
         TipoAnomalia::DataNonValida,
         "documento 27"},
        {"one machine row number twice",
         {Testata(28),
          "insert into NoteIncassi (IdTesta, linkscheda, Riga) values (28, 7, 1), (28, 7, 1)"},
         TipoAnomalia::RigaDoppia,
         "documento 28"},
        {"one bookkeeping row number twice",
         {Testata(29, "ACC"),
          "insert into NoteRighe (IdTesta, CodConto, Riga) values (29, '01.01.03', 1), "
          "(29, '06.01.02', 1)"},
         TipoAnomalia::RigaDoppia,
         "documento 29"},
        {"a column missing",
         {"alter table NoteIncassi drop column PercScassettoSub"},
         TipoAnomalia::Schema,
         "NoteIncassi.PercScassettoSub"},
        {"an older schema",
         {"update SchemaVersione set versione=1"},
         TipoAnomalia::Schema,
         "versione 1"},
    };
    for (const Rottura& g : rotture) {
        SCOPED_TRACE(g.nome);
        TestDb fresh;
        CreaSchema(fresh.db());
        CaricaDatiIniziali(fresh.db());
        fresh.db().execute("insert into MagSchede (id) values (7)");
        fresh.run(g.istruzioni);
        const RapportoControllo r = ControllaIntegrita(fresh.db());
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.totale(), 1) << r.testo().toStdString();
        EXPECT_EQ(r.quante(g.tipo), 1) << r.testo().toStdString();
        ASSERT_FALSE(r.anomalie.empty());
        EXPECT_TRUE(r.anomalie.front().testo.contains(QLatin1String(g.documento)))
            << r.anomalie.front().testo.toStdString();
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

// A file whose pages are damaged is reported, never called sound; the check
// reads it without writing a byte.
TEST(ControlloFile, DamagedPagesAreReportedAndTheFileIsNotWritten) {
    TestDb t;
    const QString file = QDir(t.folder()).filePath("rotto.sqlite");
    {
        TestDb sano;
        CreaSchema(sano.db());
        CaricaDatiIniziali(sano.db());
        for (int i = 0; i < 300; ++i)
            sano.run({Testata(100 + i, "ACC")});
        sano.copia(file);
    }
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray dati = f.readAll();
    // Garbage over the middle pages, the header left alone.
    for (qsizetype i = dati.size() / 2; i < dati.size() / 2 + 8192; ++i)
        dati[i] = char(0x5A ^ (i * 31));
    f.seek(0);
    f.write(dati);
    f.close();

    auto db = Database::OpenSqlite(file, true);
    const RapportoControllo r = ControllaIntegrita(*db);
    EXPECT_FALSE(r.ok());
    EXPECT_GT(r.quante(TipoAnomalia::Motore) + r.quante(TipoAnomalia::ControlloFallito), 0)
        << r.testo().toStdString();
    db.reset();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), dati);
}

// A database of an older schema is reported as such, and left as it is: the
// check never upgrades.
TEST(ControlloFile, AnOlderSchemaIsReportedNotUpgraded) {
    TestDb t;
    const QString file = QDir(t.folder()).filePath("vecchio.sqlite");
    {
        TestDb vecchio;
        CreaSchema(vecchio.db(), Tabelle(), 1);
        CaricaDatiIniziali(vecchio.db());
        vecchio.copia(file);
    }
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray prima = f.readAll();
    f.close();
    {
        auto db = Database::OpenSqlite(file, true);
        const RapportoControllo r = ControllaIntegrita(*db);
        EXPECT_EQ(r.quante(TipoAnomalia::Schema), 1) << r.testo().toStdString();
        EXPECT_TRUE(r.testo().contains("versione 1")) << r.testo().toStdString();
        EXPECT_EQ(VersioneDatabase(*db), 1);
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), prima);
}

// Bad input for the command line tool is recognised without writing.
TEST(EsameFile, RecognisesWhatAFileIs) {
    SOLO_SQLITE("the kinds of file on disk");
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
