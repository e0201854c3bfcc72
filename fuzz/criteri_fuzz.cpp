// Any Find or Filter text: parsed or refused with Errore, never a crash; a
// parsed one is evaluated on rows of Null, text and numbers, and its SQL form
// holds no value (they are bound).

#include "host/criteria.h"
#include "testo_fuzz.h"
#include "values/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    for (const QString& testo : TestiDaByte(dati, n)) {
        try {
            const incassi::Criteria c = incassi::Criteria::Parse(testo);
            const QStringList campi = c.fields();
            for (const QVariant& valore : {QVariant(), QVariant(QStringLiteral("Bar'1")),
                                           QVariant(12.5), QVariant(qlonglong(-1))}) {
                c.matches([&](int i) {
                    VERO(i >= 0 && i < campi.size());
                    return valore;
                });
            }
            std::vector<QVariant> parametri;
            const QString sql = c.toSql(
                [&](int i) {
                    VERO(i >= 0 && i < campi.size());
                    return QStringLiteral("\"c%1\"").arg(i);
                },
                parametri);
            VERO(!sql.contains(u'\''));
        } catch (const incassi::Errore&) {
        }
    }
    return 0;
}
