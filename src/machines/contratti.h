#pragma once

// The contract rules of a machine in a venue: which split applies, the network
// fee, the third manager's percentage and the active tax rates. They read the
// master data through the host and never write.

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <optional>

namespace incassi {

class Host;

struct Ripartizione {
    QString tipoCalcolo;  // "Utile", "Introdotto Nolegg.", "Introdotto Locale", ...
    double percLocale = 0;
    double percNoleggiatore = 0;
};

struct ParametriRete {
    QString tipoRete;  // "Percentuale", "Fisso" (per day) or any other text (monthly)
    double percRete = 0;
};

struct AliquoteTasse {
    double preu = 0;
    double aams = 0;
    bool trovata = false;
};

// The contract rules of one venue as a machine load asks them: the machines'
// own splits read for all the chosen machines in one statement, and each
// other question read once, then answered from memory for the next machine.
// It lives for one load, so it never shows a change made after it.
class RegoleLocale {
  public:
    RegoleLocale(Host& host, const QString& codLocale, const Ripartizione& predefinita);
    // Reads the own splits of machines `schede` at once (a machine asked
    // about later without this is read alone).
    void LeggiMacchine(const QList<qlonglong>& schede);
    Ripartizione Scegli(qlonglong idScheda, const QString& categoria);
    ParametriRete Rete(const QString& concessionario, const QString& contratto);
    std::optional<double> TerzoGestore(const QString& concessionario, const QString& contratto);

  private:
    Host& host_;
    QString codLocale_;
    Ripartizione predefinita_;
    QSet<qlonglong> lette_;                   // machines whose own split was read
    QHash<qlonglong, Ripartizione> proprie_;  // those that have one
    QHash<QString, Ripartizione> categorie_;
    QHash<QString, ParametriRete> reti_;
    QHash<QString, std::optional<double>> terzi_;
};

// The collection defaults (DefaultIncassi), read once by the window.
Ripartizione LeggiRipartizionePredefinita(Host& host);

// First rule that applies: the machine's own split in the venue, the venue's
// split for the machine's category, the defaults.
Ripartizione ScegliRipartizione(Host& host, qlonglong idScheda, const QString& codLocale,
                                const QString& categoria, const Ripartizione& predefinita);

// The venue's row for the holder, the contract's row preferred when the machine
// has a contract; without one, the holder's default fee.
ParametriRete CercaRete(Host& host, const QString& codLocale, const QString& concessionario,
                        const QString& contratto);

// The operator's percentage for a third-manager venue: the contract type's
// PercentualeComodato when the venue's row for the holder says third manager
// and the machine has a contract.
std::optional<double> PercentualeTerzoGestore(Host& host, const QString& codLocale,
                                              const QString& concessionario,
                                              const QString& contratto);

// The percentages of the active tax record.
AliquoteTasse TassaAttiva(Host& host);

}  // namespace incassi
