#include "wizards/fabbrica.h"

#include <QStringList>

#include "entry/lanciatore.h"
#include "wizards/wizardvariazione.h"
#include "wizards/wizardversamento.h"

namespace incassi {

const QStringList& NomiWizard() {
    static const QStringList nomi = {finestre::WizardPrestito, finestre::WizardRimanenze,
                                     finestre::Versamento};
    return nomi;
}

std::unique_ptr<WizardCassa> CreaWizard(const QString& finestra, Host& host, UiPort& ui,
                                        ProprietaIngresso proprieta, RecordOperatore operatore) {
    if (finestra.compare(finestre::WizardPrestito, Qt::CaseInsensitive) == 0) {
        return std::make_unique<WizardVariazione>(host, ui, ProfiloPrestito(), std::move(proprieta),
                                                  std::move(operatore));
    }
    if (finestra.compare(finestre::WizardRimanenze, Qt::CaseInsensitive) == 0) {
        return std::make_unique<WizardVariazione>(host, ui, ProfiloRimanenza(),
                                                  std::move(proprieta), std::move(operatore));
    }
    if (finestra.compare(finestre::Versamento, Qt::CaseInsensitive) == 0)
        return std::make_unique<WizardVersamento>(host, ui);
    return nullptr;
}

}  // namespace incassi
