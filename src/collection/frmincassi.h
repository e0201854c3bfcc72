#pragma once

// The collection window: one document (a collection at one venue on one date,
// with its machine rows and bookkeeping rows) shown and edited at a time, over
// the list of stored document headers.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "auxwin/contatoriisole.h"
#include "bookkeeping/movimenti.h"
#include "collection/preferenze.h"
#include "machines/caricamento.h"
#include "machines/storico.h"
#include "reports/frmstampa.h"
#include "window/ingresso.h"
#include "window/searchbox.h"
#include "window/windowmodel.h"

namespace incassi {

class Errore;
class Host;
class UiPort;

// The lookup lists the window opens once.
struct ElenchiIncassi {
    RecordSetPtr categorieMinisteriali, categorieApparecchi, statiPrenotazione, viste, pianoConti,
        causali, bollettari, gettoni, tasse, tipologie, tasseAttive, defaultIncassi, conti, locali,
        aziende, pers;
};

class FrmIncassi {
  public:
    FrmIncassi(Host& host, UiPort& ui, ProprietaIngresso& proprieta, RecordOperatore operatore);
    ~FrmIncassi();

    static QString Titolo() { return QStringLiteral("..:: Prima Nota - Incassi ::.."); }

    // Opens the window: configuration, today, title, date filters, settings,
    // document list, lookup lists, keyboard help, menu.
    void Apri();

    ModelloFinestra& finestra() { return finestra_; }
    Controllo& operator[](const QString& nome) { return finestra_[nome]; }
    CasellaRicerca& casella(const QString& nome);
    const QString& titolo() const { return titolo_; }
    const QString& stato() const { return stato_; }  // "Record x di y"
    const QString& focus() const { return focus_; }  // where the focus should go
    // The focus request, once: a view moves the focus there and the request
    // is gone, so later refreshes leave the focus where the person put it.
    QString PrendiFocus() { return std::exchange(focus_, {}); }
    const QString& aiutoTasti() const { return aiutoTasti_; }  // keyboard help
    // What the last command did ("Documento salvato"), once, for the status bar.
    QString PrendiAvviso() { return std::exchange(avviso_, {}); }
    // The menu, its check marks read from the settings each time: a command
    // that changes a preference shows at once.
    const MenuBar& menu() const;
    Preferenze& preferenze() { return pref_; }
    int schedaGriglia() const { return schedaGriglia_; }  // tab of TagGriglia shown
    RecordSetPtr documenti() const { return documenti_; }
    RecordSetPtr righeIncassi() const { return incassi_; }
    RecordSetPtr righeNota() const { return nota_; }
    RecordSetPtr locale() const { return locale_; }
    bool nuovo() const { return nuovo_; }
    bool inModifica() const { return modifica_; }
    const Pannello& storicoLocale() const { return storicoLocale_; }
    const Pannello& storicoApparecchio() const { return storicoApparecchio_.pannello; }
    const Pannello& storicoHopper() const { return storicoApparecchio_.hopper; }
    const Pannello& storicoCassetto() const { return storicoApparecchio_.cassetto; }
    void setRitirati(bool on) { ritirati_ = on; }
    // The clock of the window (tests set a fixed day).
    std::function<QDate()> orologio = [] { return QDate::currentDate(); };

    // Venue settings: the causal list, the venue row, the money choices, the
    // collection type, the grid's tab and the invoices switch. `rileggi`
    // false: the venue row was just read for the same venue.
    void ImpostaLocale(bool rileggi = true);
    // The current header shown in the window.
    void MostraTestata();
    // Shows the document `id`: where the list holds it, else alone.
    void MostraDocumento(qlonglong id);
    // Counts the whole document list for the status (after the window shows).
    void ContaDocumenti();
    // A new document.
    void Nuovo();
    // Reactions of the venue and causal boxes.
    void SceltaLocale();
    void SceltaCausale();
    // The venue's remainders and loans up to the collection date.
    void Saldi();

    // The machine grid.
    EsitoCaricamento CaricaApparecchi();
    // Rows by hand, on a document being edited: an empty bookkeeping row to
    // give an account, the current bookkeeping row out, the current machine
    // row out (one not stored yet; the panel and the rows follow).
    bool InserisciRigaNota();
    bool EliminaRigaNota();
    // The origin or destination of the current bookkeeping row: a store
    // (kind 0) or a venue not suspended, from a pick list.
    bool ScegliEstremo(bool partenza);
    bool EliminaRigaApparecchio();
    // A machine cell changed, `prima` its value before the edit.
    void CellaModificata(const QString& colonna, const QVariant& prima);
    // The island meters of the current row (a machine of collection type 13):
    // its meter rows of this document (made from the machine's meters the
    // first time, reused after) shown through `apriContatoriIsola`; on a
    // document being written or edited the row takes back the IN and OUT
    // totals and is recalculated. False when the row is no island.
    bool ContatoriIsola();
    std::function<void(FrmContatoriIsole&)> apriContatoriIsola;
    // The two halves of it, for a caller that types the meters itself: the
    // meters of the current row (nullptr when it is no island), then their
    // close, which gives the row its totals on a document being written.
    std::unique_ptr<FrmContatoriIsole> ApriIsola();
    bool ChiudiIsola(FrmContatoriIsole& isola);
    void InvioInColonna(const QString& colonna);
    // Entering the grid; false when the venue or the causal is missing.
    bool EntraGriglia();
    // The grid's current row changed: the machine history follows it.
    void RigaCorrente();

    // Menu items (preferences, scanner folder, version, withdrawn machines).
    void ClicMenu(const QString& chiave);
    // The close request: asks while a document is being edited; true when the
    // window may close.
    bool Chiudi();
    // The timer's poll of the host; true when the window must close.
    bool Timer();

    // The context the calculation and the machine load need.
    ContestoCaricamento Contesto() const;

    // The money panel. CalcolaDettagli totals the machine rows and works out
    // the amounts to collect: the panel is read once, computed as a value and
    // shown once.
    void CalcolaDettagli();
    // Leaving a money field: its text is normalised and the panel follows.
    // A text that is no amount (or, in the date, no day) is named in a
    // message and stays as typed, and nothing else changes: false.
    bool UscitaCampo(const QString& campo);
    // Recomputes what depends on a panel field (by its keyword: "Riscosso",
    // "Arrotondamenti", ...) and rebuilds the bookkeeping rows.
    void aggiornaConteggi(const QString& chiave);
    void AggiornaConteggiPrimaNota();
    // The panel's settings and amounts as shown.
    ValoriPannello Valori() const;
    // The amount the last refresh moved to the treatment of differences to
    // make the rows balance (0 when the panel already balanced them).
    const Dec& conguaglio() const { return conguaglio_; }
    // A bookkeeping cell changed by hand, `prima` its value before: an account
    // is checked against the chart (a refused one puts the cell back), an
    // amount is rounded to the cent.
    bool CellaNotaModificata(const QString& colonna, const QVariant& prima);

    // The window's commands by name (toolbar, settlement buttons and the
    // actions a scenario may run). Esegui runs one only while it is enabled,
    // after committing the money field being typed into; false when it did
    // not run. Closing and the timer are not commands: they answer a question.
    static QStringList Comandi();
    bool Abilitato(const QString& nome) const;
    bool Esegui(const QString& nome);
    // Text is being typed into `campo`: a money field is committed (normalised,
    // the panel recomputed) before the next command, as if it had been left.
    void CampoDigitato(const QString& campo);
    static bool CampoDenaro(const QString& campo);
    // The filter panel.
    bool filtroVisibile() const;
    void MostraFiltro(bool visibile);

    // Stored documents: save (all or nothing), delete the latest of its kind,
    // modify, undo, move, filter and search.
    bool Salva();
    bool Elimina();
    void Modifica();
    void Annulla();
    // The user's "Annulla" (Esc): asks first when anything was changed since
    // the document was opened for editing. Whether it was discarded.
    bool AnnullaSeConfermato();
    // Whether the document being edited differs from what it was when it was
    // opened for editing: a typed field, a chosen item or a row.
    bool Modificato() const;
    enum class Verso { Primo, Precedente, Successivo, Ultimo };
    void Muovi(Verso verso);
    void ApplicaFiltro();
    void Cerca();

    // "Stampa": the print window on the document shown and its venue, opened
    // through `apriStampa` (the view's or the scenario's), with the print right.
    void Stampa();
    std::function<void(const stampa::RichiestaStampa&)> apriStampa;
    // "Note": the note window on the venue chosen and its note, opened
    // through `apriNota`; when it closes, ColoraNota shows whether there is one.
    void Nota();
    std::function<void(const QString& codLocale, const QString& nota)> apriNota;
    void ColoraNota();
    // The hall wizard ("Apparecchi" menu) on the venue and day shown, opened
    // through `apriWizardSala`; its "Crea incasso" comes back as
    // NuovoIncassoSala: a new INC6 of the hall with those machines loaded.
    void ApriWizardSala();
    // `dal`: readings since that day (after the hall's last collection);
    // `data`: the day of the collection shown.
    std::function<void(const QString& codLocale, const QDate& dal, const QDate& data)>
        apriWizardSala;
    bool NuovoIncassoSala(const QString& codLocale, const QDate& data,
                          const std::vector<qlonglong>& schede);

    // Settlement commands.
    void CmdAcconto();
    void CmdChiudiIncasso();
    void CmdRicalcola();
    void CmdNoDenaro();
    void CmdRimanenza();
    void CmdAcconti();
    bool rimanenzaAbilitata() const { return !rimanenzaUsata_; }

  private:
    // Reads the row of the venue in the venue box into locale_.
    void leggiLocale();
    // Everything the window holds, to put it back exactly as it was after a
    // save that failed.
    struct Fotografia {
        std::vector<Controllo::Stato> controlli;
        RecordSetPtr documenti, incassi, nota, locale;
        // The document list is only read again after a save commits.
        std::optional<RecordSet::Istantanea> righeIncassi, righeNota;
        QString stato, focus;
        QDate ultimaData;
        bool nuovo = false, modifica = false;
        qlonglong storicoDi = -1;
        Dec conguaglio;
        bool mantieniRimanenza = false, rimanenzaUsata = false;
        qlonglong versioneLetta = 0;
    };
    Fotografia fotografa() const;
    void ripristina(const Fotografia& f);

    void creaControlli();
    void apriDocumenti();
    void apriElenchi();
    void coloraNota(const QString& codLocale);
    void aggiornaQueryLocali();
    QDate dataRegistrazione() const;
    std::optional<int> tipologiaScelta() const;
    Dec importo(const char* controllo) const;
    void scriviImporto(const char* controllo, const Dec& valore);
    // On an advance paid at the venue the header's AccontoLocale is the typed
    // advance: the label bound to the same column shows it too.
    void allineaAccontoLocale();
    void mostraPannello(const ValoriPannello& v);
    // `v` worked out again from the machine rows.
    ValoriPannello ricalcolato(const ValoriPannello& v) const;
    // The credit of the venue's open advances paid at the venue, for a
    // collection that deducts them.
    Dec accontiLocaliAperti(const QString& causale) const;
    // The bookkeeping rows of the panel `v`.
    void scriviRighe(const ValoriPannello& v);
    void aggiornaSbilancio();
    void nuovaModifica();   // the edit-long state starts again
    void annotaPartenza();  // what "changed" is measured against
    // The filter panel's days "Dal ... al" (invalid when not given), in order.
    std::pair<QDate, QDate> periodoFiltro() const;
    // Every field clean, as before a document is shown (the causal kept when asked).
    void pulisci(bool mantieniCausale);
    bool controlliSalvataggio();
    bool confermaCampo();  // false: the field typed into holds no amount
    // The machine cards as this window read them (see schede.cpp).
    std::map<qlonglong, QString> impronteSchede(const std::vector<qlonglong>& ids);
    std::vector<qlonglong> schedeDelleRighe();
    void annotaSchede();
    bool schedeInvariate();
    void ricaricaApparecchi(const std::vector<qlonglong>& ids);
    // The venue or causal box of a document with machine rows now names
    // another code than the rows': asks to discard them (new document) or
    // refuses (stored one). True when the box was put back.
    // A new INC6 of a venue with hopper documents (HOP) still open says so.
    void avvisaHopperAperti(const QString& codLocale);
    // The meter rows of island machine `scheda` made from its meters.
    void creaContatoriIsola(RecordSet& righe, qlonglong scheda);
    // A stored document's island meters as they were before its correction
    // touched them: put back when the correction is undone.
    struct LetturaIsola {
        QVariant id, attuale, contatore, parziale;
    };
    std::map<qlonglong, std::vector<LetturaIsola>> isoleOriginali_;  // by machine card
    void ripristinaIsole();
    // The machines the next load takes without asking ("id|id|").
    std::optional<QString> sceltaApparecchi_;
    bool righeDiAltroDocumento(const char* box, const QString& delleRighe, bool causale);
    // The document's day is a date from 1990 to 2100; otherwise says so.
    bool dataValida();
    // The rows were loaded for the venue and causal now shown.
    void righeDelDocumento();
    // The message for a refresh that failed after the work was committed.
    static QString DopoConferma(const QString& fatto, const Errore& e);
    // True when the operator has the right; otherwise says so and returns false.
    bool consentito(bool diritto, const QString& azione);
    // Writes the document inside the save's transaction; its id, or 0 when a
    // check stopped the save (the message is shown).
    qlonglong scriviDocumento();
    bool documentoCorrente() const;
    void dopoRigheCambiate();
    // The panel recomputed from the machine rows with no shortage, theft,
    // allowance or remainder, and the venue's debt read again.
    ValoriPannello azzeramentoComune();
    // The panel `v` with what follows the field `chiave`, its rows, and any
    // difference sent to the treatment chosen, or to `destinazione` when a
    // settlement command names its own; then shown.
    void aggiorna(ValoriPannello v, const QString& chiave, Dec ValoriPannello::*destinazione);
    void conguaglia(ValoriPannello& v, const QString& chiave, Dec ValoriPannello::*destinazione);
    bool incasso() const;  // INC, INC6 or FUR
    QString causale() const;

    Host& host_;
    UiPort& ui_;
    ProprietaIngresso& prop_;
    RecordOperatore operatore_;
    ModelloFinestra finestra_;
    Preferenze pref_;
    ElenchiIncassi elenchi_;
    mutable MenuBar menu_;
    RecordSetPtr documenti_, incassi_, nota_, locale_;
    QString titolo_, stato_, focus_, aiutoTasti_, avviso_;
    QDate oggi_, ultimaData_;
    bool hopperDaCassa_ = false;
    bool nuovo_ = false, modifica_ = false, ritirati_ = false;
    int schedaGriglia_ = 0;
    Ripartizione predefinita_;
    Pannello storicoLocale_;
    StoricoMacchina storicoApparecchio_;
    qlonglong storicoDi_ = -1;
    ContiAssociati conti_;
    Dec conguaglio_;
    bool mantieniRimanenza_ = false;         // the remainder shown stays at the next totals
    bool rimanenzaUsata_ = false;            // the remainder command was used in this edit
    qlonglong versioneLetta_ = 0;            // the shown header's version, for the save's check
    QString campoDigitato_;                  // the money field typed into and not yet left
    std::map<qlonglong, QString> impronte_;  // card id -> the card as loaded
    QStringList partenza_;                   // every control as editing started
    std::vector<qlonglong> daRicaricare_;    // machines to load again after a failed save
    QString localeRighe_, causaleRighe_;     // what the machine rows were loaded for
};

}  // namespace incassi
