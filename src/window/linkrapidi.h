#pragma once

// The quick links of a module's side panel: rows of `linkrapidi` that run a
// stored query of `queryrapide` in the search dialog and start a module of
// the suite on the chosen row, or start it directly.
//
// Listing rule: `visibilita` 0 (or none) lists the link for every operator,
// 1 only for operators who may write collections (insert or modify), 2 only
// for administrators; any other value hides it.

#include <QString>
#include <functional>
#include <vector>

#include "window/ingresso.h"

namespace incassi {

class Host;
class UiPort;

struct VoceLink {
    QString chiave;  // "Link:" + id
    QString testo;
    QString icona;
    QString suggerimento;
};

class LinkRapidi {
  public:
    // `modulo`: the module whose links are listed; `avvia` starts a module
    // with the plug-in protocol and answers false when it knows no such module.
    LinkRapidi(Host& host, UiPort& ui, QString modulo,
               std::function<bool(const ProprietaIngresso&)> avvia);

    // "Torvane Link " + the module.
    QString titolo() const { return QStringLiteral("Torvane Link ") + modulo_; }
    std::vector<VoceLink> voci() const;

    // Runs the link of `chiave`. `posizione`: the value the stored query is
    // narrowed to (the current venue, say), "" for none. False when nothing
    // was started.
    bool Esegui(const QString& chiave, const QString& posizione = {});

    // Whether `testo` is one SELECT statement and nothing more.
    static bool SoloSelect(const QString& testo);

  private:
    bool elencato(int visibilita) const;

    Host& host_;
    UiPort& ui_;
    QString modulo_;
    std::function<bool(const ProprietaIngresso&)> avvia_;
};

}  // namespace incassi
