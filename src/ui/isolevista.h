#pragma once

// The island meters window: the machine's meter rows of the collection in a
// grid (the operator's view "IncIsoleContatori", technical columns hidden),
// reading and partial following each other as they are typed, the view editor
// from the toolbar, and "Chiudi", after which the collection row takes the
// totals. Shown modally by the collection window.

#include <QDialog>

#include "auxwin/contatoriisole.h"
#include "ui/modellorecordset.h"

namespace incassi {
class Host;
class UiPort;
}  // namespace incassi

namespace incassi::ui {

class DialogoContatoriIsole : public QDialog {
    Q_OBJECT
  public:
    DialogoContatoriIsole(Host& host, UiPort& ui, FrmContatoriIsole& modello,
                          QWidget* parent = nullptr);
    GrigliaRecordset* griglia() const { return griglia_; }

  private:
    void caricaVista();

    Host& host_;
    UiPort& ui_;
    FrmContatoriIsole& modello_;
    GrigliaRecordset* griglia_ = nullptr;
};

}  // namespace incassi::ui
