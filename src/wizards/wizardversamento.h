#pragma once

// The transfer wizard (FrmVersamento): money moves between two of the
// operator's cash or bank accounts. No venue; the header is a "Giroconto"
// with causal "CP", the destination takes the amount in Dare and the source
// gives it in Avere.

#include "wizards/wizardcassa.h"

namespace incassi {

class WizardVersamento : public WizardCassa {
  public:
    WizardVersamento(Host& host, UiPort& ui);

    static QString Titolo() { return QStringLiteral("..:: Giroconto  ::.."); }
    // The main cash account of the association record.
    QString cassa() const { return contoAssociazione(QStringLiteral("cassa")); }

  protected:
    void apriWizard() override {}
    void calcolaSaldoOggi() override;
    void entraPagina1() override;
    void entraPagina2() override;
    bool puoGenerare(double importo) override;
    qlonglong scrivi(double importo, const QDate& data, const QDateTime& ora) override;
};

}  // namespace incassi
