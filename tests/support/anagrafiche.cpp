#include "support/anagrafiche.h"

namespace incassi::test {

void InserisciLocali(TestDb& t) {
    t.run({
        "INSERT INTO anagraficaaziende (CodiceAzienda, ordine) VALUES ('AZ1', 1), ('AZ2', 2)",
        "INSERT INTO AnagraficaLocali (CodLocale, Insegna, citta, CodiceAzienda, sospeso, "
        "GestioneDenaro, "
        "IncassoTasse, tipologiaincasso) VALUES ('BAR1', 'Bar Sport', 'Roma', 'AZ1', 0, "
        "'Noleggiatore', "
        "'Noleggiatore', 0), ('BAR2', 'Bar Centrale', 'Napoli', 'AZ2', 0, 'Noleggiatore', "
        "'Locale', 0), "
        "('SOSP', 'Bar Chiuso', 'Bari', 'AZ1', -1, 'Noleggiatore', 'Locale', 0)",
        "INSERT INTO MagAnagArticoli (CodArticolo, TipoArticolo, CatApparecchio) VALUES ('AWP', 4, "
        "'AWP'), "
        "('CAMB', 4, 'CAMB')",
        "INSERT INTO anagraficaoperatori (CodiceOperatore, cognome, nome, mansione) VALUES "
        "('ES1', 'Bianchi', 'Luca', 'Esattore')",
    });
}

void InserisciMacchina(TestDb& t, int id, const char* locale, int tipologia, const char* ultimo,
                       double in, double out) {
    t.run({QStringLiteral(
               "INSERT INTO MagSchede (id, NomeGioco, CodiceInterno, CodiceAAMS, CodLocale, "
               "TipologiaIncasso, ultimoIncasso, cntotin, cntotout, Tipoh1, attualeh1, "
               "MoltiplicatoreIn, "
               "Moltiplicatoreout, CodConcessionario) VALUES (%1, 'Gioco%1', 'INT%1', 'AAMS%1', "
               "'%2', %3, "
               "%4, %5, %6, 1, 50, 1, 1, 'RETE1')")
               .arg(id)
               .arg(locale)
               .arg(tipologia)
               .arg(ultimo ? QStringLiteral("'%1'").arg(ultimo) : QStringLiteral("NULL"))
               .arg(in)
               .arg(out),
           QStringLiteral("INSERT INTO MagProdottoFinito (id, Descrizione, CodLocale, CodArticolo, "
                          "OrdineIncasso) "
                          "VALUES (%1, 'Prodotto %1', '%2', '%3', %1)")
               .arg(100 + id)
               .arg(locale)
               .arg(tipologia == 2 ? "CAMB" : "AWP"),
           QStringLiteral("INSERT INTO MagProdottoDistinta (IdProdottoFinito, linkScheda, "
                          "TipoArticolo) VALUES (%1, "
                          "%2, 1)")
               .arg(100 + id)
               .arg(id)});
}

}  // namespace incassi::test
