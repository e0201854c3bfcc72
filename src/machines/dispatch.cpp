#include "machines/dispatch.h"

#include <QSet>

#include "values/causali.h"
#include "values/values.h"

namespace incassi {

void DopoModificaCella(CalcoloRiga& calcolo, RecordSet& riga, const ContestoCalcolo& ctx,
                       const QString& colonna, const AzioniGriglia& azioni) {
    if (IsNullOrEmpty(riga.Value(QStringLiteral("linkscheda")))) {
        if (azioni.caricaApparecchi) azioni.caricaApparecchi();
        return;
    }
    const QString col = colonna.trimmed();
    // Change machines under their own causal keep the cash box their flows
    // give: the expected cash box of the other machines does not apply.
    const bool cambiamonete = ctx.causaleE(Causale::CAM) && calcolo.tipoIncasso() == 2;
    bool cassa = false, ripartizione = false;

    if (CodiceTra(col, {"DataVecchioContatore"})) {
        const QDate prima = riga.Value(QStringLiteral("DataVecchioContatore")).toDate();
        if (prima.isValid() && ctx.dataRegistrazione.isValid()) {
            riga.SetValue(QStringLiteral("NumGiorniIncasso"), prima.daysTo(ctx.dataRegistrazione));
        }
    } else if (CodiceTra(col, {"ParzialeIn"})) {
        calcolo.parzialeDigitato(Lato::In);
        cassa = ripartizione = true;
    } else if (CodiceTra(col, {"ParzialeOUT"})) {
        calcolo.parzialeDigitato(Lato::Out);
        cassa = ripartizione = true;
    } else if (CodiceTra(col, {"ContatoreIn"})) {
        calcolo.contatoreDigitato(Lato::In);
        if (calcolo.tipoIncasso() == 6) {
            calcolo.tasse();
            calcolo.rete();
        }
        cassa = ripartizione = true;
    } else if (CodiceTra(col, {"ContatoreOUT"})) {
        calcolo.contatoreDigitato(Lato::Out);
        cassa = ripartizione = true;
    } else if (CodiceTra(col, {"RefillGestore", "RefillLocale"})) {
        if (ctx.causaleE(Causale::REF)) calcolo.variazioneHopper(EventoHopper::Refill);
        cassa = true;
    } else if (CodiceTra(col, {"Ammanchi"})) {
        if (ctx.causaleE(Causale::CAM)) {
            calcolo.cambiamonete(EventoCambiamonete::AmmancoDigitato);
        } else if (ctx.causaleE(Causale::RH)) {
            calcolo.variazioneHopper(EventoHopper::AmmancoDigitato);
        }
        cassa = true;
    } else if (CodiceTra(col, {"VariazioneHopper"})) {
        if (ctx.causaleE(Causale::CAM)) {
            calcolo.cambiamonete(EventoCambiamonete::VariazioneDigitata);
        } else if (ctx.causaleE(Causale::RH)) {
            calcolo.variazioneHopper(EventoHopper::VariazioneDigitata);
        }
        cassa = true;
    } else if (CodiceTra(col, {"MonetaAggiunta", "BanconoteAggiunte", "BanconoteRitirate",
                               "MonetaRitirata"})) {
        calcolo.cambiamonete(EventoCambiamonete::Flussi);
    } else if (CodiceTra(col, {"Acconti"})) {
        cassa = true;
    } else if (CodiceTra(col, {"Cassetto"})) {
        calcolo.ammancoDaCassetto();
        ripartizione = true;
    } else if (CodiceTra(col, {"Rete"})) {
        ripartizione = true;
        cassa = true;  // after the split
    } else if (CodiceTra(col, {"Gettoni"})) {
        calcolo.gettoni();
        ripartizione = true;
    } else if (CodiceTra(col, {"LivelloH1", "LivelloH2", "LivelloH3", "TipoH1", "TipoH2", "TipoH3",
                               "HopperOLD1", "HopperOLD2", "HopperOLD3"})) {
        calcolo.variazioneHopper(EventoHopper::Livelli);
        cassa = true;
    }

    const bool retePrima = CodiceTra(col, {"Rete"});
    if (cassa && !retePrima && !cambiamonete) calcolo.cassettoAtteso();
    if (ripartizione) {
        calcolo.ripartizione();
        calcolo.terzoGestore();
    }
    if (cassa && retePrima && !cambiamonete) calcolo.cassettoAtteso();
}

bool ColonnaNumerica(const QString& colonna) {
    static const QSet<QString> numeriche = [] {
        QSet<QString> s;
        for (const char* n :
             {"parzialeIn", "parzialeOut", "ContatoreIN", "ContatoreOut", "ContatoreMec1",
              "ContatoreMec2", "livelloh1", "livelloh2", "livelloh3", "TipoH1", "TipoH2", "TipoH3",
              "PercPreu", "PercAAms", "PercRete", "Gettoni", "ValoreGettone", "preu", "aams",
              "rete", "IncassoNs", "IncassoVs", "RefillLocale", "RefillGestore", "Ammanchi",
              "Acconti", "Furti", "Cassetto", "percLocale", "percNoleggiatore",
              "VecchioContatoreIn", "VecchioContatoreOut", "MonetaAggiunta", "BanconoteAggiunte",
              "BanconoteRitirate", "MonetaRitirata", "HopperOLD1", "HopperOLD2", "HopperOLD3",
              "TotaleTasse",
              // The island meters' window.
              "ContatoreAttuale", "Parziale", "Moltiplicatore", "VecchioContatore"}) {
            s.insert(QString::fromLatin1(n).toLower());
        }
        return s;
    }();
    return numeriche.contains(colonna.trimmed().toLower());
}

QChar TastoNellaColonna(const QString& colonna, QChar tasto) {
    return tasto == u'.' && ColonnaNumerica(colonna) ? QChar(u',') : tasto;
}

}  // namespace incassi
