#include "ui/frmincassi_view.h"

#include "ui/isolevista.h"
#include "ui/notavista.h"
#include "ui/salavista.h"
#include "ui/stampavista.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

#include "entry/configura.h"
#include "host/host.h"
#include "ui/casellaricerca.h"
#include "ui/legame.h"
#include "ui/modellorecordset.h"

namespace incassi::ui {

namespace {

// A caption beside a field, joined to it for the keyboard.
QLabel* Didascalia(const QString& testo, QWidget* campo, QWidget* parent) {
    auto* l = new QLabel(testo, parent);
    l->setBuddy(campo);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

template <typename W>
W* Crea(const char* nome, QWidget* parent) {
    auto* w = new W(parent);
    w->setObjectName(QLatin1String(nome));
    return w;
}

QLineEdit* Testo(const char* nome, QWidget* parent, int larghezza = 0) {
    auto* w = Crea<QLineEdit>(nome, parent);
    if (larghezza > 0) w->setMinimumWidth(larghezza);
    return w;
}

QComboBox* Combo(const char* nome, QWidget* parent) {
    auto* w = Crea<QComboBox>(nome, parent);
    w->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    w->setMinimumContentsLength(8);
    return w;
}

QCheckBox* Casella(const char* nome, const QString& testo, QWidget* parent) {
    auto* w = Crea<QCheckBox>(nome, parent);
    w->setText(testo);
    return w;
}

// The money panel: editable amounts and read-only totals, each with its
// caption (short) and its full name (tooltip).
struct VoceDenaro {
    const char* nome;
    const char* didascalia;
    const char* suggerimento;
};

// Four columns: the machines' totals, the split, the money moved, shortages
// and balances.
const VoceDenaro kColonneDenaro[4][10] = {
    {{"LLLTotIntrodotto", "Introdotto", "Totale introdotto"},
     {"lllTotUscite", "Uscite", "Totale uscite"},
     {"LabInMenoOut", "In - out", "Introdotto meno uscite"},
     {"lllTotPreu", "PREU", "Totale PREU"},
     {"lllTotAAMS", "AAMS", "Totale canone AAMS"},
     {"lllTotRete", "Rete", "Totale canone di rete"},
     {"LabTasse", "Tasse", "Totale tasse"},
     {"lllRefillLocale", "Refill locale", "Refill a carico del locale"},
     {"lllRefillNoleggiatore", "Refill nolegg.", "Refill a carico del noleggiatore"},
     {"lllVariazioneHopper", "Var. hopper", "Variazione degli hopper"}},
    {{"lllUtileLocale", "Utile locale", "Utile del locale"},
     {"lllUtileNoleggiatore", "Utile nolegg.", "Utile del noleggiatore"},
     {"lllTotDaDividere", "Da dividere", "Totale da dividere"},
     {"lllQuotaNolTeorica", "Quota nol.", "Quota teorica del noleggiatore"},
     {"lllQuotaConcessionario", "Quota conc.", "Quota del concessionario"},
     {"lllTeorico", "Teorico", "Incasso teorico"},
     {"lllDaRiscuotereTeorica", "Da risc. teor.", "Da riscuotere teorico"},
     {"lllDaRiscuotere", "Da riscuotere", "Da riscuotere"},
     {"lllVariazioni", "Variazioni", "Variazioni"},
     {"LabDenaroAcasa", "Denaro a casa", "Denaro portato a casa"}},
    {{"txtRiscosso", "Riscosso", "Denaro riscosso"},
     {"txtAcconto", "Acconto", "Acconto"},
     {"txtAccontoLocale", "Acconto loc.", "Acconto al locale"},
     {"txtAnticipoLocale", "Anticipo loc.", "Anticipo del locale"},
     {"txtArrotondamenti", "Arrotond.", "Arrotondamenti"},
     {"txtRimanenza", "Rimanenza", "Rimanenza lasciata al locale"},
     {"txtVersatoALocale", "Versato loc.", "Versato al locale"},
     {"txtVarPrestito", "Var. prestito", "Variazione del prestito al locale"},
     {"lllAcconto", "Acconti", "Acconti sugli apparecchi"},
     {"lllAccontoLocale", "Acconti loc.", "Acconti aperti pagati al locale"}},
    {{"txtAmmancoLocale", "Amm. locale", "Ammanco a carico del locale"},
     {"txtAmmancoNoleggiatore", "Amm. nolegg.", "Ammanco a carico del noleggiatore"},
     {"tttAmmanchi", "Ammanchi", "Totale ammanchi"},
     {"txtFurtoLocale", "Furto locale", "Furto a carico del locale"},
     {"txtFurtoNoleggiatore", "Furto nolegg.", "Furto a carico del noleggiatore"},
     {"tttFurti", "Furti", "Totale furti"},
     {"LllVarDebito", "Residui", "Residui degli incassi precedenti"},
     {"LabPrestitoPre", "Prestito", "Prestito al locale"},
     {"txSbilancio", "Sbilancio", "Sbilancio del documento"},
     {nullptr, nullptr, nullptr}},
};

}  // namespace

FinestraIncassi::FinestraIncassi(Host& host, UiPort& ui, ProprietaIngresso proprieta,
                                 RecordOperatore operatore, QWidget* parent)
    : FinestraPlugin(&host, parent), host_(host), ui_(ui), prop_(std::move(proprieta)) {
    setObjectName(finestre::Incassi);
    InstallaLayoutCondivisi(host_.percorso());
    modello_ = std::make_unique<FrmIncassi>(host_, ui_, prop_, std::move(operatore));
    modello_->Apri();
    ui_.primaDelDialogo = [this] { mostraControlli(); };
    modello_->apriNota = [this](const QString& codLocale, const QString& nota) {
        auto* w = new VistaNota(
            host_, ui_, codLocale, nota,
            [this] {
                modello_->ColoraNota();
                Aggiorna();
            },
            this);
        if (aperte) aperte(w);
        w->show();
    };
    modello_->apriContatoriIsola = [this](FrmContatoriIsole& isola) {
        DialogoContatoriIsole dialogo(host_, ui_, isola, this);
        if (aperte) aperte(&dialogo);
        dialogo.exec();
    };
    modello_->apriWizardSala = [this](const QString& codLocale, const QDate& dal,
                                      const QDate& data) {
        auto sala = std::make_unique<FrmWizardSala>(host_, codLocale, dal, data);
        sala->Carica();
        sala->creaIncasso = [this](const QString& locale, const QDate& giorno,
                                   const std::vector<qlonglong>& schede) {
            modello_->NuovoIncassoSala(locale, giorno, schede);
            Aggiorna();
        };
        auto* w = new VistaSala(host_, std::move(sala), this);
        if (aperte) aperte(w);
        w->show();
    };
    modello_->apriStampa = [this](const stampa::RichiestaStampa& r) {
        auto* w = new VistaStampa(host_, ui_, r, aperte, this);
        if (aperte) aperte(w);
        w->show();
    };

    auto* radice = new QVBoxLayout(this);
    radice->setContentsMargins(0, 0, 0, 0);
    radice->setSpacing(0);
    menu_ = new QMenuBar(this);
    barra_ = new QToolBar(this);
    barra_->setIconSize(QSize(16, 16));
    barra_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    radice->addWidget(menu_);
    radice->addWidget(barra_);

    auto* corpo = new QVBoxLayout;
    corpo->setContentsMargins(6, 4, 6, 4);
    corpo->setSpacing(4);
    corpo->addWidget(creaFiltro());
    corpo->addWidget(creaTestata());
    // Splitters between the grids and the history, the upper and the lower
    // half, the money panel and the bookkeeping grid: each person sets them
    // as he likes, and the window remembers them.
    auto* divisore = new QSplitter(Qt::Vertical, this);
    divisore->setObjectName(QStringLiteral("DivisoreSopraSotto"));
    divisore->setChildrenCollapsible(false);
    auto* sopra = new QSplitter(Qt::Horizontal, divisore);
    sopra->setObjectName(QStringLiteral("DivisoreGriglieStorici"));
    sopra->setChildrenCollapsible(false);
    sopra->addWidget(creaGriglie());
    sopra->addWidget(creaStorici());
    sopra->setStretchFactor(0, 1);
    sopra->setStretchFactor(1, 0);
    sopra->setSizes({720, 640});
    auto* sotto = new QSplitter(Qt::Horizontal, divisore);
    sotto->setObjectName(QStringLiteral("DivisoreDenaroNota"));
    sotto->setChildrenCollapsible(false);
    QWidget* denaro = creaDenaro();
    denaro->setMinimumHeight(denaro->sizeHint().height());
    sotto->addWidget(denaro);
    auto* nota = new QGroupBox(QStringLiteral("Prima nota"), sotto);
    auto* notaLayout = new QVBoxLayout(nota);
    notaLayout->setContentsMargins(4, 4, 4, 4);
    grigliaNota_ = new GrigliaRecordset(nota);
    grigliaNota_->setObjectName(QStringLiteral("GrigliaNota"));
    grigliaNota_->verticalHeader()->hide();  // the rows carry their number
    grigliaNota_->modello().cellaModificata = [this](const QString& campo, const QVariant& prima) {
        modello_->CellaNotaModificata(campo, prima);
        Aggiorna();
    };
    notaLayout->addWidget(grigliaNota_);
    sotto->addWidget(nota);
    sotto->setStretchFactor(0, 0);
    sotto->setStretchFactor(1, 1);
    divisore->addWidget(sopra);
    divisore->addWidget(sotto);
    divisore->setStretchFactor(0, 1);
    divisore->setStretchFactor(1, 0);
    corpo->addWidget(divisore, 1);
    auto* principale = new QHBoxLayout;
    principale->setContentsMargins(0, 0, 0, 0);
    principale->addLayout(corpo, 1);
    principale->addWidget(creaPannelloLink());
    radice->addLayout(principale, 1);

    stato_ = new QStatusBar(this);
    statoRecord_ = new QLabel(stato_);
    statoRecord_->setObjectName(QStringLiteral("lblStato"));
    statoRecord_->setToolTip(QStringLiteral("Doppio clic per contare i documenti"));
    statoRecord_->installEventFilter(this);
    statoTasti_ = new QLabel(stato_);
    statoTasti_->setObjectName(QStringLiteral("lblTasti"));
    stato_->addWidget(statoRecord_);
    stato_->addPermanentWidget(statoTasti_);
    radice->addWidget(stato_);

    legame_ = new LegameControlli(modello_->finestra(), *this, this);
    connect(legame_, &LegameControlli::modificato, this, &FinestraIncassi::controlloModificato);
    connect(legame_, &LegameControlli::comando, this, &FinestraIncassi::comando);
    creaAzioni();
    barra_->addSeparator();
    barra_->addAction(azioni_.value(QStringLiteral("link")));
    creaMenu();
    ordinaTabulazione();
    creaAzioniRighe(grigliaIncassi_, QStringLiteral("CaricaApparecchi"),
                    QStringLiteral("EliminaRigaApparecchio"));
    creaAzioniRighe(grigliaNota_, QStringLiteral("InserisciRigaNota"),
                    QStringLiteral("EliminaRigaNota"));
    // The header of each grid offers its views and the view editor.
    for (GrigliaRecordset* g : {grigliaIncassi_, grigliaNota_}) {
        QHeaderView* h = g->horizontalHeader();
        h->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(h, &QHeaderView::customContextMenuRequested, this,
                [this, g](const QPoint& p) { menuViste(g, p); });
    }
    caricaLayoutNota();
    ripristinaAspetto();
    Aggiorna();
}

FinestraIncassi::~FinestraIncassi() {
    // The binder, the search boxes and the grids hold the model's controls
    // and record sets: they go first, while the model is still there (a
    // search box losing the focus as the window goes still reads its control).
    delete legame_;
    legame_ = nullptr;
    qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
}

QWidget* FinestraIncassi::campo(const QString& nome) const {
    return legame_ ? legame_->widget(nome) : nullptr;
}

QWidget* FinestraIncassi::creaFiltro() {
    filtro_ = new QGroupBox(QStringLiteral("Filtro"), this);
    auto* l = new QHBoxLayout(filtro_);
    l->setContentsMargins(6, 2, 6, 2);
    auto* causale = Combo("CCausale", filtro_);
    auto* locale = new WidgetRicerca(modello_->casella(QStringLiteral("TxLocale")), ui_, filtro_);
    locale->setMinimumWidth(260);
    auto* dal = Testo("DataFiltro", filtro_, 90);
    auto* al = Testo("DataFiltroFine", filtro_, 90);
    l->addWidget(Didascalia(QStringLiteral("Causale"), causale, filtro_));
    l->addWidget(causale);
    l->addWidget(Didascalia(QStringLiteral("Locale"), locale, filtro_));
    l->addWidget(locale, 1);
    l->addWidget(Didascalia(QStringLiteral("Dal"), dal, filtro_));
    l->addWidget(dal);
    l->addWidget(Didascalia(QStringLiteral("al"), al, filtro_));
    l->addWidget(al);
    auto* applica = new QPushButton(QStringLiteral("Applica"), filtro_);
    applica->setToolTip(QStringLiteral("Mostra i documenti che rispondono al filtro"));
    connect(applica, &QPushButton::clicked, this,
            [this] { comando(QStringLiteral("ApplicaFiltro")); });
    l->addWidget(applica);
    return filtro_;
}

QWidget* FinestraIncassi::creaTestata() {
    auto* box = new QFrame(this);
    box->setObjectName(QStringLiteral("Testata"));
    box->setFrameShape(QFrame::StyledPanel);
    auto* g = new QGridLayout(box);
    g->setContentsMargins(6, 4, 6, 4);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(3);
    auto ricerca = [&](const char* nome) {
        auto* w = new WidgetRicerca(modello_->casella(QLatin1String(nome)), ui_, box);
        w->setMinimumWidth(90);
        return w;
    };
    // Five pairs of caption and field per row.
    auto metti = [&](int riga, int coppia, const QString& testo, QWidget* w, int span = 1) {
        g->addWidget(Didascalia(testo, w, box), riga, coppia * 2);
        g->addWidget(w, riga, coppia * 2 + 1, 1, span);
    };

    // The causal and the venue show their description beside the code: they
    // take the room of two fields.
    auto* data = Testo("txtDataRegistrazione", box);
    data->setToolTip(QStringLiteral("Data della registrazione (gg/mm/aaaa)"));
    data->setProperty("importo", true);  // checked when left, like an amount
    data->installEventFilter(this);
    metti(0, 0, QStringLiteral("&Data"), data);
    metti(0, 1, QStringLiteral("&Causale"), ricerca("txeCodCausale"), 3);
    auto* locale = ricerca("txeCodLocale");
    metti(0, 3, QStringLiteral("&Locale"), locale, 2);
    // Enter on the venue of a new collection loads its machines and goes on
    // into the grid: the keyboard's way from the header to the meters.
    connect(locale->riga(), &QLineEdit::returnPressed, this, &FinestraIncassi::invioSulLocale,
            Qt::QueuedConnection);
    auto* nota = Crea<QPushButton>("CmNota", box);
    nota->setText(QStringLiteral("Note"));
    nota->setToolTip(QStringLiteral("Note del locale (verde quando ce ne sono)"));
    auto* id = Crea<QLabel>("EtiId", box);
    id->setToolTip(QStringLiteral("Numero del documento (0 se non ancora salvato)"));
    id->setFrameShape(QFrame::StyledPanel);
    id->setFrameShadow(QFrame::Sunken);
    id->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* finale = new QHBoxLayout;
    finale->addWidget(nota);
    finale->addWidget(Didascalia(QStringLiteral("N."), id, box));
    finale->addWidget(id, 1);
    g->addLayout(finale, 0, 9);

    metti(1, 0, QStringLiteral("&Esattore"), ricerca("txeCodEsattore"));
    metti(1, 1, QStringLiteral("A&gente"), ricerca("txeCodAGente"));
    metti(1, 2, QStringLiteral("Sub agente"), ricerca("txeCodSubAgente"));
    metti(1, 3, QStringLiteral("Azienda"), Combo("CmbCodiceAzienda", box));
    metti(1, 4, QStringLiteral("Terminale"), Testo("txtNumeroTerminale", box));

    metti(2, 0, QStringLiteral("Tipologia"), Combo("CmiTipologiaIncasso", box));
    metti(2, 1, QStringLiteral("Denaro"), Combo("CmiGestioneDenaro", box));
    metti(2, 2, QStringLiteral("Gettoni"), Combo("CmiIncassoGettoni", box));
    metti(2, 3, QStringLiteral("Tasse"), Combo("CmiIncassoTasse", box));
    metti(2, 4, QStringLiteral("Id onda"), Testo("txtidOnda", box));
    const struct {
        const char* nome;
        const char* suggerimento;
    } suggerimenti[] = {{"CmiGestioneDenaro", "Gestione del denaro"},
                        {"CmiIncassoGettoni", "Incasso dei gettoni"},
                        {"CmiIncassoTasse", "Chi paga le tasse"},
                        {"CmiTipologiaIncasso", "Tipologia dell'incasso"}};
    for (const auto& s : suggerimenti)
        box->findChild<QWidget*>(QLatin1String(s.nome))
            ->setToolTip(QString::fromUtf8(s.suggerimento));

    metti(3, 0, QStringLiteral("Descrizione"), Testo("txtDescrizione", box), 3);
    metti(3, 2, QStringLiteral("Annotazioni"), Testo("txtAnnotazioni", box));
    auto* conteggiato = Testo("txtDenaroConteggiato", box);
    conteggiato->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    metti(3, 3, QStringLiteral("Conteggiato"), conteggiato);
    metti(3, 4, QStringLiteral("Data conteggio"), Testo("txtDataConteggio", box));

    auto* caselle = new QHBoxLayout;
    caselle->setSpacing(12);
    caselle->addWidget(Casella("ChkTerzoGestore", QStringLiteral("Terzo gestore"), box));
    caselle->addWidget(Casella("chkAttesaFatture", QStringLiteral("Attesa fatture"), box));
    caselle->addWidget(Casella("ChkQuietanzato", QStringLiteral("Quietanzato"), box));
    caselle->addWidget(Casella("ChkFatturato", QStringLiteral("Fatturato"), box));
    caselle->addWidget(Casella("ChkChiuso", QStringLiteral("Chiuso"), box));
    caselle->addWidget(Casella("ChkBloccato", QStringLiteral("Bloccato"), box));
    caselle->addStretch(1);
    // The switches on a row of their own, across the whole header.
    g->addLayout(caselle, 4, 1, 1, 9);
    for (int c = 1; c < 10; c += 2)
        g->setColumnStretch(c, 1);
    return box;
}

QWidget* FinestraIncassi::creaGriglie() {
    auto* box = new QWidget(this);
    auto* l = new QVBoxLayout(box);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    schede_ = new QTabBar(box);
    schede_->setObjectName(QStringLiteral("TagGriglia"));
    schede_->setExpanding(false);
    schede_->setDrawBase(false);
    for (const char* testo : {"Apparecchi", "Acconti", "Refill", "Cambiamonete", "Hopper", "Furti",
                              "Solo prima nota", "Acconti al locale"})
        schede_->addTab(QLatin1String(testo));
    l->addWidget(schede_);
    grigliaIncassi_ = new GrigliaRecordset(box);
    grigliaIncassi_->setObjectName(QStringLiteral("GrigliaIncassi"));
    grigliaIncassi_->installEventFilter(this);
    l->addWidget(grigliaIncassi_, 1);
    connect(grigliaIncassi_, &GrigliaRecordset::rigaCambiata, this, &FinestraIncassi::rigaCambiata);
    connect(grigliaIncassi_, &GrigliaRecordset::invio, this, &FinestraIncassi::invioInGriglia);
    grigliaIncassi_->modello().cellaModificata = [this](const QString& c, const QVariant& prima) {
        cellaModificata(c, prima);
    };
    return box;
}

QWidget* FinestraIncassi::creaStorici() {
    auto* box = new QWidget(this);
    auto* l = new QVBoxLayout(box);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(2);
    // Fixed-width digits at the window's own size, so the columns line up.
    QFont fisso = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fisso.setPointSizeF(font().pointSizeF());
    const struct {
        const char* nome;
        const char* titolo;
        const Pannello& (FrmIncassi::*pannello)() const;
        const char* preferenza;
        int altezza;
    } voci[] = {
        // Ten collections of the machine, six documents of the venue.
        {"PannelloApparecchio", "Storico apparecchio", &FrmIncassi::storicoApparecchio, nullptr,
         11},
        {"PannelloHopper", "Storico hopper", &FrmIncassi::storicoHopper, "VisHopper", 8},
        {"PannelloCassetto", "Storico cassetto", &FrmIncassi::storicoCassetto, "VisCassetto", 8},
        {"PannelloLocale", "Storico locale", &FrmIncassi::storicoLocale, nullptr, 7},
    };
    for (size_t i = 0; i < storici_.size(); ++i) {
        Storico& s = storici_[i];
        s.titolo = new QLabel(QString::fromUtf8(voci[i].titolo), box);
        QFont grassetto = s.titolo->font();
        grassetto.setBold(true);
        s.titolo->setFont(grassetto);
        s.testo = Crea<QTextEdit>(voci[i].nome, box);
        s.testo->setReadOnly(true);
        s.testo->setFont(fisso);
        s.testo->setLineWrapMode(QTextEdit::NoWrap);
        s.testo->setFocusPolicy(Qt::ClickFocus);
        // Heading and a line at least: four panels still fit a small screen.
        s.testo->setMinimumHeight(QFontMetrics(fisso).lineSpacing() * 2 + 8);
        s.pannello = voci[i].pannello;
        s.preferenza = voci[i].preferenza;
        l->addWidget(s.titolo);
        l->addWidget(s.testo, voci[i].altezza);
    }
    return box;
}

QWidget* FinestraIncassi::creaDenaro() {
    auto* box = new QGroupBox(QStringLiteral("Riepilogo"), this);
    auto* g = new QGridLayout(box);
    g->setContentsMargins(6, 4, 6, 4);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(1);
    const int larghezza = fontMetrics().horizontalAdvance(QStringLiteral("-000.000,00")) + 14;
    const int altezza = QLineEdit().sizeHint().height();
    for (int colonna = 0; colonna < 4; ++colonna) {
        for (int riga = 0; riga < 10; ++riga) {
            const VoceDenaro& v = kColonneDenaro[colonna][riga];
            if (!v.nome) continue;
            const QString nome = QLatin1String(v.nome);
            QWidget* w = nullptr;
            if (nome.startsWith(u"txt") || nome.startsWith(u"ttt")) {
                auto* e = Testo(v.nome, box);
                e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                e->setProperty("importo", true);
                e->installEventFilter(this);
                w = e;
            } else {
                // A computed amount is text on the panel, not a box to type in.
                auto* e = Crea<QLabel>(v.nome, box);
                e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                e->setFrameShape(QFrame::NoFrame);
                e->setMargin(2);
                w = e;
            }
            w->setFixedSize(larghezza, altezza);
            w->setToolTip(QString::fromUtf8(v.suggerimento));
            auto* d = Didascalia(QString::fromUtf8(v.didascalia), w, box);
            d->setToolTip(w->toolTip());
            g->addWidget(d, riga, colonna * 2);
            g->addWidget(w, riga, colonna * 2 + 1);
        }
    }
    QFont grassetto = font();
    grassetto.setBold(true);
    for (const char* nome : {"txtRiscosso", "lllDaRiscuotere", "txSbilancio"})
        box->findChild<QWidget*>(QLatin1String(nome))->setFont(grassetto);
    // The settlement commands: each closes the collection in one step.
    static const struct {
        const char* nome;
        const char* didascalia;
        const char* suggerimento;
    } comandi[] = {
        {"CmdAcconto", "Riscuoti tutto",
         "Riscosso = introdotto meno uscite; la differenza resta al locale"},
        {"CmdChiudiIncasso", "Chiudi incasso", "Chiude l'incasso con il riscosso digitato"},
        {"CmdRicalcola", "Ricalcola", "Ricalcola i totali e la prima nota"},
        {"CmdNoDenaro", "Nessun incasso",
         "Nessun denaro ritirato: tutto resta al locale come rimanenza"},
        {"CmdRimanenza", "Rimanenza", "Lascia l'incassabile come rimanenza del locale"},
        {"CmdAcconti", "Ignora acconti", "Ricalcola il da riscuotere senza gli acconti"},
    };
    auto* riga = new QHBoxLayout();
    for (const auto& c : comandi) {
        auto* b = Crea<QPushButton>(c.nome, box);
        b->setText(QString::fromUtf8(c.didascalia));
        b->setToolTip(QString::fromUtf8(c.suggerimento));
        riga->addWidget(b);
    }
    g->addLayout(riga, 10, 0, 1, 8);
    return box;
}

namespace {

const QString kSezioneAspetto = QStringLiteral("Incassi");

QString ChiaveAspetto(const Host& host, const QString& cosa) {
    return QStringLiteral("Aspetto_%1_%2").arg(host.user(), cosa);
}

}  // namespace

void FinestraIncassi::ordinaTabulazione() {
    // The header as it reads, the machines, the amounts the collector types in
    // the panel's order, the bookkeeping rows.
    static const char* const ordine[] = {"txtDataRegistrazione",
                                         "txeCodCausale",
                                         "txeCodLocale",
                                         "txeCodEsattore",
                                         "txeCodAGente",
                                         "txeCodSubAgente",
                                         "CmbCodiceAzienda",
                                         "txtNumeroTerminale",
                                         "CmiTipologiaIncasso",
                                         "CmiGestioneDenaro",
                                         "CmiIncassoGettoni",
                                         "CmiIncassoTasse",
                                         "txtidOnda",
                                         "txtDescrizione",
                                         "txtAnnotazioni",
                                         "txtDenaroConteggiato",
                                         "txtDataConteggio",
                                         "ChkTerzoGestore",
                                         "chkAttesaFatture",
                                         "ChkQuietanzato",
                                         "ChkFatturato",
                                         "ChkChiuso",
                                         "ChkBloccato",
                                         "GrigliaIncassi",
                                         "txtRiscosso",
                                         "txtAcconto",
                                         "txtAccontoLocale",
                                         "txtAnticipoLocale",
                                         "txtArrotondamenti",
                                         "txtRimanenza",
                                         "txtVersatoALocale",
                                         "txtVarPrestito",
                                         "txtAmmancoLocale",
                                         "txtAmmancoNoleggiatore",
                                         "tttAmmanchi",
                                         "txtFurtoLocale",
                                         "txtFurtoNoleggiatore",
                                         "tttFurti",
                                         "GrigliaNota"};
    QWidget* prima = nullptr;
    for (const char* nome : ordine) {
        QWidget* w = campo(QLatin1String(nome));
        if (!w) w = findChild<QWidget*>(QLatin1String(nome));
        if (!w) continue;
        if (prima) setTabOrder(prima, w);
        prima = w;
    }
}

void FinestraIncassi::salvaAspetto() {
    host_.salvasettaggio(kSezioneAspetto, ChiaveAspetto(host_, QStringLiteral("Finestra")),
                         QString::fromLatin1(saveGeometry().toBase64()));
    for (auto* d : findChildren<QSplitter*>()) {
        host_.salvasettaggio(kSezioneAspetto, ChiaveAspetto(host_, d->objectName()),
                             QString::fromLatin1(d->saveState().toBase64()));
    }
    for (auto* g : findChildren<GrigliaRecordset*>()) {
        host_.salvasettaggio(kSezioneAspetto,
                             ChiaveAspetto(host_, QStringLiteral("Colonne_") + g->objectName()),
                             g->larghezzeUtente());
    }
}

void FinestraIncassi::ripristinaAspetto() {
    auto letto = [&](const QString& cosa) {
        return QByteArray::fromBase64(
            host_.LeggiSettaggio(kSezioneAspetto, ChiaveAspetto(host_, cosa), QString())
                .toString()
                .toLatin1());
    };
    for (auto* d : findChildren<QSplitter*>()) {
        if (const QByteArray stato = letto(d->objectName()); !stato.isEmpty())
            d->restoreState(stato);
    }
    for (auto* g : findChildren<GrigliaRecordset*>()) {
        g->setLarghezzeUtente(
            host_
                .LeggiSettaggio(kSezioneAspetto,
                                ChiaveAspetto(host_, QStringLiteral("Colonne_") + g->objectName()),
                                QString())
                .toString());
    }
    if (const QByteArray geometria = letto(QStringLiteral("Finestra"));
        !geometria.isEmpty() && restoreGeometry(geometria))
        return;
    // The first time: as large as the screen allows, up to 1366x740.
    QSize dimensione(1366, 740);
    if (const QScreen* schermo = screen())
        dimensione = dimensione.boundedTo(schermo->availableGeometry().size());
    resize(dimensione);
}

void FinestraIncassi::closeEvent(QCloseEvent* evento) {
    // The host's close request closes without asking; the user's close asks
    // while a document is being edited.
    const bool richiesta = host_.ChiudiFinestre();
    const bool chiudi = richiesta ? modello_->Timer() : modello_->Chiudi();
    if (!chiudi) {
        evento->ignore();
        Aggiorna();
        return;
    }
    if (entrata_) entrata_->setCampoRicerca(prop_.CampoRicerca);
    salvaAspetto();
    timerChiusura().stop();
    evento->accept();
}

}  // namespace incassi::ui
