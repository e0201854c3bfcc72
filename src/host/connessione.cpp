#include "host/connessione.h"

#include <termios.h>
#include <unistd.h>

#include <QUrl>
#include <QUrlQuery>
#include <cstdio>
#include <string>

#include "values/error.h"

namespace incassi {

bool IndirizzoPostgres(const QString& dove) {
    return dove.startsWith(u"postgresql://", Qt::CaseInsensitive) ||
           dove.startsWith(u"postgres://", Qt::CaseInsensitive);
}

Database::IndirizzoPg LeggiIndirizzoPg(const QString& indirizzo) {
    const QUrl url(indirizzo, QUrl::StrictMode);
    auto rifiuta = [&](const QString& perche) {
        throw Errore(QStringLiteral("Indirizzo del database non valido (%1): %2. Si scrive "
                                    "postgresql://utente@server:porta/database.")
                         .arg(perche, url.isValid() ? url.toDisplayString(QUrl::RemovePassword)
                                                    : QStringLiteral("illeggibile")));
    };
    if (!url.isValid()) rifiuta(QStringLiteral("indirizzo illeggibile"));
    if (!url.password().isEmpty()) {
        throw Errore(QStringLiteral(
            "L'indirizzo del database non deve contenere la password: chi vede la riga di "
            "comando la leggerebbe. Scriverla nel file delle password di PostgreSQL "
            "(~/.pgpass), oppure lasciare che venga chiesta."));
    }
    Database::IndirizzoPg a;
    a.utente = url.userName();
    a.host = url.host();
    a.porta = url.port(5432);
    a.database = url.path().mid(1);
    if (a.host.isEmpty()) rifiuta(QStringLiteral("manca il server"));
    if (a.database.isEmpty() || a.database.contains(u'/'))
        rifiuta(QStringLiteral("manca il nome del database"));
    if (a.utente.isEmpty()) rifiuta(QStringLiteral("manca l'utente"));
    // Options of the connection (sslmode=require, ...), as libpq names them.
    QStringList opzioni{QStringLiteral("connect_timeout=10")};
    for (const auto& [chiave, valore] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        if (chiave.compare(u"password", Qt::CaseInsensitive) == 0) {
            throw Errore(
                QStringLiteral("L'indirizzo del database non deve contenere la password."));
        }
        if (chiave.contains(u';') || valore.contains(u';') || chiave.contains(u'='))
            rifiuta(QStringLiteral("opzione non valida"));
        opzioni << chiave + u'=' + valore;
    }
    a.opzioni = opzioni.join(u';');
    return a;
}

std::shared_ptr<Database> ApriDatabase(const QString& dove, bool soloLettura,
                                       Database::ChiediPassword password) {
    if (IndirizzoPostgres(dove))
        return Database::OpenPostgres(LeggiIndirizzoPg(dove), soloLettura, std::move(password));
    return Database::OpenSqlite(dove, soloLettura);
}

QString LeggiRigaNascosta(const QString& domanda) {
    const bool terminale = isatty(STDIN_FILENO);
    termios prima{};
    if (terminale) {
        const QByteArray testo = domanda.toUtf8();
        std::fwrite(testo.constData(), 1, size_t(testo.size()), stderr);
        tcgetattr(STDIN_FILENO, &prima);
        termios muto = prima;
        muto.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &muto);
    }
    std::string riga;
    for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar())
        riga.push_back(char(c));
    if (terminale) {
        tcsetattr(STDIN_FILENO, TCSANOW, &prima);
        std::fputs("\n", stderr);
    }
    return QString::fromStdString(riga);
}

QString PasswordDaTerminale(const QString& mostrato) {
    if (!isatty(STDIN_FILENO)) return QString();
    return LeggiRigaNascosta(QStringLiteral("Password per %1: ").arg(mostrato));
}

}  // namespace incassi
