#pragma once

// The generic binder between a window model and its widgets: each control is
// joined to the child widget with the same objectName (without regard to
// case). The model's state (text, items and selection, check, enabled,
// visible, background colour) is pushed to the widgets by AggiornaVista; what
// the user types or picks goes back into the model at once and is announced
// by `modificato`. A view adds only layout and look.

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "window/windowmodel.h"

namespace incassi::ui {

class LegameControlli : public QObject {
    Q_OBJECT
  public:
    LegameControlli(ModelloFinestra& modello, QWidget& radice, QObject* parent = nullptr);

    // Controls joined to a widget.
    int collegati() const { return int(widget_.size()); }
    QWidget* widget(const QString& nome) const;

    // Model -> widgets, for every control or for one.
    void AggiornaVista();
    void AggiornaVista(const QString& nome);

  Q_SIGNALS:
    // The user changed the widget of control `nome`; the model holds the new value.
    void modificato(const QString& nome);
    // A button was clicked.
    void comando(const QString& nome);

  private:
    void collega(Controllo& c, QWidget* w);
    void mostra(const Controllo& c, QWidget* w);
    void daVista(Controllo& c, const std::function<void()>& scrivi);

    ModelloFinestra& modello_;
    QHash<QString, QPointer<QWidget>> widget_;  // key: lower-case control name
    bool aggiornando_ = false;                  // model -> widgets in progress
};

// Sets the background of a widget from a Windows colour value.
void ImpostaSfondo(QWidget* w, Colore colore);

}  // namespace incassi::ui
