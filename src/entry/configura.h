#pragma once

// The plug-in's entry object. The host creates it, sets its properties and
// calls Start, which reads the operator's record and opens the window named by
// the function code. The windows read the properties and the operator record
// from here: it is the one thing they share.

#include <QString>

#include "host/recordset.h"
#include "window/ingresso.h"

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
    const QString& CodiceStampa() const { return p_.CodiceStampa; }
    void setCodiceStampa(const QString& v) { p_.CodiceStampa = v; }
    const QString& CodiceEsportazione() const { return p_.CodiceEsportazione; }
    void setCodiceEsportazione(const QString& v) { p_.CodiceEsportazione = v; }
    const QString& Codice() const { return p_.Codice; }
    void setCodice(const QString& v) { p_.Codice = v; }
    const QString& Parametri() const { return p_.Parametri; }
    void setParametri(const QString& v) { p_.Parametri = v; }
    void setApplicazione(Host* host) { host_ = host; }
    QString Ver() const;
    const QString& CampoRicerca() const { return p_.CampoRicerca; }
    void setCampoRicerca(const QString& v) { p_.CampoRicerca = v; }
    const QString& Risposta() const { return p_.Risposta; }
    void setRisposta(const QString& v) { p_.Risposta = v; }
    const QString& Modale() const { return p_.Modale; }
    void setModale(const QString& v) { p_.Modale = v; }
    // All the properties at once, as the windows take them.
    const ProprietaIngresso& proprieta() const { return p_; }
    void setProprieta(const ProprietaIngresso& p) { p_ = p; }

    // Reads the operator record, then opens the window of CodiceStampa:
    // modally only when Modale is "1". An unknown code opens nothing. Without
    // a host it throws Errore.
    void Start();

    // What the windows read.
    Host* Applicazione() const { return host_; }
    // The logged-in operator's row of `operatori`; empty (no row) when the
    // host's operator is not there, nullptr before Start.
    const RecordSetPtr& RecordOperatore() const { return operatore_; }
    // That row as the windows take it (no restriction before Start).
    incassi::RecordOperatore Operatore() const;
    // Its company code ("" when none) and full-access flag.
    QString CodiceDitta() const;
    bool AccessoCompleto() const;

  private:
    Lanciatore* lanciatore_;
    Host* host_ = nullptr;
    ProprietaIngresso p_;
    RecordSetPtr operatore_;
};

}  // namespace incassi
