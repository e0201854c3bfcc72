#include "auxwin/frmnota.h"

#include <QDateTime>

#include "host/host.h"
#include "values/error.h"
#include "values/sqlquote.h"
#include "values/values.h"
#include "window/uiport.h"

namespace incassi {

namespace {

const char* const kComandi[] = {"CmdSalva", "CmdElimina", "CmdVisualizza", "CmdAnnulla"};

QString Condizione(const QString& codLocale) {
    return QStringLiteral("codlocale='%1'").arg(sql::Raddoppia(codLocale));
}

}  // namespace

FrmNota::FrmNota(Host& host, UiPort& ui, const QString& codLocale, const QString& nota)
    : host_(host), ui_(ui) {
    finestra_.aggiungi(QStringLiteral("LabCodLocale")).setCaption(codLocale.trimmed());
    finestra_.aggiungi(QStringLiteral("txtNote")).setText(nota);
    for (const char* c : kComandi)
        finestra_.aggiungi(QLatin1String(c));
}

QString FrmNota::NotaDi(Host& host, const QString& codLocale) {
    auto rs = host.OpenRecordSet(QStringLiteral("select * from notalocale where ") +
                                 Condizione(codLocale.trimmed()));
    return rs->Eof() ? QString() : Txt(rs->Value(QStringLiteral("NotaLocale")));
}

QStringList FrmNota::Comandi() {
    QStringList out;
    for (const char* c : kComandi)
        out << QLatin1String(c);
    return out;
}

QString FrmNota::codice() const {
    return finestra_[QStringLiteral("LabCodLocale")].caption().trimmed();
}

bool FrmNota::conLocale() {
    if (!codice().isEmpty()) return true;
    ui_.Messaggio(QStringLiteral("Scegliere il locale nella finestra degli incassi prima di "
                                 "scriverne la nota."),
                  Titolo(), Icona::Esclamazione);
    return false;
}

bool FrmNota::Esegui(const QString& comando) {
    auto e = [&](const char* c) {
        return comando.compare(QLatin1String(c), Qt::CaseInsensitive) == 0;
    };
    if (e("CmdSalva")) return salva();
    if (e("CmdElimina")) return elimina();
    if (e("CmdVisualizza")) {
        visualizza();
        return true;
    }
    if (e("CmdAnnulla")) {
        chiusa_ = true;
        return true;
    }
    throw Errore(QStringLiteral("Comando sconosciuto nella finestra della nota: %1").arg(comando));
}

bool FrmNota::salva() {
    if (!conLocale()) return false;
    if (ui_.Messaggio(QStringLiteral("Confermi il salvataggio della nota?"),
                      QStringLiteral("Salvataggio"), Icona::Domanda,
                      Pulsanti::SiNo) != Risposta::Si)
        return false;
    TransazioneHost tr(host_);
    auto rs = host_.OpenRecordSetBatch(QStringLiteral("select * from notalocale where ") +
                                       Condizione(codice()));
    if (rs->Eof()) {
        rs->AddNew();
        rs->SetValue(QStringLiteral("CodLocale"), codice());
    }
    rs->SetValue(QStringLiteral("NotaLocale"), finestra_[QStringLiteral("txtNote")].text());
    rs->SetValue(QStringLiteral("iddata"), QDateTime::currentDateTime());
    rs->SetValue(QStringLiteral("idoperatore"), host_.user());
    rs->Update();
    rs->UpdateBatch();
    tr.commit();
    chiusa_ = true;
    return true;
}

bool FrmNota::elimina() {
    if (!conLocale()) return false;
    if (ui_.Messaggio(QStringLiteral("Confermi l'eliminazione della nota?"),
                      QStringLiteral("Cancellazione"), Icona::Domanda, Pulsanti::SiNo,
                      Risposta::No) != Risposta::Si)
        return false;
    const int tolte =
        host_.Execute(QStringLiteral("Delete * from notalocale where ") + Condizione(codice()));
    if (tolte > 0) {
        ui_.Messaggio(QStringLiteral("Cancellazione avvenuta con successo"), QStringLiteral("Ok"),
                      Icona::Informazione);
    } else {
        ui_.Messaggio(QStringLiteral("Il locale non ha una nota da eliminare."), Titolo(),
                      Icona::Informazione);
    }
    chiusa_ = true;
    return tolte > 0;
}

void FrmNota::visualizza() {
    const RichiestaRicerca r = NuovaRicerca(
        host_, QStringLiteral("NoteIncassiLocali"), QStringLiteral("Note incassi Locali"),
        host_.OpenRecordSet(QStringLiteral(
            " SELECT NotaLocale.IdData, NotaLocale.IdOperatore, NotaLocale.NotaLocale, "
            "AnagraficaLocali.Insegna, AnagraficaLocali.Soprannome, AnagraficaLocali.Citta, "
            "AnagraficaLocali.Provincia, AnagraficaLocali.Indirizzo, AnagraficaLocali.NumCivico, "
            "AnagraficaLocali.tel, AnagraficaLocali.CodZona, NotaLocale.id  FROM NotaLocale "
            "INNER JOIN AnagraficaLocali ON NotaLocale.codLocale = AnagraficaLocali.codlocale")),
        QStringLiteral("id"));
    ui_.Ricerca(r);
}

}  // namespace incassi
