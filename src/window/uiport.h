#pragma once

// Everything a window asks a person goes through this port: message boxes,
// pick lists, the search dialog, file dialogs and opening a file with its
// program. The Qt views implement it with real dialogs; tests and scenario
// runs use ScriptedUi.

#include <QString>
#include <optional>

#include "host/recordset.h"

namespace incassi {

enum class Icona { Nessuna, Informazione, Esclamazione, Critico, Domanda };
enum class Pulsanti { Ok, OkAnnulla, SiNo, SiNoAnnulla };
enum class Risposta { Ok, Annulla, Si, No };

QString TestoIcona(Icona icona);
QString TestoPulsanti(Pulsanti pulsanti);
QString TestoRisposta(Risposta risposta);
// Whether `risposta` is one of the buttons.
bool RispostaAmmessa(Pulsanti pulsanti, Risposta risposta);

// What the search dialog is given: the list, the operators and the saved
// views, the field whose value it returns, the folders of its layouts and its
// display switches.
struct RichiestaRicerca {
    QString user;
    QString Modulo;
    QString Caption;
    RecordSetPtr Recordset;
    RecordSetPtr RecordsetOperatori;
    RecordSetPtr RecordsetViste;
    QString CampoRicerca;
    QString PercorsoPers;
    QString percorso;
    int StatusBar = 0;
    int Toolbar = 0;
    int FilterBar = 0;
    int WindowsState = 0;
};

class Host;

// A search request as the module's windows make it: the operator, the list
// and what it returns, the operators and the saved views (those given, or
// read), the host's folders, and every display switch on.
RichiestaRicerca NuovaRicerca(Host& host, const QString& modulo, const QString& caption,
                              RecordSetPtr recordset, const QString& campoRicerca,
                              RecordSetPtr viste = nullptr);

class UiPort {
  public:
    virtual ~UiPort() = default;

    // A message box; `predefinita` is the default button (the first when none).
    virtual Risposta Messaggio(const QString& testo, const QString& titolo, Icona icona,
                               Pulsanti pulsanti = Pulsanti::Ok,
                               std::optional<Risposta> predefinita = std::nullopt) = 0;

    // A pick list over `rs`, its layout saved under `chiaveElenco`. Returns the
    // `campoChiave` value of the chosen row; with multiple choice the values of
    // every chosen row, each followed by "|"; "" when nothing is chosen.
    virtual QString ElencoScelta(const RecordSetPtr& rs, const QString& titolo,
                                 const QString& chiaveElenco, const QString& campoChiave,
                                 bool sceltaMultipla = false) = 0;

    // The search dialog: returns the CampoRicerca value of the chosen row, ""
    // when none is chosen.
    virtual QString Ricerca(const RichiestaRicerca& richiesta) = 0;

    // File dialogs: the chosen path, "" when cancelled. `filtro` as in
    // "Excel (*.xls);;Tutti i file (*)".
    virtual QString ApriFile(const QString& titolo, const QString& cartella,
                             const QString& filtro) = 0;
    virtual QString SalvaFile(const QString& titolo, const QString& percorsoProposto,
                              const QString& filtro) = 0;

    // Opens a file with the program associated with its type; false when no
    // program could open it.
    virtual bool ApriConProgramma(const QString& percorso) = 0;
};

}  // namespace incassi
