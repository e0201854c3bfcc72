#pragma once

// The UI port with real dialogs: message boxes with the Italian buttons, the
// pick list and the search dialog, file dialogs, and opening a file with the
// program associated with its type.

#include <QMessageBox>
#include <QPointer>
#include <memory>

#include "window/uiport.h"

namespace incassi {
class Host;
}

namespace incassi::ui {

// A message box ready to be shown: the buttons "OK", "Sì", "No", "Annulla"
// carry their answer, the default and escape buttons are set.
std::unique_ptr<QMessageBox> CreaMessaggio(const QString& testo, const QString& titolo, Icona icona,
                                           Pulsanti pulsanti, std::optional<Risposta> predefinita,
                                           QWidget* parent = nullptr);
// The answer of the box's clicked button; with none clicked (the box was
// closed) Annulla, else No, else OK, whichever the box has.
Risposta RispostaDi(const QMessageBox& box);

class QtUi : public UiPort {
  public:
    // `parent` is the window the dialogs belong to; it may be null.
    explicit QtUi(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    // The host whose operator's saved views shape the pick lists.
    void setHost(Host* host) { host_ = host; }

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
    QPointer<QWidget> parent_;
    Host* host_ = nullptr;
};

}  // namespace incassi::ui
