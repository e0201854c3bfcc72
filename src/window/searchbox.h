#pragma once

// The search box ("txe" controls): a code chosen from the rows of an SQL
// query. Its text is the chosen code, the `camporicerca` column of the chosen
// row. A typed code is accepted only when the query has a row with that code
// (compared without regard to case); the box then holds the code as stored
// and a description made of the `visualizza` columns, and fires its change
// event. Tag, colour and enabled state are those of a text box.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>

#include "window/controls.h"

namespace incassi {

class Host;
class UiPort;

class CasellaRicerca : public Controllo {
  public:
    CasellaRicerca(const QString& nome, Host& host);

    // Design-time properties.
    const QString& query() const { return query_; }
    void setQuery(const QString& sql);                         // may be replaced at run time
    const QString& visualizza() const { return visualizza_; }  // "Insegna,citta"
    void setVisualizza(const QString& colonne) { visualizza_ = colonne; }
    const QString& camporicerca() const { return camporicerca_; }
    void setCamporicerca(const QString& campo);
    QString nomevista;
    QString modulo;
    QString parametri;
    QString codice;
    int alignment = 0;

    // Sets a typed or chosen code. An empty code empties the box (no event).
    // A code the query does not list is refused: false, and the box keeps its
    // text. A listed code fires the change event.
    bool ImpostaCodice(const QString& codice);
    // The pick list over the query; a chosen row sets its code. False when
    // nothing is chosen.
    bool Scegli(UiPort& ui);

    // The description of the chosen row ("" when the text was set without a
    // check, e.g. by clearing or binding).
    QString descrizione() const;
    // "code description": the code, a blank and the description.
    QString testoVisualizzato() const;

    // Called after a valid code is set.
    std::function<void(CasellaRicerca&)> onChange;

  private:
    QString colonnaRicerca() const;
    // The listed row of `codice`: its code as the list spells it, and its
    // description.
    std::optional<std::pair<QString, QString>> cerca(const QString& codice) const;

    Host& host_;
    QString query_;
    QString visualizza_;
    QString camporicerca_;
    // Caches: camporicerca as the query's table spells it, and the last
    // description with the code it belongs to.
    mutable QString colonna_;
    mutable QString descrizione_;
    mutable QString codiceDescritto_;
};

}  // namespace incassi
