#include "window/gridviews.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "support/testdb.h"

namespace incassi {
namespace {

LayoutGriglia Layout(const QString& campo, int larghezza) {
    LayoutGriglia l;
    l.colonne.push_back(
        {campo, 0, larghezza, campo + QStringLiteral(" titolo"), true, QStringLiteral("#,##0.00")});
    l.colonne.push_back({QStringLiteral("id"), 1, 0, QStringLiteral("id"), false, QString()});
    l.carattere = QStringLiteral("DejaVu Sans");
    l.dimensione = 9.5;
    l.coloreDispari = 0xF0F0F0;
    l.colorePari = 0xFFFFFF;
    l.checkBox = true;
    l.letturaFacilitata = true;
    l.ridimensionaColonneBloccate = true;
    return l;
}

class GridViews : public ::testing::Test {
  protected:
    void SetUp() override {
        db.run(
            {QStringLiteral("CREATE TABLE viste (id INTEGER PRIMARY KEY, NomeVista VARCHAR(50) "
                            "COLLATE NOCASE, codiceoperatore VARCHAR(20) COLLATE NOCASE, "
                            "codicericerca VARCHAR(50) COLLATE NOCASE, preferito INTEGER)")});
        base = QDir(db.host().percorso()).filePath(QStringLiteral("parametri/"));
        pers = QDir(db.host().percorso()).filePath(QStringLiteral("pers/"));
        ScriviLayout(base + QStringLiteral("NoteIncassi.grx"), QStringLiteral("NoteIncassi"),
                     Layout(QStringLiteral("base"), 10));
        ScriviLayout(base + QStringLiteral("NoteRighe.grx"), QStringLiteral("NoteRighe"),
                     Layout(QStringLiteral("righe"), 11));
        ScriviLayout(pers + QStringLiteral("ANNAGiro.grx"), QStringLiteral("ANNAGiro"),
                     Layout(QStringLiteral("giro"), 20));
    }
    void Corrompi(const QString& file) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{ \"formato\": \"incassi-grx\", \"layout\": { \"x\": ");
    }
    test::TestDb db;
    VisteGriglia viste{db.host()};
    QString base, pers;
};

TEST_F(GridViews, ViewNamesPickFileAndLayout) {
    struct {
        const char* vista;
        bool caricata;
        const char* campo;  // first column of the layout applied
    } casi[] = {
        {"Base:NoteIncassi", true, "base"},
        {"base:noteincassi", true, "base"},
        {"Base:noteRighe", true, "righe"},  // file name found without regard to case
        {"Giro", true, "giro"},
        {"giro", true, "giro"},
        {"NoteIncassi", false, "prima"},  // personal: pers/ANNANoteIncassi.grx is missing
        {"Base:Manca", false, "prima"},
    };
    for (const auto& c : casi) {
        LayoutGriglia g = Layout(QStringLiteral("prima"), 1);
        EXPECT_EQ(viste.CaricaVista(QString::fromLatin1(c.vista), g), c.caricata) << c.vista;
        EXPECT_EQ(g.colonne.at(0).campo, QString::fromLatin1(c.campo)) << c.vista;
    }
    LayoutGriglia g;
    ASSERT_TRUE(viste.CaricaVista(QStringLiteral("Giro"), g));
    EXPECT_EQ(g, Layout(QStringLiteral("giro"), 20));  // every member survives the file
}

TEST_F(GridViews, PersonalSwitchFallsBackToTheSharedLayout) {
    LayoutGriglia g;
    EXPECT_TRUE(viste.CaricaSecondoPreferenza(QStringLiteral("NoteIncassi"), true, g));
    EXPECT_EQ(g.colonne[0].campo, QStringLiteral("base"));
    ScriviLayout(pers + QStringLiteral("ANNANoteIncassi.grx"), QStringLiteral("ANNANoteIncassi"),
                 Layout(QStringLiteral("mia"), 5));
    EXPECT_TRUE(viste.CaricaSecondoPreferenza(QStringLiteral("NoteIncassi"), true, g));
    EXPECT_EQ(g.colonne[0].campo, QStringLiteral("mia"));
    EXPECT_TRUE(viste.CaricaSecondoPreferenza(QStringLiteral("Base:NoteIncassi"), false, g));
    EXPECT_EQ(g.colonne[0].campo, QStringLiteral("base"));
}

TEST_F(GridViews, CorruptFilesNeverChangeTheGrid) {
    Corrompi(pers + QStringLiteral("ANNAGiro.grx"));
    Corrompi(base + QStringLiteral("NoteRighe.grx"));
    ScriviLayout(pers + QStringLiteral("ANNAStrana.grx"), QStringLiteral("ANNAAltra"),
                 Layout(QStringLiteral("x"), 1));   // holds another layout only
    QFile tipo(base + QStringLiteral("Tipo.grx"));  // a member of the wrong type
    ASSERT_TRUE(tipo.open(QIODevice::WriteOnly));
    tipo.write(
        R"({"formato":"incassi-grx","layout":{"Tipo":{"colonne":[{"larghezza":"ampia"}]}}})");
    tipo.close();

    for (const char* v : {"Giro", "Base:NoteRighe", "Strana", "Base:Tipo"}) {
        LayoutGriglia g = Layout(QStringLiteral("prima"), 1);
        EXPECT_FALSE(viste.CaricaVista(QString::fromLatin1(v), g)) << v;
        EXPECT_EQ(g, Layout(QStringLiteral("prima"), 1)) << v;
    }
}

TEST_F(GridViews, OpeningChoiceAndMenuFromViste) {
    db.run({QStringLiteral(
        "INSERT INTO viste (id, NomeVista, codiceoperatore, codicericerca, preferito) VALUES "
        "(1, 'Vecchia', 'ANNA', 'NoteIncassi', 0), (2, 'Giro', 'anna', 'noteincassi', -1), "
        "(3, 'Altro', 'MARCO', 'NoteIncassi', -1), (4, 'Righe', 'ANNA', 'NoteRighe', -1)")});
    LayoutGriglia g;
    EXPECT_EQ(
        viste.ScegliVista(QStringLiteral("NoteIncassi"), QStringLiteral("Base:NoteIncassi"), g),
        QStringLiteral("Giro"));
    EXPECT_EQ(g.colonne[0].campo, QStringLiteral("giro"));
    // The preferred view "Righe" has no personal file: the shared default is used.
    EXPECT_EQ(viste.ScegliVista(QStringLiteral("NoteRighe"), QStringLiteral("Base:noteRighe"), g),
              QStringLiteral("Base:noteRighe"));
    EXPECT_EQ(g.colonne[0].campo, QStringLiteral("righe"));
    // No view at all, and no default file either.
    EXPECT_EQ(viste.ScegliVista(QStringLiteral("Altro"), QStringLiteral("Base:Altro"), g),
              QString());
    EXPECT_EQ(g.colonne[0].campo, QStringLiteral("righe"));

    const auto menu =
        viste.MenuViste(QStringLiteral("NoteIncassi"), QStringLiteral("Base:NoteIncassi"),
                        QStringLiteral("Vista predefinita Apparecchi"));
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].chiave, QStringLiteral("Vecchia"));
    EXPECT_EQ(menu[1].testo, QStringLiteral("Giro"));
    EXPECT_EQ(menu[2].chiave, QStringLiteral("Base:NoteIncassi"));
    EXPECT_EQ(menu[2].testo, QStringLiteral("Vista predefinita Apparecchi"));
}

TEST_F(GridViews, OperatorCodeWithAQuote) {
    db.host().setOperatore({QStringLiteral("D'AMICO"), Diritti::Tutti()});
    db.run(
        {QStringLiteral("INSERT INTO viste (NomeVista, codiceoperatore, codicericerca, "
                        "preferito) VALUES ('Mia', 'D''AMICO', 'NoteIncassi', -1)")});
    ScriviLayout(pers + QStringLiteral("D'AMICOMia.grx"), QStringLiteral("D'AMICOMia"),
                 Layout(QStringLiteral("mia"), 3));
    LayoutGriglia g;
    EXPECT_EQ(
        viste.ScegliVista(QStringLiteral("NoteIncassi"), QStringLiteral("Base:NoteIncassi"), g),
        QStringLiteral("Mia"));
}

TEST_F(GridViews, SavingKeepsTheFileOtherLayouts) {
    const QString file = pers + QStringLiteral("ANNAGiro.grx");
    ScriviLayout(file, QStringLiteral("ANNAaltro"), Layout(QStringLiteral("altro"), 7));
    ScriviLayout(file, QStringLiteral("annagiro"), Layout(QStringLiteral("nuovo"), 8));
    EXPECT_EQ(NomiLayout(file).size(), 2);
    EXPECT_EQ(LeggiLayout(file, QStringLiteral("ANNAGiro")), Layout(QStringLiteral("nuovo"), 8));
    EXPECT_EQ(LeggiLayout(file, QStringLiteral("ANNAaltro")), Layout(QStringLiteral("altro"), 7));

    Corrompi(file);  // a corrupt file is replaced by the saved layout
    ScriviLayout(file, QStringLiteral("ANNAGiro"), Layout(QStringLiteral("dopo"), 9));
    EXPECT_EQ(NomiLayout(file), QStringList(QStringLiteral("ANNAGiro")));
}

}  // namespace
}  // namespace incassi

namespace incassi {
namespace {

// Sizes from a hand-edited file that no one could read are brought back into
// a readable range; the default size stays the default.
TEST(LayoutFile, SizesOutOfRangeAreClamped) {
    test::TestDb db;
    const QString file = QDir(db.folder()).filePath(QStringLiteral("Prova.grx"));
    struct {
        double dimensione;
        int larghezza;
        double dimensioneLetta;
        int larghezzaLetta;
    } casi[] = {{1e30, 1000000000, 48, 2000}, {0.5, -40, 6, 0}, {0, 120, 0, 120}, {11, 80, 11, 80}};
    for (const auto& c : casi) {
        LayoutGriglia l;
        l.colonne.push_back({QStringLiteral("a"), 0, c.larghezza, QStringLiteral("A"), true, {}});
        l.dimensione = c.dimensione;
        ScriviLayout(file, QStringLiteral("Prova"), l);
        const auto letto = LeggiLayout(file, QStringLiteral("Prova"));
        ASSERT_TRUE(letto);
        EXPECT_EQ(letto->dimensione, c.dimensioneLetta);
        EXPECT_EQ(letto->colonne.at(0).larghezza, c.larghezzaLetta);
    }
}

}  // namespace
}  // namespace incassi
