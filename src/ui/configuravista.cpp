#include "ui/configuravista.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>

#include "host/host.h"

namespace incassi::ui {

namespace {

struct Pagina {
    const char* chiave;
    const char* testo;
    const char* descrizione;
    const char* titolo;  // the page's caption
};

const Pagina kPagine[] = {
    {"POSIZIONE", "Posizione colonne",
     "Permette di modificare l'ordine e la dimensione delle colonne della griglia di ricerca",
     "Modifica dimensioni e ordine colonne"},
    {"SALVA", "Salvataggio vista", "Salvataggio della vista modificata",
     "Salvataggio ricerca personalizzata"},
    {"VISUALIZZA", "Scopri/nascondi",
     "Permette di nascondere o visualizzare le colonne della vista personalizzata",
     "Nascondi e scopri colonne"},
    {"STILE", "Modifica Stile", "Cambiare colori e stile della griglia", "Modifica stile Griglia"},
};

// Windows colour values (0x00BBGGRR) and Qt colours.
QColor Colore(std::uint32_t c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}
std::uint32_t ValoreColore(const QColor& c) {
    return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) |
           (std::uint32_t(c.blue()) << 16);
}

QPushButton* Pulsante(const char* nome, const QString& testo, QWidget* parent) {
    auto* b = new QPushButton(testo, parent);
    b->setObjectName(QLatin1String(nome));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

VistaConfigura::VistaConfigura(Host& host, UiPort&, std::unique_ptr<FrmConfigura> modello,
                               RecordSetPtr rs, std::function<void()> chiusa, QWidget* parent)
    : FinestraPlugin(&host, parent), modello_(std::move(modello)), chiusa_(std::move(chiusa)) {
    setObjectName(QStringLiteral("FrmConfigura"));
    setWindowFlag(Qt::Window);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(TitoloFinestra(FrmConfigura::Titolo()));

    auto* radice = new QHBoxLayout(this);
    auto* lato = new QVBoxLayout;
    menu_ = new QListWidget(this);
    menu_->setObjectName(QStringLiteral("MenuBar"));
    menu_->setFixedWidth(190);
    auto gruppo = [&](const QString& titolo, const QString& suggerimento) {
        auto* g = new QListWidgetItem(titolo, menu_);
        g->setFlags(Qt::NoItemFlags);
        g->setToolTip(suggerimento);
        QFont f = g->font();
        f.setBold(true);
        g->setFont(f);
    };
    gruppo(QStringLiteral("Configurazione"), QString());
    for (const Pagina& p : kPagine) {
        if (QLatin1String(p.chiave) == QLatin1String("SALVA")) continue;
        auto* v = new QListWidgetItem(QString::fromUtf8(p.testo), menu_);
        v->setData(Qt::UserRole, QLatin1String(p.chiave));
        v->setToolTip(QString::fromUtf8(p.descrizione));
    }
    gruppo(QStringLiteral("Parametri"), QStringLiteral("Personalizza i filtri di ricerca/stampa."));
    for (const char* chiave : {"SALVA", "CHIUDI"}) {
        const bool salva = QLatin1String(chiave) == QLatin1String("SALVA");
        auto* v = new QListWidgetItem(
            salva ? QStringLiteral("Salvataggio vista") : QStringLiteral("Chiudi"), menu_);
        v->setData(Qt::UserRole, QLatin1String(chiave));
        if (salva) v->setToolTip(QStringLiteral("Salvataggio della vista modificata"));
    }
    connect(menu_, &QListWidget::itemClicked, this, &VistaConfigura::voceMenu);
    lato->addWidget(menu_, 1);
    auto* nota = new QLabel(QStringLiteral("Tramite le voci sopra riportate è possibile creare "
                                           "visualizzazioni e stampe personalizzate come numero, "
                                           "dimensione e ordine di campi"),
                            this);
    nota->setWordWrap(true);
    nota->setFixedWidth(190);
    lato->addWidget(nota);
    radice->addLayout(lato);

    auto* destra = new QSplitter(Qt::Vertical, this);
    pagine_ = new QStackedWidget(destra);
    pagine_->setObjectName(QStringLiteral("FrmDimensioni"));
    pagine_->addWidget(paginaPosizione());
    pagine_->addWidget(paginaSalva());
    pagine_->addWidget(paginaVisualizza());
    pagine_->addWidget(paginaStile());
    griglia_ = new GrigliaRecordset(destra);
    griglia_->setObjectName(QStringLiteral("Griglia"));
    griglia_->modello().setRecordset(std::move(rs));
    // Columns are dragged to another place and width here, whatever the view says.
    connect(griglia_->horizontalHeader(), &QHeaderView::sectionMoved, this,
            [this] { leggiGriglia(); });
    connect(griglia_->horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (!aggiornando_) leggiGriglia();
    });
    destra->addWidget(pagine_);
    destra->addWidget(griglia_);
    destra->setStretchFactor(1, 1);
    radice->addWidget(destra, 1);

    aggiorna();
    vaiA(QStringLiteral("POSIZIONE"));
    resize(900, 620);
    CentraSulloSchermo(this);
}

VistaConfigura::~VistaConfigura() = default;

QWidget* VistaConfigura::paginaPosizione() {
    auto* p = new QWidget;
    auto* l = new QVBoxLayout(p);
    auto* t = new QLabel(QStringLiteral("Trascinare l'intestazione di una colonna per spostarla, "
                                        "il bordo dell'intestazione per cambiarne la larghezza."),
                         p);
    t->setWordWrap(true);
    l->addWidget(t);
    l->addStretch(1);
    return p;
}

QWidget* VistaConfigura::paginaSalva() {
    auto* p = new QWidget;
    auto* g = new QGridLayout(p);
    g->addWidget(new QLabel(QStringLiteral("Elenco Viste Personalizzate"), p), 0, 0);
    lista_ = new QListWidget(p);
    lista_->setObjectName(QStringLiteral("Lista"));
    g->addWidget(lista_, 1, 0, 6, 1);
    connect(lista_, &QListWidget::currentTextChanged, this, [this](const QString& nome) {
        if (aggiornando_ || nome.isEmpty()) return;
        nome_->setText(nome);
        predefinito_->setChecked(nome.compare(modello_->preferita(), Qt::CaseInsensitive) == 0);
        if (modello_->CaricaVista(nome)) aggiorna();
    });
    g->addWidget(new QLabel(QStringLiteral("Nome vista"), p), 0, 1);
    nome_ = new QLineEdit(p);
    nome_->setObjectName(QStringLiteral("txtNome"));
    nome_->setMaxLength(100);
    g->addWidget(nome_, 1, 1);
    predefinito_ = new QCheckBox(QStringLiteral("Imposta come vista predefinita"), p);
    predefinito_->setObjectName(QStringLiteral("ChkPredefinito"));
    g->addWidget(predefinito_, 2, 1);
    const char* const kComandi[][2] = {{"CmdSalva", "&Salva"},
                                       {"CmdAttiva", "&Modifica Vista"},
                                       {"CmdEliminaVista", "&Elimina Vista"},
                                       {"CmdCaricoBase", "&Carica Default"},
                                       {"CmdSalvaBase", "Salva come vista &base"}};
    int riga = 3;
    auto* pulsanti = new QHBoxLayout;
    for (const auto& [nome, testo] : kComandi) {
        QPushButton* b = Pulsante(nome, QString::fromUtf8(testo), p);
        const QString comando = QLatin1String(nome);
        connect(b, &QPushButton::clicked, this, [this, comando] { comandoVista(comando); });
        pulsanti->addWidget(b);
        // The shared default is the administrators' only.
        if (comando == u"CmdSalvaBase") b->setEnabled(host() && host()->UserAdmin());
    }
    g->addLayout(pulsanti, riga, 1);
    g->setRowStretch(riga + 1, 1);
    return p;
}

QWidget* VistaConfigura::paginaVisualizza() {
    auto* p = new QWidget;
    auto* g = new QGridLayout(p);
    g->addWidget(new QLabel(QStringLiteral("Campi visibili"), p), 0, 0);
    g->addWidget(new QLabel(QStringLiteral("Campi nascosti"), p), 0, 2);
    visibili_ = new QListWidget(p);
    visibili_->setObjectName(QStringLiteral("List1"));
    nascosti_ = new QListWidget(p);
    nascosti_->setObjectName(QStringLiteral("List2"));
    for (QListWidget* l : {visibili_, nascosti_})
        l->setSelectionMode(QAbstractItemView::ExtendedSelection);
    g->addWidget(visibili_, 1, 0, 5, 1);
    g->addWidget(nascosti_, 1, 2, 5, 1);
    const struct {
        const char* nome;
        const char* testo;
        bool versoNascosti, tutti;
    } kSposta[] = {{"CmdSportaI", ">", true, false},
                   {"Command3", "<", false, false},
                   {"CmdRimuoviTutti", ">>", true, true},
                   {"CmdMostraTutti", "<<", false, true}};
    int riga = 1;
    for (const auto& s : kSposta) {
        QPushButton* b = Pulsante(s.nome, QLatin1String(s.testo), p);
        const bool versoNascosti = s.versoNascosti, tutti = s.tutti;
        connect(b, &QPushButton::clicked, this,
                [this, versoNascosti, tutti] { sposta(versoNascosti, tutti); });
        g->addWidget(b, riga++, 1);
    }
    connect(visibili_, &QListWidget::itemDoubleClicked, this, [this] { sposta(true, false); });
    connect(nascosti_, &QListWidget::itemDoubleClicked, this, [this] { sposta(false, false); });
    return p;
}

QWidget* VistaConfigura::paginaStile() {
    auto* p = new QWidget;
    auto* g = new QGridLayout(p);
    g->addWidget(new QLabel(QStringLiteral("Dimensione carattere"), p), 0, 0);
    dimensione_ = new QComboBox(p);
    dimensione_->setObjectName(QStringLiteral("CmbSize"));
    for (int d = 7; d <= 16; ++d)
        dimensione_->addItem(QString::number(d), d);
    connect(dimensione_, &QComboBox::currentIndexChanged, this, [this] {
        if (aggiornando_) return;
        modello_->griglia().dimensione = dimensione_->currentData().toDouble();
        aggiorna();
    });
    g->addWidget(dimensione_, 0, 1);
    QPushButton* carattere = Pulsante("CmdCarattere", QStringLiteral("Cambia Carattere"), p);
    connect(carattere, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const QFont f = QFontDialog::getFont(&ok, griglia_->font(), this,
                                             QStringLiteral("Carattere della griglia"));
        if (!ok) return;
        modello_->griglia().carattere = f.family();
        modello_->griglia().dimensione = f.pointSizeF();
        aggiorna();
    });
    g->addWidget(carattere, 0, 2);
    const std::pair<const char*, std::uint32_t LayoutGriglia::*> colori[] = {
        {"txtColore1", &LayoutGriglia::coloreDispari}, {"txtColore2", &LayoutGriglia::colorePari}};
    int riga = 1;
    for (const auto& [nome, membro] : colori) {
        const bool dispari = riga == 1;
        g->addWidget(new QLabel(dispari ? QStringLiteral("Colore sfondo righe dispari")
                                        : QStringLiteral("Colore sfondo righe pari"),
                                p),
                     riga, 0);
        auto* testo = new QLineEdit(p);
        testo->setObjectName(QLatin1String(nome));
        testo->setReadOnly(true);
        (dispari ? colore1_ : colore2_) = testo;
        g->addWidget(testo, riga, 1);
        QPushButton* b = Pulsante(dispari ? "CmdColore1" : "CmdColore2", QStringLiteral("..."), p);
        const auto m = membro;
        connect(b, &QPushButton::clicked, this, [this, m] {
            const QColor c = QColorDialog::getColor(Colore(modello_->griglia().*m), this,
                                                    QStringLiteral("Colore delle righe"));
            if (!c.isValid()) return;
            modello_->griglia().*m = ValoreColore(c);
            aggiorna();
        });
        g->addWidget(b, riga, 2);
        ++riga;
    }
    const std::pair<const char*, const char*> kSwitch[] = {
        {"ChkChekBox", "Visualizza ChekBox per valori 0 -1"},
        {"ChkRaggruppamento", "Attiva Raggruppamento"},
        {"ChkEvidenzia", "Evidenzia tutta la riga"},
        {"ChkFacilitato", "Lettura Facilitata"},
        {"ChkSposta", "Sposta Colonne"},
        {"chkRighe", "Ridimensiona Righe"},
        {"ChkColonne", "Ridimensiona Colonne Bloccate"}};
    bool LayoutGriglia::*const membri[] = {&LayoutGriglia::checkBox,
                                           &LayoutGriglia::raggruppamento,
                                           &LayoutGriglia::evidenziaRiga,
                                           &LayoutGriglia::letturaFacilitata,
                                           &LayoutGriglia::spostaColonne,
                                           &LayoutGriglia::ridimensionaRighe,
                                           &LayoutGriglia::ridimensionaColonneBloccate};
    for (size_t i = 0; i < std::size(kSwitch); ++i) {
        auto* c = new QCheckBox(QString::fromUtf8(kSwitch[i].second), p);
        c->setObjectName(QLatin1String(kSwitch[i].first));
        const auto m = membri[i];
        connect(c, &QCheckBox::toggled, this, [this, m](bool on) {
            if (aggiornando_) return;
            modello_->griglia().*m = on;
            aggiorna();
        });
        interruttori_.emplace_back(c, m);
        g->addWidget(c, riga + int(i) / 2, int(i) % 2 * 2, 1, 2);
    }
    g->setRowStretch(riga + 4, 1);
    return p;
}

void VistaConfigura::vaiA(const QString& chiave) {
    for (size_t i = 0; i < std::size(kPagine); ++i) {
        if (chiave.compare(QLatin1String(kPagine[i].chiave), Qt::CaseInsensitive) != 0) continue;
        pagine_->setCurrentIndex(int(i));
        pagine_->setToolTip(QString::fromUtf8(kPagine[i].titolo));
        for (int r = 0; r < menu_->count(); ++r) {
            if (menu_->item(r)->data(Qt::UserRole).toString() == QLatin1String(kPagine[i].chiave))
                menu_->setCurrentRow(r);
        }
        return;
    }
}

void VistaConfigura::voceMenu(QListWidgetItem* voce) {
    const QString chiave = voce->data(Qt::UserRole).toString();
    if (chiave == u"CHIUDI") {
        close();
        return;
    }
    vaiA(chiave);
}

void VistaConfigura::aggiorna() {
    aggiornando_ = true;
    const LayoutGriglia& l = modello_->griglia();
    griglia_->modello().setLayout(l);
    griglia_->applicaLayout();
    // Columns are always dragged here, and the grid starts from its first one.
    griglia_->horizontalHeader()->setSectionsMovable(true);
    griglia_->horizontalScrollBar()->setValue(0);

    const QString scelta = lista_->currentItem() ? lista_->currentItem()->text() : QString();
    lista_->clear();
    lista_->addItems(modello_->viste());
    const auto trovate = lista_->findItems(scelta, Qt::MatchFixedString);
    if (!trovate.isEmpty()) lista_->setCurrentItem(trovate.front());
    visibili_->clear();
    visibili_->addItems(modello_->visibili());
    nascosti_->clear();
    nascosti_->addItems(modello_->nascosti());
    const int d = dimensione_->findData(int(l.dimensione > 0 ? l.dimensione : font().pointSizeF()));
    dimensione_->setCurrentIndex(d);
    colore1_->setText(Colore(l.coloreDispari).name());
    colore2_->setText(Colore(l.colorePari).name());
    for (const auto& [c, m] : interruttori_)
        c->setChecked(l.*m);
    aggiornando_ = false;
}

void VistaConfigura::leggiGriglia() {
    LayoutGriglia& l = modello_->griglia();
    QHeaderView* h = griglia_->horizontalHeader();
    ModelloRecordset& m = griglia_->modello();
    // Visible columns take the places they show; hidden ones follow.
    std::vector<std::pair<int, QString>> ordine;
    for (int c = 0; c < m.columnCount(); ++c)
        ordine.emplace_back(h->visualIndex(c), m.campo(c));
    std::sort(ordine.begin(), ordine.end());
    int posto = 0;
    for (const auto& [visuale, campo] : ordine) {
        for (ColonnaLayout& col : l.colonne) {
            if (col.campo.compare(campo, Qt::CaseInsensitive) != 0) continue;
            col.ordine = posto++;
            col.larghezza = h->sectionSize(m.colonnaDi(campo));
        }
    }
    for (ColonnaLayout& col : l.colonne)
        if (!col.visibile) col.ordine = posto++;
    if (h->sectionsMoved()) aggiorna();  // the grid takes the new order as its own
}

void VistaConfigura::sposta(bool versoNascosti, bool tutti) {
    if (tutti) {
        modello_->mostraTutti(!versoNascosti);
    } else {
        for (QListWidgetItem* i : (versoNascosti ? visibili_ : nascosti_)->selectedItems())
            modello_->mostra(i->text(), !versoNascosti);
    }
    aggiorna();
}

void VistaConfigura::comandoVista(const QString& nome) {
    const QString scelta = lista_->currentItem() ? lista_->currentItem()->text() : QString();
    if (nome == u"CmdSalva") {
        if (modello_->Salva(nome_->text(), predefinito_->isChecked())) {
            aggiorna();
            const auto trovate = lista_->findItems(nome_->text().trimmed(), Qt::MatchFixedString);
            if (!trovate.isEmpty()) lista_->setCurrentItem(trovate.front());
        }
    } else if (nome == u"CmdAttiva") {
        modello_->Attiva(scelta);
    } else if (nome == u"CmdEliminaVista") {
        if (modello_->EliminaVista(scelta)) aggiorna();
    } else if (nome == u"CmdCaricoBase") {
        if (modello_->CaricaDefault()) aggiorna();
    } else if (nome == u"CmdSalvaBase") {
        modello_->SalvaComeBase();
    }
}

void VistaConfigura::closeEvent(QCloseEvent* e) {
    FinestraPlugin::closeEvent(e);
    if (e->isAccepted() && chiusa_) std::exchange(chiusa_, {})();
}

}  // namespace incassi::ui
