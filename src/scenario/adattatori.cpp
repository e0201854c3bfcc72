#include "scenario/adattatori.h"

#include "entry/lanciatore.h"

namespace incassi::scenario {

RegistroAdattatori TabellaAdattatori() {
    RegistroAdattatori r;
    r.Registra(finestre::Incassi, AdattatoreIncassi);
    r.Registra(finestre::WizardPrestito, AdattatorePrestito);
    r.Registra(finestre::WizardRimanenze, AdattatoreRimanenze);
    r.Registra(finestre::Versamento, AdattatoreVersamento);
    return r;
}

}  // namespace incassi::scenario
