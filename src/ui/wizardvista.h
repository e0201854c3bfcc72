#pragma once

// The view of the cash wizards: three frames, one per page, with the
// model's controls laid out in their order (a caption becomes the field's
// label), the summary list, and the buttons Indietro / Avanti / Annulla. One
// view serves the loan, remainder and transfer wizards: each shows the
// controls its model has.

#include <QDateEdit>
#include <QTreeWidget>
#include <memory>

#include "ui/finestre.h"
#include "ui/legame.h"
#include "wizards/wizardcassa.h"

class QGridLayout;

namespace incassi::ui {

class VistaWizard : public FinestraPlugin {
    Q_OBJECT
  public:
    // The model must be open (Apri called).
    VistaWizard(Host* host, UiPort& ui, std::unique_ptr<WizardCassa> modello,
                QWidget* parent = nullptr);
    ~VistaWizard() override;

    WizardCassa& modello() { return *modello_; }
    LegameControlli& legame() { return *legame_; }
    QTreeWidget* lista() const { return lista_; }

    // Model -> widgets after an event, with the focus where the model wants
    // it after a command; closes the window when the model did.
    void aggiorna(bool conFocus = false);
    // One poll of the close request through the model (what the timer runs).
    void controllaTimer();
    // Keeps the door to the person the model was made with.
    void tieni(std::unique_ptr<UiPort> ui) { uiPropria_ = std::move(ui); }
    // A scripted demonstration for the pictures of the later pages
    // ("Pagina2", "Pagina3"); false when the page is not reached.
    Q_INVOKABLE bool eseguiScenario(const QString& nome);

  protected:
    // The first field takes the focus once the window shows.
    void showEvent(QShowEvent* evento) override;
    // Enter is "Avanti" (or "Genera"), Esc is "Annulla", wherever the focus is.
    void keyPressEvent(QKeyEvent* evento) override;

  private:
    void costruisci();
    QWidget* creaWidget(Controllo& c, QWidget* parent);
    void aggiungiAPagina(QGridLayout* griglia, Controllo& c, QWidget* w);
    void comando(const QString& nome);
    void modificato(const QString& nome);

    UiPort& ui_;
    std::unique_ptr<UiPort> uiPropria_;  // destroyed after the model (declared first)
    std::unique_ptr<WizardCassa> modello_;
    std::unique_ptr<LegameControlli> legame_;
    QTreeWidget* lista_ = nullptr;
    QDateEdit* data_ = nullptr;
};

// Registers the loan ("Prestito"), remainder ("Rimanenza") and transfer
// ("Giroconto") wizards with the launcher; `aperte` receives each window.
void RegistraWizard(RegistroFinestre& registro, UiPort& ui,
                    const std::function<void(QWidget*)>& aperte);

}  // namespace incassi::ui
