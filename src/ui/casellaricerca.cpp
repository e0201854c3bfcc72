#include "ui/casellaricerca.h"

#include <QEvent>
#include <QHBoxLayout>

#include "values/error.h"
#include "window/uiport.h"

namespace incassi::ui {

WidgetRicerca::WidgetRicerca(CasellaRicerca& casella, UiPort& ui, QWidget* parent)
    : QWidget(parent),
      casella_(casella),
      ui_(ui),
      riga_(new QLineEdit(this)),
      pulsante_(new QToolButton(this)) {
    setObjectName(casella.nome());
    riga_->setObjectName(casella.nome() + QStringLiteral("_riga"));
    pulsante_->setText(QStringLiteral("..."));
    pulsante_->setToolTip(QStringLiteral("Elenco"));
    pulsante_->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(riga_, 1);
    layout->addWidget(pulsante_);
    setFocusProxy(riga_);
    riga_->installEventFilter(this);
    connect(riga_, &QLineEdit::editingFinished, this, &WidgetRicerca::confermaDigitato);
    connect(pulsante_, &QToolButton::clicked, this, [this] { scegli(); });
    aggiorna();
}

void WidgetRicerca::aggiorna() {
    // A refused code stays on the line until it is corrected or the box is
    // given another code.
    if (!rifiutato_.isEmpty() && casella_.text() == rifiutatoSu_) {
        riga_->setText(rifiutato_);
        return;
    }
    rifiutato_.clear();
    riga_->setText(riga_->hasFocus() ? casella_.text() : casella_.testoVisualizzato());
    // A narrow box shows the start, the code; the whole text is its tooltip.
    if (!riga_->hasFocus()) riga_->setCursorPosition(0);
    riga_->setToolTip(casella_.testoVisualizzato());
}

bool WidgetRicerca::scegli() {
    bool scelto = false;
    try {
        scelto = casella_.Scegli(ui_);
    } catch (const Errore& e) {
        ui_.Messaggio(e.testo(), casella_.nome(), Icona::Critico);
    }
    aggiorna();
    if (scelto) Q_EMIT codiceCambiato(casella_.text());
    return scelto;
}

void WidgetRicerca::confermaDigitato() {
    const QString digitato = riga_->text().trimmed();
    // Out of focus the line shows "code description": nothing was typed.
    if (digitato == casella_.text() || digitato == casella_.testoVisualizzato()) {
        rifiutato_.clear();
        aggiorna();
        return;
    }
    if (digitato == rifiutato_) return;  // already said
    bool accettato = false;
    bool errore = false;
    try {
        accettato = casella_.ImpostaCodice(digitato);
    } catch (const Errore& e) {
        errore = true;
        ui_.Messaggio(e.testo(), casella_.nome(), Icona::Critico);
    }
    if (!accettato && !errore) {
        rifiutato_ = digitato;
        rifiutatoSu_ = casella_.text();
        const QString elenco = casella_.caption().isEmpty() ? casella_.nome() : casella_.caption();
        ui_.Messaggio(QStringLiteral("Il codice \"%1\" non è nell'elenco (%2): correggerlo o "
                                     "sceglierlo dall'elenco con F2.")
                          .arg(digitato, elenco),
                      elenco, Icona::Esclamazione);
    }
    if (accettato || errore) rifiutato_.clear();
    aggiorna();
    if (accettato) Q_EMIT codiceCambiato(casella_.text());
}

bool WidgetRicerca::eventFilter(QObject* oggetto, QEvent* evento) {
    if (oggetto == riga_) {
        if (evento->type() == QEvent::FocusIn) {
            if (rifiutato_.isEmpty()) riga_->setText(casella_.text());
        } else if (evento->type() == QEvent::FocusOut) {
            // editingFinished runs first when the text changed; this only
            // restores the description.
            QMetaObject::invokeMethod(this, &WidgetRicerca::aggiorna, Qt::QueuedConnection);
        }
    }
    return QWidget::eventFilter(oggetto, evento);
}

}  // namespace incassi::ui
