// Machines: cards, placed products and their bills of materials, articles,
// cabinets, store movements, meters and imported meter readings.

#include "schema/schema.h"

namespace incassi::schema {

namespace {

Tabella MagSchede() {
    return {
        "MagSchede",
        {
            Testo("NomeGioco", 100),
            Codice("CodiceInterno", 30),
            Codice("CodiceAAMS", 30),
            Codice("Nullaosta", 30),
            Codice("CodiceABarre", 30),
            Codice("CodLocale"),
            Codice("CodiceAzienda"),
            Flag("Obsoleto"),
            Flag("Venduto"),
            Flag("Dismesso"),
            Intero("TipologiaIncasso"),  // 6 meters, 2 change machine, others cash box
            Codice("CodConcessionario"),
            Codice("Contratto"),
            // Last meter reading on the card.
            Data("ultimoIncasso"),
            Importo("cntotin"),
            Importo("cntotout"),
            Importo("MoltiplicatoreIn"),
            Importo("Moltiplicatoreout"),
            // Hoppers: coin value, money loaded, money held now.
            Importo("Tipoh1"),
            Importo("Tipoh2"),
            Importo("Tipoh3"),
            Importo("ChHopper1"),
            Importo("ChHopper2"),
            Importo("ChHopper3"),
            Importo("attualeh1"),
            Importo("attualeh2"),
            Importo("attualeh3"),
        },
        {
            Idx("MagSchede_aams", {"CodiceAAMS"}),
            Idx("MagSchede_interno", {"CodiceInterno"}),
            Idx("MagSchede_locale", {"CodLocale"}),
        },
    };
}

Tabella MagProdottoFinito() {
    return {
        "MagProdottoFinito",
        {
            Testo("Descrizione", 255),
            Codice("CodLocale"),
            Codice("CodMagazzino"),
            Codice("CodArticolo", 30),
            Intero("OrdineIncasso"),
        },
        {
            Idx("MagProdottoFinito_locale", {"CodLocale"}),
        },
    };
}

Tabella MagProdottoDistinta() {
    return {
        "MagProdottoDistinta",
        {
            Intero("IdProdottoFinito"),
            Intero("TipoArticolo"),  // 1 machine card, 2 cabinet
            Intero("linkScheda"),
            Intero("linkMobile"),
        },
        {
            Idx("MagProdottoDistinta_prodotto", {"IdProdottoFinito", "TipoArticolo"}),
            Idx("MagProdottoDistinta_scheda", {"linkScheda"}),
        },
    };
}

Tabella MagAnagArticoli() {
    return {
        "MagAnagArticoli",
        {
            Codice("CodArticolo", 30),
            Testo("Descrizione", 255),
            Intero("TipoArticolo"),  // 4 gaming machine
            Codice("CatApparecchio", 30),
        },
        {
            Unico("MagAnagArticoli_codice", {"CodArticolo"}),
        },
    };
}

Tabella MagMobili() {
    return {
        "magMobili",
        {
            Testo("Descrizione", 255),
            Codice("Matricola", 30),
        },
        {},
    };
}

Tabella MagMovTeste() {
    return {
        "MagMovTeste",
        {
            Data("DataMovimento"),
            Codice("CodiceLocale"),
            Testo("Descrizione", 255),
        },
        {
            Idx("MagMovTeste_locale_data", {"CodiceLocale", "DataMovimento"}),
        },
    };
}

Tabella MagMovRighe() {
    return {
        "MagMovRighe",
        {
            Intero("idTesta"),
            Codice("CodCausale", 10),  // "Rnole": withdrawn from a venue
            Intero("CodProdottoFinito"),
        },
        {
            Idx("MagMovRighe_testa", {"idTesta"}),
            Idx("MagMovRighe_prodotto", {"CodProdottoFinito"}),
        },
    };
}

Tabella MagSchedeContatori() {
    return {
        "magschedecontatori",
        {
            Intero("linkscheda"),
            Intero("NumeroContatore"),
            Codice("tipocontatore"),  // I = in, V = excluded, others = out
            Importo("moltiplicatore"),
            Importo("contatore"),
            Importo("ContatoreAttuale"),
            Data("DataContatore"),
            Istante("iddata"),
            Codice("idoperatore"),
        },
        {
            Idx("magschedecontatori_scheda", {"linkscheda", "NumeroContatore"}),
        },
    };
}

Tabella Contatori() {
    return {
        "contatori",
        {
            Codice("codiceAAMS", 30),
            Data("datacontatore"),
            Importo("cntotin"),
            Importo("cntotout"),
        },
        {
            Idx("contatori_aams_data", {"codiceAAMS", "datacontatore"}),
        },
    };
}

}  // namespace

void TabelleApparecchi(std::vector<Tabella>& out) {
    out.push_back(MagSchede());
    out.push_back(MagProdottoFinito());
    out.push_back(MagProdottoDistinta());
    out.push_back(MagAnagArticoli());
    out.push_back(MagMobili());
    out.push_back(MagMovTeste());
    out.push_back(MagMovRighe());
    out.push_back(MagSchedeContatori());
    out.push_back(Contatori());
}

}  // namespace incassi::schema
