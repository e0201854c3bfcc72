#pragma once

// The grid view editor: a working copy of one grid's layout (column order,
// widths, visibility, font, row colours, style switches) that the operator
// shapes and keeps as named views of his own, one of them preferred, or as
// the shared default of the grid (administrators only). Nothing is stored
// until a save; the opening window reloads its view when the editor closes.

#include <QString>
#include <QStringList>

#include "window/gridlayout.h"

namespace incassi {

class Host;
class UiPort;

class FrmConfigura {
  public:
    // `codiceRicerca`: the grid's view code ("NoteIncassi", "NoteRighe", ...);
    // `layout`: the layout the grid shows now; `campi`: every field of its
    // record set (a field the layout lacks joins it hidden).
    FrmConfigura(Host& host, UiPort& ui, QString codiceRicerca, LayoutGriglia layout,
                 const QStringList& campi);

    static QString Titolo() { return QStringLiteral("Configurazione Ricerca"); }
    const QString& codiceRicerca() const { return codice_; }

    // The working copy the grid of the editor shows; the view writes column
    // order and widths into it as the person drags them.
    LayoutGriglia& griglia() { return layout_; }
    // "Campi visibili" and "Campi nascosti", in column order.
    QStringList visibili() const;
    QStringList nascosti() const;
    void mostra(const QString& campo, bool visibile);
    void mostraTutti(bool visibili);

    // The operator's views of this grid ("Elenco Viste Personalizzate").
    QStringList viste() const;
    // The view the operator has preferred ("" when none).
    QString preferita() const;

    // Shows the operator's view `nome` in the working copy; false when its
    // file is missing or unreadable (the copy stays as it was).
    bool CaricaVista(const QString& nome);

    // The commands, each asking first; false when nothing was done.
    bool Salva(const QString& nome, bool predefinita);
    bool Attiva(const QString& nome);
    bool EliminaVista(const QString& nome);
    bool CaricaDefault();
    bool SalvaComeBase();

    // A name a view may take: not empty, no folder separators or "..", no
    // character a file name cannot hold; "" when good, else the reason.
    static QString NomeNonValido(const QString& nome);

  private:
    // Runs `f`; an error is shown with the editor's own message.
    template <typename F>
    bool protetto(F&& f);
    QString condizione() const;

    Host& host_;
    UiPort& ui_;
    QString codice_;
    LayoutGriglia layout_;
};

}  // namespace incassi
