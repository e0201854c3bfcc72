#include "bookkeeping/movimenti.h"

#include "host/host.h"
#include "values/causali.h"
#include "values/sqlquote.h"
#include "values/values.h"

namespace incassi {

namespace {

// The debit-side and credit-side writers as movements.
Movimento D(const QString& conto, const char* descrizione, const Dec& importo) {
    return {conto, QString::fromUtf8(descrizione), importo};
}
Movimento A(const QString& conto, const char* descrizione, const Dec& importo) {
    return {conto, QString::fromUtf8(descrizione), -importo};
}

// A gain or a loss on a pair of accounts: the loss (positive) on the first as a
// debit, the gain (negative) on the second as a credit; the other row goes.
void Coppia(std::vector<Movimento>& m, const QString& perdita, const char* descrPerdita,
            const QString& guadagno, const char* descrGuadagno, const Dec& importo) {
    m.push_back(D(perdita, descrPerdita, importo.negativo() ? Dec() : importo));
    m.push_back(D(guadagno, descrGuadagno, importo.negativo() ? importo : Dec()));
}

void Tasse(std::vector<Movimento>& m, const ValoriPannello& v,
           const std::vector<TasseConcessionario>& tasse) {
    for (const TasseConcessionario& t : tasse) {
        if (v.tasseNoleggiatore) {
            m.push_back({t.prefisso + QStringLiteral(".01"),
                         QStringLiteral("PREU su incasso ") + t.nome, -t.preu});
            m.push_back({t.prefisso + QStringLiteral(".02"),
                         QStringLiteral("AAMS su incasso ") + t.nome, -t.aams});
            m.push_back({t.prefisso + QStringLiteral(".03"),
                         QStringLiteral("RETE su incasso ") + t.nome, -t.rete});
        }
        // The holder's net share of a third-manager venue: owed to the holder.
        const Dec quota = v.terzoGestore ? t.quota - (t.preu + t.aams + t.rete) : Dec();
        m.push_back({t.prefisso + QStringLiteral(".04"), QStringLiteral("Debito/Credito ") + t.nome,
                     -quota});
    }
}

// Rows shared by the collections of ordinary and networked machines: debt,
// loan, rounding, theft and shortage.
void Comuni(std::vector<Movimento>& m, const ValoriPannello& v, const ContiAssociati& c) {
    m.push_back(A(c["ResiduiIncassi"], "Variazione Debito Incasso", v.varDebito - v.rimanenza));
    m.push_back(D(c["PrestitiALocale"], "Variazione Prestito", v.varPrestito));
    Coppia(m, c["arrotondamentiPassivi"], "Arrotondamenti passivi", c["arrotondamentiAttivi"],
           "Arrotondamenti attivi", v.arrotondamenti);
}

void FurtiAmmanchi(std::vector<Movimento>& m, const ValoriPannello& v, const ContiAssociati& c) {
    m.push_back(D(c["Furti"], "Furto", v.furtoNoleggiatore));
    Coppia(m, c["Ammanchi"], "Ammanchi", c["eccedenza"], "Eccedenza", v.ammancoNoleggiatore);
}

}  // namespace

ContiAssociati ContiAssociati::Da(RecordSet& tabella) {
    ContiAssociati c;
    if (tabella.Eof() && tabella.Bof()) return c;
    tabella.MoveFirst();
    if (tabella.Eof()) return c;
    for (int i = 0; i < tabella.FieldCount(); ++i) {
        c.imposta(tabella.Field(i).name, Txt(tabella.Value(i)).trimmed());
    }
    return c;
}

ContiAssociati ContiAssociati::Leggi(Host& host) {
    auto rs = host.OpenRecordSet(QStringLiteral("select * from TabAssociazioneConti"));
    return Da(*rs);
}

std::vector<TasseConcessionario> TasseDaRighe(Host& host, RecordSet& righe) {
    std::vector<TasseConcessionario> out;
    const int posizione = righe.AbsolutePosition();
    for (righe.MoveFirst(); !righe.Eof(); righe.MoveNext()) {
        const QString codice = Txt(righe.Value(QStringLiteral("CodConcessionario"))).trimmed();
        auto it = std::find_if(out.begin(), out.end(), [&](const TasseConcessionario& t) {
            return t.codice.compare(codice, Qt::CaseInsensitive) == 0;
        });
        if (it == out.end()) {
            out.push_back({codice, codice, QStringLiteral("20.01"), {}, {}, {}, {}});
            it = out.end() - 1;
        }
        it->preu += Dec::DaCella(righe.Value(QStringLiteral("preu")));
        it->aams += Dec::DaCella(righe.Value(QStringLiteral("aams")));
        it->rete += Dec::DaCella(righe.Value(QStringLiteral("rete")));
        if (righe.HasField(QStringLiteral("QuotaConcess"))) {
            it->quota += Dec::DaCella(righe.Value(QStringLiteral("QuotaConcess")));
        }
    }
    if (posizione > 0) righe.SetAbsolutePosition(posizione);
    for (TasseConcessionario& t : out) {
        auto rs = host.OpenRecordSet(
            QStringLiteral("Select * from anagraficaconcessionari where codiceConcessionario='%1'")
                .arg(sql::Raddoppia(t.codice)));
        if (rs->Eof()) continue;
        const QString prefisso = Txt(rs->Value(QStringLiteral("CodiceConto"))).trimmed();
        if (!prefisso.isEmpty()) t.prefisso = prefisso;
        for (const char* campo : {"RagioneSociale", "Descrizione"}) {
            const QString nome = rs->HasField(QLatin1String(campo))
                                     ? Txt(rs->Value(QLatin1String(campo))).trimmed()
                                     : QString();
            if (!nome.isEmpty()) {
                t.nome = nome;
                break;
            }
        }
    }
    return out;
}

std::vector<Movimento> MovimentiDocumento(const ValoriPannello& v, const ContiAssociati& c,
                                          const std::vector<TasseConcessionario>& tasse) {
    std::vector<Movimento> m;
    if (v.causaleE(Causale::REF)) {
        Dec r = v.refillNoleggiatore;
        if (v.tipologia == 10) r += v.refillLocale;
        m.push_back(A(c["cassa"], "Refill Hopper", r));
        m.push_back(D(c["CassaRefill"], "Carico Hopper (Refill)", r));
        return m;
    }
    if (v.causaleE(Causale::ACC) || v.causaleE(Causale::ACL)) {
        // An advance document writes its own rows only: the collection rows would
        // rewrite the same accounts.
        const bool locale = v.causaleE(Causale::ACL);
        const Dec acconto = locale ? v.accontoLocaleDocumento : v.accontoDocumento;
        const QString conto =
            v.remoto ? c["ClientiAbituali"] : c[locale ? "cassaaccontilocale" : "cassaacconti"];
        m.push_back(
            A(conto, v.remoto ? "Acconto su incasso Remoto" : "Acconto su incasso", acconto));
        m.push_back(D(c["cassa"], "Cassa acconto su incasso", v.denaroAcasa));
        m.push_back(D(c["ClientiAbituali"], "Anticipo su incasso", v.anticipoLocale));
        return m;
    }
    if (v.causaleE(Causale::CH) || v.causaleE(Causale::RH)) {
        m.push_back(A(c["cassa"], "Modifica livelli Hopper", v.variazioneHopper));
        m.push_back(
            D(c["CassaHopper"], "Carico Hopper", v.variazioneHopper - v.ammancoNoleggiatore));
        Coppia(m, c["Ammanchi"], "Ammanchi", c["eccedenza"], "Eccedenza", v.ammancoNoleggiatore);
        return m;
    }
    if (v.causaleE(Causale::INC)) {
        m.push_back(D(c["cassa"], "Incasso su locale", v.riscosso));
        m.push_back(D(c["cassaacconti"], "Incasso su locale (storno acconti)", v.acconto));
        m.push_back(
            D(c["cassaaccontilocale"], "Incasso (storno acconti su locale)", v.accontoLocale));
        m.push_back(A(c["CassaRefill"], "Refill Gestore", v.refillNoleggiatore));
        m.push_back(A(c["UtiliAltriApparecchi"], "Utile Incasso",
                      v.attesaFatture ? v.utileNoleggiatore : v.totDaDividere));
        // The venue's profit is owed to the venue until its invoice: a credit.
        m.push_back(A(c["ClientiContoFatture"], "Clienti conto Fatture",
                      v.attesaFatture ? v.utileLocale : Dec()));
        Comuni(m, v, c);
        FurtiAmmanchi(m, v, c);
        return m;
    }
    if (v.causaleE(Causale::INC6) || v.causaleE(Causale::FUR)) {
        m.push_back(D(c["cassa"], "Incasso su locale", v.riscosso));
        m.push_back(D(c["cassaacconti"], "Incasso (storno acconti apparecchi)", v.acconto));
        m.push_back(
            D(c["cassaaccontilocale"], "Incasso (storno acconti su locale)", v.accontoLocale));
        if (!v.secondaVariante()) {
            m.push_back(A(c["CassaRefill"], "Refill Gestore", v.refillNoleggiatore));
            m.push_back(A(c["utiliNewSlot"], "Utile Newslot Incasso", v.utileNoleggiatore));
            Comuni(m, v, c);
        } else {
            m.push_back(A(c["CassaRefill"], "Refill Gestore", v.refillNoleggiatore));
            m.push_back(A(c["CassaRefill"], "Refill Locale", v.refillLocale));
            m.push_back(A(c["utiliNewSlot"], "Utile Newslot Incasso", v.utileLocale));
            m.push_back(
                A(QStringLiteral("20.01.04"), "Debito Verso Noleggiatore", v.utileNoleggiatore));
        }
        m.push_back(D(c["CassaHopper"], "Variazione Hopper", v.variazioneHopper));
        Tasse(m, v, tasse);
        FurtiAmmanchi(m, v, c);
    }
    return m;
}

std::vector<Movimento> MovimentiCambiamonete(const ContiAssociati& c, const Dec& flussi,
                                             const Dec& ammanchi) {
    // Coins and notes put into the machine leave the cash for its hoppers; a
    // shortage is the part of them the machine does not hold.
    std::vector<Movimento> m;
    m.push_back(A(c["cassa"], "Variazione cambiamonete", flussi));
    m.push_back(D(c["CassaHopperCambiam"], "Variazione Hopper Cambiamonete", flussi - ammanchi));
    Coppia(m, c["Ammanchi"], "Ammanchi cambiamonete", c["eccedenza"], "Eccedenza", ammanchi);
    return m;
}

}  // namespace incassi
