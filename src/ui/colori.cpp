#include "ui/colori.h"

namespace incassi::ui {

QColor ColoreQt(Colore colore, const QPalette& tavolozza) {
    if (colore & 0x80000000u) {
        switch (colore & 0xFFu) {
            case 0x0F:
                return tavolozza.color(QPalette::Button);
            case 0x08:
                return tavolozza.color(QPalette::Text);
            default:
                return tavolozza.color(QPalette::Base);
        }
    }
    return QColor(int(colore & 0xFFu), int((colore >> 8) & 0xFFu), int((colore >> 16) & 0xFFu));
}

}  // namespace incassi::ui
