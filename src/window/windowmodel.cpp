#include "window/windowmodel.h"

#include "host/host.h"
#include "values/error.h"
#include "window/searchbox.h"

namespace incassi {

PulsanteBarra& BarraStrumenti::aggiungi(const QString& chiave, RuoloPulsante ruolo) {
    if (trova(chiave)) {
        throw Errore(QStringLiteral("Il pulsante %1 è già nella barra").arg(chiave));
    }
    pulsanti_.push_back({chiave, ruolo, true});
    return pulsanti_.back();
}

PulsanteBarra* BarraStrumenti::trova(const QString& chiave) {
    for (PulsanteBarra& p : pulsanti_)
        if (p.chiave.compare(chiave, Qt::CaseInsensitive) == 0) return &p;
    return nullptr;
}

const PulsanteBarra* BarraStrumenti::trova(const QString& chiave) const {
    return const_cast<BarraStrumenti*>(this)->trova(chiave);
}

Controllo& ModelloFinestra::aggiungi(const QString& nome) {
    return aggiungi<Controllo>(nome);
}

CasellaRicerca& ModelloFinestra::casella(const QString& nome) {
    auto* c = dynamic_cast<CasellaRicerca*>(&(*this)[nome]);
    if (!c) throw Errore(QStringLiteral("%1 non è una casella di ricerca").arg(nome));
    return *c;
}

void ModelloFinestra::inserisci(std::unique_ptr<Controllo> c) {
    if (trova(c->nome())) {
        throw Errore(QStringLiteral("Il controllo %1 è già nella finestra").arg(c->nome()));
    }
    controlli_.push_back(std::move(c));
}

Controllo* ModelloFinestra::trova(const QString& nome) {
    for (auto& c : controlli_)
        if (c->chiamato(nome)) return c.get();
    return nullptr;
}

const Controllo* ModelloFinestra::trova(const QString& nome) const {
    return const_cast<ModelloFinestra*>(this)->trova(nome);
}

Controllo& ModelloFinestra::operator[](const QString& nome) {
    if (Controllo* c = trova(nome)) return *c;
    throw Errore(QStringLiteral("Il controllo %1 non esiste nella finestra").arg(nome));
}

const Controllo& ModelloFinestra::operator[](const QString& nome) const {
    return const_cast<ModelloFinestra&>(*this)[nome];
}

void PulisciCampi(ModelloFinestra& finestra, bool mantieniCausale) {
    for (const auto& c : finestra) {
        const QString p = c->prefisso();
        if (p == u"lll" || p == u"eti" || p == u"ati") {
            c->setCaption(QStringLiteral("0"));
        } else if (p == u"lis") {
            c->svuotaElementi();
        } else if (p == u"txt" || p == u"axt" || p == u"axe" || p == u"cmg") {
            c->setText(QString());
            c->setBackColor(colori::Normale);
        } else if (p == u"txe") {
            if (mantieniCausale && c->chiamato(NomeCausale)) continue;
            c->setText(QString());
            c->setBackColor(colori::Normale);
        } else if (p == u"cmb" || p == u"cmi" || p == u"amb" || p == u"ami") {
            c->setListIndex(-1);
            c->setBackColor(colori::Normale);
        } else if (p == u"chk" || p == u"ahk") {
            c->setChecked(0);
        }
    }
}

int ControllaObbligatori(ModelloFinestra& finestra) {
    int punteggio = 0;
    for (const auto& c : finestra) {
        const QString& tag = c->tag();
        if (tag.isEmpty()) continue;
        const bool obbligatorio = tag == TagObbligatorio;
        Colore evidenza = colori::Bianco;
        if (obbligatorio) {
            evidenza = colori::Rosso;
        } else if (tag == TagRichiesto) {
            evidenza = colori::Giallo;
        }
        const QString p = c->prefisso();
        bool vuoto;
        if (p == u"txt" || p == u"txe") {
            vuoto = c->text().isEmpty();
        } else if (p == u"cmb" || p == u"cmi") {
            vuoto = c->listIndex() < 0;
        } else {
            continue;
        }
        if (vuoto) {
            c->setBackColor(evidenza);
            if (obbligatorio) punteggio = -1000;
            ++punteggio;
        } else {
            c->setBackColor(colori::Normale);
        }
    }
    return punteggio;
}

namespace {

bool PrefissoEditabile(const QString& p) {
    static const char* const editabili[] = {"txt", "txe", "cmb", "cmi", "chk", "axt", "axe", "amb",
                                            "ami", "ahk", "tdb", "ttt", "cmd", "che", "amd", "ahe"};
    for (const char* e : editabili)
        if (p == QLatin1String(e)) return true;
    return false;
}

}  // namespace

void ImpostaModalita(ModelloFinestra& finestra, const Host& host, bool navigazione) {
    for (PulsanteBarra& b : finestra.barra().pulsanti()) {
        b.enabled = navigazione;
        switch (b.ruolo) {
            case RuoloPulsante::Nuovo:
                b.enabled = navigazione && host.UserInserimento();
                break;
            case RuoloPulsante::Modifica:
                b.enabled = navigazione && host.UserModifica();
                break;
            case RuoloPulsante::Ricerca:
                b.enabled = navigazione && host.UserRicerca();
                break;
            case RuoloPulsante::Elimina:
                b.enabled = navigazione && host.UserCancellazione();
                break;
            case RuoloPulsante::Stampa:
                b.enabled = navigazione && host.UserStampa();
                break;
            case RuoloPulsante::RicerchePers:
                b.enabled = navigazione && host.UserRicerchePers();
                break;
            case RuoloPulsante::Salva:
            case RuoloPulsante::Annulla:
            case RuoloPulsante::SoloModifica:
                b.enabled = !navigazione;
                break;
            case RuoloPulsante::Altro:
                break;
        }
    }
    for (const auto& c : finestra) {
        const QString p = c->prefisso();
        if (p == u"txl" || p == u"cca") {
            c->setEnabled(navigazione);
        } else if (PrefissoEditabile(p)) {
            c->setEnabled(!navigazione);
        }
    }
}

}  // namespace incassi
