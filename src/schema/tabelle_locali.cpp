// Venues and their contracts: registry, characteristics, notes, split
// percentages, concession holders and contract types.

#include "schema/schema.h"

namespace incassi::schema {

namespace {

Tabella AnagraficaLocali() {
    return {
        "AnagraficaLocali",
        {
            Codice("CodLocale"),
            Codice("CatLocale"),
            Codice("TipoLocale"),
            Testo("Insegna"),
            Testo("Soprannome"),
            Testo("Descr", 255),
            Flag("sospeso"),
            Codice("CodiceAzienda"),
            Codice("CodZona"),
            // Address.
            Testo("Indirizzo"),
            Codice("NumCivico", 10),
            Codice("CAP", 10),
            Testo("Localita"),
            Testo("Citta"),
            Codice("Provincia", 5),
            Codice("Iva", 20),
            Codice("CodFisc", 20),
            Codice("tel", 30),
            Codice("fax", 30),
            Codice("cell", 30),
            Codice("cell2", 30),
            Testo("email"),
            // Collection settings.
            Intero("tipologiaIncasso"),
            Testo("IncassoGettoni", 30),
            Testo("IncassoTasse", 30),
            Testo("GestioneDenaro", 30),
            Importo("Rimanenza"),
            Codice("CodiceConto"),
            // People.
            Codice("codTitolare"),
            Codice("codGestore"),
            Codice("codReferente"),
            Codice("codEsattore"),
            Codice("codAgente"),
            Data("dataAcquisizione"),
            // The business running the venue.
            Codice("esTipoDitta"),
            Codice("esCodEsercente", 30),
            Testo("Cittadinanza", 50),
            Testo("esDitta", 255),
            Codice("esPiva", 20),
            Codice("esCodf", 20),
            Testo("esSedeVia"),
            Codice("esSedeNr", 10),
            Codice("esSedeCap", 10),
            Testo("esSedeComune"),
            Codice("esSedeProvincia", 5),
            Codice("esCod86", 30),
            Codice("esCod88", 30),
            Codice("CodAttivita", 30),
            Codice("CodMonopolio", 30),
            Codice("CodCatastale", 10),
            Importo("esMq"),
            Intero("esNumCamere"),
        },
        {
            Unico("AnagraficaLocali_codice", {"CodLocale"}),
            Idx("AnagraficaLocali_azienda", {"CodiceAzienda", "sospeso"}),
        },
    };
}

Tabella Caratteristiche() {
    return {
        "anagraficalocalicaratteristiche",
        {
            Codice("codlocale"),
            Flag("AttesaFatturaC7"),
        },
        {
            Idx("anagraficalocalicaratteristiche_locale", {"codlocale"}),
        },
    };
}

Tabella NotaLocale() {
    return {
        "notalocale",
        {
            Codice("codlocale"),
            Note("NotaLocale"),
            Istante("IdData"),
            Codice("IdOperatore"),
        },
        {
            Idx("notalocale_locale", {"codlocale"}),
            // One note per venue.
            Indice{"notalocale_unico", {"codlocale"}, true, 5},
        },
    };
}

Tabella LocaliPercentuali() {
    return {
        "Localipercentuali",
        {
            Codice("codicelocale"),
            Codice("categoria", 30),
            Testo("Tipo", 30),  // split method, as TipoCalcolo
            Importo("percentualeloc"),
            Importo("percentualenol"),
        },
        {
            Idx("Localipercentuali_locale_categoria", {"codicelocale", "categoria"}),
        },
    };
}

Tabella PercentualiApparecchi() {
    return {
        "PercentualiApparecchi",
        {
            Intero("linkscheda"),
            Codice("codlocale"),
            Testo("tipologia", 30),  // split method, as TipoCalcolo
            Importo("percentuale"),
        },
        {
            Idx("PercentualiApparecchi_scheda_locale", {"linkscheda", "codlocale"}),
        },
    };
}

Tabella LocaliConcessionari() {
    return {
        "LocaliConcessionari",
        {
            Codice("codicelocale"),
            Codice("CodiceConcessionario"),
            Codice("contratto"),
            Testo("Tipo", 30),  // "Percentuale", "Fisso", otherwise monthly
            Importo("Valore"),
            Flag("TerzoGestore"),
        },
        {
            Idx("LocaliConcessionari_locale",
                {"codicelocale", "CodiceConcessionario", "contratto"}),
        },
    };
}

Tabella TipoContratto() {
    return {
        "tipocontratto",
        {
            Codice("codConcessionario"),
            Codice("contratto"),
            Testo("Descrizione", 255),
            Importo("PercentualeComodato"),
        },
        {
            Idx("tipocontratto_concessionario", {"codConcessionario", "contratto"}),
        },
    };
}

Tabella Concessionari() {
    return {
        "anagraficaconcessionari",
        {
            Codice("codiceConcessionario"),
            Testo("Descrizione", 255),
            Testo("RagioneSociale", 255),
            Codice("CodiceConto"),  // prefix of the holder's tax accounts
            Testo("TipoCostoRete", 30),
            Importo("valorerete"),
        },
        {
            Unico("anagraficaconcessionari_codice", {"codiceConcessionario"}),
        },
    };
}

}  // namespace

void TabelleLocali(std::vector<Tabella>& out) {
    out.push_back(AnagraficaLocali());
    out.push_back(Caratteristiche());
    out.push_back(NotaLocale());
    out.push_back(LocaliPercentuali());
    out.push_back(PercentualiApparecchi());
    out.push_back(LocaliConcessionari());
    out.push_back(TipoContratto());
    out.push_back(Concessionari());
}

}  // namespace incassi::schema
