#include "window/windowmodel.h"

#include <gtest/gtest.h>

#include "support/testdb.h"
#include "values/error.h"

namespace incassi {
namespace {

struct Campo {
    const char* nome;
    const char* tag;
    bool pieno;
};

// A window with the given fields; combos get two items, a filled one selects
// the first.
void Costruisci(ModelloFinestra& f, std::initializer_list<Campo> campi) {
    for (const Campo& c : campi) {
        Controllo& k = f.aggiungi(QString::fromLatin1(c.nome));
        k.setTag(QString::fromLatin1(c.tag));
        if (k.tipo() == TipoControllo::Combo) {
            k.aggiungiElemento(QStringLiteral("uno"), 1);
            k.aggiungiElemento(QStringLiteral("due"), 2);
            k.setListIndex(c.pieno ? 0 : -1);
        } else if (c.pieno) {
            k.setText(QStringLiteral("x"));
        }
    }
}

TEST(ControllaObbligatori, ScoreByOrderAndMarkers) {
    struct {
        const char* caso;
        std::initializer_list<Campo> campi;
        int atteso;
    } casi[] = {
        {"obbligatorio poi due raccomandati",
         {{"txtA", "Obbligatorio", false},
          {"txtB", "required", false},
          {"cmbC", "required", false}},
         -997},
        {"due raccomandati poi obbligatorio",
         {{"txtB", "required", false},
          {"cmbC", "required", false},
          {"txeA", "Obbligatorio", false}},
         -999},
        {"solo raccomandati", {{"txtA", "required", false}, {"cmiB", "required", false}}, 2},
        {"tutto compilato", {{"txtA", "Obbligatorio", true}, {"cmbB", "required", true}}, 0},
        {"altri prefissi non controllati",
         {{"lllA", "Obbligatorio", false},
          {"chkB", "Obbligatorio", false},
          {"cmgC", "Obbligatorio", false},
          {"ambD", "required", false}},
         0},
        {"tag vuoto saltato", {{"txtA", "", false}}, 0},
        {"altro tag: conta senza bloccare", {{"txtA", "importante", false}}, 1},
        {"tag maiuscolo non riconosciuto come obbligatorio", {{"txtA", "OBBLIGATORIO", false}}, 1},
        {"due obbligatori",
         {{"txtA", "Obbligatorio", false}, {"txtB", "Obbligatorio", false}},
         -999},
    };
    for (const auto& c : casi) {
        ModelloFinestra f;
        Costruisci(f, c.campi);
        EXPECT_EQ(ControllaObbligatori(f), c.atteso) << c.caso;
    }
}

TEST(ControllaObbligatori, HighlightsEmptyFieldsAndRestoresFilledOnes) {
    ModelloFinestra f;
    Costruisci(f, {{"txtA", "Obbligatorio", false},
                   {"txeB", "required", false},
                   {"txtC", "altro", false},
                   {"txtD", "Obbligatorio", true},
                   {"txtE", "", false}});
    f[QStringLiteral("txtD")].setBackColor(colori::Rosso);
    f[QStringLiteral("txtE")].setBackColor(colori::Verde);
    ControllaObbligatori(f);
    EXPECT_EQ(f[QStringLiteral("txtA")].backColor(), 255u);
    EXPECT_EQ(f[QStringLiteral("txeB")].backColor(), 65535u);
    EXPECT_EQ(f[QStringLiteral("txtC")].backColor(), 0xFFFFFFu);
    EXPECT_EQ(f[QStringLiteral("txtD")].backColor(), 0x80000005u);
    EXPECT_EQ(f[QStringLiteral("txtE")].backColor(), colori::Verde);  // no tag: untouched
}

// A marked field loses its mark as soon as it holds a value, whichever way
// it gets one; blanks are no value, and an unmarked colour stays.
TEST(ControllaObbligatori, AFilledFieldLosesItsMarkAtOnce) {
    ModelloFinestra f;
    Costruisci(f, {{"txtA", "Obbligatorio", false},
                   {"txeB", "required", false},
                   {"cmbC", "Obbligatorio", false},
                   {"cmbD", "required", false},
                   {"txtE", "Obbligatorio", false}});
    ControllaObbligatori(f);
    f[QStringLiteral("txtA")].setText(QStringLiteral("  "));
    EXPECT_EQ(f[QStringLiteral("txtA")].backColor(), colori::Rosso);
    f[QStringLiteral("txtA")].setText(QStringLiteral("x"));
    f[QStringLiteral("txeB")].setValue(12);
    f[QStringLiteral("cmbC")].setListIndex(1);
    f[QStringLiteral("cmbD")].selezionaPerValore(2);
    for (const char* nome : {"txtA", "txeB", "cmbC", "cmbD"})
        EXPECT_EQ(f[QLatin1String(nome)].backColor(), colori::Normale) << nome;
    EXPECT_EQ(f[QStringLiteral("txtE")].backColor(), colori::Rosso);  // still empty
    f[QStringLiteral("txtE")].setBackColor(colori::Verde);
    f[QStringLiteral("txtE")].setText(QStringLiteral("x"));
    EXPECT_EQ(f[QStringLiteral("txtE")].backColor(), colori::Verde);  // not a mark
}

TEST(PulisciCampi, ClearsByKindAndKeepsTheCausalWhenAsked) {
    for (bool mantieni : {false, true}) {
        ModelloFinestra f;
        for (const char* n : {"lllTot", "EtiId", "atiX", "txtA", "axtB", "TXECODCAUSALE",
                              "txeCodLocale", "cmgE", "chkF", "ahkG", "cmdSalva"}) {
            Controllo& c = f.aggiungi(QString::fromLatin1(n));
            c.setText(QStringLiteral("1"));
            c.setBackColor(colori::Rosso);
        }
        Controllo& cmb = f.aggiungi(QStringLiteral("cmbH"));
        cmb.aggiungiElemento(QStringLiteral("a"));
        cmb.setListIndex(0);
        cmb.setBackColor(colori::Giallo);
        Controllo& lis = f.aggiungi(QStringLiteral("lisI"));
        lis.aggiungiElemento(QStringLiteral("a"));

        PulisciCampi(f, mantieni);

        for (const char* n : {"lllTot", "EtiId", "atiX"})
            EXPECT_EQ(f[QString::fromLatin1(n)].caption(), QStringLiteral("0")) << n;
        for (const char* n : {"txtA", "axtB", "txeCodLocale", "cmgE"}) {
            EXPECT_EQ(f[QString::fromLatin1(n)].text(), QString()) << n;
            EXPECT_EQ(f[QString::fromLatin1(n)].backColor(), colori::Normale) << n;
        }
        const Controllo& causale = f[QStringLiteral("txecodcausale")];
        EXPECT_EQ(causale.text(), mantieni ? QStringLiteral("1") : QString());
        EXPECT_EQ(causale.backColor(), mantieni ? colori::Rosso : colori::Normale);
        EXPECT_EQ(f[QStringLiteral("chkF")].checked(), 0);
        EXPECT_EQ(f[QStringLiteral("ahkG")].checked(), 0);
        EXPECT_EQ(cmb.listIndex(), -1);
        EXPECT_EQ(cmb.backColor(), colori::Normale);
        EXPECT_TRUE(lis.elementi().empty());
        EXPECT_EQ(f[QStringLiteral("cmdSalva")].text(), QStringLiteral("1"));
    }
}

TEST(ImpostaModalita, ToolbarFollowsRightsAndMode) {
    test::TestDb db;
    const RuoloPulsante ruoli[] = {RuoloPulsante::Nuovo,        RuoloPulsante::Modifica,
                                   RuoloPulsante::Ricerca,      RuoloPulsante::Elimina,
                                   RuoloPulsante::Stampa,       RuoloPulsante::RicerchePers,
                                   RuoloPulsante::Salva,        RuoloPulsante::Annulla,
                                   RuoloPulsante::SoloModifica, RuoloPulsante::Altro};
    // Each right taken away in turn: only its button goes off while browsing.
    bool Diritti::*diritti[] = {&Diritti::inserimento, &Diritti::modifica,
                                &Diritti::ricerca,     &Diritti::cancellazione,
                                &Diritti::stampa,      &Diritti::ricerchePers};
    for (int tolto = -1; tolto < 6; ++tolto) {
        Diritti d = Diritti::Tutti();
        if (tolto >= 0) d.*diritti[tolto] = false;
        db.host().setOperatore({QStringLiteral("ANNA"), d});
        ModelloFinestra f;
        for (int i = 0; i < 10; ++i)
            f.barra().aggiungi(QStringLiteral("b%1").arg(i), ruoli[i]);
        f.barra().aggiungi(QStringLiteral("cerca2"), RuoloPulsante::Ricerca);

        ImpostaModalita(f, db.host(), true);
        for (int i = 0; i < 10; ++i) {
            const bool atteso = i < 6 ? i != tolto : i == 9;
            EXPECT_EQ(f.barra().pulsanti()[size_t(i)].enabled, atteso) << tolto << " " << i;
        }
        EXPECT_EQ(f.barra().trova(QStringLiteral("CERCA2"))->enabled, tolto != 2);

        ImpostaModalita(f, db.host(), false);
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(f.barra().pulsanti()[size_t(i)].enabled, i >= 6 && i <= 8) << i;
    }
}

TEST(ImpostaModalita, ControlsByPrefix) {
    test::TestDb db;
    ModelloFinestra f;
    const char* perModifica[] = {"txtA", "TXEb", "cmbC", "cmiD", "chkE", "axtF", "axeG", "ambH",
                                 "amiI", "ahkJ", "TDBK", "tttL", "cmdM", "CheN", "amdO", "aheP"};
    const char* perNavigazione[] = {"txlFiltro", "CCaInc", "ccaAcc"};
    const char* invariati[] = {"lllTot", "EtiId", "cmgX", "GrigliaIncassi", "lisY"};
    for (auto n : perModifica)
        f.aggiungi(QString::fromLatin1(n));
    for (auto n : perNavigazione)
        f.aggiungi(QString::fromLatin1(n));
    for (auto n : invariati)
        f.aggiungi(QString::fromLatin1(n)).setEnabled(false);

    for (bool navigazione : {true, false}) {
        ImpostaModalita(f, db.host(), navigazione);
        for (auto n : perModifica)
            EXPECT_EQ(f[QString::fromLatin1(n)].enabled(), !navigazione) << n;
        for (auto n : perNavigazione)
            EXPECT_EQ(f[QString::fromLatin1(n)].enabled(), navigazione) << n;
        for (auto n : invariati)
            EXPECT_FALSE(f[QString::fromLatin1(n)].enabled()) << n;
    }
}

TEST(ModelloFinestra, FindsByNameWithoutCaseAndRefusesDuplicates) {
    ModelloFinestra f;
    f.aggiungi(QStringLiteral("txeCodLocale"));
    f.aggiungi(QStringLiteral("GrigliaIncassi"));
    EXPECT_NE(f.trova(QStringLiteral("TXECODLOCALE")), nullptr);
    EXPECT_EQ(f.trova(QStringLiteral("txeCodLoc")), nullptr);
    EXPECT_THROW(f.aggiungi(QStringLiteral("txecodlocale")), Errore);
    EXPECT_THROW(f[QStringLiteral("manca")], Errore);
    EXPECT_EQ(f[QStringLiteral("grigliaincassi")].tipo(), TipoControllo::Griglia);
    EXPECT_EQ(f.controlli().size(), 2u);
}

TEST(ControlloCombo, SelectsByTextOrItemData) {
    Controllo c(QStringLiteral("cmbCodiceAzienda"));
    c.aggiungiElemento(QStringLiteral("Alfa Srl"), QStringLiteral("A1"));
    c.aggiungiElemento(QStringLiteral("Beta Spa"), 7);
    struct {
        QVariant valore;
        int indice;
        QVariant letto;
    } casi[] = {{QStringLiteral("a1"), 0, QStringLiteral("A1")},
                {QStringLiteral("beta spa"), 1, 7},
                {7.0, 1, 7},
                {QStringLiteral("7"), 1, 7},
                {QStringLiteral("Gamma"), -1, QVariant()},
                {QVariant(), -1, QVariant()}};
    for (const auto& k : casi) {
        c.setValue(k.valore);
        EXPECT_EQ(c.listIndex(), k.indice) << k.valore.toString().toStdString();
        EXPECT_EQ(c.value(), k.letto) << k.valore.toString().toStdString();
    }
    EXPECT_THROW(c.setListIndex(2), Errore);

    Controllo g(QStringLiteral("cmgNote"));  // editable: keeps a typed text
    g.aggiungiElemento(QStringLiteral("uno"));
    g.setText(QStringLiteral("libero"));
    EXPECT_EQ(g.listIndex(), -1);
    EXPECT_EQ(g.text(), QStringLiteral("libero"));
}

}  // namespace
}  // namespace incassi
