#include "bookkeeping/denaro.h"

#include <utility>
#include <vector>

#include "host/recordset.h"
#include "values/values.h"

namespace incassi {

bool ValoriPannello::causaleE(Causale c) const {
    return CausaleDi(causale) == c;
}

TotaliRighe SommaRighe(RecordSet& righe) {
    // Each column found once, not once per row.
    const struct {
        const char* colonna;
        Dec TotaliRighe::*totale;
    } colonne[] = {
        {"ParzialeIn", &TotaliRighe::parzialeIn},
        {"ParzialeOut", &TotaliRighe::parzialeOut},
        {"cassetto", &TotaliRighe::cassetto},
        {"preu", &TotaliRighe::preu},
        {"aams", &TotaliRighe::aams},
        {"rete", &TotaliRighe::rete},
        {"IncassoVs", &TotaliRighe::incassoVs},
        {"IncassoNs", &TotaliRighe::incassoNs},
        {"refillLocale", &TotaliRighe::refillLocale},
        {"RefillGestore", &TotaliRighe::refillGestore},
        {"variazionehopper", &TotaliRighe::variazioneHopper},
        {"Ammanchi", &TotaliRighe::ammanchi},
        {"Furti", &TotaliRighe::furti},
        {"acconti", &TotaliRighe::acconti},
        {"QuotaConcess", &TotaliRighe::quotaConcess},
    };
    std::vector<std::pair<int, Dec TotaliRighe::*>> indici;
    for (const auto& c : colonne) {
        const int i = righe.FieldIndex(QLatin1String(c.colonna));
        if (i >= 0) indici.emplace_back(i, c.totale);
    }
    TotaliRighe t;
    const int posizione = righe.AbsolutePosition();
    for (righe.MoveFirst(); !righe.Eof(); righe.MoveNext()) {
        for (const auto& [i, totale] : indici)
            t.*totale += Dec::DaCella(righe.Value(i));
    }
    if (posizione > 0) righe.SetAbsolutePosition(posizione);
    return t;
}

bool DeduceAccontiLocali(const QString& causale) {
    return CausaleTra(causale, {Causale::INC6, Causale::INC});
}

ValoriPannello CalcolaPannello(const TotaliRighe& r, ValoriPannello v, const Dec& accontiLocali,
                               bool mantieniRimanenza) {
    const Causale c = CausaleDi(v.causale);
    const bool inc6 = c == Causale::INC6 || c == Causale::FUR, inc = c == Causale::INC;
    // The totals the causal reads, each to the cent as the panel shows it: the
    // figures below are worked out from the rounded totals, so the rows they
    // write balance to the cent.
    struct {
        Dec in, out, preu, aams, rete, vs, ns, rl, rg, vh, ammanchi, furti, acconti, quota;
    } s;
    auto cent = [](const Dec& d) { return d.arrotonda(2); };
    if (inc6) {
        s.in = cent(r.parzialeIn);
        s.out = cent(r.parzialeOut);
        s.preu = cent(r.preu);
        s.aams = cent(r.aams);
        s.rete = cent(r.rete);
        s.vh = cent(r.variazioneHopper);
        s.quota = cent(r.quotaConcess);
    } else if (inc) {
        s.in = cent(r.cassetto);
    }
    if (inc6 || inc) {
        s.vs = cent(r.incassoVs);
        s.ns = cent(r.incassoNs);
        s.rl = cent(r.refillLocale);
        s.rg = cent(r.refillGestore);
        s.ammanchi = cent(r.ammanchi);
        s.furti = cent(r.furti);
        s.acconti = cent(r.acconti);
    } else if (c == Causale::ACC) {
        s.acconti = cent(r.acconti);
    } else if (c == Causale::REF) {
        s.rl = cent(r.refillLocale);
        s.rg = cent(r.refillGestore);
    } else if (c == Causale::CH || c == Causale::RH) {
        s.vh = cent(r.variazioneHopper);
        s.ammanchi = cent(r.ammanchi);
    }

    // Money taken home, coins in minus out, the advances.
    v.denaroAcasa = Dec();
    v.inMenoOut = s.in - s.out;
    if (c == Causale::ACC) {
        v.accontoDocumento = s.acconti;
        v.denaroAcasa = s.acconti;
        v.anticipoLocale = Dec();
    } else if (c == Causale::ACL) {
        v.denaroAcasa = v.accontoLocaleDocumento - v.anticipoLocale;
    }
    // An advance paid at the venue is its own deduction.
    v.accontoLocale = c == Causale::ACL                ? v.accontoLocaleDocumento
                      : DeduceAccontiLocali(v.causale) ? cent(accontiLocali)
                                                       : Dec();
    v.acconto = s.acconti;

    // Totals.
    v.tasse = s.preu + s.aams + s.rete;
    v.introdotto = s.in;
    v.uscite = s.out;
    v.varPrestito = Dec();
    v.furti = s.furti;
    v.preu = s.preu;
    v.aams = s.aams;
    v.rete = s.rete;
    // A third manager's venue: the holders' net share is the operator's to pay.
    const Dec quota = v.terzoGestore ? s.quota - v.tasse : Dec();
    const Dec tasseIncassate = v.tasseNoleggiatore ? v.tasse : Dec();
    v.quotaNolTeorica = s.ns + tasseIncassate + quota;
    v.refillLocale = s.rl;
    v.refillNoleggiatore = s.rg;
    const auto tipo = v.tipologia;
    v.variazioneHopper =
        tipo && (*tipo == 0 || *tipo == 3 || *tipo == 4 || *tipo == 10) ? s.vh : Dec();

    // Documents other than collections.
    if (!inc6 && !inc) {
        if (c == Causale::RH) {
            v.ammancoNoleggiatore = s.ammanchi;
        } else {
            for (Dec ValoriPannello::*campo :
                 {&ValoriPannello::utileLocale, &ValoriPannello::utileNoleggiatore,
                  &ValoriPannello::totDaDividere, &ValoriPannello::ammanchi,
                  &ValoriPannello::versatoALocale, &ValoriPannello::riscosso,
                  &ValoriPannello::variazioni, &ValoriPannello::daRiscuotereTeorica,
                  &ValoriPannello::quotaNolTeorica}) {
                v.*campo = Dec();
            }
        }
        return v;
    }

    // Collections: profits, shortages, thefts and the amounts to collect.
    v.utileLocale = s.vs;
    v.utileNoleggiatore = s.ns;
    v.totDaDividere = s.vs + s.ns;
    v.ammanchi = s.ammanchi;
    v.ammancoNoleggiatore = v.gestisceLocale ? Dec() : s.ammanchi;
    v.ammancoLocale = v.gestisceLocale ? s.ammanchi : Dec();
    if (!mantieniRimanenza) v.rimanenza = Dec();
    // A theft is borne by whoever manages the money; a collection's thefts by
    // the operator.
    const bool furtoAlLocale = c == Causale::FUR && v.gestisceLocale;
    v.furtoLocale = furtoAlLocale ? s.furti : Dec();
    v.furtoNoleggiatore = furtoAlLocale ? Dec() : s.furti;
    const Dec acconti = v.acconto + v.accontoLocale;
    const Dec perdite = v.ammancoNoleggiatore + v.furtoNoleggiatore;
    Dec teorico, daRiscuotere, riscosso;
    if (inc) {
        // Ordinary machines: the whole cash box is collected and booked, the
        // venue's share included.
        teorico = s.vs + s.ns + s.rg - v.variazioneHopper - acconti;
        daRiscuotere = teorico + v.varDebito - perdite;
        riscosso = daRiscuotere - v.rimanenza - v.arrotondamenti;
    } else if (tipo == 10) {
        // The hall's whole takings are collected; the venue's profit and the
        // operator's share are booked as they are.
        teorico = s.vs + s.ns + tasseIncassate + quota + s.rg + s.rl - acconti - v.variazioneHopper;
        daRiscuotere = teorico - perdite;
        riscosso = daRiscuotere;
    } else {
        teorico = v.quotaNolTeorica + s.rg - v.variazioneHopper - acconti;
        daRiscuotere = teorico + v.varDebito - perdite;
        riscosso = daRiscuotere - v.rimanenza - v.arrotondamenti;
    }
    v.daRiscuotereTeorica = teorico;
    v.daRiscuotere = daRiscuotere;
    v.variazioni = daRiscuotere - teorico;
    v.riscosso = riscosso;
    v.versatoALocale = s.vs + (v.tasseNoleggiatore ? Dec() : v.tasse) + v.anticipoLocale - s.rl;
    return v;
}

ValoriPannello PannelloMemorizzato(ValoriPannello v) {
    const Causale c = CausaleDi(v.causale);
    v.inMenoOut = v.introdotto - v.uscite;
    v.tasse = v.preu + v.aams + v.rete;
    v.ammanchi = v.ammancoNoleggiatore + v.ammancoLocale;
    v.furti = v.furtoNoleggiatore + v.furtoLocale;
    v.denaroAcasa = c == Causale::ACC   ? v.accontoDocumento - v.anticipoLocale
                    : c == Causale::ACL ? v.accontoLocaleDocumento - v.anticipoLocale
                                        : Dec();
    return v;
}

void SeguiCampo(ValoriPannello& v, const QString& chiave) {
    const Causale c = CausaleDi(v.causale);
    // The advance deducted follows the one typed: on the machines always, at
    // the venue on the document that pays it.
    if (CodiceTra(chiave, {"Acconto"})) v.acconto = v.accontoDocumento;
    if (CodiceTra(chiave, {"AccontoLocale"}) && c == Causale::ACL)
        v.accontoLocale = v.accontoLocaleDocumento;
    if (CodiceTra(chiave, {"Acconto", "AccontoL", "AccontoLocale"})) {
        // The money taken home is the advance less what the venue prepaid.
        if (c == Causale::ACC || c == Causale::ACL) {
            const Dec acconto = c == Causale::ACL ? v.accontoLocaleDocumento : v.accontoDocumento;
            v.denaroAcasa = acconto - v.anticipoLocale;
        }
    } else if (CodiceTra(chiave, {"Ammanchi"})) {
        v.ammancoNoleggiatore = v.gestisceLocale ? Dec() : v.ammanchi;
        v.ammancoLocale = v.gestisceLocale ? v.ammanchi : Dec();
    } else if (CodiceTra(chiave, {"Furti"})) {
        v.furtoNoleggiatore = v.gestisceLocale ? Dec() : v.furti;
        v.furtoLocale = v.gestisceLocale ? v.furti : Dec();
    }
    if (CodiceTra(chiave, {"AmmancoN", "AmmancoL"}))
        v.ammanchi = v.ammancoNoleggiatore + v.ammancoLocale;
    if (CodiceTra(chiave, {"FurtoN", "FurtoL"})) v.furti = v.furtoNoleggiatore + v.furtoLocale;
}

}  // namespace incassi
