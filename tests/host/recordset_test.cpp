#include <gtest/gtest.h>

#include <QDate>

#include "support/testdb.h"
#include "values/error.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

class RecordSets : public ::testing::Test {
  protected:
    void SetUp() override {
        t.createDocumentTables();
        t.run(
            {"INSERT INTO NoteTeste (id, CodLocale, CodCausale, DataRegistrazione, Riscosso) "
             "VALUES "
             "(1, 'BAR1', 'INC6', '2026-03-06', 10.5), (2, 'BAR2', 'ACC', '2026-03-07', NULL), "
             "(3, 'bar1', 'inc6', '2026-03-08', 0), (4, 'BAR3', 'REF', NULL, 7)"});
    }
    TestDb t;
};

TEST_F(RecordSets, NavigationAndFieldsByAnyCase) {
    auto rs = t.host().OpenRecordSet("select * from noteteste order by id");
    EXPECT_EQ(rs->RecordCount(), 4);
    EXPECT_FALSE(rs->Bof());
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    EXPECT_EQ(rs->Value("CODLOCALE").toString(), "BAR1");
    EXPECT_EQ(rs->Value("dataregistrazione").toDate(), QDate(2026, 3, 6));
    EXPECT_DOUBLE_EQ(rs->Value("riscosso").toDouble(), 10.5);
    rs->MoveNext();
    EXPECT_TRUE(rs->Value("Riscosso").isNull());
    rs->MoveLast();
    EXPECT_EQ(rs->Value("id").toInt(), 4);
    EXPECT_TRUE(rs->Value("DataRegistrazione").isNull());
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
    EXPECT_EQ(rs->AbsolutePosition(), -1);
    EXPECT_THROW(rs->Value("id"), Errore);
    rs->MovePrevious();
    EXPECT_EQ(rs->Value("id").toInt(), 4);
    rs->MoveFirst();
    rs->MovePrevious();
    EXPECT_TRUE(rs->Bof());
    EXPECT_THROW(rs->Value("Inesistente"), Errore);

    auto empty = t.host().OpenRecordSet("select * from noteteste where id=-1");
    EXPECT_TRUE(empty->Eof());
    EXPECT_TRUE(empty->Bof());
    EXPECT_EQ(empty->RecordCount(), 0);
    EXPECT_EQ(empty->Field("CodLocale").maxLength, 20);
    EXPECT_EQ(empty->Field("DataRegistrazione").type, FieldType::Date);
}

TEST_F(RecordSets, FindAndFilterCriteria) {
    auto rs = t.host().OpenRecordSet("select * from noteteste order by id");
    struct Case {
        const char* criteria;
        std::vector<int> ids;
    } cases[] = {
        {"codlocale='bar1'", {1, 3}},
        {"CodLocale = 'BAR1' and codcausale='INC6'", {1, 3}},
        {"codcausale='ACC' or codcausale='ref'", {2, 4}},
        {"id>=2 and id<4", {2, 3}},
        {"riscosso>5", {1, 4}},
        {"DataRegistrazione=#03-07-2026#", {2}},
        {"DataRegistrazione>#2026-03-06# and DataRegistrazione<=#03/08/2026#", {2, 3}},
        {"DataRegistrazione=null", {4}},
        {"codlocale like 'bar%'", {1, 2, 3, 4}},
        {"codlocale like '*2'", {2}},
        {"(codlocale='bar1' or codlocale='bar2') and id<>1", {2, 3}},
        {"codlocale<>'BAR1'", {2, 4}},
        {"id=-1", {}},
    };
    for (const Case& c : cases) {
        rs->SetFilter(c.criteria);
        std::vector<int> got;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            got.push_back(rs->Value("id").toInt());
        EXPECT_EQ(got, c.ids) << c.criteria;
        EXPECT_EQ(rs->RecordCount(), int(c.ids.size())) << c.criteria;
    }
    rs->SetFilter("");
    EXPECT_EQ(rs->RecordCount(), 4);

    rs->MoveFirst();
    EXPECT_TRUE(rs->Find("codlocale='BAR1'"));
    EXPECT_EQ(rs->Value("id").toInt(), 1);  // the current row counts
    rs->MoveNext();
    EXPECT_TRUE(rs->Find("codlocale='BAR1'"));
    EXPECT_EQ(rs->Value("id").toInt(), 3);
    rs->MoveNext();
    EXPECT_FALSE(rs->Find("codlocale='BAR1'"));
    EXPECT_TRUE(rs->Eof());
    EXPECT_THROW(rs->Find("nessuno=1"), Errore);
    EXPECT_THROW(rs->SetFilter("id=1 and"), Errore);
    EXPECT_THROW(rs->SetFilter("id; drop"), Errore);
}

TEST_F(RecordSets, ImmediateEditsAndTheNewId) {
    auto rs = t.host().OpenRecordSet("select * from noteteste where id=-1");
    rs->AddNew();
    rs->SetValue("codlocale", "BAR9");
    rs->SetValue("DataRegistrazione", QDate(2026, 4, 1));
    rs->SetValue("Riscosso", "1.234,56");  // typed the Italian way
    rs->Update();
    const int id = rs->Value("id").toInt();
    EXPECT_GT(id, 4);
    EXPECT_EQ(rs->Value("Chiuso").toInt(), 0);  // the column's default shows after the insert
    EXPECT_EQ(
        t.scalar(QStringLiteral("select codlocale from noteteste where id=%1").arg(id)).toString(),
        "BAR9");
    EXPECT_DOUBLE_EQ(
        t.scalar(QStringLiteral("select riscosso from noteteste where id=%1").arg(id)).toDouble(),
        1234.56);

    auto one = t.host().OpenRecordSet("select * from noteteste where id=2");
    one->SetValue("Riscosso", "");
    one->SetValue("CodCausale", "INC");
    one->Update();
    EXPECT_TRUE(t.scalar("select riscosso from noteteste where id=2").isNull());
    EXPECT_EQ(t.scalar("select codcausale from noteteste where id=2").toString(), "INC");
    one->Delete();
    EXPECT_EQ(t.scalar("select count(*) from noteteste where id=2").toInt(), 0);

    EXPECT_THROW(one->SetValue("Riscosso", "abc"), Errore);
    auto again = t.host().OpenRecordSet("select * from noteteste where id=1");
    EXPECT_THROW(again->SetValue("Riscosso", "abc"), Errore);
    EXPECT_THROW(again->SetValue("CodCausale", QString(11, 'x')),
                 Errore);  // longer than the column
    again->SetValue("CodCausale", "FUR");
    again->CancelUpdate();
    EXPECT_EQ(again->Value("CodCausale").toString(), "INC6");
}

TEST_F(RecordSets, JoinsAndAggregatesAreReadOnly) {
    auto rs = t.host().OpenRecordSet(
        "select NoteTeste.*, NoteRighe.CodConto from NoteTeste LEFT JOIN NoteRighe ON "
        "NoteTeste.id=NoteRighe.IdTesta");
    EXPECT_FALSE(rs->updatable());
    EXPECT_THROW(rs->SetValue("CodLocale", "X"), Errore);
    EXPECT_THROW(rs->AddNew(), Errore);
    EXPECT_THROW(rs->Delete(), Errore);
    EXPECT_EQ(rs->Field("DataRegistrazione").type, FieldType::Date);  // known through the join
}

TEST_F(RecordSets, BatchSendsEverythingTogether) {
    t.run(
        {"INSERT INTO NoteRighe (id, IdTesta, CodConto, Dare) VALUES (1, 1, '01.01', 10), (2, 1, "
         "'02.01', 20), "
         "(3, 1, '03.01', 30)"});
    auto rs = t.host().OpenRecordSetBatch("select * from noterighe where idtesta=1 order by id");
    rs->MoveFirst();
    rs->SetValue("Dare", 11);
    rs->Update();
    rs->MoveNext();
    rs->Delete();
    rs->MoveNext();  // stays on the row after the deleted one
    EXPECT_EQ(rs->Value("id").toInt(), 3);
    rs->AddNew();
    rs->SetValue("IdTesta", 1);
    rs->SetValue("CodConto", "04.01");
    rs->SetValue("Avere", 5);
    rs->Update();
    // Nothing reached the database yet.
    EXPECT_DOUBLE_EQ(t.scalar("select dare from noterighe where id=1").toDouble(), 10);
    EXPECT_EQ(t.scalar("select count(*) from noterighe").toInt(), 3);
    rs->UpdateBatch();
    EXPECT_DOUBLE_EQ(t.scalar("select dare from noterighe where id=1").toDouble(), 11);
    EXPECT_EQ(t.scalar("select count(*) from noterighe where id=2").toInt(), 0);
    EXPECT_EQ(t.scalar("select count(*) from noterighe where codconto='04.01'").toInt(), 1);
    EXPECT_GT(rs->Value("id").toInt(), 3);
    EXPECT_FALSE(rs->HasPendingChanges());
    EXPECT_EQ(rs->RecordCount(), 3);
}

TEST_F(RecordSets, FailedBatchWritesNothing) {
    t.run({"INSERT INTO NoteRighe (id, IdTesta, CodConto, Dare) VALUES (1, 1, '01.01', 10)"});
    auto rs = t.host().OpenRecordSetBatch("select * from noterighe where idtesta=1");
    rs->SetValue("Dare", 99);
    rs->AddNew();
    rs->SetValue("IdTesta", 1);
    rs->SetValue("CodConto", "02.01");
    rs->AddNew();
    rs->SetValue("IdTesta", 1);
    rs->SetValue("CodConto", "01.01");  // same account twice in one document: refused by the index
    EXPECT_THROW(rs->UpdateBatch(), Errore);
    EXPECT_DOUBLE_EQ(t.scalar("select dare from noterighe where id=1").toDouble(), 10);
    EXPECT_EQ(t.scalar("select count(*) from noterighe").toInt(), 1);
    EXPECT_TRUE(rs->HasPendingChanges());
    rs->CancelBatch();
    EXPECT_EQ(rs->RecordCount(), 1);
    EXPECT_DOUBLE_EQ(rs->Value("Dare").toDouble(), 10);
}

// Deletions held in batch mode go in one statement; one row gone meanwhile
// (another workstation) stops them all and says so.
TEST_F(RecordSets, BatchDeletionsAndARowGoneMeanwhile) {
    t.run(
        {"INSERT INTO NoteRighe (id, IdTesta, CodConto, Dare) VALUES (1, 1, '01.01', 10), "
         "(2, 1, '02.01', 20), (3, 1, '03.01', 30), (4, 1, '04.01', 40)"});
    const auto eliminaTutte = [&] {
        auto rs = t.host().OpenRecordSetBatch("select * from noterighe where idtesta=1");
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
            rs->Delete();
        return rs;
    };
    auto rs = eliminaTutte();
    t.run({"DELETE FROM NoteRighe WHERE id=3"});
    try {
        rs->UpdateBatch();
        ADD_FAILURE() << "a row gone must stop the deletion";
    } catch (const Errore& e) {
        EXPECT_EQ(e.testo(),
                  "Impossibile eliminare le righe 1, 2, 3, 4 di noterighe: una non esiste più "
                  "(eliminata da un'altra finestra o postazione). Nessuna modifica è stata "
                  "salvata; rileggere i dati e riprovare.");
    }
    EXPECT_EQ(t.scalar("select count(*) from noterighe").toInt(), 3);
    EXPECT_TRUE(rs->HasPendingChanges());
    eliminaTutte()->UpdateBatch();
    EXPECT_EQ(t.scalar("select count(*) from noterighe").toInt(), 0);
}

// 1050 headers over 400 days, several on the same day, some without a date.
void InserisciTestate(TestDb& t) {
    QStringList rows;
    for (int i = 10; i < 1060; ++i) {
        const QString date = i % 97 == 0
                                 ? QStringLiteral("NULL")
                                 : QStringLiteral("'%1'").arg(
                                       QDate(2025, 1, 1).addDays(i % 400).toString(Qt::ISODate));
        rows << QStringLiteral("(%1, 'L%2', %3)").arg(i).arg(i % 7).arg(date);
    }
    t.run({"DELETE FROM NoteTeste",
           "INSERT INTO NoteTeste (id, CodLocale, DataRegistrazione) VALUES " + rows.join(',')});
}

TEST_F(RecordSets, PagedReadsByKeyAsTheCursorMoves) {
    InserisciTestate(t);

    const QString sql = "select * from noteTeste order by DataRegistrazione desc";
    auto all = t.host().OpenRecordSet(sql + ", id desc");
    auto paged = t.host().OpenRecordSetAsync(sql, 100);
    ASSERT_TRUE(paged->paged());
    EXPECT_EQ(paged->LoadedCount(), 100);
    EXPECT_FALSE(paged->CountKnown());
    EXPECT_EQ(paged->RecordCount(), 1050);
    EXPECT_TRUE(paged->CountKnown());      // asked once, known from then on
    EXPECT_EQ(paged->LoadedCount(), 100);  // counting read no rows
    int n = 0;
    for (; !paged->Eof(); paged->MoveNext(), all->MoveNext(), ++n) {
        ASSERT_EQ(paged->Value("id").toInt(), all->Value("id").toInt()) << "row " << n;
    }
    EXPECT_EQ(n, 1050);
    EXPECT_TRUE(all->Eof());

    paged->SetFilter("codlocale='l3'");
    int filtered = 0;
    for (; !paged->Eof(); paged->MoveNext()) {
        EXPECT_EQ(paged->Value("CodLocale").toString(), "L3");
        ++filtered;
    }
    EXPECT_EQ(filtered, 150);
    // Values bound in the order the criteria name them.
    paged->SetFilter("codlocale='l3' and id<500 and id>=100");
    EXPECT_EQ(paged->RecordCount(), 57);  // 101, 108, ..., 493
    paged->SetFilter("");
    paged->MoveFirst();
    EXPECT_TRUE(paged->Find("id=500"));
    EXPECT_EQ(paged->Value("id").toInt(), 500);
    paged->MoveLast();
    EXPECT_EQ(paged->AbsolutePosition(), 1050);
}

// The last row is read from the other end of the list, and the list walked
// backwards from there page by page, in every order (Null keys included).
TEST_F(RecordSets, PagedListsAreReadFromTheirEndToo) {
    InserisciTestate(t);
    const struct {
        const char* order;  // the list's order
        const char* full;   // the same with the id as the last key
    } orders[] = {
        {"DataRegistrazione desc", "DataRegistrazione desc, id desc"},
        {"DataRegistrazione", "DataRegistrazione, id"},
        {"CodLocale, DataRegistrazione desc", "CodLocale, DataRegistrazione desc, id desc"},
        {"id desc", "id desc"},
    };
    for (const auto& o : orders) {
        const QString base = QStringLiteral("select * from noteTeste where id<>500 order by ");
        std::vector<int> expected;
        auto all = t.host().OpenRecordSet(base + QLatin1String(o.full));
        for (; !all->Eof(); all->MoveNext())
            expected.push_back(all->Value("id").toInt());
        ASSERT_EQ(expected.size(), 1049u);

        auto paged = t.host().OpenRecordSetAsync(base + QLatin1String(o.order), 100);
        ASSERT_TRUE(paged->paged()) << o.order;
        paged->MoveLast();
        EXPECT_LE(paged->LoadedCount(), 100) << o.order;  // one page, not the list
        EXPECT_EQ(paged->RecordCount(), 1049) << o.order;
        std::vector<int> backwards;
        for (int at = 1049; !paged->Bof(); paged->MovePrevious(), --at) {
            ASSERT_EQ(paged->AbsolutePosition(), at) << o.order;
            backwards.push_back(paged->Value("id").toInt());
        }
        std::reverse(backwards.begin(), backwards.end());
        EXPECT_EQ(backwards, expected) << o.order;

        // Positions before the rows held, and the first row, read the start again.
        paged->MoveLast();
        paged->SetAbsolutePosition(150);
        EXPECT_EQ(paged->Value("id").toInt(), expected[149]) << o.order;
        paged->MoveLast();
        paged->MoveFirst();
        EXPECT_EQ(paged->AbsolutePosition(), 1) << o.order;
        EXPECT_EQ(paged->Value("id").toInt(), expected[0]) << o.order;
        paged->MoveNext();
        EXPECT_EQ(paged->Value("id").toInt(), expected[1]) << o.order;
    }
}

}  // namespace

namespace {

// The save walks the rows and deletes some of them as it goes: the row after a
// deleted one must not be skipped.
TEST(RecordSetDeletes, DeletingWhileWalkingKeepsEveryOtherRow) {
    for (RecordSetMode mode : {RecordSetMode::Immediate, RecordSetMode::Batch}) {
        TestDb t;
        t.createDocumentTables();
        t.run(
            {"INSERT INTO NoteIncassi (id, IdTesta, acconti) VALUES (1, 1, 0), (2, 1, 5), (3, 1, "
             "0), "
             "(4, 1, 0), (5, 1, 7)"});
        auto rs = mode == RecordSetMode::Batch
                      ? t.host().OpenRecordSetBatch("select * from noteincassi order by id")
                      : t.host().OpenRecordSet("select * from noteincassi order by id");
        std::vector<int> seen;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            seen.push_back(rs->Value("id").toInt());
            if (rs->Value("acconti").toDouble() == 0) rs->Delete();
        }
        EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5}));
        EXPECT_EQ(rs->RecordCount(), 2);
        if (mode == RecordSetMode::Batch) {
            EXPECT_EQ(t.scalar("select count(*) from noteincassi").toInt(), 5);
            rs->UpdateBatch();
        }
        EXPECT_EQ(t.scalar("select count(*) from noteincassi").toInt(), 2);
    }
}

}  // namespace

namespace {

// Rows sent inside a transaction are saved only when the outermost transaction
// commits: after a rollback the record set is as before it sent them, and
// sending again writes them once.
TEST(RecordSetTransactions, RowsStayPendingUntilTheOutermostCommit) {
    TestDb t;
    t.createDocumentTables();
    t.run({"INSERT INTO NoteIncassi (id, IdTesta, acconti) VALUES (1, 1, 10), (2, 1, 20)"});
    auto rs = t.host().OpenRecordSetBatch("select * from noteincassi order by id");
    rs->MoveFirst();
    rs->SetValue("acconti", 11);
    rs->MoveNext();
    rs->Delete();
    rs->AddNew();
    rs->SetValue("acconti", 30);
    for (bool annulla : {true, false}) {
        Transazione fuori(t.db());
        {
            Transazione dentro(t.db());  // a savepoint released before the outer ends
            rs->UpdateBatch();
            dentro.commit();
        }
        EXPECT_FALSE(rs->HasPendingChanges());
        if (!annulla) fuori.commit();
        // Leaving the scope rolls the first round back.
    }
    EXPECT_FALSE(rs->HasPendingChanges());
    EXPECT_EQ(t.scalar("select count(*) from noteincassi").toInt(), 2);
    EXPECT_EQ(t.scalar("select sum(acconti) from noteincassi").toInt(), 11 + 30);
    EXPECT_EQ(t.scalar("select count(*) from noteincassi where acconti=20").toInt(), 0);
}

TEST(RecordSetTransactions, ASavepointRolledBackPutsTheRowsBack) {
    TestDb t;
    t.createDocumentTables();
    auto rs = t.host().OpenRecordSetBatch("select * from noteincassi");
    rs->AddNew();
    rs->SetValue("acconti", 5);
    Transazione fuori(t.db());
    {
        Transazione dentro(t.db());
        rs->UpdateBatch();
        EXPECT_TRUE(rs->Value("id").isValid());
    }
    EXPECT_TRUE(rs->HasPendingChanges());
    EXPECT_TRUE(rs->Value("id").isNull());
    rs->UpdateBatch();
    fuori.commit();
    EXPECT_EQ(t.scalar("select count(*) from noteincassi").toInt(), 1);
}

// A savepoint rolled back inside a transaction that goes on: the rows it sent
// are pending again, so the outer transaction sends them once more.
TEST(RecordSetTransactions, AnInnerRollbackUndoesOnlyItsOwnRows) {
    TestDb t;
    t.createDocumentTables();
    t.run({"INSERT INTO NoteIncassi (id, IdTesta, acconti) VALUES (1, 1, 10), (2, 1, 20)"});
    auto rs = t.host().OpenRecordSetBatch("select * from noteincassi order by id");
    Transazione fuori(t.db());
    rs->MoveFirst();
    rs->SetValue("acconti", 11);
    rs->UpdateBatch();
    rs->MoveLast();
    rs->SetValue("acconti", 21);
    {
        Transazione dentro(t.db());
        rs->UpdateBatch();
    }
    EXPECT_TRUE(rs->HasPendingChanges());
    rs->UpdateBatch();
    fuori.commit();
    EXPECT_FALSE(rs->HasPendingChanges());
    EXPECT_EQ(t.scalar("select sum(acconti) from noteincassi").toInt(), 11 + 21);
}

// The statement the engine refused is the one the message shows, not the
// record set's query.
TEST(RecordSetTransactions, AnErrorNamesTheStatementThatFailed) {
    TestDb t;
    t.createDocumentTables();
    auto rs = t.host().OpenRecordSetBatch("select * from NoteRighe where IdTesta=-1");
    rs->AddNew();
    rs->SetValue("IdTesta", 5);  // CodConto is NOT NULL: the engine refuses the row
    try {
        rs->UpdateBatch();
        ADD_FAILURE() << "no error";
    } catch (const Errore& e) {
        EXPECT_TRUE(
            e.testo().contains("INSERT INTO " + t.db().dialect().quoteIdentifier("NoteRighe")))
            << e.what();
        EXPECT_FALSE(e.testo().contains("IdTesta=-1")) << e.what();
    }
    EXPECT_TRUE(rs->HasPendingChanges());
}

// Writing a row that is no longer there, or deleting it, is an error: the
// statement names the table and the row, and nothing is marked saved.
TEST(RecordSetTransactions, AWriteThatTouchesNoRowFails) {
    TestDb t;
    t.createDocumentTables();
    t.run({"INSERT INTO NoteIncassi (id, IdTesta, acconti) VALUES (1, 1, 10), (2, 1, 20)"});
    for (RecordSetMode mode : {RecordSetMode::Immediate, RecordSetMode::Batch}) {
        for (bool elimina : {false, true}) {
            auto rs = mode == RecordSetMode::Batch
                          ? t.host().OpenRecordSetBatch("select * from noteincassi order by id")
                          : t.host().OpenRecordSet("select * from noteincassi order by id");
            t.run({"DELETE FROM NoteIncassi WHERE id=1"});
            rs->MoveFirst();
            try {
                if (elimina) {
                    rs->Delete();
                } else {
                    rs->SetValue("acconti", 99);
                }
                rs->Update();
                rs->UpdateBatch();
                ADD_FAILURE() << "no error";
            } catch (const Errore& e) {
                EXPECT_TRUE(e.testo().contains("NoteIncassi", Qt::CaseInsensitive)) << e.what();
                EXPECT_TRUE(e.testo().contains("riga 1")) << e.what();
            }
            if (mode == RecordSetMode::Batch) {
                EXPECT_TRUE(rs->HasPendingChanges());
            }
            t.run({"INSERT INTO NoteIncassi (id, IdTesta, acconti) VALUES (1, 1, 10)"});
        }
    }
}

}  // namespace

namespace {

// Dates and timestamps as the engine keeps them, read the module's way; text
// that is no date stays as it was.
TEST(RecordSetValues, DatesAreReadFromTheEngineText) {
    SOLO_SQLITE("dates stored as text");
    TestDb t;
    t.run({"CREATE TABLE Giorni (id INTEGER PRIMARY KEY, Giorno DATE, Istante DATETIME)"});
    const struct {
        const char* testo;
        QVariant giorno;   // read from the DATE column
        QVariant istante;  // read from the DATETIME column
    } casi[] = {
        {"2026-12-07", QDate(2026, 12, 7), QDateTime(QDate(2026, 12, 7), QTime(0, 0))},
        {"2026-12-07 10:11:12", QDate(2026, 12, 7),
         QDateTime(QDate(2026, 12, 7), QTime(10, 11, 12))},
        {"2026-12-07T10:11:12", QDate(2026, 12, 7),
         QDateTime(QDate(2026, 12, 7), QTime(10, 11, 12))},
        {"2026-02-31", QString("2026-02-31"), QString("2026-02-31")},
        {"2026-12-07 25:00:00", QDate(2026, 12, 7), QString("2026-12-07 25:00:00")},
        {"07/12/2026", QString("07/12/2026"), QString("07/12/2026")},
    };
    int id = 0;
    for (const auto& c : casi) {
        t.run(
            {QStringLiteral("INSERT INTO Giorni VALUES (%1, '%2', '%2')").arg(++id).arg(c.testo)});
        auto rs =
            t.host().OpenRecordSet(QStringLiteral("select * from Giorni where id=%1").arg(id));
        for (int volta = 0; volta < 2; ++volta) {  // the second read gives the same
            EXPECT_EQ(rs->Value("Giorno"), c.giorno) << c.testo;
            EXPECT_EQ(rs->Value("Istante"), c.istante) << c.testo;
        }
    }
}

// The fields of a statement are worked out once, and again when the tables change.
TEST(RecordSetValues, FieldsFollowAColumnAddedLater) {
    TestDb t;
    t.run({"CREATE TABLE Prove (id INTEGER PRIMARY KEY, Nome VARCHAR(20))",
           "INSERT INTO Prove VALUES (1, 'uno')"});
    EXPECT_FALSE(t.host().OpenRecordSet("select * from Prove")->HasField("Valore"));
    t.run({"ALTER TABLE Prove ADD COLUMN Valore DOUBLE"});
    auto rs = t.host().OpenRecordSet("select * from Prove");
    ASSERT_TRUE(rs->HasField("Valore"));
    rs->SetValue("Valore", 2.5);
    rs->Update();
    EXPECT_DOUBLE_EQ(t.scalar("select Valore from Prove").toDouble(), 2.5);
}

}  // namespace
