#pragma once

// The print window and the report preview on the Qt side. The print window
// shows the model's filter, report lists and commands; the preview shows the
// laid-out pages in Qt's print preview, with zoom, page moves, print and the
// three exports. Both close with the host's close request.

#include <QDateEdit>
#include <QLabel>
#include <QListWidget>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRadioButton>
#include <QTabWidget>
#include <memory>

#include "reportengine/impaginazione.h"
#include "reportengine/motorefile.h"
#include "reports/frmstampa.h"
#include "ui/finestre.h"
#include "ui/legame.h"

namespace incassi::ui {

class VistaAnteprima : public FinestraPlugin {
    Q_OBJECT
  public:
    // `esporta` writes the report in a format (the print window's export).
    VistaAnteprima(Host* host, stampa::Contenuto contenuto,
                   std::function<void(stampa::FormatoExport)> esporta, QWidget* parent = nullptr);
    ~VistaAnteprima() override;

    QPrintPreviewWidget* anteprima() const { return anteprima_; }
    int pagine() const { return int(pagine_.pagine.size()); }
    // The page shown, as the label says it: "Pagina 1 di 3".
    QString testoPagina() const { return pagina_->text(); }
    // Prints on the printer chosen in the print dialog.
    void stampa();

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void aggiornaPagina();

    stampa::Contenuto contenuto_;
    stampa::Impaginato pagine_;
    std::unique_ptr<QPrinter> stampante_;
    QPrintPreviewWidget* anteprima_ = nullptr;
    QLabel* pagina_ = nullptr;
};

// The engine of the Qt windows: its preview is a VistaAnteprima.
class MotoreQt : public stampa::MotoreFile {
  public:
    // The previews are windows of `padre`, closed with it.
    MotoreQt(Host* host, std::function<void(QWidget*)> aperte, QWidget* padre)
        : host_(host), aperte_(std::move(aperte)), padre_(padre) {}
    void Anteprima(const stampa::Contenuto& c) override;
    std::function<void(stampa::FormatoExport, const stampa::Contenuto&)> esporta;

  private:
    Host* host_;
    std::function<void(QWidget*)> aperte_;
    QWidget* padre_;
};

class VistaStampa : public FinestraPlugin {
    Q_OBJECT
  public:
    // Opens the model; `aperte` receives the preview windows.
    VistaStampa(Host& host, UiPort& ui, stampa::RichiestaStampa richiesta,
                std::function<void(QWidget*)> aperte = {}, QWidget* parent = nullptr);
    ~VistaStampa() override;

    stampa::FrmStampa& modello() { return *modello_; }
    QListWidget* lista(int scheda) const { return scheda == 0 ? list1_ : list2_; }
    QTabWidget* schede() const { return schede_; }

    void aggiorna();

  protected:
    void showEvent(QShowEvent* e) override;
    // Enter prints the chosen report, Esc closes.
    void keyPressEvent(QKeyEvent* e) override;

  private:
    void comando(const QString& nome);

    UiPort& ui_;
    MotoreQt motore_;
    std::unique_ptr<stampa::FrmStampa> modello_;
    std::unique_ptr<LegameControlli> legame_;
    QRadioButton *corrente_ = nullptr, *periodo_ = nullptr;
    QDateEdit *dal_ = nullptr, *al_ = nullptr;
    QListWidget *list1_ = nullptr, *list2_ = nullptr;
    QTabWidget* schede_ = nullptr;
};

}  // namespace incassi::ui
