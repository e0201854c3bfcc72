// Amount and date texts as a collector types them: every reading is a finite
// number or nothing, and an amount text the formatter wrote reads back as the
// same amount and formats to itself; a date read is a real day.

#include <cmath>

#include "testo_fuzz.h"
#include "values/dec.h"
#include "values/error.h"
#include "values/values.h"

using namespace incassi;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    for (const QString& testo : TestiDaByte(dati, n)) {
        if (const auto x = ParseNumero(testo)) {
            VERO(std::isfinite(*x));
            try {
                (void)Dec::DaDouble(*x).arrotonda(2);
            } catch (const Errore&) {
            }
        }
        for (const QString& valuta : {QStringLiteral("e"), QStringLiteral("L")}) {
            const QString normale = TestoImporto(testo, valuta);
            // A text that already names its currency is left as typed; one the
            // formatter wrote must read back and stay as it is.
            if (normale != testo.trimmed()) {
                const auto letto = ParseNumero(normale);
                VERO(letto.has_value());
                VERO(TestoImporto(normale, valuta) == normale);
                VERO(LeggiImporto(normale, valuta) == letto);
            }
        }
        if (const auto d = ParseData(testo)) VERO(d->isValid());
        if (const auto x = ParseNumero(testo); x && std::fabs(*x) < 1e12) {
            const auto indietro = ParseNumero(FormatoNumero(*x, 2));
            VERO(indietro && *indietro == Round(*x, 2));
        }
    }
    return 0;
}
