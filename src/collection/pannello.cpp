// The money panel of the collection window: the totals of the machine rows,
// the amounts to collect and to pay, and the bookkeeping rows they imply.

#include "bookkeeping/archivio.h"
#include "collection/frmincassi.h"
#include "host/host.h"
#include "values/causali.h"
#include "values/error.h"
#include "values/sqlquote.h"
#include "values/values.h"
#include "window/uiport.h"

namespace incassi {

namespace {

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

// The control that shows each amount of the panel.
using P = ValoriPannello;
const struct {
    const char* controllo;
    Dec P::*valore;
} kImporti[] = {
    {"LLLTotIntrodotto", &P::introdotto},
    {"lllTotUscite", &P::uscite},
    {"LabInMenoOut", &P::inMenoOut},
    {"lllTotPreu", &P::preu},
    {"lllTotAAMS", &P::aams},
    {"lllTotRete", &P::rete},
    {"LabTasse", &P::tasse},
    {"lllQuotaNolTeorica", &P::quotaNolTeorica},
    {"lllRefillLocale", &P::refillLocale},
    {"lllRefillNoleggiatore", &P::refillNoleggiatore},
    {"lllVariazioneHopper", &P::variazioneHopper},
    {"lllUtileLocale", &P::utileLocale},
    {"lllUtileNoleggiatore", &P::utileNoleggiatore},
    {"lllTotDaDividere", &P::totDaDividere},
    {"lllAcconto", &P::acconto},
    {"lllAccontoLocale", &P::accontoLocale},
    {"txtAcconto", &P::accontoDocumento},
    {"txtAccontoLocale", &P::accontoLocaleDocumento},
    {"txtAnticipoLocale", &P::anticipoLocale},
    {"LabDenaroAcasa", &P::denaroAcasa},
    {"tttAmmanchi", &P::ammanchi},
    {"txtAmmancoNoleggiatore", &P::ammancoNoleggiatore},
    {"txtAmmancoLocale", &P::ammancoLocale},
    {"tttFurti", &P::furti},
    {"txtFurtoNoleggiatore", &P::furtoNoleggiatore},
    {"txtFurtoLocale", &P::furtoLocale},
    {"lllDaRiscuotereTeorica", &P::daRiscuotereTeorica},
    {"lllDaRiscuotere", &P::daRiscuotere},
    {"lllVariazioni", &P::variazioni},
    {"txtRiscosso", &P::riscosso},
    {"txtVersatoALocale", &P::versatoALocale},
    {"LllVarDebito", &P::varDebito},
    {"txtRimanenza", &P::rimanenza},
    {"txtVarPrestito", &P::varPrestito},
    {"txtArrotondamenti", &P::arrotondamenti},
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
    v.gestisceLocale =
        CodiceTra(finestra_.trova(QStringLiteral("CmiGestioneDenaro"))->text(), {"Locale"});
    v.attesaFatture = finestra_.trova(QStringLiteral("chkAttesaFatture"))->checked() != 0;
    v.terzoGestore = finestra_.trova(QStringLiteral("ChkTerzoGestore"))->checked() != 0;
    for (const auto& i : kImporti)
        v.*i.valore = importo(i.controllo);
    return v;
}

void FrmIncassi::mostraPannello(const ValoriPannello& v) {
    for (const auto& i : kImporti)
        scriviImporto(i.controllo, v.*i.valore);
}

void FrmIncassi::CalcolaDettagli() {
    mostraPannello(ricalcolato(Valori()));
}

ValoriPannello FrmIncassi::ricalcolato(const ValoriPannello& v) const {
    const TotaliRighe righe = incassi_ ? SommaRighe(*incassi_) : TotaliRighe{};
    return CalcolaPannello(righe, v, accontiLocaliAperti(v.causale), mantieniRimanenza_);
}

Dec FrmIncassi::accontiLocaliAperti(const QString& causale) const {
    const QDate data = dataRegistrazione();
    if (!DeduceAccontiLocali(causale) || !data.isValid()) return Dec();
    // The credit balance of the account of advances paid at the venue, this
    // document's own rows left out.
    return -Archivio(host_).Saldo(conti_["cassaaccontilocale"],
                                  finestra_[QStringLiteral("txeCodLocale")].text().trimmed(), data,
                                  qlonglong(Num(finestra_[QStringLiteral("EtiId")].caption())));
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

bool FrmIncassi::UscitaCampo(const QString& campo) {
    for (const auto& f : kCampiDenaro) {
        if (campo.compare(QLatin1String(f.campo), Qt::CaseInsensitive) != 0) continue;
        Controllo& c = finestra_[campo];
        if (const QString testo = c.text().trimmed(); !testo.isEmpty() && !LeggiImporto(testo)) {
            ui_.Messaggio(QStringLiteral("\"%1\" non è un importo: scriverlo in cifre, ad esempio "
                                         "1.234,56.")
                              .arg(testo),
                          titolo_, Icona::Esclamazione);
            focus_ = c.nome();
            return false;
        }
        if (campo.compare(campoDigitato_, Qt::CaseInsensitive) == 0) campoDigitato_.clear();
        c.setText(TestoImporto(c.text(), QStringLiteral("e")));
        if (campo.compare(u"txtRimanenza", Qt::CaseInsensitive) == 0) mantieniRimanenza_ = true;
        aggiornaConteggi(QLatin1String(f.chiave));
        return true;
    }
    if (campo.compare(campoDigitato_, Qt::CaseInsensitive) == 0) campoDigitato_.clear();
    // The document's day: a text that is no day is said at once, and kept.
    if (campo.compare(u"txtDataRegistrazione", Qt::CaseInsensitive) == 0 && modifica_ &&
        !finestra_[campo].text().trimmed().isEmpty())
        return dataValida();
    return true;
}

void FrmIncassi::aggiornaConteggi(const QString& chiave) {
    aggiorna(Valori(), chiave, nullptr);
}

void FrmIncassi::aggiorna(ValoriPannello v, const QString& chiave,
                          Dec ValoriPannello::*destinazione) {
    try {
        SeguiCampo(v, chiave);
        scriviRighe(v);
        conguaglia(v, chiave, destinazione);
        mostraPannello(v);
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
void FrmIncassi::conguaglia(ValoriPannello& v, const QString& chiave,
                            Dec ValoriPannello::*destinazione) {
    conguaglio_ = Dec();
    // Only what the collector typed, or a settlement command set, can differ
    // from what the formulas expect. After the machine rows changed the
    // formulas balance by themselves: a difference they left would be a fault,
    // shown as the imbalance (and refused by the save), never moved away.
    if (CodiceTra(chiave, {"Totali"})) return;
    if (!incasso() || !nota_ || !v.tipologia) return;
    PrimaNota nota(*nota_, {});
    const Dec delta = nota.Sbilancio();
    if (delta.zero()) return;
    // Collections of halls write no remainder or rounding rows: their
    // differences are shortages.
    const bool seconda = v.secondaVariante() && !v.causaleE(Causale::INC);
    Dec ValoriPannello::*campo = &ValoriPannello::riscosso;
    if (destinazione) {
        campo = seconda ? &ValoriPannello::ammancoNoleggiatore : destinazione;
    } else if (CodiceTra(chiave, {"Riscosso"}) || CodiceTra(chiave, {"Locale"})) {
        if (seconda || pref_.attiva(QStringLiteral("AmmancoAutomatico"))) {
            campo = &ValoriPannello::ammancoNoleggiatore;
        } else if (pref_.attiva(QStringLiteral("RimanenzaAutomatico"))) {
            campo = &ValoriPannello::rimanenza;
        } else {
            campo = &ValoriPannello::arrotondamenti;
        }
    }
    // Each of these amounts weighs on the debit side: lowering it by the
    // imbalance balances the rows.
    v.*campo -= delta;
    if (campo == &ValoriPannello::ammancoNoleggiatore)
        v.ammanchi = v.ammancoNoleggiatore + v.ammancoLocale;
    if (campo == &ValoriPannello::rimanenza) mantieniRimanenza_ = true;
    conguaglio_ = delta;
    scriviRighe(v);
}

void FrmIncassi::AggiornaConteggiPrimaNota() {
    scriviRighe(Valori());
}

void FrmIncassi::scriviRighe(const ValoriPannello& v) {
    // A change machine's rows come from its flows alone; the other documents'
    // rows need the collection type.
    const bool cambiamonete = v.causaleE(Causale::CAM);
    if (!nota_ || (!cambiamonete && !v.tipologia)) return;
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
    const Dec d = nota_ ? PrimaNota(*nota_, {}).Sbilancio() : Dec();
    s.setCaption(FormatoNumero(d.toDouble(), 2));
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
