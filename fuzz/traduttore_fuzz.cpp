// Any statement text: translated or refused with Errore, never a crash; and
// no value ever stays in the engine's statement: every text literal is lifted
// out into a bound parameter, so outside quoted identifiers the translated
// text holds no quote, and every quoted identifier is closed.

#include "host/sqlitedialect.h"
#include "host/sqltranslator.h"
#include "testo_fuzz.h"
#include "values/error.h"

namespace {

bool SoloIdentificatoriTraVirgolette(const QString& sql) {
    bool dentro = false;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        if (sql[i] == u'"') {
            if (dentro && i + 1 < sql.size() && sql[i + 1] == u'"') {
                ++i;  // a doubled quote inside an identifier
                continue;
            }
            dentro = !dentro;
        } else if (sql[i] == u'\'' && !dentro) {
            return false;
        }
    }
    return !dentro;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    static incassi::SqliteDialect dialetto;
    static incassi::SqlTranslator traduttore(dialetto);
    for (const QString& sql : TestiDaByte(dati, n)) {
        try {
            std::vector<QVariant> parametri;
            const auto t = traduttore.translate(sql, parametri);
            VERO(SoloIdentificatoriTraVirgolette(t->sql));
            std::vector<QVariant> ancora;
            VERO(traduttore.translate(sql, ancora)->sql == t->sql);
            VERO(ancora.size() == parametri.size());
        } catch (const incassi::Errore&) {
        }
    }
    return 0;
}
