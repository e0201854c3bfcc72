#include "entry/configura.h"

#include <gtest/gtest.h>

#include "entry/lanciatore.h"
#include "schema/creazione.h"
#include "support/testdb.h"
#include "values/error.h"

namespace incassi {
namespace {

struct Apertura {
    QString nome;
    bool modale;
    bool operator==(const Apertura&) const = default;
};

class LanciatoreFinto : public Lanciatore {
  public:
    void Apri(const QString& nome, bool modale) override { aperture.push_back({nome, modale}); }
    std::vector<Apertura> aperture;
};

class Entrata : public ::testing::Test {
  protected:
    void SetUp() override {
        schema::PreparaSchema(db.db());
        db.run({QStringLiteral(
            "INSERT INTO operatori (codiceUtente, codiceditta, accessocompleto) VALUES "
            "('ANNA', 'D01', -1), ('O''BRIEN', 'D02', 0)")});
        entrata.setApplicazione(&db.host());
    }
    test::TestDb db;
    LanciatoreFinto lanciatore;
    configura entrata{&lanciatore};
};

TEST_F(Entrata, FunctionCodesOpenTheirWindow) {
    const struct {
        const char* codice;
        const char* finestra;  // "" when nothing opens
    } casi[] = {
        {"Incassi", "FrmIncassi"},
        {"incassi", "FrmIncassi"},
        {"PRESTITO", "FrmWizardPre"},
        {"Giroconto", "FrmVersamento"},
        {"rimanenza", "FrmWizardRimanenze"},
        {"Incassi ", ""},
        {"Versamento", ""},
        {"", ""},
    };
    for (const auto& c : casi) {
        lanciatore.aperture.clear();
        entrata.setCodiceStampa(QString::fromUtf8(c.codice));
        entrata.Start();
        const QString atteso = QString::fromUtf8(c.finestra);
        if (atteso.isEmpty()) {
            EXPECT_TRUE(lanciatore.aperture.empty()) << c.codice;
        } else {
            ASSERT_EQ(lanciatore.aperture.size(), 1u) << c.codice;
            EXPECT_EQ(lanciatore.aperture[0].nome, atteso) << c.codice;
        }
    }
}

TEST_F(Entrata, OnlyOneIsModal) {
    const struct {
        const char* modale;
        bool atteso;
    } casi[] = {{"1", true},   {"0", false},  {"", false},
                {"si", false}, {"-1", false}, {" 1", false}};
    entrata.setCodiceStampa(QStringLiteral("Incassi"));
    for (const auto& c : casi) {
        lanciatore.aperture.clear();
        entrata.setModale(QString::fromUtf8(c.modale));
        entrata.Start();
        ASSERT_EQ(lanciatore.aperture.size(), 1u) << c.modale;
        EXPECT_EQ(lanciatore.aperture[0].modale, c.atteso) << c.modale;
    }
}

TEST_F(Entrata, OperatorRecordIsTheHostsOperator) {
    const struct {
        const char* utente;
        const char* ditta;
        bool completo;
    } casi[] = {
        {"ANNA", "D01", true},       {"anna", "D01", true},
        {"O'BRIEN", "D02", false},  // the quote is doubled inside the literal
        {"NESSUNO", "", false},     // no row: no company, no full access
        {"x' or '1'='1", "", false},
    };
    for (const auto& c : casi) {
        db.host().setOperatore({QString::fromUtf8(c.utente), Diritti::Tutti()});
        entrata.setCodiceStampa(QStringLiteral("nessuna finestra"));
        entrata.Start();
        ASSERT_NE(entrata.RecordOperatore(), nullptr) << c.utente;
        EXPECT_EQ(entrata.CodiceDitta(), QString::fromUtf8(c.ditta)) << c.utente;
        EXPECT_EQ(entrata.AccessoCompleto(), c.completo) << c.utente;
    }
}

TEST_F(Entrata, PropertiesAndStartWithoutHost) {
    EXPECT_EQ(entrata.CampoRicerca(), QString());
    entrata.setCampoRicerca(QStringLiteral(" Campo "));
    EXPECT_EQ(entrata.CampoRicerca(), QStringLiteral(" Campo "));  // stored unchanged
    configura senzaHost{&lanciatore};
    senzaHost.setCodiceStampa(QStringLiteral("Incassi"));
    EXPECT_THROW(senzaHost.Start(), Errore);
    EXPECT_TRUE(lanciatore.aperture.empty());
}

TEST(Versione, RevisionAndMinorHaveThreeDigits) {
    EXPECT_EQ(TestoVersione(1, 2, 15), QStringLiteral("1.002015"));
    EXPECT_EQ(TestoVersione(3, 0, 7), QStringLiteral("3.000007"));
    EXPECT_TRUE(TestoVersione(1, 12, 7).endsWith(QStringLiteral("007")));
    EXPECT_EQ(TestoVersione(10, 123, 456), QStringLiteral("10.123456"));
    configura c;
    EXPECT_EQ(c.Ver(),
              TestoVersione(INCASSI_VERSION_MAJOR, INCASSI_VERSION_MINOR, INCASSI_VERSION_PATCH));
}

// A window that records how it was shown and can be closed by the test.
class FinestraFinta : public Finestra {
  public:
    explicit FinestraFinta(QStringList& log, QString nome) : log_(log), nome_(std::move(nome)) {}
    void Mostra(bool modale) override { log_ << nome_ + (modale ? u'M' : u'-'); }
    bool Aperta() const override { return aperta; }
    bool aperta = true;

  private:
    QStringList& log_;
    QString nome_;
};

TEST(Registro, FactoriesPlaceholderAndReuse) {
    configura entrata;
    RegistroFinestre registro(entrata);
    QStringList log;
    int create = 0;
    auto fabbrica = [&](const QString& tipo) {
        return [&, tipo](configura& e, const QString& nome) -> std::unique_ptr<Finestra> {
            EXPECT_EQ(&e, &entrata);
            ++create;
            return std::make_unique<FinestraFinta>(log, tipo + u':' + nome);
        };
    };
    registro.Apri(finestre::Incassi, false);  // neither a factory nor a placeholder
    EXPECT_TRUE(log.isEmpty());

    registro.Registra(QStringLiteral("frmincassi"), fabbrica(QStringLiteral("vera")));
    registro.RegistraSegnaposto(fabbrica(QStringLiteral("segnaposto")));
    registro.Apri(finestre::Incassi, false);
    registro.Apri(finestre::WizardPrestito, true);
    registro.Apri(finestre::Incassi, true);  // still open: shown again, not created
    EXPECT_EQ(create, 2);
    auto* ultima = static_cast<FinestraFinta*>(registro.Aperta(finestre::Incassi));
    ASSERT_NE(ultima, nullptr);
    ultima->aperta = false;  // closed by the user
    EXPECT_EQ(registro.Aperta(finestre::Incassi), nullptr);
    registro.Apri(finestre::Incassi, false);
    EXPECT_EQ(create, 3);
    EXPECT_EQ(log, QStringList({"vera:FrmIncassi-", "segnaposto:FrmWizardPreM", "vera:FrmIncassiM",
                                "vera:FrmIncassi-"}));
}

}  // namespace
}  // namespace incassi
