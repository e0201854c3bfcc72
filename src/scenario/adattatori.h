#pragma once

// The adapter of each window, one factory per window. A new window adds its
// factory here and one line to TabellaAdattatori().

#include "scenario/adattatore.h"

namespace incassi::scenario {

std::unique_ptr<AdattatoreFinestra> AdattatoreIncassi(ContestoFinestra& c);
// A cash wizard by its window name (NomiWizard()).
// The hall wizard, on the hall of the plug-in protocol and the scenario's day.
std::unique_ptr<AdattatoreFinestra> AdattatoreSala(ContestoFinestra& c);
// The venue's note, on the venue of the plug-in protocol.
std::unique_ptr<AdattatoreFinestra> AdattatoreNota(ContestoFinestra& c);
// The print window, on the document or venue of the plug-in protocol.
std::unique_ptr<AdattatoreFinestra> AdattatoreStampa(ContestoFinestra& c);
std::unique_ptr<AdattatoreFinestra> AdattatoreWizard(const QString& nome, ContestoFinestra& c);

}  // namespace incassi::scenario
