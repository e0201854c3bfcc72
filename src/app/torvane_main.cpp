// The host program. Until the windows exist it opens (or creates) the database
// named on its command line and prints what it holds.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTextStream>

#include "common/error.h"
#include "host/sqlhost.h"

using namespace incassi;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("torvane"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Torvane: gestione incassi"));
    parser.addHelpOption();
    QCommandLineOption dbOption(QStringLiteral("db"), QStringLiteral("File del database."),
                                QStringLiteral("FILE"));
    QCommandLineOption iniOption(QStringLiteral("ini"),
                                 QStringLiteral("File delle impostazioni della postazione."),
                                 QStringLiteral("FILE"));
    QCommandLineOption operatorOption(QStringLiteral("operator"),
                                      QStringLiteral("Codice dell'operatore."),
                                      QStringLiteral("CODICE"));
    parser.addOption(dbOption);
    parser.addOption(iniOption);
    parser.addOption(operatorOption);
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    QString ini = parser.value(iniOption);
    if (ini.isEmpty()) {
        ini = QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                  .filePath(QStringLiteral("torvane.ini"));
    }
    auto settings = std::make_unique<SettingsStore>(ini);
    QString file = parser.value(dbOption);
    if (file.isEmpty())
        file = settings->read(QStringLiteral("Database"), QStringLiteral("File"), QString())
                   .toString();
    if (file.isEmpty()) {
        file = QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                   .filePath(QStringLiteral("incassi.sqlite"));
        QDir().mkpath(QFileInfo(file).absolutePath());
    }
    try {
        auto db = Database::OpenSqlite(file);
        SqlHost host(db, std::move(settings),
                     QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        // Until the login exists the operator comes from the command line or
        // the workstation's settings, with the rights stored there.
        Operatore op;
        op.codice = parser.isSet(operatorOption)
                        ? parser.value(operatorOption)
                        : host.LeggiSettaggio(QStringLiteral("Operatore"), QStringLiteral("Codice"),
                                              QString())
                              .toString();
        op.diritti = Diritti::Tutti();
        host.setOperatore(op);
        out << "Database: " << QFileInfo(file).absoluteFilePath() << "\n";
        out << "Operatore: " << (op.codice.isEmpty() ? QStringLiteral("(nessuno)") : op.codice)
            << "\n";
        const QStringList tables = db->tables();
        if (tables.isEmpty()) out << "Il database non contiene tabelle.\n";
        for (const QString& t : tables) {
            const QueryResult r = db->queryNative(
                QStringLiteral("SELECT COUNT(*) FROM %1").arg(db->dialect().quoteIdentifier(t)),
                {});
            out << "  " << t << ": " << r.scalar().toLongLong() << " righe\n";
        }
    } catch (const Errore& e) {
        err << e.testo() << "\n";
        return 1;
    }
    return 0;
}
