#include "reports/frmstampa.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <optional>

#include "host/host.h"
#include "reports/archiviostampa.h"
#include "values/error.h"
#include "values/sqlquote.h"
#include "values/values.h"
#include "window/uiport.h"

namespace incassi::stampa {

namespace {

const char* const kComandi[] = {"CmdStampa", "CmdExportExcel", "CmdPdf",
                                "CmdXls",    "CmdAzzera",      "cmdChiudi"};

// The reports of a register, less those already listed in `gia` (a host
// whose personal register is the standard one lists nothing twice).
void Riempi(Controllo& lista, const RecordSetPtr& rs, const Controllo* gia = nullptr) {
    lista.svuotaElementi();
    for (; rs && !rs->Eof(); rs->MoveNext()) {
        const QVariant id = rs->Value(QStringLiteral("id"));
        const QString descrizione = Txt(rs->Value(QStringLiteral("Descrizione")));
        const bool doppia = gia && std::any_of(gia->elementi().begin(), gia->elementi().end(),
                                               [&](const ElementoLista& e) {
                                                   return e.dato == id && e.testo == descrizione;
                                               });
        if (!doppia) lista.aggiungiElemento(descrizione, id);
    }
}

}  // namespace

FrmStampa::FrmStampa(Host& host, UiPort& ui, MotoreReport& motore, RichiestaStampa richiesta)
    : host_(host), ui_(ui), motore_(motore), r_(std::move(richiesta)) {
    for (const char* nome : {"ChkCorrente", "ChkPerPeriodo", "txtDallaData", "txtAllaData",
                             "CmbAzienda", "List1", "List2", "LabId"})
        finestra_.aggiungi(QLatin1String(nome));
    for (const char* c : kComandi)
        finestra_.aggiungi(QLatin1String(c));
    finestra_[QStringLiteral("ChkCorrente")].setCaption(QStringLiteral("Incasso Corrente"));
    finestra_[QStringLiteral("ChkPerPeriodo")].setCaption(QStringLiteral("Per Periodo"));
}

QStringList FrmStampa::Comandi() {
    QStringList out;
    for (const char* c : kComandi)
        out << QLatin1String(c);
    return out;
}

void FrmStampa::Apri() {
    InstallaStampe(host_.percorso());
    const QString filtro =
        QStringLiteral("SELECT * FROM stampe WHERE codiceStampa='%1' ORDER BY Ordine")
            .arg(sql::Raddoppia(r_.codiceStampa));
    Riempi(finestra_[QStringLiteral("List1")], host_.OpenRecordsetMenu(filtro));
    if (host_.Personalizzazione())
        Riempi(finestra_[QStringLiteral("List2")], host_.OpenRecordSetPersonalizzazioni(filtro),
               &finestra_[QStringLiteral("List1")]);

    Controllo& aziende = finestra_[QStringLiteral("CmbAzienda")];
    aziende.aggiungiElemento(QStringLiteral("(tutte)"), QString());
    for (auto rs = host_.OpenRecordSet(
             QStringLiteral("SELECT * FROM anagraficaAziende ORDER BY CodiceAzienda"));
         !rs->Eof(); rs->MoveNext()) {
        const QString codice = Txt(rs->Value(QStringLiteral("CodiceAzienda")));
        const QString nome = Txt(rs->Value(QStringLiteral("Descrizione")));
        aziende.aggiungiElemento(nome.isEmpty() ? codice : codice + QStringLiteral(" - ") + nome,
                                 codice);
    }
    aziende.setListIndex(0);

    // The period: from the first of the year to the document's day (today
    // when there is none).
    const QDate al = r_.data.isValid() ? r_.data : orologio();
    finestra_[QStringLiteral("txtDallaData")].setText(TestoData(QDate(al.year(), 1, 1)));
    finestra_[QStringLiteral("txtAllaData")].setText(TestoData(al));
    finestra_[QStringLiteral("LabId")].setCaption(QString::number(r_.documento));
    Controllo& corrente = finestra_[QStringLiteral("ChkCorrente")];
    corrente.setCaption(corrente.caption() + QStringLiteral(" relativa al locale: ") + r_.insegna);
    corrente.setChecked(r_.documento > 0);
    finestra_[QStringLiteral("ChkPerPeriodo")].setChecked(r_.documento <= 0);
}

bool FrmStampa::Esegui(const QString& comando) {
    auto e = [&](const char* c) {
        return comando.compare(QLatin1String(c), Qt::CaseInsensitive) == 0;
    };
    if (e("CmdStampa")) return stampa(std::nullopt);
    if (e("CmdExportExcel")) return stampa(FormatoExport::Excel);
    if (e("CmdPdf")) return stampa(FormatoExport::Pdf);
    if (e("CmdXls")) return stampa(FormatoExport::Word);
    if (e("CmdAzzera")) {
        finestra_[QStringLiteral("ChkCorrente")].setChecked(0);
        finestra_[QStringLiteral("ChkPerPeriodo")].setChecked(0);
        return true;
    }
    if (e("cmdChiudi")) {
        chiusa_ = true;
        return true;
    }
    throw Errore(QStringLiteral("Comando sconosciuto nella finestra Stampa: %1").arg(comando));
}

bool FrmStampa::Timer() {
    if (!chiusa_ && host_.ChiudiFinestre()) chiusa_ = true;
    return chiusa_;
}

bool FrmStampa::scelta(qlonglong& id) {
    Controllo& lista = finestra_[scheda_ == 0 ? QStringLiteral("List1") : QStringLiteral("List2")];
    if (lista.elementi().empty()) {
        ui_.Messaggio(QStringLiteral("Selezionare una stampa dall'elenco"),
                      QStringLiteral("Stampa non selezionata"), Icona::Informazione);
        return false;
    }
    // Nothing chosen: the first report, which the list then shows chosen.
    if (lista.listIndex() < 0) lista.setListIndex(0);
    id = lista.elementi()[size_t(lista.listIndex())].dato.toLongLong();
    return true;
}

bool FrmStampa::selezioneValida() {
    const bool corrente = finestra_[QStringLiteral("ChkCorrente")].checked();
    const bool periodo = finestra_[QStringLiteral("ChkPerPeriodo")].checked();
    auto avvisa = [&](const QString& testo) {
        ui_.Messaggio(testo, Titolo(), Icona::Esclamazione);
        return false;
    };
    if (!corrente && !periodo)
        return avvisa(QStringLiteral("Scegliere \"Incasso Corrente\" oppure \"Per Periodo\"."));
    if (corrente) {
        if (r_.documento <= 0)
            return avvisa(
                QStringLiteral("Nessun incasso salvato da stampare: salvare il documento "
                               "oppure scegliere \"Per Periodo\"."));
        return true;
    }
    if (r_.codLocale.isEmpty())
        return avvisa(
            QStringLiteral("Scegliere il locale nella finestra degli incassi prima di "
                           "stampare per periodo."));
    for (const char* campo : {"txtDallaData", "txtAllaData"}) {
        const QString t = finestra_[QLatin1String(campo)].text();
        if (!ParseData(t)) return avvisa(MessaggioDataNonValida(t));
    }
    if (*ParseData(finestra_[QStringLiteral("txtDallaData")].text()) >
        *ParseData(finestra_[QStringLiteral("txtAllaData")].text()))
        return avvisa(
            QStringLiteral("La data iniziale del periodo è successiva alla data finale."));
    return true;
}

bool FrmStampa::stampa(std::optional<FormatoExport> formato) {
    qlonglong id = 0;
    if (!scelta(id) || !selezioneValida()) return false;
    try {
        auto registro =
            (scheda_ == 0 ? host_.OpenRecordsetMenu(
                                QStringLiteral("SELECT * FROM stampe WHERE ID=%1").arg(id))
                          : host_.OpenRecordSetPersonalizzazioni(
                                QStringLiteral("SELECT * FROM stampe WHERE ID=%1").arg(id)));
        if (registro->Eof())
            throw Errore(QStringLiteral("La stampa scelta non è più nel registro."));
        const QString percorso = host_.percorso();
        const QString report = percorso + Txt(registro->Value(QStringLiteral("NomeReport")));
        const QString modello = percorso + Txt(registro->Value(QStringLiteral("nomeTemporaneo")));

        Selezione s;
        s.perPeriodo = finestra_[QStringLiteral("ChkPerPeriodo")].checked() &&
                       !finestra_[QStringLiteral("ChkCorrente")].checked();
        s.documento = r_.documento;
        s.codLocale = r_.codLocale;
        s.dal = ParseData(finestra_[QStringLiteral("txtDallaData")].text()).value_or(QDate());
        s.al = ParseData(finestra_[QStringLiteral("txtAllaData")].text()).value_or(QDate());
        s.azienda = finestra_[QStringLiteral("CmbAzienda")].value().toString();
        const QString archivio =
            PreparaArchivio(host_, modello, CartellaTemporanea(host_.user()), s, avanzamento);
        if (archivio.isEmpty()) return false;  // stopped by the person

        const Contenuto c = ApriReport(report, archivio, host_.user(), orologio());
        righe_ = c.righe();
        if (!formato) {
            ultimoFile_.clear();
            motore_.Anteprima(c);
            return true;
        }
        Esporta(c, *formato);
        return true;
    } catch (const Errore& e) {
        ui_.Messaggio(QStringLiteral("Stampa non riuscita: %1").arg(e.testo()), Titolo(),
                      Icona::Critico);
        return false;
    }
}

QString FrmStampa::Esporta(const Contenuto& c, FormatoExport formato) {
    const QString file = NuovoFileExport(CartellaExport(host_.percorso(), formato), r_.codiceStampa,
                                         Estensione(formato));
    try {
        motore_.Esporta(c, formato, file);
    } catch (...) {
        QFile::remove(file);  // no empty or half-written export left behind
        throw;
    }
    ultimoFile_ = file;
    if (!ui_.ApriConProgramma(file)) {
        ui_.Messaggio(
            QStringLiteral("Il file è stato salvato in %1.").arg(QDir::toNativeSeparators(file)),
            Titolo(), Icona::Informazione);
    }
    return file;
}

}  // namespace incassi::stampa
