#pragma once

// The plug-in's entry object. The host creates it, sets its properties and
// calls Start, which reads the operator's record and opens the window named by
// the function code. The windows read the properties and the operator record
// from here: it is the one thing they share.

#include <QString>

#include "host/recordset.h"

namespace incassi {

class Host;
class Lanciatore;

// "1.002015": the major version, a point, then the minor version and the
// revision as three digits each.
QString TestoVersione(int major, int minor, int revision);

// The window a function code opens ("Incassi" -> FrmIncassi, compared without
// regard to case); "" for an unknown code.
QString FinestraDaCodice(const QString& codiceStampa);

class configura {
  public:
    // `lanciatore` opens the windows; it may be set later, before Start.
    explicit configura(Lanciatore* lanciatore = nullptr) : lanciatore_(lanciatore) {}
    configura(const configura&) = delete;
    configura& operator=(const configura&) = delete;

    void setLanciatore(Lanciatore* l) { lanciatore_ = l; }

    // Properties, stored and returned unchanged; unset ones read as "".
    const QString& CodiceStampa() const { return codiceStampa_; }
    void setCodiceStampa(const QString& v) { codiceStampa_ = v; }
    const QString& CodiceEsportazione() const { return codiceEsportazione_; }
    void setCodiceEsportazione(const QString& v) { codiceEsportazione_ = v; }
    const QString& Codice() const { return codice_; }
    void setCodice(const QString& v) { codice_ = v; }
    const QString& Parametri() const { return parametri_; }
    void setParametri(const QString& v) { parametri_ = v; }
    void setApplicazione(Host* host) { host_ = host; }
    QString Ver() const;
    const QString& CampoRicerca() const { return campoRicerca_; }
    void setCampoRicerca(const QString& v) { campoRicerca_ = v; }
    const QString& Risposta() const { return risposta_; }
    void setRisposta(const QString& v) { risposta_ = v; }
    const QString& Modale() const { return modale_; }
    void setModale(const QString& v) { modale_ = v; }

    // Reads the operator record, then opens the window of CodiceStampa:
    // modally only when Modale is "1". An unknown code opens nothing. Without
    // a host it throws Errore.
    void Start();

    // What the windows read.
    Host* Applicazione() const { return host_; }
    // The logged-in operator's row of `operatori`; empty (no row) when the
    // host's operator is not there, nullptr before Start.
    const RecordSetPtr& RecordOperatore() const { return operatore_; }
    // Its company code ("" when none) and full-access flag.
    QString CodiceDitta() const;
    bool AccessoCompleto() const;

  private:
    Lanciatore* lanciatore_;
    Host* host_ = nullptr;
    QString codiceStampa_;
    QString codiceEsportazione_;
    QString codice_;
    QString parametri_;
    QString campoRicerca_;
    QString risposta_;
    QString modale_;
    RecordSetPtr operatore_;
};

}  // namespace incassi
