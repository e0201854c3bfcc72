#include "ui/legame.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "ui/casellaricerca.h"
#include "ui/colori.h"

namespace incassi::ui {

namespace {

QWidget* TrovaWidget(QWidget& radice, const QString& nome) {
    if (radice.objectName().compare(nome, Qt::CaseInsensitive) == 0) return &radice;
    const auto figli = radice.findChildren<QWidget*>();
    for (QWidget* w : figli) {
        if (w->objectName().compare(nome, Qt::CaseInsensitive) == 0) return w;
    }
    return nullptr;
}

// The widget whose palette carries the control's background.
QWidget* WidgetSfondo(QWidget* w) {
    if (auto* r = qobject_cast<WidgetRicerca*>(w)) return r->riga();
    return w;
}

void ImpostaTestoRiga(QLineEdit* riga, const QString& testo) {
    if (riga->text() != testo) riga->setText(testo);
}

}  // namespace

void ImpostaSfondo(QWidget* w, Colore colore) {
    w = WidgetSfondo(w);
    const QPalette normale = QApplication::palette(w);
    const QColor c = ColoreQt(colore, normale);
    QPalette p = w->palette();
    const bool campo = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w);
    if (campo) {
        // A disabled field keeps the style's disabled look: it must not read
        // as a field one can type into.
        p.setColor(QPalette::Active, QPalette::Base, c);
        p.setColor(QPalette::Inactive, QPalette::Base, c);
        p.setColor(QPalette::Disabled, QPalette::Base,
                   normale.color(QPalette::Disabled, QPalette::Base));
    } else {
        p.setColor(QPalette::Window, c);
        w->setAutoFillBackground(colore != colori::Normale);
    }
    w->setPalette(p);
}

LegameControlli::LegameControlli(ModelloFinestra& modello, QWidget& radice, QObject* parent)
    : QObject(parent), modello_(modello) {
    for (const auto& c : modello_) {
        if (QWidget* w = TrovaWidget(radice, c->nome())) collega(*c, w);
    }
    AggiornaVista();
}

QWidget* LegameControlli::widget(const QString& nome) const {
    return widget_.value(nome.toLower()).data();
}

void LegameControlli::daVista(Controllo& c, const std::function<void()>& scrivi) {
    if (aggiornando_) return;
    scrivi();
    Q_EMIT modificato(c.nome());
}

void LegameControlli::collega(Controllo& c, QWidget* w) {
    widget_.insert(c.nome().toLower(), w);
    Controllo* pc = &c;
    if (auto* r = qobject_cast<WidgetRicerca*>(w)) {
        // The search box widget writes its CasellaRicerca itself.
        connect(r, &WidgetRicerca::codiceCambiato, this,
                [this, pc](const QString&) { daVista(*pc, [] {}); });
    } else if (auto* riga = qobject_cast<QLineEdit*>(w)) {
        connect(riga, &QLineEdit::textChanged, this,
                [this, pc](const QString& t) { daVista(*pc, [pc, t] { pc->setText(t); }); });
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        connect(combo, &QComboBox::currentIndexChanged, this, [this, pc](int i) {
            if (pc->tipo() == TipoControllo::ComboEditabile) return;
            daVista(*pc, [pc, i] { pc->setListIndex(i < int(pc->elementi().size()) ? i : -1); });
        });
        connect(combo, &QComboBox::editTextChanged, this, [this, pc](const QString& t) {
            if (pc->tipo() != TipoControllo::ComboEditabile) return;
            daVista(*pc, [pc, t] { pc->setText(t); });
        });
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
        connect(check, &QCheckBox::toggled, this,
                [this, pc](bool on) { daVista(*pc, [pc, on] { pc->setChecked(on ? 1 : 0); }); });
    } else if (auto* pulsante = qobject_cast<QAbstractButton*>(w)) {
        connect(pulsante, &QAbstractButton::clicked, this,
                [this, pc] { Q_EMIT comando(pc->nome()); });
    }
}

void LegameControlli::AggiornaVista() {
    for (const auto& c : modello_) {
        if (QWidget* w = widget(c->nome())) mostra(*c, w);
    }
}

void LegameControlli::AggiornaVista(const QString& nome) {
    const Controllo* c = modello_.trova(nome);
    QWidget* w = widget(nome);
    if (c && w) mostra(*c, w);
}

void LegameControlli::mostra(const Controllo& c, QWidget* w) {
    aggiornando_ = true;
    if (auto* r = qobject_cast<WidgetRicerca*>(w)) {
        // Out of focus it shows code and description: no length limit.
        r->aggiorna();
    } else if (auto* riga = qobject_cast<QLineEdit*>(w)) {
        riga->setMaxLength(c.maxLength() > 0 ? c.maxLength() : 32767);
        ImpostaTestoRiga(riga, c.text());
    } else if (auto* etichetta = qobject_cast<QLabel*>(w)) {
        etichetta->setText(c.text());
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->clear();
        for (const ElementoLista& e : c.elementi())
            combo->addItem(e.testo, e.dato);
        combo->setEditable(c.editabile());
        if (combo->isEditable() && c.listIndex() < 0) {
            combo->setCurrentIndex(-1);
            combo->setEditText(c.text());
        } else {
            combo->setCurrentIndex(c.listIndex());
        }
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
        check->setChecked(c.checked() != 0);
    } else if (auto* pulsante = qobject_cast<QAbstractButton*>(w)) {
        if (!c.caption().isEmpty()) pulsante->setText(c.caption());
    }
    w->setEnabled(c.enabled());
    w->setHidden(!c.visible());
    ImpostaSfondo(w, c.backColor());
    aggiornando_ = false;
}

}  // namespace incassi::ui
