// The collection window's commands, menu, grids and refresh: what the user
// does goes to the window model, then the window shows the model again.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <cstdio>

#include "host/host.h"
#include "ui/casellaricerca.h"
#include "ui/frmincassi_view.h"
#include "ui/legame.h"
#include "ui/modellorecordset.h"
#include "values/causali.h"
#include "values/error.h"
#include "values/values.h"
#include "window/gridviews.h"

namespace incassi::ui {

namespace {

const QString kProssimamente = QStringLiteral("Disponibile prossimamente");

struct Comando {
    const char* chiave;
    const char* testo;
    const char* suggerimento;
    QStyle::StandardPixmap icona;
    const char* tasto;  // "" when none
    bool pronto;        // the model has it
};

const Comando kComandi[] = {
    {"Nuovo", "Nuovo", "Nuovo documento (INS)", QStyle::SP_FileIcon, "Ins", true},
    {"Modifica", "Modifica", "Modifica il documento (Ctrl+INS)", QStyle::SP_FileDialogDetailedView,
     "Ctrl+Ins", true},
    {"Salva", "Salva", "Salva il documento (F12)", QStyle::SP_DialogSaveButton, "F12", true},
    {"Annulla", "Annulla", "Annulla le modifiche (ESC)", QStyle::SP_DialogCancelButton, "Esc",
     true},
    {"Elimina", "Elimina", "Elimina il documento (CANC)", QStyle::SP_TrashIcon, "Del", true},
    {"CaricaApparecchi", "Apparecchi", "Carica gli apparecchi del locale", QStyle::SP_BrowserReload,
     "", true},
    {"Primo", "", "Primo documento", QStyle::SP_MediaSkipBackward, "", true},
    {"Precedente", "", "Documento precedente", QStyle::SP_ArrowLeft, "", true},
    {"Successivo", "", "Documento successivo", QStyle::SP_ArrowRight, "", true},
    {"Ultimo", "", "Ultimo documento", QStyle::SP_MediaSkipForward, "", true},
    {"Cerca", "Cerca", "Cerca un documento", QStyle::SP_FileDialogContentsView, "", true},
    {"Filtro", "Filtro", "Mostra o nasconde il filtro", QStyle::SP_FileDialogListView, "", true},
    {"RicerchePers", "Viste", "Configura la vista della griglia degli apparecchi",
     QStyle::SP_DirOpenIcon, "", true},
    {"Stampa", "Stampa", "Stampa o esporta il documento (Ctrl+P)", QStyle::SP_FileDialogInfoView,
     "Ctrl+P", true},
};

// Readable captions of the menu items; the model's caption otherwise.
const char* const kVociMenu[][2] = {
    {"MenuAmmanco", "Differenza come ammanco"},
    {"MenuAbbuoni", "Differenza come abbuono"},
    {"MenuRimanenza", "Differenza come rimanenza"},
    {"MenuPersNewSLOT", "Vista personale: New Slot"},
    {"MenuPersApparecchi", "Vista personale: apparecchi"},
    {"MenuPersAcconti", "Vista personale: acconti"},
    {"MenuPersRefill", "Vista personale: refill"},
    {"MenuPersCambiamonete", "Vista personale: cambiamonete"},
    {"MenuPersChRh", "Vista personale: carico/scarico hopper"},
    {"MenuPersFurti", "Vista personale: furti"},
    {"MenuVisHopper", "Mostra storico hopper"},
    {"MenuVisCassetto", "Mostra storico cassetto"},
    {"MenuVisCam", "Carica anche i cambiamonete"},
    {"MenuVisRef", "Carica anche i refill"},
    {"MenuNoContatori", "Contatori da digitare (non importati)"},
    {"MenuLocaliSospesi", "Mostra i locali sospesi"},
    {"MenuMantieni", "Mantieni la data"},
    {"MnuMantieniCaus", "Mantieni la causale"},
    {"MenuPercorsoScan", "Cartella scanner..."},
    {"MenuVersione", "Versione"},
};

QString TestoMenu(const MenuItem& m) {
    for (const auto& v : kVociMenu)
        if (m.key.compare(QLatin1String(v[0]), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(v[1]);
    return m.caption;
}

// The preference that makes a tab's grid take the operator's own layout.
QString ChiavePersonale(int scheda, const QString& causale) {
    switch (scheda) {
        case 0:
            return CausaleDi(causale) == Causale::INC6 ? QStringLiteral("PersNewSLOT")
                                                       : QStringLiteral("PersApparecchi");
        case 1:
        case -1:
            return QStringLiteral("PersAcconti");
        case 2:
            return QStringLiteral("PersRefill");
        case 3:
            return QStringLiteral("PersCambiamonete");
        case 4:
            return QStringLiteral("PersChRh");
        case 5:
            return QStringLiteral("PersFurti");
        default:
            return QStringLiteral("PersApparecchi");
    }
}

QString Html(const Pannello& p) {
    if (p.intestazione.isEmpty() && p.righe.isEmpty()) return QString();
    return QStringLiteral("<pre style=\"margin:0\"><b>") + p.intestazione.toHtmlEscaped() +
           QStringLiteral("</b>\n") + p.righe.join(u'\n').toHtmlEscaped() +
           QStringLiteral("</pre>");
}

// While a dialog is open: the window shows what its model holds, and the
// pointer is the normal one.
class DialogoAperto {
  public:
    explicit DialogoAperto(const std::function<void()>& prima)
        : occupato_(QApplication::overrideCursor() != nullptr) {
        if (prima) prima();
        if (occupato_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~DialogoAperto() {
        if (occupato_) QApplication::restoreOverrideCursor();
    }
    DialogoAperto(const DialogoAperto&) = delete;
    DialogoAperto& operator=(const DialogoAperto&) = delete;

  private:
    bool occupato_;
};

}  // namespace

Risposta UiFinestra::Messaggio(const QString& testo, const QString& titolo, Icona icona,
                               Pulsanti pulsanti, std::optional<Risposta> predefinita) {
    if (!automatico_) {
        const DialogoAperto dialogo(primaDelDialogo);
        return base_.Messaggio(testo, titolo, icona, pulsanti, predefinita);
    }
    std::fprintf(stderr, "[%s] %s\n", qPrintable(titolo), qPrintable(testo));
    if (predefinita) return *predefinita;
    switch (pulsanti) {
        case Pulsanti::SiNo:
        case Pulsanti::SiNoAnnulla:
            return Risposta::Si;
        default:
            return Risposta::Ok;
    }
}

QString UiFinestra::ElencoScelta(const RecordSetPtr& rs, const QString& titolo,
                                 const QString& chiaveElenco, const QString& campoChiave,
                                 bool sceltaMultipla) {
    if (!automatico_) {
        const DialogoAperto dialogo(primaDelDialogo);
        return base_.ElencoScelta(rs, titolo, chiaveElenco, campoChiave, sceltaMultipla);
    }
    QString scelta;
    if (!rs) return scelta;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        scelta += Txt(rs->Value(campoChiave));
        if (!sceltaMultipla) return scelta;
        scelta += u'|';
    }
    return scelta;
}

QString UiFinestra::Ricerca(const RichiestaRicerca& richiesta) {
    if (automatico_) return QString();
    const DialogoAperto dialogo(primaDelDialogo);
    return base_.Ricerca(richiesta);
}

QString UiFinestra::ApriFile(const QString& titolo, const QString& cartella,
                             const QString& filtro) {
    return automatico_ ? QString() : base_.ApriFile(titolo, cartella, filtro);
}

QString UiFinestra::SalvaFile(const QString& titolo, const QString& percorsoProposto,
                              const QString& filtro) {
    return automatico_ ? QString() : base_.SalvaFile(titolo, percorsoProposto, filtro);
}

bool UiFinestra::ApriConProgramma(const QString& percorso) {
    return !automatico_ && base_.ApriConProgramma(percorso);
}

int InstallaLayoutCondivisi(const QString& percorso) {
    const QDir cartella(QDir(percorso).filePath(QStringLiteral("parametri")));
    int copiati = 0;
    QDirIterator it(QStringLiteral(":/parametri"), {QStringLiteral("*.grx")}, QDir::Files);
    while (it.hasNext()) {
        const QFileInfo sorgente(it.next());
        const QString destinazione = cartella.filePath(sorgente.fileName());
        // A file of the same name in another case is the same layout.
        bool presente = QFileInfo::exists(destinazione);
        if (!presente && cartella.exists()) {
            for (const QString& f : cartella.entryList(QDir::Files))
                presente = presente || f.compare(sorgente.fileName(), Qt::CaseInsensitive) == 0;
        }
        if (presente) continue;
        if (!QDir().mkpath(cartella.path())) return copiati;
        if (!QFile::copy(sorgente.filePath(), destinazione)) continue;
        QFile::setPermissions(destinazione, QFile::ReadOwner | QFile::WriteOwner |
                                                QFile::ReadGroup | QFile::ReadOther);
        ++copiati;
    }
    return copiati;
}

QString VistaScheda(int scheda, const QString& causale) {
    switch (scheda) {
        case 0:
            return CausaleDi(causale) == Causale::INC6 ? QStringLiteral("NoteIncassiNewSlot")
                                                       : QStringLiteral("NoteIncassi");
        case 1:
            return QStringLiteral("NoteAcconti");
        case 2:
            return QStringLiteral("NoteRefill");
        case 3:
            return QStringLiteral("NoteCambiamonete");
        case 4:
            return QStringLiteral("NoteHopper");
        case 5:
            return QStringLiteral("NoteFurti");
        case -1:
            return QStringLiteral("NoteAccontiLocale");
        default:
            return QStringLiteral("NoteIncassi");
    }
}

void FinestraIncassi::creaAzioni() {
    for (const Comando& c : kComandi) {
        const QString chiave = QLatin1String(c.chiave);
        auto* a = new QAction(style()->standardIcon(c.icona), QString::fromUtf8(c.testo), this);
        a->setObjectName(QStringLiteral("azione") + chiave);
        a->setData(chiave);
        a->setProperty("pronto", c.pronto);
        a->setToolTip(c.pronto ? QString::fromUtf8(c.suggerimento) : kProssimamente);
        if (*c.tasto) a->setShortcut(QKeySequence(QLatin1String(c.tasto)));
        if (!*c.testo) a->setText(QString::fromUtf8(c.suggerimento));
        connect(a, &QAction::triggered, this, [this, chiave] { comando(chiave); });
        barra_->addAction(a);
        if (!*c.testo) {
            if (auto* b = barra_->widgetForAction(a))
                qobject_cast<QToolButton*>(b)->setToolButtonStyle(Qt::ToolButtonIconOnly);
        }
        azioni_.insert(chiave.toLower(), a);
        if (chiave == u"CaricaApparecchi" || chiave == u"Elimina" || chiave == u"Ultimo" ||
            chiave == u"Filtro")
            barra_->addSeparator();
    }
    // F2 opens the list of the search box being typed in.
    auto* elenco = new QAction(QStringLiteral("Elenco"), this);
    elenco->setObjectName(QStringLiteral("azioneElenco"));
    elenco->setShortcut(Qt::Key_F2);
    addAction(elenco);
    connect(elenco, &QAction::triggered, this, [this] {
        for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
            if (auto* r = qobject_cast<WidgetRicerca*>(w)) {
                r->scegli();
                return;
            }
        }
    });
    azioni_.insert(QStringLiteral("elenco"), elenco);
}

void FinestraIncassi::creaMenu() {
    menu_->clear();
    for (const MenuItem& m : modello_->menu().menus) {
        QMenu* sotto = menu_->addMenu(m.caption);
        sotto->setObjectName(m.key);
        for (const MenuItem& v : m.children) {
            QAction* a = sotto->addAction(TestoMenu(v));
            a->setObjectName(v.key);
            a->setCheckable(v.checkable);
            a->setChecked(v.checked);
            a->setEnabled(v.enabled);
            const QString chiave = v.key;
            connect(a, &QAction::triggered, this, [this, chiave] {
                modello_->ClicMenu(chiave);
                Aggiorna();
            });
            azioni_.insert(chiave.toLower(), a);
        }
        // The difference items are one exclusive group.
        if (m.key.compare(u"MenuPreferenze", Qt::CaseInsensitive) == 0 &&
            sotto->actions().size() > 3)
            sotto->insertSeparator(sotto->actions().at(3));
    }
}

void FinestraIncassi::comando(const QString& chiave) {
    // The personal searches button shapes the machine grid's view.
    if (chiave.compare(u"RicerchePers", Qt::CaseInsensitive) == 0) {
        apriConfigura(grigliaIncassi_);
        return;
    }
    const PuntatoreOccupato occupato;
    try {
        // The model commits the money field typed into (controlloModificato
        // told it which) before the command runs.
        modello_->Esegui(chiave);
    } catch (const Errore& e) {
        ui_.Messaggio(e.testo(), modello_->titolo(), Icona::Critico, Pulsanti::Ok, std::nullopt);
    }
    Aggiorna();
}

void FinestraIncassi::controlloModificato(const QString& nome) {
    if (aggiornando_) return;
    modello_->CampoDigitato(nome);
    // Typing into a text changes only that text; a chosen code, item or check
    // may change the whole window.
    switch (TipoDaNome(nome)) {
        case TipoControllo::Ricerca:
        case TipoControllo::Combo:
        case TipoControllo::ComboEditabile:
        case TipoControllo::Check:
            Aggiorna();
            break;
        default:
            break;
    }
}

void FinestraIncassi::cellaModificata(const QString& campo, const QVariant& prima) {
    modello_->CellaModificata(campo, prima);
    Aggiorna();
}

void FinestraIncassi::invioInGriglia(const QString& campo) {
    modello_->InvioInColonna(campo);
    Aggiorna();
}

void FinestraIncassi::rigaCambiata() {
    modello_->RigaCorrente();
    aggiornaPannelli();
}

void FinestraIncassi::invioSulLocale() {
    const RecordSetPtr righe = modello_->righeIncassi();
    if (!modello_->inModifica() || !righe || righe->RecordCount() > 0 ||
        modello_->finestra()[QStringLiteral("txeCodLocale")].text().trimmed().isEmpty())
        return;
    comando(QStringLiteral("CaricaApparecchi"));
    if (righe->RecordCount() == 0) return;
    grigliaIncassi_->setFocus(Qt::TabFocusReason);
    grigliaIncassi_->setCurrentIndex(grigliaIncassi_->modello().index(0, 0));
    if (!(grigliaIncassi_->modello().flags(grigliaIncassi_->currentIndex()) & Qt::ItemIsEditable))
        grigliaIncassi_->avanzaCella();
}

void FinestraIncassi::entraGriglia() {
    if (!modello_->inModifica()) return;
    if (!modello_->EntraGriglia()) {
        Aggiorna();
        applicaFocus();
        return;
    }
    Aggiorna();
}

bool FinestraIncassi::eventFilter(QObject* oggetto, QEvent* evento) {
    if (auto* importo = qobject_cast<QLineEdit*>(oggetto);
        importo && importo->property("importo").toBool() && !aggiornando_) {
        const QString nome = importo->objectName();
        if (evento->type() == QEvent::FocusIn && nome.compare(u"tttAmmanchi", Qt::CaseInsensitive))
            QMetaObject::invokeMethod(importo, &QLineEdit::selectAll, Qt::QueuedConnection);
        if (evento->type() == QEvent::FocusOut) {
            // The panel follows the amount left (after the focus has moved).
            QMetaObject::invokeMethod(
                this,
                [this, nome] {
                    modello_->UscitaCampo(nome);
                    Aggiorna();
                },
                Qt::QueuedConnection);
        }
    }
    if (oggetto == grigliaIncassi_ && evento->type() == QEvent::FocusIn && !aggiornando_) {
        const Qt::FocusReason r = static_cast<QFocusEvent*>(evento)->reason();
        // Coming back from a dialog or a popup is not entering the grid.
        if (r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason &&
            r != Qt::OtherFocusReason)
            QMetaObject::invokeMethod(this, &FinestraIncassi::entraGriglia, Qt::QueuedConnection);
    }
    // The documents are counted when asked: counting a long list costs time.
    if (oggetto == statoRecord_ && evento->type() == QEvent::MouseButtonDblClick) {
        comando(QStringLiteral("ContaDocumenti"));
        return true;
    }
    return FinestraPlugin::eventFilter(oggetto, evento);
}

namespace {

constexpr int kDurataAvviso = 5000;  // ms a status message stays

}  // namespace

void FinestraIncassi::Aggiorna() {
    if (!legame_) return;
    aggiornando_ = true;
    setWindowTitle(modello_->titolo());
    legame_->AggiornaVista();
    aggiornaEtichette();
    filtro_->setVisible(modello_->finestra()[QStringLiteral("CCausale")].visible());
    aggiornaGriglie();
    aggiornaPannelli();
    aggiornaAzioni();
    aggiornaMenu();
    statoRecord_->setText(modello_->stato());
    if (const QString avviso = modello_->PrendiAvviso(); !avviso.isEmpty())
        stato_->showMessage(avviso, kDurataAvviso);
    QStringList tasti = modello_->aiutoTasti().split(u'\n', Qt::SkipEmptyParts);
    if (!tasti.isEmpty()) tasti.removeFirst();  // the heading goes to the tooltip
    statoTasti_->setText(tasti.join(QStringLiteral("   ")));
    statoTasti_->setToolTip(modello_->aiutoTasti());
    aggiornando_ = false;
    applicaFocus();
}

void FinestraIncassi::mostraControlli() {
    if (!legame_ || aggiornando_) return;
    aggiornando_ = true;
    legame_->AggiornaVista();
    aggiornaEtichette();
    aggiornando_ = false;
}

void FinestraIncassi::aggiornaEtichette() {
    // Labels outside the label prefixes keep their value as a caption.
    for (const char* nome :
         {"LabInMenoOut", "LabDenaroAcasa", "LabTasse", "LabPrestitoPre", "txSbilancio"}) {
        const Controllo* c = modello_->finestra().trova(QLatin1String(nome));
        auto* l = qobject_cast<QLabel*>(campo(QLatin1String(nome)));
        if (!c || !l) continue;
        l->setText(c->text().isEmpty() ? c->caption() : c->text());
    }
    // The imbalance stands out while there is one.
    if (auto* s = qobject_cast<QLabel*>(campo(QStringLiteral("txSbilancio")))) {
        const QString t = s->text().trimmed();
        const auto n = ParseNumero(t);
        const bool sbilancio = !t.isEmpty() && (!n || *n != 0);
        QPalette p = s->palette();
        const QPalette normale = QApplication::palette(s);
        p.setColor(QPalette::Window, sbilancio ? QColor(210, 0, 0) : normale.color(QPalette::Base));
        p.setColor(QPalette::WindowText,
                   sbilancio ? QColor(Qt::white) : normale.color(QPalette::WindowText));
        s->setPalette(p);
        s->setAutoFillBackground(sbilancio);
    }
    // The venue's sign, address and town on its box.
    QString insegna;
    const RecordSetPtr riga = modello_->locale();
    if (riga && !riga->Bof() && !riga->Eof()) {
        QStringList parti;
        for (const char* f : {"Insegna", "Indirizzo", "Citta"}) {
            if (riga->HasField(QLatin1String(f))) {
                const QString t = Txt(riga->Value(QLatin1String(f))).trimmed();
                if (!t.isEmpty()) parti << t;
            }
        }
        insegna = parti.join(QStringLiteral(" - "));
    }
    if (auto* locale = campo(QStringLiteral("txeCodLocale"))) locale->setToolTip(insegna);
    // CmNota: green when the venue has notes; the button's palette role carries it.
    if (auto* nota = campo(QStringLiteral("CmNota"))) {
        const Controllo& c = modello_->finestra()[QStringLiteral("CmNota")];
        QPalette p = QApplication::palette(nota);
        if (c.backColor() == colori::Verde) p.setColor(QPalette::Button, QColor(0, 255, 0));
        nota->setPalette(p);
    }
}

void FinestraIncassi::aggiornaGriglie() {
    // The tab of the causal's kind of view; the others are not chosen by hand.
    const int scheda = modello_->schedaGriglia();
    const int indice = scheda < 0 ? 7 : std::min(scheda, 6);
    for (int i = 0; i < schede_->count(); ++i)
        schede_->setTabEnabled(i, i == indice);
    schede_->setCurrentIndex(indice);

    Controllo& incassi = modello_->finestra()[QStringLiteral("GrigliaIncassi")];
    const QString causale = modello_->finestra()[QStringLiteral("txeCodCausale")].text().trimmed();
    const QString vista = VistaScheda(scheda, causale);
    const bool personale = modello_->preferenze().attiva(ChiavePersonale(scheda, causale));
    const QString chiaveVista = vista + (personale ? QStringLiteral("*") : QString());
    ModelloRecordset& mi = grigliaIncassi_->modello();
    if (chiaveVista != vistaIncassi_) {
        const LayoutGriglia layout = layoutVista(vista, personale);
        incassi.layout() = layout;
        vistaIncassi_ = chiaveVista;
        mi.setLayout(layout);
        grigliaIncassi_->applicaLayout();
    }
    mi.setModificabile(modello_->inModifica());
    if (mi.recordset() != incassi.recordset()) {
        mi.setRecordset(incassi.recordset());
        grigliaIncassi_->applicaLayout();
    } else {
        mi.Ricarica();
        grigliaIncassi_->selezionaRigaCorrente();
    }

    Controllo& nota = modello_->finestra()[QStringLiteral("GrigliaNota")];
    ModelloRecordset& mn = grigliaNota_->modello();
    mn.setModificabile(modello_->inModifica());
    if (mn.recordset() != nota.recordset()) {
        mn.setRecordset(nota.recordset());
        grigliaNota_->applicaLayout();
    } else {
        mn.Ricarica();
    }
}

void FinestraIncassi::caricaLayoutNota() {
    Controllo& nota = modello_->finestra()[QStringLiteral("GrigliaNota")];
    const LayoutGriglia layout = layoutVista(QStringLiteral("noteRighe"), false);
    nota.layout() = layout;
    grigliaNota_->modello().setLayout(layout);
    grigliaNota_->applicaLayout();
}

void FinestraIncassi::aggiornaPannelli() {
    for (const Storico& s : storici_) {
        const bool visibile =
            !s.preferenza || modello_->preferenze().attiva(QLatin1String(s.preferenza));
        s.titolo->setVisible(visibile);
        s.testo->setVisible(visibile);
        if (!visibile) continue;
        const QString html = Html((*modello_.*s.pannello)());
        if (s.testo->property("html").toString() != html) {
            s.testo->setHtml(html);
            s.testo->setProperty("html", html);
        }
    }
}

void FinestraIncassi::aggiornaAzioni() {
    for (QAction* a : barra_->actions()) {
        const QString chiave = a->data().toString();
        if (chiave.isEmpty()) continue;
        const PulsanteBarra* p = modello_->finestra().barra().trova(chiave);
        a->setEnabled(a->property("pronto").toBool() && (!p || p->enabled));
    }
    for (QAction* a : azioniRighe_)
        a->setEnabled(modello_->Abilitato(a->data().toString()));
}

void FinestraIncassi::creaAzioniRighe(QWidget* griglia, const QString& inserisci,
                                      const QString& elimina) {
    griglia->setContextMenuPolicy(Qt::ActionsContextMenu);
    struct Voce {
        QString comando;
        const char* testo;
        QKeySequence tasto;
    };
    std::vector<Voce> voci = {{inserisci, "Inserisci riga", QKeySequence(Qt::CTRL | Qt::Key_Plus)},
                              {elimina, "Elimina riga", QKeySequence(Qt::CTRL | Qt::Key_Minus)}};
    // The meters of an island machine; F2 on its row does the same (its
    // meters and partials come from there, whatever columns the view shows).
    if (griglia == grigliaIncassi_) {
        voci.push_back({QStringLiteral("ContatoriIsola"), "Contatori isola...", {}});
        grigliaIncassi_->elencoColonna = [this](const QString&) {
            const RecordSetPtr& r = modello_->righeIncassi();
            if (!r || r->Eof() || r->Bof() || Num(r->Value(QStringLiteral("tipoincasso"))) != 13)
                return false;
            comando(QStringLiteral("ContatoriIsola"));
            return true;
        };
    }
    // The ends of a bookkeeping row; F2 in their columns does the same.
    if (griglia == grigliaNota_) {
        grigliaNota_->elencoColonna = [this](const QString& campo) {
            for (const char* lato : {"Partenza", "Destinazione"}) {
                if (!campo.endsWith(QLatin1String(lato), Qt::CaseInsensitive)) continue;
                comando(QStringLiteral("Scegli") + QLatin1String(lato));
                return true;
            }
            return false;
        };
        voci.push_back({QStringLiteral("ScegliPartenza"), "Scegli la partenza...", {}});
        voci.push_back({QStringLiteral("ScegliDestinazione"), "Scegli la destinazione...", {}});
    }
    for (const auto& v : voci) {
        auto* a = new QAction(QString::fromUtf8(v.testo), griglia);
        a->setObjectName(griglia->objectName() + u'_' + v.comando);
        a->setData(v.comando);
        a->setShortcut(v.tasto);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        const QString comando = v.comando;
        connect(a, &QAction::triggered, this, [this, comando] { this->comando(comando); });
        griglia->addAction(a);
        azioniRighe_ << a;
    }
}

void FinestraIncassi::aggiornaMenu() {
    for (const MenuItem& m : modello_->menu().menus) {
        for (const MenuItem& v : m.children) {
            if (QAction* a = azioni_.value(v.key.toLower())) {
                a->setChecked(v.checked);
                a->setEnabled(v.enabled);
            }
        }
    }
}

void FinestraIncassi::applicaFocus() {
    const QString nome = modello_->PrendiFocus();
    if (nome.isEmpty()) return;
    if (QWidget* w = campo(nome); w && w->isVisible() && w->isEnabled() && !w->hasFocus())
        w->setFocus(Qt::OtherFocusReason);
}

bool FinestraIncassi::eseguiScenario(const QString& nome) {
    if (nome.compare(u"INC6", Qt::CaseInsensitive) != 0) return false;
    ui_.setAutomatico(true);
    bool caricato = false;
    try {
        modello_->Nuovo();
        // The day of the latest imported meter readings, so that the meters come in.
        auto letture = host_.OpenRecordSet(
            QStringLiteral("select max(datacontatore) as giorno from contatori"));
        if (!letture->Eof()) {
            const auto giorno = ParseData(Txt(letture->Value(0)));
            const QVariant v = letture->Value(0);
            const QDate d = v.typeId() == QMetaType::QDate ? v.toDate() : giorno.value_or(QDate());
            if (d.isValid())
                modello_->finestra()[QStringLiteral("txtDataRegistrazione")].setValue(d);
        }
        modello_->casella(QStringLiteral("txeCodCausale")).ImpostaCodice(QStringLiteral("INC6"));
        // The first venue, by code, with machines collected by their meters.
        auto candidati = host_.OpenRecordSet(QStringLiteral(
            "SELECT MagProdottoFinito.CodLocale FROM (MagProdottoDistinta INNER JOIN MagSchede ON "
            "MagProdottoDistinta.linkScheda = MagSchede.id) INNER JOIN MagProdottoFinito ON "
            "MagProdottoDistinta.IdProdottoFinito = MagProdottoFinito.id WHERE "
            "MagSchede.TipologiaIncasso=6 ORDER BY MagProdottoFinito.CodLocale"));
        CasellaRicerca& locale = modello_->casella(QStringLiteral("txeCodLocale"));
        for (candidati->MoveFirst(); !candidati->Eof(); candidati->MoveNext()) {
            if (locale.ImpostaCodice(Txt(candidati->Value(0)))) break;
        }
        // The venue's collector and agent.
        const RecordSetPtr riga = modello_->locale();
        if (riga && !riga->Bof() && !riga->Eof()) {
            modello_->casella(QStringLiteral("txeCodEsattore"))
                .ImpostaCodice(Txt(riga->Value(QStringLiteral("codEsattore"))));
            modello_->casella(QStringLiteral("txeCodAGente"))
                .ImpostaCodice(Txt(riga->Value(QStringLiteral("codAgente"))));
        }
        Aggiorna();
        if (!locale.text().isEmpty()) {
            modello_->CaricaApparecchi();
            caricato = modello_->righeIncassi() && modello_->righeIncassi()->RecordCount() > 0;
        }
    } catch (const Errore& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.testo()));
    }
    ui_.setAutomatico(false);
    Aggiorna();
    if (caricato) grigliaIncassi_->setFocus(Qt::OtherFocusReason);
    return caricato;
}

}  // namespace incassi::ui
