#include "scenario/adattatori.h"

#include "entry/lanciatore.h"
#include "wizards/fabbrica.h"

namespace incassi::scenario {

RegistroAdattatori TabellaAdattatori() {
    RegistroAdattatori r;
    r.Registra(finestre::Incassi, AdattatoreIncassi);
    r.Registra(QStringLiteral("FrmStampa"), AdattatoreStampa);
    r.Registra(QStringLiteral("FrmNota"), AdattatoreNota);
    r.Registra(QStringLiteral("FrmWizardSala"), AdattatoreSala);
    for (const QString& nome : NomiWizard())
        r.Registra(nome, [nome](ContestoFinestra& c) { return AdattatoreWizard(nome, c); });
    return r;
}

}  // namespace incassi::scenario
