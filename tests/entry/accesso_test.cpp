#include "entry/accesso.h"

#include <gtest/gtest.h>

#include "schema/creazione.h"
#include "support/testdb.h"
#include "values/error.h"

namespace incassi {
namespace {

TEST(Password, HashesAreSaltedAndChecked) {
    const QString h1 = HashPassword(QStringLiteral("segreta"));
    const QString h2 = HashPassword(QStringLiteral("segreta"));
    EXPECT_NE(h1, h2);  // a fresh salt each time
    EXPECT_TRUE(h1.startsWith(QStringLiteral("$argon2id$")));
    EXPECT_FALSE(HashDaAggiornare(h1));
    // The earlier form is still read, and is to be replaced.
    const QString fisso = HashPasswordSha256(QStringLiteral("segreta"), QStringLiteral("abcd"));
    EXPECT_TRUE(HashDaAggiornare(fisso));
    QString argonAlterato = h1;
    argonAlterato.back() = argonAlterato.back() == u'A' ? u'B' : u'A';
    QString alterato = fisso;  // one hex digit of the hash changed
    alterato.back() = alterato.back() == u'0' ? u'1' : u'0';
    const struct {
        QString memorizzato;
        const char* password;
        bool valida;
    } casi[] = {
        {h1, "segreta", true},
        {h2, "segreta", true},
        {h1, "Segreta", false},
        {h1, "", false},
        {fisso, "segreta", true},
        {alterato, "segreta", false},
        {argonAlterato, "segreta", false},
        {QString(), "", true},  // no hash: the empty password
        {QString(), "qualsiasi", false},
        {QStringLiteral("segreta"), "segreta", false},  // a plain text is not a hash
        {QStringLiteral("md5$abcd$") + fisso.section(u'$', 2), "segreta", false},
        {QStringLiteral("sha256$$") + fisso.section(u'$', 2), "segreta", false},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(VerificaPassword(c.memorizzato, QString::fromUtf8(c.password)), c.valida)
            << c.memorizzato.toStdString() << " / " << c.password;
    }
}

class Login : public ::testing::Test {
  protected:
    void SetUp() override {
        schema::PreparaSchema(db.db());
        db.host().Execute(
            QStringLiteral("insert into operatori (codiceUtente, PasswordHash, admin, inserimento, "
                           "modifica, ricerca, cancellazione, stampa, ricerchePers) values "
                           "('ANNA', '%1', 0, -1, 0, -1, 0, -1, 0)")
                .arg(HashPassword(QStringLiteral("pw"))));
        db.host().Execute(
            QStringLiteral("insert into operatori (codiceUtente, admin) values ('D''ARCO', -1)"));
    }
    test::TestDb db;
};

TEST_F(Login, CodePasswordAndRights) {
    const struct {
        const char* codice;
        const char* password;
        const char* accede;  // the code as stored, "" when refused
    } casi[] = {
        {"ANNA", "pw", "ANNA"}, {"anna", "pw", "ANNA"}, {" ANNA ", "pw", "ANNA"},
        {"ANNA", "PW", ""},     {"ANNA", "", ""},       {"d'arco", "", "D'ARCO"},
        {"D'ARCO", "pw", ""},   {"", "", ""},           {"' or ''='", "", ""},
    };
    for (const auto& c : casi) {
        const auto op =
            Accedi(db.host(), QString::fromUtf8(c.codice), QString::fromUtf8(c.password));
        EXPECT_EQ(op ? op->codice : QString(), QString::fromUtf8(c.accede)) << c.codice;
    }
    const auto anna = LeggiOperatore(db.host(), QStringLiteral("anna"));
    ASSERT_TRUE(anna);
    EXPECT_FALSE(anna->diritti.admin);
    EXPECT_TRUE(anna->diritti.inserimento);
    EXPECT_FALSE(anna->diritti.modifica);
    EXPECT_TRUE(anna->diritti.ricerca);
    EXPECT_FALSE(anna->diritti.cancellazione);
    EXPECT_TRUE(anna->diritti.stampa);
    EXPECT_FALSE(anna->diritti.ricerchePers);
    const auto darco = LeggiOperatore(db.host(), QStringLiteral("D'ARCO"));
    ASSERT_TRUE(darco);
    EXPECT_TRUE(darco->diritti.admin);
    EXPECT_FALSE(darco->diritti.inserimento);  // Null flags are no right
}

TEST_F(Login, APasswordIsSetForAnExistingOperatorOnly) {
    EXPECT_TRUE(ImpostaPassword(db.host(), QStringLiteral("d'arco"), QStringLiteral("nuova")));
    EXPECT_FALSE(Accedi(db.host(), QStringLiteral("D'ARCO"), QString()));
    EXPECT_TRUE(Accedi(db.host(), QStringLiteral("D'ARCO"), QStringLiteral("nuova")));
    EXPECT_FALSE(ImpostaPassword(db.host(), QStringLiteral("NESSUNO"), QStringLiteral("x")));
    EXPECT_THROW(ImpostaPassword(db.host(), QStringLiteral("ANNA"), QString()), Errore);
}

// A hash of the earlier, fast form is replaced by a slow one at the first
// login that proves the password, and only then.
TEST_F(Login, AnOldHashIsUpgradedAtTheNextLogin) {
    const QString vecchio = HashPasswordSha256(QStringLiteral("pw"), QStringLiteral("0011"));
    db.host().Execute(
        QStringLiteral("update operatori set PasswordHash='%1' where codiceUtente='ANNA'")
            .arg(vecchio));
    auto memorizzato = [&] {
        return db.scalar("select PasswordHash from operatori where codiceUtente='ANNA'").toString();
    };
    EXPECT_FALSE(Accedi(db.host(), QStringLiteral("ANNA"), QStringLiteral("sbagliata")));
    EXPECT_EQ(memorizzato(), vecchio);
    EXPECT_TRUE(Accedi(db.host(), QStringLiteral("ANNA"), QStringLiteral("pw")));
    EXPECT_TRUE(memorizzato().startsWith(QStringLiteral("$argon2id$")));
    EXPECT_TRUE(Accedi(db.host(), QStringLiteral("ANNA"), QStringLiteral("pw")));
    EXPECT_FALSE(Accedi(db.host(), QStringLiteral("ANNA"), QStringLiteral("PW")));
}

}  // namespace
}  // namespace incassi
