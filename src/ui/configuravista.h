#pragma once

// The grid view editor on the Qt side: the side menu of its four pages, the
// pages, and under them the working grid, which shows every change at once
// (columns dragged to another place or width, shown or hidden, the style).

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <functional>
#include <memory>

#include "ui/finestre.h"
#include "ui/modellorecordset.h"
#include "window/frmconfigura.h"

namespace incassi::ui {

class VistaConfigura : public FinestraPlugin {
    Q_OBJECT
  public:
    // `rs`: the rows the working grid shows; `chiusa` runs when the editor
    // closes (the opening window reloads its view).
    VistaConfigura(Host& host, UiPort& ui, std::unique_ptr<FrmConfigura> modello, RecordSetPtr rs,
                   std::function<void()> chiusa, QWidget* parent = nullptr);
    ~VistaConfigura() override;

    FrmConfigura& modello() { return *modello_; }
    GrigliaRecordset* griglia() const { return griglia_; }
    QListWidget* menu() const { return menu_; }
    QStackedWidget* pagine() const { return pagine_; }
    // The page of a side menu key ("POSIZIONE", "VISUALIZZA", "STILE", "SALVA").
    void vaiA(const QString& chiave);
    // The working grid and the page controls from the model.
    void aggiorna();

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    QWidget* paginaPosizione();
    QWidget* paginaSalva();
    QWidget* paginaVisualizza();
    QWidget* paginaStile();
    void voceMenu(QListWidgetItem* voce);
    // What the person dragged in the working grid, back into the model.
    void leggiGriglia();
    void sposta(bool versoNascosti, bool tutti);
    void comandoVista(const QString& nome);

    std::unique_ptr<FrmConfigura> modello_;
    std::function<void()> chiusa_;
    QListWidget* menu_ = nullptr;
    QStackedWidget* pagine_ = nullptr;
    GrigliaRecordset* griglia_ = nullptr;
    QListWidget *lista_ = nullptr, *visibili_ = nullptr, *nascosti_ = nullptr;
    QLineEdit *nome_ = nullptr, *colore1_ = nullptr, *colore2_ = nullptr;
    QCheckBox* predefinito_ = nullptr;
    QComboBox* dimensione_ = nullptr;
    std::vector<std::pair<QCheckBox*, bool LayoutGriglia::*>> interruttori_;
    bool aggiornando_ = false;
};

}  // namespace incassi::ui
