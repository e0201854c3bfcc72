#include "machines/calcolo.h"

#include "bookkeeping/archivio.h"
#include "host/host.h"
#include "values/causali.h"
#include "values/sqlquote.h"
#include "values/values.h"
#include "window/uiport.h"

namespace incassi {

namespace {

// The question about a partial that differs from the meters' one.
QStringList RigheErrore(const char* prima, const QString& inserito, const QString& calcolato) {
    return {QString::fromUtf8(prima), QStringLiteral("Dato Inserito ") + inserito,
            QStringLiteral("Dato Calcolato ") + calcolato, QString(),
            QStringLiteral("SI per confermare il valore inserito, No per confermare il valore "
                           "calcolato, Annulla per forzare")};
}

}  // namespace

bool ContestoCalcolo::causaleE(Causale c) const {
    return CausaleDi(causale) == c;
}

CalcoloRiga::CalcoloRiga(Host& host, UiPort& ui, const ContestoCalcolo& contesto, RecordSet& riga)
    : host_(host), ui_(ui), ctx_(contesto), riga_(riga) {}

Dec CalcoloRiga::cella(const char* col) const {
    return Dec::DaCella(riga_.Value(QLatin1String(col)));
}

void CalcoloRiga::scrivi(const char* col, const Dec& value) {
    riga_.SetValue(QLatin1String(col), value.toDouble());
}

int CalcoloRiga::tipoIncasso() const {
    const auto n = ParseNumero(Txt(riga_.Value(QStringLiteral("TipoIncasso"))));
    return n ? int(*n) : -1;
}

bool CalcoloRiga::tipoE(std::initializer_list<int> codes) const {
    const int t = tipoIncasso();
    for (int c : codes) {
        if (c == t) return true;
    }
    return false;
}

QString CalcoloRiga::testo(const Dec& value) const {
    return TestoNumero(value.toDouble());
}

Risposta CalcoloRiga::chiedi(const QString& titolo, const QStringList& righe) {
    return ui_.Messaggio(righe.join(u'\n'), titolo, Icona::Esclamazione, Pulsanti::SiNoAnnulla);
}

// Meter machines loaded under the meter collection causal: the partial from the
// meters is written when the partial is still 0, and asked about when the
// collector already typed another one. OUT first, then IN.
void CalcoloRiga::parzialiAlCaricamento() {
    if (!ctx_.causaleE(Causale::INC6) || tipoIncasso() != 6) return;
    struct Side {
        const char* contatore;
        const char* vecchio;
        const char* parziale;
        const char* titolo;
        const char* prima;
    } sides[] = {
        {"ContatoreOUT", "VecchioContatoreOut", "ParzialeOUT", "Problema sul contatore OUT",
         "Errore rilevato sul parziale uscite."},
        {"ContatoreIN", "VecchioContatoreIN", "ParzialeIn", "Problema sul contatore IN",
         "Errore rilevato sul parziale introdotto."},
    };
    for (const Side& s : sides) {
        const Dec p = cellaArrotondata(s.contatore) - cellaArrotondata(s.vecchio);
        if (p <= Dec()) continue;
        const Dec typed = cella(s.parziale);
        if (typed == p) continue;
        if (typed.zero()) {
            scrivi(s.parziale, p);
            continue;
        }
        const Risposta answer =
            chiedi(QString::fromUtf8(s.titolo), RigheErrore(s.prima, testo(typed), testo(p)));
        if (answer == Risposta::No) {
            scrivi(s.parziale, p);
        } else if (answer == Risposta::Si) {
            scrivi(s.contatore, cellaArrotondata(s.vecchio) + cellaArrotondata(s.parziale));
        } else {
            riga_.SetValue(QStringLiteral("Forzato"), -1);
        }
    }
}

void CalcoloRiga::contatoreDigitato(Lato lato) {
    const bool in = lato == Lato::In;
    const char* contatore = in ? "ContatoreIN" : "ContatoreOUT";
    const char* vecchio = in ? "VecchioContatoreIN" : "VecchioContatoreOut";
    const char* parziale = in ? "ParzialeIn" : "ParzialeOUT";
    const char* moltiplicatore = in ? "MoltiplicatoreIn" : "Moltiplicatoreout";
    if (cella(contatore).negativo()) scrivi(contatore, Dec());

    const int tipo = tipoIncasso();
    Dec p;
    if (tipo == 6 || tipo == 20) {
        p = cella(contatore) - cella(vecchio);
    } else if (tipo == 7 || tipo == 8 || tipo == 9) {
        p = (cella(contatore) - cella(vecchio)) * cella(moltiplicatore);
    } else {
        return;
    }
    // A meter below the previous reading gives no negative partial.
    if (p.negativo()) p = Dec();
    const Dec typed = cella(parziale);
    if (typed == p) return;
    if (typed.zero()) {
        scrivi(parziale, p);
        return;
    }
    QString titolo;
    QStringList righe;
    if (!in) {
        titolo = QStringLiteral("Problema sul contatore OUT");
        righe = RigheErrore("Errore rilevato sul parziale uscite.", testo(typed), testo(p));
    } else if (tipo == 6) {
        titolo = QStringLiteral("Problema sul contatore IN");
        righe = {
            QStringLiteral("Il sistema ha rilevato un incongruenza sul parziale introdotto."),
            QStringLiteral("Parziale Inserito ") + testo(typed),
            QStringLiteral("Parziale Calcolato ") + testo(p),
            QString(),
            QStringLiteral("Scegliere SI per confermare il parziale inserito :>") + testo(typed),
            QStringLiteral("Scegliere No per confermare il parziale calcolato :>") + testo(p),
            QStringLiteral("Scegliere Annulla per forzare i valori attualmente inseriti nella "
                           "griglia")};
    } else {
        titolo = QStringLiteral("Problema sul contatore IN");
        righe = {
            QStringLiteral("Errore rilevato sul parziale introdotto."),
            QStringLiteral("Parziale In inserito: ") + testo(typed),
            QStringLiteral("Parziale In calcolato: ") + testo(p),
            QString(),
            QStringLiteral("'SI' per confermare il valore parziale inserito -> ") + testo(typed),
            QStringLiteral("'No' per confermare il valore parziale calcolato con il contatore "
                           "inserito -> ") +
                testo(p),
            QStringLiteral("'Annulla' per mantenere il contatore inserito e il parziale "
                           "attuale, verra forzato l'incasso")};
    }
    const Risposta answer = chiedi(titolo, righe);
    if (answer != Risposta::Si && answer != Risposta::No) {
        riga_.SetValue(QStringLiteral("Forzato"), -1);
        return;
    }
    if (answer == Risposta::No) {
        scrivi(parziale, p);
    } else if (tipo == 6 || tipo == 20) {
        scrivi(contatore, cella(vecchio) + typed);
    } else if (!cella(moltiplicatore).zero()) {
        scrivi(contatore, cella(vecchio) + typed / cella(moltiplicatore));
    }
    if (tipo == 6) riga_.SetValue(QStringLiteral("Forzato"), 0);
}

void CalcoloRiga::parzialeDigitato(Lato lato) {
    const bool in = lato == Lato::In;
    const char* contatore = in ? "ContatoreIN" : "ContatoreOUT";
    const char* vecchio = in ? "VecchioContatoreIN" : "VecchioContatoreOut";
    const char* parziale = in ? "ParzialeIn" : "ParzialeOUT";
    const char* moltiplicatore = in ? "MoltiplicatoreIn" : "Moltiplicatoreout";
    // A negative partial is not a collection: it becomes 0 before anything else.
    if (cella(parziale).negativo()) scrivi(parziale, Dec());
    const int tipo = tipoIncasso();
    if (tipo == 6 && in) {
        tasse();
        rete();
    }
    if (Flag(riga_.Value(QStringLiteral("Forzato")))) return;
    const Dec p = cella(parziale), prima = cella(vecchio), m = cella(moltiplicatore);
    if (tipo == 6 || tipo == 20) {
        scrivi(contatore, prima + p);
    } else if (tipo == 7 || tipo == 8 || tipo == 9) {
        if (!m.zero()) scrivi(contatore, prima + p / m);  // no reading for a 0 multiplier
    } else {
        scrivi(contatore, prima + p * m);
    }
}

void CalcoloRiga::tasse() {
    const Dec in = cellaArrotondata("ParzialeIn");
    scrivi("Preu", (in * cellaArrotondata("PercPreu") / 100).arrotonda(2));
    scrivi("AAMS", (in * cellaArrotondata("PercAAMS") / 100).arrotonda(2));
}

void CalcoloRiga::rete() {
    const QString tipo = Txt(riga_.Value(QStringLiteral("TipoRete"))).trimmed();
    if (tipo.compare(u"Percentuale", Qt::CaseInsensitive) == 0) {
        scrivi("Rete",
               (cellaArrotondata("ParzialeIn") * cellaArrotondata("PercRete") / 100).arrotonda(2));
        return;
    }
    if (tipo.compare(u"Fisso", Qt::CaseInsensitive) == 0) {
        scrivi("Rete", (cella("NumGiorniIncasso") * cella("PercRete")).arrotonda(2));
        return;
    }
    // A monthly amount: charged once a month per machine and venue, so a
    // second collection in the month, the same day included, charges nothing;
    // a correction does not count its own stored rows. The first day of the
    // month is computed as a date, never through a regional text.
    const QDate d = ctx_.dataRegistrazione;
    Dec giaAddebitato;
    if (d.isValid()) {
        const qlonglong scheda = qlonglong(Num(riga_.Value(QStringLiteral("linkscheda"))));
        const QDate dal(d.year(), d.month(), 1);
        giaAddebitato =
            ctx_.reteGiaAddebitata
                ? ctx_.reteGiaAddebitata(scheda, dal)
                : Archivio(host_).ReteAddebitata(scheda, ctx_.codLocale, dal, d, ctx_.idDocumento);
    }
    scrivi("Rete", giaAddebitato > Dec() ? Dec() : cellaArrotondata("PercRete"));
}

void CalcoloRiga::variazioneHopper(EventoHopper evento) {
    Dec ora, prima, precedente;
    for (int n = 1; n <= 3; ++n) {
        const QByteArray livello = "LivelloH" + QByteArray::number(n);
        const QByteArray tipo = "TipoH" + QByteArray::number(n);
        const QByteArray vecchio = "HopperOLD" + QByteArray::number(n);
        const Dec moneta = cella(tipo.constData());
        ora += cella(livello.constData()) * moneta;
        prima += cella(vecchio.constData()) * moneta;
        precedente += ctx_.hopperPrecedente[size_t(n - 1)];
    }
    const Dec delta = ora - prima;
    if (evento == EventoHopper::Refill || ctx_.causaleE(Causale::REF)) {
        scrivi("VariazioneHopper", cella("RefillGestore") + cella("RefillLocale"));
        return;
    }
    if (ctx_.causaleE(Causale::RH) && evento == EventoHopper::AmmancoDigitato) {
        scrivi("VariazioneHopper", delta + cella("Ammanchi"));
        return;
    }
    if (ctx_.causaleE(Causale::RH) && evento == EventoHopper::VariazioneDigitata) {
        scrivi("Ammanchi", cella("VariazioneHopper") - delta);
        return;
    }
    if (ctx_.causaleE(Causale::CH) || ctx_.causaleE(Causale::RH) || ctx_.causaleE(Causale::INC6) ||
        ctx_.causaleE(Causale::FUR)) {
        if (ctx_.tipologiaIncasso == 10) {
            scrivi("Ammanchi", delta - cella("VariazioneHopper"));  // the variation is typed
        } else {
            scrivi("VariazioneHopper", delta);
            scrivi("Ammanchi", Dec());
        }
        return;
    }
    scrivi("VariazioneHopper", ora - precedente);
}

void CalcoloRiga::cambiamonete(EventoCambiamonete evento) {
    const Dec flussi = cella("MonetaAggiunta") + cella("BanconoteAggiunte") -
                       cella("BanconoteRitirate") - cella("MonetaRitirata");
    const Dec rimasto = cella("LivelloH3");  // money left in the machine
    switch (evento) {
        case EventoCambiamonete::Flussi:
            scrivi("VariazioneHopper", flussi);
            scrivi("Cassetto", flussi + rimasto);
            scrivi("Ammanchi", Dec());
            break;
        case EventoCambiamonete::VariazioneDigitata:
            scrivi("Cassetto", cella("VariazioneHopper") + rimasto);
            scrivi("Ammanchi", Dec());
            break;
        case EventoCambiamonete::AmmancoDigitato:
            scrivi("VariazioneHopper", cella("Cassetto") - rimasto + cella("Ammanchi"));
            break;
        case EventoCambiamonete::CassettoDigitato:
            scrivi("Ammanchi", flussi + rimasto - cella("Cassetto"));
            break;
    }
}

void CalcoloRiga::gettoni() {
    scrivi("Cassetto", cella("Gettoni") * cella("ValoreGettone"));
}

void CalcoloRiga::cassettoAtteso() {
    const Dec in = cella("ParzialeIn"), out = cella("ParzialeOUT"), rg = cella("RefillGestore"),
              rl = cella("RefillLocale"), vh = cella("VariazioneHopper"), acc = cella("acconti");
    const int tipo = tipoIncasso();
    const bool furto = ctx_.causaleE(Causale::FUR);
    Dec cassetto;
    if (tipo == 13) {
        const bool utile = Txt(riga_.Value(QStringLiteral("TipoCalcolo")))
                               .trimmed()
                               .compare(u"Utile", Qt::CaseInsensitive) == 0;
        cassetto = utile ? in - acc - out : in - acc;
    } else if (tipo == 9) {
        cassetto = in - acc;
    } else if (tipo == 8) {
        cassetto = in - out;
    } else if (tipo == 20) {
        cassetto = (in * cella("MoltiplicatoreIn") - out * cella("Moltiplicatoreout")).arrotonda(2);
    } else if (ctx_.tipologiaIncasso == 10) {
        cassetto = in - out + rg + rl;
        if (ctx_.causaleE(Causale::CH) || ctx_.causaleE(Causale::RH)) cassetto -= vh;
    } else if (ctx_.tipologiaIncasso == 3 || ctx_.tipologiaIncasso == 4 || furto) {
        cassetto = in - out + rg + rl - vh - acc;
    } else {
        cassetto = in - out + rg + rl - acc;
    }
    scrivi("Cassetto", cassetto);
    if (furto) scrivi("Furti", cassetto);
}

void CalcoloRiga::ammancoDaCassetto() {
    const Dec in = cella("ParzialeIn");
    if (tipoE({6, 7, 8})) {
        const Dec atteso = in - cella("ParzialeOUT") + cella("RefillGestore") +
                           cella("RefillLocale") - cella("VariazioneHopper") - cella("acconti");
        scrivi("Ammanchi", atteso - cella("Cassetto"));
    } else if (tipoE({9})) {
        scrivi("Ammanchi", in - cella("Cassetto"));
    } else if (tipoE({2})) {
        cambiamonete(EventoCambiamonete::CassettoDigitato);
    }
}

void CalcoloRiga::ripartizione() {
    const QString metodo = Txt(riga_.Value(QStringLiteral("TipoCalcolo"))).trimmed();
    auto is = [&](const char* m) {
        return metodo.compare(QLatin1String(m), Qt::CaseInsensitive) == 0;
    };
    const Dec pl = cella("PercLocale");
    if (tipoIncasso() == 6) {
        const Dec in = cella("ParzialeIn"), out = cella("ParzialeOUT");
        const Dec tasse = cella("Preu") + cella("AAMS") + cella("Rete");
        scrivi("Totaletasse", tasse);
        const Dec utile = in - out - tasse;
        if (is("Utile")) {
            const Dec x = (utile * pl / 100).arrotonda(2);
            scrivi("IncassoVs", x);
            scrivi("IncassoNs", utile - x);
        } else if (is("Introdotto Nolegg.")) {
            const Dec x = (in * pl / 100).arrotonda(2);
            scrivi("IncassoVs", utile - x);
            scrivi("IncassoNs", x);
        } else if (is("Introdotto Locale")) {
            const Dec x = (in * pl / 100).arrotonda(2);
            scrivi("IncassoVs", x);
            scrivi("IncassoNs", utile - x);
        } else if (is("Fisso Mensile +Tasse")) {
            scrivi("IncassoVs", utile);
            scrivi("IncassoNs", Dec());
        } else if (is("Lordo")) {
            const Dec x = ((in - out) * pl / 100).arrotonda(2);
            scrivi("IncassoVs", x);
            scrivi("IncassoNs", (utile - x).arrotonda(2));
        }
        return;
    }
    if (tipoE({0, 1, 15, 7, 8, 9, 13, 20})) {
        const Dec cassetto = cella("Cassetto");
        const Dec x = (cassetto * pl / 100).arrotonda(2);
        const Dec resto = cassetto - x;
        if (is("Utile") || is("Lordo") || is("Introdotto Locale") || is("Fisso Mensile +Tasse")) {
            scrivi("IncassoVs", x);
            scrivi("IncassoNs", resto.arrotonda(2));
        } else if (is("Introdotto Nolegg.")) {
            scrivi("IncassoVs", resto.arrotonda(2));
            scrivi("IncassoNs", x);
        }
    }
}

void CalcoloRiga::terzoGestore() {
    if (!ctx_.terzoGestore) return;
    const Dec perc = cella("PercNoleggiatore");
    if (perc.zero()) return;
    const Dec in = cella("ParzialeIn");
    const Dec ns = (in * perc / 100).arrotonda(2);
    scrivi("IncassoNs", ns);
    if (!ctx_.vistaConQuotaConcess || !riga_.HasField(QStringLiteral("QuotaConcess"))) {
        ui_.Messaggio(
            QStringLiteral("Attenzione! per usare correttamente la funzione di calcolo per il "
                           "terzo gestore è necessario ricreare la vista personalizzata in "
                           "quanto mancano una serie di campi fondamentali."),
            QStringLiteral("Ricreare Vista Personalizzata!"), Icona::Esclamazione);
        return;
    }
    scrivi("QuotaConcess", in - cella("ParzialeOUT") - ns - cella("IncassoVs"));
}

void CalcoloRiga::calcolaAlCaricamento() {
    if (ctx_.causaleE(Causale::INC6)) {
        parzialiAlCaricamento();
        if (tipoIncasso() == 6) {
            tasse();
            rete();
        }
        cassettoAtteso();
    }
    ripartizione();
    terzoGestore();
}

}  // namespace incassi
