#pragma once

// The island meters of one machine in one collection: each meter's reading
// and partial (one follows the other through the meter's multiplier), and the
// two totals the machine row takes back, IN and OUT by the first letter of
// the meter's type ("I" in, "V" left out, any other out).

#include <QString>

#include "host/recordset.h"
#include "values/dec.h"

namespace incassi {

class UiPort;

class FrmContatoriIsole {
  public:
    // `righe`: the machine's meter rows of the document, edits waiting for
    // the window's close; `modificabile`: false shows them only.
    FrmContatoriIsole(UiPort& ui, RecordSetPtr righe, QString apparecchio, bool modificabile);

    static QString Titolo() { return QStringLiteral("Contatori isola"); }
    // The grid's view code, and the columns it never shows.
    static QString CodiceVista() { return QStringLiteral("IncIsoleContatori"); }
    static const QStringList& ColonneNascoste();

    const RecordSetPtr& righe() const { return righe_; }
    const QString& apparecchio() const { return apparecchio_; }
    bool modificabile() const { return modificabile_; }

    // A cell of the current row was written, `prima` its value before: a
    // reading gives the partial, a partial the reading (kept in both reading
    // columns). A partial on a meter of multiplier 0 gives no reading: it is
    // refused with a message and the cell put back; false.
    bool CellaModificata(const QString& colonna, const QVariant& prima);

    struct Totali {
        Dec in, out;
    };
    static Totali Somma(RecordSet& righe);
    // Closing: the edits go to the database (when editable) and the totals come back.
    Totali Chiudi();

  private:
    UiPort& ui_;
    RecordSetPtr righe_;
    QString apparecchio_;
    bool modificabile_;
};

}  // namespace incassi
