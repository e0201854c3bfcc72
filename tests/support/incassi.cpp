#include "support/incassi.h"

#include <gtest/gtest.h>

namespace incassi::test {

std::unique_ptr<FrmIncassi> ApriIncassi(Host& host, UiPort& ui, ProprietaIngresso& prop) {
    auto f = std::make_unique<FrmIncassi>(host, ui, prop, RecordOperatore{});
    f->orologio = [] { return kGiornoIncassi; };
    f->Apri();
    return f;
}

void NuovoIncasso(FrmIncassi& f, ScriptedUi& ui, const char* causale, const char* macchine) {
    EXPECT_TRUE(f.Esegui(QStringLiteral("Nuovo")));
    f["txtDataRegistrazione"].setValue(kGiornoIncassi);
    EXPECT_TRUE(f.casella(QStringLiteral("txeCodCausale")).ImpostaCodice(QLatin1String(causale)));
    EXPECT_TRUE(f.casella(QStringLiteral("txeCodLocale")).ImpostaCodice(QStringLiteral("BAR1")));
    EXPECT_TRUE(f.casella(QStringLiteral("txeCodEsattore")).ImpostaCodice(QStringLiteral("ES1")));
    ui.rispondiElenco(QLatin1String(macchine));
    EXPECT_TRUE(f.Esegui(QStringLiteral("CaricaApparecchi")));
}

}  // namespace incassi::test
