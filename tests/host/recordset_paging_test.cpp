// A paged list read from its end, with rows added, deleted and edited around
// the rows it holds: positions, counts and the rows walked stay right.

#include <gtest/gtest.h>

#include "host/recordset.h"
#include "support/testdb.h"
#include "values/error.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

// Rows with ids 1..n and a = 10 * id.
void Righe(TestDb& t, int n) {
    t.run({"CREATE TABLE P (id INTEGER PRIMARY KEY, a INTEGER)",
           QStringLiteral("WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM k WHERE "
                          "i<%1) INSERT INTO P SELECT i, 10*i FROM k")
               .arg(n)});
}

// Walks back from the last row: the ids in list order.
std::vector<int> DallaFine(RecordSet& rs) {
    std::vector<int> v;
    for (rs.MoveLast(); !rs.Bof(); rs.MovePrevious())
        v.insert(v.begin(), rs.Value("id").toInt());
    return v;
}

TEST(PagineDallaFine, TheCountFollowsTheRowsAddedAndDeleted) {
    const struct {
        int righe;
        const char* come;  // what happens after the first count
        int attese;
    } casi[] = {
        {150, "aggiunta", 151},
        {100, "aggiunta", 101},         // a full page exactly
        {150, "esterna", 151},          // written by another statement
        {250, "nuova eliminata", 250},  // added and deleted, never sent
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.come);
        TestDb t;
        Righe(t, c.righe);
        auto rs = t.host().OpenRecordSetAsync("select * from P order by id", 100);
        ASSERT_EQ(rs->RecordCount(), c.righe);
        if (QLatin1String(c.come) == "esterna") {
            t.run({"INSERT INTO P (id, a) VALUES (5000, 1)"});
        } else {
            rs->AddNew();
            rs->SetValue("a", 1);
            if (QLatin1String(c.come) == "aggiunta") {
                rs->Update();
            } else {
                rs->Delete();
            }
        }
        rs->MoveLast();
        EXPECT_EQ(rs->AbsolutePosition(), c.attese);
        EXPECT_EQ(rs->RecordCount(), c.attese);
        EXPECT_EQ(DallaFine(*rs).size(), size_t(c.attese));
        rs->MoveFirst();
        EXPECT_EQ(rs->Value("id").toInt(), 1);
    }
}

// A row this set added sorts just before the rows held from the end: the
// pages before it are still read.
TEST(PagineDallaFine, RowsHeldAlreadyDoNotStopTheWalkBack) {
    TestDb t;
    Righe(t, 5);
    auto rs = t.host().OpenRecordSetAsync("select * from P order by a", 1);
    rs->MoveLast();
    ASSERT_EQ(rs->Value("id").toInt(), 5);
    rs->AddNew();
    rs->SetValue("a", 45);
    rs->Update();
    rs->MovePrevious();
    ASSERT_EQ(rs->Value("id").toInt(), 5);
    std::vector<int> prima;
    for (rs->MovePrevious(); !rs->Bof(); rs->MovePrevious())
        prima.push_back(rs->Value("id").toInt());
    EXPECT_EQ(prima, (std::vector<int>{4, 3, 2, 1}));
}

TEST(PagineDallaFine, EditsHeldSurviveAMoveToTheStart) {
    TestDb t;
    Righe(t, 250);
    std::shared_ptr<Database> db(&t.db(), [](Database*) {});
    auto rs = RecordSet::Open(db, "select * from P order by id", RecordSetMode::Batch, 100);
    ASSERT_TRUE(rs->paged());
    rs->MoveLast();
    rs->SetValue("a", 999);
    rs->MoveFirst();
    EXPECT_EQ(rs->Value("id").toInt(), 1);
    rs->SetAbsolutePosition(250);
    EXPECT_EQ(rs->Value("a").toInt(), 999);
    ASSERT_TRUE(rs->HasPendingChanges());
    rs->UpdateBatch();
    EXPECT_EQ(t.scalar("select id from P where a=999").toInt(), 250);
}

TEST(PagineDallaFine, OutOfRangeAndNotFoundLeaveTheCursorAlone) {
    TestDb t;
    Righe(t, 50);
    auto tutte = t.host().OpenRecordSet("select * from P order by id");
    EXPECT_THROW(tutte->SetAbsolutePosition(0), Errore);
    auto rs = t.host().OpenRecordSetAsync("select * from P order by id", 10);
    rs->MovePrevious();
    ASSERT_TRUE(rs->Bof());
    EXPECT_FALSE(rs->Find("id=45", true));  // not read yet
    EXPECT_TRUE(rs->Bof());
    rs->MoveFirst();
    EXPECT_TRUE(rs->Find("id=7", true));
    EXPECT_EQ(rs->AbsolutePosition(), 7);
}

}  // namespace
