#include "schema/generatore_denaro.h"

#include "host/database.h"
#include "values/dec.h"
#include "values/error.h"
#include "values/values.h"

namespace incassi::schema::gen {

Cent Quota(Cent base, double perc) {
    const Dec v = Dec::DaDouble(double(base)) * Dec::DaDouble(perc) / Dec(100);
    return Cent(v.arrotonda(0).toDouble());
}

Ruoli LeggiRuoli(Database& db) {
    const auto q =
        db.queryNative(QStringLiteral("SELECT cassa, CassaRefill, cassaacconti, utiliNewSlot, "
                                      "UtiliAltriApparecchi, ResiduiIncassi, PrestitiALocale "
                                      "FROM TabAssociazioneConti"),
                       {});
    if (q.rows.empty()) throw Errore(QStringLiteral("TabAssociazioneConti è vuota."));
    const auto& v = q.rows[0];
    return {Txt(v[0]), Txt(v[1]), Txt(v[2]), Txt(v[3]), Txt(v[4]), Txt(v[5]), Txt(v[6])};
}

Aliquote LeggiAliquote(Database& db) {
    const auto q = db.queryNative(
        QStringLiteral("SELECT percentualepreu, percentualeAAMS FROM anagraficaTasse "
                       "WHERE attiva<>0 ORDER BY DataInizio DESC"),
        {});
    if (q.rows.empty()) throw Errore(QStringLiteral("Nessuna aliquota PREU/AAMS attiva."));
    return {Round(q.rows[0][0].toDouble(), 2), Round(q.rows[0][1].toDouble(), 2)};
}

void Nota::dare(const QString& conto, const QString& descrizione, Cent importo) {
    if (importo == 0) return;
    for (Voce& v : voci_) {
        if (v.conto.compare(conto, Qt::CaseInsensitive) == 0) {
            v.saldo += importo;
            return;
        }
    }
    voci_.push_back({conto, descrizione, importo});
}

void Nota::avere(const QString& conto, const QString& descrizione, Cent importo) {
    dare(conto, descrizione, -importo);
}

std::vector<Nota::Riga> Nota::righe() const {
    std::vector<Riga> out;
    for (const Voce& v : voci_) {
        if (v.saldo > 0) out.push_back({v.conto, v.descrizione, v.saldo, 0});
        if (v.saldo < 0) out.push_back({v.conto, v.descrizione, 0, -v.saldo});
    }
    return out;
}

namespace {

// The venue's part by split method; the operator takes the rest of the profit.
Cent ParteLocale(const QString& tipo, Cent utile, Cent in, Cent inMenoOut, double pl) {
    if (tipo.compare(u"Utile", Qt::CaseInsensitive) == 0) return Quota(utile, pl);
    if (tipo.compare(u"Introdotto Locale", Qt::CaseInsensitive) == 0) return Quota(in, pl);
    if (tipo.compare(u"Introdotto Nolegg.", Qt::CaseInsensitive) == 0) {
        return utile - Quota(in, pl);
    }
    if (tipo.compare(u"Lordo", Qt::CaseInsensitive) == 0) return Quota(inMenoOut, pl);
    return utile;  // "Fisso Mensile +Tasse": the whole net goes to the venue
}

}  // namespace

EsitoMacchina6 CalcolaMacchina6(const Macchina6& m) {
    EsitoMacchina6 e;
    e.preu = Quota(m.in, m.aliquote.preu);
    e.aams = Quota(m.in, m.aliquote.aams);
    e.rete = m.rete;
    const Cent utile = m.in - m.out - e.tasse();
    e.vs = ParteLocale(m.tipoCalcolo, utile, m.in, m.in - m.out, m.percLocale);
    e.ns = utile - e.vs;
    if (m.terzo && m.percNoleggiatore != 0) {
        e.ns = Quota(m.in, m.percNoleggiatore);
        e.quotaConcess = m.in - m.out - e.ns - e.vs;
    }
    return e;
}

EsitoCassetto CalcolaCassetto(Cent in, Cent out, const QString& tipoCalcolo, double percLocale) {
    EsitoCassetto e;
    e.cassetto = in - out;
    const Cent x = Quota(e.cassetto, percLocale);
    const bool inverso = tipoCalcolo.compare(u"Introdotto Nolegg.", Qt::CaseInsensitive) == 0;
    e.vs = inverso ? e.cassetto - x : x;
    e.ns = e.cassetto - e.vs;
    return e;
}

Cent Rete(const QString& tipoRete, double valore, Cent in, int giorni, bool meseGiaPagato) {
    if (tipoRete.compare(u"Percentuale", Qt::CaseInsensitive) == 0) return Quota(in, valore);
    // Quota(10000, v) is v euro in cents.
    if (tipoRete.compare(u"Fisso", Qt::CaseInsensitive) == 0) return Quota(giorni * 10000, valore);
    return meseGiaPagato ? 0 : Quota(10000, valore);
}

Cent RiscossoIncasso6(const TotaliIncasso6& t) {
    Cent tasse = 0, quotaNetta = 0;
    for (const TasseConcessionario& c : t.concessionari) {
        if (t.tasseNoleggiatore) tasse += c.preu + c.aams + c.rete;
        if (t.terzo) quotaNetta += c.quotaConcess - (c.preu + c.aams + c.rete);
    }
    return t.ns + tasse + t.refill - t.acconti + t.varDebito - t.rimanenza + quotaNetta;
}

Cent NotaIncasso6(const Ruoli& r, const TotaliIncasso6& t, Nota& nota) {
    const Cent riscosso = RiscossoIncasso6(t);
    nota.dare(r.cassa, QStringLiteral("Incasso su locale"), riscosso);
    nota.dare(r.cassaAcconti, QStringLiteral("Incasso (storno acconti apparecchi)"), t.acconti);
    nota.avere(r.cassaRefill, QStringLiteral("Refill Gestore"), t.refill);
    nota.avere(r.utiliNewSlot, QStringLiteral("Utile Newslot Incasso"), t.ns);
    nota.avere(r.residui, QStringLiteral("Variazione Debito Incasso"), t.varDebito - t.rimanenza);
    for (const TasseConcessionario& c : t.concessionari) {
        if (t.tasseNoleggiatore) {
            nota.avere(c.prefisso + ".01", "PREU su incasso " + c.codice, c.preu);
            nota.avere(c.prefisso + ".02", "AAMS su incasso " + c.codice, c.aams);
            nota.avere(c.prefisso + ".03", "RETE su incasso " + c.codice, c.rete);
        }
        if (t.terzo) {
            nota.avere(c.prefisso + ".04", "Debito/Credito " + c.codice,
                       c.quotaConcess - (c.preu + c.aams + c.rete));
        }
    }
    return riscosso;
}

Cent NotaIncasso(const Ruoli& r, Cent totaleDaDividere, Nota& nota) {
    nota.dare(r.cassa, QStringLiteral("Incasso su locale"), totaleDaDividere);
    nota.avere(r.utiliAltri, QStringLiteral("Utile Incasso"), totaleDaDividere);
    return totaleDaDividere;
}

void NotaAcconto(const Ruoli& r, Cent acconto, Nota& nota) {
    nota.avere(r.cassaAcconti, QStringLiteral("Acconto su incasso"), acconto);
    nota.dare(r.cassa, QStringLiteral("Cassa acconto su incasso"), acconto);
}

void NotaRefill(const Ruoli& r, Cent refill, Nota& nota) {
    nota.avere(r.cassa, QStringLiteral("Refill Hopper"), refill);
    nota.dare(r.cassaRefill, QStringLiteral("Carico Hopper (Refill)"), refill);
}

void NotaPrestito(const Ruoli& r, Cent variazione, Nota& nota) {
    nota.avere(r.cassa, QStringLiteral("Cassa prestiti"), variazione);
    nota.dare(r.prestiti, QStringLiteral("Variazione prestito al locale"), variazione);
}

}  // namespace incassi::schema::gen
