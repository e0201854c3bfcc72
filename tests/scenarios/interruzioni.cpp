// Kills a saving incassi-run at random moments, over and over, and checks the
// database after each kill: every document is whole or absent, never half
// written; what was committed stays.
//
//   interruzioni INCASSI-DB INCASSI-RUN GIORNO-DEMO SCENARIO.json GIRI
//
// Exit status 0 when every round found a sound database.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

#include "host/database.h"
#include "schema/controllo.h"
#include "values/error.h"

using namespace incassi;

namespace {

void Scrivi(const QString& testo) {
    std::fputs(qPrintable(testo + u'\n'), stderr);
}

// The documents after `dopo` and, for each, its machine rows.
std::vector<std::pair<qint64, qint64>> Documenti(Database& db, qint64 dopo) {
    std::vector<std::pair<qint64, qint64>> out;
    for (const auto& r : db.queryNative(QStringLiteral("SELECT t.id, (SELECT count(*) FROM "
                                                       "NoteIncassi i WHERE i.IdTesta = t.id) "
                                                       "FROM NoteTeste t WHERE t.id > ? "
                                                       "ORDER BY t.id"),
                                        {dopo})
                             .rows)
        out.emplace_back(r[0].toLongLong(), r[1].toLongLong());
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 6) {
        Scrivi(QStringLiteral("Uso: interruzioni INCASSI-DB INCASSI-RUN GIORNO SCENARIO GIRI"));
        return 2;
    }
    const int giri = a[5].toInt();
    QTemporaryDir cartella;
    const QString file = QDir(cartella.path()).filePath(QStringLiteral("demo.sqlite"));
    if (QProcess::execute(a[1], {QStringLiteral("demo"), file, QStringLiteral("--oggi"), a[3]}) !=
        0) {
        Scrivi(QStringLiteral("incassi-db demo non riuscito"));
        return 1;
    }
    qint64 primo = 0;  // the documents of the demo stay as they are
    {
        auto db = Database::OpenSqlite(file, true);
        primo = db->queryNative(QStringLiteral("SELECT max(id) FROM NoteTeste"), {})
                    .scalar()
                    .toLongLong();
    }
    // One whole run first: how long a save takes, and how many rows a whole
    // document has.
    QElapsedTimer orologio;
    orologio.start();
    if (QProcess::execute(a[2], {QStringLiteral("--db"), file, a[4]}) != 0) {
        Scrivi(QStringLiteral("la prima corsa intera non è riuscita"));
        return 1;
    }
    const qint64 durata = std::max<qint64>(orologio.elapsed(), 5);
    qint64 righeIntere = 0;
    {
        auto db = Database::OpenSqlite(file, true);
        righeIntere = Documenti(*db, primo).back().second;
    }
    int uccise = 0, finite = 0;
    qint64 scritti = 0;
    for (int giro = 1; giro <= giri; ++giro) {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(a[2], {QStringLiteral("--db"), file, a[4]});
        if (!p.waitForStarted()) {
            Scrivi(QStringLiteral("incassi-run non parte"));
            return 1;
        }
        // Anywhere from the start to a little past the usual end of a run.
        QThread::usleep(QRandomGenerator::global()->bounded(quint32(durata * 1200)));
        // Without an event loop the state is known only by asking.
        if (!p.waitForFinished(0) && p.state() == QProcess::Running) {
            p.kill();  // SIGKILL: no cleanup of any kind
            ++uccise;
            p.waitForFinished();
        } else {
            // A run that ended by itself must have ended well.
            ++finite;
            if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
                Scrivi(QStringLiteral("giro %1: la corsa è finita con l'uscita %2")
                           .arg(giro)
                           .arg(p.exitCode()));
                return 1;
            }
        }
        try {
            auto db = Database::OpenSqlite(file, true);
            const schema::RapportoControllo r = schema::ControllaIntegrita(*db);
            if (!r.ok()) {
                Scrivi(
                    QStringLiteral("giro %1: database non integro\n%2").arg(giro).arg(r.testo()));
                return 1;
            }
            const auto documenti = Documenti(*db, primo);
            scritti = qint64(documenti.size());
            for (const auto& [id, righe] : documenti) {
                if (righe != righeIntere) {
                    Scrivi(QStringLiteral("giro %1: il documento %2 ha %3 righe apparecchio "
                                          "invece di %4")
                               .arg(giro)
                               .arg(id)
                               .arg(righe)
                               .arg(righeIntere));
                    return 1;
                }
            }
        } catch (const Errore& e) {
            Scrivi(QStringLiteral("giro %1: %2").arg(giro).arg(e.testo()));
            return 1;
        }
    }
    // Kills that all came before any commit would prove nothing.
    if (scritti < 2 || uccise < giri / 4) {
        Scrivi(QStringLiteral("troppo pochi documenti scritti (%1) o corse uccise (%2)")
                   .arg(scritti)
                   .arg(uccise));
        return 1;
    }
    Scrivi(QStringLiteral("%1 giri: %2 corse uccise, %3 finite prima; %4 documenti interi "
                          "scritti; database integro dopo ogni giro.")
               .arg(giri)
               .arg(uccise)
               .arg(finite)
               .arg(scritti));
    return 0;
}
