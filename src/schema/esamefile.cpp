#include "schema/esamefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <atomic>
#include <functional>

#include "host/connessione.h"
#include "host/database.h"
#include "schema/creazione.h"
#include "schema/schema.h"

namespace incassi::schema {

namespace {

std::atomic<int> contatoreConnessioni{0};

EsameFile Esito(StatoFile stato, const QString& messaggio = QString()) {
    EsameFile e;
    e.stato = stato;
    e.messaggio = messaggio;
    return e;
}

// What a database is by its tables (lower-case names); the version is read
// only for ours.
EsameFile DaiNomi(const QStringList& tabelle, const QString& dove,
                  const std::function<int()>& versione) {
    if (tabelle.isEmpty()) return Esito(StatoFile::DatabaseVuoto);
    if (!tabelle.contains(QString::fromLatin1(kTabellaVersione).toLower()) ||
        !tabelle.contains(u"noteteste")) {
        return Esito(StatoFile::DatabaseEstraneo,
                     QStringLiteral("Il database %1 appartiene a un altro programma: non contiene "
                                    "le tabelle di Incassi. Non viene modificato.")
                         .arg(dove));
    }
    EsameFile e = Esito(StatoFile::DatabaseIncassi);
    e.versione = versione();
    return e;
}

// Reads the tables and the schema version through a read-only connection.
EsameFile EsaminaDatabase(const QString& percorso) {
    const QString nome = QStringLiteral("esame-%1").arg(++contatoreConnessioni);
    EsameFile e;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
        db.setDatabaseName(percorso);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            e = Esito(StatoFile::Illeggibile,
                      QStringLiteral("Impossibile leggere il database %1.").arg(percorso));
        } else {
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"))) {
                e = Esito(StatoFile::NonDatabase,
                          QStringLiteral("Il file %1 non è un database leggibile.").arg(percorso));
            } else {
                QStringList tabelle;
                while (q.next())
                    tabelle << q.value(0).toString().toLower();
                e = DaiNomi(tabelle, percorso, [&] {
                    QSqlQuery v(db);
                    return v.exec(QStringLiteral("SELECT max(versione) FROM %1")
                                      .arg(QString::fromLatin1(kTabellaVersione))) &&
                                   v.next()
                               ? v.value(0).toInt()
                               : 0;
                });
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(nome);
    return e;
}

}  // namespace

EsameFile EsaminaAperto(Database& db) {
    QStringList tabelle;
    for (const QString& t : db.tables())
        tabelle << t.toLower();
    return DaiNomi(tabelle, db.fileName(), [&] { return VersioneDatabase(db); });
}

EsameFile Esamina(const QString& dove, std::shared_ptr<Database>& server, bool soloLettura) {
    if (!IndirizzoPostgres(dove)) return EsaminaFile(dove);
    server = ApriDatabase(dove, soloLettura, PasswordDaTerminale);
    return EsaminaAperto(*server);
}

void SvuotaDatabase(Database& db) {
    QStringList istruzioni;
    for (const QString& t : db.tables())
        istruzioni << QStringLiteral("DROP TABLE %1").arg(db.dialect().quoteIdentifier(t));
    Transazione tr(db);
    db.executeScript(istruzioni);
    tr.commit();
}

EsameFile EsaminaFile(const QString& percorso) {
    const QFileInfo info(percorso);
    if (info.isDir()) {
        return Esito(StatoFile::Cartella,
                     QStringLiteral("%1 è una cartella, non un file di database.").arg(percorso));
    }
    if (!info.exists()) {
        if (!info.absoluteDir().exists()) {
            return Esito(StatoFile::CartellaMancante,
                         QStringLiteral("La cartella %1 non esiste.")
                             .arg(QDir::toNativeSeparators(info.absolutePath())));
        }
        return Esito(StatoFile::FileMancante,
                     QStringLiteral("Il file %1 non esiste.").arg(percorso));
    }
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly)) {
        return Esito(
            StatoFile::Illeggibile,
            QStringLiteral("Impossibile leggere il file %1: %2.").arg(percorso, f.errorString()));
    }
    if (f.size() == 0) return Esito(StatoFile::FileVuoto);
    static const QByteArray kIntestazione("SQLite format 3\0", 16);
    if (f.read(16) != kIntestazione) {
        return Esito(StatoFile::NonDatabase,
                     QStringLiteral("Il file %1 non è un database SQLite. Non viene modificato.")
                         .arg(percorso));
    }
    f.close();
    return EsaminaDatabase(percorso);
}

}  // namespace incassi::schema
