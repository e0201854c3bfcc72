#pragma once

// The loan wizard (FrmWizardPre) and the remainder wizard
// (FrmWizardRimanenze): one venue's balance on one account changes by a signed
// amount. Both are this window with their own texts, causal, account and
// header column.

#include "window/ingresso.h"
#include "wizards/wizardcassa.h"

namespace incassi {

struct ProfiloVariazione {
    QString titolo;
    QString frameCriteri;
    QString frameDettaglio;
    QString etichettaData;
    QString etichettaNote;
    QString etichettaDenaro;
    QString aiuto;
    QString queryCassa;
    QString causale;         // at opening and when left empty
    QString colonnaConto;    // the venue side's role in TabAssociazioneConti
    QString colonnaTestata;  // the header column of the amount
    QString descrizioneTestata;
    QString descrizioneCassa;  // the cash row
    QString descrizioneConto;  // the venue side's row
};

const ProfiloVariazione& ProfiloPrestito();
const ProfiloVariazione& ProfiloRimanenza();

class WizardVariazione : public WizardCassa {
  public:
    WizardVariazione(Host& host, UiPort& ui, const ProfiloVariazione& profilo,
                     ProprietaIngresso proprieta, RecordOperatore operatore);

    // The venue side's account of this wizard.
    QString conto() const { return contoAssociazione(profilo_.colonnaConto); }

    // The venue box changed (its change event): the venue summary.
    void LocaleCambiato();
    // A cleared venue box fires no change event: its summary is emptied here.
    void Modificato(const QString& nome) override;

  protected:
    void apriWizard() override;
    bool puoAvanzare() override;
    bool puoGenerare(double importo) override;
    void calcolaSaldoOggi() override;
    void entraPagina2() override;
    qlonglong scrivi(double importo, const QDate& data, const QDateTime& ora) override;

    QString campoIniziale() const override;

  private:
    QString codiceLocale() const;

    const ProfiloVariazione& profilo_;
    ProprietaIngresso prop_;
    RecordOperatore operatore_;
};

}  // namespace incassi
