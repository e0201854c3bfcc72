#pragma once

// The report engine that writes files: Excel, PDF and Word exports; its
// preview only lays the pages out (the Qt views show them in a window).

#include "reports/frmstampa.h"

namespace incassi::stampa {

class MotoreFile : public MotoreReport {
  public:
    void Anteprima(const Contenuto& c) override;
    void Esporta(const Contenuto& c, FormatoExport f, const QString& file) override;
    // The pages of the last preview.
    int pagineAnteprima() const { return pagine_; }

  private:
    int pagine_ = 0;
};

}  // namespace incassi::stampa
