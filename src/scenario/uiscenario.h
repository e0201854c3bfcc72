#pragma once

// The UI port of a scenario run: the scripted answers of ScriptedUi, plus a
// record of the first question left without an answer. A window catches its
// own errors and shows them, so a question that ran out of answers could pass
// unnoticed as one more message; the run reads the record after every step
// and stops there.

#include <optional>
#include <utility>
#include <vector>

#include "window/scriptedui.h"

namespace incassi::scenario {

class UiScenario : public UiPort {
  public:
    ScriptedUi& copione() { return copione_; }
    const ScriptedUi& copione() const { return copione_; }

    // The question that found no answer (or a wrong one), if any.
    const std::optional<QString>& senzaRisposta() const { return senzaRisposta_; }
    // The search dialogs asked, with the code each returned.
    const std::vector<std::pair<RichiestaRicerca, QString>>& ricerche() const { return ricerche_; }

    Risposta Messaggio(const QString& testo, const QString& titolo, Icona icona, Pulsanti pulsanti,
                       std::optional<Risposta> predefinita) override;
    QString ElencoScelta(const RecordSetPtr& rs, const QString& titolo, const QString& chiaveElenco,
                         const QString& campoChiave, bool sceltaMultipla) override;
    QString Ricerca(const RichiestaRicerca& richiesta) override;
    QString ApriFile(const QString& titolo, const QString& cartella,
                     const QString& filtro) override;
    QString SalvaFile(const QString& titolo, const QString& percorsoProposto,
                      const QString& filtro) override;
    bool ApriConProgramma(const QString& percorso) override;

  private:
    template <typename F>
    auto registra(F&& domanda) -> decltype(domanda());

    ScriptedUi copione_;
    std::optional<QString> senzaRisposta_;
    std::vector<std::pair<RichiestaRicerca, QString>> ricerche_;
};

}  // namespace incassi::scenario
