#include "ui/stampavista.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include "host/host.h"
#include "values/error.h"
#include "values/values.h"
#include "window/uiport.h"

namespace incassi::ui {

// ---- Preview -------------------------------------------------------------

VistaAnteprima::VistaAnteprima(Host* host, stampa::Contenuto contenuto,
                               std::function<void(stampa::FormatoExport)> esporta, QWidget* parent)
    : FinestraPlugin(host, parent),
      contenuto_(std::move(contenuto)),
      pagine_(stampa::Impagina(contenuto_)),
      stampante_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("FrmAnteprima"));
    setWindowFlag(Qt::Window);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(TitoloFinestra(QStringLiteral("Anteprima")) + QStringLiteral(" - ") +
                   contenuto_.titolo);
    stampante_->setDocName(contenuto_.titolo);
    stampante_->setPageOrientation(pagine_.orizzontale ? QPageLayout::Landscape
                                                       : QPageLayout::Portrait);

    auto* radice = new QVBoxLayout(this);
    radice->setContentsMargins(0, 0, 0, 0);
    auto* barra = new QToolBar(this);
    radice->addWidget(barra);
    anteprima_ = new QPrintPreviewWidget(stampante_.get(), this);
    anteprima_->setObjectName(QStringLiteral("Report1"));
    radice->addWidget(anteprima_, 1);
    connect(anteprima_, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* p) { stampa::Disegna(pagine_, *p, p->fromPage(), p->toPage()); });
    connect(anteprima_, &QPrintPreviewWidget::previewChanged, this,
            &VistaAnteprima::aggiornaPagina);

    auto azione = [&](const QString& testo, const QString& tasto, auto fatto) {
        QAction* a = barra->addAction(testo, this, fatto);
        if (!tasto.isEmpty()) a->setShortcut(QKeySequence(tasto));
        a->setObjectName(testo);
        return a;
    };
    azione(QStringLiteral("Stampa..."), QStringLiteral("Ctrl+P"), [this] { stampa(); });
    barra->addSeparator();
    azione(QStringLiteral("|<"), QStringLiteral("Home"), [this] {
        anteprima_->setCurrentPage(1);
        aggiornaPagina();
    });
    azione(QStringLiteral("<"), QStringLiteral("PgUp"), [this] {
        anteprima_->setCurrentPage(anteprima_->currentPage() - 1);
        aggiornaPagina();
    });
    pagina_ = new QLabel(this);
    pagina_->setObjectName(QStringLiteral("lblPagina"));
    pagina_->setContentsMargins(6, 0, 6, 0);
    barra->addWidget(pagina_);
    azione(QStringLiteral(">"), QStringLiteral("PgDown"), [this] {
        anteprima_->setCurrentPage(anteprima_->currentPage() + 1);
        aggiornaPagina();
    });
    azione(QStringLiteral(">|"), QStringLiteral("End"), [this] {
        anteprima_->setCurrentPage(anteprima_->pageCount());
        aggiornaPagina();
    });
    barra->addSeparator();
    azione(QStringLiteral("Zoom +"), QStringLiteral("Ctrl++"), [this] { anteprima_->zoomIn(); });
    azione(QStringLiteral("Zoom -"), QStringLiteral("Ctrl+-"), [this] { anteprima_->zoomOut(); });
    azione(QStringLiteral("Larghezza pagina"), QString(), [this] { anteprima_->fitToWidth(); });
    azione(QStringLiteral("Pagina intera"), QString(), [this] { anteprima_->fitInView(); });
    barra->addSeparator();
    const std::pair<const char*, stampa::FormatoExport> export_[] = {
        {"Excel", stampa::FormatoExport::Excel},
        {"PDF", stampa::FormatoExport::Pdf},
        {"Word", stampa::FormatoExport::Word},
    };
    for (const auto& [testo, formato] : export_) {
        const stampa::FormatoExport f = formato;
        azione(QLatin1String(testo), QString(), [esporta, f] {
            if (esporta) esporta(f);
        });
    }
    barra->addSeparator();
    azione(QStringLiteral("Chiudi"), QStringLiteral("Esc"), [this] { close(); });
    resize(900, 700);
}

VistaAnteprima::~VistaAnteprima() = default;

void VistaAnteprima::showEvent(QShowEvent* e) {
    FinestraPlugin::showEvent(e);
    CentraSulloSchermo(this);
    anteprima_->fitToWidth();
    aggiornaPagina();
}

void VistaAnteprima::aggiornaPagina() {
    pagina_->setText(QStringLiteral("Pagina %1 di %2")
                         .arg(std::max(1, anteprima_->currentPage()))
                         .arg(std::max(1, anteprima_->pageCount())));
}

void VistaAnteprima::stampa() {
    QPrintDialog dialogo(stampante_.get(), this);
    dialogo.setWindowTitle(QStringLiteral("Stampa"));
    if (dialogo.exec() != QDialog::Accepted) return;
    PuntatoreOccupato o;
    stampa::Disegna(pagine_, *stampante_, stampante_->fromPage(), stampante_->toPage());
}

void MotoreQt::Anteprima(const stampa::Contenuto& c) {
    auto* w = new VistaAnteprima(
        host_, c,
        [this, c](stampa::FormatoExport f) {
            if (esporta) esporta(f, c);
        },
        padre_);
    if (aperte_) aperte_(w);
    w->show();
}

// ---- Print window --------------------------------------------------------

VistaStampa::VistaStampa(Host& host, UiPort& ui, stampa::RichiestaStampa richiesta,
                         std::function<void(QWidget*)> aperte, QWidget* parent)
    : FinestraPlugin(&host, parent), ui_(ui), motore_(&host, std::move(aperte), this) {
    setObjectName(QStringLiteral("FrmStampa"));
    setWindowFlag(Qt::Window);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(TitoloFinestra(stampa::FrmStampa::Titolo()));
    modello_ = std::make_unique<stampa::FrmStampa>(host, ui, motore_, std::move(richiesta));
    modello_->Apri();
    motore_.esporta = [this](stampa::FormatoExport f, const stampa::Contenuto& c) {
        try {
            PuntatoreOccupato o;
            modello_->Esporta(c, f);
        } catch (const Errore& e) {
            ui_.Messaggio(QStringLiteral("Esportazione non riuscita: %1").arg(e.testo()),
                          stampa::FrmStampa::Titolo(), Icona::Critico);
        }
    };
    modello_->avanzamento = [this, dialogo = std::shared_ptr<QProgressDialog>()](
                                int fatti, int totale) mutable {
        if (totale < 20) return true;
        if (!dialogo) {
            dialogo = std::make_shared<QProgressDialog>(
                QStringLiteral("Preparazione dei documenti da stampare..."),
                QStringLiteral("Annulla"), 0, totale, this);
            dialogo->setWindowTitle(stampa::FrmStampa::Titolo());
            dialogo->setWindowModality(Qt::ApplicationModal);
            dialogo->setMinimumDuration(300);
        }
        dialogo->setValue(fatti);
        const bool avanti = !dialogo->wasCanceled();
        if (fatti + 1 >= totale || !avanti) dialogo.reset();
        return avanti;
    };

    auto* radice = new QVBoxLayout(this);
    auto* filtro = new QGroupBox(QStringLiteral("Filtro stampa"), this);
    auto* g = new QGridLayout(filtro);
    corrente_ = new QRadioButton(filtro);
    corrente_->setObjectName(QStringLiteral("ChkCorrente"));
    periodo_ = new QRadioButton(filtro);
    periodo_->setObjectName(QStringLiteral("ChkPerPeriodo"));
    dal_ = new QDateEdit(filtro);
    dal_->setObjectName(QStringLiteral("DateDal"));
    al_ = new QDateEdit(filtro);
    al_->setObjectName(QStringLiteral("DateAl"));
    auto* azienda = new QComboBox(filtro);
    azienda->setObjectName(QStringLiteral("CmbAzienda"));
    for (QDateEdit* d : {dal_, al_}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    }
    g->addWidget(corrente_, 0, 0, 1, 4);
    g->addWidget(periodo_, 1, 0, 1, 4);
    g->addWidget(new QLabel(QStringLiteral("Dalla Data"), filtro), 2, 0);
    g->addWidget(dal_, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("Alla Data"), filtro), 2, 2);
    g->addWidget(al_, 2, 3);
    g->addWidget(new QLabel(QStringLiteral("Azienda"), filtro), 3, 0);
    g->addWidget(azienda, 3, 1, 1, 3);
    radice->addWidget(filtro);

    schede_ = new QTabWidget(this);
    schede_->setObjectName(QStringLiteral("Pers"));
    list1_ = new QListWidget(schede_);
    list1_->setObjectName(QStringLiteral("List1"));
    list2_ = new QListWidget(schede_);
    list2_->setObjectName(QStringLiteral("List2"));
    schede_->addTab(list1_, QStringLiteral("Stampe Base"));
    schede_->addTab(list2_, QStringLiteral("Personalizzate"));
    radice->addWidget(schede_, 1);
    auto* id = new QLabel(this);
    id->setObjectName(QStringLiteral("LabId"));
    id->hide();  // the document's id, for the model
    radice->addWidget(id);

    auto* pulsanti = new QHBoxLayout;
    const char* const kPulsanti[][2] = {
        {"CmdStampa", "&Stampa"}, {"CmdExportExcel", "&Excel"},    {"CmdPdf", "&PDF"},
        {"CmdXls", "&Word"},      {"CmdAzzera", "&Azzera Filtro"}, {"cmdChiudi", "&Chiudi"},
    };
    for (const auto& [nome, testo] : kPulsanti) {
        auto* b = new QPushButton(QString::fromUtf8(testo), this);
        b->setObjectName(QLatin1String(nome));
        b->setAutoDefault(false);
        if (QLatin1String(nome) == QLatin1String("CmdAzzera")) pulsanti->addStretch(1);
        pulsanti->addWidget(b);
    }
    radice->addLayout(pulsanti);

    legame_ = std::make_unique<LegameControlli>(modello_->finestra(), *this);
    connect(legame_.get(), &LegameControlli::comando, this, &VistaStampa::comando);
    for (QRadioButton* r : {corrente_, periodo_}) {
        connect(r, &QRadioButton::toggled, this, [this] {
            (*modello_)[QStringLiteral("ChkCorrente")].setChecked(corrente_->isChecked());
            (*modello_)[QStringLiteral("ChkPerPeriodo")].setChecked(periodo_->isChecked());
        });
    }
    const std::pair<QDateEdit*, const char*> date[] = {{dal_, "txtDallaData"},
                                                       {al_, "txtAllaData"}};
    for (const auto& [d, nome] : date) {
        const QString campo = QLatin1String(nome);
        connect(d, &QDateEdit::dateChanged, this, [this, campo](const QDate& giorno) {
            (*modello_)[campo].setText(TestoData(giorno));
        });
    }
    for (int scheda : {0, 1}) {
        QListWidget* l = lista(scheda);
        const QString nome = l->objectName();
        connect(l, &QListWidget::currentRowChanged, this, [this, nome](int riga) {
            Controllo& c = (*modello_)[nome];
            if (riga < int(c.elementi().size())) c.setListIndex(riga);
        });
        connect(l, &QListWidget::itemDoubleClicked, this,
                [this] { comando(QStringLiteral("CmdStampa")); });
    }
    connect(schede_, &QTabWidget::currentChanged, this, [this](int i) { modello_->setScheda(i); });
    aggiorna();
    resize(sizeHint().expandedTo(QSize(560, 460)));
}

VistaStampa::~VistaStampa() {
    // Previews first: their exports go through this window's model.
    qDeleteAll(findChildren<VistaAnteprima*>(QString(), Qt::FindDirectChildrenOnly));
    legame_.reset();
}

void VistaStampa::showEvent(QShowEvent* e) {
    FinestraPlugin::showEvent(e);
    CentraSulloSchermo(this);
    list1_->setFocus();
}

void VistaStampa::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        comando(QStringLiteral("cmdChiudi"));
    } else if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
               e->modifiers() == Qt::NoModifier) {
        comando(QStringLiteral("CmdStampa"));
    } else {
        FinestraPlugin::keyPressEvent(e);
    }
}

void VistaStampa::aggiorna() {
    legame_->AggiornaVista();
    stampa::FrmStampa& m = *modello_;
    const QSignalBlocker b1(corrente_), b2(periodo_);
    // Both off after "Azzera Filtro": the group must let go of its choice.
    corrente_->setAutoExclusive(false);
    periodo_->setAutoExclusive(false);
    corrente_->setText(m[QStringLiteral("ChkCorrente")].caption());
    periodo_->setText(m[QStringLiteral("ChkPerPeriodo")].caption());
    corrente_->setChecked(m[QStringLiteral("ChkCorrente")].checked());
    periodo_->setChecked(m[QStringLiteral("ChkPerPeriodo")].checked());
    corrente_->setAutoExclusive(true);
    periodo_->setAutoExclusive(true);
    const std::pair<QDateEdit*, const char*> date[] = {{dal_, "txtDallaData"},
                                                       {al_, "txtAllaData"}};
    for (const auto& [d, nome] : date) {
        const QSignalBlocker b(d);
        if (const auto giorno = ParseData(m[QLatin1String(nome)].text())) d->setDate(*giorno);
    }
    for (int scheda : {0, 1}) {
        QListWidget* l = lista(scheda);
        const QSignalBlocker b(l);
        const Controllo& c = m[l->objectName()];
        l->clear();
        for (const ElementoLista& e : c.elementi())
            l->addItem(e.testo);
        l->setCurrentRow(c.listIndex());
    }
    schede_->setTabEnabled(1, !m[QStringLiteral("List2")].elementi().empty());
}

void VistaStampa::comando(const QString& nome) {
    // The option buttons are no commands: their choice is read when toggled.
    if (!stampa::FrmStampa::Comandi().contains(nome, Qt::CaseInsensitive)) return;
    {
        PuntatoreOccupato o;
        modello_->Esegui(nome);
    }
    if (modello_->chiusa()) {
        close();
        return;
    }
    aggiorna();
}

}  // namespace incassi::ui
