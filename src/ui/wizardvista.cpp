#include "ui/wizardvista.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "entry/configura.h"
#include "host/host.h"
#include "ui/casellaricerca.h"
#include "ui/frmincassi_view.h"
#include "values/error.h"
#include "values/values.h"
#include "window/ingresso.h"
#include "window/uiport.h"
#include "wizards/fabbrica.h"

namespace incassi::ui {

namespace {

bool Chiamato(const Controllo& c, const char* nome) {
    return c.nome().compare(QLatin1String(nome), Qt::CaseInsensitive) == 0;
}

bool Pulsante(const Controllo& c) {
    return c.nome().startsWith(u"Cmd", Qt::CaseInsensitive);
}

bool Frame(const Controllo& c) {
    return c.nome().startsWith(u"Frame1_", Qt::CaseInsensitive);
}

// Twips of the list's columns at 96 dpi.
constexpr int kColonne[] = {1200, 3000, 1200, 1200};

}  // namespace

VistaWizard::VistaWizard(Host* host, UiPort& ui, std::unique_ptr<WizardCassa> modello,
                         QWidget* parent)
    : FinestraPlugin(host, parent), ui_(ui), modello_(std::move(modello)) {
    // The close request is asked through the model.
    disconnect(&timerChiusura(), &QTimer::timeout, this, &FinestraPlugin::controllaChiusura);
    connect(&timerChiusura(), &QTimer::timeout, this, &VistaWizard::controllaTimer);
    setWindowTitle(modello_->titolo());
    costruisci();
    legame_ = std::make_unique<LegameControlli>(modello_->finestra(), *this);
    connect(legame_.get(), &LegameControlli::comando, this, &VistaWizard::comando);
    connect(legame_.get(), &LegameControlli::modificato, this, &VistaWizard::modificato);
    // As large as the largest page, so that going back and forth neither
    // grows nor moves the window.
    QSize dimensione(700, 470);
    const QList<QGroupBox*> pagine = findChildren<QGroupBox*>();
    for (QGroupBox* pagina : pagine) {
        for (QGroupBox* altra : pagine)
            altra->setVisible(altra == pagina);
        layout()->activate();
        dimensione = dimensione.expandedTo(sizeHint());
    }
    aggiorna();
    setMinimumSize(dimensione);
    resize(dimensione);
    CentraSulloSchermo(this);
}

VistaWizard::~VistaWizard() {
    // The search boxes hold the model's controls: they go while it is there.
    legame_.reset();
    qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
}

QWidget* VistaWizard::creaWidget(Controllo& c, QWidget* parent) {
    if (auto* casella = dynamic_cast<CasellaRicerca*>(&c)) {
        return new WidgetRicerca(*casella, ui_, parent);
    }
    if (Chiamato(c, "CmbAzienda")) {
        auto* combo = new QComboBox(parent);
        combo->setMinimumWidth(160);
        combo->setMaximumWidth(240);
        return combo;
    }
    if (Chiamato(c, "txtData")) {
        data_ = new QDateEdit(parent);
        data_->setCalendarPopup(true);
        data_->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        data_->setMaximumWidth(160);
        connect(data_, &QDateEdit::dateChanged, this, [this](const QDate& d) {
            modello_->finestra()[QStringLiteral("txtData")].setValue(d);
        });
        return data_;
    }
    if (Chiamato(c, "Lista")) {
        lista_ = new QTreeWidget(parent);
        lista_->setRootIsDecorated(false);
        lista_->setAlternatingRowColors(true);
        lista_->setHeaderLabels({QStringLiteral("Data"), QStringLiteral("Descrizione"),
                                 QStringLiteral("Dare"), QStringLiteral("Avere")});
        for (int i = 0; i < 4; ++i)
            lista_->setColumnWidth(i, kColonne[i] / 15);
        lista_->header()->setStretchLastSection(false);
        lista_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
        for (int i : {2, 3})
            lista_->headerItem()->setTextAlignment(i, Qt::AlignRight | Qt::AlignVCenter);
        return lista_;
    }
    if (c.nome().startsWith(u"Lab", Qt::CaseInsensitive)) {
        auto* etichetta = new QLabel(parent);
        etichetta->setWordWrap(!Chiamato(c, "LabSaldo"));
        if (c.nome().startsWith(u"LabDatiLocale", Qt::CaseInsensitive)) {
            etichetta->setFrameShape(QFrame::StyledPanel);
            etichetta->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            etichetta->setMinimumHeight(etichetta->fontMetrics().lineSpacing() * 4 + 8);
            etichetta->setTextInteractionFlags(Qt::TextSelectableByMouse);
        }
        return etichetta;
    }
    auto* riga = new QLineEdit(parent);
    if (Chiamato(c, "SaldoOggi") || Chiamato(c, "Saldo")) {
        riga->setReadOnly(true);
        riga->setFocusPolicy(Qt::NoFocus);
    }
    if (Chiamato(c, "SaldoOggi") || Chiamato(c, "Saldo") || Chiamato(c, "txtDenaro")) {
        riga->setAlignment(Qt::AlignRight);
        riga->setMaximumWidth(200);
    }
    if (Chiamato(c, "txtDenaro")) {
        connect(riga, &QLineEdit::editingFinished, this, [this] {
            modello_->DenaroLasciato();
            legame_->AggiornaVista(QStringLiteral("txtDenaro"));
        });
    }
    return riga;
}

void VistaWizard::aggiungiAPagina(QGridLayout* griglia, Controllo& c, QWidget* w) {
    const int riga = griglia->rowCount();
    if (Chiamato(c, "LabSaldo")) {
        // The caption of Saldo, on its row.
        griglia->addWidget(w, riga, 0);
        return;
    }
    if (Chiamato(c, "Saldo")) {
        griglia->addWidget(w, riga - 1, 1, Qt::AlignLeft);
        return;
    }
    if (!c.caption().isEmpty()) {
        auto* etichetta = new QLabel(c.caption(), w->parentWidget());
        etichetta->setObjectName(QStringLiteral("Etichetta_") + c.nome());
        etichetta->setBuddy(w);
        griglia->addWidget(etichetta, riga, 0);
        const bool stretto = w->maximumWidth() < QWIDGETSIZE_MAX;
        griglia->addWidget(w, riga, 1, stretto ? Qt::AlignLeft : Qt::Alignment());
        return;
    }
    griglia->addWidget(w, riga, 0, 1, 2);
    if (w == lista_) griglia->setRowStretch(riga, 1);
}

void VistaWizard::costruisci() {
    auto* principale = new QVBoxLayout(this);
    auto* pulsanti = new QHBoxLayout;
    QGridLayout* griglia = nullptr;
    QGroupBox* frame = nullptr;
    for (const auto& pc : modello_->finestra()) {
        Controllo& c = *pc;
        if (Frame(c)) {
            if (griglia) griglia->setRowStretch(griglia->rowCount(), 1);
            frame = new QGroupBox(c.caption(), this);
            frame->setObjectName(c.nome());
            griglia = new QGridLayout(frame);
            griglia->setColumnStretch(1, 1);
            griglia->setVerticalSpacing(8);
            principale->addWidget(frame, 1);
            continue;
        }
        if (Pulsante(c)) {
            auto* p = new QPushButton(c.caption(), this);
            p->setObjectName(c.nome());
            p->setMinimumWidth(100);
            pulsanti->addWidget(p);
            continue;
        }
        if (!frame) continue;
        QWidget* w = creaWidget(c, frame);
        w->setObjectName(c.nome());
        aggiungiAPagina(griglia, c, w);
    }
    if (griglia && !lista_) griglia->setRowStretch(griglia->rowCount(), 1);
    pulsanti->insertStretch(0, 1);
    principale->addLayout(pulsanti);
}

void VistaWizard::aggiorna(bool conFocus) {
    legame_->AggiornaVista();
    ModelloFinestra& f = modello_->finestra();
    // The venue summary's lines are separated by carriage returns.
    for (const char* nome : {"LabDatiLocale_0", "LabDatiLocale_1"}) {
        const Controllo* c = f.trova(QLatin1String(nome));
        if (auto* l = qobject_cast<QLabel*>(legame_->widget(QLatin1String(nome))); c && l)
            l->setText(QString(c->text()).replace(u'\r', u'\n'));
    }
    if (data_) {
        const QSignalBlocker blocco(data_);
        if (const auto d = ParseData(f[QStringLiteral("txtData")].text())) data_->setDate(*d);
    }
    if (lista_) {
        lista_->clear();
        for (const VoceMovimento& m : modello_->movimenti()) {
            auto* voce = new QTreeWidgetItem(lista_, {m.data, m.descrizione, m.dare, m.avere});
            voce->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
            voce->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    if (conFocus && !modello_->focus().isEmpty()) {
        if (QWidget* w = legame_->widget(modello_->focus()); w && w->isVisible()) w->setFocus();
    }
    if (modello_->chiusa()) {
        timerChiusura().stop();
        close();
    }
}

void VistaWizard::showEvent(QShowEvent* evento) {
    FinestraPlugin::showEvent(evento);
    QMetaObject::invokeMethod(
        this, [this] { aggiorna(true); }, Qt::QueuedConnection);
}

void VistaWizard::keyPressEvent(QKeyEvent* evento) {
    switch (evento->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            comando(QStringLiteral("CmdAvanti"));
            return;
        case Qt::Key_Escape:
            comando(QStringLiteral("CmdAnnulla"));
            return;
        default:
            FinestraPlugin::keyPressEvent(evento);
    }
}

void VistaWizard::comando(const QString& nome) {
    modello_->Comando(nome);
    aggiorna(true);
}

void VistaWizard::modificato(const QString& nome) {
    modello_->Modificato(nome);
    // A chosen venue changes its summary and may change its code's spelling;
    // what is typed elsewhere stays as it is.
    if (nome.startsWith(u"txe", Qt::CaseInsensitive)) aggiorna();
}

void VistaWizard::controllaTimer() {
    if (!modello_->Timer()) return;
    timerChiusura().stop();
    close();
}

bool VistaWizard::eseguiScenario(const QString& nome) {
    // "Pagina2", "Pagina3": each page filled as a person would (the first
    // venue, account or collector its box lists, an amount of 100,00), then
    // "Avanti", up to that page.
    const int fino = nome.compare(u"Pagina2", Qt::CaseInsensitive) == 0   ? 1
                     : nome.compare(u"Pagina3", Qt::CaseInsensitive) == 0 ? 2
                                                                          : -1;
    if (fino < 0 || !host()) return false;
    if (auto* u = dynamic_cast<UiFinestra*>(&ui_)) u->setAutomatico(true);
    try {
        while (modello_->pagina() < fino) {
            const int prima = modello_->pagina();
            QStringList scelti;
            for (const auto& pc : modello_->finestra()) {
                auto* casella = dynamic_cast<CasellaRicerca*>(pc.get());
                if (!casella || !casella->text().trimmed().isEmpty() || casella->query().isEmpty())
                    continue;
                auto elenco = host()->OpenRecordSet(casella->query());
                for (; !elenco->Eof(); elenco->MoveNext()) {
                    const QString codice = Txt(elenco->Value(casella->camporicerca().trimmed()));
                    if (!scelti.contains(codice) && casella->ImpostaCodice(codice)) {
                        scelti << codice;
                        break;
                    }
                }
            }
            if (Controllo* denaro = modello_->finestra().trova(QStringLiteral("txtDenaro"));
                denaro && prima == 1) {
                denaro->setText(QStringLiteral("100,00"));
                modello_->DenaroLasciato();
            }
            modello_->Avanti();
            if (modello_->pagina() == prima) break;
        }
    } catch (const Errore& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.testo()));
    }
    if (auto* u = dynamic_cast<UiFinestra*>(&ui_)) u->setAutomatico(false);
    aggiorna();
    return modello_->pagina() == fino;
}

namespace {

FabbricaFinestra Fabbrica(UiPort& ui, std::function<void(QWidget*)> aperte, QString nome) {
    return [&ui, aperte = std::move(aperte), nome = std::move(nome)](
               configura& e, const QString&) -> std::unique_ptr<Finestra> {
        Host* host = e.Applicazione();
        if (!host) return nullptr;
        // The window's own door to the person, so that a demonstration can
        // answer for it.
        auto uiFinestra = std::make_unique<UiFinestra>(ui);
        std::unique_ptr<WizardCassa> modello;
        try {
            modello = CreaWizard(nome, *host, *uiFinestra, e.proprieta(), e.Operatore());
            modello->Apri();
        } catch (const std::exception& err) {
            ui.Messaggio(QStringLiteral("Apertura: ") + QString::fromStdString(err.what()),
                         QStringLiteral("Incassi"), Icona::Critico);
            return nullptr;
        }
        auto* w = new VistaWizard(host, *uiFinestra, std::move(modello));
        w->tieni(std::move(uiFinestra));
        if (aperte) aperte(w);
        return std::make_unique<FinestraQt>(w);
    };
}

}  // namespace

void RegistraWizard(RegistroFinestre& registro, UiPort& ui,
                    const std::function<void(QWidget*)>& aperte) {
    for (const QString& nome : NomiWizard())
        registro.Registra(nome, Fabbrica(ui, aperte, nome));
}

}  // namespace incassi::ui
