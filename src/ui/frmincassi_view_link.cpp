// The collection window's side panel of quick links: the group of the
// module's links, shown and hidden from the toolbar; a link runs its stored
// query narrowed to the current venue and starts a module of the suite.

#include <QAction>
#include <QHeaderView>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "entry/configura.h"
#include "entry/lanciatore.h"
#include "host/host.h"
#include "ui/frmincassi_view.h"
#include "values/values.h"

namespace incassi::ui {

QWidget* FinestraIncassi::creaPannelloLink() {
    const QString modulo =
        prop_.CodiceEsportazione.isEmpty() ? prop_.CodiceStampa : prop_.CodiceEsportazione;
    linkRapidi_ = std::make_unique<LinkRapidi>(
        host_, ui_, modulo, [this](const ProprietaIngresso& p) { return avviaModulo(p); });
    auto* pannello = new QWidget(this);
    pannello->setObjectName(QStringLiteral("PannelloLink"));
    pannello->setFixedWidth(200);
    auto* l = new QVBoxLayout(pannello);
    l->setContentsMargins(0, 4, 4, 4);
    link_ = new QTreeWidget(pannello);
    link_->setObjectName(QStringLiteral("Link"));
    link_->setHeaderHidden(true);
    link_->setRootIsDecorated(false);
    auto* gruppo = new QTreeWidgetItem(link_, {linkRapidi_->titolo()});
    gruppo->setData(0, Qt::UserRole, QStringLiteral("link"));
    gruppo->setToolTip(0, QStringLiteral("Sezione dedicata ai link/scorciatoie"));
    gruppo->setFlags(Qt::ItemIsEnabled);
    QFont f = gruppo->font(0);
    f.setBold(true);
    gruppo->setFont(0, f);
    for (const VoceLink& v : linkRapidi_->voci()) {
        auto* voce = new QTreeWidgetItem(gruppo, {v.testo});
        voce->setData(0, Qt::UserRole, v.chiave);
        voce->setToolTip(0, v.suggerimento);
        voce->setIcon(0, style()->standardIcon(QStyle::SP_FileLinkIcon));
    }
    link_->expandAll();
    connect(link_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* voce) {
        const QString chiave = voce->data(0, Qt::UserRole).toString();
        if (chiave.startsWith(u"Link:")) eseguiLink(chiave);
    });
    l->addWidget(link_);
    // Hidden until asked for: the window keeps its width for the grids.
    pannello->hide();
    auto* mostra =
        new QAction(style()->standardIcon(QStyle::SP_FileLinkIcon), QStringLiteral("Link"), this);
    mostra->setObjectName(QStringLiteral("azioneLink"));
    mostra->setCheckable(true);
    mostra->setToolTip(QStringLiteral("Mostra o nasconde i link rapidi"));
    connect(mostra, &QAction::toggled, pannello, &QWidget::setVisible);
    azioni_.insert(QStringLiteral("link"), mostra);  // on the toolbar after the commands
    return pannello;
}

void FinestraIncassi::eseguiLink(const QString& chiave) {
    // Narrowed to the venue chosen in the window, when there is one.
    const QString locale = modello_->finestra()[QStringLiteral("txeCodLocale")].text().trimmed();
    linkRapidi_->Esegui(chiave, locale);
    Aggiorna();
}

bool FinestraIncassi::avviaModulo(const ProprietaIngresso& p) {
    const QString finestra = FinestraDaCodice(p.CodiceStampa);
    if (finestra.isEmpty()) return false;
    // This window itself: it shows the chosen document.
    if (finestra == finestre::Incassi) {
        if (modello_->inModifica()) {
            ui_.Messaggio(QStringLiteral("Salvare o annullare il documento in corso prima di "
                                         "aprirne un altro."),
                          modello_->titolo(), Icona::Esclamazione, Pulsanti::Ok, std::nullopt);
        } else if (p.CampoRicerca.compare(u"id", Qt::CaseInsensitive) == 0 &&
                   !p.Risposta.isEmpty()) {
            modello_->MostraDocumento(p.Risposta.toLongLong());
        }
        return true;
    }
    if (!entrata_) return false;
    // The entry object opens the window with these properties, then keeps
    // those this window was started with.
    const ProprietaIngresso prima = entrata_->proprieta();
    entrata_->setProprieta(p);
    entrata_->Start();
    entrata_->setProprieta(prima);
    return true;
}

}  // namespace incassi::ui
