// incassi-run: runs a scenario file against the window models, without any
// display, and prints the resulting state as JSON on standard output.
//
//   incassi-run --db FILE [--cartella DIR] SCENARIO.json
//
// --cartella: the install folder of the run, where the print window writes
// its exports (export/pdf, export/Xls, export/Doc); a temporary one otherwise.
//
// Exit status: 0 when the scenario ran to its end, 1 when it stopped (a
// malformed file, an unknown name, a question without an answer: the reason
// is on standard error), 2 for a wrong command line.

#include <QGuiApplication>
#include <QJsonDocument>
#include <QStringList>
#include <cstdio>

#include "scenario/adattatore.h"
#include "scenario/esecutore.h"
#include "scenario/scenario.h"
#include "values/error.h"

using namespace incassi;

namespace {

void Scrivi(FILE* f, const QByteArray& testo) {
    std::fwrite(testo.constData(), 1, size_t(testo.size()), f);
    std::fflush(f);
}

int Fallisci(const QString& testo, int uscita) {
    Scrivi(stderr, (testo + u'\n').toUtf8());
    return uscita;
}

}  // namespace

int main(int argc, char** argv) {
    // Reports measure and draw text: fonts, with no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    auto opzione = [&](const char* nome) {
        const int i = args.indexOf(QLatin1String(nome));
        if (i < 0 || i + 1 >= args.size()) return QString();
        const QString v = args[i + 1];
        args.remove(i, 2);
        return v;
    };
    const QString db = opzione("--db");
    const QString cartella = opzione("--cartella");
    if (db.isEmpty() || args.size() != 1 || args[0].startsWith(u"--")) {
        return Fallisci(QStringLiteral("Uso: incassi-run --db FILE [--cartella DIR] SCENARIO.json"),
                        2);
    }
    try {
        const scenario::Scenario s = scenario::LeggiScenarioDaFile(args[0]);
        const QJsonObject stato =
            scenario::EseguiScenario(s, db, scenario::TabellaAdattatori(), cartella);
        Scrivi(stdout, QJsonDocument(stato).toJson(QJsonDocument::Indented));
        return 0;
    } catch (const Errore& e) {
        return Fallisci(e.testo(), 1);
    } catch (const std::exception& e) {
        return Fallisci(QString::fromUtf8(e.what()), 1);
    }
}
