#pragma once

// Header binding: a control shows and writes the column named like the control
// less its three-letter prefix ("txtDataRegistrazione" <-> DataRegistrazione,
// "EtiId" <- Id). Columns the record set does not have are skipped.

#include <QString>

#include "host/recordset.h"
#include "window/windowmodel.h"

namespace incassi {

// Writes the window's controls into the current row of `rs`: text boxes and
// search boxes their text, labels their caption, combos the selected item's
// data (or text; Null when none is selected), check boxes a Boolean. The key
// column `id`, the columns `rs` cannot write and grids, lists and buttons are
// left alone. Returns the number of columns written.
int ControlliARiga(const ModelloFinestra& finestra, RecordSet& rs);

// Fills the window's controls from the current row of `rs`: text boxes and
// search boxes get the value (Null shown empty) and the column's maximum
// length, labels "lll" / "Eti" / "ati" get it as caption, combos select the
// item whose text or data matches, check boxes get the Boolean. Returns the
// number of controls filled.
int RigaAControlli(RecordSet& rs, ModelloFinestra& finestra);

// Fill list: when `rs` has rows, empties the list and adds the text of `campo`
// of every row in order. Fill list with keys also attaches `campoChiave`.
void RiempiLista(RecordSet& rs, const QString& campo, Controllo& lista);
void RiempiListaChiavi(RecordSet& rs, const QString& campo, const QString& campoChiave,
                       Controllo& lista);

}  // namespace incassi
