#pragma once

// Windows colour values (0x00BBGGRR, or a system colour index with the high
// bit set) as Qt colours.

#include <QColor>
#include <QPalette>

#include "window/controls.h"

namespace incassi::ui {

// `tavolozza` gives the system colours: 0x80000005 (window background) is its
// Base colour, 0x8000000F (button face) its Button colour, 0x80000008
// (window text) its Text colour; other system colours read as Base.
QColor ColoreQt(Colore colore, const QPalette& tavolozza);

}  // namespace incassi::ui
