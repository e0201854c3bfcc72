#include "support/testdb.h"

#include <QDir>
#include <QFile>

namespace incassi::test {

TestDb::TestDb() : TestDb(QString()) {}

TestDb::TestDb(const QString& modello) {
    const QString file = QDir(dir_.path()).filePath(QStringLiteral("test.sqlite"));
    if (!modello.isEmpty()) QFile::copy(modello, file);
    auto db = Database::OpenSqlite(file);
    auto settings =
        std::make_unique<SettingsStore>(QDir(dir_.path()).filePath(QStringLiteral("torvane.ini")));
    host_ = std::make_unique<SqlHost>(db, std::move(settings), dir_.path());
    host_->setOperatore({QStringLiteral("ANNA"), Diritti::Tutti()});
}

TestDb::~TestDb() = default;

void TestDb::run(const QStringList& statements) {
    db().executeScript(statements);
}

void TestDb::createDocumentTables() {
    const Dialect& d = db().dialect();
    auto t = [&](FieldType type, int len = 0) { return d.columnTypeSql(type, len); };
    run({
        QStringLiteral(
            "CREATE TABLE NoteTeste (id INTEGER PRIMARY KEY, CodLocale %1, CodCausale %2, "
            "DataRegistrazione %3, Chiuso %4 DEFAULT 0, idOnda %5, iddata %6, Riscosso %7, "
            "Descrizione %8)")
            .arg(t(FieldType::Text, 20), t(FieldType::Text, 10), t(FieldType::Date),
                 t(FieldType::Flag), t(FieldType::Integer), t(FieldType::DateTime),
                 t(FieldType::Double), t(FieldType::Text, 30)),
        QStringLiteral(
            "CREATE TABLE NoteIncassi (id INTEGER PRIMARY KEY, IdTesta %1, LinkScheda %1, "
            "DataIncasso %2, Chiuso %3 DEFAULT 0, IdChiusura %1 DEFAULT 0, acconti %4, "
            "contatorein %4)")
            .arg(t(FieldType::Integer), t(FieldType::Date), t(FieldType::Flag),
                 t(FieldType::Double)),
        QStringLiteral(
            "CREATE TABLE NoteRighe (id INTEGER PRIMARY KEY, IdTesta %1, CodConto %2 NOT NULL, "
            "CodLocale %3, Data %4, Dare %5 DEFAULT 0, Avere %5 DEFAULT 0, Riga %1)")
            .arg(t(FieldType::Integer), t(FieldType::Text, 20), t(FieldType::Text, 20),
                 t(FieldType::Date), t(FieldType::Double)),
        QStringLiteral("CREATE UNIQUE INDEX NoteRighe_conto ON NoteRighe (IdTesta, CodConto)"),
    });
}

QVariant TestDb::scalar(const QString& classicSql) {
    return db().query(classicSql).scalar();
}

void TestDb::copia(const QString& file) {
    QFile::remove(file);
    db().executeNative(QStringLiteral("VACUUM INTO ?"), {file});
}

}  // namespace incassi::test
