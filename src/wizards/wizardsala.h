#pragma once

// The hall wizard: for the networked machines of a gaming hall, the meter
// readings and hopper levels recorded since a day, in one list ("Rilevazione
// Dati"), then their totals ("Riepilogo incasso") and "Crea incasso", which
// hands the machines to the collection window for a new INC6 collection of
// the hall. It writes nothing itself.

#include <QDate>
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

#include "values/dec.h"

namespace incassi {

class Host;

// One machine of the list, by the list's columns.
struct RigaSala {
    QString apparecchio;    // "Apparecchio": name - AAMS code
    QVariant hopper;        // "Hopper": the latest HOP document since the day, Null without
    QVariant parzialeIn;    // "Parziale In", Null without a reading since the day
    QVariant parzialeOut;   // "Parziale OUT"
    QDate dataRilevazione;  // "Data Rilevazione"
    Dec vecchioHopper;      // "Vecchio Hopper": the card's hoppers
    qlonglong linkApparecchio = 0;
    qlonglong linkScheda = 0;
    QVariant linkHopper;     // the HOP row used
    QVariant linkContatore;  // the reading used
    QVariant contatoreIn, contatoreOut;
    Dec vecchioIn, vecchioOut;  // the card's meters
};

class FrmWizardSala {
  public:
    // `data`: readings and hoppers since that day; `dataIncasso`: the day of
    // the collection "Crea incasso" makes (`data` when invalid).
    FrmWizardSala(Host& host, QString codLocale, QDate data, QDate dataIncasso = {});

    static QString Titolo() { return QStringLiteral("..:: Wizard Incasso sala giochi ::.."); }
    // The list's headings, in order.
    static const QStringList& Colonne();

    // Reads the list (the machines of collection type 6 of the venue, in
    // their collection order).
    void Carica();
    const std::vector<RigaSala>& righe() const { return righe_; }
    const QString& codLocale() const { return codLocale_; }
    const QDate& data() const { return data_; }
    const QDate& dataIncasso() const { return dataIncasso_; }

    // 0 "Rilevazione Dati", 1 "Riepilogo incasso".
    int pagina() const { return pagina_; }
    // "CmdAvanti", "CmdIndietro", "CmdAnnulla", "CmdCreaIncasso".
    bool Comando(const QString& nome);
    bool chiusa() const { return chiusa_; }
    bool Timer();

    struct Totali {
        int apparecchi = 0, conLettura = 0, conHopper = 0;
        Dec parzialeIn, parzialeOut, hopper, vecchioHopper;
    };
    Totali totali() const;

    // "Crea incasso": the venue, the collection's day and the machine cards
    // for a new collection in the collection window.
    std::function<void(const QString& codLocale, const QDate& data,
                       const std::vector<qlonglong>& schede)>
        creaIncasso;

  private:
    Host& host_;
    QString codLocale_;
    QDate data_, dataIncasso_;
    std::vector<RigaSala> righe_;
    int pagina_ = 0;
    bool chiusa_ = false;
};

}  // namespace incassi
