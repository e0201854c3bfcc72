#pragma once

// What every window of the plug-in shares: the entry's properties and the
// record of the operator who started it.

#include <QString>
#include <QVariant>

#include "host/recordset.h"

namespace incassi {

struct ProprietaIngresso {
    QString CodiceStampa;
    QString CodiceEsportazione;
    QString Codice;
    QString Parametri;
    QString CampoRicerca;
    QString Risposta;
    QString Modale;
};

// The operator's row of `operatori`: the company and whether the operator may
// see every company. An operator without a row sees no company restriction.
struct RecordOperatore {
    QVariant codiceditta;          // Null when the operator has no company
    bool accessocompleto = false;  // sees every company
    bool trovato = false;

    static RecordOperatore Da(RecordSet& rs);
    // Restricted to one company: no full access and a company code.
    bool ristretto() const;
    QString azienda() const;
};

}  // namespace incassi
