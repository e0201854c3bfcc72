#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>

#include "host/host.h"
#include "scenario/adattatori.h"
#include "scenario/esecutore.h"
#include "scenario/stampa.h"
#include "schema/creazione.h"
#include "support/testdb.h"
#include "values/error.h"
#include "window/searchbox.h"

using namespace incassi;
using namespace incassi::scenario;
using incassi::test::TestDb;

namespace {

// A window of two fields and a search box whose commands write to the
// database, one of them after a question whose error it catches and shows,
// as the real windows do.
class Prova : public AdattatoreFinestra {
  public:
    explicit Prova(ContestoFinestra& c) : c_(c) {
        f_.aggiungi(QStringLiteral("txtImporto"));
        f_.aggiungi(QStringLiteral("chkChiuso"));
        auto& causale = f_.aggiungi<CasellaRicerca>(QStringLiteral("txeCodCausale"), c.host);
        causale.setQuery(QStringLiteral("select * from AnagraficaCausali"));
        causale.setCamporicerca(QStringLiteral("codiceCausale"));
        aggiungiComando(QStringLiteral("Scrivi"), [this] { inserisci("ZZ"); });
        aggiungiComando(QStringLiteral("ChiediEScrivi"), [this] {
            try {
                c_.ui.Messaggio(QStringLiteral("Procedo?"), QStringLiteral("Conferma"),
                                Icona::Domanda, Pulsanti::SiNo);
            } catch (const Errore& e) {
                c_.ui.Messaggio(e.testo(), QStringLiteral("Errore"), Icona::Critico);
            }
            inserisci("YY");
        });
    }
    QString nome() const override { return QStringLiteral("Prova"); }
    void Apri() override {}
    ModelloFinestra& finestra() override { return f_; }

  private:
    void inserisci(const char* codice) {
        c_.host.Execute(
            QStringLiteral("insert into anagraficaaziende (CodiceAzienda, ordine) values ('%1', 9)")
                .arg(QLatin1String(codice)));
    }
    ContestoFinestra& c_;
    ModelloFinestra f_;
};

class Esecutore : public ::testing::Test {
  protected:
    void SetUp() override {
        schema::PreparaSchema(t.db());
        t.run(
            {"INSERT INTO operatori (codiceUtente, accessocompleto, admin, inserimento) VALUES "
             "('ANNA', -1, -1, -1)"});
        tabella.Registra(QStringLiteral("Prova"),
                         [](ContestoFinestra& c) { return std::make_unique<Prova>(c); });
    }

    QJsonObject esegui(const QByteArray& json) {
        return EseguiScenario(LeggiScenario(json, QStringLiteral("prova.json")), t.dove(), tabella);
    }

    // The message of the Errore that running `json` raises ("" when none).
    QString errore(const QByteArray& json) {
        try {
            esegui(json);
        } catch (const Errore& e) {
            return e.testo();
        }
        return {};
    }

    qint64 aziende(const char* codice) {
        return t
            .scalar(QStringLiteral("select count(*) from anagraficaaziende where "
                                   "CodiceAzienda='%1'")
                        .arg(QLatin1String(codice)))
            .toLongLong();
    }

    TestDb t;
    RegistroAdattatori tabella;
};

TEST_F(Esecutore, AStepThatFailsLeavesNothingTheRunWrote) {
    const QString e = errore(R"({"finestra": "Prova", "operatore": "anna", "passi": [
        {"azione": "comando", "nome": "Scrivi"},
        {"azione": "comando", "nome": "chiediescrivi"},
        {"azione": "comando", "nome": "Scrivi"}]})");
    // The window caught the error and went on writing: the step fails all the same.
    EXPECT_TRUE(
        e.startsWith("passo 2 (comando): Nessuna risposta preparata per la domanda "
                     "\"Conferma\""))
        << e.toStdString();
    EXPECT_EQ(aziende("ZZ"), 0);
    EXPECT_EQ(aziende("YY"), 0);
}

TEST_F(Esecutore, UnknownNamesAreNamedInTheMessage) {
    struct Caso {
        const char* json;
        const char* messaggio;
    } casi[] = {
        {R"({"finestra": "FrmNonEsiste", "operatore": "ANNA"})",
         "Finestra non gestita da incassi-run: FrmNonEsiste (gestite: Prova)"},
        {R"({"finestra": "Prova", "operatore": "NESSUNO"})", "L'operatore NESSUNO non esiste."},
        {R"({"finestra": "Prova", "operatore": "ANNA",
             "passi": [{"azione": "imposta", "controllo": "txtImporto", "valore": 5},
                       {"azione": "imposta", "controllo": "txtNonCe", "valore": 5}]})",
         "passo 2 (imposta): Controllo sconosciuto nella finestra Prova: txtNonCe"},
        {R"({"finestra": "Prova", "operatore": "ANNA",
             "passi": [{"azione": "comando", "nome": "Salva"}]})",
         "passo 1 (comando): Comando sconosciuto nella finestra Prova: Salva (disponibili: "
         "ChiediEScrivi, Scrivi)"},
        {R"({"finestra": "Prova", "operatore": "ANNA",
             "passi": [{"azione": "scegli", "controllo": "txeCodCausale", "codice": "XYZ"}]})",
         "passo 1 (scegli): Il codice \"XYZ\" non è tra le scelte di txeCodCausale"},
        {R"({"finestra": "Prova", "operatore": "ANNA",
             "passi": [{"azione": "cella", "riga": 1, "colonna": "a", "valore": 1}]})",
         "passo 1 (cella): La finestra Prova non ha griglie"},
        {R"({"finestra": "Prova", "operatore": "ANNA",
             "stampa": {"tabelle": [{"tabella": "anagraficaaziende", "colonne": ["Nessuna"]}]}})",
         "stampa: Colonna sconosciuta in tabella anagraficaaziende: Nessuna"},
    };
    for (const Caso& c : casi)
        EXPECT_EQ(errore(c.json), QString::fromUtf8(c.messaggio)) << c.json;
}

TEST_F(Esecutore, MalformedFilesAreRefusedBeforeAnythingRuns) {
    struct Caso {
        const char* json;
        const char* messaggio;
    } casi[] = {
        {"{\"finestra\": \"Prova\",\n \"operatore\": \"ANNA\"\n \"passi\": []}",
         "Scenario prova.json: riga 3: JSON non valido"},
        {R"({"finestra": "Prova"})", "Scenario prova.json: radice: manca \"operatore\""},
        {R"({"operatore": "ANNA"})",
         "Scenario prova.json: radice: serve \"finestra\" oppure \"ingresso.funzione\""},
        {R"({"ingresso": {"funzione": "Bilancio"}, "operatore": "ANNA"})",
         "Scenario prova.json: ingresso.funzione: codice funzione sconosciuto \"Bilancio\""},
        {R"({"ingresso": {"funzione": "Incassi"}, "finestra": "FrmWizardPre", "operatore": "A"})",
         "Scenario prova.json: finestra: la funzione \"Incassi\" apre FrmIncassi, non "
         "FrmWizardPre"},
        {R"({"finestra": "Prova", "operatore": "ANNA", "pasi": []})",
         "Scenario prova.json: radice: chiave sconosciuta \"pasi\""},
        {R"({"finestra": "Prova", "operatore": "ANNA", "passi": [{"azione": "salta"}]})",
         "Scenario prova.json: passi[1]: azione sconosciuta \"salta\""},
        {R"({"finestra": "Prova", "operatore": "ANNA", "passi": [{"azione": "cella", "riga": 0,
             "colonna": "x", "valore": 1}]})",
         "Scenario prova.json: passi[1].riga: atteso un numero di riga da 1 in su"},
        {R"({"finestra": "Prova", "operatore": "ANNA", "passi": [{"azione": "esci"}]})",
         "Scenario prova.json: passi[1]: all'azione \"esci\" manca \"controllo\""},
        {R"({"finestra": "Prova", "operatore": "ANNA", "risposte": {"messaggi": ["Forse"]}})",
         "Scenario prova.json: risposte.messaggi: risposta sconosciuta \"Forse\""},
        {R"({"finestra": "Prova", "operatore": "ANNA", "oggi": "31/02/2026"})",
         "Scenario prova.json: oggi: data non valida \"31/02/2026\""},
        {R"({"finestra": "Prova", "operatore": "ANNA", "stampa": {"tabelle": [{"sql":
             "delete from NoteTeste", "nome": "x"}]}})",
         "Scenario prova.json: stampa.tabelle[1].sql: solo interrogazioni select"},
    };
    for (const Caso& c : casi) {
        EXPECT_TRUE(errore(c.json).startsWith(QString::fromUtf8(c.messaggio)))
            << errore(c.json).toStdString();
    }
    EXPECT_EQ(aziende("ZZ"), 0);
}

TEST_F(Esecutore, PrintsValuesAsTheWindowShowsThem) {
    const QJsonObject out = esegui(R"({"finestra": "Prova", "operatore": "ANNA",
        "risposte": {"messaggi": ["Sì", "no"]},
        "passi": [{"azione": "imposta", "controllo": "txtImporto", "valore": "€. 1.234,56"},
                  {"azione": "imposta", "controllo": "chkChiuso", "valore": true},
                  {"azione": "scegli", "controllo": "txeCodCausale", "codice": "inc6"},
                  {"azione": "comando", "nome": "ChiediEScrivi"}],
        "stampa": {"controlli": ["txtImporto", "chkChiuso", "txeCodCausale"], "messaggi": true,
                   "tabelle": [{"nome": "nuove", "sql":
                       "select CodiceAzienda, ordine from anagraficaaziende where ordine=9"}]}})");
    EXPECT_EQ(out["controlli"].toObject(),
              (QJsonObject{{"txtImporto", 1234.56}, {"chkChiuso", 1}, {"txeCodCausale", "INC6"}}));
    const QJsonObject m = out["messaggi"].toArray().at(0).toObject();
    EXPECT_EQ(m["titolo"], "Conferma");
    EXPECT_EQ(m["risposta"], "Sì");
    EXPECT_EQ(m["pulsanti"], "Sì/No");
    EXPECT_EQ(out["risposteNonUsate"], 1);  // the "no" was never asked for
    EXPECT_EQ(out["tabelle"].toObject()["nuove"].toArray(),
              (QJsonArray{QJsonObject{{"CodiceAzienda", "YY"}, {"ordine", 9}}}));
}

TEST(ValoriStampati, AmountsRoundHalfToEvenAndCodesStayText) {
    ModelloFinestra f;
    struct Caso {
        const char* nome;
        const char* testo;
        QJsonValue atteso;
    } casi[] = {
        {"txtRiscosso", "€. -1.234,565", -1234.56},  // exact tie: to the even cent
        {"txtArrotondamenti", "0,135", 0.14},
        {"txtDataRegistrazione", "09/03/2026", "09/03/2026"},
        {"txeCodLocale", "0012", "0012"},
        {"txtDescrizione", "Bar Sport", "Bar Sport"},
        // A code that begins like a currency prefix is a code.
        {"txtNumeroTerminale", "L007", "L007"},
        {"txtAnnotazioni", "E.12", "E.12"},
        {"txtVersatoALocale", "L. 1.000.000", 1000000},
        {"txtAcconto", "€ 5", 5},
    };
    for (const Caso& c : casi) {
        Controllo& ctl = f.aggiungi(QLatin1String(c.nome));
        ctl.setText(QString::fromUtf8(c.testo));
        EXPECT_EQ(ValoreControllo(ctl), c.atteso) << c.nome;
    }
    Controllo& etichetta = f.aggiungi(QStringLiteral("lllTotPreu"));
    etichetta.setCaption(QStringLiteral("2,675"));
    EXPECT_EQ(ValoreControllo(etichetta), 2.68);

    EXPECT_EQ(ValoreJson(QVariant()), QJsonValue(QJsonValue::Null));
    EXPECT_EQ(ValoreJson(2.675), 2.68);
    EXPECT_EQ(ValoreJson(QDate(2026, 3, 9)), "2026-03-09");
    EXPECT_EQ(ValoreJson(qlonglong(15012000037)), QJsonValue(qint64(15012000037)));
}

}  // namespace
