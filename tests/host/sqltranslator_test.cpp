#include <gtest/gtest.h>

#include <QDate>

#include "support/testdb.h"
#include "values/error.h"
#include "values/sqlquote.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

class ClassicSql : public ::testing::Test {
  protected:
    void SetUp() override {
        t.createDocumentTables();
        t.run({
            "INSERT INTO NoteTeste (id, CodLocale, CodCausale, DataRegistrazione, Chiuso, idOnda) "
            "VALUES "
            "(1, 'BAR1', 'INC6', '2026-03-06', 0, 0), (2, 'BAR1', 'ACC', '2026-03-07', 0, NULL), "
            "(3, 'bar1', 'inc6', '2026-03-07', 0, 0), (4, 'BAR2', 'REF', '2026-03-08', -1, 7), "
            "(5, 'O''HARA', 'INC', '2026-03-09', 0, 0)",
            "INSERT INTO NoteIncassi (id, IdTesta, LinkScheda, DataIncasso, Chiuso, acconti) "
            "VALUES "
            "(10, 2, 100, '2026-03-07', 0, 50), (11, 2, 101, '2026-03-07', 0, 20), "
            "(12, 4, 100, '2026-03-08', 0, 0), (13, 1, 100, '2026-03-06', 0, NULL)",
            "INSERT INTO NoteRighe (IdTesta, CodConto, CodLocale, Data, Dare, Avere) VALUES "
            "(1, '01.01.01', 'BAR1', '2026-03-06', 100, 0), (2, '01.01.01', 'BAR1', '2026-03-07', "
            "0, 30), "
            "(3, '01.01.01', 'BAR1', '2026-03-08', 5, 0), (3, '02.01.01', 'BAR1', '2026-03-08', 0, "
            "5)",
        });
    }
    std::vector<qlonglong> ids(const QString& sql) {
        std::vector<qlonglong> out;
        auto rs = t.host().OpenRecordSet(sql);
        for (; !rs->Eof(); rs->MoveNext())
            out.push_back(rs->Value("id").toLongLong());
        return out;
    }
    TestDb t;
};

TEST_F(ClassicSql, DateLiteralsCompareByDayInEveryFormat) {
    const std::vector<qlonglong> expected{2, 3};
    for (const char* lit : {"#03-07-2026#", "#03/07/2026#", "#2026-03-07#", "#3/7/2026#"}) {
        EXPECT_EQ(
            ids(QStringLiteral("select * from NoteTeste where DataRegistrazione=%1 order by id")
                    .arg(lit)),
            expected)
            << lit;
    }
    EXPECT_EQ(ids("select * from noteteste where dataregistrazione<=#03-07-2026# order by id"),
              (std::vector<qlonglong>{1, 2, 3}));
    EXPECT_EQ(ids("select * from noteteste where dataregistrazione>#03/07/2026# order by id"),
              (std::vector<qlonglong>{4, 5}));
}

TEST_F(ClassicSql, TextComparesWithoutRegardToCase) {
    EXPECT_EQ(ids("select * from noteteste where codcausale='inc6' order by id"),
              (std::vector<qlonglong>{1, 3}));
    EXPECT_EQ(ids("select * from noteteste where CodCausale in ('Inc6','fur') and codlocale='BAR1' "
                  "order by id"),
              (std::vector<qlonglong>{1, 3}));
    EXPECT_EQ(ids("select * from noteteste where codlocale like 'bar%' order by id"),
              (std::vector<qlonglong>{1, 2, 3, 4}));
    EXPECT_EQ(ids("select * from noteteste where codlocale='" + sql::Raddoppia("o'hara") + "'"),
              (std::vector<qlonglong>{5}));
}

TEST_F(ClassicSql, TopKeepsTheFirstRowsInOrder) {
    EXPECT_EQ(ids("select top 2 * from noteteste order by DataRegistrazione desc, id desc"),
              (std::vector<qlonglong>{5, 4}));
    EXPECT_EQ(ids("SELECT TOP 1 NoteIncassi.*, NoteTeste.CodCausale FROM NoteIncassi INNER JOIN "
                  "NoteTeste ON "
                  "NoteIncassi.IdTesta = NoteTeste.id where NoteIncassi.Linkscheda=100 and "
                  "NoteTeste.CodCausale in ('INC6','REF') order by NoteIncassi.dataIncasso desc"),
              (std::vector<qlonglong>{12}));
    // A top inside a sub-select limits only the sub-select.
    EXPECT_EQ(ids("select * from noteteste where id in (select top 1 id from noteteste order by id "
                  "desc)"),
              (std::vector<qlonglong>{5}));
}

TEST_F(ClassicSql, QualifiedSetUpdatesTheRow) {
    // Closing of an advance, as the collection writes it.
    const int n = t.host().Execute(
        "UPDATE NoteIncassi SET NoteIncassi.Chiuso=-1, NoteIncassi.IdChiusura=9  WHERE "
        "(((NoteIncassi.LinkScheda)=100) AND ((NoteIncassi.Chiuso)=0) AND "
        "((NoteIncassi.DataIncasso)<=#03/07/2026#) "
        "AND (IdTesta IN(SELECT id FROM NoteTeste WHERE CodCausale='ACC')));");
    EXPECT_EQ(n, 1);
    EXPECT_EQ(t.scalar("select IdChiusura from NoteIncassi where id=10").toInt(), 9);
    EXPECT_EQ(t.scalar("select Chiuso from NoteIncassi where id=10").toInt(), -1);
    EXPECT_EQ(t.scalar("select Chiuso from NoteIncassi where id=11").toInt(), 0);
}

TEST_F(ClassicSql, DeleteStarAndBooleans) {
    t.host().Execute("delete * from noterighe where idtesta=3 and codConto like '02.%'");
    EXPECT_EQ(t.scalar("select count(*) from noterighe where idtesta=3").toInt(), 1);
    EXPECT_EQ(ids("select * from noteteste where chiuso=true"), (std::vector<qlonglong>{4}));
    EXPECT_EQ(ids("select * from noteteste where chiuso<>0"), (std::vector<qlonglong>{4}));
    EXPECT_EQ(
        ids("select * from noteteste where not (idOnda is null) and chiuso=False order by id"),
        (std::vector<qlonglong>{1, 3, 5}));
}

TEST_F(ClassicSql, AggregatesWithAliasesAndSubSelects) {
    auto rs = t.host().OpenRecordSet(
        "SELECT Sum(NoteRighe.Dare) AS SommaDiDare, Sum(NoteRighe.Avere) AS SommaDiAvere From "
        "NoteRighe  "
        "WHERE (((NoteRighe.CodConto)='01.01.01') AND ((NoteRighe.codLocale)='bar1') and "
        "((noterighe.data)<=#03/07/2026#));");
    EXPECT_DOUBLE_EQ(rs->Value("sommadidare").toDouble(), 100.0);
    EXPECT_DOUBLE_EQ(rs->Value("SommaDiAvere").toDouble(), 30.0);
    EXPECT_FALSE(rs->updatable());

    // The recomputation of the advance headers' flag from their rows.
    t.host().Execute(
        "UPDATE NoteTeste SET Chiuso=1 WHERE id IN ( SELECT tmp.id FROM ( SELECT "
        "nt.id,COUNT(ni.id) "
        "AS TotRighe,(SELECT COUNT(id) FROM NoteIncassi WHERE idTesta=nt.id AND Chiuso<>0) AS "
        "RigheChiuse FROM NoteTeste nt INNER JOIN NoteIncassi ni ON (nt.id=ni.idTesta) GROUP BY "
        "nt.id,nt.CodCausale,nt.Chiuso HAVING nt.CodCausale='ACC' AND nt.Chiuso=0 ) tmp WHERE "
        "tmp.TotRighe=tmp.RigheChiuse)");
    EXPECT_EQ(t.scalar("select chiuso from noteteste where id=2").toInt(), 0);
    t.host().Execute("update noteincassi set chiuso=-1 where idtesta=2");
    t.host().Execute(
        "UPDATE NoteTeste SET Chiuso=1 WHERE id IN ( SELECT tmp.id FROM ( SELECT "
        "nt.id,COUNT(ni.id) "
        "AS TotRighe,(SELECT COUNT(id) FROM NoteIncassi WHERE idTesta=nt.id AND Chiuso<>0) AS "
        "RigheChiuse FROM NoteTeste nt INNER JOIN NoteIncassi ni ON (nt.id=ni.idTesta) GROUP BY "
        "nt.id,nt.CodCausale,nt.Chiuso HAVING nt.CodCausale='acc' AND nt.Chiuso=0 ) tmp WHERE "
        "tmp.TotRighe=tmp.RigheChiuse)");
    EXPECT_EQ(t.scalar("select chiuso from noteteste where id=2").toInt(), 1);
}

TEST_F(ClassicSql, NestedParenthesisedJoins) {
    t.run({"CREATE TABLE A (id INTEGER PRIMARY KEY, b INTEGER)",
           "CREATE TABLE B (id INTEGER PRIMARY KEY, c INTEGER)",
           "CREATE TABLE C (id INTEGER PRIMARY KEY, nome VARCHAR(10) COLLATE NOCASE)",
           "INSERT INTO A VALUES (1, 10), (2, 20)", "INSERT INTO B VALUES (10, 100), (20, 200)",
           "INSERT INTO C VALUES (100, 'uno'), (200, 'due')"});
    auto rs = t.host().OpenRecordSet(
        "SELECT A.id, C.nome FROM ((A INNER JOIN B ON A.b = B.id) INNER JOIN C ON "
        "B.c = C.id) WHERE (((C.nome)='DUE')) order by A.id;");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Value("id").toInt(), 2);
}

TEST_F(ClassicSql, RefusesWhatItCannotTranslate) {
    const char* bad[] = {
        "select * from noteteste; drop table noteteste",
        "select * from noteteste -- comment",
        "select * from noteteste /* x */",
        "create table x (a integer)",
        "drop table noteteste",
        "select iif(chiuso, 1, 2) from noteteste",
        "select * from noteteste where dataregistrazione=#13-45-2026#",
        "select * from noteteste where codlocale='abc",
        "select top 5 percent * from noteteste",
        "select * from noteteste where (id=1",
        "select * from noteteste where id=@x",
    };
    for (const char* sql : bad) {
        try {
            t.host().OpenRecordSet(sql);
            ADD_FAILURE() << "accepted: " << sql;
        } catch (const Errore& e) {
            EXPECT_TRUE(e.testo().contains(QString::fromUtf8(sql).left(20)))
                << e.testo().toStdString();
        }
    }
    EXPECT_EQ(t.scalar("select count(*) from noteteste").toInt(), 5);
}

TEST_F(ClassicSql, QuotedValuesNeverChangeTheStatement) {
    const QString attempts[] = {
        "x'; delete * from noteteste;--", "' or '1'='1", "a'')--",
        "\\'; drop table noterighe;",     "O'HARA",
    };
    for (const QString& value : attempts) {
        t.host().Execute("update noteteste set Descrizione=" + sql::Testo(value) + " where id=1");
        EXPECT_EQ(t.scalar("select Descrizione from noteteste where id=1").toString(), value);
        auto rs =
            t.host().OpenRecordSet("select * from noteteste where codlocale=" + sql::Testo(value));
        EXPECT_EQ(rs->RecordCount(), value == "O'HARA" ? 1 : 0) << value.toStdString();
    }
    EXPECT_EQ(t.scalar("select count(*) from noteteste").toInt(), 5);
    EXPECT_EQ(t.scalar("select count(*) from noterighe").toInt(), 4);
    EXPECT_EQ(t.host().Campo("NoteTeste", "codlocale"), "CodLocale");
    EXPECT_THROW(t.host().Campo("NoteTeste", "CodLocale like '%' or 1=1 --"), Errore);
    EXPECT_THROW(t.host().Campo("NoteTeste", "Inesistente"), Errore);
}

TEST_F(ClassicSql, SameShapeReusesTheTranslation) {
    auto& tr = t.db().translator();
    tr.clear();
    const auto before = tr.stats();
    for (int id = 1; id <= 5; ++id)
        t.scalar(QStringLiteral("select codlocale from noteteste where id=%1").arg(id));
    EXPECT_EQ(tr.stats().misses - before.misses, 1);
    EXPECT_EQ(tr.stats().shapeHits - before.shapeHits, 4);
    EXPECT_EQ(t.scalar("select codlocale from noteteste where id=5").toString(), "O'HARA");
    EXPECT_EQ(tr.stats().exactHits - before.exactHits, 1);
}

}  // namespace

namespace {

// A lone UTF-16 surrogate (half of a character, as a broken paste can leave)
// is stored as the replacement character: the characters after it stay.
TEST(TestoNelDatabase, ALoneSurrogateNeverSwallowsTheNextCharacter) {
    TestDb t;
    t.createDocumentTables();
    const QString alta = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("bc");
    const QString bassa = QStringLiteral("a") + QChar(0xDC00) + QStringLiteral("bc");
    const QString coppia =
        QStringLiteral("a") + QChar(0xD83D) + QChar(0xDE00) + QStringLiteral("bc");
    int id = 0;
    for (const QString& testo : {alta, bassa, coppia}) {
        auto rs = t.host().OpenRecordSet("select * from NoteTeste where id=-1");
        rs->AddNew();
        rs->SetValue("id", ++id);
        rs->SetValue("Descrizione", testo);
        rs->Update();
        const QString letto =
            t.scalar(QStringLiteral("select Descrizione from NoteTeste where id=%1").arg(id))
                .toString();
        EXPECT_TRUE(letto.endsWith("bc")) << letto.toStdString();
        EXPECT_EQ(letto.size(), testo.size());
        EXPECT_EQ(t.scalar("select count(*) from NoteTeste where Descrizione like '%bc'").toInt(),
                  id);
        // A literal in a statement keeps what follows the half character too.
        EXPECT_EQ(t.scalar(QStringLiteral("select max(id) from NoteTeste where Descrizione = '%1'")
                               .arg(QString(testo).replace(u'\'', QStringLiteral("''"))))
                      .toInt(),
                  id);
    }
    EXPECT_EQ(t.scalar("select Descrizione from NoteTeste where id=3").toString(), coppia);
}

}  // namespace

namespace {

TEST(TestoNelDatabase, LikeTakesAnEscapeCharacter) {
    TestDb t;
    t.createDocumentTables();
    t.run(
        {"INSERT INTO NoteTeste (id, Descrizione) VALUES (1, 'sconto 10%'), (2, 'sconto 100'), "
         "(3, 'a_b'), (4, 'axb')"});
    EXPECT_EQ(t.scalar("select count(*) from NoteTeste where Descrizione like '%10!%%' escape '!'")
                  .toInt(),
              1);
    EXPECT_EQ(t.scalar("select id from NoteTeste where Descrizione like 'a!_b' escape '!'").toInt(),
              3);
}

}  // namespace
