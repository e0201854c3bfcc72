// What the collection window knows of the machine cards it loaded: the
// readings and the last collection of each card as the window read them. At
// save a card another window or workstation has changed since then stops the
// save, so that the same takings are never booked twice; on a new document the
// window offers to load that machine again from the card as it is now.

#include "collection/frmincassi.h"
#include "host/host.h"
#include "values/causali.h"
#include "values/error.h"
#include "values/values.h"
#include "window/uiport.h"

namespace incassi {

namespace {

// The card columns a save writes: meters, last collection, hopper money; and
// the meters of machines with several, which a save writes too. One read for
// all the machines, whatever their number.
const QString kSchede = QStringLiteral(
    "select s.id, s.cntotin, s.cntotout, s.ultimoIncasso, s.attualeh1, s.attualeh2, s.attualeh3, "
    "s.ChHopper1, s.ChHopper2, s.ChHopper3, c.id as contatore, c.ContatoreAttuale, "
    "c.DataContatore from magschede s left join magschedecontatori c on c.linkscheda = s.id "
    "where s.id in (%1) order by s.id, c.id");

}  // namespace

std::map<qlonglong, QString> FrmIncassi::impronteSchede(const std::vector<qlonglong>& ids) {
    std::map<qlonglong, QString> out;
    if (ids.empty()) return out;
    QStringList elenco;
    for (const qlonglong id : ids) {
        elenco << QString::number(id);
        out[id] = QStringLiteral("(nessuna scheda)");
    }
    std::map<qlonglong, QStringList> righe;
    for (auto rs = host_.OpenRecordSet(kSchede.arg(elenco.join(u','))); !rs->Eof();
         rs->MoveNext()) {
        QStringList valori;
        for (int i = 1; i < rs->FieldCount(); ++i)
            valori << Txt(rs->Value(i));
        righe[qlonglong(Num(rs->Value(0)))] << valori.join(u'|');
    }
    for (auto& [id, r] : righe)
        out[id] = r.join(u';');
    return out;
}

std::vector<qlonglong> FrmIncassi::schedeDelleRighe() {
    std::vector<qlonglong> ids;
    if (!incassi_) return ids;
    const int posizione = incassi_->AbsolutePosition();
    for (incassi_->MoveFirst(); !incassi_->Eof(); incassi_->MoveNext()) {
        const QVariant scheda = incassi_->Value(QStringLiteral("linkscheda"));
        if (!IsNullOrEmpty(scheda)) ids.push_back(qlonglong(Num(scheda)));
    }
    if (posizione > 0) incassi_->SetAbsolutePosition(posizione);
    return ids;
}

void FrmIncassi::annotaSchede() {
    std::vector<qlonglong> nuove;
    for (const qlonglong id : schedeDelleRighe())
        if (!impronte_.contains(id)) nuove.push_back(id);
    impronte_.merge(impronteSchede(nuove));
}

bool FrmIncassi::schedeInvariate() {
    daRicaricare_.clear();
    // Only the documents whose save writes the cards can book takings twice.
    if (!incassi_ || !CausaleTra(causale(), {Causale::INC6, Causale::INC, Causale::FUR, Causale::CH,
                                             Causale::RH}))
        return true;
    QStringList nomi;
    std::vector<qlonglong> cambiate;
    const std::map<qlonglong, QString> ora = impronteSchede(schedeDelleRighe());
    for (incassi_->MoveFirst(); !incassi_->Eof(); incassi_->MoveNext()) {
        const QVariant scheda = incassi_->Value(QStringLiteral("linkscheda"));
        if (IsNullOrEmpty(scheda)) continue;
        const qlonglong id = qlonglong(Num(scheda));
        const auto letta = impronte_.find(id);
        if (letta == impronte_.end() || letta->second == ora.at(id)) continue;
        QString nome = Txt(incassi_->Value(QStringLiteral("Descrizione"))).trimmed();
        nomi << (nome.isEmpty() ? QString::number(id) : nome);
        cambiate.push_back(id);
    }
    if (cambiate.empty()) return true;
    const QString testo =
        QStringLiteral(
            "%1 registrato da un'altra finestra o postazione dopo che questa l'ha "
            "caricato: i contatori o l'ultimo incasso della scheda non sono più quelli "
            "letti, e salvando ora gli stessi incassi sarebbero contati due volte. Il "
            "documento non è stato salvato.")
            .arg(nomi.size() == 1 ? QStringLiteral("L'apparecchio %1 è stato").arg(nomi.front())
                                  : QStringLiteral("Gli apparecchi %1 sono stati")
                                        .arg(nomi.join(QStringLiteral(", "))));
    if (nuovo_) {
        if (ui_.Messaggio(testo + QStringLiteral("\nRicaricare dalla scheda con le letture "
                                                 "attuali?"),
                          QStringLiteral("Apparecchio modificato"), Icona::Esclamazione,
                          Pulsanti::SiNo, Risposta::Si) == Risposta::Si) {
            daRicaricare_ = std::move(cambiate);
        }
    } else {
        ui_.Messaggio(testo + QStringLiteral("\nAnnullare la modifica e riaprire il documento."),
                      QStringLiteral("Apparecchio modificato"), Icona::Esclamazione);
    }
    return false;
}

void FrmIncassi::ricaricaApparecchi(const std::vector<qlonglong>& ids) {
    if (!incassi_ || ids.empty()) return;
    const ContestoCaricamento ctx = Contesto();
    try {
        for (const qlonglong id : ids) {
            for (incassi_->MoveFirst(); !incassi_->Eof(); incassi_->MoveNext()) {
                if (qlonglong(Num(incassi_->Value(QStringLiteral("linkscheda")))) == id) {
                    incassi_->Delete();
                    break;
                }
            }
            impronte_.erase(id);
            CaricamentoApparecchi(host_, ui_, ctx, *incassi_).Ricarica(id);
        }
    } catch (const Errore& e) {
        ui_.Messaggio(e.testo(), titolo_, Icona::Critico);
    }
    annotaSchede();
    dopoRigheCambiate();
}

}  // namespace incassi
