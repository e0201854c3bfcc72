#pragma once

// The document store: every statement on the document tables (headers,
// machine rows, bookkeeping rows, meter rows of multi-meter machines) and the
// machine-card updates a document makes. It loads a document's rows, saves
// a document with what it settles, deletes one with what it reopened, and
// answers whether a document is a machine's latest. The caller runs a save or
// a deletion inside one host transaction; a header changed here takes a new
// version, so a window still showing the old one cannot save over it.

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

#include "host/recordset.h"
#include "values/dec.h"

namespace incassi {

class Host;

class Archivio {
  public:
    explicit Archivio(Host& host) : host_(host) {}

    // The document list, newest first, read a page at a time: every
    // document, or those of one venue, or of one company (empty: no bound).
    RecordSetPtr Elenco(const QString& codLocale = {}, const QString& azienda = {});
    // The list of document `id` alone.
    RecordSetPtr ElencoDi(qlonglong id);
    // The documents whose header column `campo` (a column of the table, or
    // the call throws) contains `testo`, taken literally.
    RecordSetPtr ElencoCon(const QString& campo, const QString& testo);
    // The search dialog's rows: the headers with their venue's sign and
    // address, newest first, of a causal, a venue, the days from `dal` to
    // `al` (either end open when not valid) and a company when given.
    struct Ricerca {
        QString causale;
        QString codLocale;
        QDate dal, al;
        QString azienda;
    };
    // The newest `kDocumentiCercati` documents that match, and one more when
    // there are more (the list then says so): an office's whole archive is
    // not read into a dialog.
    static constexpr int kDocumentiCercati = 10000;
    RecordSetPtr Cerca(const Ricerca& r);
    // How many documents of `causale` at the venue are dated after `data`,
    // and the day of the latest.
    struct Dopo {
        int numero = 0;
        QDate ultimo;
    };
    Dopo DocumentiDopo(const QString& causale, const QString& codLocale, const QDate& data);

    // The bookkeeping rows (in row order) and the machine rows of document
    // `id`, in batch mode; id 0 gives empty sets to fill a new document.
    RecordSetPtr RigheNota(qlonglong id);
    RecordSetPtr RigheIncassi(qlonglong id);

    // A correction takes the stored header only while it still is at the
    // version the window read; one statement takes it, so two saves can
    // never both pass. A locked header is never taken.
    enum class Presa { Presa, Cambiata, Bloccata };
    Presa PrendiTestata(qlonglong id, qlonglong versione);

    // What a save writes besides the header's own columns.
    struct Documento {
        qlonglong id = 0;  // 0 for a new document
        QString causale;
        QString codLocale;
        QDate data;
        bool deduceAcconti = false;        // the machines' open advances (ACC) are settled
        bool deduceAccontiLocali = false;  // the venue's advances paid at the venue (ACL) too
    };
    // Writes the header (filled by `riempi`), the bookkeeping rows, the
    // machine rows with the cards they update, and the advances, refills and
    // meter rows the document settles. Returns the header's id.
    qlonglong Salva(const Documento& d, const std::function<void(RecordSet&)>& riempi,
                    RecordSet* incassi, RecordSet* nota);

    // A stored header as it is now, and how many documents of its kind (and
    // venue) come after it: the same day with a higher id counts as later.
    struct Stato {
        bool esiste = false;
        qlonglong versione = 0;
        bool bloccato = false;
        int successivi = 0;
    };
    Stato StatoDocumento(qlonglong id);
    // Deletes document `id` with its rows, puts the machine cards back, and
    // opens again the advances and refills it settled. Throws if the header
    // is no longer there.
    void Elimina(qlonglong id);

    // Whether a document of `causale` dated `data` at `codLocale` is the
    // latest for the machine: the machine stands at the venue and no later
    // document of the kinds that would make this one stale exists.
    bool UltimoDocumento(qlonglong scheda, const QDate& data, const QString& causale,
                         const QString& codLocale);
    // The machines of `schede` for which it is, in two statements.
    QSet<qlonglong> UltimiDocumenti(const QList<qlonglong>& schede, const QDate& data,
                                    const QString& causale, const QString& codLocale);

    // An empty header and an empty set of bookkeeping rows, written row by
    // row, for a document made by a wizard.
    RecordSetPtr TestataVuota();
    RecordSetPtr RigheVuote();

    // Meter rows of multi-meter machines written for a document never saved:
    // this operator's, of the machines `schede`.
    void ScartaContatoriSospesi(const std::vector<qlonglong>& schede);

    // Debit minus credit of `conto` at the venue up to `data`, leaving out the
    // rows of document `escluso` (0 leaves out none).
    Dec Saldo(const QString& conto, const QString& codLocale, const QDate& data,
              qlonglong escluso = 0);
    // The balances of several accounts at the venue up to `data`, in the
    // order given, read in one statement.
    std::vector<Dec> Saldi(const QStringList& conti, const QString& codLocale, const QDate& data);
    // The whole balance of `conto` (debit minus credit), and its newest
    // `quanti` rows, newest first, at one venue or, with no venue, at all of them.
    Dec SaldoConto(const QString& conto, const QString& codLocale = {});
    RecordSetPtr Movimenti(const QString& conto, const QString& codLocale, int quanti);

    // A machine's history, as its load, its calculation and the history
    // panels read it.

    // The cash box counted at the machine's last change-machine (CAM) or
    // theft (FUR) operation up to `data`, if any.
    std::optional<QVariant> CassettoLasciato(qlonglong scheda, const QDate& data);
    // The sums of the open advances (ACC) and refills (REF) dated up to
    // `data` of each machine of `schede`, as stored, in two statements (a
    // machine without any is left out: its sums are Null).
    struct Aperti {
        QVariant acconti;
        QVariant refillGestore;
        QVariant refillLocale;
    };
    QHash<qlonglong, Aperti> ApertiDelleMacchine(const QList<qlonglong>& schede, const QDate& data);
    // For each machine of `schede` that has one, in one statement, the
    // machine row that holds the reading before a collection on `data` (read
    // through the index on machine and day): the last INC6 or FUR at the
    // venue (machines taken back), the last row with meters at the venue
    // (networked machines), or the last row anywhere.
    enum class Lettura { UltimoIncasso, ConContatori, Qualsiasi };
    RecordSetPtr LetturePrecedenti(const QList<qlonglong>& schede, const QDate& data,
                                   const QString& codLocale, Lettura quale);
    // The network fee charged to the machine at the venue from `dal` to `al`,
    // both included, by documents other than `escluso`; and the same for
    // several machines in one statement (a machine never charged is left out).
    Dec ReteAddebitata(qlonglong scheda, const QString& codLocale, const QDate& dal,
                       const QDate& al, qlonglong escluso);
    QHash<qlonglong, Dec> ReteAddebitataMacchine(const QList<qlonglong>& schede,
                                                 const QString& codLocale, const QDate& dal,
                                                 const QDate& al, qlonglong escluso);
    // The venue's six newest documents that move money in machines, up to
    // `data`; and the sums of the machine rows of documents `teste`, one row
    // each by IdTesta (hoppers' money hop1..hop3, sumAmmanchi, sumCassetto,
    // sumVariazione; a document without machine rows has none).
    RecordSetPtr DocumentiDelLocale(const QString& codLocale, const QDate& data);
    RecordSetPtr SommeMacchine(const QList<qlonglong>& teste);
    // The machine's last ten rows at the venue up to `data` with their causal,
    // of the documents that matter for its collection type.
    RecordSetPtr StoriaMacchina(qlonglong scheda, int tipoIncasso, const QString& codLocale,
                                const QDate& data);

  private:
    // Debit minus credit of the bookkeeping rows meeting `condizione`.
    Dec dareMenoAvere(const QString& condizione);
    // Settling and reopening the advance (ACC) and refill (REF) rows of a
    // machine, and the venue's advance headers.
    void chiudiRighe(const char* causale, qlonglong chiusura, qlonglong scheda, const QDate& data);
    void riapriAcconto(qlonglong chiusura, qlonglong scheda);
    void riapriRefill(qlonglong chiusura, qlonglong scheda);
    void riapriTesteAcconti(qlonglong chiusura);
    void chiudiTesteAcconti(const QString& causale, qlonglong chiusura, const QString& codLocale,
                            const QDate& data);
    void ricalcolaChiusoAcconti();

    // The cards of one document's machines, read together the first time one
    // is needed by its save or deletion.
    class Schede {
      public:
        Schede(Host& host, const QList<qlonglong>& ids);
        // The card of machine `scheda` as the current row; nullptr when none.
        RecordSet* di(const QVariant& scheda);

      private:
        Host& host_;
        QList<qlonglong> ids_;
        RecordSetPtr righe_;
    };
    // The machine card after a collection row: last reading date, meters and
    // the money in each hopper (and, when asked, the money loaded in each).
    void aggiornaScheda(Schede& schede, RecordSet& riga, const QDate& data, bool contatori,
                        bool caricati);
    enum class Ripristino {
        Contatori,           // meters and date from the previous reading
        HopperDaLivelli,     // the hoppers' money from the row's own levels
        HopperDaPrecedenti,  // the hoppers' money from the previous levels
        Caricati,            // the money loaded in the hoppers from the previous levels
    };
    void ripristinaScheda(Schede& schede, RecordSet& riga, std::initializer_list<Ripristino> cosa);
    // Each meter row of island `scheda` in document `id` with its master meter.
    void perContatoreIsola(
        qlonglong id, qlonglong scheda,
        const std::function<void(const RecordSet& riga, RecordSet& contatore)>& fai);
    // The island's master meters before document `id`: its rows' previous readings.
    void ripristinaContatoriIsola(qlonglong id, qlonglong scheda);
    void aggiornaContatoriIsola(qlonglong id, qlonglong scheda, const QDate& data,
                                const QDateTime& adesso);
    // The machine row's card and settlements, as the document's causal asks;
    // `ultimi`: the machines whose latest document this is.
    void scriviRigaMacchina(const Documento& d, qlonglong id, RecordSet& r, const QDateTime& adesso,
                            Schede& schede, const QSet<qlonglong>& ultimi);

    Host& host_;
};

}  // namespace incassi
