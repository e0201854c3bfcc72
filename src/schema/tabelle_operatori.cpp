// People and their preferences: collectors and agents, program users with
// their rights, grid views, personal settings, reports and side-panel links.

#include "schema/schema.h"

namespace incassi::schema {

namespace {

Tabella AnagraficaOperatori() {
    return {
        "anagraficaoperatori",
        {
            Codice("CodiceOperatore"),
            Testo("cognome", 100),
            Testo("nome", 100),
            Testo("mansione", 30),  // "Esattore", "Agente", ...
            Codice("CodiceAzienda"),
        },
        {
            Unico("anagraficaoperatori_codice", {"CodiceOperatore"}),
            Idx("anagraficaoperatori_mansione", {"mansione", "cognome"}),
        },
    };
}

Tabella Operatori() {
    return {
        "operatori",
        {
            Codice("codiceUtente"),
            Testo("Descrizione", 255),
            Codice("codiceditta"),  // the company an operator is restricted to
            Flag("accessocompleto"),
            Testo("PasswordHash", 128),
            Flag("admin"),
            Flag("inserimento"),
            Flag("modifica"),
            Flag("ricerca"),
            Flag("cancellazione"),
            Flag("stampa"),
            Flag("ricerchePers"),
            Flag("UserIncassi"),
        },
        {Unico("operatori_codice", {"codiceUtente"})},
    };
}

Tabella Viste() {
    return {
        "viste",
        {
            Testo("NomeVista", 100),
            Codice("codiceoperatore"),
            Codice("codicericerca", 50),
            Flag("preferito"),
        },
        {Idx("viste_operatore_ricerca", {"codiceoperatore", "codicericerca"})},
    };
}

Tabella Pers() {
    return {
        "Zpers",
        {
            Codice("codiceoperatore"),
            Testo("Chiave", 100),
            Note("Valore"),
        },
        {Idx("Zpers_operatore", {"codiceoperatore", "Chiave"})},
    };
}

Tabella Stampe() {
    return {
        "stampe",
        {
            Intero("Ordine"),
            Codice("codiceStampa", 30),
            Testo("Descrizione", 255),
            Testo("NomeReport", 255),
            Testo("nomeTemporaneo", 255),
        },
        {Idx("stampe_codice", {"codiceStampa", "Ordine"})},
    };
}

Tabella LinkRapidi() {
    return {
        "linkrapidi",
        {
            Codice("modulo", 30),  // the module whose side panel lists the link
            Intero("ordine"), Testo("Descrizione", 100), Testo("Descrizioneestesa", 255),
            Testo("icona", 50), Intero("visibilita"), Intero("Tipo"), Testo("nomequery", 100),
            Codice("ModuloAvvio", 30),  // module code handed to the started module
            Testo("Parametri", 255), Testo("NomeVista", 100),
            Testo("ClasseModulo", 100),  // class name of the module to start
        },
        {Idx("linkrapidi_modulo", {"modulo", "ordine"})},
    };
}

Tabella QueryRapide() {
    return {
        "queryrapide",
        {
            Testo("nomequery", 100), Note("testoquery"), Testo("CampoRicerca", 100),
            Testo("campo", 100), Codice("tipocampo", 5),  // "N" numeric, otherwise text
            Testo("Ordine", 255),                         // ordering clause
        },
        {Unico("queryrapide_nome", {"nomequery"})},
    };
}

}  // namespace

void TabelleOperatori(std::vector<Tabella>& out) {
    out.push_back(AnagraficaOperatori());
    out.push_back(Operatori());
    out.push_back(Viste());
    out.push_back(Pers());
    out.push_back(Stampe());
    out.push_back(LinkRapidi());
    out.push_back(QueryRapide());
}

}  // namespace incassi::schema
