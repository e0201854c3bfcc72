#include "ui/isolevista.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "host/host.h"
#include "ui/configuravista.h"
#include "ui/finestre.h"
#include "window/gridviews.h"

namespace incassi::ui {

DialogoContatoriIsole::DialogoContatoriIsole(Host& host, UiPort& ui, FrmContatoriIsole& modello,
                                             QWidget* parent)
    : QDialog(parent), host_(host), ui_(ui), modello_(modello) {
    setObjectName(QStringLiteral("FrmContatoriIsole"));
    setWindowTitle(TitoloFinestra(FrmContatoriIsole::Titolo()));
    auto* radice = new QVBoxLayout(this);
    auto* barra = new QToolBar(this);
    barra->setObjectName(QStringLiteral("Toolbar1"));
    QAction* configura = barra->addAction(style()->standardIcon(QStyle::SP_DirOpenIcon),
                                          QStringLiteral("Configura vista"));
    configura->setObjectName(QStringLiteral("configura"));
    configura->setEnabled(host_.UserRicerchePers());
    connect(configura, &QAction::triggered, this, [this] {
        QStringList campi;
        for (int i = 0; i < modello_.righe()->FieldCount(); ++i)
            campi << modello_.righe()->Field(i).name;
        auto editor = std::make_unique<FrmConfigura>(host_, ui_, FrmContatoriIsole::CodiceVista(),
                                                     griglia_->modello().layoutGriglia(), campi);
        auto* w = new VistaConfigura(
            host_, ui_, std::move(editor), modello_.righe(), [this] { caricaVista(); }, this);
        w->show();
    });
    radice->addWidget(barra);
    auto* etichetta = new QLabel(modello_.apparecchio(), this);
    etichetta->setObjectName(QStringLiteral("LabApparecchio"));
    radice->addWidget(etichetta);
    griglia_ = new GrigliaRecordset(this);
    griglia_->setObjectName(QStringLiteral("Apparecchi"));
    griglia_->modello().setRecordset(modello_.righe());
    griglia_->modello().setModificabile(modello_.modificabile());
    griglia_->modello().cellaModificata = [this](const QString& campo, const QVariant& prima) {
        modello_.CellaModificata(campo, prima);
        griglia_->modello().Ricarica();
    };
    radice->addWidget(griglia_, 1);
    auto* chiudi = new QPushButton(QStringLiteral("&Chiudi"), this);
    chiudi->setObjectName(QStringLiteral("cmdChiudi"));
    chiudi->setAutoDefault(false);
    connect(chiudi, &QPushButton::clicked, this, &QDialog::accept);
    radice->addWidget(chiudi, 0, Qt::AlignRight);
    caricaVista();
    resize(760, 380);
}

void DialogoContatoriIsole::caricaVista() {
    LayoutGriglia layout;
    const QString codice = FrmContatoriIsole::CodiceVista();
    if (VisteGriglia(host_).ScegliVista(codice, PrefissoBase + codice, layout).isEmpty()) {
        const RecordSetPtr& rs = modello_.righe();
        // No view yet: the record's columns, the reading once, readable captions.
        const std::pair<const char*, const char*> kTitoli[] = {
            {"DataContatore", "Data"},
            {"vecchiocontatore", "Lettura precedente"},
            {"ContatoreAttuale", "Lettura"},
            {"Parziale", "Parziale"}};
        for (int i = 0; i < rs->FieldCount(); ++i) {
            const FieldInfo& f = rs->Field(i);
            QString titolo = f.name;
            for (const auto& [campo, testo] : kTitoli)
                if (f.name.compare(QLatin1String(campo), Qt::CaseInsensitive) == 0)
                    titolo = QString::fromUtf8(testo);
            layout.colonne.push_back(
                {f.name, i, 150, titolo, f.name.compare(u"contatore", Qt::CaseInsensitive) != 0,
                 f.type == FieldType::Double ? QStringLiteral("#,##0.00") : QString()});
        }
    }
    // The technical columns are never shown, whatever the view says.
    for (ColonnaLayout& c : layout.colonne) {
        if (FrmContatoriIsole::ColonneNascoste().contains(c.campo, Qt::CaseInsensitive))
            c.visibile = false;
    }
    griglia_->modello().setLayout(layout);
    griglia_->applicaLayout();
}

}  // namespace incassi::ui
