// incassi-db: creates the suite's database and checks its integrity.
//
//   incassi-db init FILE [--force]   schema and the rows every installation needs
//   incassi-db demo FILE [--force] [--oggi AAAA-MM-GG]
//                                    init plus the demo operator, its history
//                                    ending on the day given (default: today)
//   incassi-db generate FILE [--force] [--venues N] [--years Y]
//                                    init plus a large synthetic operator
//   incassi-db check FILE            integrity report; exit 1 when anything is wrong
//   incassi-db copia FROM TO         the whole database into an empty one (an SQLite
//                                    file into PostgreSQL or back), then proved
//   incassi-db password FILE CODE    sets an operator's password, asked on the
//                                    terminal (or read from standard input)

#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "entry/accesso.h"
#include "host/connessione.h"
#include "host/database.h"
#include "host/sqlhost.h"
#include "schema/controllo.h"
#include "schema/copia.h"
#include "schema/creazione.h"
#include "schema/dati_iniziali.h"
#include "schema/demo.h"
#include "schema/esamefile.h"
#include "schema/generatore.h"
#include "values/error.h"
#include "values/values.h"

using namespace incassi;
using namespace incassi::schema;

namespace {

enum Uscita { kOk = 0, kAnomalie = 1, kErrore = 2 };

void Scrivi(FILE* f, const QString& testo) {
    const QByteArray utf8 = testo.toUtf8();
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), f);
    std::fflush(f);
}

int Fallisci(const QString& testo) {
    Scrivi(stderr, testo + u'\n');
    return kErrore;
}

const QString kUso = QStringLiteral(
    "Uso:\n"
    "  incassi-db init FILE [--force]   crea lo schema e i dati di base\n"
    "  incassi-db demo FILE [--force] [--oggi AAAA-MM-GG]\n"
    "                                   come init, più l'operatore dimostrativo\n"
    "                                   (la sua storia arriva al giorno dato)\n"
    "  incassi-db generate FILE [--force] [--venues N] [--years Y]\n"
    "                                   come init, più un grande operatore "
    "sintetico\n"
    "                                   (predefiniti: 2000 locali, 10 anni)\n"
    "  incassi-db check FILE            controlla l'integrità del database\n"
    "  incassi-db copia SORGENTE DESTINAZIONE\n"
    "                                   copia tutto il database in uno vuoto (un file\n"
    "                                   SQLite in PostgreSQL o viceversa), poi confronta\n"
    "                                   le righe e il controllo di integrità\n"
    "  incassi-db password FILE CODICE  imposta la password di un operatore (chiesta\n"
    "                                   senza mostrarla, o letta dallo standard input)");

int Uso() {
    return Fallisci(kUso);
}

QString GiaPieno(const QString& dove) {
    return QStringLiteral(
               "Il database %1 contiene già dati: non viene modificato. Usare --force "
               "per ricrearlo da capo.")
        .arg(dove);
}

// Schema, seed rows and `dopo`; the schema version made.
int Riempi(Database& db, const std::function<QString(Database&)>& dopo, QString& esito) {
    CreaSchema(db);
    CaricaDatiIniziali(db);
    if (dopo) esito = dopo(db);
    const QStringList statistiche = db.dialect().afterBulkLoad();
    if (!statistiche.isEmpty()) db.executeScript(statistiche);
    return VersioneDatabase(db);
}

// The same on a server: the database must exist (made by its administrator);
// its tables are made here, and dropped again when anything fails.
int InitServer(const QString& dove, bool forza, const std::function<QString(Database&)>& dopo) {
    std::shared_ptr<Database> db;
    const EsameFile e = Esamina(dove, db, false);
    if (e.stato == StatoFile::DatabaseIncassi) {
        if (!forza) return Fallisci(GiaPieno(db->fileName()));
        SvuotaDatabase(*db);
    } else if (e.stato != StatoFile::DatabaseVuoto) {
        return Fallisci(e.messaggio);
    }
    QString esito;
    int versione = 0;
    try {
        versione = Riempi(*db, dopo, esito);
    } catch (...) {
        try {
            SvuotaDatabase(*db);
        } catch (...) {
            // The first failure is the one to report.
        }
        throw;
    }
    Scrivi(stdout, QStringLiteral("Database %1 creato (schema versione %2).\n%3")
                       .arg(db->fileName())
                       .arg(versione)
                       .arg(esito));
    return kOk;
}

// A progress bar on stderr for `fatti` of `totale`, then `coda`.
void Barra(qint64 fatti, qint64 totale, const QString& coda) {
    const int larghezza = 40;
    const int pieni = totale ? int(larghezza * fatti / totale) : larghezza;
    Scrivi(stderr, QStringLiteral("\r[%1%2] %3")
                       .arg(QString(pieni, u'#'), QString(larghezza - pieni, u' '), coda));
}

// Generation: percent done and rows written per second.
void BarraGenerazione(const Avanzamento& a) {
    const double perc = a.totale ? 100.0 * a.locali / a.totale : 100.0;
    const double velocita = a.secondi > 0 ? a.righe / a.secondi : 0;
    Barra(a.locali, a.totale,
          QStringLiteral("%1%  %2 righe  %3 righe/s ")
              .arg(perc, 5, 'f', 1)
              .arg(a.righe)
              .arg(qint64(velocita)));
}

// Creates schema and seed rows, then runs `dopo` on the new database. A failure
// after the database was created removes what was made, so nothing half built
// is left behind.
int Init(const QString& file, bool forza, const std::function<QString(Database&)>& dopo = {}) {
    if (IndirizzoPostgres(file)) return InitServer(file, forza, dopo);
    const EsameFile e = EsaminaFile(file);
    switch (e.stato) {
        case StatoFile::FileMancante:
        case StatoFile::FileVuoto:
        case StatoFile::DatabaseVuoto:
            break;
        case StatoFile::DatabaseIncassi:
            if (!forza) return Fallisci(GiaPieno(file));
            for (const QString& f : {file, file + "-wal", file + "-shm"}) {
                if (QFile::exists(f) && !QFile::remove(f)) {
                    return Fallisci(QStringLiteral("Impossibile eliminare %1.").arg(f));
                }
            }
            break;
        default:
            return Fallisci(e.messaggio);
    }
    QString esito;
    int versione = 0;
    try {
        auto db = Database::OpenSqlite(file);
        versione = Riempi(*db, dopo, esito);
    } catch (...) {
        for (const QString& f : {file, file + "-wal", file + "-shm"})
            QFile::remove(f);
        throw;
    }
    Scrivi(stdout, QStringLiteral("Database %1 creato (schema versione %2).\n%3")
                       .arg(file)
                       .arg(versione)
                       .arg(esito));
    return kOk;
}

int Demo(const QString& file, bool forza, const QDate& oggi) {
    return Init(file, forza, [&](Database& db) {
        CaricaDemo(db, oggi);
        return QStringLiteral("Operatore dimostrativo caricato.\n");
    });
}

int Generate(const QString& file, bool forza, const ParametriGenerazione& p) {
    return Init(file, forza, [&](Database& db) {
        const RiepilogoGenerazione r = GeneraOperatore(db, p, BarraGenerazione);
        Scrivi(stderr, QStringLiteral("\n"));
        const qint64 byte =
            IndirizzoPostgres(file) ? 0 : QFileInfo(file).size() + QFileInfo(file + "-wal").size();
        return QStringLiteral(
                   "Generati %1 locali, %2 apparecchi, %3 documenti, %4 righe in "
                   "%5 s (%6 righe/s); file di %7 MB.\n")
            .arg(r.locali)
            .arg(r.apparecchi)
            .arg(r.documenti)
            .arg(r.righe)
            .arg(r.secondi, 0, 'f', 1)
            .arg(qint64(r.secondi > 0 ? r.righe / r.secondi : 0))
            .arg(byte / (1024 * 1024));
    });
}

// Takes "--name N" out of the arguments; false when the value is not a
// positive whole number.
bool Numero(QStringList& args, const QString& nome, int& valore) {
    const int i = args.indexOf(nome);
    if (i < 0) return true;
    if (i + 1 >= args.size()) return false;
    bool ok = false;
    valore = args[i + 1].toInt(&ok);
    args.remove(i, 2);
    return ok && valore > 0;
}

int Check(const QString& file) {
    std::shared_ptr<Database> server;
    const EsameFile e = Esamina(file, server, true);
    switch (e.stato) {
        case StatoFile::DatabaseIncassi:
            break;
        case StatoFile::FileVuoto:
        case StatoFile::DatabaseVuoto:
            return Fallisci(
                QStringLiteral("Il database %1 è vuoto: crearlo con incassi-db init.").arg(file));
        default:
            return Fallisci(e.messaggio);
    }
    // Read-only: a check never writes, not even to upgrade an older schema
    // (it reports the version instead).
    auto db = server ? server : Database::OpenSqlite(file, true);
    const RapportoControllo r = ControllaIntegrita(*db);
    Scrivi(stdout, QStringLiteral("Controllo di %1\n").arg(file) + r.testo());
    return r.ok() ? kOk : kAnomalie;
}

int Password(const QString& file, const QString& codice) {
    std::shared_ptr<Database> server;
    const EsameFile e = Esamina(file, server, false);
    if (e.stato != StatoFile::DatabaseIncassi) {
        return Fallisci(
            e.messaggio.isEmpty()
                ? QStringLiteral("Il database %1 non contiene lo schema degli incassi.").arg(file)
                : e.messaggio);
    }
    // Never on the command line, where other users and the shell's history
    // would see it.
    const QString password =
        LeggiRigaNascosta(QStringLiteral("Nuova password per %1: ").arg(codice));
    if (isatty(STDIN_FILENO) &&
        LeggiRigaNascosta(QStringLiteral("Ripetere la password: ")) != password)
        return Fallisci(QStringLiteral("Le due password non coincidono: nulla è cambiato."));
    auto db = server ? server : Database::OpenSqlite(file);
    PreparaSchema(*db);
    QTemporaryDir cartella;
    SqlHost host(db, std::make_unique<SettingsStore>(cartella.filePath(QStringLiteral("db.ini"))),
                 cartella.path());
    if (!ImpostaPassword(host, codice, password))
        return Fallisci(QStringLiteral("L'operatore %1 non esiste.").arg(codice));
    Scrivi(stdout, QStringLiteral("Password di %1 impostata.\n").arg(codice));
    return kOk;
}

// The database named, for copying: a file must exist to be read, and may
// be missing to be written.
std::shared_ptr<Database> ApriPerCopia(const QString& dove, bool sorgente) {
    if (IndirizzoPostgres(dove)) return ApriDatabase(dove, sorgente, PasswordDaTerminale);
    const EsameFile e = EsaminaFile(dove);
    const bool ammesso =
        sorgente ? e.stato == StatoFile::DatabaseIncassi || e.stato == StatoFile::DatabaseEstraneo
                 : e.stato == StatoFile::FileMancante || e.stato == StatoFile::FileVuoto ||
                       e.stato == StatoFile::DatabaseVuoto;
    if (!ammesso) {
        throw Errore(e.messaggio.isEmpty()
                         ? QStringLiteral("Il database %1 contiene già dati: la copia va fatta in "
                                          "un database vuoto.")
                               .arg(dove)
                         : e.messaggio);
    }
    return Database::OpenSqlite(dove, sorgente);
}

int Copia(const QString& da, const QString& a) {
    auto sorgente = ApriPerCopia(da, true);
    const bool nuovoFile = !IndirizzoPostgres(a) && !QFile::exists(a);
    auto destinazione = ApriPerCopia(a, false);
    QElapsedTimer orologio;
    orologio.start();
    auto barra = [](const AvanzamentoCopia& s) {
        Barra(s.righe, s.totale,
              QStringLiteral("%1 di %2 righe  %3          ")
                  .arg(s.righe)
                  .arg(s.totale)
                  .arg(s.tabella));
    };
    try {
        CopiaDatabase(*sorgente, *destinazione, barra);
    } catch (...) {
        Scrivi(stderr, QStringLiteral("\n"));
        if (nuovoFile) {
            destinazione.reset();
            for (const QString& f : {a, a + "-wal", a + "-shm"})
                QFile::remove(f);
        }
        throw;
    }
    Scrivi(stderr, QStringLiteral("\n"));
    // The proof: the same rows in every table, the same integrity report.
    QStringList diversi;
    qint64 righe = 0;
    for (const ConteggioTabella& c : ConfrontaConteggi(*sorgente, *destinazione)) {
        righe += c.sorgente;
        if (c.sorgente != c.destinazione)
            diversi << QStringLiteral("%1: %2 righe, copiate %3")
                           .arg(c.tabella)
                           .arg(c.sorgente)
                           .arg(c.destinazione);
    }
    const RapportoControllo prima = ControllaIntegrita(*sorgente);
    const RapportoControllo dopo = ControllaIntegrita(*destinazione);
    auto corpo = [](const RapportoControllo& r) { return r.testo(); };
    if (corpo(prima) != corpo(dopo))
        diversi << QStringLiteral("Il controllo di integrità differisce:\n%1\n---\n%2")
                       .arg(corpo(prima), corpo(dopo));
    if (!diversi.isEmpty()) return Fallisci(diversi.join(u'\n'));
    Scrivi(stdout, QStringLiteral("Copiate %1 righe di %2 tabelle da %3 a %4 in %5 s: conteggi "
                                  "e controllo di integrità uguali.\n%6")
                       .arg(righe)
                       .arg(sorgente->tables().size())
                       .arg(sorgente->fileName(), destinazione->fileName())
                       .arg(orologio.elapsed() / 1000.0, 0, 'f', 1)
                       .arg(dopo.testo()));
    return kOk;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.contains(u"--help") || args.contains(u"-h")) {
        Scrivi(stdout, kUso + u'\n');
        return kOk;
    }
    const bool forza = args.removeAll(QStringLiteral("--force")) > 0;
    ParametriGenerazione p;
    // The generated history stays within the years a collection can have.
    if (!Numero(args, QStringLiteral("--venues"), p.locali) ||
        !Numero(args, QStringLiteral("--years"), p.anni) ||
        p.oggi.addYears(-p.anni) < PrimaDataDocumento()) {
        return Uso();
    }
    QDate oggi = QDate::currentDate();
    if (const int i = args.indexOf(QStringLiteral("--oggi")); i >= 0) {
        if (i + 1 >= args.size()) return Uso();
        oggi = QDate::fromString(args[i + 1], Qt::ISODate);
        args.remove(i, 2);
        if (!DataPlausibile(oggi.addYears(-1)) || !DataPlausibile(oggi) || args.value(0) != u"demo")
            return Uso();
    }
    // What is left is the command and the file: an unknown option is never
    // taken for a file name (a whole database would be written under it).
    if (args.size() == 3 && args[0] == u"password" && !forza && !args[1].startsWith(u'-')) {
        try {
            return Password(args[1], args[2]);
        } catch (const incassi::Errore& e) {
            return Fallisci(e.testo());
        }
    }
    if (args.size() == 3 && args[0] == u"copia" && !forza && !args[1].startsWith(u'-') &&
        !args[2].startsWith(u'-')) {
        try {
            return Copia(args[1], args[2]);
        } catch (const incassi::Errore& e) {
            return Fallisci(e.testo());
        }
    }
    if (args.size() != 2 || args[1].startsWith(u'-')) return Uso();
    try {
        if (args[0] == u"init") return Init(args[1], forza);
        if (args[0] == u"demo") return Demo(args[1], forza, oggi);
        if (args[0] == u"generate") return Generate(args[1], forza, p);
        if (args[0] == u"check" && !forza) return Check(args[1]);
        return Uso();
    } catch (const incassi::Errore& e) {
        return Fallisci(e.testo());
    } catch (const std::exception& e) {
        return Fallisci(QString::fromUtf8(e.what()));
    }
}
