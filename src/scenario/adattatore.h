#pragma once

// What incassi-run needs to drive a window: the window model behind a small
// adapter that knows its controls, its grids, its commands and its events.
// Adapters are kept in a table by window name; a window gets into scenario
// runs by registering its adapter in TabellaAdattatori() (adattatori.cpp).

#include <QDate>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "host/recordset.h"
#include "window/ingresso.h"
#include "window/windowmodel.h"

namespace incassi {
class CasellaRicerca;
class Host;
class UiPort;
}  // namespace incassi

namespace incassi::scenario {

// What every window is opened with.
struct ContestoFinestra {
    Host& host;
    UiPort& ui;
    ProprietaIngresso& proprieta;
    RecordOperatore operatore;
    QDate oggi;  // the day the window takes as today
};

class AdattatoreFinestra {
  public:
    using Comando = std::function<void()>;

    virtual ~AdattatoreFinestra() = default;

    virtual QString nome() const = 0;
    // Opens the window (its start-up), as the launcher does.
    virtual void Apri() = 0;
    virtual ModelloFinestra& finestra() = 0;

    // The commands a step may run, by name (compared without regard to case):
    // toolbar buttons, command buttons, and the window's other actions.
    QStringList comandi() const;
    const Comando* comando(const QString& nome) const;  // nullptr when unknown

    // The grids by control name; the first is the one a step means when it
    // names none.
    virtual QStringList griglie() const { return {}; }
    // The record set of a grid; nullptr when the window has no such grid.
    virtual RecordSetPtr righe(const QString& griglia);

    // Events. The defaults refuse with Errore: the window has no such event.
    CasellaRicerca& casella(const QString& nome);
    virtual void UscitaCampo(const QString& controllo);
    // A value was typed into a control (the field is not left yet).
    virtual void Digitato(const QString&) {}
    // A cell was written; `prima` is the value it had.
    virtual void CellaModificata(const QString& griglia, const QString& colonna,
                                 const QVariant& prima);
    virtual void Invio(const QString& griglia, const QString& colonna);
    virtual void RigaCorrente(const QString& griglia);
    virtual void EntraGriglia(const QString& griglia);
    virtual void Menu(const QString& voce);
    // Moves in the window's document list: "primo", "precedente", "successivo", "ultimo".
    virtual void Vai(const QString& dove);

    // What the window shows beside its controls (title, status, mode).
    virtual QJsonObject Stato() { return {}; }

    // What a scenario may ask of the window, to check a whole scenario before
    // its first step: the step actions beyond controls, grids and commands it
    // takes ("esci", "cella", "invio", "menu", "vai"), and its menu items.
    virtual QStringList eventi() const { return {}; }
    virtual QStringList vociMenu() const { return {}; }

  protected:
    void aggiungiComando(const QString& nome, Comando c);
    [[noreturn]] void nonDisponibile(const QString& cosa) const;

  private:
    struct VoceComando {
        QString nome;
        Comando esegui;
    };
    std::map<QString, VoceComando> comandi_;  // key: lower-case name
};

using FabbricaAdattatore = std::function<std::unique_ptr<AdattatoreFinestra>(ContestoFinestra&)>;

class RegistroAdattatori {
  public:
    void Registra(const QString& finestra, FabbricaAdattatore fabbrica);
    // nullptr when the window has no adapter.
    std::unique_ptr<AdattatoreFinestra> Crea(const QString& finestra, ContestoFinestra& c) const;
    QStringList finestre() const;

  private:
    std::vector<std::pair<QString, FabbricaAdattatore>> fabbriche_;
};

// Every window incassi-run can drive.
RegistroAdattatori TabellaAdattatori();

}  // namespace incassi::scenario
