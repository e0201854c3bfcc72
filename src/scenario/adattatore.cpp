#include "scenario/adattatore.h"

#include "values/error.h"
#include "window/searchbox.h"

namespace incassi::scenario {

QStringList AdattatoreFinestra::comandi() const {
    QStringList out;
    for (const auto& [chiave, voce] : comandi_)
        out << voce.nome;
    return out;
}

const AdattatoreFinestra::Comando* AdattatoreFinestra::comando(const QString& nome) const {
    const auto it = comandi_.find(nome.toLower());
    return it == comandi_.end() ? nullptr : &it->second.esegui;
}

void AdattatoreFinestra::aggiungiComando(const QString& nome, Comando c) {
    comandi_[nome.toLower()] = {nome, std::move(c)};
}

void AdattatoreFinestra::nonDisponibile(const QString& cosa) const {
    throw Errore(QStringLiteral("%1 non disponibile nella finestra %2").arg(cosa, nome()));
}

RecordSetPtr AdattatoreFinestra::righe(const QString& griglia) {
    for (const QString& g : griglie()) {
        if (g.compare(griglia, Qt::CaseInsensitive) == 0) return finestra()[g].recordset();
    }
    return nullptr;
}

CasellaRicerca& AdattatoreFinestra::casella(const QString& nome) {
    return finestra().casella(nome);
}

void AdattatoreFinestra::UscitaCampo(const QString&) {
    nonDisponibile(QStringLiteral("L'uscita da un campo"));
}

void AdattatoreFinestra::CellaModificata(const QString&, const QString&, const QVariant&) {
    nonDisponibile(QStringLiteral("La modifica di una cella"));
}

void AdattatoreFinestra::Invio(const QString&, const QString&) {
    nonDisponibile(QStringLiteral("L'invio in una colonna"));
}

void AdattatoreFinestra::RigaCorrente(const QString&) {}

void AdattatoreFinestra::EntraGriglia(const QString&) {}

void AdattatoreFinestra::Menu(const QString&) {
    nonDisponibile(QStringLiteral("Il menu"));
}

void AdattatoreFinestra::Vai(const QString&) {
    nonDisponibile(QStringLiteral("Lo spostamento nell'elenco dei documenti"));
}

void RegistroAdattatori::Registra(const QString& finestra, FabbricaAdattatore fabbrica) {
    fabbriche_.emplace_back(finestra, std::move(fabbrica));
}

std::unique_ptr<AdattatoreFinestra> RegistroAdattatori::Crea(const QString& finestra,
                                                             ContestoFinestra& c) const {
    for (const auto& [nome, fabbrica] : fabbriche_) {
        if (nome.compare(finestra, Qt::CaseInsensitive) == 0) return fabbrica(c);
    }
    return nullptr;
}

QStringList RegistroAdattatori::finestre() const {
    QStringList out;
    for (const auto& [nome, fabbrica] : fabbriche_)
        out << nome;
    return out;
}

}  // namespace incassi::scenario
