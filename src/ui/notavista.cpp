#include "ui/notavista.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace incassi::ui {

VistaNota::VistaNota(Host& host, UiPort& ui, const QString& codLocale, const QString& nota,
                     std::function<void()> chiusa, QWidget* parent)
    : FinestraPlugin(&host, parent),
      modello_(std::make_unique<FrmNota>(host, ui, codLocale, nota)),
      chiusa_(std::move(chiusa)) {
    setObjectName(QStringLiteral("FrmNota"));
    setWindowFlag(Qt::Window);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(TitoloFinestra(FrmNota::Titolo()));
    auto* radice = new QVBoxLayout(this);
    auto* locale = new QLabel(QStringLiteral("Locale: ") + codLocale.trimmed(), this);
    locale->setObjectName(QStringLiteral("LabCodLocale"));
    radice->addWidget(locale);
    testo_ = new QPlainTextEdit(nota, this);
    testo_->setObjectName(QStringLiteral("txtNote"));
    connect(testo_, &QPlainTextEdit::textChanged, this,
            [this] { (*modello_)[QStringLiteral("txtNote")].setText(testo_->toPlainText()); });
    radice->addWidget(testo_, 1);
    auto* pulsanti = new QHBoxLayout;
    const char* const kPulsanti[][2] = {{"CmdSalva", "&Salva"},
                                        {"CmdElimina", "&Elimina"},
                                        {"CmdVisualizza", "&Visualizza"},
                                        {"CmdAnnulla", "&Annulla"}};
    for (const auto& [nome, etichetta] : kPulsanti) {
        auto* b = new QPushButton(QString::fromUtf8(etichetta), this);
        b->setObjectName(QLatin1String(nome));
        b->setAutoDefault(false);
        const QString comando = QLatin1String(nome);
        connect(b, &QPushButton::clicked, this, [this, comando] { this->comando(comando); });
        if (comando == u"CmdAnnulla") pulsanti->addStretch(1);
        pulsanti->addWidget(b);
    }
    radice->addLayout(pulsanti);
    resize(520, 340);
    CentraSulloSchermo(this);
    testo_->setFocus();
}

void VistaNota::comando(const QString& nome) {
    modello_->Esegui(nome);
    if (modello_->chiusa()) close();
}

void VistaNota::closeEvent(QCloseEvent* e) {
    FinestraPlugin::closeEvent(e);
    if (e->isAccepted() && chiusa_) std::exchange(chiusa_, {})();
}

}  // namespace incassi::ui
