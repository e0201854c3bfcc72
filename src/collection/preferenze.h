#pragma once

// The per-workstation preferences of the collection window: Boolean settings
// in section "Incassi" stored as 0 / -1, each shown as a checked menu item.
// Three of them (shortage, allowance, remainder) form an exclusive group.

#include <QString>
#include <vector>

#include "host/host.h"
#include "window/ingresso.h"

namespace incassi {

class UiPort;

struct VocePreferenza {
    const char* menu;    // the menu item
    const char* chiave;  // the setting's key
    bool predefinita;    // its value when nothing is stored
};

// The 18 preferences in the order the window reads them.
const std::vector<VocePreferenza>& VociPreferenze();

class Preferenze {
  public:
    explicit Preferenze(Host& host) : host_(host) {}

    // Reads every preference (the window does it once, at opening).
    void Leggi();
    // The flag of a setting key ("AbbuoniAutomatico") or of a menu item
    // ("MenuAbbuoni"), without regard to case.
    bool attiva(const QString& chiaveOMenu) const;
    // A click on a menu item: toggles it, or checks one item of the exclusive
    // group and clears the other two; stores the keys. False for an unknown item.
    bool Clic(const QString& menu);
    // Sets the three difference items as the settlement commands do.
    void ImpostaDifferenze(bool ammanco, bool abbuoni, bool rimanenza);

    // The menu of preferences, with check marks.
    MenuItem Menu() const;

  private:
    const VocePreferenza* voce(const QString& chiaveOMenu) const;
    void scrivi(const VocePreferenza& v, bool on);

    Host& host_;
    std::vector<bool> stato_;
};

// The venue list of the search boxes: the operator's company only when the
// operator is restricted, suspended venues only when asked.
QString QueryLocali(const RecordOperatore& operatore, bool sospesi);

// The scanner folder: the folder of a chosen file, up to and including its
// last separator.
QString CartellaScanner(const QString& file);

}  // namespace incassi
