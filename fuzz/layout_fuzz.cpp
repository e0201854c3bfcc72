// Any grid layout file: read or refused, never a crash; what is read is in
// the ranges a grid can show.

#include "testo_fuzz.h"
#include "window/gridlayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    const QByteArray contenuto(reinterpret_cast<const char*>(dati), qsizetype(n));
    if (const auto l = incassi::LayoutDaTesto(contenuto, QStringLiteral("Prova"))) {
        VERO(l->dimensione == 0 || (l->dimensione >= 6 && l->dimensione <= 48));
        for (const auto& c : l->colonne)
            VERO(c.larghezza >= 0 && c.larghezza <= 2000);
    }
    return 0;
}
