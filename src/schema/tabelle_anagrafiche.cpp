// Lookup lists and configuration: chart of accounts, causal codes, account
// roles, collection types, taxes, defaults, companies, stores, categories.

#include "schema/schema.h"

namespace incassi::schema {

namespace {

// A list of codes with a description, indexed by its code.
Tabella Elenco(const QString& nome, const QString& codice, int lunghezza, bool unico = true) {
    return {
        nome,
        {Codice(codice, lunghezza), Testo("Descrizione", 255)},
        {{nome + "_codice", {codice}, unico}},
    };
}

Tabella PianoConti() {
    return {
        "AnagraficaPianoConti",
        {
            Codice("CodiceConto"),  // "01.01.09": groups of two digits
            Testo("Descrizione", 255),
        },
        {Unico("AnagraficaPianoConti_codice", {"CodiceConto"})},
    };
}

Tabella Causali() {
    return {
        "AnagraficaCausali",
        {
            Codice("codiceCausale", 10), Testo("Descrizione", 255),
            Intero("tipovideata"),  // which grid tab the collection window shows
        },
        {Unico("AnagraficaCausali_codice", {"codiceCausale"})},
    };
}

Tabella AssociazioneConti() {
    // One row; each column holds the account playing that role.
    QStringList ruoli = {
        "cassa",
        "CassaRefill",
        "CassaHopper",
        "CassaHopperCambiam",
        "cassaacconti",
        "cassaaccontilocale",
        "eccedenza",
        "Ammanchi",
        "Furti",
        "UtiliAltriApparecchi",
        "utiliNewSlot",
        "ClientiContoFatture",
        "ClientiAbituali",
        "arrotondamentiPassivi",
        "arrotondamentiAttivi",
        "PrestitiALocale",
        "ResiduiIncassi",
    };
    Tabella t{"TabAssociazioneConti", {}, {}};
    for (const QString& r : ruoli)
        t.colonne.push_back(Codice(r));
    return t;
}

Tabella Tipologie() {
    return {
        "incassoTipologia",
        {
            Intero("Codice"),
            Testo("Descrizione", 100),
        },
        {Unico("incassoTipologia_codice", {"Codice"})},
    };
}

Tabella Tasse() {
    return {
        "anagraficaTasse",
        {
            Testo("Descrizione", 100),
            Data("DataInizio"),
            Flag("attiva"),
            Importo("percentualepreu"),  // percentages: 13 means 13 %
            Importo("percentualeAAMS"),
        },
        {Idx("anagraficaTasse_attiva", {"attiva"})},
    };
}

Tabella Default() {
    return {
        "DefaultIncassi",
        {
            Testo("tipoincasso", 30),  // split method, as TipoCalcolo
            Importo("valoreperc"),
        },
        {},
    };
}

Tabella Aziende() {
    return {
        "anagraficaaziende",
        {
            Codice("CodiceAzienda"),
            Testo("Descrizione", 255),
            Intero("ordine"),
        },
        {Unico("anagraficaaziende_codice", {"CodiceAzienda"})},
    };
}

Tabella Magazzini() {
    return {
        "anagraficamagazzini",
        {
            Codice("codicemagazzino"),
            Testo("Descrizione", 255),
        },
        {Unico("anagraficamagazzini_codice", {"codicemagazzino"})},
    };
}

Tabella CategorieApparecchi() {
    return {
        "ANAGcategorieapparecchi",
        {
            Codice("Codice", 30),
            Testo("Descrizione", 255),
            Intero("ordine"),
        },
        {Unico("ANAGcategorieapparecchi_codice", {"Codice"})},
    };
}

Tabella StatoPrenotazione() {
    return {
        "statoprenotazione",
        {
            Codice("statoprenotazione", 30),
            Testo("Descrizione", 255),
        },
        {Unico("statoprenotazione_codice", {"statoprenotazione"})},
    };
}

Tabella Configurazioni() {
    return {
        "Zconfigurazioni",
        {
            Flag("HoppergestitoDaCassa"),
        },
        {},
    };
}

}  // namespace

void TabelleAnagrafiche(std::vector<Tabella>& out) {
    out.push_back(PianoConti());
    out.push_back(Causali());
    out.push_back(AssociazioneConti());
    out.push_back(Tipologie());
    out.push_back(Tasse());
    out.push_back(Default());
    out.push_back(Aziende());
    out.push_back(Magazzini());
    out.push_back(CategorieApparecchi());
    out.push_back(StatoPrenotazione());
    out.push_back(Elenco("AnagCategoriaMinisteriale", "Codice", 30));
    out.push_back(Elenco("tipobollettari", "Codice", 30));
    out.push_back(Elenco("IncassoGettoni", "Codice", 30));
    out.push_back(Elenco("IncassoTasse", "Codice", 30));
    out.push_back(Configurazioni());
}

}  // namespace incassi::schema
