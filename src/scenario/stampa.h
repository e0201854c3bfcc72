#pragma once

// What a scenario prints at the end of its run, as one JSON object.

#include <QJsonObject>
#include <QJsonValue>
#include <QVariant>

#include "scenario/adattatore.h"
#include "scenario/scenario.h"

namespace incassi::scenario {

class UiScenario;

// Whether what the scenario asks to print exists, before anything runs:
// controls (not grids), grids and their columns, tables and their columns (the
// query is read once). Throws Errore on the first that does not.
void ControllaStampa(const Stampa& stampa, AdattatoreFinestra& finestra, Host& host);

// The state the scenario asks for. Throws Errore on an unknown control,
// grid, table or column.
QJsonObject StampaStato(const Stampa& stampa, AdattatoreFinestra& finestra, const UiScenario& ui,
                        Host& host);

// A cell or field value as printed: Null as null, numbers rounded to the
// cent, dates as yyyy-mm-dd, timestamps as yyyy-mm-ddThh:mm:ss.
QJsonValue ValoreJson(const QVariant& v);

// A control's value as printed: check boxes 0 / 1; texts and captions that
// read as Italian numbers (amounts among them) as numbers rounded to the
// cent; search boxes, combos and every other text as the text shown. Other
// controls print their text, or their caption when they have no text.
QJsonValue ValoreControllo(const Controllo& c);

}  // namespace incassi::scenario
