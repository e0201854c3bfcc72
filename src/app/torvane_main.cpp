// The host program: opens the suite's database, logs the operator in, loads
// the incassi plug-in and offers its function codes. With --screenshot it
// opens one window offscreen, saves it as a PNG and exits.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPluginLoader>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

#include "entry/accesso.h"
#include "host/connessione.h"
#include "host/sqlhost.h"
#include "schema/creazione.h"
#include "ui/incassiplugin.h"
#include "ui/principale.h"
#include "values/error.h"

using namespace incassi;

namespace {

void Avvisa(bool interattivo, const QString& testo) {
    if (interattivo) {
        QMessageBox::critical(nullptr, QStringLiteral("Torvane"), testo);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(testo));
    }
}

// The plug-in from --plugin, $INCASSI_PLUGIN, or the plugins folder beside
// the program; nullptr with the reason in `errore`.
IncassiPlugin* CaricaPlugin(const QString& richiesto, QPluginLoader& loader, QString& errore) {
    QStringList candidati;
    if (!richiesto.isEmpty()) candidati << richiesto;
    const QString daAmbiente = qEnvironmentVariable("INCASSI_PLUGIN");
    if (!daAmbiente.isEmpty()) candidati << daAmbiente;
    const QDir cartella(QCoreApplication::applicationDirPath());
    candidati << cartella.filePath(QStringLiteral("plugins/incassi"))
              << cartella.filePath(QStringLiteral("../lib/incassi"));
    QStringList errori;
    for (const QString& file : candidati) {
        loader.setFileName(file);
        if (auto* p = qobject_cast<IncassiPlugin*>(loader.instance())) return p;
        errori << file + QStringLiteral(": ") + loader.errorString();
        loader.unload();
    }
    errore = QStringLiteral("Il modulo incassi non è stato trovato o non si carica.\n") +
             errori.join(u'\n');
    return nullptr;
}

// "1024x768" as a size; an invalid size for anything else.
QSize Dimensioni(const QString& testo) {
    const QStringList parti = testo.split(u'x');
    if (parti.size() != 2) return {};
    return {parti[0].toInt(), parti[1].toInt()};
}

int Fotografa(IncassiPlugin& plugin, const QString& modulo, const QString& file,
              const QString& scenario, const QSize& dimensioni) {
    plugin.setCodiceStampa(modulo);
    plugin.setCodiceEsportazione(modulo);
    plugin.setParametri(QString());
    plugin.setModale(QStringLiteral("0"));
    plugin.Start();
    const QList<QWidget*> aperte = plugin.Finestre();
    if (aperte.isEmpty()) {
        std::fprintf(stderr, "Nessuna finestra per il modulo %s\n", qPrintable(modulo));
        return 1;
    }
    QWidget* w = aperte.last();
    if (dimensioni.isValid()) w->resize(dimensioni);
    w->show();
    QCoreApplication::processEvents();
    // A scripted demonstration the window knows by name, before the picture.
    if (!scenario.isEmpty()) {
        bool eseguito = false;
        if (!QMetaObject::invokeMethod(w, "eseguiScenario", Q_RETURN_ARG(bool, eseguito),
                                       Q_ARG(QString, scenario)) ||
            !eseguito) {
            std::fprintf(stderr, "Scenario %s non eseguito\n", qPrintable(scenario));
            for (QWidget* f : aperte)
                delete f;
            return 1;
        }
        QCoreApplication::processEvents();
    }
    const bool salvato = w->grab().save(file, "PNG");
    for (QWidget* f : aperte)
        delete f;
    if (!salvato) {
        std::fprintf(stderr, "Impossibile salvare %s\n", qPrintable(file));
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // A screenshot needs no display.
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--screenshot") == 0 && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("torvane"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Torvane: gestione incassi"));
    parser.addHelpOption();
    const QCommandLineOption dbOption(
        QStringLiteral("db"),
        QStringLiteral("File del database, o indirizzo postgresql://utente@server:porta/database "
                       "(ricordato dalla postazione)."),
        QStringLiteral("FILE"));
    const QCommandLineOption iniOption(QStringLiteral("ini"),
                                       QStringLiteral("File delle impostazioni della postazione."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption operatorOption(
        QStringLiteral("operator"),
        QStringLiteral("Codice dell'operatore: con --screenshot entra senza password (nessuno "
                       "davanti al programma), altrimenti è proposto nella finestra di accesso."),
        QStringLiteral("CODICE"));
    const QCommandLineOption moduleOption(QStringLiteral("module"),
                                          QStringLiteral("Funzione da aprire all'avvio."),
                                          QStringLiteral("NOME"));
    const QCommandLineOption screenshotOption(
        QStringLiteral("screenshot"), QStringLiteral("Salva la finestra in un PNG ed esce."),
        QStringLiteral("FILE"));
    const QCommandLineOption scenarioOption(
        QStringLiteral("scenario"),
        QStringLiteral("Con --screenshot: scenario dimostrativo da eseguire (ad esempio INC6)."),
        QStringLiteral("NOME"));
    const QCommandLineOption sizeOption(
        QStringLiteral("size"),
        QStringLiteral("Con --screenshot: dimensioni della finestra, ad esempio 1024x768."),
        QStringLiteral("LxA"));
    const QCommandLineOption pluginOption(QStringLiteral("plugin"),
                                          QStringLiteral("File del modulo incassi."),
                                          QStringLiteral("FILE"));
    for (const auto* o : {&dbOption, &iniOption, &operatorOption, &moduleOption, &screenshotOption,
                          &scenarioOption, &sizeOption, &pluginOption})
        parser.addOption(*o);
    parser.process(app);
    const bool foto = parser.isSet(screenshotOption);
    const bool interattivo = !foto;
    if (foto && !parser.isSet(moduleOption)) {
        std::fprintf(stderr, "--screenshot richiede --module\n");
        return 2;
    }

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
    // The workstation remembers where its database is (never a password:
    // the address carries none).
    if (parser.isSet(dbOption) && IndirizzoPostgres(file))
        settings->write(QStringLiteral("Database"), QStringLiteral("File"), file);
    QString percorso = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!percorso.endsWith(u'/')) percorso += u'/';

    std::unique_ptr<SqlHost> host;
    try {
        // A server that wants a password the password file lacks: asked here.
        auto chiedi = [interattivo](const QString& dove) {
            if (!interattivo) return QString();
            return QInputDialog::getText(nullptr, QStringLiteral("Torvane"),
                                         QStringLiteral("Password per %1:").arg(dove),
                                         QLineEdit::Password);
        };
        auto db = ApriDatabase(file, false, chiedi);
        schema::PreparaSchema(*db);
        host = std::make_unique<SqlHost>(db, std::move(settings), percorso);
        if (foto && parser.isSet(operatorOption)) {
            // Rendering offscreen: no person in front of the program, no password.
            const auto op = LeggiOperatore(*host, parser.value(operatorOption));
            if (!op) {
                Avvisa(
                    interattivo,
                    QStringLiteral("L'operatore %1 non esiste.").arg(parser.value(operatorOption)));
                return 1;
            }
            host->setOperatore(*op);
        } else {
            // Whoever sits in front of the program says who they are.
            ui::DialogoAccesso accesso(*host);
            if (parser.isSet(operatorOption)) {
                accesso.codice()->setText(parser.value(operatorOption));
                accesso.password()->setFocus();
            }
            if (accesso.exec() != QDialog::Accepted) return 0;
            host->setOperatore(*accesso.operatore());
        }
    } catch (const Errore& e) {
        Avvisa(interattivo, e.testo());
        return 1;
    }

    QPluginLoader loader;
    // The plug-in's objects (the operator record among them) go before the
    // host and the application do.
    struct Scarica {
        QPluginLoader& l;
        ~Scarica() {
            if (l.isLoaded()) l.unload();
        }
    } scarica{loader};
    QString errore;
    IncassiPlugin* plugin = CaricaPlugin(parser.value(pluginOption), loader, errore);
    if (!plugin) {
        Avvisa(interattivo, errore);
        return 1;
    }
    plugin->setApplicazione(host.get());

    try {
        if (foto)
            return Fotografa(*plugin, parser.value(moduleOption), parser.value(screenshotOption),
                             parser.value(scenarioOption), Dimensioni(parser.value(sizeOption)));
    } catch (const Errore& e) {
        Avvisa(false, e.testo());
        return 1;
    }

    ui::FinestraPrincipale principale(host->user());
    auto avvia = [&](const QString& codice) {
        try {
            plugin->setCodiceStampa(codice);
            plugin->setCodiceEsportazione(codice);
            plugin->setCodice(QString());
            plugin->setParametri(QString());
            plugin->setModale(QStringLiteral("0"));
            plugin->Start();
        } catch (const Errore& e) {
            QMessageBox::critical(&principale, codice, e.testo());
        }
    };
    QObject::connect(&principale, &ui::FinestraPrincipale::avvia, &principale, avvia);
    QObject::connect(&principale, &ui::FinestraPrincipale::chiudiTutte, &principale, [&] {
        // Every window polls the request within the interval; then it is
        // withdrawn so that new windows stay open.
        host->chiediChiusura(true);
        principale.chiusuraInCorso(true);
        QTimer::singleShot(ui::FinestraPrincipale::kDurataChiusura, &principale, [&] {
            host->chiediChiusura(false);
            principale.chiusuraInCorso(false);
        });
    });
    // Closing the main window ends the program with every window of the plug-in.
    QObject::connect(&principale, &ui::FinestraPrincipale::chiusa, &app, &QApplication::quit);
    principale.show();
    if (parser.isSet(moduleOption)) avvia(parser.value(moduleOption));
    const int esito = app.exec();
    for (QWidget* w : plugin->Finestre())
        delete w;
    return esito;
}
