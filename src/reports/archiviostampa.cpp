#include "reports/archiviostampa.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
#include <map>

#include "bookkeeping/archivio.h"
#include "bookkeeping/movimenti.h"
#include "host/database.h"
#include "host/host.h"
#include "schema/creazione.h"
#include "schema/schema.h"
#include "values/error.h"
#include "values/sqlquote.h"
#include "values/values.h"

namespace incassi::stampa {

namespace {

// clang-format off
const QStringList kTeste = {
    "id", "DataRegistrazione", "CodLocale", "CodEsattore", "CodCausale", "Descrizione",
    "Annotazioni", "idOnda", "Import", "CodAgente", "PercAgente", "CodiceAzienda",
    "ContoPercAgente", "CodSubAgente", "PercSubAgente", "ContoPercSubAgente", "Chiuso",
    "Fatturato", "Bloccato", "idData", "IdOperatore", "TipologiaIncasso", "GestioneDenaro",
    "IncassoGettoni", "IncassoTasse", "UtileLocale", "UtileNoleggiatore", "VersatoALocale",
    "FurtoLocale", "FurtoNoleggiatore", "AmmancoLocale", "AmmancoNoleggiatore", "StileIncasso",
    "TotIntrodotto", "TotUscite", "TotPreu", "TotAAMS", "TotRETE", "TotDaDividere", "VarDebito",
    "VarPrestito", "Riscosso", "Rimanenza", "Arrotondamenti", "Acconto", "AnticipoLocale",
    "AttesaFatture"};

const QStringList kIncassi = {
    "IdTesta", "CodArticolo", "LinkApparecchio", "LinkScheda", "CodLocale", "DataIncasso",
    "TipoIncasso", "ParzialeIn", "ParzialeOut", "ContatoreIN", "ContatoreOut", "ContatoreMec1",
    "ContatoreMec2", "LivelloH1", "LivelloH2", "Livelloh3", "TipoH1", "TipoH2", "TipoH3",
    "PercPreu", "PercAAMS", "PercRete", "TipoRete", "Gettoni", "ValoreGettone", "Descrizione",
    "Preu", "AAms", "Rete", "IncassoNs", "IncassoVs", "RefillLocale", "RefillGestore", "Forzato",
    "IdOperatore", "idData", "Fatturato", "Ammanchi", "Acconti", "Furti", "Cassetto",
    "TipoCalcolo", "PercLocale", "PercNoleggiatore", "NumGiorniIncasso", "VecchioContatoreIN",
    "VecchioContatoreOut", "DataVecchioContatore", "Riga", "CatApparecchio", "Import",
    "CodConcessionario", "VariazioneHopper", "ForfaitIN", "ForfaitOut", "GiorniForfait",
    "VecchioForfaitIN", "VecchioForfaitOUT", "UltimaLettura", "MoltiplicatoreIN",
    "MoltiplicatoreOUT", "Chiuso", "IdChiusura", "Perc2Gestore", "Perc3Gestore", "PercSubAgente",
    "scassettaSubAgente", "Scassetta3Gestore", "PercScassettoSub", "PercScassetto3Gest",
    "MonetaAggiunta", "MonetaRitirata", "BanconoteAggiunte", "BanconoteRitirate", "CodiceAzienda",
    "Contratto"};

const QStringList kLocali = {
    "id", "CodLocale", "CatLocale", "TipoLocale", "Insegna", "Soprannome", "CAP", "Indirizzo",
    "Localita", "Citta", "Provincia", "NumCivico", "Iva", "CodFisc", "tel", "fax", "cell", "cell2",
    "email", "CodZona", "tipologiaIncasso", "incassoGettoni", "IncassoTasse", "GestioneDenaro",
    "codTitolare", "codGestore", "codReferente", "codEsattore", "codAgente", "dataAcquisizione",
    "Rimanenza", "CodiceAzienda", "esTipoDitta", "esCodEsercente", "Cittadinanza", "esDitta",
    "esPiva", "esCodf", "esSedeVia", "esSedeNr", "esSedeCap", "esSedeComune", "esSedeProvincia",
    "esCod86", "esCod88", "CodAttivita", "CodMonopolio", "CodCatastale", "esMq", "esNumCamere",
    "CodiceConto", "Descr"};
// clang-format on

const schema::Tabella* TabellaDelModulo(const QString& nome) {
    for (const schema::Tabella& t : schema::Tabelle()) {
        if (t.nome.compare(nome, Qt::CaseInsensitive) == 0) return &t;
    }
    return nullptr;
}

// A scratch table with `colonne` typed as the module's `origine` types them;
// a column the module does not have is text. The counter key `id` is the
// table's own.
schema::Tabella Tabella(const QString& nome, const QString& origine, const QStringList& colonne) {
    schema::Tabella t;
    t.nome = nome;
    const schema::Tabella* o = TabellaDelModulo(origine);
    for (const QString& c : colonne) {
        if (c.compare(u"id", Qt::CaseInsensitive) == 0) continue;
        const schema::Colonna* tipo = o ? o->colonna(c) : nullptr;
        schema::Colonna col = tipo ? *tipo : schema::Testo(c);
        col.nome = c;
        col.versione = 1;
        col.zero = false;  // a copy holds what the source holds
        t.colonne.push_back(col);
    }
    return t;
}

std::vector<schema::Tabella> TabelleStampa() {
    std::vector<schema::Tabella> v;
    schema::Tabella parametri;
    parametri.nome = QStringLiteral("Parametri");
    parametri.colonne = {schema::Testo(QStringLiteral("Parametri"), 255),
                         schema::Testo(QStringLiteral("Descr1"), 50),
                         schema::Testo(QStringLiteral("Descr2"), 50),
                         schema::Testo(QStringLiteral("Azienda"), 255)};
    v.push_back(parametri);
    // What the venue still owes or is owed after each printed document.
    schema::Tabella saldi;
    saldi.nome = QStringLiteral("saldilocale");
    saldi.colonne = {schema::Intero(QStringLiteral("IdTesta")),
                     schema::Intero(QStringLiteral("Ordine")),
                     schema::Testo(QStringLiteral("Descrizione"), 255),
                     schema::Importo(QStringLiteral("Importo"))};
    v.push_back(saldi);
    v.push_back(Tabella(QStringLiteral("noteteste"), QStringLiteral("NoteTeste"), kTeste));
    v.push_back(Tabella(QStringLiteral("noteincassi"), QStringLiteral("NoteIncassi"), kIncassi));
    v.push_back(
        Tabella(QStringLiteral("anagraficalocali"), QStringLiteral("AnagraficaLocali"), kLocali));
    QStringList righe;
    if (const schema::Tabella* r = TabellaDelModulo(QStringLiteral("NoteRighe"))) {
        for (const schema::Colonna& c : r->colonne)
            righe << c.nome;
    }
    v.push_back(Tabella(QStringLiteral("noterighe"), QStringLiteral("NoteRighe"), righe));
    return v;
}

// Copies rows of a record set into `tabella` of the scratch database, column
// by column: the columns of `colonne` the source has, found once, and one
// statement for every row (a column the source lacks stays Null).
class Copiatore {
  public:
    Copiatore(Database& db, const QString& tabella, const QStringList& colonne, const RecordSet& da)
        : db_(db) {
        QStringList nomi;
        for (const QString& c : colonne) {
            const int i = da.FieldIndex(c);
            if (i < 0) continue;
            nomi << c;
            posizioni_.push_back(i);
        }
        if (!nomi.isEmpty()) sql_ = db.insertSql(tabella, nomi);
    }
    void copia(const RecordSet& da) {
        if (sql_.isEmpty()) return;
        valori_.clear();
        for (int i : posizioni_)
            valori_.push_back(da.Value(i));
        db_.executeNative(sql_, valori_);
    }

  private:
    Database& db_;
    QString sql_;
    std::vector<int> posizioni_;
    std::vector<QVariant> valori_;
};

struct Documento {
    qlonglong id = 0;
    QDate data;
};

// Sums by day, in day order, of a statement giving (day, amount) rows.
std::vector<std::pair<QDate, Dec>> PerGiorno(Host& host, const QString& sql) {
    std::vector<std::pair<QDate, Dec>> v;
    for (auto rs = host.OpenRecordSet(sql); !rs->Eof(); rs->MoveNext())
        v.emplace_back(rs->Value(0).toDate(), Dec::DaCella(rs->Value(1)));
    return v;
}

// The venue's open balances on the day of each document, the documents of
// that day included: the remainder still to collect, the loan, the machines'
// open advances and the advances paid at the venue. One statement per kind
// over the venue's history, summed up day by day.
void CopiaSaldi(Host& host, Database& db, const ContiAssociati& conti, const QString& codLocale,
                std::vector<Documento> documenti) {
    if (documenti.empty()) return;
    std::sort(documenti.begin(), documenti.end(),
              [](const Documento& a, const Documento& b) { return a.data < b.data; });
    const QString fine = sql::Data(documenti.back().data, FormatoDataSql::MeseGiornoAnnoBarra);
    const QString locale = sql::Raddoppia(codLocale);
    auto conto = [&](const char* ruolo) {
        return PerGiorno(host,
                         QStringLiteral("SELECT NoteRighe.Data, Sum(NoteRighe.Dare) - "
                                        "Sum(NoteRighe.Avere) FROM NoteRighe WHERE "
                                        "NoteRighe.CodConto='%1' AND NoteRighe.codLocale='%2' "
                                        "AND NoteRighe.data<=%3 GROUP BY NoteRighe.Data "
                                        "ORDER BY NoteRighe.Data")
                             .arg(sql::Raddoppia(conti[QLatin1String(ruolo)]), locale, fine));
    };
    struct Serie {
        const char* descrizione;
        std::vector<std::pair<QDate, Dec>> giorni;
        int segno;
        size_t letti = 0;
        Dec saldo;
    } serie[] = {
        {"Rimanenza da riscuotere", conto("ResiduiIncassi"), 1, 0, {}},
        {"Prestito al locale", conto("PrestitiALocale"), 1, 0, {}},
        {"Acconti aperti sugli apparecchi",
         PerGiorno(host,
                   QStringLiteral("select NoteIncassi.dataincasso, sum(noteincassi.acconti) from "
                                  "noteincassi INNER JOIN NoteTeste ON NoteIncassi.IdTesta = "
                                  "NoteTeste.id where NoteTeste.CodLocale='%1' and "
                                  "noteincassi.chiuso=0 and NoteIncassi.dataincasso<=%2 and "
                                  "noteincassi.acconti<>0 and NoteTeste.CodCausale='ACC' GROUP BY "
                                  "NoteIncassi.dataincasso ORDER BY NoteIncassi.dataincasso")
                       .arg(locale, sql::Data(documenti.back().data))),
         1,
         0,
         {}},
        {"Acconti versati dal locale", conto("cassaaccontilocale"), -1, 0, {}},
    };
    const QString inserisci = db.insertSql(
        QStringLiteral("saldilocale"), {QStringLiteral("IdTesta"), QStringLiteral("Ordine"),
                                        QStringLiteral("Descrizione"), QStringLiteral("Importo")});
    for (const Documento& d : documenti) {
        int ordine = 0;
        for (Serie& s : serie) {
            for (; s.letti < s.giorni.size() && s.giorni[s.letti].first <= d.data; ++s.letti)
                s.saldo += s.giorni[s.letti].second;
            const Dec importo = s.segno < 0 ? -s.saldo : s.saldo;
            db.executeNative(inserisci, {d.id, ++ordine, QString::fromUtf8(s.descrizione),
                                         importo.arrotonda(2).toDouble()});
        }
    }
}

// The names of the companies of the printed documents, in order.
QString NomiAziende(Host& host, const QStringList& codici) {
    QStringList nomi;
    for (const QString& c : codici) {
        const auto az = host.OpenRecordSet(
            QStringLiteral("SELECT Descrizione FROM anagraficaAziende where CodiceAzienda='%1'")
                .arg(sql::Raddoppia(c)));
        const QString nome = az->Eof() ? c : Txt(az->Value(QStringLiteral("Descrizione")));
        if (!nome.isEmpty() && !nomi.contains(nome)) nomi << nome;
    }
    return nomi.join(QStringLiteral(" - "));
}

}  // namespace

const QStringList& ColonneTeste() {
    return kTeste;
}
const QStringList& ColonneIncassi() {
    return kIncassi;
}
const QStringList& ColonneLocali() {
    return kLocali;
}

void CreaModello(const QString& file) {
    QFile::remove(file);
    auto db = Database::OpenSqlite(file);
    QStringList istruzioni;
    for (const schema::Tabella& t : TabelleStampa())
        istruzioni << schema::IstruzioniCreaTabella(db->dialect(), t, 1);
    db->executeScript(istruzioni);
}

void InstallaStampe(const QString& percorso) {
    const QDir cartella(QDir(percorso).filePath(QStringLiteral("stampe")));
    if (!QDir().mkpath(cartella.path())) return;
    QDirIterator it(QStringLiteral(":/stampe"), {QStringLiteral("*.json")}, QDir::Files);
    while (it.hasNext()) {
        const QFileInfo sorgente(it.next());
        const QString destinazione = cartella.filePath(sorgente.fileName());
        if (QFileInfo::exists(destinazione) || !QFile::copy(sorgente.filePath(), destinazione))
            continue;
        QFile::setPermissions(destinazione, QFile::ReadOwner | QFile::WriteOwner |
                                                QFile::ReadGroup | QFile::ReadOther);
    }
    const QString modello = cartella.filePath(QStringLiteral("Incassi.sqlite"));
    if (!QFileInfo::exists(modello)) CreaModello(modello);
}

QString CartellaTemporanea(const QString& utente) {
    QString nome = utente;
    nome.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
    const QString cartella =
        QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
            .filePath(QStringLiteral("incassi-stampa-%1-%2")
                          .arg(nome.isEmpty() ? QStringLiteral("utente") : nome)
                          .arg(QCoreApplication::applicationPid()));
    QDir().mkpath(cartella);
    return cartella;
}

QString PreparaArchivio(Host& host, const QString& modello, const QString& cartella,
                        const Selezione& s,
                        const std::function<bool(int fatti, int totale)>& avanzamento) {
    if (!QFile::exists(modello)) {
        throw Errore(QStringLiteral("Il modello di stampa %1 non esiste.").arg(modello));
    }
    QDir().mkpath(cartella);
    const QString copia = QDir(cartella).filePath(QFileInfo(modello).fileName());
    // A copy left open by an earlier command is replaced whole.
    QFile::remove(copia + QStringLiteral("-wal"));
    QFile::remove(copia + QStringLiteral("-shm"));
    if (QFile::exists(copia) && !QFile::remove(copia)) {
        throw Errore(QStringLiteral("Impossibile sostituire %1: è aperto da un altro programma?")
                         .arg(copia));
    }
    if (!QFile::copy(modello, copia)) {
        throw Errore(QStringLiteral("Impossibile copiare %1 in %2.").arg(modello, cartella));
    }
    QFile(copia).setPermissions(QFile(copia).permissions() | QFileDevice::WriteOwner);

    auto db = Database::OpenSqlite(copia);
    Transazione tr(*db);
    for (const char* t :
         {"anagraficalocali", "noteteste", "noterighe", "noteincassi", "Parametri", "saldilocale"})
        db->executeNative(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)), {});

    RecordSetPtr teste, righe;
    QString titolo;
    if (s.perPeriodo) {
        QString condizione =
            QStringLiteral(
                "NoteTeste.codlocale='%1' and NoteTeste.DataRegistrazione>=%2 and "
                "NoteTeste.DataRegistrazione<=%3 and (NoteTeste.codCausale='INC6' or "
                "NoteTeste.codcausale='INC')")
                .arg(sql::Raddoppia(s.codLocale), sql::Data(s.dal), sql::Data(s.al));
        if (!s.azienda.isEmpty())
            condizione +=
                QStringLiteral(" and NoteTeste.CodiceAzienda='%1'").arg(sql::Raddoppia(s.azienda));
        teste = host.OpenRecordSet(QStringLiteral("SELECT * FROM NoteTeste where %1 order by "
                                                  "NoteTeste.DataRegistrazione, NoteTeste.id")
                                       .arg(condizione));
        // Every machine row of the period at once.
        righe = host.OpenRecordSet(
            QStringLiteral("SELECT NoteIncassi.* FROM NoteIncassi INNER JOIN NoteTeste ON "
                           "NoteIncassi.IdTesta = NoteTeste.id where %1 order by "
                           "NoteIncassi.IdTesta, NoteIncassi.Riga, NoteIncassi.id")
                .arg(condizione));
        titolo =
            QStringLiteral("Stampa incasso dal %1 al %2").arg(TestoData(s.dal), TestoData(s.al));
    } else {
        teste = host.OpenRecordSet(
            QStringLiteral("SELECT * FROM noteteste where id=%1").arg(s.documento));
        righe = host.OpenRecordSet(
            QStringLiteral("SELECT * FROM noteincassi where idtesta=%1 order by Riga, id")
                .arg(s.documento));
        titolo =
            QStringLiteral("Stampa incasso del %1")
                .arg(teste->Eof()
                         ? QString()
                         : TestoData(teste->Value(QStringLiteral("DataRegistrazione")).toDate()));
    }

    QStringList aziende;
    std::map<QString, std::vector<Documento>> perLocale;  // key: the code in upper case
    std::map<QString, QString> codici;
    Copiatore copiaTesta(*db, QStringLiteral("noteteste"), kTeste, *teste);
    const int totale = teste->RecordCount();
    for (int fatti = 0; !teste->Eof(); teste->MoveNext(), ++fatti) {
        if (avanzamento && !avanzamento(fatti, totale)) return {};
        copiaTesta.copia(*teste);
        const QString azienda = Txt(teste->Value(QStringLiteral("CodiceAzienda")));
        if (!aziende.contains(azienda)) aziende << azienda;
        const QString codice = Txt(teste->Value(QStringLiteral("CodLocale")));
        codici.emplace(codice.toUpper(), codice);
        perLocale[codice.toUpper()].push_back(
            {teste->Value(QStringLiteral("id")).toLongLong(),
             teste->Value(QStringLiteral("DataRegistrazione")).toDate()});
    }
    Copiatore copiaRiga(*db, QStringLiteral("noteincassi"), kIncassi, *righe);
    for (; !righe->Eof(); righe->MoveNext())
        copiaRiga.copia(*righe);
    // Each venue once, however many of its documents are printed.
    const ContiAssociati conti = ContiAssociati::Leggi(host);
    for (const auto& [chiave, documenti] : perLocale) {
        const QString& codice = codici[chiave];
        auto locale = host.OpenRecordSet(
            QStringLiteral("SELECT * FROM anagraficaLocali where codlocale='%1' ")
                .arg(sql::Raddoppia(codice)));
        if (!locale->Eof())
            Copiatore(*db, QStringLiteral("anagraficalocali"), kLocali, *locale).copia(*locale);
        CopiaSaldi(host, *db, conti, codice, documenti);
    }
    if (aziende.isEmpty() && !s.azienda.isEmpty()) aziende << s.azienda;
    db->executeNative(db->insertSql(QStringLiteral("Parametri"),
                                    {QStringLiteral("Parametri"), QStringLiteral("Descr1"),
                                     QStringLiteral("Descr2"), QStringLiteral("Azienda")}),
                      {titolo, TestoData(s.dal), TestoData(s.al), NomiAziende(host, aziende)});
    tr.commit();
    return copia;
}

}  // namespace incassi::stampa
