// The cash wizards in scenario runs: loan, remainder and transfer.

#include <QJsonArray>

#include "scenario/adattatori.h"
#include "wizards/fabbrica.h"

namespace incassi::scenario {

namespace {

class Wizard : public AdattatoreFinestra {
  public:
    Wizard(QString nome, std::unique_ptr<WizardCassa> w, const QDate& oggi)
        : nome_(std::move(nome)), w_(std::move(w)) {
        if (oggi.isValid()) {
            // The day the scenario gives, at nine: the written rows' timestamps repeat.
            w_->orologio = [oggi] { return oggi; };
            w_->adesso = [oggi] { return QDateTime(oggi, QTime(9, 0)); };
        }
        for (const char* c : {"CmdAvanti", "CmdIndietro", "CmdAnnulla"}) {
            const QString comando = QLatin1String(c);
            aggiungiComando(comando, [this, comando] { w_->Comando(comando); });
        }
        aggiungiComando(QStringLiteral("Timer"), [this] { w_->Timer(); });
    }

    QString nome() const override { return nome_; }
    void Apri() override { w_->Apri(); }
    ModelloFinestra& finestra() override { return w_->finestra(); }

    QStringList eventi() const override { return {QStringLiteral("esci")}; }

    // Only the amount has something to do when it is left.
    void UscitaCampo(const QString& controllo) override {
        if (controllo.compare(u"txtDenaro", Qt::CaseInsensitive) == 0) w_->DenaroLasciato();
    }

    QJsonObject Stato() override {
        QJsonArray movimenti;
        for (const VoceMovimento& m : w_->movimenti()) {
            movimenti.append(QJsonObject{{QStringLiteral("data"), m.data},
                                         {QStringLiteral("descrizione"), m.descrizione},
                                         {QStringLiteral("dare"), m.dare},
                                         {QStringLiteral("avere"), m.avere}});
        }
        return {{QStringLiteral("titolo"), w_->titolo()},
                {QStringLiteral("pagina"), w_->pagina()},
                {QStringLiteral("chiusa"), w_->chiusa()},
                {QStringLiteral("focus"), w_->focus()},
                {QStringLiteral("idGenerato"), w_->idGenerato()},
                {QStringLiteral("movimenti"), movimenti}};
    }

  private:
    QString nome_;
    std::unique_ptr<WizardCassa> w_;
};

}  // namespace

std::unique_ptr<AdattatoreFinestra> AdattatoreWizard(const QString& nome, ContestoFinestra& c) {
    return std::make_unique<Wizard>(nome, CreaWizard(nome, c.host, c.ui, c.proprieta, c.operatore),
                                    c.oggi);
}

}  // namespace incassi::scenario
