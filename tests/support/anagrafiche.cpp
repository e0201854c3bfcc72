#include "support/anagrafiche.h"

#include "schema/creazione.h"

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

void PreparaLocaleConAperti(TestDb& t) {
    schema::PreparaSchema(t.db());
    InserisciLocali(t);
    InserisciMacchina(t, 1, "BAR1", 6, "2026-03-13", 1000, 400);
    InserisciMacchina(t, 2, "BAR1", 6, "2026-03-13", 5000, 3000);
    t.run({
        "INSERT INTO contatori (codiceAAMS, datacontatore, cntotin, cntotout) VALUES "
        "('AAMS1', '2026-03-20', 1600, 700), ('AAMS2', '2026-03-20', 5500, 3200)",
        "INSERT INTO NoteTeste (id, CodLocale, CodCausale, DataRegistrazione, Chiuso, idOnda) "
        "VALUES "
        "(50, 'BAR1', 'ACC', '2026-03-15', 0, 0), (51, 'BAR1', 'REF', '2026-03-16', 0, 0), "
        "(52, 'BAR1', 'ACC', '2026-03-20', 0, NULL), (53, 'BAR1', 'ACC', '2026-03-21', 0, 0)",
        "INSERT INTO NoteIncassi (id, IdTesta, linkscheda, DataIncasso, acconti, "
        "RefillGestore, Chiuso, "
        "IdChiusura) VALUES (500, 50, 1, '2026-03-15', 40, 0, 0, 0), (510, 51, 2, "
        "'2026-03-16', 0, 25, 0, 0), "
        "(520, 52, 2, '2026-03-20', 10, 0, 0, 0), (530, 53, 1, '2026-03-21', 5, 0, 0, 0)",
    });
}

}  // namespace incassi::test
