// The incassi plug-in: the entry object, its launcher with the registered
// views, and the Qt UI port the views ask through.

#include <QObject>
#include <QPointer>

#include "entry/configura.h"
#include "entry/lanciatore.h"
#include "ui/finestre.h"
#include "ui/incassiplugin.h"
#include "ui/qtui.h"

namespace incassi::ui {

class PluginIncassi : public QObject, public IncassiPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IncassiPlugin_iid)
    Q_INTERFACES(IncassiPlugin)

  public:
    PluginIncassi() {
        entrata_.setLanciatore(&registro_);
        RegistraViste(registro_, ui_, [this](QWidget* w) { finestre_.append(w); });
    }

    QString CodiceStampa() const override { return entrata_.CodiceStampa(); }
    void setCodiceStampa(const QString& v) override { entrata_.setCodiceStampa(v); }
    QString CodiceEsportazione() const override { return entrata_.CodiceEsportazione(); }
    void setCodiceEsportazione(const QString& v) override { entrata_.setCodiceEsportazione(v); }
    QString Codice() const override { return entrata_.Codice(); }
    void setCodice(const QString& v) override { entrata_.setCodice(v); }
    QString Parametri() const override { return entrata_.Parametri(); }
    void setParametri(const QString& v) override { entrata_.setParametri(v); }
    void Start() override { entrata_.Start(); }
    void setApplicazione(Host* host) override {
        entrata_.setApplicazione(host);
        ui_.setHost(host);
    }
    QString Ver() const override { return entrata_.Ver(); }
    QString CampoRicerca() const override { return entrata_.CampoRicerca(); }
    void setCampoRicerca(const QString& v) override { entrata_.setCampoRicerca(v); }
    QString Risposta() const override { return entrata_.Risposta(); }
    void setRisposta(const QString& v) override { entrata_.setRisposta(v); }
    QString Modale() const override { return entrata_.Modale(); }
    void setModale(const QString& v) override { entrata_.setModale(v); }

    QList<QWidget*> Finestre() const override {
        QList<QWidget*> aperte;
        for (const auto& w : finestre_) {
            if (w) aperte.append(w.data());
        }
        return aperte;
    }

  private:
    configura entrata_;
    RegistroFinestre registro_{entrata_};
    QtUi ui_;
    QList<QPointer<QWidget>> finestre_;
};

}  // namespace incassi::ui

#include "plugin.moc"
