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
    parser.addOption(dbOption);
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    QString file = parser.value(dbOption);
    if (file.isEmpty()) {
        file = QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                   .filePath(QStringLiteral("incassi.sqlite"));
        QDir().mkpath(QFileInfo(file).absolutePath());
    }
    try {
        auto db = Database::OpenSqlite(file);
        out << "Database: " << QFileInfo(file).absoluteFilePath() << "\n";
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
