// The scratch database of a print: what it holds for the current collection
// and for a period, and that each command starts from empty tables.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "bookkeeping/movimenti.h"
#include "host/database.h"
#include "reports/archiviostampa.h"
#include "schema/creazione.h"
#include "support/testdb.h"
#include "values/error.h"
#include "values/values.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

class ArchivioStampa : public ::testing::Test {
  protected:
    void SetUp() override {
        schema::PreparaSchema(t.db());
        t.run(
            {"INSERT INTO AnagraficaLocali (id, CodLocale, Insegna, CodiceAzienda) VALUES "
             "(7, 'L''OSTE', 'L''Oste', 'AZ1'), (8, 'BAR2', 'Bar Due', 'AZ2')",
             "INSERT INTO NoteTeste (id, CodLocale, CodCausale, DataRegistrazione, "
             "CodiceAzienda, Riscosso) VALUES "
             "(1, 'L''OSTE', 'INC6', '2026-03-02', 'AZ1', 100.5), "
             "(2, 'L''OSTE', 'INC', '2026-03-09', 'AZ2', 20), "
             "(3, 'L''OSTE', 'FUR', '2026-03-10', 'AZ1', 0), "
             "(4, 'L''OSTE', 'INC6', '2026-04-01', 'AZ1', 30), "
             "(5, 'BAR2', 'INC6', '2026-03-05', 'AZ2', 40)",
             "INSERT INTO NoteIncassi (IdTesta, Riga, linkscheda, DataIncasso, ContatoreIN, "
             "Cassetto) VALUES (1, 1, 11, '2026-03-02', 1500, NULL), (1, 2, 12, '2026-03-02', "
             "2500, 5), (2, 1, 11, '2026-03-09', 1600, NULL), (5, 1, 20, '2026-03-05', 10, 1)"});
        modello = QDir(cartella.path()).filePath(QStringLiteral("modello.sqlite"));
        stampa::CreaModello(modello);
    }

    // One column of every row of a scratch table, in id order.
    QStringList colonna(const QString& file, const QString& tabella, const QString& campo) {
        auto db = Database::OpenSqlite(file, true);
        const QueryResult r = db->queryNative(
            QStringLiteral("SELECT %1 FROM %2 ORDER BY id").arg(campo, tabella), {});
        QStringList v;
        for (const auto& riga : r.rows)
            v << riga[0].toString();
        return v;
    }

    TestDb t;
    QTemporaryDir cartella;
    QString modello;
};

TEST_F(ArchivioStampa, ThePeriodOrTheCurrentCollection) {
    const QString scratch = QDir(cartella.path()).filePath(QStringLiteral("scratch"));
    const struct {
        const char* caso;
        stampa::Selezione s;
        QStringList teste, righe, locali;
        const char* titolo;
    } casi[] = {
        {"corrente",
         {false, 1, {}, QDate(2026, 3, 1), QDate(2026, 3, 31), {}},
         {"1"},
         {"1500", "2500"},
         {"L'OSTE"},
         "Stampa incasso del 02/03/2026"},
        // Collections only: the theft of the 10th is not printed, nor April's.
        {"periodo",
         {true, 0, "L'OSTE", QDate(2026, 3, 1), QDate(2026, 3, 31), {}},
         {"1", "2"},
         {"1500", "2500", "1600"},
         {"L'OSTE"},
         "Stampa incasso dal 01/03/2026 al 31/03/2026"},
        {"periodo di una ditta",
         {true, 0, "L'OSTE", QDate(2026, 3, 1), QDate(2026, 3, 31), "AZ2"},
         {"2"},
         {"1600"},
         {"L'OSTE"},
         "Stampa incasso dal 01/03/2026 al 31/03/2026"},
        {"periodo vuoto",
         {true, 0, "L'OSTE", QDate(2025, 1, 1), QDate(2025, 1, 31), {}},
         {},
         {},
         {},
         "Stampa incasso dal 01/01/2025 al 31/01/2025"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.caso);
        // The same copy each time: nothing of the previous case stays.
        const QString file = stampa::PreparaArchivio(t.host(), modello, scratch, c.s);
        EXPECT_EQ(QFileInfo(file).fileName(), QStringLiteral("modello.sqlite"));
        EXPECT_EQ(colonna(file, "noteteste", "id"), c.teste);
        EXPECT_EQ(colonna(file, "noteincassi", "ContatoreIN"), c.righe);
        EXPECT_EQ(colonna(file, "anagraficalocali", "CodLocale"), c.locali);
        EXPECT_EQ(colonna(file, "Parametri", "Parametri"), QStringList{QLatin1String(c.titolo)});
        EXPECT_EQ(colonna(file, "Parametri", "Descr1"), QStringList{TestoData(c.s.dal)});
    }
}

TEST_F(ArchivioStampa, ValuesKeepTheirKindAndNullsStayNull) {
    const QString file = stampa::PreparaArchivio(
        t.host(), modello, cartella.path() + QStringLiteral("/s"), {false, 1, {}, {}, {}, {}});
    auto db = Database::OpenSqlite(file, true);
    EXPECT_DOUBLE_EQ(db->queryNative("SELECT Riscosso FROM noteteste", {}).scalar().toDouble(),
                     100.5);
    EXPECT_EQ(db->queryNative("SELECT DataRegistrazione FROM noteteste", {}).scalar().toString(),
              QStringLiteral("2026-03-02"));
    EXPECT_EQ(db->queryNative("SELECT count(*) FROM noteincassi WHERE Cassetto IS NULL", {})
                  .scalar()
                  .toInt(),
              1);
    EXPECT_EQ(db->queryNative("SELECT Insegna FROM anagraficalocali", {}).scalar().toString(),
              QStringLiteral("L'Oste"));
}

// The balances after each printed document, summed day by day over the
// venue's history: rows up to the document's day count, later ones do not.
TEST_F(ArchivioStampa, OpenBalancesAsOfEachDocument) {
    const ContiAssociati conti = ContiAssociati::Leggi(t.host());
    auto riga = [&](const char* ruolo, const char* data, double dare, double avere) {
        return QStringLiteral(
                   "INSERT INTO NoteRighe (IdTesta, CodConto, CodLocale, Data, Dare, "
                   "Avere) VALUES (0, '%1', 'L''OSTE', '%2', %3, %4)")
            .arg(conti[QLatin1String(ruolo)], QLatin1String(data))
            .arg(dare)
            .arg(avere);
    };
    t.run({riga("ResiduiIncassi", "2026-03-01", 10, 0), riga("ResiduiIncassi", "2026-03-02", 5, 2),
           riga("ResiduiIncassi", "2026-03-05", 0, 4), riga("ResiduiIncassi", "2026-03-20", 100, 0),
           riga("PrestitiALocale", "2026-02-01", 500, 0),
           riga("cassaaccontilocale", "2026-03-09", 0, 30),
           "INSERT INTO NoteTeste (id, CodLocale, CodCausale, DataRegistrazione) VALUES "
           "(6, 'L''OSTE', 'ACC', '2026-03-01')",
           "INSERT INTO NoteIncassi (IdTesta, linkscheda, DataIncasso, acconti, Chiuso) VALUES "
           "(6, 11, '2026-03-01', 25, 0), (6, 12, '2026-03-01', 40, 1)"});
    const QString file =
        stampa::PreparaArchivio(t.host(), modello, cartella.path() + QStringLiteral("/s"),
                                {true, 0, "L'OSTE", QDate(2026, 3, 1), QDate(2026, 3, 31), {}});
    EXPECT_EQ(colonna(file, "saldilocale", "IdTesta || ':' || Importo"),
              (QStringList{"1:13.0", "1:500.0", "1:25.0", "1:0.0", "2:9.0", "2:500.0", "2:25.0",
                           "2:30.0"}));
}

TEST_F(ArchivioStampa, AMissingTemplateIsSaid) {
    try {
        stampa::PreparaArchivio(t.host(), modello + QStringLiteral(".manca"), cartella.path(),
                                {false, 1, {}, {}, {}, {}});
        FAIL() << "a missing template must be said";
    } catch (const Errore& e) {
        EXPECT_TRUE(e.testo().contains(QStringLiteral("non esiste"))) << e.testo().toStdString();
    }
}

TEST(CartellaStampa, OnePerUserAndProcess) {
    const QString a = stampa::CartellaTemporanea(QStringLiteral("ANNA"));
    const QString b = stampa::CartellaTemporanea(QStringLiteral("../BRUNO"));
    EXPECT_NE(a, b);
    EXPECT_TRUE(QDir(a).exists());
    EXPECT_FALSE(QFileInfo(b).fileName().contains(u'/'));
    EXPECT_TRUE(QFileInfo(b).fileName().contains(QStringLiteral("BRUNO")));
    // Another process of the same user has its own.
    EXPECT_TRUE(a.endsWith(QString::number(QCoreApplication::applicationPid())));
    QDir(a).removeRecursively();
    QDir(b).removeRecursively();
}

}  // namespace
