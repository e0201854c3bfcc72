#include "bookkeeping/archivio.h"

#include <gtest/gtest.h>

#include "host/host.h"
#include "support/anagrafiche.h"
#include "support/incassi.h"
#include "support/qtprint.h"
#include "values/error.h"
#include "values/values.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

const QDate kGiorno = test::kGiornoIncassi;

// BAR1 with machines 1 and 2, advances 500 (machine 1, the 15th), 520
// (machine 2, the 20th) and 530 (machine 1, the 21st), refill 510 (machine 2).
class ArchivioTest : public ::testing::Test {
  protected:
    void SetUp() override { test::PreparaLocaleConAperti(t); }

    QVariant q(const QString& sql) { return t.scalar(sql); }

    // An INC6 collection of machine 1 with its advance deducted, and one of
    // machine 2 without meters; two balanced bookkeeping rows.
    qlonglong salvaIncasso(Archivio::Documento d = {}) {
        if (d.causale.isEmpty()) {
            d.causale = QStringLiteral("INC6");
            d.codLocale = QStringLiteral("BAR1");
            d.data = kGiorno;
            d.deduceAcconti = true;
        }
        auto incassi = archivio.RigheIncassi(d.id);
        for (incassi->MoveFirst(); !incassi->Eof(); incassi->MoveNext())
            incassi->Delete();
        incassi->AddNew();
        incassi->SetValue("linkscheda", 1);
        incassi->SetValue("ContatoreIn", 1600);
        incassi->SetValue("ContatoreOUT", 700);
        incassi->SetValue("VecchioContatoreIN", 1000);
        incassi->SetValue("VecchioContatoreOut", 400);
        incassi->SetValue("DataVecchioContatore", QDate(2026, 3, 13));
        incassi->SetValue("HopperOLD1", 50);
        incassi->SetValue("LivelloH1", 30);
        incassi->SetValue("TipoH1", 1);
        incassi->SetValue("acconti", 40);
        incassi->AddNew();
        incassi->SetValue("linkscheda", 2);  // not read: not stored
        auto nota = archivio.RigheNota(d.id);
        for (nota->MoveFirst(); !nota->Eof(); nota->MoveNext())
            nota->Delete();
        for (const char* conto : {"01.01.01", "02.01.01"}) {
            nota->AddNew();
            nota->SetValue("CodConto", conto);
            nota->SetValue(conto[1] == '1' ? "Dare" : "Avere", 123.45);
        }
        TransazioneHost tr(t.host());
        const qlonglong id = archivio.Salva(
            d,
            [&](RecordSet& testata) {
                testata.SetValue("CodCausale", d.causale);
                testata.SetValue("CodLocale", d.codLocale);
                testata.SetValue("DataRegistrazione", d.data);
                testata.SetValue("TotPreu", 10.1);
                testata.SetValue("TotAams", 0.2);
                testata.SetValue("TotRete", 0.7);
            },
            incassi.get(), nota.get());
        tr.commit();
        return id;
    }

    TestDb t;
    Archivio archivio{t.host()};
};

TEST_F(ArchivioTest, ASaveWritesTheDocumentAndADeletionTakesItBack) {
    const qlonglong id = salvaIncasso();
    ASSERT_GT(id, 53);
    EXPECT_EQ(Dec::DaCella(q(QStringLiteral("select totTasse from NoteTeste where id=%1").arg(id))),
              Dec::DaCella(11));
    // The rows carry the document's id, day, venue and their order.
    EXPECT_EQ(
        q(QStringLiteral("select count(*) from NoteRighe where idtesta=%1 and CodLocale='BAR1' "
                         "and Data='2026-03-20' and Riga in (1,2)")
              .arg(id))
            .toInt(),
        2);
    EXPECT_EQ(q(QStringLiteral("select sum(linkscheda) from NoteIncassi where idtesta=%1").arg(id))
                  .toInt(),
              1);
    EXPECT_EQ(q(QStringLiteral("select NumGiorniIncasso from NoteIncassi where idtesta=%1").arg(id))
                  .toInt(),
              7);
    // The card, the advance up to the day, and the venue's advance headers.
    EXPECT_DOUBLE_EQ(q("select cntotin from MagSchede where id=1").toDouble(), 1600);
    EXPECT_DOUBLE_EQ(q("select attualeh1 from MagSchede where id=1").toDouble(), 30);
    EXPECT_EQ(q("select IdChiusura from NoteIncassi where id=500").toLongLong(), id);
    EXPECT_EQ(q("select Chiuso from NoteIncassi where id=530").toInt(), 0);
    EXPECT_EQ(q("select idOnda from NoteTeste where id=50").toLongLong(), id);

    // Loaded back as it was written.
    EXPECT_EQ(archivio.RigheNota(id)->RecordCount(), 2);
    EXPECT_EQ(archivio.RigheIncassi(id)->RecordCount(), 1);
    EXPECT_EQ(archivio.RigheNota(0)->RecordCount(), 0);

    {
        TransazioneHost tr(t.host());
        archivio.Elimina(id);
        tr.commit();
    }
    EXPECT_EQ(q(QStringLiteral("select count(*) from NoteRighe where idtesta=%1").arg(id)).toInt(),
              0);
    EXPECT_DOUBLE_EQ(q("select cntotin from MagSchede where id=1").toDouble(), 1000);
    EXPECT_EQ(q("select ultimoIncasso from MagSchede where id=1").toString(), "2026-03-13");
    EXPECT_DOUBLE_EQ(q("select attualeh1 from MagSchede where id=1").toDouble(), 50);
    EXPECT_EQ(q("select Chiuso from NoteIncassi where id=500").toInt(), 0);
    EXPECT_EQ(q("select idOnda from NoteTeste where id=50").toInt(), 0);
    EXPECT_FALSE(archivio.StatoDocumento(id).esiste);
    EXPECT_THROW(archivio.Elimina(id), Errore);
}

TEST_F(ArchivioTest, AnIgnoredAdvanceIsNotSettled) {
    Archivio::Documento d{0, "INC6", "BAR1", kGiorno, false, false};
    salvaIncasso(d);
    EXPECT_EQ(q("select Chiuso from NoteIncassi where id=500").toInt(), 0);
    EXPECT_EQ(q("select idOnda from NoteTeste where id=50").toInt(), 0);
}

TEST_F(ArchivioTest, ACorrectionTakesOnlyTheVersionItRead) {
    const qlonglong id = salvaIncasso();
    t.run({QStringLiteral("UPDATE NoteTeste SET Versione=3 WHERE id=%1").arg(id)});
    TransazioneHost tr(t.host());
    EXPECT_EQ(archivio.PrendiTestata(id, 2), Archivio::Presa::Cambiata);
    EXPECT_EQ(archivio.PrendiTestata(id, 3), Archivio::Presa::Presa);
    EXPECT_EQ(archivio.StatoDocumento(id).versione, 4);
    EXPECT_EQ(archivio.PrendiTestata(id + 1, 0), Archivio::Presa::Cambiata);
    t.run({QStringLiteral("UPDATE NoteTeste SET Bloccato=-1 WHERE id=%1").arg(id)});
    EXPECT_EQ(archivio.PrendiTestata(id, 4), Archivio::Presa::Bloccata);
}

TEST_F(ArchivioTest, ACorrectionRewritesItsRowsAndThrowsWhenTheHeaderIsGone) {
    const qlonglong id = salvaIncasso();
    Archivio::Documento d{id, "INC6", "BAR1", kGiorno, true, false};
    EXPECT_EQ(salvaIncasso(d), id);
    EXPECT_EQ(q(QStringLiteral("select count(*) from NoteRighe where idtesta=%1").arg(id)).toInt(),
              2);
    EXPECT_EQ(
        q(QStringLiteral("select count(*) from NoteIncassi where idtesta=%1").arg(id)).toInt(), 1);
    t.run({QStringLiteral("DELETE FROM NoteTeste WHERE id=%1").arg(id)});
    EXPECT_THROW(salvaIncasso(d), Errore);
}

// Later documents of the same causal and venue; the same day counts when its
// id is higher.
TEST_F(ArchivioTest, LaterDocumentsAreCounted) {
    t.run(
        {"INSERT INTO NoteTeste (id, CodLocale, CodCausale, DataRegistrazione, Versione) VALUES "
         "(60, 'BAR1', 'INC6', '2026-03-20', 5), (61, 'BAR1', 'INC6', '2026-03-20', 0), "
         "(62, 'bar1', 'inc6', '2026-03-22', 0), (63, 'BAR2', 'INC6', '2026-03-25', 0), "
         "(59, 'BAR1', 'INC6', '2026-03-20', 0), (64, 'BAR1', 'INC', '2026-03-25', 0), "
         "(70, NULL, 'GIRO', '2026-03-20', 0), (71, NULL, 'GIRO', '2026-03-21', 0)"});
    const Archivio::Stato s = archivio.StatoDocumento(60);
    EXPECT_TRUE(s.esiste);
    EXPECT_EQ(s.versione, 5);
    EXPECT_FALSE(s.bloccato);
    EXPECT_EQ(s.successivi, 2);  // 61 the same day, 62 two days later
    EXPECT_EQ(archivio.StatoDocumento(62).successivi, 0);
    EXPECT_EQ(archivio.StatoDocumento(70).successivi, 1);  // no venue: any venue
    EXPECT_FALSE(archivio.StatoDocumento(999).esiste);
    // Strictly later days only, for the checks on modifying or back-dating.
    const Archivio::Dopo dopo = archivio.DocumentiDopo("INC6", "BAR1", kGiorno);
    EXPECT_EQ(dopo.numero, 1);
    EXPECT_EQ(dopo.ultimo, QDate(2026, 3, 22));
    EXPECT_EQ(archivio.DocumentiDopo("INC", "BAR1", QDate(2026, 3, 25)).numero, 0);
}

// Whether a document of the 20th is still the latest for machine 1 at BAR1,
// given one other document holding the machine.
TEST_F(ArchivioTest, LatestDocument) {
    struct Caso {
        const char* causale;
        const char* altra;
        const char* data;
        bool ultimo;
    } casi[] = {
        {"INC6", "INC6", "2026-03-21", false}, {"inc6", "FUR", "2026-03-21", false},
        {"INC6", "INC", "2026-03-21", true},   {"INC6", "INC6", "2026-03-20", true},
        {"INC", "INC", "2026-03-25", false},   {"INC", "INC6", "2026-03-25", true},
        {"FUR", "INC", "2026-03-21", false},   {"CH", "RH", "2026-03-21", false},
        {"RH", "INC6", "2026-03-21", true},    {"CAM", "CAM", "2026-03-21", false},
        {"CAM", "INC", "2026-03-21", true},    {"ACC", "ACC", "2026-03-01", false},
    };
    for (const Caso& c : casi) {
        t.run({QStringLiteral("INSERT INTO NoteTeste (id, CodLocale, CodCausale, "
                              "DataRegistrazione) VALUES (900, 'BAR1', '%1', '%2')")
                   .arg(c.altra, c.data),
               QStringLiteral("INSERT INTO NoteIncassi (IdTesta, linkscheda, DataIncasso) VALUES "
                              "(900, 1, '%1')")
                   .arg(c.data)});
        EXPECT_EQ(archivio.UltimoDocumento(1, kGiorno, c.causale, "BAR1"), c.ultimo)
            << c.causale << " then " << c.altra << " on " << c.data;
        t.run({"DELETE FROM NoteIncassi WHERE IdTesta=900", "DELETE FROM NoteTeste WHERE id=900"});
    }
    // A machine moved to another venue is not this document's to update.
    EXPECT_TRUE(archivio.UltimoDocumento(1, kGiorno, "INC6", "bar1"));
    EXPECT_FALSE(archivio.UltimoDocumento(1, kGiorno, "INC6", "BAR2"));
    EXPECT_FALSE(archivio.UltimoDocumento(99, kGiorno, "INC6", "BAR1"));

    // Several machines at once: each answered for itself.
    t.run({"INSERT INTO NoteTeste (id, CodLocale, CodCausale, DataRegistrazione) VALUES "
           "(901, 'BAR1', 'INC6', '2026-03-22')",
           "INSERT INTO NoteIncassi (IdTesta, linkscheda, DataIncasso) VALUES "
           "(901, 2, '2026-03-22')"});
    EXPECT_EQ(archivio.UltimiDocumenti({1, 2, 99}, kGiorno, "INC6", "BAR1"), QSet<qlonglong>{1});
    EXPECT_EQ(archivio.UltimiDocumenti({1, 2}, kGiorno, "INC", "BAR1"),
              (QSet<qlonglong>{1, 2}));
    EXPECT_TRUE(archivio.UltimiDocumenti({1, 2}, kGiorno, "INC6", "BAR2").isEmpty());
    EXPECT_TRUE(archivio.UltimiDocumenti({}, kGiorno, "INC6", "BAR1").isEmpty());
}

// A venue's balance up to a day, with or without one document's own rows.
TEST_F(ArchivioTest, BalanceOfAnAccountAtAVenue) {
    t.run(
        {"INSERT INTO NoteRighe (IdTesta, CodConto, CodLocale, Data, Dare, Avere) VALUES "
         "(80, '01.01.09', 'BAR1', '2026-03-10', 100, 0), "
         "(81, '01.01.09', 'bar1', '2026-03-20', 0, 30.5), "
         "(82, '01.01.09', 'BAR1', '2026-03-20', 7.25, 0), "
         "(82, '01.01.09', 'BAR1', '2026-03-25', 1000, 0), "  // after the day
         "(83, '01.01.09', 'BAR2', '2026-03-10', 50, 0), "
         "(84, '01.01.10', 'BAR1', '2026-03-10', 60, 0)"});
    struct Caso {
        qlonglong escluso;
        double atteso;
    } casi[] = {{0, 76.75}, {82, 69.5}, {81, 107.25}, {99, 76.75}};
    for (const Caso& c : casi) {
        EXPECT_EQ(archivio.Saldo("01.01.09", "BAR1", kGiorno, c.escluso), Dec::DaDouble(c.atteso))
            << c.escluso;
    }
    EXPECT_EQ(archivio.Saldo("01.01.09", "BAR1", QDate(2026, 3, 9)), Dec());
}

}  // namespace
