#pragma once

// The collection window on a test database: opened on the day of the
// collections of PreparaLocaleConAperti, and a new document of BAR1 with its
// machines loaded, as most window tests start.

#include <QDate>
#include <memory>

#include "collection/frmincassi.h"
#include "window/scriptedui.h"

namespace incassi::test {

inline const QDate kGiornoIncassi(2026, 3, 20);

std::unique_ptr<FrmIncassi> ApriIncassi(Host& host, UiPort& ui, ProprietaIngresso& prop);
// A new document of `causale` at BAR1 on that day, collected by ES1, the
// machines `macchine` chosen from the list ("1|2|").
void NuovoIncasso(FrmIncassi& f, ScriptedUi& ui, const char* causale = "INC6",
                  const char* macchine = "1|2|");

}  // namespace incassi::test
