#include "ui/salavista.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

#include "values/values.h"

namespace incassi::ui {

namespace {

QString Importo(const QVariant& v) {
    return IsNull(v) ? QString() : FormatoNumero(v.toDouble(), 2);
}

QString Importo(const Dec& d) {
    return FormatoNumero(d.toDouble(), 2);
}

}  // namespace

VistaSala::VistaSala(Host& host, std::unique_ptr<FrmWizardSala> modello, QWidget* parent)
    : FinestraPlugin(&host, parent), modello_(std::move(modello)) {
    setObjectName(QStringLiteral("FrmWizardSala"));
    setWindowFlag(Qt::Window);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(FrmWizardSala::Titolo());
    auto* radice = new QVBoxLayout(this);
    radice->addWidget(new QLabel(QStringLiteral("Sala %1 - letture dal %2")
                                     .arg(modello_->codLocale(), TestoData(modello_->data())),
                                 this));
    schede_ = new QTabWidget(this);
    schede_->setObjectName(QStringLiteral("Tab1"));
    lista_ = new QTreeWidget(schede_);
    lista_->setObjectName(QStringLiteral("Lista"));
    lista_->setRootIsDecorated(false);
    lista_->setHeaderLabels(FrmWizardSala::Colonne());
    for (const RigaSala& r : modello_->righe()) {
        auto* voce = new QTreeWidgetItem(lista_);
        const QString testi[] = {r.apparecchio,
                                 Importo(r.hopper),
                                 Importo(r.parzialeIn),
                                 Importo(r.parzialeOut),
                                 TestoData(r.dataRilevazione),
                                 Importo(r.vecchioHopper),
                                 QString(),
                                 QString(),
                                 QString::number(r.linkApparecchio),
                                 QString::number(r.linkScheda),
                                 Txt(r.linkHopper),
                                 Txt(r.linkContatore),
                                 Importo(r.contatoreIn),
                                 Importo(r.contatoreOut),
                                 Importo(r.vecchioIn),
                                 Importo(r.vecchioOut),
                                 QString(),
                                 QString()};
        for (int c = 0; c < int(std::size(testi)); ++c) {
            voce->setText(c, testi[c]);
            if (c > 0 && c != 4) voce->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    for (int c = 0; c < lista_->columnCount(); ++c)
        lista_->resizeColumnToContents(c);
    schede_->addTab(lista_, QStringLiteral("Rilevazione Dati"));
    auto* pagina = new QWidget(schede_);
    auto* l = new QVBoxLayout(pagina);
    riepilogo_ = new QLabel(pagina);
    riepilogo_->setObjectName(QStringLiteral("LabRiepilogo"));
    riepilogo_->setTextFormat(Qt::RichText);
    l->addWidget(riepilogo_);
    auto* crea = new QPushButton(QStringLiteral("&Crea incasso"), pagina);
    crea->setObjectName(QStringLiteral("CmdCreaIncasso"));
    crea->setToolTip(QStringLiteral("Un nuovo incasso INC6 della sala con questi apparecchi"));
    crea->setEnabled(!modello_->righe().empty());
    connect(crea, &QPushButton::clicked, this,
            [this] { comando(QStringLiteral("CmdCreaIncasso")); });
    l->addWidget(crea, 0, Qt::AlignLeft);
    l->addStretch(1);
    schede_->addTab(pagina, QStringLiteral("Riepilogo incasso"));
    radice->addWidget(schede_, 1);

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    const char* const kPulsanti[][2] = {
        {"CmdIndietro", "< &Indietro"}, {"CmdAvanti", "&Avanti >"}, {"CmdAnnulla", "A&nnulla"}};
    for (const auto& [nome, testo] : kPulsanti) {
        auto* b = new QPushButton(QString::fromUtf8(testo), this);
        b->setObjectName(QLatin1String(nome));
        b->setAutoDefault(false);
        const QString c = QLatin1String(nome);
        connect(b, &QPushButton::clicked, this, [this, c] { comando(c); });
        pulsanti->addWidget(b);
    }
    radice->addLayout(pulsanti);
    // The pages follow the model, not a click on a tab.
    schede_->tabBar()->setEnabled(false);
    aggiorna();
    resize(960, 520);
    CentraSulloSchermo(this);
}

void VistaSala::aggiorna() {
    schede_->setCurrentIndex(modello_->pagina());
    const FrmWizardSala::Totali t = modello_->totali();
    riepilogo_->setText(
        QStringLiteral("<table cellspacing=6>"
                       "<tr><td>Apparecchi</td><td align=right>%1</td></tr>"
                       "<tr><td>con lettura dei contatori</td><td align=right>%2</td></tr>"
                       "<tr><td>Parziale IN</td><td align=right>%3</td></tr>"
                       "<tr><td>Parziale OUT</td><td align=right>%4</td></tr>"
                       "<tr><td>IN - OUT</td><td align=right><b>%5</b></td></tr>"
                       "<tr><td>Hopper rilevati (%6 apparecchi)</td><td align=right>%7</td></tr>"
                       "<tr><td>Vecchio hopper</td><td align=right>%8</td></tr></table>")
            .arg(t.apparecchi)
            .arg(t.conLettura)
            .arg(Importo(t.parzialeIn), Importo(t.parzialeOut),
                 Importo(t.parzialeIn - t.parzialeOut))
            .arg(t.conHopper)
            .arg(Importo(t.hopper), Importo(t.vecchioHopper)));
    if (auto* b = findChild<QPushButton*>(QStringLiteral("CmdIndietro")))
        b->setEnabled(modello_->pagina() > 0);
    if (auto* b = findChild<QPushButton*>(QStringLiteral("CmdAvanti")))
        b->setText(modello_->pagina() == 0 ? QStringLiteral("&Avanti >") : QStringLiteral("&Fine"));
}

void VistaSala::comando(const QString& nome) {
    modello_->Comando(nome);
    if (modello_->chiusa()) {
        close();
        return;
    }
    aggiorna();
}

}  // namespace incassi::ui
