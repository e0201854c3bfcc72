#pragma once

// The interface of the incassi plug-in as the host program loads it: the
// properties and Start of the entry object, plus the plug-in's open windows.

#include <QList>
#include <QString>
#include <QWidget>
#include <QtPlugin>

namespace incassi {
class Host;
}

class IncassiPlugin {
  public:
    virtual ~IncassiPlugin() = default;

    virtual QString CodiceStampa() const = 0;
    virtual void setCodiceStampa(const QString& v) = 0;
    virtual QString CodiceEsportazione() const = 0;
    virtual void setCodiceEsportazione(const QString& v) = 0;
    virtual QString Codice() const = 0;
    virtual void setCodice(const QString& v) = 0;
    virtual QString Parametri() const = 0;
    virtual void setParametri(const QString& v) = 0;
    virtual void Start() = 0;
    virtual void setApplicazione(incassi::Host* host) = 0;
    virtual QString Ver() const = 0;
    virtual QString CampoRicerca() const = 0;
    virtual void setCampoRicerca(const QString& v) = 0;
    virtual QString Risposta() const = 0;
    virtual void setRisposta(const QString& v) = 0;
    virtual QString Modale() const = 0;
    virtual void setModale(const QString& v) = 0;

    // The plug-in's windows still open, oldest first.
    virtual QList<QWidget*> Finestre() const = 0;
};

#define IncassiPlugin_iid "it.torvane.IncassiPlugin/1.0"
Q_DECLARE_INTERFACE(IncassiPlugin, IncassiPlugin_iid)
