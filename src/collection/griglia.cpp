// The machine grid of the collection window: loading the venue's machines,
// recalculating a row after a change, and the machine history that follows
// the current row.

#include <QDateTime>

#include "collection/frmincassi.h"
#include "host/host.h"
#include "machines/dispatch.h"
#include "values/causali.h"
#include "values/error.h"
#include "values/sqlquote.h"
#include "values/values.h"
#include "window/uiport.h"

namespace incassi {

ContestoCaricamento FrmIncassi::Contesto() const {
    ContestoCaricamento c;
    c.calcolo.causale = finestra_.trova(QStringLiteral("txeCodCausale"))->text().trimmed();
    c.calcolo.codLocale = finestra_.trova(QStringLiteral("txeCodLocale"))->text().trimmed();
    c.calcolo.dataRegistrazione = dataRegistrazione();
    c.calcolo.idDocumento = qlonglong(Num(finestra_.trova(QStringLiteral("EtiId"))->caption()));
    c.calcolo.tipologiaIncasso = tipologiaScelta();
    c.calcolo.terzoGestore = finestra_.trova(QStringLiteral("ChkTerzoGestore"))->checked() != 0;
    c.calcolo.hopperPrecedente = storicoApparecchio_.hopperPrecedente;
    c.ritirati = ritirati_;
    c.visCambiamonete = pref_.attiva(QStringLiteral("VisCambiamonete"));
    c.visRefill = pref_.attiva(QStringLiteral("VisRefill"));
    c.visContatori = pref_.attiva(QStringLiteral("VisContatori"));
    c.predefinita = predefinita_;
    c.oggi = oggi_;
    c.scelta = sceltaApparecchi_;
    return c;
}

EsitoCaricamento FrmIncassi::CaricaApparecchi() {
    // Readings are compared with the document's day: without a day there is
    // nothing to compare with.
    if (!dataValida()) return EsitoCaricamento::Interrotto;
    const ContestoCaricamento ctx = Contesto();
    CaricamentoApparecchi carica(host_, ui_, ctx, *incassi_);
    EsitoCaricamento esito = EsitoCaricamento::Interrotto;
    try {
        esito = carica.Esegui();
    } catch (const Errore& e) {
        // The rows added before the error stay.
        ui_.Messaggio(e.testo(), titolo_, Icona::Critico);
    }
    if (esito == EsitoCaricamento::LocaleMancante) focus_ = QStringLiteral("txeCodLocale");
    if (esito == EsitoCaricamento::CausaleMancante) focus_ = QStringLiteral("txeCodCausale");
    if (carica.righeAggiunte() > 0) {
        righeDelDocumento();
        annotaSchede();
        dopoRigheCambiate();
        incassi_->MoveFirst();
        RigaCorrente();
    }
    return esito;
}

void FrmIncassi::CellaModificata(const QString& colonna, const QVariant& prima) {
    if (!incassi_ || incassi_->Eof() || incassi_->Bof()) return;
    const RecordSet::Istantanea righe = incassi_->istantanea();
    try {
        const ContestoCaricamento ctx = Contesto();
        CalcoloRiga calcolo(host_, ui_, ctx.calcolo, *incassi_);
        DopoModificaCella(calcolo, *incassi_, ctx.calcolo, colonna,
                          {[this] { CaricaApparecchi(); }});
    } catch (const Errore& e) {
        // A value the calculation refuses does not stay: the row goes back to
        // what it was before the edit.
        incassi_->ripristina(righe);
        incassi_->SetValue(colonna, prima);
        ui_.Messaggio(e.testo(), titolo_, Icona::Critico);
    }
    // The panel and the bookkeeping rows follow the changed row.
    dopoRigheCambiate();
}

void FrmIncassi::InvioInColonna(const QString& colonna) {
    if (colonna.compare(u"ContatoreOut", Qt::CaseInsensitive) != 0) return;
    const ContestoCaricamento ctx = Contesto();
    if (!ctx.calcolo.causaleE(Causale::INC6) || !incassi_ || incassi_->Eof() || incassi_->Bof())
        return;
    try {
        CaricamentoApparecchi(host_, ui_, ctx, *incassi_).AggiornaRete();
    } catch (const Errore& e) {
        ui_.Messaggio(e.testo(), titolo_, Icona::Critico);
    }
}

// The totals follow the machine rows, and the bookkeeping rows the totals.
void FrmIncassi::dopoRigheCambiate() {
    const int posizione = incassi_ ? incassi_->AbsolutePosition() : -1;
    aggiorna(ricalcolato(Valori()), QStringLiteral("Totali"), nullptr);
    if (posizione > 0) incassi_->SetAbsolutePosition(posizione);
}

bool FrmIncassi::dataValida() {
    if (DataPlausibile(dataRegistrazione())) return true;
    ui_.Messaggio(MessaggioDataNonValida(finestra_[QStringLiteral("txtDataRegistrazione")].text()),
                  QStringLiteral("Data non valida"), Icona::Esclamazione);
    focus_ = QStringLiteral("txtDataRegistrazione");
    return false;
}

void FrmIncassi::righeDelDocumento() {
    localeRighe_ = finestra_[QStringLiteral("txeCodLocale")].text().trimmed();
    causaleRighe_ = finestra_[QStringLiteral("txeCodCausale")].text().trimmed();
}

bool FrmIncassi::EntraGriglia() {
    if (finestra_[QStringLiteral("txeCodLocale")].text().trimmed().isEmpty()) {
        ui_.Messaggio(QStringLiteral("Attenzione! Selezionare un locale prima di procedere!"),
                      QString(), Icona::Esclamazione);
        focus_ = QStringLiteral("txeCodLocale");
        return false;
    }
    if (finestra_[QStringLiteral("txeCodCausale")].text().trimmed().isEmpty()) {
        ui_.Messaggio(QStringLiteral("Attenzione! Selezionare una Causale prima di procedere!"),
                      QString(), Icona::Esclamazione);
        focus_ = QStringLiteral("txeCodCausale");
        return false;
    }
    if (modifica_ && incassi_ && incassi_->RecordCount() == 0) CaricaApparecchi();
    return true;
}

bool FrmIncassi::ContatoriIsola() {
    auto isola = ApriIsola();
    if (!isola) return false;
    if (apriContatoriIsola) apriContatoriIsola(*isola);
    ChiudiIsola(*isola);
    return true;
}

std::unique_ptr<FrmContatoriIsole> FrmIncassi::ApriIsola() {
    if (!incassi_ || incassi_->Eof() || incassi_->Bof() ||
        Num(incassi_->Value(QStringLiteral("tipoincasso"))) != 13)
        return nullptr;
    const qlonglong scheda = qlonglong(Num(incassi_->Value(QStringLiteral("linkscheda"))));
    const qlonglong id = qlonglong(Num(finestra_[QStringLiteral("EtiId")].caption()));
    // Written on a document being written or corrected (a correction keeps
    // the meters as they were, for its undo); shown otherwise.
    const bool scrive = modifica_;
    try {
        RecordSetPtr righe;
        if (id > 0 && scrive && !isoleOriginali_.count(scheda)) {
            std::vector<LetturaIsola>& originali = isoleOriginali_[scheda];
            for (auto r = host_.OpenRecordSet(
                     QStringLiteral("select * from noteIncassicontatori where idtesta=%1 and "
                                    "linkscheda=%2")
                         .arg(id)
                         .arg(scheda));
                 !r->Eof(); r->MoveNext()) {
                originali.push_back(
                    {r->Value(QStringLiteral("id")), r->Value(QStringLiteral("ContatoreAttuale")),
                     r->Value(QStringLiteral("contatore")), r->Value(QStringLiteral("Parziale"))});
            }
        }
        if (id > 0) {
            righe = host_.OpenRecordSetBatch(
                QStringLiteral("select * from noteIncassicontatori where idtesta=%1 and "
                               "linkscheda=%2 order by numerocontatore ")
                    .arg(id)
                    .arg(scheda));
        } else {
            const QString mie = QStringLiteral(
                                    "select * from noteIncassicontatori where idtesta=0 and "
                                    "linkscheda=%1 and idoperatore='%2' order by numerocontatore")
                                    .arg(scheda)
                                    .arg(sql::Raddoppia(host_.user()));
            righe = host_.OpenRecordSetBatch(mie);
            if (righe->RecordCount() == 0 && scrive) {
                creaContatoriIsola(*righe, scheda);
                righe = host_.OpenRecordSetBatch(mie);
            }
        }
        return std::make_unique<FrmContatoriIsole>(
            ui_, righe, Txt(incassi_->Value(QStringLiteral("Descrizione"))), scrive);
    } catch (const Errore& e) {
        ui_.Messaggio(e.testo(), titolo_, Icona::Critico);
        return nullptr;
    }
}

void FrmIncassi::creaContatoriIsola(RecordSet& righe, qlonglong scheda) {
    const QDateTime adesso = QDateTime::currentDateTime();
    for (auto m = host_.OpenRecordSet(QStringLiteral("select * from magschedecontatori where "
                                                     "linkscheda=%1 order by numerocontatore")
                                          .arg(scheda));
         !m->Eof(); m->MoveNext()) {
        righe.AddNew();
        righe.SetValue(QStringLiteral("iddata"), adesso);
        righe.SetValue(QStringLiteral("idoperatore"), host_.user());
        righe.SetValue(QStringLiteral("DataContatore"), dataRegistrazione());
        righe.SetValue(QStringLiteral("Idtesta"), 0);
        righe.SetValue(QStringLiteral("linkscheda"), scheda);
        for (const char* c : {"NumeroContatore", "tipocontatore", "moltiplicatore"})
            righe.SetValue(QLatin1String(c), m->Value(QLatin1String(c)));
        righe.SetValue(QStringLiteral("linkcontatore"), m->Value(QStringLiteral("id")));
        righe.SetValue(QStringLiteral("vecchiocontatore"), m->Value(QStringLiteral("contatore")));
        righe.SetValue(QStringLiteral("DataVecchioContatore"),
                       m->Value(QStringLiteral("DataContatore")));
        righe.Update();
    }
    righe.UpdateBatch();
}

void FrmIncassi::ripristinaIsole() {
    auto numero = [](const QVariant& v) {
        return IsNull(v) ? QStringLiteral("Null") : sql::Numero(v);
    };
    for (const auto& [scheda, righe] : std::exchange(isoleOriginali_, {})) {
        for (const LetturaIsola& r : righe) {
            host_.Execute(QStringLiteral("UPDATE NoteIncassiContatori SET ContatoreAttuale=%1, "
                                         "contatore=%2, Parziale=%3 WHERE id=%4")
                              .arg(numero(r.attuale), numero(r.contatore), numero(r.parziale),
                                   sql::Intero(r.id)));
        }
    }
}

bool FrmIncassi::ChiudiIsola(FrmContatoriIsole& isola) {
    try {
        const FrmContatoriIsole::Totali t = isola.Chiudi();
        if (!isola.modificabile() || !incassi_ || incassi_->Eof() || incassi_->Bof()) return false;
        const QVariant primaIn = incassi_->Value(QStringLiteral("parzialeIn"));
        const QVariant primaOut = incassi_->Value(QStringLiteral("parzialeOut"));
        incassi_->SetValue(QStringLiteral("parzialeIn"), t.in.arrotonda(2).toDouble());
        incassi_->SetValue(QStringLiteral("parzialeOut"), t.out.arrotonda(2).toDouble());
        if (Txt(incassi_->Value(QStringLiteral("tipocalcolo")))
                .compare(u"Utile", Qt::CaseInsensitive) == 0)
            incassi_->SetValue(QStringLiteral("cassetto"), (t.in - t.out).arrotonda(2).toDouble());
        incassi_->Update();
        CellaModificata(QStringLiteral("parzialeIn"), primaIn);
        CellaModificata(QStringLiteral("parzialeOut"), primaOut);
        RigaCorrente();
        return true;
    } catch (const Errore& e) {
        ui_.Messaggio(e.testo(), titolo_, Icona::Critico);
        return false;
    }
}

void FrmIncassi::RigaCorrente() {
    if (!incassi_ || incassi_->Eof() || incassi_->Bof()) return;
    const QVariant scheda = incassi_->Value(QStringLiteral("linkscheda"));
    if (IsNullOrEmpty(scheda)) return;
    const qlonglong id = qlonglong(Num(scheda));
    if (id == storicoDi_) return;
    try {
        const auto tipo = ParseNumero(Txt(incassi_->Value(QStringLiteral("TipoIncasso"))));
        storicoApparecchio_ = StoricoApparecchio(
            host_, id, tipo ? int(*tipo) : -1, finestra_[QStringLiteral("txeCodCausale")].text(),
            finestra_[QStringLiteral("txeCodLocale")].text(), dataRegistrazione());
        storicoDi_ = id;
    } catch (const Errore& e) {
        ui_.Messaggio(e.testo(), titolo_, Icona::Critico);
    }
}

}  // namespace incassi
