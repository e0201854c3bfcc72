#pragma once

// The venue's note: one free text per venue that collectors read when they
// visit it. Saved (made the first time, updated after), deleted, or looked up
// among the notes of every venue in the search dialog.

#include <QString>

#include "window/windowmodel.h"

namespace incassi {

class Host;
class UiPort;

class FrmNota {
  public:
    // `codLocale`: the venue; `nota`: the text the window starts with.
    FrmNota(Host& host, UiPort& ui, const QString& codLocale, const QString& nota);

    static QString Titolo() { return QStringLiteral("Nota del locale"); }
    // The venue's stored note, "" when it has none.
    static QString NotaDi(Host& host, const QString& codLocale);

    ModelloFinestra& finestra() { return finestra_; }
    Controllo& operator[](const QString& nome) { return finestra_[nome]; }

    // "CmdSalva", "CmdElimina", "CmdVisualizza", "CmdAnnulla"; false when
    // the command did not run to its end.
    static QStringList Comandi();
    bool Esegui(const QString& comando);
    bool chiusa() const { return chiusa_; }

  private:
    bool salva();
    bool elimina();
    void visualizza();
    QString codice() const;
    bool conLocale();

    Host& host_;
    UiPort& ui_;
    ModelloFinestra finestra_;
    bool chiusa_ = false;
};

}  // namespace incassi
