// The collection window's grid views: which layout each grid shows, the menu
// of views on each grid's header, and the view editor.

#include <QHeaderView>
#include <QMenu>

#include "ui/configuravista.h"
#include "ui/frmincassi_view.h"
#include "window/gridviews.h"

namespace incassi::ui {

QString FinestraIncassi::codiceVista(GrigliaRecordset* g) const {
    if (g == grigliaNota_) return QStringLiteral("noteRighe");
    const QString causale = modello_->finestra()[QStringLiteral("txeCodCausale")].text().trimmed();
    return VistaScheda(modello_->schedaGriglia(), causale);
}

LayoutGriglia FinestraIncassi::layoutVista(const QString& codice, bool personale) const {
    LayoutGriglia layout;
    VisteGriglia viste(host_);
    const QString scelta = vistaScelta_.value(codice.toLower());
    if (!scelta.isEmpty() && viste.CaricaVista(scelta, layout)) return layout;
    // The personal switch of the menu, else the operator's preferred view,
    // else the shared default.
    if (personale) {
        viste.CaricaSecondoPreferenza(codice, true, layout);
    } else {
        viste.ScegliVista(codice, PrefissoBase + codice, layout);
    }
    return layout;
}

void FinestraIncassi::ricaricaViste() {
    vistaIncassi_.clear();
    caricaLayoutNota();
    Aggiorna();
}

void FinestraIncassi::riempiMenuViste(QMenu& menu, GrigliaRecordset* g) {
    const QString codice = codiceVista(g);
    VisteGriglia viste(host_);
    QString attiva = vistaScelta_.value(codice.toLower());
    if (attiva.isEmpty()) {
        LayoutGriglia l;
        attiva = viste.ScegliVista(codice, PrefissoBase + codice, l);
    }
    menu.setObjectName(QStringLiteral("MenuViste"));
    for (const VoceVista& v :
         viste.MenuViste(codice, PrefissoBase + codice, QStringLiteral("Vista predefinita ..."))) {
        QAction* a = menu.addAction(v.testo);
        a->setCheckable(true);
        a->setChecked(v.chiave.compare(attiva, Qt::CaseInsensitive) == 0);
        const QString chiave = v.chiave;
        connect(a, &QAction::triggered, this, [this, codice, chiave] {
            vistaScelta_.insert(codice.toLower(), chiave);
            ricaricaViste();
        });
    }
    menu.addSeparator();
    QAction* configura = menu.addAction(QStringLiteral("Configura vista..."));
    configura->setEnabled(host_.UserRicerchePers());
    connect(configura, &QAction::triggered, this, [this, g] { apriConfigura(g); });
}

void FinestraIncassi::menuViste(GrigliaRecordset* g, const QPoint& dove) {
    QMenu menu(this);
    riempiMenuViste(menu, g);
    menu.exec(g->horizontalHeader()->mapToGlobal(dove));
}

void FinestraIncassi::apriConfigura(GrigliaRecordset* g) {
    if (!host_.UserRicerchePers()) return;
    const QString codice = codiceVista(g);
    QStringList campi;
    if (const RecordSetPtr& rs = g->modello().recordset()) {
        for (int i = 0; i < rs->FieldCount(); ++i)
            campi << rs->Field(i).name;
    }
    auto modello =
        std::make_unique<FrmConfigura>(host_, ui_, codice, g->modello().layoutGriglia(), campi);
    // What the editor saved shows once it closes: the grid takes the
    // preferred view again, not one chosen from the menu before.
    auto* w = new VistaConfigura(
        host_, ui_, std::move(modello), g->modello().recordset(),
        [this, codice] {
            vistaScelta_.remove(codice.toLower());
            ricaricaViste();
        },
        this);
    if (aperte) aperte(w);
    w->show();
}

}  // namespace incassi::ui
