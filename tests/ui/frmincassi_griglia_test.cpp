// The grid over a record set: formats, Italian typing, the cursor kept as the
// window's current row, edits reaching the record set and the window.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "support/testdb.h"
#include "ui/modellorecordset.h"
#include "values/values.h"

namespace incassi::ui {
namespace {

TEST(TestoCella, FormatsAndTypes) {
    const struct {
        QVariant valore;
        FieldType tipo;
        const char* formato;
        const char* atteso;
    } casi[] = {
        {1234.5, FieldType::Double, "#.##0,00", "1.234,50"},
        {1234.5, FieldType::Double, "#,##0.00", "1.234,50"},
        {-1234567.125, FieldType::Double, "#.##0,00", "-1.234.567,12"},
        {0.005, FieldType::Double, "#.##0,00", "0,00"},
        {12.5, FieldType::Double, "0,00", "12,50"},
        {1234.0, FieldType::Double, "#.##0", "1.234"},
        {12.6, FieldType::Double, "0", "13"},
        {QVariant(), FieldType::Double, "#.##0,00", ""},
        {QString(), FieldType::Double, "#.##0,00", ""},
        {2.75, FieldType::Double, "", "2,75"},
        {QDate(2026, 3, 5), FieldType::Date, "", "05/03/2026"},
        {QStringLiteral("2026-03-05"), FieldType::Text, "dd/mm/yyyy", "05/03/2026"},
        {-1, FieldType::Flag, "", "Sì"},
        {0, FieldType::Flag, "", "No"},
        {QStringLiteral("Bar"), FieldType::Text, "", "Bar"},
    };
    for (const auto& c : casi)
        EXPECT_EQ(TestoCella(c.valore, c.tipo, QLatin1String(c.formato)),
                  QString::fromUtf8(c.atteso))
            << c.formato << " " << qPrintable(c.valore.toString());
}

TEST(TestoCella, TypedTextByItalianRules) {
    EXPECT_EQ(ValoreDaTesto(QStringLiteral("1.234,56"), FieldType::Double)->toDouble(), 1234.56);
    EXPECT_EQ(ValoreDaTesto(QStringLiteral(" 0,5 "), FieldType::Double)->toDouble(), 0.5);
    EXPECT_EQ(ValoreDaTesto(QStringLiteral("-3"), FieldType::Integer)->toLongLong(), -3);
    EXPECT_TRUE(ValoreDaTesto(QString(), FieldType::Double)->isNull());
    EXPECT_FALSE(ValoreDaTesto(QStringLiteral("12a"), FieldType::Double));
    EXPECT_EQ(ValoreDaTesto(QStringLiteral("31/12/2025"), FieldType::Date)->toDate(),
              QDate(2025, 12, 31));
    EXPECT_FALSE(ValoreDaTesto(QStringLiteral("31/02/2025"), FieldType::Date));
    // A text field keeps what was typed, blanks included.
    EXPECT_EQ(ValoreDaTesto(QStringLiteral(" a "), FieldType::Text)->toString(),
              QStringLiteral(" a "));
}

class Griglia : public ::testing::Test {
  protected:
    void SetUp() override {
        t.run(
            {"CREATE TABLE righe (id INTEGER PRIMARY KEY, Nome TEXT(30), Cassetto DOUBLE, "
             "Giorni INTEGER)",
             "INSERT INTO righe VALUES (1, 'uno', 1000, 1), (2, 'due', 2.5, 2), (3, 'tre', NULL, "
             "3)"});
        rs = t.host().OpenRecordSetBatch(QStringLiteral("select * from righe order by id"));
        layout.colonne = {{"Cassetto", 0, 90, "Cassetto", true, "#.##0,00"},
                          {"Nome", 1, 80, "Nome", true, ""},
                          {"Giorni", 2, 40, "Giorni", false, "0"},
                          {"Assente", 3, 40, "Assente", true, ""}};
        m.setLayout(layout);
        m.setRecordset(rs);
        m.cellaModificata = [this](const QString& c, const QVariant&) {
            modificate << c;
            posizioni << rs->AbsolutePosition();
        };
    }
    test::TestDb t;
    RecordSetPtr rs;
    LayoutGriglia layout;
    ModelloRecordset m;
    QStringList modificate;
    QList<int> posizioni;
};

TEST_F(Griglia, ColumnsFollowTheLayout) {
    // Hidden columns and fields the record set lacks are left out.
    ASSERT_EQ(m.columnCount(), 2);
    EXPECT_EQ(m.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Cassetto"));
    EXPECT_EQ(m.data(m.index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("1.000,00"));
    EXPECT_EQ(m.data(m.index(2, 0), Qt::DisplayRole).toString(), QString());
    EXPECT_EQ(m.data(m.index(0, 0), Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
              int(Qt::AlignRight));
    EXPECT_EQ(m.larghezza(0), 90);
}

TEST_F(Griglia, ReadingTheRowsKeepsTheCursor) {
    rs->SetAbsolutePosition(2);
    m.Ricarica();
    EXPECT_EQ(rs->AbsolutePosition(), 2);
    rs->MoveLast();
    rs->MoveNext();
    m.Ricarica();
    EXPECT_TRUE(rs->Eof());
    rs->MoveFirst();
    rs->MovePrevious();
    m.Ricarica();
    EXPECT_TRUE(rs->Bof());
    EXPECT_EQ(m.rigaCorrente(), -1);
}

TEST_F(Griglia, AnEditReachesTheRecordSetOnItsRowThenTheWindow) {
    EXPECT_FALSE(m.setData(m.index(1, 0), QStringLiteral("5"), Qt::EditRole));  // browsing
    m.setModificabile(true);
    rs->MoveFirst();
    ASSERT_TRUE(m.setData(m.index(1, 0), QStringLiteral("1.234,5"), Qt::EditRole));
    EXPECT_EQ(rs->AbsolutePosition(), 2);
    EXPECT_DOUBLE_EQ(rs->Value(QStringLiteral("Cassetto")).toDouble(), 1234.5);
    EXPECT_EQ(m.data(m.index(1, 0), Qt::DisplayRole).toString(), QStringLiteral("1.234,50"));
    EXPECT_EQ(modificate, QStringList{QStringLiteral("Cassetto")});
    EXPECT_EQ(posizioni, QList<int>{2});
    // Not a number: refused, nothing recalculated. The same value: no recalculation.
    EXPECT_FALSE(m.setData(m.index(1, 0), QStringLiteral("1,2,3"), Qt::EditRole));
    EXPECT_FALSE(m.setData(m.index(1, 0), QStringLiteral("1234,50"), Qt::EditRole));
    EXPECT_EQ(modificate.size(), 1);
    // Emptying a number stores Null.
    ASSERT_TRUE(m.setData(m.index(0, 0), QString(), Qt::EditRole));
    EXPECT_TRUE(IsNull(rs->Value(QStringLiteral("Cassetto"))));
}

// The cash box is one of the machine grid's numeric columns.
TEST_F(Griglia, TheEditorTakesThePointAsDecimalCommaInNumericColumnsOnly) {
    GrigliaRecordset g;
    g.modello().setLayout(layout);
    g.modello().setRecordset(rs);
    g.modello().setModificabile(true);
    g.resize(400, 200);
    g.show();
    QStringList invii;
    QObject::connect(&g, &GrigliaRecordset::invio, [&](const QString& c) { invii << c; });
    for (const char* campo : {"Cassetto", "Nome"}) {
        const QModelIndex i = g.modello().index(0, g.modello().colonnaDi(QLatin1String(campo)));
        g.setCurrentIndex(i);
        g.edit(i);
        auto* editor = qobject_cast<QLineEdit*>(g.indexWidget(i));
        ASSERT_NE(editor, nullptr);
        editor->clear();
        QTest::keyClicks(editor, QStringLiteral("7.5"));
        EXPECT_EQ(editor->text(),
                  campo == std::string("Cassetto") ? QStringLiteral("7,5") : QStringLiteral("7.5"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    rs->MoveFirst();
    EXPECT_DOUBLE_EQ(rs->Value(QStringLiteral("Cassetto")).toDouble(), 7.5);
    EXPECT_EQ(rs->Value(QStringLiteral("Nome")).toString(), QStringLiteral("7.5"));
    // Enter is heard after the value was written, with the column.
    EXPECT_EQ(invii, (QStringList{QStringLiteral("Cassetto"), QStringLiteral("Nome")}));
}

}  // namespace
}  // namespace incassi::ui
