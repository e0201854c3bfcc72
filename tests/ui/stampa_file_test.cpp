// The exported files read back by other programs, as the office would open
// them: the PDF's text, the workbook's cells and formulas, the Word text.

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QSqlQuery>

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "reportengine/motorefile.h"
#include "schema/creazione.h"
#include "schema/demo.h"
#include "support/testdb.h"
#include "ui/frmincassi_view.h"
#include "ui/salavista.h"
#include "ui/stampavista.h"
#include "values/values.h"
#include "window/scriptedui.h"

namespace incassi::stampa {
namespace {

QString Esegui(const QString& programma, const QStringList& argomenti) {
    QProcess p;
    p.start(programma, argomenti);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        ADD_FAILURE() << programma.toStdString() << ": "
                      << QString::fromUtf8(p.readAllStandardError()).toStdString();
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

class StampaFile : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        modello_ = new QTemporaryDir;
        test::TestDb t;
        schema::PreparaSchema(t.db());
        schema::CaricaDemo(t.db(), QDate(2026, 12, 7));
        QSqlQuery(t.db().connection()).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        QFile::copy(t.db().fileName(), modello_->filePath(QStringLiteral("demo.sqlite")));
    }
    static void TearDownTestSuite() { delete modello_; }

    StampaFile() : t(modello_->filePath(QStringLiteral("demo.sqlite"))) {
        t.host().setPersonalizzazione(false);
        // The venue of the latest collection with machines, and that collection.
        id = t.scalar(
                  "SELECT max(IdTesta) FROM NoteIncassi WHERE IdTesta IN (SELECT id FROM "
                  "NoteTeste WHERE CodCausale='INC6')")
                 .toLongLong();
        locale = t.scalar(QStringLiteral("SELECT CodLocale FROM NoteTeste WHERE id=%1").arg(id))
                     .toString();
        insegna = t.scalar(QStringLiteral("SELECT Insegna FROM AnagraficaLocali WHERE "
                                          "CodLocale='%1'")
                               .arg(locale))
                      .toString();
    }

    // Exports report `n` of the list: the current collection, or the year.
    QString esporta(int n, bool periodo, const char* comando) {
        FrmStampa f(t.host(), ui, motore,
                    {QStringLiteral("Incassi"), id, locale, insegna, QDate(2026, 12, 7)});
        f.Apri();
        f[QStringLiteral("ChkCorrente")].setChecked(!periodo);
        f[QStringLiteral("ChkPerPeriodo")].setChecked(periodo);
        f[QStringLiteral("List1")].setListIndex(n);
        EXPECT_TRUE(f.Esegui(QLatin1String(comando)));
        foto(f.ultimoFile());
        return f.ultimoFile();
    }

    // The first page as a picture, when INCASSI_FOTO names a folder.
    static void foto(const QString& file) {
        const QString cartella = qEnvironmentVariable("INCASSI_FOTO");
        if (cartella.isEmpty() || !file.endsWith(QStringLiteral(".pdf"))) return;
        Esegui(QStringLiteral("pdftoppm"),
               {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("80"),
                QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                QStringLiteral("1"), QStringLiteral("-singlefile"), file,
                QDir(cartella).filePath(QFileInfo(file).completeBaseName())});
    }

    static void fotoFinestra(QWidget* w, const QString& nome) {
        const QString cartella = qEnvironmentVariable("INCASSI_FOTO");
        if (!cartella.isEmpty()) w->grab().save(QDir(cartella).filePath(nome + ".png"));
    }

    // "1.234,56": the sum of a column of the collection's machine rows.
    QString somma(const char* colonna) {
        return FormatoNumero(
            t.scalar(QStringLiteral("SELECT sum(%1) FROM NoteIncassi WHERE IdTesta=%2")
                         .arg(QLatin1String(colonna))
                         .arg(id))
                .toDouble(),
            2);
    }

    static inline QTemporaryDir* modello_ = nullptr;
    test::TestDb t;
    ScriptedUi ui;
    MotoreFile motore;
    qlonglong id = 0;
    QString locale, insegna;
};

TEST_F(StampaFile, TheReceiptPdfHoldsTheVenueTheMachinesAndTheTotals) {
    const QString pdf = esporta(0, false, "CmdPdf");
    const QString testo =
        Esegui(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(testo.contains(insegna)) << testo.toStdString();
    auto macchine = t.db().query(
        QStringLiteral("SELECT CodArticolo FROM NoteIncassi WHERE IdTesta=%1").arg(id));
    ASSERT_GT(macchine.count(), 0);
    for (const auto& r : macchine.rows)
        EXPECT_TRUE(testo.contains(r[0].toString())) << r[0].toString().toStdString();
    for (const char* c : {"ParzialeIn", "Preu", "IncassoVs", "IncassoNs"})
        EXPECT_TRUE(testo.contains(somma(c))) << c << " " << somma(c).toStdString();
    EXPECT_TRUE(testo.contains(QStringLiteral("Saldi aperti del locale")));
    EXPECT_TRUE(testo.contains(QStringLiteral("Pagina 1 di 1")));
}

// Every amount a number with the amount format, every total a SUBTOTAL over
// its rows whose stored value equals the sum of those rows.
TEST_F(StampaFile, TheWorkbookHoldsNumbersAndTotalsThatAddUp) {
    for (int report : {1, 2}) {
        SCOPED_TRACE(report);
        const QString xlsx = esporta(report, true, "CmdExportExcel");
        const QString verifica = QStringLiteral(R"(
import sys, openpyxl
f = openpyxl.load_workbook(sys.argv[1]).active
v = openpyxl.load_workbook(sys.argv[1], data_only=True).active
importi = totali = 0
for riga in f.iter_rows():
    for c in riga:
        if isinstance(c.value, str) and c.value.startswith('=SUBTOTAL(9,'):
            rif = c.value[len('=SUBTOTAL(9,'):-1]
            celle = [x for r in f[rif] for x in r]
            s = sum(x.value for x in celle if isinstance(x.value, (int, float)))
            atteso = round(s, 2)
            if abs(v[c.coordinate].value - atteso) > 0.005:
                print('totale', c.coordinate, v[c.coordinate].value, atteso); sys.exit(1)
            totali += 1
        elif isinstance(c.value, float):
            if c.number_format != '#,##0.00':
                print('formato', c.coordinate, c.number_format); sys.exit(1)
            importi += 1
print(importi, totali)
)");
        const QStringList conti =
            Esegui(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), verifica, xlsx})
                .split(u' ');
        ASSERT_EQ(conti.size(), 2);
        EXPECT_GT(conti[0].toInt(), 50);
        EXPECT_GE(conti[1].trimmed().toInt(), 9);
    }
}

TEST_F(StampaFile, TheWordDocumentHoldsTheTable) {
    const QString docx = esporta(2, true, "CmdXls");
    EXPECT_TRUE(docx.endsWith(QStringLiteral(".docx")));
    const QString testo = Esegui(QStringLiteral("docx2txt"), {docx, QStringLiteral("-")});
    for (const char* atteso : {"Dettaglio apparecchi dal 01/01/2026 al 07/12/2026", "Quota gestore",
                               "Totale documento", "Totale del periodo"})
        EXPECT_TRUE(testo.contains(QLatin1String(atteso))) << atteso;
    EXPECT_TRUE(testo.contains(somma("ParzialeIn")));
}

// The collection window's "Stampa" on the document shown: the print window
// over it, an export by a click, the preview with its pages.
TEST_F(StampaFile, TheCollectionWindowPrintsTheDocumentShown) {
    ProprietaIngresso p;
    p.CodiceStampa = QStringLiteral("Incassi");
    auto w = std::make_unique<ui::FinestraIncassi>(t.host(), ui, p, RecordOperatore{});
    w->resize(1024, 768);
    w->show();
    w->modello().MostraDocumento(id);
    QAction* stampa = w->azione(QStringLiteral("Stampa"));
    ASSERT_TRUE(stampa->isEnabled());
    stampa->trigger();
    auto* v = w->findChild<ui::VistaStampa*>();
    ASSERT_NE(v, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(v));
    EXPECT_EQ(v->lista(0)->count(), 3);
    EXPECT_TRUE(v->findChild<QRadioButton*>(QStringLiteral("ChkCorrente"))->isChecked());
    EXPECT_TRUE(
        v->findChild<QRadioButton*>(QStringLiteral("ChkCorrente"))->text().endsWith(insegna));
    EXPECT_LE(v->frameGeometry().width(), 1024);
    EXPECT_LE(v->frameGeometry().height(), 768);
    fotoFinestra(v, QStringLiteral("stampa-finestra"));

    QTest::mouseClick(v->findChild<QPushButton*>(QStringLiteral("CmdPdf")), Qt::LeftButton);
    ASSERT_EQ(ui.fileAperti().size(), 1);
    EXPECT_TRUE(ui.fileAperti()[0].endsWith(QStringLiteral("export/pdf/Incassi1.pdf")));

    // The period, from the second report chosen by a click, in the preview.
    auto* periodo = v->findChild<QRadioButton*>(QStringLiteral("ChkPerPeriodo"));
    QTest::mouseClick(periodo, Qt::LeftButton, {}, QPoint(8, periodo->height() / 2));
    ASSERT_TRUE(v->modello()[QStringLiteral("ChkPerPeriodo")].checked());
    ASSERT_FALSE(v->modello()[QStringLiteral("ChkCorrente")].checked());
    v->lista(0)->setCurrentRow(2);
    QTest::mouseClick(v->findChild<QPushButton*>(QStringLiteral("CmdStampa")), Qt::LeftButton);
    auto* a = v->findChild<ui::VistaAnteprima*>();
    ASSERT_NE(a, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(a));
    EXPECT_GT(a->pagine(), 1);
    EXPECT_EQ(a->testoPagina(), QStringLiteral("Pagina 1 di %1").arg(a->pagine()));
    EXPECT_EQ(a->anteprima()->geometry().width(), a->width());
    fotoFinestra(a, QStringLiteral("stampa-anteprima"));
    a->close();

    // Nothing chosen: a message, nothing written.
    QTest::mouseClick(v->findChild<QPushButton*>(QStringLiteral("CmdAzzera")), Qt::LeftButton);
    QTest::mouseClick(v->findChild<QPushButton*>(QStringLiteral("CmdXls")), Qt::LeftButton);
    EXPECT_EQ(ui.fileAperti().size(), 1);
    EXPECT_TRUE(ui.messaggi().back().testo.startsWith(QStringLiteral("Scegliere")));
    QTest::keyClick(v->lista(0), Qt::Key_Escape);  // Esc closes, wherever the focus is
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w->findChild<ui::VistaStampa*>(), nullptr);
}

// The side panel's first demo link lists the collections of the venue shown
// and shows the one chosen in the same window.
TEST_F(StampaFile, ALinkShowsTheChosenCollectionOfTheVenue) {
    ProprietaIngresso p;
    p.CodiceStampa = QStringLiteral("Incassi");
    auto w = std::make_unique<ui::FinestraIncassi>(t.host(), ui, p, RecordOperatore{});
    w->show();
    w->modello().MostraDocumento(id);
    w->azione(QStringLiteral("link"))->trigger();
    auto* albero = w->findChild<QTreeWidget*>(QStringLiteral("Link"));
    ASSERT_NE(albero, nullptr);
    ASSERT_TRUE(albero->isVisible());
    QTreeWidgetItem* gruppo = albero->topLevelItem(0);
    EXPECT_EQ(gruppo->text(0), QStringLiteral("Torvane Link Incassi"));
    ASSERT_EQ(gruppo->childCount(), 3);
    const qlonglong prima =
        t.scalar(QStringLiteral("SELECT min(id) FROM NoteTeste WHERE CodLocale='%1' AND "
                                "CodCausale IN ('INC','INC6')")
                     .arg(locale))
            .toLongLong();
    ui.rispondiRicerca(QString::number(prima));
    Q_EMIT albero->itemActivated(gruppo->child(0), 0);
    EXPECT_EQ(ui.ricerche().back().Recordset->RecordCount(),
              t.scalar(QStringLiteral("SELECT count(*) FROM NoteTeste WHERE CodLocale='%1' AND "
                                      "CodCausale IN ('INC','INC6')")
                           .arg(locale))
                  .toInt());
    EXPECT_EQ(w->modello()[QStringLiteral("EtiId")].caption(), QString::number(prima));
    w->resize(1280, 800);
    fotoFinestra(w.get(), QStringLiteral("finestra-incassi-link"));
}

// The hall wizard from the "Apparecchi" menu on the hall and day shown, its
// two pages, and "Crea incasso" loading the hall's machines into a new INC6.
TEST_F(StampaFile, TheHallWizardCreatesTheHallsCollection) {
    ProprietaIngresso p;
    p.CodiceStampa = QStringLiteral("Incassi");
    auto w = std::make_unique<ui::FinestraIncassi>(t.host(), ui, p, RecordOperatore{});
    w->show();
    w->modello().MostraDocumento(id);
    w->Aggiorna();
    w->azione(QStringLiteral("MenuWizardSala"))->trigger();
    auto* s = w->findChild<ui::VistaSala*>();
    ASSERT_NE(s, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(s));
    const int macchine =
        t.scalar(QStringLiteral("SELECT count(*) FROM MagSchede WHERE CodLocale='%1' AND "
                                "TipologiaIncasso=6")
                     .arg(locale))
            .toInt();
    ASSERT_GT(macchine, 0);
    EXPECT_EQ(s->lista()->topLevelItemCount(), macchine);
    EXPECT_EQ(s->lista()->columnCount(), 18);
    fotoFinestra(s, QStringLiteral("wizard-sala"));
    QTest::mouseClick(s->findChild<QPushButton*>(QStringLiteral("CmdAvanti")), Qt::LeftButton);
    EXPECT_EQ(s->schede()->currentIndex(), 1);
    fotoFinestra(s, QStringLiteral("wizard-sala-2"));
    QTest::mouseClick(s->findChild<QPushButton*>(QStringLiteral("CmdCreaIncasso")), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w->findChild<ui::VistaSala*>(), nullptr);
    EXPECT_TRUE(w->modello().nuovo());
    EXPECT_EQ(w->modello().righeIncassi()->RecordCount(), macchine);
}

}  // namespace
}  // namespace incassi::stampa
