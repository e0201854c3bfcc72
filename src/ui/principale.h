#pragma once

// The host program's windows: the operator's login and the main window with
// the module's function codes.

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <optional>

#include "host/host.h"

namespace incassi::ui {

// Operator code and password, checked against table `operatori`.
class DialogoAccesso : public QDialog {
    Q_OBJECT
  public:
    explicit DialogoAccesso(Host& host, QWidget* parent = nullptr);

    QLineEdit* codice() { return codice_; }
    QLineEdit* password() { return password_; }
    QLabel* avviso() { return avviso_; }
    // The operator who logged in (after the dialog was accepted).
    const std::optional<Operatore>& operatore() const { return operatore_; }
    // Checks the code and password: accepts the dialog or shows why not.
    void prova();

  private:
    Host& host_;
    QLineEdit* codice_;
    QLineEdit* password_;
    QLabel* avviso_;
    std::optional<Operatore> operatore_;
};

// The function codes the main window offers, in menu order.
QStringList CodiciFunzione();

class FinestraPrincipale : public QMainWindow {
    Q_OBJECT
  public:
    // How long the close request stays on: every window polls within it.
    static constexpr int kDurataChiusura = 3500;

    explicit FinestraPrincipale(const QString& operatore, QWidget* parent = nullptr);
    QPushButton* pulsante(const QString& codice) const;
    // While the windows close the function codes are disabled.
    void chiusuraInCorso(bool on);

  Q_SIGNALS:
    void avvia(const QString& codice);
    void chiudiTutte();
    void chiusa();

  protected:
    void closeEvent(QCloseEvent* evento) override;

  private:
    QList<QPushButton*> pulsanti_;
    QPushButton* chiudi_;
};

}  // namespace incassi::ui
