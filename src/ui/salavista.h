#pragma once

// The hall wizard on the Qt side: the list of the hall's machines with their
// readings and hoppers ("Rilevazione Dati"), the totals with "Crea incasso"
// ("Riepilogo incasso"), and Indietro / Avanti / Annulla.

#include <QLabel>
#include <QTabWidget>
#include <QTreeWidget>
#include <memory>

#include "ui/finestre.h"
#include "wizards/wizardsala.h"

namespace incassi::ui {

class VistaSala : public FinestraPlugin {
    Q_OBJECT
  public:
    // The model must be loaded (Carica called).
    VistaSala(Host& host, std::unique_ptr<FrmWizardSala> modello, QWidget* parent = nullptr);

    FrmWizardSala& modello() { return *modello_; }
    QTreeWidget* lista() const { return lista_; }
    QTabWidget* schede() const { return schede_; }
    void comando(const QString& nome);

  private:
    void aggiorna();

    std::unique_ptr<FrmWizardSala> modello_;
    QTabWidget* schede_ = nullptr;
    QTreeWidget* lista_ = nullptr;
    QLabel* riepilogo_ = nullptr;
};

}  // namespace incassi::ui
