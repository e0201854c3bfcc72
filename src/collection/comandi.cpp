// The settlement commands of the money panel: each rewrites some amounts and
// lets the bookkeeping rows follow.

#include "collection/frmincassi.h"
#include "host/host.h"
#include "values/causali.h"
#include "values/sqlquote.h"
#include "values/values.h"

namespace incassi {

void FrmIncassi::azzeramentoComune() {
    for (const char* nome : {"txtAmmancoNoleggiatore", "txtAmmancoLocale", "tttFurti",
                             "txtFurtoNoleggiatore", "txtFurtoLocale", "tttAmmanchi"}) {
        finestra_[QLatin1String(nome)].setText(QStringLiteral("0"));
    }
    finestra_[QStringLiteral("LllVarDebito")].setCaption(QStringLiteral("0"));
    // A recalculation starts again from the machine rows: no allowance or
    // remainder left over from an earlier command.
    finestra_[QStringLiteral("txtArrotondamenti")].setText(QStringLiteral("0"));
    mantieniRimanenza_ = false;
    // What the venue still owes from earlier collections, this document's own
    // row left out; a theft settles no debt.
    if (!CausaleTra(causale(), {Causale::FUR}) && dataRegistrazione().isValid()) {
        const QString conto = conti_["ResiduiIncassi"];
        const QString locale = finestra_[QStringLiteral("txeCodLocale")].text().trimmed();
        Dec debito = SaldoConto(host_, conto, locale, dataRegistrazione());
        const qlonglong id = qlonglong(Num(finestra_[QStringLiteral("EtiId")].caption()));
        if (id > 0) {
            auto propria = host_.OpenRecordSet(
                QStringLiteral(
                    "select * from noterighe where idtesta=%1 and NoteRighe.CodConto='%2'")
                    .arg(id)
                    .arg(sql::Raddoppia(conto)));
            for (; !propria->Eof(); propria->MoveNext()) {
                debito -= Dec::DaCella(propria->Value(QStringLiteral("Dare"))) -
                          Dec::DaCella(propria->Value(QStringLiteral("Avere")));
            }
        }
        scriviImporto("LllVarDebito", debito);
    }
    if (nota_) {
        PrimaNota nota(*nota_, {});
        nota.AggiornaRighePrimanotaDare(QStringLiteral("01.01.09"), QString(), Dec(), 0);
    }
    CalcolaDettagli();
}

void FrmIncassi::CmdAcconto() {
    pref_.ImpostaDifferenze(false, false, true);
    azzeramentoComune();
    finestra_[QStringLiteral("txtRiscosso")].setText(
        finestra_[QStringLiteral("LabInMenoOut")].caption());
    aggiornaConteggi(QStringLiteral("Riscosso"));
}

void FrmIncassi::CmdChiudiIncasso() {
    const QString digitato = finestra_[QStringLiteral("txtRiscosso")].text();
    pref_.ImpostaDifferenze(false, false, true);
    azzeramentoComune();
    finestra_[QStringLiteral("txtRiscosso")].setText(TestoImporto(digitato, QStringLiteral("E")));
    aggiornaConteggi(QStringLiteral("Riscosso"));
}

void FrmIncassi::CmdRicalcola() {
    azzeramentoComune();
    aggiornaConteggi(QStringLiteral("Riscosso"));
}

void FrmIncassi::CmdNoDenaro() {
    for (const char* nome : {"txtVarPrestito", "txtArrotondamenti", "txtRiscosso"}) {
        finestra_[QLatin1String(nome)].setText(QStringLiteral("0"));
    }
    finestra_[QStringLiteral("txtVersatoALocale")].setText(
        finestra_[QStringLiteral("LabInMenoOut")].caption());
    scriviImporto("txtRimanenza", importo("LllVarDebito") + importo("txtVersatoALocale"));
    mantieniRimanenza_ = true;
    // Collected, paid and remainder are set: any difference is an allowance.
    destinazioneConguaglio_ = QStringLiteral("txtArrotondamenti");
    aggiornaConteggi(QStringLiteral("Riscosso"));
    destinazioneConguaglio_.clear();
}

void FrmIncassi::CmdRimanenza() {
    const Dec versato = importo("txtVersatoALocale"), utile = importo("lllUtileLocale");
    const Dec teorico = importo("lllDaRiscuotereTeorica"), debito = importo("LllVarDebito");
    scriviImporto("txtArrotondamenti", versato - utile);
    scriviImporto("txtRiscosso", debito);
    scriviImporto("txtRimanenza", teorico - (versato - utile));
    mantieniRimanenza_ = true;
    rimanenzaUsata_ = true;
    Controllo* pulsante = finestra_.trova(QStringLiteral("CmdRimanenza"));
    if (pulsante) pulsante->setEnabled(false);
    destinazioneConguaglio_ = QStringLiteral("txtRimanenza");
    aggiornaConteggi(QStringLiteral("Riscosso"));
    destinazioneConguaglio_.clear();
}

void FrmIncassi::CmdAcconti() {
    scriviImporto("lllAcconto", Dec());
    const Dec teorico = importo("lllQuotaNolTeorica") + importo("lllRefillNoleggiatore") -
                        importo("lllVariazioneHopper");
    const Dec daRiscuotere =
        teorico + importo("LllVarDebito") - importo("txtAmmancoNoleggiatore") - importo("tttFurti");
    scriviImporto("lllDaRiscuotereTeorica", teorico);
    scriviImporto("lllDaRiscuotere", daRiscuotere);
    finestra_[QStringLiteral("txtRiscosso")].setText(
        finestra_[QStringLiteral("lllDaRiscuotere")].caption());
    aggiornaConteggi(QStringLiteral("Riscosso"));
}

}  // namespace incassi
