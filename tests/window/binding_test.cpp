#include "window/binding.h"

#include <gtest/gtest.h>

#include <QDate>

#include "support/testdb.h"
#include "values/values.h"

namespace incassi {
namespace {

class Binding : public ::testing::Test {
  protected:
    void SetUp() override {
        db.createDocumentTables();
        Controllo& azienda = f.aggiungi(QStringLiteral("cmbCodLocale"));
        azienda.aggiungiElemento(QStringLiteral("Bar Sport"), QStringLiteral("L01"));
        azienda.aggiungiElemento(QStringLiteral("Bar Roma"), QStringLiteral("L02"));
        f.aggiungi(QStringLiteral("txeCodCausale"));
        f.aggiungi(QStringLiteral("txtDataRegistrazione"));
        f.aggiungi(QStringLiteral("chkChiuso"));
        f.aggiungi(QStringLiteral("lllRiscosso"));
        f.aggiungi(QStringLiteral("txtDescrizione"));
        f.aggiungi(QStringLiteral("EtiId"));
        f.aggiungi(QStringLiteral("txtNonEsiste"));    // no such column
        f.aggiungi(QStringLiteral("txlCodCausale"));   // a filter: never bound
        f.aggiungi(QStringLiteral("cmdDescrizione"));  // a button: never bound
    }
    test::TestDb db;
    ModelloFinestra f;
};

TEST_F(Binding, RoundTripThroughTheDatabase) {
    f[QStringLiteral("cmbCodLocale")].setListIndex(1);
    f[QStringLiteral("txeCodCausale")].setText(QStringLiteral("INC6"));
    f[QStringLiteral("txtDataRegistrazione")].setText(QStringLiteral("05/03/2024"));
    f[QStringLiteral("chkChiuso")].setChecked(1);
    f[QStringLiteral("lllRiscosso")].setCaption(QStringLiteral("1.234,5"));
    f[QStringLiteral("txtDescrizione")].setText(QStringLiteral("l'ultimo"));
    f[QStringLiteral("EtiId")].setCaption(QStringLiteral("999"));
    f[QStringLiteral("txlCodCausale")].setText(QStringLiteral("FILTRO"));

    RecordSetPtr rs = db.host().OpenRecordSet(QStringLiteral("select * from NoteTeste"));
    rs->AddNew();
    EXPECT_EQ(ControlliARiga(f, *rs), 6);
    rs->Update();

    EXPECT_EQ(db.scalar(QStringLiteral("select CodLocale from NoteTeste")), QStringLiteral("L02"));
    EXPECT_EQ(db.scalar(QStringLiteral("select CodCausale from NoteTeste")),
              QStringLiteral("INC6"));
    EXPECT_EQ(Num(db.scalar(QStringLiteral("select Chiuso from NoteTeste"))), -1);
    EXPECT_EQ(Num(db.scalar(QStringLiteral("select Riscosso from NoteTeste"))), 1234.5);
    EXPECT_NE(Num(db.scalar(QStringLiteral("select id from NoteTeste"))), 999);

    PulisciCampi(f);
    f[QStringLiteral("chkChiuso")].setChecked(0);
    RecordSetPtr letto = db.host().OpenRecordSet(QStringLiteral("select * from NoteTeste"));
    EXPECT_EQ(RigaAControlli(*letto, f), 7);
    EXPECT_EQ(f[QStringLiteral("cmbCodLocale")].listIndex(), 1);
    EXPECT_EQ(f[QStringLiteral("txeCodCausale")].text(), QStringLiteral("INC6"));
    EXPECT_EQ(f[QStringLiteral("txtDataRegistrazione")].text(), QStringLiteral("05/03/2024"));
    EXPECT_EQ(f[QStringLiteral("chkChiuso")].checked(), 1);
    EXPECT_EQ(f[QStringLiteral("lllRiscosso")].caption(), QStringLiteral("1234,5"));
    EXPECT_EQ(f[QStringLiteral("txtDescrizione")].text(), QStringLiteral("l'ultimo"));
    EXPECT_EQ(f[QStringLiteral("EtiId")].caption(), Txt(letto->Value(QStringLiteral("id"))));
    EXPECT_EQ(f[QStringLiteral("txtNonEsiste")].text(), QString());
    EXPECT_EQ(f[QStringLiteral("txlCodCausale")].text(), QStringLiteral("FILTRO"));
}

TEST_F(Binding, NullsShowEmptyAndTextBoxesTakeTheMaximumLength) {
    db.run({QStringLiteral("INSERT INTO NoteTeste (id, CodLocale) VALUES (1, 'L09')")});
    f[QStringLiteral("txtDescrizione")].setText(QStringLiteral("vecchio"));
    f[QStringLiteral("chkChiuso")].setChecked(1);
    RecordSetPtr rs = db.host().OpenRecordSet(QStringLiteral("select * from NoteTeste"));
    RigaAControlli(*rs, f);
    EXPECT_EQ(f[QStringLiteral("txtDescrizione")].text(), QString());
    EXPECT_EQ(f[QStringLiteral("txtDescrizione")].maxLength(), 30);
    EXPECT_EQ(f[QStringLiteral("txeCodCausale")].maxLength(), 10);
    EXPECT_EQ(f[QStringLiteral("txtDataRegistrazione")].maxLength(), 0);  // a date
    EXPECT_EQ(f[QStringLiteral("chkChiuso")].checked(), 0);
    EXPECT_EQ(f[QStringLiteral("lllRiscosso")].caption(), QString());
    EXPECT_EQ(f[QStringLiteral("cmbCodLocale")].listIndex(), -1);  // L09 is not listed
}

TEST_F(Binding, EmptyControlsWriteNullIntoNumbersAndDates) {
    RecordSetPtr rs = db.host().OpenRecordSet(QStringLiteral("select * from NoteTeste"));
    rs->AddNew();
    ControlliARiga(f, *rs);
    rs->Update();
    EXPECT_TRUE(IsNull(db.scalar(QStringLiteral("select DataRegistrazione from NoteTeste"))));
    EXPECT_TRUE(IsNull(db.scalar(QStringLiteral("select CodLocale from NoteTeste"))));
    EXPECT_EQ(Num(db.scalar(QStringLiteral("select Chiuso from NoteTeste"))), 0);
}

TEST_F(Binding, FillListWithKeys) {
    db.run(
        {QStringLiteral("INSERT INTO NoteTeste (id, CodLocale, Descrizione) VALUES "
                        "(1, 'L01', 'primo'), (2, 'L02', NULL)")});
    Controllo& lista = f.aggiungi(QStringLiteral("cmbLista"));
    lista.aggiungiElemento(QStringLiteral("vecchio"));
    RecordSetPtr vuoto =
        db.host().OpenRecordSet(QStringLiteral("select * from NoteTeste where id=0"));
    RiempiLista(*vuoto, QStringLiteral("Descrizione"), lista);
    ASSERT_EQ(lista.elementi().size(), 1u);  // no rows: the list stays as it was

    RecordSetPtr rs =
        db.host().OpenRecordSet(QStringLiteral("select * from NoteTeste order by id"));
    rs->MoveLast();
    RiempiListaChiavi(*rs, QStringLiteral("Descrizione"), QStringLiteral("codlocale"), lista);
    ASSERT_EQ(lista.elementi().size(), 2u);
    EXPECT_EQ(lista.elementi()[0].testo, QStringLiteral("primo"));
    EXPECT_EQ(lista.elementi()[1].testo, QString());
    EXPECT_EQ(lista.elementi()[1].dato, QStringLiteral("L02"));
}

}  // namespace
}  // namespace incassi
