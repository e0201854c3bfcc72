#pragma once

// The venue's note on the Qt side: the venue, the text, and the four
// commands. The collection window recolours its "Note" button when it closes.

#include <QPlainTextEdit>
#include <functional>
#include <memory>

#include "auxwin/frmnota.h"
#include "ui/finestre.h"

namespace incassi::ui {

class VistaNota : public FinestraPlugin {
    Q_OBJECT
  public:
    VistaNota(Host& host, UiPort& ui, const QString& codLocale, const QString& nota,
              std::function<void()> chiusa, QWidget* parent = nullptr);

    FrmNota& modello() { return *modello_; }
    QPlainTextEdit* testo() const { return testo_; }
    void comando(const QString& nome);

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    std::unique_ptr<FrmNota> modello_;
    std::function<void()> chiusa_;
    QPlainTextEdit* testo_ = nullptr;
};

}  // namespace incassi::ui
