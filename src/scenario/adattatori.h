#pragma once

// The adapter of each window, one factory per window. A new window adds its
// factory here and one line to TabellaAdattatori().

#include "scenario/adattatore.h"

namespace incassi::scenario {

std::unique_ptr<AdattatoreFinestra> AdattatoreIncassi(ContestoFinestra& c);
// A cash wizard by its window name (NomiWizard()).
std::unique_ptr<AdattatoreFinestra> AdattatoreWizard(const QString& nome, ContestoFinestra& c);

}  // namespace incassi::scenario
