// Every table and column that the module's windows and reports name, written
// out by hand from their queries and bindings, checked against a database
// created from the schema declaration.

#include <gtest/gtest.h>

#include "schema/creazione.h"
#include "support/testdb.h"

using namespace incassi;
using incassi::test::TestDb;

namespace {

struct Attesa {
    const char* tabella;
    const char* colonne;  // separated by blanks
};

const Attesa kAttese[] = {
    // Document tables.
    {"NoteTeste",
     "id CodLocale CodCausale DataRegistrazione CodiceAzienda idOnda Chiuso Bloccato totpreu "
     "totaams totrete totTasse iddata idoperatore Annotazioni AccontoLocale TerzoGestore "
     "NumeroTerminale Descrizione DenaroConteggiato Quietanzato Fatturato AttesaFatture Acconto "
     "AnticipoLocale FurtoNoleggiatore FurtoLocale AmmancoNoleggiatore AmmancoLocale "
     "VariazioneHopper RefillLocale RefillNoleggiatore TipologiaIncasso IncassoGettoni "
     "IncassoTasse GestioneDenaro VarPrestito VersatoALocale Rimanenza Arrotondamenti Riscosso "
     "QuotaConcessionario Teorico VarDebito DaRiscuotereTeorica QuotaNolTeorica Variazioni "
     "DaRiscuotere UtileLocale TotDaDividere UtileNoleggiatore TotUscite TotIntrodotto "
     "DataConteggio CodEsattore CodAGente CodSubAgente Import PercAgente ContoPercAgente "
     "PercSubAgente ContoPercSubAgente StileIncasso"},
    {"NoteIncassi",
     "id IdTesta Riga DataIncasso CodLocale iddata idoperatore NumGiorniIncasso Chiuso IdChiusura "
     "TipoIncasso VecchioContatoreIN VecchioContatoreOut ContatoreIN ContatoreOUT "
     "MoltiplicatoreIn Moltiplicatoreout ParzialeIn ParzialeOUT Forzato DataVecchioContatore "
     "PercPreu PercAAMS TipoRete PercRete Preu AAMS Rete Totaletasse LivelloH1 LivelloH2 "
     "LivelloH3 TipoH1 TipoH2 TipoH3 HopperOLD1 HopperOLD2 HopperOLD3 VariazioneHopper "
     "RefillGestore RefillLocale acconti Cassetto Ammanchi Furti MonetaAggiunta BanconoteAggiunte "
     "BanconoteRitirate MonetaRitirata Gettoni ValoreGettone TipoCalcolo PercLocale "
     "PercNoleggiatore IncassoVs IncassoNs QuotaConcess linkscheda LinkApparecchio CodArticolo "
     "catapparecchio codiceAzienda Descrizione progressivo ContatoreMec1 ContatoreMec2 "
     "CodConcessionario Contratto Fatturato Import ForfaitIN ForfaitOut GiorniForfait "
     "VecchioForfaitIN VecchioForfaitOUT UltimaLettura Perc2Gestore Perc3Gestore PercSubAgente "
     "scassettaSubAgente Scassetta3Gestore PercScassettoSub PercScassetto3Gest"},
    {"NoteRighe",
     "id Idtesta Riga Data iddata idoperatore CodLocale codConto Descrizione Dare Avere "
     "TipoPartenza CodicePartenza DescrizionePartenza TipoDestinazione CodiceDestinazione "
     "DescrizioneDestinazione"},
    {"NoteIncassiContatori",
     "id iddata idoperatore DataContatore Idtesta NumeroContatore linkcontatore vecchiocontatore "
     "DataVecchioContatore tipocontatore moltiplicatore linkscheda contatore ContatoreAttuale "
     "Parziale"},
    // Machines.
    {"MagSchede",
     "id NomeGioco CodiceInterno CodiceAAMS Nullaosta CodiceABarre Obsoleto Venduto Dismesso "
     "TipologiaIncasso CodConcessionario Contratto ultimoIncasso cntotin cntotout "
     "MoltiplicatoreIn Moltiplicatoreout CodiceAzienda Tipoh1 Tipoh2 Tipoh3 ChHopper1 ChHopper2 "
     "ChHopper3 attualeh1 attualeh2 attualeh3 codlocale"},
    {"MagProdottoFinito", "id Descrizione CodLocale CodMagazzino CodArticolo OrdineIncasso"},
    {"MagProdottoDistinta", "id IdProdottoFinito linkScheda TipoArticolo linkMobile"},
    {"MagAnagArticoli", "id CodArticolo TipoArticolo CatApparecchio"},
    {"magMobili", "id"},
    {"MagMovTeste", "id DataMovimento CodiceLocale"},
    {"MagMovRighe", "id idTesta CodCausale CodProdottoFinito"},
    {"magschedecontatori",
     "id linkscheda NumeroContatore contatore DataContatore tipocontatore moltiplicatore "
     "ContatoreAttuale iddata idoperatore"},
    {"contatori", "id codiceAAMS datacontatore cntotin cntotout"},
    // Venues, percentages and contracts.
    {"AnagraficaLocali",
     "id CodLocale CatLocale TipoLocale Insegna Soprannome CAP Indirizzo Localita Citta "
     "Provincia NumCivico Iva CodFisc tel fax cell cell2 email CodZona tipologiaIncasso "
     "incassoGettoni IncassoTasse GestioneDenaro codTitolare codGestore codReferente codEsattore "
     "codAgente dataAcquisizione Rimanenza CodiceAzienda esTipoDitta esCodEsercente Cittadinanza "
     "esDitta esPiva esCodf esSedeVia esSedeNr esSedeCap esSedeComune esSedeProvincia esCod86 "
     "esCod88 CodAttivita CodMonopolio CodCatastale esMq esNumCamere CodiceConto Descr sospeso"},
    {"anagraficalocalicaratteristiche", "id codlocale AttesaFatturaC7"},
    {"notalocale", "id codlocale NotaLocale IdData IdOperatore"},
    {"Localipercentuali", "id codicelocale categoria Tipo percentualeloc percentualenol"},
    {"PercentualiApparecchi", "id linkscheda codlocale tipologia percentuale"},
    {"LocaliConcessionari",
     "id codicelocale CodiceConcessionario contratto Tipo Valore TerzoGestore"},
    {"tipocontratto", "id codConcessionario contratto PercentualeComodato"},
    {"anagraficaconcessionari", "id codiceConcessionario CodiceConto TipoCostoRete valorerete"},
    // Lookups and configuration.
    {"DefaultIncassi", "id tipoincasso valoreperc"},
    {"anagraficaTasse", "id attiva percentualepreu percentualeAAMS"},
    {"incassoTipologia", "id Codice Descrizione"},
    {"AnagraficaPianoConti", "id CodiceConto Descrizione"},
    {"AnagraficaCausali", "id codiceCausale Descrizione tipovideata"},
    {"TabAssociazioneConti",
     "id cassa CassaRefill CassaHopper CassaHopperCambiam cassaacconti cassaaccontilocale "
     "eccedenza Ammanchi Furti UtiliAltriApparecchi utiliNewSlot ClientiContoFatture "
     "ClientiAbituali arrotondamentiPassivi arrotondamentiAttivi PrestitiALocale ResiduiIncassi"},
    {"AnagCategoriaMinisteriale", "id"},
    {"ANAGcategorieapparecchi", "id ordine"},
    {"statoprenotazione", "id statoprenotazione"},
    {"tipobollettari", "id"},
    {"IncassoGettoni", "id"},
    {"IncassoTasse", "id"},
    {"anagraficaAziende", "id CodiceAzienda ordine"},
    {"anagraficamagazzini", "id codicemagazzino Descrizione"},
    {"Zconfigurazioni", "id HoppergestitoDaCassa"},
    {"Zpers", "id"},
    // Operators, views, reports and links.
    {"anagraficaoperatori", "id CodiceOperatore cognome nome mansione"},
    {"operatori",
     "id codiceUtente codiceditta accessocompleto admin inserimento modifica ricerca "
     "cancellazione stampa ricerchePers UserIncassi"},
    {"viste", "id NomeVista codiceoperatore codicericerca preferito"},
    {"stampe", "id Ordine codiceStampa Descrizione NomeReport nomeTemporaneo"},
    {"linkrapidi",
     "id modulo ordine Descrizione Descrizioneestesa icona visibilita Tipo nomequery Parametri "
     "NomeVista"},
    {"queryrapide", "id nomequery testoquery CampoRicerca campo tipocampo Ordine"},
};

TEST(Schema, EveryNamedTableAndColumnExists) {
    TestDb t;
    schema::CreaSchema(t.db());
    for (const Attesa& a : kAttese) {
        const QString tabella = QString::fromLatin1(a.tabella);
        ASSERT_TRUE(t.db().hasTable(tabella)) << a.tabella;
        for (const QString& c : QString::fromLatin1(a.colonne).split(u' ', Qt::SkipEmptyParts)) {
            EXPECT_NE(t.db().column(tabella, c), nullptr) << a.tabella << "." << c.toStdString();
        }
    }
}

struct TipoAtteso {
    const char* tabella;
    const char* colonna;
    FieldType tipo;
};

// The kinds the module relies on: counter key, dates without time,
// timestamps, flags, amounts, texts with a length the record sets report.
const TipoAtteso kTipi[] = {
    {"NoteTeste", "id", FieldType::Integer},
    {"NoteTeste", "DataRegistrazione", FieldType::Date},
    {"NoteTeste", "iddata", FieldType::DateTime},
    {"NoteTeste", "Bloccato", FieldType::Flag},
    {"NoteTeste", "Riscosso", FieldType::Double},
    {"NoteTeste", "CodCausale", FieldType::Text},
    {"NoteTeste", "Annotazioni", FieldType::Memo},
    {"NoteIncassi", "DataIncasso", FieldType::Date},
    {"NoteIncassi", "Chiuso", FieldType::Flag},
    {"NoteIncassi", "linkscheda", FieldType::Integer},
    {"NoteRighe", "Data", FieldType::Date},
    {"NoteRighe", "Dare", FieldType::Double},
    {"NoteRighe", "CodConto", FieldType::Text},
    {"MagSchede", "ultimoIncasso", FieldType::Date},
    {"contatori", "datacontatore", FieldType::Date},
    {"AnagraficaLocali", "sospeso", FieldType::Flag},
    {"operatori", "accessocompleto", FieldType::Flag},
    {"notalocale", "IdData", FieldType::DateTime},
    {"anagraficaTasse", "percentualepreu", FieldType::Double},
};

TEST(Schema, ColumnKindsAndLengths) {
    TestDb t;
    schema::CreaSchema(t.db());
    for (const TipoAtteso& a : kTipi) {
        const ColumnInfo* c = t.db().column(a.tabella, a.colonna);
        ASSERT_NE(c, nullptr) << a.tabella << "." << a.colonna;
        EXPECT_EQ(c->type, a.tipo) << a.tabella << "." << a.colonna;
        if (a.tipo == FieldType::Text) {
            EXPECT_GT(c->maxLength, 0) << a.colonna;
        }
    }
    // Every table of the declaration has the integer counter key.
    for (const schema::Tabella& tab : schema::Tabelle()) {
        const ColumnInfo* id = t.db().column(tab.nome, "id");
        ASSERT_NE(id, nullptr) << tab.nome.toStdString();
        EXPECT_TRUE(id->primaryKey) << tab.nome.toStdString();
        EXPECT_EQ(id->type, FieldType::Integer);
    }
}

}  // namespace
