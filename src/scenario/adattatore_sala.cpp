// The hall wizard in scenario runs, on the hall of the plug-in protocol
// (CampoRicerca "CodLocale", Risposta its code) and the scenario's day.

#include <QJsonArray>

#include "scenario/adattatori.h"
#include "values/error.h"
#include "values/values.h"
#include "wizards/wizardsala.h"

namespace incassi::scenario {

namespace {

QJsonValue Numero(const QVariant& v) {
    return IsNull(v) ? QJsonValue() : QJsonValue(v.toDouble());
}

class Sala : public AdattatoreFinestra {
  public:
    explicit Sala(ContestoFinestra& c) : f_(c.host, locale(c), c.oggi) {
        for (const char* nome : {"CmdAvanti", "CmdIndietro", "CmdAnnulla"}) {
            const QString comando = QLatin1String(nome);
            aggiungiComando(comando, [this, comando] { f_.Comando(comando); });
        }
        aggiungiComando(QStringLiteral("Timer"), [this] { f_.Timer(); });
    }

    QString nome() const override { return QStringLiteral("FrmWizardSala"); }
    void Apri() override { f_.Carica(); }
    ModelloFinestra& finestra() override { return vuota_; }

    QJsonObject Stato() override {
        QJsonArray righe;
        for (const RigaSala& r : f_.righe()) {
            righe.append(
                QJsonObject{{QStringLiteral("apparecchio"), r.apparecchio},
                            {QStringLiteral("hopper"), Numero(r.hopper)},
                            {QStringLiteral("parzialeIn"), Numero(r.parzialeIn)},
                            {QStringLiteral("parzialeOut"), Numero(r.parzialeOut)},
                            {QStringLiteral("dataRilevazione"), TestoData(r.dataRilevazione)},
                            {QStringLiteral("vecchioHopper"), r.vecchioHopper.toDouble()}});
        }
        const FrmWizardSala::Totali t = f_.totali();
        return {{QStringLiteral("titolo"), FrmWizardSala::Titolo()},
                {QStringLiteral("pagina"), f_.pagina()},
                {QStringLiteral("chiusa"), f_.chiusa()},
                {QStringLiteral("righe"), righe},
                {QStringLiteral("parzialeIn"), t.parzialeIn.toDouble()},
                {QStringLiteral("parzialeOut"), t.parzialeOut.toDouble()},
                {QStringLiteral("hopper"), t.hopper.toDouble()}};
    }

  private:
    static QString locale(const ContestoFinestra& c) {
        if (c.proprieta.CampoRicerca.compare(u"CodLocale", Qt::CaseInsensitive) != 0 ||
            c.proprieta.Risposta.trimmed().isEmpty() || !c.oggi.isValid()) {
            throw Errore(
                QStringLiteral("Il wizard della sala si apre su una sala e un giorno: "
                               "ingresso con CampoRicerca \"CodLocale\", Risposta il suo "
                               "codice, e \"oggi\""));
        }
        return c.proprieta.Risposta.trimmed();
    }

    FrmWizardSala f_;
    ModelloFinestra vuota_;  // the wizard has no controls of its own to set
};

}  // namespace

std::unique_ptr<AdattatoreFinestra> AdattatoreSala(ContestoFinestra& c) {
    return std::make_unique<Sala>(c);
}

}  // namespace incassi::scenario
