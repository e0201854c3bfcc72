// Runs one end-to-end scenario: a fresh demo database in a temporary folder,
// incassi-run on the scenario, and the output compared with what is expected
// next to it.
//
//   esegui_scenario INCASSI-DB INCASSI-RUN GIORNO-DEMO NOME.json
//
// NOME.atteso.json: the run must succeed and print that JSON (objects compared
// key by key, numbers by value). NOME.errore.txt: the run must fail with exit
// status 1 and a message holding that text. NOME.poi.json, when present, runs
// next on the same database and is compared with NOME.poi.atteso.json: it
// shows what the first run left in the database.
//
// With INCASSI_MOTORE=postgresql the demo database is made on the server
// named by INCASSI_TEST_PG (a new database, dropped at the end); without a
// server the run is skipped (exit status 77).

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <memory>

#include "host/connessione.h"
#include "values/error.h"

namespace {

void Scrivi(const QString& testo) {
    std::fputs(qPrintable(testo + u'\n'), stderr);
}

struct Esito {
    int uscita = -1;
    QByteArray out, err;
};

Esito Lancia(const QString& programma, const QStringList& argomenti) {
    QProcess p;
    p.start(programma, argomenti);
    Esito e;
    if (!p.waitForFinished(120000)) {
        e.err = "il programma non è terminato: " + programma.toUtf8();
        return e;
    }
    e.uscita = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    e.out = p.readAllStandardOutput();
    e.err = p.readAllStandardError();
    return e;
}

QString Testo(const QJsonValue& v) {
    if (v.isObject())
        return QString::fromUtf8(QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact));
    if (v.isArray())
        return QString::fromUtf8(QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact));
    return QString::fromUtf8(QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact))
        .mid(1)
        .chopped(1);
}

void Confronta(const QJsonValue& atteso, const QJsonValue& ottenuto, const QString& dove,
               QStringList& diff) {
    if (atteso.isDouble() && ottenuto.isDouble()) {
        if (std::fabs(atteso.toDouble() - ottenuto.toDouble()) > 1e-9)
            diff << QStringLiteral("%1: atteso %2, ottenuto %3")
                        .arg(dove, Testo(atteso), Testo(ottenuto));
        return;
    }
    if (atteso.type() != ottenuto.type()) {
        diff << QStringLiteral("%1: atteso %2, ottenuto %3")
                    .arg(dove, Testo(atteso), Testo(ottenuto));
        return;
    }
    if (atteso.isObject()) {
        const QJsonObject a = atteso.toObject(), o = ottenuto.toObject();
        for (auto it = a.begin(); it != a.end(); ++it) {
            if (!o.contains(it.key()))
                diff << QStringLiteral("%1.%2: manca").arg(dove, it.key());
            else
                Confronta(it.value(), o.value(it.key()), dove + u'.' + it.key(), diff);
        }
        for (auto it = o.begin(); it != o.end(); ++it) {
            if (!a.contains(it.key()))
                diff << QStringLiteral("%1.%2: in più, %3").arg(dove, it.key(), Testo(it.value()));
        }
    } else if (atteso.isArray()) {
        const QJsonArray a = atteso.toArray(), o = ottenuto.toArray();
        if (a.size() != o.size())
            diff << QStringLiteral("%1: attesi %2 elementi, ottenuti %3")
                        .arg(dove)
                        .arg(a.size())
                        .arg(o.size());
        for (qsizetype i = 0; i < std::min(a.size(), o.size()); ++i)
            Confronta(a[i], o[i], QStringLiteral("%1[%2]").arg(dove).arg(i), diff);
    } else if (atteso != ottenuto) {
        diff << QStringLiteral("%1: atteso %2, ottenuto %3")
                    .arg(dove, Testo(atteso), Testo(ottenuto));
    }
}

// Runs one scenario on `db` and checks it against its expectation; true when it matches.
bool Verifica(const QString& run, const QString& db, const QString& scenario) {
    const QString base = scenario.chopped(5);  // less ".json"
    const Esito e = Lancia(run, {QStringLiteral("--db"), db, scenario});
    const QString err = QString::fromUtf8(e.err).trimmed();
    if (QFile::exists(base + QStringLiteral(".errore.txt"))) {
        QFile f(base + QStringLiteral(".errore.txt"));
        f.open(QIODevice::ReadOnly);
        const QString atteso = QString::fromUtf8(f.readAll()).trimmed();
        if (e.uscita == 1 && err.contains(atteso)) return true;
        Scrivi(QStringLiteral("%1: atteso l'errore \"%2\" con uscita 1; uscita %3, errore \"%4\"")
                   .arg(scenario, atteso)
                   .arg(e.uscita)
                   .arg(err));
        return false;
    }
    if (e.uscita != 0) {
        Scrivi(QStringLiteral("%1: uscita %2: %3").arg(scenario).arg(e.uscita).arg(err));
        return false;
    }
    QFile f(base + QStringLiteral(".atteso.json"));
    if (!f.open(QIODevice::ReadOnly)) {
        Scrivi(QStringLiteral("%1: manca %2.atteso.json; ottenuto:\n%3")
                   .arg(scenario, QFileInfo(base).fileName(), QString::fromUtf8(e.out)));
        return false;
    }
    QJsonParseError pa, po;
    const QJsonDocument atteso = QJsonDocument::fromJson(f.readAll(), &pa);
    const QJsonDocument ottenuto = QJsonDocument::fromJson(e.out, &po);
    if (pa.error != QJsonParseError::NoError || po.error != QJsonParseError::NoError) {
        Scrivi(QStringLiteral("%1: JSON non valido (atteso: %2, ottenuto: %3)")
                   .arg(scenario, pa.errorString(), po.errorString()));
        return false;
    }
    QStringList diff;
    Confronta(atteso.object(), ottenuto.object(), QStringLiteral("$"), diff);
    if (diff.isEmpty()) return true;
    Scrivi(scenario + QStringLiteral(": differenze\n  ") + diff.join(QStringLiteral("\n  ")));
    Scrivi(QStringLiteral("ottenuto:\n") + QString::fromUtf8(e.out));
    return false;
}

// A new database on the test server, dropped when the run ends.
struct DatabaseDiProva {
    DatabaseDiProva() {
        const QString admin = qEnvironmentVariable("INCASSI_TEST_PG");
        nome = QStringLiteral("scenario_%1").arg(QCoreApplication::applicationPid());
        indirizzo = admin.left(admin.lastIndexOf(u'/') + 1) + nome;
        amministrazione = incassi::ApriDatabase(admin);
        amministrazione->executeScript({QStringLiteral("DROP DATABASE IF EXISTS %1").arg(nome),
                                        QStringLiteral("CREATE DATABASE %1").arg(nome)});
    }
    ~DatabaseDiProva() {
        try {
            amministrazione->executeScript(
                {QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(nome)});
        } catch (const incassi::Errore&) {
            // A database left behind goes with the test server.
        }
    }
    QString nome, indirizzo;
    std::shared_ptr<incassi::Database> amministrazione;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 5) {
        Scrivi(QStringLiteral("Uso: esegui_scenario INCASSI-DB INCASSI-RUN GIORNO-DEMO NOME.json"));
        return 2;
    }
    QTemporaryDir cartella;
    QString db = cartella.filePath(QStringLiteral("demo.sqlite"));
    std::unique_ptr<DatabaseDiProva> server;
    if (qEnvironmentVariable("INCASSI_MOTORE") == u"postgresql") {
        if (qEnvironmentVariableIsEmpty("INCASSI_TEST_PG")) return 77;
        server = std::make_unique<DatabaseDiProva>();
        db = server->indirizzo;
    }
    const Esito demo = Lancia(a[1], {QStringLiteral("demo"), db, QStringLiteral("--oggi"), a[3]});
    if (demo.uscita != 0) {
        Scrivi(QStringLiteral("incassi-db demo: ") + QString::fromUtf8(demo.err));
        return 1;
    }
    bool ok = Verifica(a[2], db, a[4]);
    const QString poi = a[4].chopped(5) + QStringLiteral(".poi.json");
    if (ok && QFile::exists(poi)) ok = Verifica(a[2], db, poi);
    return ok ? 0 : 1;
}
