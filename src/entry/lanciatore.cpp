#include "entry/lanciatore.h"

namespace incassi {

void RegistroFinestre::Registra(const QString& nome, FabbricaFinestra fabbrica) {
    fabbriche_.insert(nome.toLower(), std::move(fabbrica));
}

Finestra* RegistroFinestre::Aperta(const QString& nome) const {
    const auto it = aperte_.constFind(nome.toLower());
    if (it == aperte_.constEnd() || !(*it) || !(*it)->Aperta()) return nullptr;
    return it->get();
}

void RegistroFinestre::Apri(const QString& nome, bool modale) {
    const QString chiave = nome.toLower();
    std::shared_ptr<Finestra> finestra;
    if (Aperta(nome)) {
        finestra = aperte_.value(chiave);
    } else {
        const auto it = fabbriche_.constFind(chiave);
        const FabbricaFinestra& fabbrica = it != fabbriche_.constEnd() ? *it : segnaposto_;
        if (!fabbrica) return;
        finestra = fabbrica(entrata_, nome);
        if (!finestra) return;
        aperte_.insert(chiave, finestra);
    }
    // Held here too: a modal window may be replaced in the table while shown.
    finestra->Mostra(modale);
}

}  // namespace incassi
