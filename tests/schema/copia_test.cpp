// A whole database copied into the engine of the run and back into a new
// file: every value comes back as it was, awkward texts, Nulls, days,
// instants and extreme numbers included; a destination with tables is refused.

#include "schema/copia.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "host/database.h"
#include "support/testdb.h"
#include "values/error.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

QStringList Righe(Database& db) {
    QStringList out;
    const QueryResult r = db.query("select * from Prove order by id");
    for (const auto& riga : r.rows) {
        QStringList campi;
        for (size_t i = 0; i < riga.size(); ++i) {
            const QVariant v = db.dialect().fromEngine(riga[i], r.columns[i].type);
            campi << (v.isNull() ? QStringLiteral("<null>") : v.toString());
        }
        out << campi.join(u'|');
    }
    return out;
}

TEST(Copia, EveryValueComesBackAsItWas) {
    QTemporaryDir cartella;
    const QString origine = QDir(cartella.path()).filePath("origine.sqlite");
    {
        auto db = Database::OpenSqlite(origine);
        const Dialect& d = db->dialect();
        db->executeScript(
            {QStringLiteral("CREATE TABLE Prove (%1, Testo %2, Nota %3, Giorno %4, "
                            "Istante %5, Importo %6, Numero %7, Flag %8)")
                 .arg(d.keyDefinition(true), d.columnTypeSql(FieldType::Text, 40),
                      d.columnTypeSql(FieldType::Memo, 0), d.columnTypeSql(FieldType::Date, 0),
                      d.columnTypeSql(FieldType::DateTime, 0),
                      d.columnTypeSql(FieldType::Double, 0), d.columnTypeSql(FieldType::Integer, 0),
                      d.columnTypeSql(FieldType::Flag, 0))});
        const QStringList colonne{"id",      "Testo",   "Nota",   "Giorno",
                                  "Istante", "Importo", "Numero", "Flag"};
        db->insert("Prove", colonne,
                   {7, "tab\there", "riga\nnuova\r\\ e \\N", QDate(2026, 2, 28),
                    QDateTime(QDate(2026, 3, 4), QTime(23, 59, 58)), 0.1 + 0.2, -2147483647, true});
        db->insert("Prove", colonne,
                   {12, "L'OSTE \"àèìòù€\"", QVariant(), QVariant(), QVariant(), 1e300, 0, false});
        db->insert("Prove", colonne,
                   {40, QVariant(), "", QDate(1990, 1, 1), QVariant(), -123456789.125, QVariant(),
                    QVariant()});
    }
    auto da = Database::OpenSqlite(origine, true);
    TestDb t;
    // A new server database has no case-blind text yet: the copy brings it.
    if (test::SuPostgres()) t.db().executeScript({"DROP EXTENSION IF EXISTS citext"});
    schema::CopiaDatabase(*da, t.db());
    EXPECT_EQ(Righe(t.db()), Righe(*da));
    // The counter goes on after the ids copied.
    EXPECT_EQ(t.db().insert("Prove", {"Testo"}, {"nuova"}), 41);

    const QString ritorno = QDir(cartella.path()).filePath("ritorno.sqlite");
    {
        auto indietro = Database::OpenSqlite(ritorno);
        t.db().execute("delete from Prove where id=41");
        schema::CopiaDatabase(t.db(), *indietro);
        EXPECT_EQ(Righe(*indietro), Righe(*da));
        EXPECT_THROW(schema::CopiaDatabase(t.db(), *indietro), Errore);
    }
}

}  // namespace
