#pragma once

// Runs a scenario: opens the database, presets the settings in a settings
// file of its own, logs the operator in, opens the window through the entry
// object, runs the steps one by one and gathers what the scenario asks to
// print. Every step runs in one transaction: a step that fails (an unknown
// name, a question without an answer) leaves the database as the previous
// step left it, and the run stops there with an Errore naming the step.

#include <QJsonObject>
#include <QString>

#include "scenario/adattatore.h"
#include "scenario/scenario.h"

namespace incassi::scenario {

// The resulting state, as incassi-run prints it. `cartella` is the install
// folder of the run (reports, layouts, exports); without it a temporary one,
// gone at the end.
QJsonObject EseguiScenario(const Scenario& scenario, const QString& fileDatabase,
                           const RegistroAdattatori& adattatori, const QString& cartella = {});

}  // namespace incassi::scenario
