#include "schema/generatore_anagrafiche.h"

#include <QDateTime>
#include <QStringList>

#include "host/database.h"
#include "values/values.h"

namespace incassi::schema::gen {

namespace {

struct Articolo {
    const char* codice;
    const char* descrizione;
    const char* categoria;
};

const Articolo kArticoli[] = {
    {"AWP-VEN", "Ventura Stella AWP", "AWP"},
    {"AWP-ORI", "Orione AWP", "AWP"},
    {"AWP-ELI", "Elica AWP", "AWP"},
    {"VLT-ISO", "Isola VLT a tre postazioni", "VLT"},
    {"CAMB-01", "Cambiamonete Cometa", "CAMB"},
    {"C7-GRU", "Gru da intrattenimento", "C7"},
    {"C7-FLI", "Flipper", "C7"},
};

const Articolo kCategorie[] = {
    {"AWP", "Apparecchi AWP (comma 6a)", nullptr},
    {"VLT", "Videolottery (comma 6b)", nullptr},
    {"CAMB", "Cambiamonete", nullptr},
    {"C7", "Apparecchi da intrattenimento (comma 7)", nullptr},
};

QString U(const char* s) {
    return QString::fromUtf8(s);
}

QVariant Opz(const QString& s) {
    return s.isEmpty() ? QVariant() : QVariant(s);
}

}  // namespace

const std::vector<Concessionario>& ConcessionariTipo() {
    static const std::vector<Concessionario> c = {
        {"C01", "Rete Alfa Giochi S.p.A.", "20.02", "Percentuale", 0.5},
        {"C02", "Concessioni Beta S.p.A.", "20.03", "Mensile", 15},
    };
    return c;
}

const std::vector<TipoContratto>& ContrattiTipo() {
    static const std::vector<TipoContratto> t = {
        {"C01", "CT01", "Comodato d'uso a terzo gestore", 5},
        {"C01", "ST01", "Contratto standard", 0},
        {"C02", "CT02", "Comodato d'uso a terzo gestore", 6},
        {"C02", "ST02", "Contratto standard", 0},
    };
    return t;
}

void InserisciAziende(Database& db) {
    db.insert("anagraficaaziende", {"CodiceAzienda", "Descrizione", "ordine"},
              {QStringLiteral("AZ01"), QStringLiteral("Giochi Tirreno S.r.l."), 1});
    db.insert("anagraficaaziende", {"CodiceAzienda", "Descrizione", "ordine"},
              {QStringLiteral("AZ02"), QStringLiteral("Adriatica Svago S.n.c."), 2});
}

void InserisciListini(Database& db) {
    InserisciArticoli(db);
    for (const Concessionario& c : ConcessionariTipo())
        InserisciConcessionario(db, c);
    for (const TipoContratto& t : ContrattiTipo())
        InserisciTipoContratto(db, t);
}

void InserisciArticoli(Database& db) {
    int ordine = 0;
    for (const Articolo& c : kCategorie) {
        db.insert("ANAGcategorieapparecchi", {"Codice", "Descrizione", "ordine"},
                  {U(c.codice), U(c.descrizione), ++ordine});
    }
    for (const Articolo& a : kArticoli) {
        db.insert("MagAnagArticoli",
                  {"CodArticolo", "Descrizione", "TipoArticolo", "CatApparecchio"},
                  {U(a.codice), U(a.descrizione), 4, U(a.categoria)});
    }
    // Where money and coins wait between venues: the office, the safe, the van.
    for (const auto& [codice, descrizione] :
         {std::pair{"MAG01", "Magazzino centrale"}, std::pair{"MAG02", "Cassaforte ufficio"},
          std::pair{"MAG03", "Furgone esattori"}}) {
        db.insert("anagraficamagazzini", {"codicemagazzino", "Descrizione"},
                  {QString::fromUtf8(codice), QString::fromUtf8(descrizione)});
    }
}

void InserisciConcessionario(Database& db, const Concessionario& c) {
    db.insert("anagraficaconcessionari",
              {"codiceConcessionario", "Descrizione", "RagioneSociale", "CodiceConto",
               "TipoCostoRete", "valorerete"},
              {c.codice, c.descrizione, c.descrizione, c.prefisso, c.tipoRete, c.valoreRete});
    const QStringList conti = {"PREU", "AAMS", "RETE", "Debito/Credito"};
    db.insert("AnagraficaPianoConti", {"CodiceConto", "Descrizione"},
              {c.prefisso, "Debiti verso " + c.descrizione});
    for (int i = 0; i < conti.size(); ++i) {
        db.insert("AnagraficaPianoConti", {"CodiceConto", "Descrizione"},
                  {c.prefisso + QStringLiteral(".0%1").arg(i + 1),
                   conti[i] + QStringLiteral(" ") + c.descrizione});
    }
}

void InserisciTipoContratto(Database& db, const TipoContratto& t) {
    db.insert("tipocontratto",
              {"codConcessionario", "contratto", "Descrizione", "PercentualeComodato"},
              {t.concessionario, t.contratto, t.descrizione, t.percentualeComodato});
}

void RisolviCondizioni(Locale& l, const std::vector<Concessionario>& concessionari,
                       const std::vector<TipoContratto>& contratti, const QString& tipoDefault,
                       double percDefault) {
    for (Apparecchio& a : l.apparecchi) {
        if (!a.percentualePropria) {
            a.tipoCalcolo = tipoDefault;
            a.percLocale = percDefault;
            a.percNoleggiatore = 0;
            for (const PercentualeLocale& p : l.percentuali) {
                if (p.categoria.compare(a.categoria, Qt::CaseInsensitive) == 0) {
                    a.tipoCalcolo = p.tipo;
                    a.percLocale = Round(p.locale, 2);
                    a.percNoleggiatore = Round(p.noleggiatore, 2);
                }
            }
        }
        // Network fee: the row of the machine's contract, else the venue's row
        // for the holder, else the holder's default.
        const ContrattoLocale* scelto = nullptr;
        for (const ContrattoLocale& c : l.contratti) {
            if (c.concessionario.compare(a.concessionario, Qt::CaseInsensitive) != 0) continue;
            if (!a.contratto.isEmpty() &&
                c.contratto.compare(a.contratto, Qt::CaseInsensitive) == 0)
                scelto = &c;
            else if (!scelto && c.contratto.isEmpty())
                scelto = &c;
        }
        if (scelto) {
            a.tipoRete = scelto->tipo;
            a.percRete = Round(scelto->valore, 2);
        } else {
            for (const Concessionario& c : concessionari) {
                if (c.codice.compare(a.concessionario, Qt::CaseInsensitive) == 0) {
                    a.tipoRete = c.tipoRete;
                    a.percRete = Round(c.valoreRete, 2);
                }
            }
        }
        if (scelto && scelto->terzo && !a.contratto.isEmpty()) {
            for (const TipoContratto& t : contratti) {
                if (t.concessionario.compare(a.concessionario, Qt::CaseInsensitive) == 0 &&
                    t.contratto.compare(a.contratto, Qt::CaseInsensitive) == 0) {
                    a.percNoleggiatore = t.percentualeComodato;
                }
            }
        }
    }
}

namespace {

void InserisciApparecchio(Database& db, const Locale& l, Apparecchio& a) {
    a.scheda = db.insert("MagSchede", {"NomeGioco",     "CodiceInterno",    "CodiceAAMS",
                                       "Nullaosta",     "CodiceABarre",     "CodLocale",
                                       "CodiceAzienda", "TipologiaIncasso", "CodConcessionario",
                                       "Contratto",     "ultimoIncasso",    "cntotin",
                                       "cntotout",      "MoltiplicatoreIn", "Moltiplicatoreout",
                                       "Tipoh1",        "Tipoh2",           "Tipoh3",
                                       "ChHopper1",     "ChHopper2",        "ChHopper3",
                                       "attualeh1",     "attualeh2",        "attualeh3"},
                         {a.nomeGioco,
                          a.codiceInterno,
                          Opz(a.aams),
                          Opz(a.aams.isEmpty() ? QString() : "NO" + a.aams),
                          Opz(a.codiceInterno),
                          l.codice,
                          a.azienda,
                          a.tipologia,
                          Opz(a.concessionario),
                          Opz(a.contratto),
                          a.ultimo,
                          a.cntotin,
                          a.cntotout,
                          a.moltIn,
                          a.moltOut,
                          a.tipoH[0],
                          a.tipoH[1],
                          a.tipoH[2],
                          a.livelloH[0] * a.tipoH[0],
                          a.livelloH[1] * a.tipoH[1],
                          a.livelloH[2] * a.tipoH[2],
                          a.livelloH[0] * a.tipoH[0],
                          a.livelloH[1] * a.tipoH[1],
                          a.livelloH[2] * a.tipoH[2]});
    a.prodotto =
        db.insert("MagProdottoFinito",
                  {"Descrizione", "CodLocale", "CodMagazzino", "CodArticolo", "OrdineIncasso"},
                  {a.descrizione, l.codice, QStringLiteral("MAG01"), a.codArticolo, a.ordine});
    db.insert("MagProdottoDistinta", {"IdProdottoFinito", "TipoArticolo", "linkScheda"},
              {a.prodotto, 1, a.scheda});
    if (a.mobile) {
        const qint64 mobile = db.insert("magMobili", {"Descrizione", "Matricola"},
                                        {"Mobile " + a.nomeGioco, "MB" + a.codiceInterno});
        db.insert("MagProdottoDistinta", {"IdProdottoFinito", "TipoArticolo", "linkMobile"},
                  {a.prodotto, 2, mobile});
    }
    if (a.percentualePropria) {
        db.insert("PercentualiApparecchi", {"linkscheda", "codlocale", "tipologia", "percentuale"},
                  {a.scheda, l.codice, a.tipoCalcolo, a.percLocale});
    }
    for (ContatoreIsola& c : a.contatori) {
        c.id = db.insert("magschedecontatori",
                         {"linkscheda", "NumeroContatore", "tipocontatore", "moltiplicatore",
                          "contatore", "ContatoreAttuale", "DataContatore"},
                         {a.scheda, c.numero, c.entrata ? QStringLiteral("I") : QStringLiteral("U"),
                          c.moltiplicatore, c.valore, c.valore, a.ultimo});
    }
}

}  // namespace

void InserisciLocale(Database& db, Locale& l) {
    db.insert("AnagraficaLocali",
              {"CodLocale",
               "CatLocale",
               "TipoLocale",
               "Insegna",
               "Descr",
               "sospeso",
               "CodiceAzienda",
               "CodZona",
               "Indirizzo",
               "NumCivico",
               "CAP",
               "Localita",
               "Citta",
               "Provincia",
               "Iva",
               "tel",
               "tipologiaIncasso",
               "IncassoTasse",
               "GestioneDenaro",
               "Rimanenza",
               "codEsattore",
               "codAgente",
               "dataAcquisizione",
               "esDitta",
               "esPiva",
               "esSedeVia",
               "esSedeNr",
               "esSedeCap",
               "esSedeComune",
               "esSedeProvincia"},
              {l.codice,
               QStringLiteral("BAR"),
               QStringLiteral("Esercizio pubblico"),
               l.insegna,
               l.insegna + " - " + l.citta,
               l.sospesoDal.isValid(),
               l.azienda,
               Opz(l.zona),
               l.indirizzo,
               l.civico,
               l.cap,
               l.citta,
               l.citta,
               l.provincia,
               l.partitaIva,
               Opz(l.telefono),
               l.tipologiaIncasso,
               l.incassoTasse,
               l.gestioneDenaro,
               0.0,
               l.esattore,
               Opz(l.agente),
               l.acquisito,
               l.ragioneSociale,
               l.partitaIva,
               l.indirizzo,
               l.civico,
               l.cap,
               l.citta,
               l.provincia});
    db.insert("anagraficalocalicaratteristiche", {"codlocale", "AttesaFatturaC7"}, {l.codice, 0});
    for (const PercentualeLocale& p : l.percentuali) {
        db.insert("Localipercentuali",
                  {"codicelocale", "categoria", "Tipo", "percentualeloc", "percentualenol"},
                  {l.codice, p.categoria, p.tipo, p.locale, p.noleggiatore});
    }
    for (const ContrattoLocale& c : l.contratti) {
        db.insert(
            "LocaliConcessionari",
            {"codicelocale", "CodiceConcessionario", "contratto", "Tipo", "Valore", "TerzoGestore"},
            {l.codice, c.concessionario, Opz(c.contratto), c.tipo, c.valore, c.terzo});
    }
    for (Apparecchio& a : l.apparecchi)
        InserisciApparecchio(db, l, a);
}

void AggiornaSchede(Database& db, const Locale& l) {
    for (const Apparecchio& a : l.apparecchi) {
        db.executeNative(
            QStringLiteral("UPDATE MagSchede SET ultimoIncasso=?, cntotin=?, cntotout=?, "
                           "attualeh1=?, attualeh2=?, attualeh3=? WHERE id=?"),
            {a.ultimo, a.cntotin, a.cntotout, a.livelloH[0] * a.tipoH[0],
             a.livelloH[1] * a.tipoH[1], a.livelloH[2] * a.tipoH[2], a.scheda});
        for (const ContatoreIsola& c : a.contatori) {
            db.executeNative(QStringLiteral("UPDATE magschedecontatori SET contatore=?, "
                                            "ContatoreAttuale=?, DataContatore=? WHERE id=?"),
                             {c.valore, c.valore, a.ultimo, c.id});
        }
    }
}

}  // namespace incassi::schema::gen
