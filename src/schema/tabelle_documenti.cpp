// Collection documents: headers, machine rows, bookkeeping rows and the meter
// rows of multi-meter machines.

#include "schema/schema.h"

namespace incassi::schema {

namespace {

Tabella NoteTeste() {
    return {
        "NoteTeste",
        {
            // Identity and state of the document.
            Codice("CodLocale"),
            Codice("CodCausale", 10),
            Data("DataRegistrazione"),
            Codice("CodiceAzienda"),
            Testo("Descrizione", 255),
            Note("Annotazioni"),
            Intero("idOnda").inizioZero(),  // collection that settled an advance header
            Flag("Chiuso"),
            Flag("Bloccato"),
            Flag("Quietanzato"),
            Flag("Fatturato"),
            Flag("AttesaFatture"),
            Flag("TerzoGestore"),
            Codice("NumeroTerminale"),
            Data("DataConteggio"),
            Codice("CodEsattore"),
            Codice("CodAGente"),
            Codice("CodSubAgente"),
            Importo("PercAgente"),
            Codice("ContoPercAgente"),
            Importo("PercSubAgente"),
            Codice("ContoPercSubAgente"),
            // Venue settings copied on the document.
            Intero("TipologiaIncasso"),
            Testo("IncassoGettoni", 30),
            Testo("IncassoTasse", 30),
            Testo("GestioneDenaro", 30),
            Testo("StileIncasso", 30),
            // Money panel.
            Importo("Import"),
            Importo("DenaroConteggiato"),
            Importo("Acconto"),
            Importo("AccontoLocale"),
            Importo("AnticipoLocale"),
            Importo("FurtoNoleggiatore"),
            Importo("FurtoLocale"),
            Importo("AmmancoNoleggiatore"),
            Importo("AmmancoLocale"),
            Importo("VariazioneHopper"),
            Importo("RefillLocale"),
            Importo("RefillNoleggiatore"),
            Importo("VarPrestito"),
            Importo("VersatoALocale"),
            Importo("Rimanenza"),
            Importo("Arrotondamenti"),
            Importo("Riscosso"),
            Importo("QuotaConcessionario"),
            Importo("Teorico"),
            Importo("VarDebito"),
            Importo("DaRiscuotereTeorica"),
            Importo("QuotaNolTeorica"),
            Importo("Variazioni"),
            Importo("DaRiscuotere"),
            Importo("UtileLocale"),
            Importo("TotDaDividere"),
            Importo("UtileNoleggiatore"),
            Importo("TotIntrodotto"),
            Importo("TotUscite"),
            Importo("TotPreu"),
            Importo("TotAAMS"),
            Importo("TotRete"),
            Importo("TotTasse"),
            // Last write, and how many writes: a correction saves only over
            // the version it read.
            Istante("iddata"),
            Codice("idoperatore"),
            Intero("Versione").inizioZero().dalla(2),
        },
        {
            Idx("NoteTeste_locale_causale_data", {"CodLocale", "CodCausale", "DataRegistrazione"}),
            Idx("NoteTeste_data", {"DataRegistrazione"}),
            Idx("NoteTeste_onda", {"idOnda"}),
            // The advance and refill rows a collection settles are found by
            // the causal of their headers.
            Idx("NoteTeste_causale", {"CodCausale"}),
            // A venue's documents by day, newest first, whatever their causal:
            // its history panel and its list read a few from the index instead
            // of sorting all of them.
            Indice{"NoteTeste_locale_data", {"CodLocale", "DataRegistrazione"}, false, 6},
        },
    };
}

Tabella NoteIncassi() {
    return {
        "NoteIncassi",
        {
            Intero("IdTesta"),
            Intero("Riga"),
            Data("DataIncasso"),
            Codice("CodLocale"),
            Codice("CodiceAzienda"),
            // The machine.
            Intero("linkscheda"),
            Intero("LinkApparecchio"),
            Codice("CodArticolo", 30),
            Codice("CatApparecchio", 30),
            Testo("Descrizione", 255),
            Testo("NomeGioco", 100),
            Codice("CodiceInterno", 30),
            Codice("CodiceAAMS", 30),
            Intero("TipoIncasso"),
            Codice("CodConcessionario"),
            Codice("Contratto"),
            // Meters.
            Importo("VecchioContatoreIN"),
            Importo("VecchioContatoreOut"),
            Importo("ContatoreIN"),
            Importo("ContatoreOUT"),
            Importo("ContatoreMec1"),
            Importo("ContatoreMec2"),
            Importo("MoltiplicatoreIn"),
            Importo("Moltiplicatoreout"),
            Importo("ParzialeIn"),
            Importo("ParzialeOUT"),
            Flag("Forzato"),
            Data("DataVecchioContatore"),
            Intero("NumGiorniIncasso"),
            Importo("ForfaitIN"),
            Importo("ForfaitOut"),
            Intero("GiorniForfait"),
            Importo("VecchioForfaitIN"),
            Importo("VecchioForfaitOUT"),
            Data("UltimaLettura"),
            Importo("progressivo"),
            // Taxes and network fee.
            Importo("PercPreu"),
            Importo("PercAAMS"),
            Testo("TipoRete", 30),
            Importo("PercRete"),
            Importo("Preu"),
            Importo("AAMS"),
            Importo("Rete"),
            Importo("Totaletasse"),
            // Hoppers: levels in coins, coin values, previous levels.
            Importo("LivelloH1"),
            Importo("LivelloH2"),
            Importo("LivelloH3"),
            Importo("TipoH1"),
            Importo("TipoH2"),
            Importo("TipoH3"),
            Importo("HopperOLD1"),
            Importo("HopperOLD2"),
            Importo("HopperOLD3"),
            Importo("VariazioneHopper"),
            // Cash, refills, advances, shortages.
            Importo("RefillGestore"),
            Importo("RefillLocale"),
            Importo("acconti"),
            Importo("Cassetto"),
            Importo("Ammanchi"),
            Importo("Furti"),
            Importo("MonetaAggiunta"),
            Importo("BanconoteAggiunte"),
            Importo("BanconoteRitirate"),
            Importo("MonetaRitirata"),
            Importo("Gettoni"),
            Importo("ValoreGettone"),
            // Split between venue, operator, third manager and agents.
            Testo("TipoCalcolo", 30),
            Importo("PercLocale"),
            Importo("PercNoleggiatore"),
            Importo("IncassoVs"),
            Importo("IncassoNs"),
            Importo("QuotaConcess"),
            Importo("Import"),
            Importo("Perc2Gestore"),
            Importo("Perc3Gestore"),
            Importo("PercSubAgente"),
            Importo("scassettaSubAgente"),
            Importo("Scassetta3Gestore"),
            Importo("PercScassettoSub"),
            Importo("PercScassetto3Gest"),
            Flag("Fatturato"),
            // Settling of advance and refill rows.
            Flag("Chiuso"),
            Intero("IdChiusura").inizioZero(),
            Istante("iddata"),
            Codice("idoperatore"),
        },
        {
            Idx("NoteIncassi_testa", {"IdTesta"}),
            Idx("NoteIncassi_scheda_data", {"linkscheda", "DataIncasso"}),
            Idx("NoteIncassi_chiusura", {"IdChiusura"}),
            // A machine's open advances and refills: its rows still open up to
            // a day, with the amounts and the header in the index, so that the
            // many rows that carry none are passed over without being read
            // (a server reads the index alone only when it holds every column
            // the statement asks for). It replaces NoteIncassi_aperti, made
            // from version 3 to 5 without the header.
            Indice{"NoteIncassi_aperti_testa",
                   {"linkscheda", "Chiuso", "DataIncasso", "acconti", "refillgestore",
                    "refillLocale", "IdTesta"},
                   false,
                   6},
        },
    };
}

Tabella NoteRighe() {
    return {
        "NoteRighe",
        {
            Intero("IdTesta"),
            Intero("Riga"),
            Data("Data"),
            Codice("CodLocale"),
            Codice("CodConto"),
            Testo("Descrizione", 255),
            Importo("Dare").inizioZero(),
            Importo("Avere").inizioZero(),
            // Where the money moves from and to: 0 a store, otherwise a venue.
            Intero("TipoPartenza"),
            Codice("CodicePartenza"),
            Testo("DescrizionePartenza", 255),
            Intero("TipoDestinazione"),
            Codice("CodiceDestinazione"),
            Testo("DescrizioneDestinazione", 255),
            Istante("iddata"),
            Codice("idoperatore"),
        },
        {
            Idx("NoteRighe_testa", {"IdTesta"}),
            // Covers the balance sums, which then never read the table.
            Idx("NoteRighe_saldo", {"CodConto", "CodLocale", "Data", "Dare", "Avere"}),
        },
    };
}

Tabella NoteIncassiContatori() {
    return {
        "NoteIncassiContatori",
        {
            Intero("IdTesta").inizioZero(),  // 0 while the document is not saved
            Intero("linkscheda"),
            Intero("linkcontatore"),
            Intero("NumeroContatore"),
            Codice("tipocontatore"),
            Importo("moltiplicatore"),
            Data("DataContatore"),
            Importo("vecchiocontatore"),
            Data("DataVecchioContatore"),
            Importo("contatore"),
            Importo("ContatoreAttuale"),
            Importo("Parziale"),
            Istante("iddata"),
            Codice("idoperatore"),
        },
        {
            Idx("NoteIncassiContatori_testa_scheda", {"IdTesta", "linkscheda"}),
        },
    };
}

}  // namespace

void TabelleDocumenti(std::vector<Tabella>& out) {
    for (Tabella t : {NoteTeste(), NoteIncassi(), NoteRighe(), NoteIncassiContatori()}) {
        // Document numbers and row ids are never given twice: a deleted
        // document's number, and the ids other rows keep of it, stay its own.
        t.chiaveUnicaDalla = 2;
        out.push_back(std::move(t));
    }
}

}  // namespace incassi::schema
