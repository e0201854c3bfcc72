#pragma once

// The adapter of each window, one factory per window. A new window adds its
// factory here and one line to TabellaAdattatori().

#include "scenario/adattatore.h"

namespace incassi::scenario {

std::unique_ptr<AdattatoreFinestra> AdattatoreIncassi(ContestoFinestra& c);
std::unique_ptr<AdattatoreFinestra> AdattatorePrestito(ContestoFinestra& c);
std::unique_ptr<AdattatoreFinestra> AdattatoreRimanenze(ContestoFinestra& c);
std::unique_ptr<AdattatoreFinestra> AdattatoreVersamento(ContestoFinestra& c);

}  // namespace incassi::scenario
