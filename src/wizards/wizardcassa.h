#pragma once

// The three-page cash wizards: criteria, detail and summary, one frame per
// page. This base holds what the loan, remainder and transfer wizards share:
// the page counter and the balance-stale flag, the buttons and their captions,
// the amount field, the account association record, the company list, the
// movement list of the summary page, the one-transaction generate and the
// close request. Each wizard adds its controls, its balances and its rows.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "window/searchbox.h"
#include "window/uiport.h"
#include "window/windowmodel.h"

namespace incassi {

class Archivio;
class Host;
class UiPort;

// One item of the summary page's list: amounts only when non-zero.
struct VoceMovimento {
    QString data;
    QString descrizione;
    QString dare;
    QString avere;
};

// The captions of the navigation buttons.
namespace didascalie {
inline const QString Avanti = QStringLiteral("&Avanti");
inline const QString Indietro = QStringLiteral("&Indietro");
inline const QString Genera = QStringLiteral("&Genera");
inline const QString Chiudi = QStringLiteral("&Chiudi");
inline const QString Annulla = QStringLiteral("A&nnulla");
}  // namespace didascalie

// The frame of page `pagina` ("Frame1_0" .. "Frame1_2").
QString NomeFrame(int pagina);

// The description part of a search box's display text ("code description"):
// what follows the first blank; the whole text when there is no blank.
QString DescrizioneDaVisualizzato(const QString& visualizzato);

class WizardCassa {
  public:
    virtual ~WizardCassa();
    WizardCassa(const WizardCassa&) = delete;
    WizardCassa& operator=(const WizardCassa&) = delete;

    // Opens the window: today's date, the association record, the company
    // list, the wizard's own presets; page 0 is shown.
    void Apri();

    const QString& titolo() const { return titolo_; }
    ModelloFinestra& finestra() { return finestra_; }
    Controllo& operator[](const QString& nome) { return finestra_[nome]; }
    CasellaRicerca& casella(const QString& nome);
    int pagina() const { return pagina_; }
    // True when SaldoOggi must be recomputed the next time page 1 is shown.
    bool saldoDaRicalcolare() const { return saldoScaduto_; }
    // Where the focus should go ("" when the wizard does not say).
    const QString& focus() const { return focus_; }
    // The window has closed itself (cancel, generate or the close request).
    bool chiusa() const { return chiusa_; }
    // The id of the header written by generate, 0 before.
    qlonglong idGenerato() const { return idGenerato_; }
    const std::vector<VoceMovimento>& movimenti() const { return movimenti_; }
    // The summary lists at most this many movements, newest first.
    static constexpr int kMovimentiMostrati = 500;

    // The clock of the window (tests set a fixed day and time).
    std::function<QDate()> orologio = [] { return QDate::currentDate(); };
    std::function<QDateTime()> adesso = [] { return QDateTime::currentDateTime(); };

    // A click on CmdAvanti, CmdIndietro or CmdAnnulla.
    void Comando(const QString& nome);
    void Avanti();
    void Indietro();
    void Annulla();
    // The user changed the field `nome` (typed, picked or cleared).
    virtual void Modificato(const QString& nome) { (void)nome; }
    // txtDenaro lost the focus: the text is rewritten as a euro amount.
    void DenaroLasciato();
    // The timer's poll of the host: true when the window must close.
    bool Timer();

    // The amount of txtDenaro as it is stored: the formatted text read back.
    // Nothing when the text is not a number.
    std::optional<double> Importo() const;

  protected:
    WizardCassa(Host& host, UiPort& ui, QString titolo);

    // Controls shared by every wizard.
    Controllo& aggiungi(const QString& nome, const QString& etichetta = {});
    CasellaRicerca& aggiungiRicerca(const QString& nome, const QString& etichetta,
                                    const QString& query, const QString& visualizza,
                                    const QString& campo, const QString& vista);
    CasellaRicerca& aggiungiEsattore();
    CasellaRicerca& aggiungiConto(const QString& nome, const QString& etichetta,
                                  const QString& query);
    void aggiungiFrame(int pagina, const QString& didascalia);
    // "Saldo aggiornato a oggi", "0,00" until computed.
    void aggiungiSaldoOggi();
    // A balance shown as every amount is, to the cent ("1.924,50").
    void mostraSaldo(const QString& nome, double valore);
    // The summary page and the buttons, after the wizard's own pages.
    void aggiungiRiepilogo();

    // The association record's account of that role ("" when none).
    QString contoAssociazione(const QString& colonna) const;
    // Fills the list with the newest movements of `conto` (at one venue, or
    // at all with none), at most kMovimentiMostrati of them.
    void riempiMovimenti(Archivio& archivio, const QString& conto, const QString& codLocale);
    // The date of txtData; nothing when it is not a date.
    std::optional<QDate> dataDocumento() const;
    // Empty cash account: the association's cash account.
    void cassaPredefinita(const QString& nome);
    // Dare and Avere of a row for the signed amount, rounded to the cent: a
    // positive amount goes to Dare when `dareSePositivo`, else to Avere; a
    // negative one to the other side, as a positive figure.
    static void ImpostaImporti(RecordSet& rs, double importo, bool dareSePositivo);
    // Header fields every wizard writes.
    void scriviTestata(RecordSet& rs, const QDate& data, const QDateTime& ora);
    void scriviRiga(RecordSet& rs, qlonglong idTesta, const QDate& data, const QDateTime& ora);

    // What each wizard adds.
    virtual void apriWizard() = 0;               // presets after the common opening
    virtual bool puoAvanzare() { return true; }  // before leaving a page forward
    virtual void calcolaSaldoOggi() = 0;         // page 1 with the stale flag set
    virtual void entraPagina1() {}
    // Where the first page starts: its first field to fill.
    virtual QString campoIniziale() const { return QStringLiteral("txtData"); }
    virtual void entraPagina2() = 0;  // the summary page
    virtual bool puoGenerare(double) { return true; }
    // Writes the header and the rows inside the open transaction; returns
    // the header's id.
    virtual qlonglong scrivi(double importo, const QDate& data, const QDateTime& ora) = 0;

    // A message box with the wizard's title and the OK button.
    void avvisa(const QString& testo, Icona icona);

    Host& host_;
    UiPort& ui_;
    ModelloFinestra finestra_;
    QString focus_;

  private:
    void mostraPagina();
    bool genera();

    QString titolo_;
    RecordSetPtr associazione_;
    std::vector<VoceMovimento> movimenti_;
    int pagina_ = 0;
    bool saldoScaduto_ = true;
    bool chiusa_ = false;
    qlonglong idGenerato_ = 0;
};

}  // namespace incassi
