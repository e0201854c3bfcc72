#include "schema/generatore_storia.h"

#include <QDateTime>
#include <map>

#include "values/values.h"

namespace incassi::schema::gen {

quint32 Casuale::prossimo() {
    // xorshift64*
    s_ ^= s_ >> 12;
    s_ ^= s_ << 25;
    s_ ^= s_ >> 27;
    return quint32((s_ * 0x2545F4914F6CDD1DULL) >> 32);
}

int Casuale::tra(int da, int a) {
    return da + int(prossimo() % quint32(a - da + 1));
}

// Advances and refills of the week, written once the collection that settles
// them has its id.
struct Storia::Settimana {
    std::vector<Documento> sospesi;
};

ParametriStoria ParametriDi(Database& db, const QDate& primo, int settimane,
                            const QString& operatore, quint64 seme) {
    ParametriStoria ps;
    ps.settimane = settimane;
    ps.primo = primo;
    ps.operatore = operatore;
    ps.seme = seme;
    ps.ruoli = LeggiRuoli(db);
    ps.aliquote = LeggiAliquote(db);
    for (const Concessionario& c : ConcessionariTipo())
        ps.prefissi.insert(c.codice.toUpper(), c.prefisso);
    return ps;
}

Storia::Storia(ScrittoreDocumenti& scrittore, ParametriStoria p)
    : w_(scrittore), p_(std::move(p)) {}

namespace {

bool Meter(const Apparecchio& a) {
    return a.tipologia == 6;
}

bool ACassetto(const Apparecchio& a) {
    return a.tipologia != 6 && a.tipologia != 2;
}

QVariant E(Cent c) {
    return Euro(c);
}

// Multiples of ten euro between da and a euro.
Cent Decine(Casuale& r, int da, int a) {
    return Cent(r.tra(da / 10, a / 10)) * 1000;
}

}  // namespace

Valori<colT::N> Storia::testata(const Locale& l, qint64 id, const QString& causale,
                                const QDate& data, const QString& descrizione) {
    Valori<colT::N> t;
    t[colT::id] = id;
    t[colT::CodLocale] = l.codice;
    t[colT::CodCausale] = causale;
    t[colT::DataRegistrazione] = w_.data(data);
    t[colT::CodiceAzienda] = l.azienda;
    t[colT::Descrizione] = descrizione;
    t[colT::CodEsattore] = l.esattore;
    if (!l.agente.isEmpty()) t[colT::CodAGente] = l.agente;
    t[colT::idOnda] = 0;
    t[colT::Chiuso] = 0;
    t[colT::TipologiaIncasso] = l.tipologiaIncasso;
    t[colT::IncassoTasse] = l.incassoTasse;
    t[colT::GestioneDenaro] = l.gestioneDenaro;
    t[colT::TerzoGestore] = l.terzo ? -1 : 0;
    t[colT::iddata] = w_.istante(data, QTime(18, 30));
    t[colT::idoperatore] = p_.operatore;
    return t;
}

Valori<colI::N> Storia::riga(const Locale& l, const Apparecchio& a, const QDate& data, int n) {
    Valori<colI::N> r;
    r[colI::Riga] = n;
    r[colI::DataIncasso] = w_.data(data);
    r[colI::CodLocale] = l.codice;
    r[colI::CodiceAzienda] = a.azienda;
    r[colI::linkscheda] = a.scheda;
    r[colI::LinkApparecchio] = a.prodotto;
    r[colI::CodArticolo] = a.codArticolo;
    r[colI::CatApparecchio] = a.categoria;
    r[colI::Descrizione] =
        a.nomeGioco + " - " + a.codiceInterno + " - " + a.aams + " - " + a.descrizione;
    r[colI::NomeGioco] = a.nomeGioco;
    r[colI::CodiceInterno] = a.codiceInterno;
    if (!a.aams.isEmpty()) r[colI::CodiceAAMS] = a.aams;
    r[colI::TipoIncasso] = a.tipologia;
    if (!a.concessionario.isEmpty()) r[colI::CodConcessionario] = a.concessionario;
    if (!a.contratto.isEmpty()) r[colI::Contratto] = a.contratto;
    r[colI::MoltiplicatoreIn] = a.moltIn;
    r[colI::Moltiplicatoreout] = a.moltOut;
    r[colI::Forzato] = 0;
    r[colI::Chiuso] = 0;
    r[colI::IdChiusura] = 0;
    r[colI::iddata] = w_.istante(data, QTime(18, 30));
    r[colI::idoperatore] = p_.operatore;
    return r;
}

void Storia::nota(Documento& d, const Locale& l, const QDate& data, const Nota& n, bool rigaUnica) {
    int numero = 0;
    for (const Nota::Riga& x : n.righe()) {
        Valori<colR::N> r;
        r[colR::Riga] = rigaUnica ? 1 : ++numero;
        r[colR::Data] = w_.data(data);
        r[colR::CodLocale] = l.codice;
        r[colR::CodConto] = x.conto;
        r[colR::Descrizione] = x.descrizione;
        r[colR::Dare] = E(x.dare);
        r[colR::Avere] = E(x.avere);
        r[colR::iddata] = w_.istante(data, QTime(18, 30));
        r[colR::idoperatore] = p_.operatore;
        d.righe.push_back(std::move(r));
    }
}

void Storia::acconto(Settimana& s, Locale& l, const QDate& data) {
    Documento d;
    d.testata =
        testata(l, w_.nuovoId(), QStringLiteral("ACC"), data, QStringLiteral("Acconto su incasso"));
    Cent totale = 0;
    // One or two machines next to each other in the collection order.
    const int tutti = int(l.apparecchi.size()), primo = rnd_.tra(0, tutti - 1);
    const int quanti = rnd_.tra(1, 2);
    for (int k = 0; k < std::min(quanti, tutti); ++k) {
        Apparecchio& a = l.apparecchi[size_t((primo + k) % tutti)];
        if (!Meter(a)) continue;
        const Cent v = Decine(rnd_, 50, 300);
        a.accontoAperto += v;
        totale += v;
        auto r = riga(l, a, data, int(d.incassi.size()) + 1);
        r[colI::acconti] = E(v);
        d.incassi.push_back(std::move(r));
    }
    if (totale == 0) return;
    d.testata[colT::Acconto] = E(totale);
    d.testata[colT::Chiuso] = 1;
    Nota n;
    NotaAcconto(p_.ruoli, totale, n);
    nota(d, l, data, n, false);
    s.sospesi.push_back(std::move(d));
}

void Storia::refill(Settimana& s, Locale& l, const QDate& data) {
    Documento d;
    d.testata =
        testata(l, w_.nuovoId(), QStringLiteral("REF"), data, QStringLiteral("Refill hopper"));
    Cent totale = 0;
    for (Apparecchio& a : l.apparecchi) {
        if (!Meter(a) || !rnd_.prob(40)) continue;
        const Cent v = Decine(rnd_, 20, 100);
        a.refillAperto += v;
        totale += v;
        auto r = riga(l, a, data, int(d.incassi.size()) + 1);
        r[colI::RefillGestore] = E(v);
        r[colI::VariazioneHopper] = E(v);
        d.incassi.push_back(std::move(r));
    }
    if (totale == 0) return;
    d.testata[colT::RefillNoleggiatore] = E(totale);
    Nota n;
    NotaRefill(p_.ruoli, totale, n);
    nota(d, l, data, n, false);
    s.sospesi.push_back(std::move(d));
}

void Storia::prestito(Locale& l, const QDate& data) {
    // A new loan when none is out, otherwise a repayment of part of it.
    const Cent variazione = l.prestito == 0 ? Cent(rnd_.tra(5, 30)) * 10000
                                            : -std::min(l.prestito, Decine(rnd_, 200, 500));
    l.prestito += variazione;
    Documento d;
    d.testata = testata(l, w_.nuovoId(), QStringLiteral("PRE"), data,
                        QStringLiteral("Variazione prestito locale"));
    d.testata[colT::VarPrestito] = E(variazione);
    Nota n;
    NotaPrestito(p_.ruoli, variazione, n);
    nota(d, l, data, n, true);
    w_.scrivi(d);
}

void Storia::incasso6(Settimana& s, Locale& l, const QDate& data) {
    const qint64 id = w_.nuovoId();
    Documento d;
    d.testata = testata(l, id, QStringLiteral("INC6"), data, QStringLiteral("Incasso settimanale"));
    TotaliIncasso6 tot;
    tot.tasseNoleggiatore = l.incassoTasse.compare(u"Noleggiatore", Qt::CaseInsensitive) == 0;
    tot.terzo = l.terzo;
    std::map<QString, TasseConcessionario> perConcessionario;
    Cent totIn = 0, totOut = 0, preu = 0, aams = 0, rete = 0, quota = 0;
    for (Apparecchio& a : l.apparecchi) {
        if (!Meter(a)) continue;
        const Cent in = a.media * rnd_.tra(60, 140) / 1000 * 10;
        const Cent out =
            in * rnd_.tra(int(a.payout * 1000) - 30, int(a.payout * 1000) + 30) / 10000 * 10;
        const int giorni = int(a.ultimo.daysTo(data));
        const int mese = data.year() * 100 + data.month();
        Macchina6 m{in,
                    out,
                    p_.aliquote,
                    Rete(a.tipoRete, a.percRete, in, giorni, a.meseRete == mese),
                    a.tipoCalcolo,
                    a.percLocale,
                    a.percNoleggiatore,
                    l.terzo};
        a.meseRete = mese;
        const EsitoMacchina6 e = CalcolaMacchina6(m);

        auto r = riga(l, a, data, int(d.incassi.size()) + 1);
        r[colI::VecchioContatoreIN] = a.cntotin;
        r[colI::VecchioContatoreOut] = a.cntotout;
        a.cntotin = Round(a.cntotin + Euro(in), 2);
        a.cntotout = Round(a.cntotout + Euro(out), 2);
        r[colI::ContatoreIN] = a.cntotin;
        r[colI::ContatoreOUT] = a.cntotout;
        r[colI::ParzialeIn] = E(in);
        r[colI::ParzialeOUT] = E(out);
        r[colI::DataVecchioContatore] = w_.data(a.ultimo);
        r[colI::NumGiorniIncasso] = giorni;
        r[colI::PercPreu] = p_.aliquote.preu;
        r[colI::PercAAMS] = p_.aliquote.aams;
        r[colI::TipoRete] = a.tipoRete;
        r[colI::PercRete] = a.percRete;
        r[colI::Preu] = E(e.preu);
        r[colI::AAMS] = E(e.aams);
        r[colI::Rete] = E(e.rete);
        r[colI::Totaletasse] = E(e.tasse());
        for (int h = 0; h < 3; ++h) {
            r[colI::LivelloH1 + h] = a.livelloH[h];
            r[colI::TipoH1 + h] = a.tipoH[h];
            r[colI::HopperOLD1 + h] = a.livelloH[h];
        }
        r[colI::VariazioneHopper] = 0.0;
        r[colI::RefillGestore] = E(a.refillAperto);
        r[colI::RefillLocale] = 0.0;
        r[colI::acconti] = E(a.accontoAperto);
        r[colI::Cassetto] = E(in - out);
        r[colI::Ammanchi] = 0.0;
        r[colI::TipoCalcolo] = a.tipoCalcolo;
        r[colI::PercLocale] = a.percLocale;
        r[colI::PercNoleggiatore] = a.percNoleggiatore;
        r[colI::IncassoVs] = E(e.vs);
        r[colI::IncassoNs] = E(e.ns);
        if (l.terzo) r[colI::QuotaConcess] = E(e.quotaConcess);
        d.incassi.push_back(std::move(r));

        TasseConcessionario& c = perConcessionario[a.concessionario.toUpper()];
        c.codice = a.concessionario;
        c.prefisso = p_.prefissi.value(a.concessionario.toUpper(), QStringLiteral("20.01"));
        c.preu += e.preu;
        c.aams += e.aams;
        c.rete += e.rete;
        c.quotaConcess += e.quotaConcess;
        tot.vs += e.vs;
        tot.ns += e.ns;
        tot.acconti += a.accontoAperto;
        tot.refill += a.refillAperto;
        a.accontoAperto = a.refillAperto = 0;
        a.ultimo = data;
        totIn += in;
        totOut += out;
        preu += e.preu;
        aams += e.aams;
        rete += e.rete;
        quota += e.quotaConcess;
    }
    for (auto& [codice, c] : perConcessionario)
        tot.concessionari.push_back(c);

    // A remainder left unpaid now and then; the one due is paid at the next visit.
    tot.varDebito = l.debito;
    const Cent dovuto = RiscossoIncasso6(tot);
    if (dovuto > 20000 && rnd_.prob(p_.rimanenza)) tot.rimanenza = dovuto / 5 / 1000 * 1000;
    l.debito = l.debito - tot.varDebito + tot.rimanenza;

    Nota n;
    const Cent riscosso = NotaIncasso6(p_.ruoli, tot, n);
    nota(d, l, data, n, false);
    auto& t = d.testata;
    t[colT::Riscosso] = E(riscosso);
    // What was due before the remainders: the panel's theoretical amount.
    const Cent teorico = riscosso - tot.varDebito + tot.rimanenza;
    t[colT::DaRiscuotereTeorica] = E(teorico);
    t[colT::DaRiscuotere] = E(teorico + tot.varDebito);
    t[colT::QuotaNolTeorica] = E(teorico - tot.refill + tot.acconti);
    t[colT::Acconto] = E(tot.acconti);
    t[colT::RefillNoleggiatore] = E(tot.refill);
    t[colT::VarDebito] = E(tot.varDebito);
    t[colT::Rimanenza] = E(tot.rimanenza);
    t[colT::VersatoALocale] = E(tot.vs + (tot.tasseNoleggiatore ? 0 : preu + aams + rete));
    t[colT::UtileLocale] = E(tot.vs);
    t[colT::UtileNoleggiatore] = E(tot.ns);
    t[colT::TotDaDividere] = E(tot.vs + tot.ns);
    t[colT::TotIntrodotto] = E(totIn);
    t[colT::TotUscite] = E(totOut);
    t[colT::TotPreu] = E(preu);
    t[colT::TotAAMS] = E(aams);
    t[colT::TotRete] = E(rete);
    t[colT::TotTasse] = E(preu + aams + rete);
    if (l.terzo) t[colT::QuotaConcessionario] = E(quota);

    // The week's advances and refills are settled by this collection.
    for (Documento& sospeso : s.sospesi) {
        const bool acconto = sospeso.testata[colT::CodCausale].toString() == u"ACC";
        if (acconto) sospeso.testata[colT::idOnda] = id;
        for (auto& r : sospeso.incassi) {
            r[colI::Chiuso] = -1;
            r[colI::IdChiusura] = id;
        }
        w_.scrivi(sospeso);
    }
    s.sospesi.clear();
    w_.scrivi(d);
}

void Storia::incasso(Locale& l, const QDate& data) {
    Documento d;
    d.testata = testata(l, w_.nuovoId(), QStringLiteral("INC"), data,
                        QStringLiteral("Incasso settimanale"));
    Cent cassetto = 0, vs = 0, ns = 0;
    for (Apparecchio& a : l.apparecchi) {
        if (!ACassetto(a)) continue;
        auto r = riga(l, a, data, int(d.incassi.size()) + 1);
        Cent in = 0, out = 0;
        for (ContatoreIsola& c : a.contatori) {
            const Cent soldi = c.media * rnd_.tra(60, 140) / 1000 * 10;
            Valori<colC::N> m;
            m[colC::linkscheda] = a.scheda;
            m[colC::linkcontatore] = c.id;
            m[colC::NumeroContatore] = c.numero;
            m[colC::tipocontatore] = c.entrata ? QStringLiteral("I") : QStringLiteral("U");
            m[colC::moltiplicatore] = c.moltiplicatore;
            m[colC::DataContatore] = w_.data(data);
            m[colC::vecchiocontatore] = c.valore;
            m[colC::DataVecchioContatore] = w_.data(a.ultimo);
            c.valore = Round(c.valore + Euro(soldi) / c.moltiplicatore, 2);
            m[colC::contatore] = c.valore;
            m[colC::ContatoreAttuale] = c.valore;
            m[colC::Parziale] = E(soldi);
            m[colC::iddata] = w_.istante(data, QTime(18, 30));
            m[colC::idoperatore] = p_.operatore;
            d.contatori.push_back(std::move(m));
            (c.entrata ? in : out) += soldi;
        }
        if (a.contatori.empty()) {
            in = a.media * rnd_.tra(60, 140) / 1000 * 10;
            out = in * rnd_.tra(0, 20) / 1000 * 10;
        }
        const EsitoCassetto e = CalcolaCassetto(in, out, a.tipoCalcolo, a.percLocale);
        r[colI::VecchioContatoreIN] = a.cntotin;
        r[colI::VecchioContatoreOut] = a.cntotout;
        a.cntotin = Round(a.cntotin + Euro(in) * a.moltIn, 4);
        a.cntotout = Round(a.cntotout + Euro(out) * a.moltOut, 4);
        r[colI::ContatoreIN] = a.cntotin;
        r[colI::ContatoreOUT] = a.cntotout;
        r[colI::ParzialeIn] = E(in);
        r[colI::ParzialeOUT] = E(out);
        r[colI::DataVecchioContatore] = w_.data(a.ultimo);
        r[colI::NumGiorniIncasso] = int(a.ultimo.daysTo(data));
        r[colI::Cassetto] = E(e.cassetto);
        r[colI::Ammanchi] = 0.0;
        r[colI::acconti] = 0.0;
        r[colI::TipoCalcolo] = a.tipoCalcolo;
        r[colI::PercLocale] = a.percLocale;
        r[colI::PercNoleggiatore] = a.percNoleggiatore;
        r[colI::IncassoVs] = E(e.vs);
        r[colI::IncassoNs] = E(e.ns);
        d.incassi.push_back(std::move(r));
        a.ultimo = data;
        cassetto += e.cassetto;
        vs += e.vs;
        ns += e.ns;
    }
    Nota n;
    const Cent riscosso = NotaIncasso(p_.ruoli, cassetto, n);
    nota(d, l, data, n, false);
    auto& t = d.testata;
    t[colT::Riscosso] = E(riscosso);
    t[colT::DaRiscuotereTeorica] = E(riscosso);
    t[colT::DaRiscuotere] = E(riscosso);
    t[colT::UtileLocale] = E(vs);
    t[colT::UtileNoleggiatore] = E(ns);
    t[colT::TotDaDividere] = E(cassetto);
    t[colT::TotIntrodotto] = E(cassetto);
    w_.scrivi(d);
}

void Storia::genera(Locale& l, int indice) {
    rnd_ = Casuale(p_.seme * 1000003ULL + quint64(indice));
    bool meter = false, cassetto = false;
    for (const Apparecchio& a : l.apparecchi) {
        meter = meter || Meter(a);
        cassetto = cassetto || ACassetto(a);
    }
    for (int k = 0; k < p_.settimane; ++k) {
        const QDate giorno = p_.primo.addDays(7 * k + l.giorno);
        if (l.sospesoDal.isValid() && giorno >= l.sospesoDal) break;
        Settimana s;
        if (meter && k > 0) {
            if (rnd_.prob(p_.acconto)) acconto(s, l, giorno.addDays(-3));
            if (rnd_.prob(p_.refill)) refill(s, l, giorno.addDays(-3));
        }
        if (k > 0 && rnd_.prob(p_.prestito)) prestito(l, giorno.addDays(-2));
        if (meter) incasso6(s, l, giorno);
        if (cassetto) incasso(l, giorno);
    }
}

}  // namespace incassi::schema::gen
