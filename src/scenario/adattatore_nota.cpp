// The venue's note in scenario runs, opened on the venue of the plug-in
// protocol (CampoRicerca "CodLocale", Risposta its code) with its note.

#include "auxwin/frmnota.h"
#include "host/host.h"
#include "scenario/adattatori.h"
#include "values/error.h"

namespace incassi::scenario {

namespace {

QString Locale(const ContestoFinestra& c) {
    if (c.proprieta.CampoRicerca.compare(u"CodLocale", Qt::CaseInsensitive) != 0 ||
        c.proprieta.Risposta.trimmed().isEmpty()) {
        throw Errore(
            QStringLiteral("La nota si apre su un locale: ingresso con CampoRicerca "
                           "\"CodLocale\" e Risposta il suo codice"));
    }
    return c.proprieta.Risposta.trimmed();
}

class Nota : public AdattatoreFinestra {
  public:
    explicit Nota(ContestoFinestra& c)
        : host_(c.host),
          locale_(Locale(c)),
          f_(c.host, c.ui, locale_, FrmNota::NotaDi(c.host, locale_)) {
        for (const QString& nome : FrmNota::Comandi())
            aggiungiComando(nome, [this, nome] { f_.Esegui(nome); });
    }

    QString nome() const override { return QStringLiteral("FrmNota"); }
    void Apri() override {}
    ModelloFinestra& finestra() override { return f_.finestra(); }

    QJsonObject Stato() override {
        return {{QStringLiteral("titolo"), FrmNota::Titolo()},
                {QStringLiteral("locale"), locale_},
                {QStringLiteral("chiusa"), f_.chiusa()},
                {QStringLiteral("notaSalvata"), FrmNota::NotaDi(host_, locale_)}};
    }

  private:
    Host& host_;
    QString locale_;
    FrmNota f_;
};

}  // namespace

std::unique_ptr<AdattatoreFinestra> AdattatoreNota(ContestoFinestra& c) {
    return std::make_unique<Nota>(c);
}

}  // namespace incassi::scenario
