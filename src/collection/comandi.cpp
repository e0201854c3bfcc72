// The settlement commands of the money panel: each rewrites some amounts and
// lets the bookkeeping rows follow. And the commands that open the print and
// note windows on the document and venue shown.

#include "auxwin/frmnota.h"
#include "bookkeeping/archivio.h"
#include "collection/frmincassi.h"
#include "host/host.h"
#include "values/causali.h"
#include "values/sqlquote.h"
#include "values/values.h"

namespace incassi {

ValoriPannello FrmIncassi::azzeramentoComune() {
    ValoriPannello v = Valori();
    // A recalculation starts again from the machine rows: no shortage, theft,
    // allowance or remainder left over from an earlier command.
    for (Dec ValoriPannello::*campo :
         {&ValoriPannello::ammancoNoleggiatore, &ValoriPannello::ammancoLocale,
          &ValoriPannello::furti, &ValoriPannello::furtoNoleggiatore, &ValoriPannello::furtoLocale,
          &ValoriPannello::ammanchi, &ValoriPannello::varDebito, &ValoriPannello::arrotondamenti}) {
        v.*campo = Dec();
    }
    mantieniRimanenza_ = false;
    // What the venue still owes from earlier collections, this document's own
    // row left out; a theft settles no debt.
    if (!v.causaleE(Causale::FUR) && dataRegistrazione().isValid()) {
        const QString conto = conti_["ResiduiIncassi"];
        const QString locale = finestra_[QStringLiteral("txeCodLocale")].text().trimmed();
        v.varDebito = Archivio(host_)
                          .Saldo(conto, locale, dataRegistrazione(),
                                 qlonglong(Num(finestra_[QStringLiteral("EtiId")].caption())))
                          .arrotonda(2);
    }
    if (nota_) {
        PrimaNota nota(*nota_, {});
        nota.AggiornaRighePrimanotaDare(QStringLiteral("01.01.09"), QString(), Dec(), 0);
    }
    return ricalcolato(v);
}

void FrmIncassi::CmdAcconto() {
    pref_.ImpostaDifferenze(false, false, true);
    ValoriPannello v = azzeramentoComune();
    v.riscosso = v.inMenoOut;
    aggiorna(v, QStringLiteral("Riscosso"), nullptr);
}

void FrmIncassi::CmdChiudiIncasso() {
    // The amount typed stays: the difference goes to the remainder.
    const Dec digitato = importo("txtRiscosso");
    pref_.ImpostaDifferenze(false, false, true);
    ValoriPannello v = azzeramentoComune();
    v.riscosso = digitato;
    aggiorna(v, QStringLiteral("Riscosso"), nullptr);
}

void FrmIncassi::CmdRicalcola() {
    aggiorna(azzeramentoComune(), QStringLiteral("Riscosso"), nullptr);
}

void FrmIncassi::CmdNoDenaro() {
    ValoriPannello v = Valori();
    v.varPrestito = v.arrotondamenti = v.riscosso = Dec();
    v.versatoALocale = v.inMenoOut;
    v.rimanenza = v.varDebito + v.versatoALocale;
    mantieniRimanenza_ = true;
    // Collected, paid and remainder are set: any difference is an allowance.
    aggiorna(v, QStringLiteral("Riscosso"), &ValoriPannello::arrotondamenti);
}

void FrmIncassi::CmdRimanenza() {
    ValoriPannello v = Valori();
    const Dec eccedenza = v.versatoALocale - v.utileLocale;
    v.arrotondamenti = eccedenza;
    v.riscosso = v.varDebito;
    v.rimanenza = v.daRiscuotereTeorica - eccedenza;
    mantieniRimanenza_ = true;
    rimanenzaUsata_ = true;
    Controllo* pulsante = finestra_.trova(QStringLiteral("CmdRimanenza"));
    if (pulsante) pulsante->setEnabled(false);
    aggiorna(v, QStringLiteral("Riscosso"), &ValoriPannello::rimanenza);
}

void FrmIncassi::CmdAcconti() {
    ValoriPannello v = Valori();
    v.acconto = Dec();
    v.daRiscuotereTeorica = v.quotaNolTeorica + v.refillNoleggiatore - v.variazioneHopper;
    v.daRiscuotere = v.daRiscuotereTeorica + v.varDebito - v.ammancoNoleggiatore - v.furti;
    v.riscosso = v.daRiscuotere;
    aggiorna(v, QStringLiteral("Riscosso"), nullptr);
}

void FrmIncassi::Stampa() {
    if (!host_.UserStampa() || !apriStampa) return;
    stampa::RichiestaStampa r;
    r.codiceStampa = prop_.CodiceStampa;
    // A document being written has no stored rows to print yet.
    r.documento = nuovo_ ? 0 : qlonglong(Num(finestra_[QStringLiteral("EtiId")].caption()));
    r.codLocale = finestra_[QStringLiteral("txeCodLocale")].text().trimmed();
    r.data = dataRegistrazione();
    if (locale_ && !locale_->Eof()) r.insegna = Txt(locale_->Value(QStringLiteral("Insegna")));
    apriStampa(r);
}

void FrmIncassi::Nota() {
    const QString codLocale = finestra_[QStringLiteral("txeCodLocale")].text().trimmed();
    if (!apriNota) return;
    if (codLocale.isEmpty()) {
        ui_.Messaggio(QStringLiteral("Scegliere il locale per leggerne o scriverne la nota."),
                      titolo_, Icona::Informazione);
        return;
    }
    apriNota(codLocale, FrmNota::NotaDi(host_, codLocale));
}

void FrmIncassi::ApriWizardSala() {
    const QString codLocale = finestra_[QStringLiteral("txeCodLocale")].text().trimmed();
    if (!apriWizardSala) return;
    if (codLocale.isEmpty() || !dataRegistrazione().isValid()) {
        ui_.Messaggio(QStringLiteral("Scegliere la sala e la data dell'incasso prima di aprire il "
                                     "wizard della sala."),
                      titolo_, Icona::Informazione);
        return;
    }
    // Readings and hoppers since the hall's last collection before this one.
    const QDate data = dataRegistrazione();
    const QVariant ultimo =
        host_
            .OpenRecordSet(QStringLiteral("SELECT max(DataRegistrazione) AS Ultimo FROM NoteTeste "
                                          "WHERE CodLocale='%1' AND CodCausale='INC6' AND "
                                          "DataRegistrazione<%2")
                               .arg(sql::Raddoppia(codLocale), sql::Data(data)))
            ->Value(QStringLiteral("Ultimo"));
    apriWizardSala(codLocale, IsNull(ultimo) ? data : ultimo.toDate().addDays(1), data);
}

bool FrmIncassi::NuovoIncassoSala(const QString& codLocale, const QDate& data,
                                  const std::vector<qlonglong>& schede) {
    if (modifica_) {
        ui_.Messaggio(QStringLiteral("Salvare o annullare il documento in corso prima di creare "
                                     "l'incasso della sala."),
                      titolo_, Icona::Esclamazione);
        return false;
    }
    Nuovo();
    if (!nuovo_) return false;
    finestra_[QStringLiteral("txtDataRegistrazione")].setValue(data);
    if (!casella(QStringLiteral("txeCodCausale")).ImpostaCodice(QStringLiteral("INC6")) ||
        !casella(QStringLiteral("txeCodLocale")).ImpostaCodice(codLocale)) {
        return false;
    }
    SceltaCausale();
    SceltaLocale();
    QString scelta;
    for (qlonglong id : schede)
        scelta += QString::number(id) + u'|';
    sceltaApparecchi_ = scelta;
    const EsitoCaricamento esito = CaricaApparecchi();
    sceltaApparecchi_.reset();
    return esito == EsitoCaricamento::Caricato;
}

void FrmIncassi::ColoraNota() {
    coloraNota(finestra_[QStringLiteral("txeCodLocale")].text().trimmed());
}

}  // namespace incassi
