#include "schema/schema.h"

namespace incassi::schema {

const Colonna* Tabella::colonna(const QString& n) const {
    for (const Colonna& c : colonne) {
        if (c.nome.compare(n, Qt::CaseInsensitive) == 0) return &c;
    }
    return nullptr;
}

const std::vector<Tabella>& Tabelle() {
    static const std::vector<Tabella> tutte = [] {
        std::vector<Tabella> t;
        TabelleDocumenti(t);
        TabelleApparecchi(t);
        TabelleLocali(t);
        TabelleAnagrafiche(t);
        TabelleOperatori(t);
        return t;
    }();
    return tutte;
}

}  // namespace incassi::schema
