// The money panel of the collection window: the totals of the machine rows,
// the amounts to collect and to pay, and the bookkeeping rows they imply.

#include "collection/frmincassi.h"
#include "host/host.h"
#include "values/causali.h"
#include "values/error.h"
#include "values/sqlquote.h"
#include "values/values.h"
#include "window/uiport.h"

namespace incassi {

namespace {

struct Somme {
    Dec in, out, preu, aams, rete, vs, ns, rl, rg, vh, ammanchi, furti, acconti, quota;
};

// The keyword each editable money field passes to the refresh.
const struct {
    const char* campo;
    const char* chiave;
} kCampiDenaro[] = {
    {"txtRiscosso", "Riscosso"},
    {"txtAcconto", "Acconto"},
    {"txtAccontoLocale", "AccontoLocale"},
    {"txtAnticipoLocale", "AccontoL"},
    {"txtAmmancoLocale", "AmmancoL"},
    {"txtAmmancoNoleggiatore", "AmmancoN"},
    {"tttAmmanchi", "Ammanchi"},
    {"txtFurtoLocale", "FurtoL"},
    {"txtFurtoNoleggiatore", "FurtoN"},
    {"tttFurti", "Furti"},
    {"txtArrotondamenti", "Arrotondamenti"},
    {"txtRimanenza", "Rimanenza"},
    {"txtVersatoALocale", "Locale"},
    {"txtVarPrestito", "Prestito"},
};

}  // namespace

QString FrmIncassi::causale() const {
    return finestra_.trova(QStringLiteral("txeCodCausale"))->text().trimmed();
}

bool FrmIncassi::incasso() const {
    const QString c = causale();
    return CausaleTra(c, {Causale::INC, Causale::INC6, Causale::FUR});
}

Dec FrmIncassi::importo(const char* nome) const {
    const Controllo* c = finestra_.trova(QLatin1String(nome));
    if (!c)
        throw Errore(QStringLiteral("Campo di importo inesistente: %1").arg(QLatin1String(nome)));
    if (c->tipo() == TipoControllo::Etichetta || c->prefisso() == u"lab")
        return Dec::DaCella(c->caption()).arrotonda(2);
    // A typed amount reads as its formatter reads it, left or not.
    return Dec::DaDouble(LeggiImporto(c->text()).value_or(0)).arrotonda(2);
}

void FrmIncassi::scriviImporto(const char* nome, const Dec& valore) {
    Controllo& c = finestra_[QLatin1String(nome)];
    const Dec v = valore.arrotonda(2);
    if (c.prefisso() == u"txt" || c.prefisso() == u"ttt") {
        c.setText(TestoImporto(FormatoNumero(v.toDouble(), 2), QStringLiteral("e")));
    } else {
        c.setCaption(FormatoNumero(v.toDouble(), 2));
    }
}

ValoriPannello FrmIncassi::Valori() const {
    ValoriPannello v;
    v.causale = causale();
    v.tipologia = tipologiaScelta();
    const Controllo& tipo = *finestra_.trova(QStringLiteral("CmiTipologiaIncasso"));
    v.remoto = tipo.text().trimmed().compare(u"Incasso Remoto", Qt::CaseInsensitive) == 0;
    v.tasseNoleggiatore =
        CodiceTra(finestra_.trova(QStringLiteral("CmiIncassoTasse"))->text(), {"Noleggiatore"});
    v.attesaFatture = finestra_.trova(QStringLiteral("chkAttesaFatture"))->checked() != 0;
    v.terzoGestore = finestra_.trova(QStringLiteral("ChkTerzoGestore"))->checked() != 0;
    v.riscosso = importo("txtRiscosso");
    v.acconto = importo("lllAcconto");
    v.accontoLocale = importo("lllAccontoLocale");
    v.accontoDocumento = importo("txtAcconto");
    v.accontoLocaleDocumento = importo("txtAccontoLocale");
    v.anticipoLocale = importo("txtAnticipoLocale");
    v.denaroAcasa = importo("LabDenaroAcasa");
    v.refillNoleggiatore = importo("lllRefillNoleggiatore");
    v.refillLocale = importo("lllRefillLocale");
    v.utileNoleggiatore = importo("lllUtileNoleggiatore");
    v.utileLocale = importo("lllUtileLocale");
    v.totDaDividere = importo("lllTotDaDividere");
    v.varDebito = importo("LllVarDebito");
    v.rimanenza = importo("txtRimanenza");
    v.varPrestito = importo("txtVarPrestito");
    v.arrotondamenti = importo("txtArrotondamenti");
    v.variazioneHopper = importo("lllVariazioneHopper");
    v.furtoNoleggiatore = importo("txtFurtoNoleggiatore");
    v.ammancoNoleggiatore = importo("txtAmmancoNoleggiatore");
    return v;
}

void FrmIncassi::CalcolaDettagli() {
    const QString c = causale();
    const bool inc6 = CausaleTra(c, {Causale::INC6, Causale::FUR}),
               inc = CausaleTra(c, {Causale::INC});
    // The sums of the machine rows, by causal.
    Somme s;
    if (incassi_) {
        const int posizione = incassi_->AbsolutePosition();
        for (incassi_->MoveFirst(); !incassi_->Eof(); incassi_->MoveNext()) {
            auto v = [&](const char* col) {
                return Dec::DaCella(incassi_->Value(QLatin1String(col)));
            };
            if (inc6) {
                s.in += v("ParzialeIn");
                s.out += v("ParzialeOut");
                s.preu += v("preu");
                s.aams += v("aams");
                s.rete += v("rete");
                s.vh += v("variazionehopper");
                s.quota += v("QuotaConcess");
            } else if (inc) {
                s.in += v("cassetto");
            }
            if (inc6 || inc) {
                s.vs += v("IncassoVs");
                s.ns += v("IncassoNs");
                s.rl += v("refillLocale");
                s.rg += v("RefillGestore");
                s.ammanchi += v("Ammanchi");
                s.furti += v("Furti");
                s.acconti += v("acconti");
            } else if (CausaleTra(c, {Causale::ACC})) {
                s.acconti += v("acconti");
            } else if (CausaleTra(c, {Causale::REF})) {
                s.rl += v("refillLocale");
                s.rg += v("RefillGestore");
            } else if (CausaleTra(c, {Causale::CH, Causale::RH})) {
                s.vh += v("variazionehopper");
                s.ammanchi += v("Ammanchi");
            }
        }
        if (posizione > 0) incassi_->SetAbsolutePosition(posizione);
    }
    // Money taken home, coins in minus out, the advances.
    scriviImporto("LabDenaroAcasa", Dec());
    scriviImporto("LabInMenoOut", s.in - s.out);
    if (CausaleTra(c, {Causale::ACC})) {
        scriviImporto("txtAcconto", s.acconti);
        scriviImporto("LabDenaroAcasa", s.acconti);
        scriviImporto("txtAnticipoLocale", Dec());
    } else if (CausaleTra(c, {Causale::ACL})) {
        scriviImporto("LabDenaroAcasa", importo("txtAccontoLocale") - importo("txtAnticipoLocale"));
    }
    Dec accontoLocale;
    if ((inc6 && !CausaleTra(c, {Causale::FUR})) || inc) {
        // The venue's open advances paid at the venue: the credit balance of
        // their account, this document's own rows left out.
        const QDate data = dataRegistrazione();
        if (data.isValid()) {
            auto rs = host_.OpenRecordSet(
                QStringLiteral("SELECT Sum(NoteRighe.Dare) AS SommaDiDare,Sum(NoteRighe.Avere) AS "
                               "SommaDiAvere From "
                               "NoteRighe WHERE NoteRighe.codLocale='%1' and NoteRighe.idtesta<>%2 "
                               "and data<=%3 and "
                               "NoteRighe.codConto='%4'")
                    // One call: a "%2" inside the venue's code stays as it is.
                    .arg(sql::Raddoppia(finestra_[QStringLiteral("txeCodLocale")].text().trimmed()),
                         QString::number(
                             qlonglong(Num(finestra_[QStringLiteral("EtiId")].caption()))),
                         sql::Data(data), sql::Raddoppia(conti_["cassaaccontilocale"])));
            if (!rs->Eof()) {
                accontoLocale = Dec::DaCella(rs->Value(QStringLiteral("SommaDiAvere"))) -
                                Dec::DaCella(rs->Value(QStringLiteral("SommaDiDare")));
            }
        }
    }
    scriviImporto("lllAccontoLocale", accontoLocale);
    allineaAccontoLocale();
    scriviImporto("lllAcconto", s.acconti);

    // Totals.
    const Dec tasse = s.preu + s.aams + s.rete;
    scriviImporto("LLLTotIntrodotto", s.in);
    scriviImporto("lllTotUscite", s.out);
    scriviImporto("txtVarPrestito", Dec());
    scriviImporto("tttFurti", s.furti);
    scriviImporto("lllTotPreu", s.preu);
    scriviImporto("lllTotAAMS", s.aams);
    scriviImporto("lllTotRete", s.rete);
    scriviImporto("LabTasse", tasse);
    const bool terzo = finestra_[QStringLiteral("ChkTerzoGestore")].checked() != 0;
    const Dec q = terzo ? s.quota - tasse : Dec();
    const bool tasseNoleggiatore =
        CodiceTra(finestra_[QStringLiteral("CmiIncassoTasse")].text(), {"Noleggiatore"});
    const Dec tasseIncassate = tasseNoleggiatore ? tasse : Dec();
    const Dec quotaNol = s.ns + tasseIncassate + q;
    scriviImporto("lllQuotaNolTeorica", quotaNol);
    scriviImporto("lllRefillLocale", s.rl);
    scriviImporto("lllRefillNoleggiatore", s.rg);
    const auto tipo = tipologiaScelta();
    const Dec vh = tipo && (*tipo == 0 || *tipo == 3 || *tipo == 4 || *tipo == 10) ? s.vh : Dec();
    scriviImporto("lllVariazioneHopper", vh);

    // Documents other than collections.
    if (!inc6 && !inc) {
        if (CausaleTra(c, {Causale::RH})) {
            scriviImporto("txtAmmancoNoleggiatore", s.ammanchi);
        } else {
            for (const char* nome :
                 {"lllUtileLocale", "lllUtileNoleggiatore", "lllTotDaDividere", "tttAmmanchi",
                  "txtVersatoALocale", "txtRiscosso", "lllVariazioni", "lllDaRiscuotereTeorica",
                  "lllQuotaNolTeorica"}) {
                scriviImporto(nome, Dec());
            }
        }
        return;
    }

    // Collections: profits, shortages, thefts and the amounts to collect.
    scriviImporto("lllUtileLocale", s.vs);
    scriviImporto("lllUtileNoleggiatore", s.ns);
    scriviImporto("lllTotDaDividere", s.vs + s.ns);
    scriviImporto("tttAmmanchi", s.ammanchi);
    const bool gestisceLocale =
        CodiceTra(finestra_[QStringLiteral("CmiGestioneDenaro")].text(), {"Locale"});
    scriviImporto("txtAmmancoNoleggiatore", gestisceLocale ? Dec() : s.ammanchi);
    scriviImporto("txtAmmancoLocale", gestisceLocale ? s.ammanchi : Dec());
    if (!mantieniRimanenza_) scriviImporto("txtRimanenza", Dec());
    if (CausaleTra(c, {Causale::FUR})) {
        // A theft is borne by whoever manages the money.
        scriviImporto("txtFurtoLocale", gestisceLocale ? s.furti : Dec());
        scriviImporto("txtFurtoNoleggiatore", gestisceLocale ? Dec() : s.furti);
    } else {
        scriviImporto("txtFurtoLocale", Dec());
        scriviImporto("txtFurtoNoleggiatore", s.furti);
    }
    const Dec acconti = importo("lllAcconto") + importo("lllAccontoLocale");
    const Dec debito = importo("LllVarDebito");
    const Dec ammancoN = importo("txtAmmancoNoleggiatore"),
              furtoN = importo("txtFurtoNoleggiatore");
    const Dec anticipo = importo("txtAnticipoLocale");
    Dec teorico, daRiscuotere, riscosso;
    if (inc) {
        // Ordinary machines: the whole cash box is collected and booked, the
        // venue's share included.
        teorico = s.vs + s.ns + s.rg - vh - acconti;
        daRiscuotere = teorico + debito - ammancoN - furtoN;
        riscosso = daRiscuotere - importo("txtRimanenza") - importo("txtArrotondamenti");
    } else if (tipo == 10) {
        // The hall's whole takings are collected; the venue's profit and the
        // operator's share are booked as they are.
        teorico = s.vs + s.ns + tasseIncassate + q + s.rg + s.rl - acconti - vh;
        daRiscuotere = teorico - ammancoN - furtoN;
        riscosso = daRiscuotere;
    } else {
        teorico = quotaNol + s.rg - vh - acconti;
        daRiscuotere = teorico + debito - ammancoN - furtoN;
        riscosso = daRiscuotere - importo("txtRimanenza") - importo("txtArrotondamenti");
    }
    scriviImporto("lllDaRiscuotereTeorica", teorico);
    scriviImporto("lllDaRiscuotere", daRiscuotere);
    scriviImporto("lllVariazioni", daRiscuotere - teorico);
    scriviImporto("txtRiscosso", riscosso);
    scriviImporto("txtVersatoALocale",
                  s.vs + (tasseNoleggiatore ? Dec() : tasse) + anticipo - s.rl);
}

void FrmIncassi::allineaAccontoLocale() {
    if (CausaleTra(causale(), {Causale::ACL}))
        scriviImporto("lllAccontoLocale", importo("txtAccontoLocale"));
}

bool FrmIncassi::CampoDenaro(const QString& campo) {
    for (const auto& f : kCampiDenaro) {
        if (campo.compare(QLatin1String(f.campo), Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

void FrmIncassi::UscitaCampo(const QString& campo) {
    if (campo.compare(campoDigitato_, Qt::CaseInsensitive) == 0) campoDigitato_.clear();
    for (const auto& f : kCampiDenaro) {
        if (campo.compare(QLatin1String(f.campo), Qt::CaseInsensitive) != 0) continue;
        Controllo& c = finestra_[campo];
        c.setText(TestoImporto(c.text(), QStringLiteral("e")));
        if (campo.compare(u"txtAcconto", Qt::CaseInsensitive) == 0) {
            finestra_[QStringLiteral("lllAcconto")].setCaption(
                FormatoNumero(importo("txtAcconto").toDouble(), 2));
        }
        if (campo.compare(u"txtAccontoLocale", Qt::CaseInsensitive) == 0) allineaAccontoLocale();
        if (campo.compare(u"txtRimanenza", Qt::CaseInsensitive) == 0) mantieniRimanenza_ = true;
        aggiornaConteggi(QLatin1String(f.chiave));
        return;
    }
}

void FrmIncassi::aggiornaConteggi(const QString& chiave) {
    try {
        const bool gestisceLocale =
            CodiceTra(finestra_[QStringLiteral("CmiGestioneDenaro")].text(), {"Locale"});
        const QString c = causale();
        if (CodiceTra(chiave, {"Acconto"}) || CodiceTra(chiave, {"AccontoL"}) ||
            CodiceTra(chiave, {"AccontoLocale"})) {
            // The money taken home is the advance less what the venue prepaid.
            const Dec acconto =
                CausaleTra(c, {Causale::ACL}) ? importo("txtAccontoLocale") : importo("txtAcconto");
            if (CausaleTra(c, {Causale::ACC, Causale::ACL})) {
                scriviImporto("LabDenaroAcasa", acconto - importo("txtAnticipoLocale"));
            }
        } else if (CodiceTra(chiave, {"Ammanchi"})) {
            const Dec totale = importo("tttAmmanchi");
            scriviImporto("txtAmmancoNoleggiatore", gestisceLocale ? Dec() : totale);
            scriviImporto("txtAmmancoLocale", gestisceLocale ? totale : Dec());
        } else if (CodiceTra(chiave, {"Furti"})) {
            const Dec totale = importo("tttFurti");
            scriviImporto("txtFurtoNoleggiatore", gestisceLocale ? Dec() : totale);
            scriviImporto("txtFurtoLocale", gestisceLocale ? totale : Dec());
        }
        if (CodiceTra(chiave, {"AmmancoN"}) || CodiceTra(chiave, {"AmmancoL"})) {
            scriviImporto("tttAmmanchi",
                          importo("txtAmmancoNoleggiatore") + importo("txtAmmancoLocale"));
        }
        if (CodiceTra(chiave, {"FurtoN"}) || CodiceTra(chiave, {"FurtoL"})) {
            scriviImporto("tttFurti", importo("txtFurtoNoleggiatore") + importo("txtFurtoLocale"));
        }
        AggiornaConteggiPrimaNota();
        conguaglia(chiave);
        aggiornaSbilancio();
    } catch (const Errore& e) {
        ui_.Messaggio(QStringLiteral("aggiornaConteggi ") + e.testo(), titolo_, Icona::Critico);
    }
}

// A collection's rows balance when what was collected, left as remainder,
// allowed, lent, or lost to shortages and thefts makes up what was due. A
// difference goes to the treatment the operator chose (shortage, allowance or
// remainder) when the collected money changed, and to the collected money when
// one of the others changed.
void FrmIncassi::conguaglia(const QString& chiave) {
    conguaglio_ = Dec();
    // Only what the collector typed, or a settlement command set, can differ
    // from what the formulas expect. After the machine rows changed the
    // formulas balance by themselves: a difference they left would be a fault,
    // shown as the imbalance (and refused by the save), never moved away.
    if (CodiceTra(chiave, {"Totali"})) return;
    if (!incasso() || !nota_ || !tipologiaScelta()) return;
    PrimaNota nota(*nota_, {});
    const Dec delta = nota.Sbilancio();
    if (delta.zero()) return;
    // Collections of halls write no remainder or rounding rows: their
    // differences are shortages.
    const bool seconda = tipologiaScelta() == 10 && !CausaleTra(causale(), {Causale::INC});
    const char* campo = "txtRiscosso";
    if (!destinazioneConguaglio_.isEmpty()) {
        campo = seconda ? "txtAmmancoNoleggiatore" : nullptr;
    } else if (CodiceTra(chiave, {"Riscosso"}) || CodiceTra(chiave, {"Locale"})) {
        if (seconda || pref_.attiva(QStringLiteral("AmmancoAutomatico"))) {
            campo = "txtAmmancoNoleggiatore";
        } else if (pref_.attiva(QStringLiteral("RimanenzaAutomatico"))) {
            campo = "txtRimanenza";
        } else {
            campo = "txtArrotondamenti";
        }
    }
    const QByteArray scelto = campo ? QByteArray(campo) : destinazioneConguaglio_.toLatin1();
    // Each of these fields weighs on the debit side: lowering it by the
    // imbalance balances the rows.
    scriviImporto(scelto.constData(), importo(scelto.constData()) - delta);
    if (scelto == "txtAmmancoNoleggiatore") {
        scriviImporto("tttAmmanchi",
                      importo("txtAmmancoNoleggiatore") + importo("txtAmmancoLocale"));
    }
    if (scelto == "txtRimanenza") mantieniRimanenza_ = true;
    conguaglio_ = delta;
    AggiornaConteggiPrimaNota();
}

void FrmIncassi::AggiornaConteggiPrimaNota() {
    // A change machine's rows come from its flows alone; the other documents'
    // rows need the collection type.
    const bool cambiamonete = CausaleTra(causale(), {Causale::CAM});
    if (!nota_ || (!cambiamonete && !tipologiaScelta())) return;
    DocumentoNota doc{dataRegistrazione(),
                      finestra_[QStringLiteral("txeCodLocale")].text().trimmed(),
                      qlonglong(Num(finestra_[QStringLiteral("EtiId")].caption())), host_.user()};
    PrimaNota nota(*nota_, doc);
    const int posizione = nota_->AbsolutePosition();
    if (cambiamonete) {
        Dec flussi, ammanchi;
        if (incassi_) {
            for (incassi_->MoveFirst(); !incassi_->Eof(); incassi_->MoveNext()) {
                flussi += Dec::DaCella(incassi_->Value(QStringLiteral("monetaaggiunta"))) +
                          Dec::DaCella(incassi_->Value(QStringLiteral("banconoteaggiunte"))) -
                          Dec::DaCella(incassi_->Value(QStringLiteral("banconoteRitirate"))) -
                          Dec::DaCella(incassi_->Value(QStringLiteral("monetaritirata")));
                ammanchi += Dec::DaCella(incassi_->Value(QStringLiteral("Ammanchi")));
            }
        }
        nota.Scrivi(MovimentiCambiamonete(conti_, flussi, ammanchi));
    } else {
        const ValoriPannello v = Valori();
        std::vector<TasseConcessionario> tasse;
        if ((v.causaleE(Causale::INC6) || v.causaleE(Causale::FUR)) && incassi_)
            tasse = TasseDaRighe(host_, *incassi_);
        nota.Scrivi(MovimentiDocumento(v, conti_, tasse),
                    tasse.empty() ? QString() : QStringLiteral("20."));
    }
    if (posizione > 0 && posizione <= nota_->RecordCount()) nota_->SetAbsolutePosition(posizione);
}

void FrmIncassi::aggiornaSbilancio() {
    Controllo& s = finestra_[QStringLiteral("txSbilancio")];
    if (!nota_) {
        s.setCaption(QStringLiteral("0"));
        return;
    }
    PrimaNota nota(*nota_, {});
    const Dec d = nota.Sbilancio();
    // Exactly "0" when the rows balance: the save compares the text.
    s.setCaption(d.zero() ? QStringLiteral("0") : FormatoNumero(d.toDouble(), 2));
}

bool FrmIncassi::CellaNotaModificata(const QString& colonna, const QVariant& prima) {
    if (!nota_ || nota_->Eof() || nota_->Bof()) return true;
    if (colonna.compare(u"codConto", Qt::CaseInsensitive) == 0) {
        // The code as the chart of accounts spells it, blanks around it left out.
        const auto conto =
            ContoDelPiano(host_, Txt(nota_->Value(QStringLiteral("codConto"))).trimmed());
        if (!conto) {
            ui_.Messaggio(QStringLiteral("Codice conto non valido"), titolo_, Icona::Esclamazione);
            // Only the cell goes back: the row and the other cells stay.
            nota_->SetValue(QStringLiteral("codConto"), prima);
            return false;
        }
        nota_->SetValue(QStringLiteral("codConto"), *conto);
    } else if (CodiceTra(colonna, {"Dare", "Avere"})) {
        // Amounts typed by hand are booked to the cent.
        const QVariant v = nota_->Value(colonna);
        if (!IsNull(v)) nota_->SetValue(colonna, Dec::DaCella(v).arrotonda(2).toDouble());
    }
    aggiornaSbilancio();
    return true;
}

}  // namespace incassi
