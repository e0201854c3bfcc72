#include "ui/principale.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include "entry/accesso.h"
#include "entry/lanciatore.h"
#include "ui/finestre.h"
#include "values/error.h"

namespace incassi::ui {

DialogoAccesso::DialogoAccesso(Host& host, QWidget* parent)
    : QDialog(parent),
      host_(host),
      codice_(new QLineEdit(this)),
      password_(new QLineEdit(this)),
      avviso_(new QLabel(this)) {
    setWindowTitle(TitoloFinestra(QStringLiteral("Accesso")));
    codice_->setObjectName(QStringLiteral("txtCodice"));
    password_->setObjectName(QStringLiteral("txtPassword"));
    password_->setEchoMode(QLineEdit::Password);
    avviso_->setStyleSheet(QStringLiteral("color: #b00000"));
    auto* campi = new QFormLayout;
    campi->addRow(QStringLiteral("Operatore"), codice_);
    campi->addRow(QStringLiteral("Password"), password_);
    auto* pulsanti = new QDialogButtonBox(this);
    pulsanti->addButton(QStringLiteral("Accedi"), QDialogButtonBox::AcceptRole)->setDefault(true);
    pulsanti->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(campi);
    layout->addWidget(avviso_);
    layout->addWidget(pulsanti);
    connect(pulsanti, &QDialogButtonBox::accepted, this, &DialogoAccesso::prova);
    connect(pulsanti, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void DialogoAccesso::prova() {
    try {
        operatore_ = Accedi(host_, codice_->text(), password_->text());
    } catch (const Errore& e) {
        avviso_->setText(e.testo());
        return;
    }
    if (operatore_) {
        accept();
        return;
    }
    avviso_->setText(QStringLiteral("Operatore o password non validi."));
    password_->clear();
    password_->setFocus();
}

QStringList CodiciFunzione() {
    QStringList codici;
    for (const finestre::Funzione& f : finestre::Funzioni)
        codici << f.codice;
    return codici;
}

FinestraPrincipale::FinestraPrincipale(const QString& operatore, QWidget* parent)
    : QMainWindow(parent) {
    setWindowTitle(TitoloFinestra(QStringLiteral("Torvane")));
    auto* centro = new QWidget(this);
    auto* layout = new QVBoxLayout(centro);
    QMenu* moduli = menuBar()->addMenu(QStringLiteral("&Moduli"));
    for (const QString& codice : CodiciFunzione()) {
        auto* b = new QPushButton(codice, centro);
        b->setObjectName(QStringLiteral("cmd") + codice);
        b->setMinimumHeight(36);
        layout->addWidget(b);
        pulsanti_ << b;
        connect(b, &QPushButton::clicked, this, [this, codice] { Q_EMIT avvia(codice); });
        QAction* a = moduli->addAction(codice);
        connect(a, &QAction::triggered, b, &QPushButton::click);
    }
    layout->addSpacing(12);
    chiudi_ = new QPushButton(QStringLiteral("Chiudi tutte le finestre"), centro);
    chiudi_->setObjectName(QStringLiteral("cmdChiudiFinestre"));
    layout->addWidget(chiudi_);
    layout->addStretch(1);
    connect(chiudi_, &QPushButton::clicked, this, &FinestraPrincipale::chiudiTutte);
    QMenu* finestre = menuBar()->addMenu(QStringLiteral("&Finestre"));
    connect(finestre->addAction(QStringLiteral("Chiudi tutte le finestre")), &QAction::triggered,
            chiudi_, &QPushButton::click);
    moduli->addSeparator();
    connect(moduli->addAction(QStringLiteral("Esci")), &QAction::triggered, this, &QWidget::close);
    setCentralWidget(centro);
    statusBar()->showMessage(QStringLiteral("Operatore: ") + operatore);
    resize(360, 320);
}

QPushButton* FinestraPrincipale::pulsante(const QString& codice) const {
    for (QPushButton* b : pulsanti_) {
        if (b->text().compare(codice, Qt::CaseInsensitive) == 0) return b;
    }
    return nullptr;
}

void FinestraPrincipale::closeEvent(QCloseEvent* evento) {
    // Every other window closes first, each asking what it has to ask: one
    // with an unsaved document that the person keeps open keeps the program.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible() && !w->close()) {
            evento->ignore();
            return;
        }
    }
    QMainWindow::closeEvent(evento);
    Q_EMIT chiusa();
}

void FinestraPrincipale::chiusuraInCorso(bool on) {
    for (QPushButton* b : pulsanti_)
        b->setEnabled(!on);
    chiudi_->setEnabled(!on);
}

}  // namespace incassi::ui
