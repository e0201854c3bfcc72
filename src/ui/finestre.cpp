#include "ui/finestre.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "entry/configura.h"
#include "host/host.h"
#include "ui/frmincassi_view.h"
#include "ui/wizardvista.h"

namespace incassi::ui {

QString TitoloFinestra(const QString& titolo) {
    return QStringLiteral("..:: ") + titolo + QStringLiteral(" ::..");
}

void CentraSulloSchermo(QWidget* w) {
    const QScreen* schermo = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (schermo) w->move(schermo->availableGeometry().center() - w->rect().center());
}

PuntatoreOccupato::PuntatoreOccupato() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

PuntatoreOccupato::~PuntatoreOccupato() {
    QApplication::restoreOverrideCursor();
}

FinestraPlugin::FinestraPlugin(Host* host, QWidget* parent) : QWidget(parent), host_(host) {
    setAttribute(Qt::WA_DeleteOnClose);
    timer_.setInterval(kIntervalloChiusura);
    connect(&timer_, &QTimer::timeout, this, &FinestraPlugin::controllaChiusura);
    timer_.start();
}

void FinestraPlugin::controllaChiusura() {
    if (!host_ || !host_->ChiudiFinestre()) return;
    timer_.stop();
    close();
}

namespace {

QString TitoloDi(const QString& nome) {
    for (const finestre::Funzione& f : finestre::Funzioni) {
        if (nome.compare(f.finestra, Qt::CaseInsensitive) == 0) return f.codice;
    }
    return nome;
}

}  // namespace

FinestraSegnaposto::FinestraSegnaposto(Host* host, const QString& nome, QWidget* parent)
    : FinestraPlugin(host, parent) {
    setObjectName(nome);
    setWindowTitle(TitoloFinestra(TitoloDi(nome)));
    auto* titolo = new QLabel(TitoloDi(nome), this);
    QFont f = titolo->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    titolo->setFont(f);
    auto* testo = new QLabel(
        QStringLiteral("La finestra %1 non è ancora disponibile in questa versione.").arg(nome),
        this);
    testo->setObjectName(QStringLiteral("lblAvviso"));
    testo->setWordWrap(true);
    testo->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(titolo, 0, Qt::AlignHCenter);
    layout->addWidget(testo);
    layout->addStretch(1);
    resize(640, 400);
}

void FinestraQt::Mostra(bool modale) {
    if (w_.isNull()) return;
    if (modale) w_->setWindowModality(Qt::ApplicationModal);
    w_->show();
    w_->raise();
    w_->activateWindow();
    if (!modale) return;
    QEventLoop ciclo;
    QObject::connect(w_.data(), &QObject::destroyed, &ciclo, &QEventLoop::quit);
    ciclo.exec();
}

void RegistraViste(RegistroFinestre& registro, UiPort& ui, std::function<void(QWidget*)> aperte) {
    // The views of the windows register here.
    registro.Registra(
        finestre::Incassi,
        [&ui, aperte](configura& entrata, const QString&) -> std::unique_ptr<Finestra> {
            auto* w = new FinestraIncassi(*entrata.Applicazione(), ui, entrata.proprieta(),
                                          entrata.Operatore());
            w->setEntrata(&entrata);
            w->aperte = aperte;
            if (aperte) aperte(w);
            return std::make_unique<FinestraQt>(w);
        });
    RegistraWizard(registro, ui, aperte);
    registro.RegistraSegnaposto(
        [aperte](configura& entrata, const QString& nome) -> std::unique_ptr<Finestra> {
            auto* w = new FinestraSegnaposto(entrata.Applicazione(), nome);
            if (aperte) aperte(w);
            return std::make_unique<FinestraQt>(w);
        });
}

}  // namespace incassi::ui
