#pragma once

// Which bookkeeping movements each causal code writes, from the amounts of the
// money panel. The accounts come from the account roles of
// TabAssociazioneConti and from the concession holders' tax sections.

#include <QHash>
#include <QString>
#include <vector>

#include "bookkeeping/denaro.h"
#include "bookkeeping/primanota.h"
#include "values/causali.h"
#include "values/dec.h"

namespace incassi {

class Host;
class RecordSet;

// The account of each bookkeeping role (cassa, CassaRefill, utiliNewSlot...).
class ContiAssociati {
  public:
    static ContiAssociati Leggi(Host& host);
    static ContiAssociati Da(RecordSet& tabella);
    QString operator[](const QString& ruolo) const { return conti_.value(ruolo.toLower()); }
    bool vuoti() const { return conti_.isEmpty(); }
    void imposta(const QString& ruolo, const QString& conto) {
        conti_.insert(ruolo.toLower(), conto);
    }

  private:
    QHash<QString, QString> conti_;
};

// The taxes of one concession holder over the document's machine rows.
struct TasseConcessionario {
    QString codice;
    QString nome;
    QString prefisso;  // the holder's account section, "20.01" when it has none
    Dec preu, aams, rete, quota;
};

// Groups the machine rows by holder and finds each holder's section and name.
std::vector<TasseConcessionario> TasseDaRighe(Host& host, RecordSet& righeIncassi);

// The movements of a document of the given causal (none for a causal that
// writes no rows here).
std::vector<Movimento> MovimentiDocumento(const ValoriPannello& v, const ContiAssociati& conti,
                                          const std::vector<TasseConcessionario>& tasse);

// The rows of a change-machine document from its machine rows.
std::vector<Movimento> MovimentiCambiamonete(const ContiAssociati& conti, const Dec& flussi,
                                             const Dec& ammanchi);

}  // namespace incassi
