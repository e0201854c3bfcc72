#pragma once

// The search box widget: a line for the code and a lookup button that opens
// the pick list over the box's query. Out of focus the line shows
// "code description"; while it is edited, the code alone. A typed code the
// query does not list is refused with a message that names it; the line
// keeps what was typed, to be corrected, while the box keeps its code.

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

#include "window/searchbox.h"

namespace incassi {
class UiPort;
}

namespace incassi::ui {

class WidgetRicerca : public QWidget {
    Q_OBJECT
  public:
    WidgetRicerca(CasellaRicerca& casella, UiPort& ui, QWidget* parent = nullptr);

    CasellaRicerca& casella() { return casella_; }
    QLineEdit* riga() { return riga_; }
    QToolButton* pulsante() { return pulsante_; }

    // Shows the box's code (or "code description" out of focus).
    void aggiorna();
    // The lookup button's work: the pick list, then the chosen code.
    bool scegli();

  Q_SIGNALS:
    // A new code was typed or chosen and accepted.
    void codiceCambiato(const QString& codice);

  protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

  private:
    void confermaDigitato();

    CasellaRicerca& casella_;
    UiPort& ui_;
    QLineEdit* riga_;
    QToolButton* pulsante_;
    QString rifiutato_;    // a typed code the list refused, shown until corrected
    QString rifiutatoSu_;  // the box's code when it was refused
};

}  // namespace incassi::ui
