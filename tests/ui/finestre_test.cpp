#include "ui/finestre.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>

#include "entry/accesso.h"
#include "entry/configura.h"
#include "schema/creazione.h"
#include "support/testdb.h"
#include "ui/principale.h"
#include "window/scriptedui.h"

namespace incassi::ui {
namespace {

void EliminaRimandati() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(Finestre, PlaceholderOpensAndClosesOnTheHostsRequest) {
    test::TestDb db;
    schema::PreparaSchema(db.db());
    configura entrata;
    RegistroFinestre registro(entrata);
    entrata.setLanciatore(&registro);
    entrata.setApplicazione(&db.host());
    ScriptedUi ui;
    QList<QPointer<QWidget>> aperte;
    RegistraViste(registro, ui, [&](QWidget* w) { aperte << w; });

    // A window without a view of its own.
    const QString nome = QStringLiteral("FrmNote");
    registro.Apri(nome, false);
    registro.Apri(nome, false);  // still open: not created twice
    ASSERT_EQ(aperte.size(), 1);
    auto* w = qobject_cast<FinestraPlugin*>(aperte[0].data());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("..:: FrmNote ::.."));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->timerChiusura().interval(), 3000);
    EXPECT_TRUE(w->timerChiusura().isActive());
    const auto* avviso = w->findChild<QLabel*>(QStringLiteral("lblAvviso"));
    ASSERT_NE(avviso, nullptr);
    EXPECT_TRUE(avviso->text().contains(QStringLiteral("non è ancora disponibile")));

    w->controllaChiusura();  // nothing asked yet
    EliminaRimandati();
    ASSERT_FALSE(aperte[0].isNull());
    db.host().chiediChiusura();
    w->controllaChiusura();
    EliminaRimandati();
    EXPECT_TRUE(aperte[0].isNull());
    EXPECT_EQ(registro.Aperta(nome), nullptr);

    db.host().chiediChiusura(false);
    registro.Apri(nome, false);  // a closed window is created again
    EXPECT_EQ(aperte.size(), 2);
    delete aperte[1].data();
}

TEST(Accesso, WrongPasswordKeepsTheDialogOpen) {
    test::TestDb db;
    schema::PreparaSchema(db.db());
    db.host().Execute(QStringLiteral("insert into operatori (codiceUtente, PasswordHash, stampa) "
                                     "values ('ANNA', '%1', -1)")
                          .arg(HashPassword(QStringLiteral("pw"))));
    DialogoAccesso d(db.host());
    d.codice()->setText(QStringLiteral("anna"));
    d.password()->setText(QStringLiteral("sbagliata"));
    d.prova();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_FALSE(d.avviso()->text().isEmpty());
    EXPECT_TRUE(d.password()->text().isEmpty());
    d.password()->setText(QStringLiteral("pw"));
    d.prova();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    ASSERT_TRUE(d.operatore());
    EXPECT_EQ(d.operatore()->codice, QStringLiteral("ANNA"));
    EXPECT_TRUE(d.operatore()->diritti.stampa);
}

// Runs torvane; returns its exit code.
int Torvane(const QStringList& argomenti, QString* errori = nullptr) {
    QProcess p;
    p.start(QStringLiteral(TORVANE_PATH), argomenti);
    if (!p.waitForFinished(60000)) return -1;
    if (errori) *errori = QString::fromLocal8Bit(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

class Torvane_ : public ::testing::Test {
  protected:
    void SetUp() override {
        auto db = Database::OpenSqlite(file());
        schema::PreparaSchema(*db);
        db->execute(
            QStringLiteral("insert into operatori (codiceUtente, admin) values ('ANNA', -1)"));
    }
    QString file() const { return dir.filePath(QStringLiteral("incassi.sqlite")); }
    QStringList base(const QString& operatore) const {
        return {QStringLiteral("--db"),       file(),
                QStringLiteral("--ini"),      dir.filePath(QStringLiteral("torvane.ini")),
                QStringLiteral("--operator"), operatore};
    }
    QTemporaryDir dir;
};

TEST_F(Torvane_, ScreenshotIsSavedAndNotBlank) {
    const QString png = dir.filePath(QStringLiteral("incassi.png"));
    QString errori;
    ASSERT_EQ(Torvane(base(QStringLiteral("anna"))
                          << QStringLiteral("--module") << QStringLiteral("Incassi")
                          << QStringLiteral("--screenshot") << png,
                      &errori),
              0)
        << errori.toStdString();
    const QImage img(png);
    ASSERT_FALSE(img.isNull());
    EXPECT_GE(img.width(), 200);
    const QRgb primo = img.pixel(0, 0);
    bool diverso = false;
    for (int y = 0; y < img.height() && !diverso; ++y) {
        for (int x = 0; x < img.width() && !diverso; ++x)
            diverso = img.pixel(x, y) != primo;
    }
    EXPECT_TRUE(diverso) << "the screenshot is a single colour";
}

TEST_F(Torvane_, RefusesUnknownOperatorAndModule) {
    const QString png = dir.filePath(QStringLiteral("x.png"));
    QString errori;
    EXPECT_EQ(Torvane(base(QStringLiteral("NESSUNO"))
                          << QStringLiteral("--module") << QStringLiteral("Incassi")
                          << QStringLiteral("--screenshot") << png,
                      &errori),
              1);
    EXPECT_TRUE(errori.contains(QStringLiteral("NESSUNO"))) << errori.toStdString();
    EXPECT_EQ(Torvane(base(QStringLiteral("ANNA"))
                          << QStringLiteral("--module") << QStringLiteral("Magazzino")
                          << QStringLiteral("--screenshot") << png,
                      &errori),
              1);
    EXPECT_FALSE(QFile::exists(png));
}

}  // namespace
}  // namespace incassi::ui
