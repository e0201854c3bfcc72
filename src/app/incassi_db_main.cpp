// incassi-db: creates the suite's database and checks its integrity.
//
//   incassi-db init FILE [--force]   schema and the rows every installation needs
//   incassi-db check FILE            integrity report; exit 1 when anything is wrong

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstdio>

#include "common/error.h"
#include "host/database.h"
#include "schema/controllo.h"
#include "schema/creazione.h"
#include "schema/dati_iniziali.h"
#include "schema/esamefile.h"

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

int Uso() {
    return Fallisci(
        QStringLiteral("Uso:\n"
                       "  incassi-db init FILE [--force]   crea lo schema e i dati di base\n"
                       "  incassi-db check FILE            controlla l'integrità del database"));
}

int Init(const QString& file, bool forza) {
    const EsameFile e = EsaminaFile(file);
    switch (e.stato) {
        case StatoFile::FileMancante:
        case StatoFile::FileVuoto:
        case StatoFile::DatabaseVuoto:
            break;
        case StatoFile::DatabaseIncassi:
            if (!forza) {
                return Fallisci(QStringLiteral("Il database %1 contiene già dati: non viene "
                                               "modificato. Usare --force per ricrearlo da capo.")
                                    .arg(file));
            }
            for (const QString& f : {file, file + "-wal", file + "-shm"}) {
                if (QFile::exists(f) && !QFile::remove(f)) {
                    return Fallisci(QStringLiteral("Impossibile eliminare %1.").arg(f));
                }
            }
            break;
        default:
            return Fallisci(e.messaggio);
    }
    auto db = Database::OpenSqlite(file);
    CreaSchema(*db);
    CaricaDatiIniziali(*db);
    Scrivi(stdout, QStringLiteral("Database %1 creato (schema versione %2).\n")
                       .arg(file)
                       .arg(VersioneDatabase(*db)));
    return kOk;
}

int Check(const QString& file) {
    const EsameFile e = EsaminaFile(file);
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
    if (e.versione > kVersioneSchema) {
        return Fallisci(
            QStringLiteral("Il database %1 è alla versione %2 dello schema, più recente "
                           "della versione %3 gestita da questo programma.")
                .arg(file)
                .arg(e.versione)
                .arg(kVersioneSchema));
    }
    auto db = Database::OpenSqlite(file);
    AggiornaSchema(*db);
    const RapportoControllo r = ControllaIntegrita(*db);
    Scrivi(stdout, QStringLiteral("Controllo di %1\n").arg(file) + r.testo());
    return r.ok() ? kOk : kAnomalie;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool forza = args.removeAll(QStringLiteral("--force")) > 0;
    if (args.size() != 2) return Uso();
    try {
        if (args[0] == u"init") return Init(args[1], forza);
        if (args[0] == u"check" && !forza) return Check(args[1]);
        return Uso();
    } catch (const incassi::Errore& e) {
        return Fallisci(e.testo());
    } catch (const std::exception& e) {
        return Fallisci(QString::fromUtf8(e.what()));
    }
}
