// The print window in scenario runs. It opens as the collection window's
// "Stampa" would, on the document the plug-in protocol names (CampoRicerca
// "id", Risposta its id) or, for a period alone, on a venue (CampoRicerca
// "CodLocale"). Exports land under the run's install folder; the state names
// them relative to it.

#include <QDir>
#include <QFileInfo>

#include "host/host.h"
#include "reportengine/motorefile.h"
#include "reports/frmstampa.h"
#include "scenario/adattatori.h"
#include "values/error.h"
#include "values/sqlquote.h"
#include "values/values.h"

namespace incassi::scenario {

namespace {

stampa::RichiestaStampa Richiesta(ContestoFinestra& c) {
    stampa::RichiestaStampa r;
    r.codiceStampa =
        c.proprieta.CodiceStampa.isEmpty() ? QStringLiteral("Incassi") : c.proprieta.CodiceStampa;
    const QString campo = c.proprieta.CampoRicerca;
    if (campo.compare(u"CodLocale", Qt::CaseInsensitive) == 0) {
        r.codLocale = c.proprieta.Risposta;
        r.data = c.oggi;
    } else if (campo.isEmpty() || campo.compare(u"id", Qt::CaseInsensitive) == 0) {
        bool ok = false;
        r.documento = c.proprieta.Risposta.toLongLong(&ok);
        if (!ok && !c.proprieta.Risposta.isEmpty()) {
            throw Errore(
                QStringLiteral("Documento da stampare non valido: %1").arg(c.proprieta.Risposta));
        }
        auto t = c.host.OpenRecordSet(
            QStringLiteral("SELECT CodLocale, DataRegistrazione FROM NoteTeste WHERE id=%1")
                .arg(r.documento));
        if (r.documento > 0 && t->Eof())
            throw Errore(QStringLiteral("Il documento %1 non esiste.").arg(r.documento));
        if (!t->Eof()) {
            r.codLocale = Txt(t->Value(QStringLiteral("CodLocale")));
            r.data = t->Value(QStringLiteral("DataRegistrazione")).toDate();
        }
    } else {
        throw Errore(
            QStringLiteral("La stampa si apre su \"id\" o su \"CodLocale\", non su %1").arg(campo));
    }
    auto l = c.host.OpenRecordSet(
        QStringLiteral("SELECT Insegna FROM AnagraficaLocali WHERE CodLocale='%1'")
            .arg(sql::Raddoppia(r.codLocale)));
    if (!l->Eof()) r.insegna = Txt(l->Value(QStringLiteral("Insegna")));
    return r;
}

class Stampa : public AdattatoreFinestra {
  public:
    explicit Stampa(ContestoFinestra& c) : host_(c.host), f_(c.host, c.ui, motore_, Richiesta(c)) {
        if (c.oggi.isValid()) {
            const QDate oggi = c.oggi;
            f_.orologio = [oggi] { return oggi; };
        }
        for (const QString& nome : stampa::FrmStampa::Comandi())
            aggiungiComando(nome, [this, nome] { f_.Esegui(nome); });
        aggiungiComando(QStringLiteral("StampeBase"), [this] { f_.setScheda(0); });
        aggiungiComando(QStringLiteral("Personalizzate"), [this] { f_.setScheda(1); });
        aggiungiComando(QStringLiteral("Timer"), [this] { f_.Timer(); });
    }

    QString nome() const override { return QStringLiteral("FrmStampa"); }
    void Apri() override { f_.Apri(); }
    ModelloFinestra& finestra() override { return f_.finestra(); }

    QJsonObject Stato() override {
        const QString file = f_.ultimoFile();
        return {{QStringLiteral("titolo"), stampa::FrmStampa::Titolo()},
                {QStringLiteral("scheda"), f_.scheda()},
                {QStringLiteral("file"),
                 file.isEmpty() ? QString() : QDir(host_.percorso()).relativeFilePath(file)},
                {QStringLiteral("scritto"), !file.isEmpty() && QFileInfo(file).size() > 0},
                {QStringLiteral("righe"), f_.righeUltimoReport()},
                {QStringLiteral("pagineAnteprima"), motore_.pagineAnteprima()},
                {QStringLiteral("chiusa"), f_.chiusa()}};
    }

  private:
    Host& host_;
    stampa::MotoreFile motore_;
    stampa::FrmStampa f_;
};

}  // namespace

std::unique_ptr<AdattatoreFinestra> AdattatoreStampa(ContestoFinestra& c) {
    return std::make_unique<Stampa>(c);
}

}  // namespace incassi::scenario
