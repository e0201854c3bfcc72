#include "ui/qtui.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QPushButton>
#include <QUrl>

#include "ui/elenco.h"
#include "window/gridviews.h"

namespace incassi::ui {

namespace {

const char* const kRisposta = "risposta";

QMessageBox::Icon IconaQt(Icona icona) {
    switch (icona) {
        case Icona::Informazione:
            return QMessageBox::Information;
        case Icona::Esclamazione:
            return QMessageBox::Warning;
        case Icona::Critico:
            return QMessageBox::Critical;
        case Icona::Domanda:
            return QMessageBox::Question;
        case Icona::Nessuna:
            break;
    }
    return QMessageBox::NoIcon;
}

std::vector<Risposta> Risposte(Pulsanti pulsanti) {
    switch (pulsanti) {
        case Pulsanti::Ok:
            return {Risposta::Ok};
        case Pulsanti::OkAnnulla:
            return {Risposta::Ok, Risposta::Annulla};
        case Pulsanti::SiNo:
            return {Risposta::Si, Risposta::No};
        case Pulsanti::SiNoAnnulla:
            break;
    }
    return {Risposta::Si, Risposta::No, Risposta::Annulla};
}

QPushButton* Aggiungi(QMessageBox& box, Risposta r) {
    QPushButton* b = nullptr;
    switch (r) {
        case Risposta::Ok:
            b = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
            break;
        case Risposta::Si:
            b = box.addButton(QStringLiteral("Sì"), QMessageBox::YesRole);
            break;
        case Risposta::No:
            b = box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
            break;
        case Risposta::Annulla:
            b = box.addButton(QStringLiteral("Annulla"), QMessageBox::RejectRole);
            break;
    }
    b->setProperty(kRisposta, int(r));
    return b;
}

}  // namespace

std::unique_ptr<QMessageBox> CreaMessaggio(const QString& testo, const QString& titolo, Icona icona,
                                           Pulsanti pulsanti, std::optional<Risposta> predefinita,
                                           QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(titolo);
    box->setText(testo);
    box->setIcon(IconaQt(icona));
    const std::vector<Risposta> risposte = Risposte(pulsanti);
    const Risposta base =
        predefinita && RispostaAmmessa(pulsanti, *predefinita) ? *predefinita : risposte.front();
    QPushButton* fuga = nullptr;
    for (Risposta r : risposte) {
        QPushButton* b = Aggiungi(*box, r);
        if (r == base) box->setDefaultButton(b);
        if (r == Risposta::Annulla || (r == Risposta::Ok && risposte.size() == 1)) fuga = b;
    }
    if (fuga) box->setEscapeButton(fuga);
    return box;
}

Risposta RispostaDi(const QMessageBox& box) {
    if (const QAbstractButton* b = box.clickedButton()) {
        const QVariant r = b->property(kRisposta);
        if (r.isValid()) return Risposta(r.toInt());
    }
    bool no = false, annulla = false;
    const auto pulsanti = box.buttons();
    for (const QAbstractButton* b : pulsanti) {
        const Risposta r = Risposta(b->property(kRisposta).toInt());
        no |= r == Risposta::No;
        annulla |= r == Risposta::Annulla;
    }
    if (annulla) return Risposta::Annulla;
    if (no) return Risposta::No;
    return Risposta::Ok;
}

Risposta QtUi::Messaggio(const QString& testo, const QString& titolo, Icona icona,
                         Pulsanti pulsanti, std::optional<Risposta> predefinita) {
    auto box = CreaMessaggio(testo, titolo, icona, pulsanti, predefinita, parent_);
    box->exec();
    return RispostaDi(*box);
}

namespace {

// The operator's preferred view of a list, or its shared default.
void ApplicaVista(Host* host, const QString& chiave, DialogoElenco& dialogo) {
    if (!host || chiave.isEmpty()) return;
    LayoutGriglia vista;
    if (!VisteGriglia(*host).ScegliVista(chiave, PrefissoBase + chiave, vista).isEmpty())
        dialogo.applicaVista(vista);
}

}  // namespace

QString QtUi::ElencoScelta(const RecordSetPtr& rs, const QString& titolo, const QString& chiave,
                           const QString& campoChiave, bool sceltaMultipla) {
    DialogoElenco dialogo(rs, titolo, campoChiave, sceltaMultipla, parent_);
    ApplicaVista(host_, chiave, dialogo);
    if (dialogo.exec() != QDialog::Accepted) return {};
    return dialogo.scelta();
}

QString QtUi::Ricerca(const RichiestaRicerca& richiesta) {
    DialogoElenco dialogo(richiesta.Recordset, richiesta.Caption, richiesta.CampoRicerca, false,
                          parent_);
    ApplicaVista(host_, richiesta.Modulo, dialogo);
    if (richiesta.WindowsState == 2) dialogo.setWindowState(Qt::WindowMaximized);
    if (dialogo.exec() != QDialog::Accepted) return {};
    return dialogo.scelta();
}

QString QtUi::ApriFile(const QString& titolo, const QString& cartella, const QString& filtro) {
    return QFileDialog::getOpenFileName(parent_, titolo, cartella, filtro);
}

QString QtUi::SalvaFile(const QString& titolo, const QString& percorsoProposto,
                        const QString& filtro) {
    return QFileDialog::getSaveFileName(parent_, titolo, percorsoProposto, filtro);
}

bool QtUi::ApriConProgramma(const QString& percorso) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(percorso));
}

}  // namespace incassi::ui
