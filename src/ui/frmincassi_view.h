#pragma once

// The collection window on screen: the header of the document, the machine
// grid in the tab of the causal's kind, the bookkeeping grid, the money
// panel, the two history panels, the filter panel, the menu of preferences,
// the toolbar and the status bar. Every widget that shows a control of the
// window model carries the control's name, and the binder joins them; the
// view only lays them out and forwards what the user does to the model.

#include <array>

#include <QHash>
#include <QPointer>
#include <functional>
#include <memory>

#include "collection/frmincassi.h"
#include "ui/finestre.h"
#include "window/gridlayout.h"
#include "window/linkrapidi.h"
#include "window/uiport.h"

class QAction;
class QMenu;
class QTreeWidget;
class QLabel;
class QMenuBar;
class QStatusBar;
class QTabBar;
class QTextEdit;
class QToolBar;
class QGroupBox;

namespace incassi {
class configura;
}

namespace incassi::ui {

class GrigliaRecordset;
class LegameControlli;

// The view's door to the person: the window's dialogs, or, for a scripted
// demonstration, automatic answers (every row of a pick list, the default
// button of a message) with the messages written to the error stream.
class UiFinestra : public UiPort {
  public:
    explicit UiFinestra(UiPort& base) : base_(base) {}
    void setAutomatico(bool on) { automatico_ = on; }
    // Called before any dialog opens: the window shows what the model holds
    // (a field just marked as missing, say) while the person reads it.
    std::function<void()> primaDelDialogo;

    Risposta Messaggio(const QString& testo, const QString& titolo, Icona icona, Pulsanti pulsanti,
                       std::optional<Risposta> predefinita) override;
    QString ElencoScelta(const RecordSetPtr& rs, const QString& titolo, const QString& chiaveElenco,
                         const QString& campoChiave, bool sceltaMultipla) override;
    QString Ricerca(const RichiestaRicerca& richiesta) override;
    QString ApriFile(const QString& titolo, const QString& cartella,
                     const QString& filtro) override;
    QString SalvaFile(const QString& titolo, const QString& percorsoProposto,
                      const QString& filtro) override;
    bool ApriConProgramma(const QString& percorso) override;

  private:
    UiPort& base_;
    bool automatico_ = false;
};

// The shared grid layouts shipped with the program. Those missing from
// percorso + "parametri/" are copied there; the ones present are left alone.
// Returns the number of files copied.
int InstallaLayoutCondivisi(const QString& percorso);

// The shared layout of the machine grid for a tab of TagGriglia and a causal.
QString VistaScheda(int scheda, const QString& causale);

class FinestraIncassi : public FinestraPlugin {
    Q_OBJECT
  public:
    FinestraIncassi(Host& host, UiPort& ui, ProprietaIngresso proprieta, RecordOperatore operatore,
                    QWidget* parent = nullptr);
    ~FinestraIncassi() override;

    // The entry object that opened the window: its search field is cleared
    // when the window closes.
    void setEntrata(configura* entrata) { entrata_ = entrata; }
    // Receives the windows this one opens (print window, preview).
    std::function<void(QWidget*)> aperte;

    FrmIncassi& modello() { return *modello_; }
    LegameControlli& legame() { return *legame_; }
    GrigliaRecordset* grigliaIncassi() const { return grigliaIncassi_; }
    GrigliaRecordset* grigliaNota() const { return grigliaNota_; }
    QTabBar* schede() const { return schede_; }
    QTextEdit* pannelloApparecchio() const { return storici_[0].testo; }
    QTextEdit* pannelloLocale() const { return storici_[3].testo; }
    QTextEdit* pannelloHopper() const { return storici_[1].testo; }
    QTextEdit* pannelloCassetto() const { return storici_[2].testo; }
    QAction* azione(const QString& chiave) const { return azioni_.value(chiave.toLower()); }
    // The header menu of a grid: the operator's views (the one shown checked),
    // the shared default and the view editor.
    void riempiMenuViste(QMenu& menu, GrigliaRecordset* g);
    QMenuBar* barraMenu() const { return menu_; }
    QStatusBar* barraStato() const { return stato_; }
    QWidget* campo(const QString& nome) const;

    // The whole window from the model.
    void Aggiorna();

    // A scripted demonstration: "INC6" opens a new document on today's date,
    // takes the first venue with meter machines, the causal INC6 and all the
    // venue's machines. False for an unknown name or when nothing loads.
    Q_INVOKABLE bool eseguiScenario(const QString& nome);

  protected:
    void closeEvent(QCloseEvent* evento) override;
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

  private:
    // Construction (frmincassi_view.cpp).
    QWidget* creaTestata();
    QWidget* creaFiltro();
    QWidget* creaDenaro();
    QWidget* creaStorici();
    QWidget* creaGriglie();
    // Commands, menu, grids (frmincassi_view_azioni.cpp).
    void creaAzioni();
    void creaMenu();
    // Tab walks the fields in the order a collection is entered.
    void ordinaTabulazione();
    // "Inserisci riga" and "Elimina riga" on a grid: its context menu and
    // Ctrl++ / Ctrl+- while the grid has the focus.
    void creaAzioniRighe(QWidget* griglia, const QString& inserisci, const QString& elimina);
    void comando(const QString& chiave);
    void controlloModificato(const QString& nome);
    void cellaModificata(const QString& campo, const QVariant& prima);
    void invioInGriglia(const QString& campo);
    void rigaCambiata();
    void entraGriglia();
    void aggiornaGriglie();
    void aggiornaPannelli();
    // Grid views (frmincassi_view_viste.cpp): the view code of a grid, its
    // layout (a view chosen from the menu, the preferred view, the shared
    // default), the header's menu of views and the view editor.
    QString codiceVista(GrigliaRecordset* g) const;
    LayoutGriglia layoutVista(const QString& codice, bool personale) const;
    void menuViste(GrigliaRecordset* g, const QPoint& dove);
    void apriConfigura(GrigliaRecordset* g);
    void ricaricaViste();
    // The side panel of quick links and its toolbar switch
    // (frmincassi_view_link.cpp); a link starts a module of the suite.
    QWidget* creaPannelloLink();
    void eseguiLink(const QString& chiave);
    bool avviaModulo(const ProprietaIngresso& p);
    void aggiornaEtichette();
    // The controls as the model holds them, without touching grids or focus.
    void mostraControlli();
    void invioSulLocale();
    // Size, place and splitters, kept per operator in the workstation's settings.
    void salvaAspetto();
    void ripristinaAspetto();
    void aggiornaAzioni();
    void aggiornaMenu();
    void applicaFocus();
    void caricaLayoutNota();

    Host& host_;
    UiFinestra ui_;
    ProprietaIngresso prop_;
    std::unique_ptr<FrmIncassi> modello_;
    configura* entrata_ = nullptr;
    LegameControlli* legame_ = nullptr;
    QMenuBar* menu_ = nullptr;
    QToolBar* barra_ = nullptr;
    QStatusBar* stato_ = nullptr;
    QLabel* statoRecord_ = nullptr;
    QLabel* statoTasti_ = nullptr;
    QGroupBox* filtro_ = nullptr;
    QTabBar* schede_ = nullptr;
    GrigliaRecordset* grigliaIncassi_ = nullptr;
    GrigliaRecordset* grigliaNota_ = nullptr;
    // The history panels: machine, its hoppers, its cash box, the venue. The
    // two in the middle show when their preference is on.
    struct Storico {
        QLabel* titolo = nullptr;
        QTextEdit* testo = nullptr;
        const Pannello& (FrmIncassi::*pannello)() const = nullptr;
        const char* preferenza = nullptr;
    };
    std::array<Storico, 4> storici_;
    QHash<QString, QAction*> azioni_;  // key: lower-case command
    QList<QAction*> azioniRighe_;      // the grids' row commands (data: the command)
    QString vistaIncassi_;             // the layout the machine grid shows
    QHash<QString, QString> vistaScelta_;
    QTreeWidget* link_ = nullptr;
    std::unique_ptr<LinkRapidi> linkRapidi_;  // view code (lower case) -> view chosen from the menu
    bool aggiornando_ = false;
};

}  // namespace incassi::ui
