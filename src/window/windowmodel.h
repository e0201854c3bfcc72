#pragma once

// A window model: its controls in order, its toolbar, and the generic
// operations that act on any window by the prefix of each control's name:
// clearing the fields, checking the required fields, and switching between
// browsing and editing with the operator's rights applied.

#include <QString>
#include <concepts>
#include <memory>
#include <vector>

#include "window/controls.h"

namespace incassi {

class Host;

// What a toolbar button does, as far as the operator's rights and the
// browse / edit mode are concerned.
enum class RuoloPulsante {
    Altro,         // enabled while browsing
    Nuovo,         // right UserInserimento
    Modifica,      // right UserModifica
    Ricerca,       // right UserRicerca (the two search buttons)
    Elimina,       // right UserCancellazione
    Stampa,        // right UserStampa
    RicerchePers,  // right UserRicerchePers
    Salva,         // enabled only while editing
    Annulla,       // enabled only while editing
    SoloModifica,  // a command for editing only
};

struct PulsanteBarra {
    QString chiave;
    RuoloPulsante ruolo = RuoloPulsante::Altro;
    bool enabled = true;
};

class BarraStrumenti {
  public:
    PulsanteBarra& aggiungi(const QString& chiave, RuoloPulsante ruolo = RuoloPulsante::Altro);
    // By key, without regard to case; nullptr when missing.
    PulsanteBarra* trova(const QString& chiave);
    const PulsanteBarra* trova(const QString& chiave) const;
    std::vector<PulsanteBarra>& pulsanti() { return pulsanti_; }
    const std::vector<PulsanteBarra>& pulsanti() const { return pulsanti_; }

  private:
    std::vector<PulsanteBarra> pulsanti_;
};

class CasellaRicerca;

class ModelloFinestra {
  public:
    ModelloFinestra() = default;
    ModelloFinestra(const ModelloFinestra&) = delete;
    ModelloFinestra& operator=(const ModelloFinestra&) = delete;

    // Adds a control at the end of the window's order. A name already present
    // (without regard to case) throws Errore.
    Controllo& aggiungi(const QString& nome);
    template <std::derived_from<Controllo> T, typename... Args>
    T& aggiungi(Args&&... args) {
        auto c = std::make_unique<T>(std::forward<Args>(args)...);
        T& ref = *c;
        inserisci(std::move(c));
        return ref;
    }

    // By name, without regard to case: nullptr when missing, or Errore.
    Controllo* trova(const QString& nome);
    const Controllo* trova(const QString& nome) const;
    Controllo& operator[](const QString& nome);
    const Controllo& operator[](const QString& nome) const;
    // A search box by name; Errore when missing or of another kind.
    CasellaRicerca& casella(const QString& nome);

    const std::vector<std::unique_ptr<Controllo>>& controlli() const { return controlli_; }
    auto begin() const { return controlli_.begin(); }
    auto end() const { return controlli_.end(); }

    BarraStrumenti& barra() { return barra_; }
    const BarraStrumenti& barra() const { return barra_; }

  private:
    void inserisci(std::unique_ptr<Controllo> c);

    std::vector<std::unique_ptr<Controllo>> controlli_;
    BarraStrumenti barra_;
};

// The causal box that the keep-causal preference leaves filled.
inline const QString NomeCausale = QStringLiteral("txecodcausale");

// Clears every control by its kind: captions to "0", texts and selections
// emptied with the normal background, check boxes unchecked, list views
// emptied. With `mantieniCausale` the causal box keeps its code.
void PulisciCampi(ModelloFinestra& finestra, bool mantieniCausale = false);

// Highlights the empty required fields and returns the score: negative when
// an "Obbligatorio" field is empty, otherwise the number of empty "required"
// fields. Only text boxes, search boxes and "cmb" / "cmi" combos are checked.
int ControllaObbligatori(ModelloFinestra& finestra);

// Browsing (no document being edited) or editing: the toolbar by the host's
// rights, the browse-only fields enabled while browsing, the editable fields
// while editing.
void ImpostaModalita(ModelloFinestra& finestra, const Host& host, bool navigazione);

}  // namespace incassi
