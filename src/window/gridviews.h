#pragma once

// The views of a grid: where their layout files are, how a view name picks a
// file and a layout, and which view a grid shows when its window opens.
//
//   "Base:X"  shared layout: percorso + "parametri/X.grx", layout X
//   "X"       personal layout: percorso + "pers/" + operator + "X.grx",
//             layout operator + "X"
//
// The operator's views are the rows of table `viste` (NomeVista,
// codiceoperatore, codicericerca, preferito). File names are found without
// regard to case, as the view names are.

#include <QString>
#include <vector>

#include "window/gridlayout.h"

namespace incassi {

class Host;

inline const QString PrefissoBase = QStringLiteral("Base:");

struct VoceVista {
    QString chiave;  // the view name to load
    QString testo;   // the menu text
};

class VisteGriglia {
  public:
    explicit VisteGriglia(Host& host);

    QString fileBase(const QString& vista) const;
    QString filePersonale(const QString& vista) const;

    // Load view: true when a layout was applied to `griglia`. A missing or
    // corrupt personal file gives false and leaves the grid as it was.
    bool CaricaVista(const QString& nomeVista, LayoutGriglia& griglia) const;
    // Load shared layout; a missing or corrupt file leaves the grid as it was.
    bool CaricaBase(const QString& vista, LayoutGriglia& griglia) const;
    // The grid's personal switch: off loads the shared layout of `vista`; on
    // loads the operator's layout of the same name, or the shared one when
    // that fails.
    bool CaricaSecondoPreferenza(const QString& vista, bool personale,
                                 LayoutGriglia& griglia) const;

    // The view a grid shows when its window opens: the operator's preferred
    // view for `codiceRicerca`, or the shared default `vistaBase` ("Base:X")
    // when there is none or it cannot be loaded. Returns the view name applied,
    // "" when not even the default could be loaded.
    QString ScegliVista(const QString& codiceRicerca, const QString& vistaBase,
                        LayoutGriglia& griglia) const;

    // The grid's view menu: the operator's views for `codiceRicerca` in record
    // order, then the shared default.
    std::vector<VoceVista> MenuViste(const QString& codiceRicerca, const QString& vistaBase,
                                     const QString& testoBase) const;

  private:
    Host& host_;
};

}  // namespace incassi
