#pragma once

// The cash wizards by the name of their window, for the Qt host and the
// scenario runner alike.

#include <QString>
#include <memory>

#include "window/ingresso.h"
#include "wizards/wizardcassa.h"

namespace incassi {

class Host;
class UiPort;

// The window names of the cash wizards.
const QStringList& NomiWizard();

// The wizard of window `finestra`, not yet opened; nullptr for any other name.
std::unique_ptr<WizardCassa> CreaWizard(const QString& finestra, Host& host, UiPort& ui,
                                        ProprietaIngresso proprieta, RecordOperatore operatore);

}  // namespace incassi
