#pragma once

// A scenario file of incassi-run, read and checked before anything runs: who
// works, which window opens and with which entry properties, the day the
// window takes as today, the settings to preset, the answers to the questions
// the window will ask, the steps, and what to print at the end. A file that
// does not follow the format is refused with an Italian message naming the
// key at fault; nothing is run.

#include <QByteArray>
#include <QDate>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "window/ingresso.h"
#include "window/uiport.h"

namespace incassi::scenario {

struct Impostazione {
    QString sezione;
    QString chiave;
    QVariant valore;
};

// One step: its action and its arguments, checked against the action's keys.
struct Passo {
    int numero = 0;  // 1-based, as the messages name it
    QString azione;
    QJsonObject argomenti;

    QString testo(const QString& chiave) const;  // "" when missing
    int intero(const QString& chiave, int predefinito) const;
    QJsonValue valore(const QString& chiave) const { return argomenti.value(chiave); }
    // "passo 3 (cella)" for the messages.
    QString nome() const;
};

struct StampaControllo {
    QString nome;
    bool dettagli = false;  // also enabled, visible, colour and required marker
};

struct StampaGriglia {
    QString griglia;
    QStringList colonne;  // empty: every column
};

struct StampaTabella {
    QString nome;  // the key of the output
    QString sql;   // built from "tabella"/"dove"/"ordine" when not given
    QStringList colonne;
};

struct Stampa {
    std::vector<StampaControllo> controlli;
    std::vector<StampaGriglia> griglie;
    std::vector<StampaTabella> tabelle;
    bool messaggi = false;
    bool elenchi = false;
    bool stato = false;
};

// The queued answers, each kind taken in order by its own kind of question.
struct Risposte {
    std::vector<Risposta> messaggi;
    QStringList elenchi;
    QStringList ricerche;
    QStringList file;
};

struct Scenario {
    QString file;
    QString finestra;  // the window's name, from "finestra" or the function code
    QString operatore;
    ProprietaIngresso ingresso;
    std::optional<QDate> oggi;
    std::vector<Impostazione> impostazioni;
    Risposte risposte;
    std::vector<Passo> passi;
    Stampa stampa;
};

// Reads a scenario from its JSON text; `file` names it in the messages.
// Throws Errore on anything malformed or unknown.
Scenario LeggiScenario(const QByteArray& json, const QString& file);
Scenario LeggiScenarioDaFile(const QString& percorso);

// The actions a step may name, in the order the format describes them.
QStringList Azioni();

}  // namespace incassi::scenario
