#include "scenario/uiscenario.h"

#include "values/error.h"

namespace incassi::scenario {

template <typename F>
auto UiScenario::registra(F&& domanda) -> decltype(domanda()) {
    try {
        return domanda();
    } catch (const Errore& e) {
        if (!senzaRisposta_) senzaRisposta_ = e.testo();
        throw;
    }
}

Risposta UiScenario::Messaggio(const QString& testo, const QString& titolo, Icona icona,
                               Pulsanti pulsanti, std::optional<Risposta> predefinita) {
    return registra(
        [&] { return copione_.Messaggio(testo, titolo, icona, pulsanti, predefinita); });
}

QString UiScenario::ElencoScelta(const RecordSetPtr& rs, const QString& titolo,
                                 const QString& chiaveElenco, const QString& campoChiave,
                                 bool sceltaMultipla) {
    return registra([&] {
        return copione_.ElencoScelta(rs, titolo, chiaveElenco, campoChiave, sceltaMultipla);
    });
}

QString UiScenario::Ricerca(const RichiestaRicerca& richiesta) {
    QString scelta = registra([&] { return copione_.Ricerca(richiesta); });
    ricerche_.emplace_back(richiesta, scelta);
    return scelta;
}

QString UiScenario::ApriFile(const QString& titolo, const QString& cartella,
                             const QString& filtro) {
    return registra([&] { return copione_.ApriFile(titolo, cartella, filtro); });
}

QString UiScenario::SalvaFile(const QString& titolo, const QString& percorsoProposto,
                              const QString& filtro) {
    return registra([&] { return copione_.SalvaFile(titolo, percorsoProposto, filtro); });
}

bool UiScenario::ApriConProgramma(const QString& percorso) {
    return registra([&] { return copione_.ApriConProgramma(percorso); });
}

}  // namespace incassi::scenario
