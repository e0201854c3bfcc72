#include "wizards/wizardvariazione.h"

#include "bookkeeping/archivio.h"
#include "bookkeeping/primanota.h"
#include "host/host.h"
#include "values/sqlquote.h"
#include "values/values.h"
#include "window/uiport.h"

namespace incassi {

namespace {

const QString kQueryCassa =
    QStringLiteral("select * from AnagraficaPianoConti where codiceconto  Like '01.01.%'");
const QString kQueryLocali = QStringLiteral("select * from Anagraficalocali where sospeso=0");

// A text field, or the other one when it holds nothing.
QString CampoOAltro(RecordSet& rs, const char* campo, const char* altro) {
    const QVariant v = rs.Value(QLatin1String(campo));
    return Txt(NullAVuoto(IsNullOrEmpty(v) ? rs.Value(QLatin1String(altro)) : v));
}

QString Campo(RecordSet& rs, const char* campo) {
    return Txt(NullAVuoto(rs.Value(QLatin1String(campo))));
}

}  // namespace

const ProfiloVariazione& ProfiloPrestito() {
    static const ProfiloVariazione p{
        QStringLiteral("..:: Variazione Prestito ::.."),
        QStringLiteral("Criteri per la generazione del prestito"),
        QStringLiteral("Dettaglio Prestito"),
        QStringLiteral("Data Variazione Prestito"),
        QStringLiteral("Annotazioni sul prestito"),
        QStringLiteral("Importo variazione prestito    + Aumenta   -- Diminuisce"),
        QStringLiteral("Selezionare il locale, esattore e azienda. Selezionare avanti per "
                       "inserire il valore e tipo del prestito."),
        kQueryCassa + QStringLiteral(" order by codiceconto"),
        QStringLiteral("PRE"),
        QStringLiteral("PrestitiALocale"),
        QStringLiteral("VarPrestito"),
        QStringLiteral("Variazione prestito locale"),
        QStringLiteral("Cassa prestiti"),
        QStringLiteral("Variazione prestito al locale"),
    };
    return p;
}

const ProfiloVariazione& ProfiloRimanenza() {
    static const ProfiloVariazione p{
        QStringLiteral("..:: Variazione Rimanenza ::.."),
        QStringLiteral("Criteri per la generazione della rimanenza"),
        QStringLiteral("Dettaglio Rimanenza"),
        QStringLiteral("Data Variazione Rimanenza"),
        QStringLiteral("Annotazioni sulla rimanenza"),
        QStringLiteral("Importo variazione rimanenza    + Aumenta   -- Diminuisce"),
        QStringLiteral("Selezionare il locale, esattore e azienda. Selezionare avanti per "
                       "inserire il valore e tipo della rimanenza."),
        kQueryCassa,
        QStringLiteral("CP"),
        QStringLiteral("ResiduiIncassi"),
        QStringLiteral("Rimanenza"),
        QStringLiteral("Variazione debito incasso"),
        QStringLiteral("Cassa rimanenze"),
        QStringLiteral("Variazione debito incasso"),
    };
    return p;
}

WizardVariazione::WizardVariazione(Host& host, UiPort& ui, const ProfiloVariazione& profilo,
                                   ProprietaIngresso proprieta, RecordOperatore operatore)
    : WizardCassa(host, ui, profilo.titolo),
      profilo_(profilo),
      prop_(std::move(proprieta)),
      operatore_(std::move(operatore)) {
    aggiungiFrame(0, profilo_.frameCriteri);
    aggiungi(QStringLiteral("CmbAzienda"), QStringLiteral("Azienda"));
    aggiungi(QStringLiteral("txtData"), profilo_.etichettaData);
    auto& locale = aggiungiRicerca(QStringLiteral("txeCodiceLocale"), QStringLiteral("Locale"),
                                   kQueryLocali, QStringLiteral("Insegna,citta"),
                                   QStringLiteral("codLocale"), QStringLiteral("AnagLocali"));
    locale.setTag(TagRichiesto);
    locale.onChange = [this](CasellaRicerca&) { LocaleCambiato(); };
    aggiungiEsattore();
    aggiungi(QStringLiteral("LabDatiLocale_0"));
    aggiungi(QStringLiteral("LabHelp"));

    aggiungiFrame(1, profilo_.frameDettaglio);
    aggiungi(QStringLiteral("txtDenaro"), profilo_.etichettaDenaro);
    aggiungiConto(QStringLiteral("txeCassa"), QStringLiteral("Contropartita di cassa"),
                  profilo_.queryCassa);
    aggiungiRicerca(QStringLiteral("txeCodCausale"), QStringLiteral("Causale"),
                    QStringLiteral("select * from AnagraficaCausali order by codicecausale"),
                    QStringLiteral("codiceCausale,Descrizione"), QStringLiteral("codiceCausale"),
                    QStringLiteral("AnagCausali"))
        .setTag(TagObbligatorio);
    aggiungi(QStringLiteral("txtNote"), profilo_.etichettaNote);
    aggiungiSaldoOggi();
    aggiungi(QStringLiteral("LabDatiLocale_1"));

    aggiungiRiepilogo();
}

void WizardVariazione::apriWizard() {
    casella(QStringLiteral("txeCodCausale")).setText(profilo_.causale);
    // A venue handed over by the caller, even one the list would not offer.
    if (!prop_.CampoRicerca.isEmpty() && !prop_.Risposta.isEmpty()) {
        casella(QStringLiteral("txeCodiceLocale")).setText(prop_.Risposta);
        LocaleCambiato();
    }
    finestra_[QStringLiteral("LabHelp")].setText(profilo_.aiuto);
    CasellaRicerca& locali = casella(QStringLiteral("txeCodiceLocale"));
    if (operatore_.ristretto()) {
        const QString ditta = operatore_.azienda();
        locali.setQuery(kQueryLocali + QStringLiteral(" and CodiceAzienda='") +
                        sql::Raddoppia(ditta) + QStringLiteral("'"));
        Controllo& aziende = finestra_[QStringLiteral("CmbAzienda")];
        if (!aziende.selezionaPerValore(ditta)) {
            aziende.aggiungiElemento(ditta, ditta);
            aziende.setListIndex(int(aziende.elementi().size()) - 1);
        }
        // The operator works for that company alone.
        aziende.setEnabled(false);
    } else {
        locali.setQuery(kQueryLocali);
    }
}

QString WizardVariazione::codiceLocale() const {
    return finestra_[QStringLiteral("txeCodiceLocale")].text().trimmed();
}

void WizardVariazione::LocaleCambiato() {
    QString testo;
    const QString codice = codiceLocale();
    if (!codice.isEmpty()) {
        RecordSetPtr rs =
            host_.OpenRecordSet(QStringLiteral("SELECT * FROM anagraficalocali where codlocale='") +
                                sql::Raddoppia(codice) + QStringLiteral("'"));
        if (!rs->Eof()) {
            const QChar cr(u'\r');
            testo = CampoOAltro(*rs, "esditta", "insegna") + cr + QStringLiteral("P.iva ") +
                    Campo(*rs, "espiva") + QStringLiteral(" - CodF ") + Campo(*rs, "esCodf") + cr +
                    CampoOAltro(*rs, "esSedeVia", "indirizzo") + u' ' + Campo(*rs, "esSedeNr") +
                    QStringLiteral("  ") + Campo(*rs, "esSedeCap") + u' ' +
                    CampoOAltro(*rs, "esSedeComune", "citta") + QStringLiteral(" (") +
                    Campo(*rs, "esSedeProvincia") + u')';
            if (Flag(rs->Value(QStringLiteral("sospeso"))))
                testo += cr + QStringLiteral("Locale sospeso!");
            // The code as the venue table spells it.
            finestra_[QStringLiteral("txeCodiceLocale")].setText(
                Txt(rs->Value(QStringLiteral("CodLocale"))));
        }
    }
    finestra_[QStringLiteral("LabDatiLocale_0")].setText(testo);
    finestra_[QStringLiteral("LabDatiLocale_1")].setText(testo);
}

void WizardVariazione::Modificato(const QString& nome) {
    if (nome.compare(u"txeCodiceLocale", Qt::CaseInsensitive) == 0 && codiceLocale().isEmpty())
        LocaleCambiato();
}

QString WizardVariazione::campoIniziale() const {
    // The venue is the field the wizard cannot do without.
    return codiceLocale().isEmpty() ? QStringLiteral("txeCodiceLocale")
                                    : WizardCassa::campoIniziale();
}

bool WizardVariazione::puoAvanzare() {
    if (!codiceLocale().isEmpty()) return true;
    focus_ = QStringLiteral("txeCodiceLocale");
    // Marked until a venue is chosen, like any missing field.
    finestra_[focus_].setBackColor(colori::Rosso);
    ui_.Messaggio(QStringLiteral("Selezionare un locale"), titolo(), Icona::Esclamazione,
                  Pulsanti::Ok);
    return false;
}

void WizardVariazione::calcolaSaldoOggi() {
    mostraSaldo(QStringLiteral("SaldoOggi"),
                Archivio(host_).SaldoConto(conto(), codiceLocale()).toDouble());
}

void WizardVariazione::entraPagina2() {
    cassaPredefinita(QStringLiteral("txeCassa"));
    const double importo = Round(Importo().value_or(0), 2);
    Archivio archivio(host_);
    mostraSaldo(QStringLiteral("Saldo"),
                archivio.SaldoConto(conto(), codiceLocale()).toDouble() + importo);
    riempiMovimenti(archivio, conto(), codiceLocale());
}

bool WizardVariazione::puoGenerare(double) {
    // Both rows need an account: a row on none would leave money without books.
    QString manca;
    if (conto().trimmed().isEmpty()) {
        manca = QStringLiteral(
                    "Nella tabella delle associazioni dei conti manca il conto del "
                    "ruolo %1")
                    .arg(profilo_.colonnaConto);
    } else if (finestra_[QStringLiteral("txeCassa")].text().trimmed().isEmpty()) {
        manca = QStringLiteral(
            "Selezionare la contropartita di cassa (nella tabella delle "
            "associazioni dei conti manca il conto del ruolo cassa)");
    } else if (const QStringList ignoti =
                   ContiSconosciuti(host_, {conto(), finestra_[QStringLiteral("txeCassa")].text()});
               !ignoti.isEmpty()) {
        manca = QStringLiteral("Il conto %1 non è nel piano dei conti").arg(ignoti.front());
    }
    if (manca.isEmpty()) return true;
    avvisa(manca + QStringLiteral(": nessun movimento è stato registrato."), Icona::Esclamazione);
    return false;
}

qlonglong WizardVariazione::scrivi(double importo, const QDate& data, const QDateTime& ora) {
    Archivio archivio(host_);
    RecordSetPtr testa = archivio.TestataVuota();
    RecordSetPtr righe = archivio.RigheVuote();
    const QString locale = codiceLocale();
    QString causale = finestra_[QStringLiteral("txeCodCausale")].text().trimmed();
    if (causale.isEmpty()) causale = profilo_.causale;

    testa->AddNew();
    scriviTestata(*testa, data, ora);
    testa->SetValue(QStringLiteral("CodLocale"), locale);
    testa->SetValue(QStringLiteral("CodCausale"), causale);
    testa->SetValue(QStringLiteral("Descrizione"), profilo_.descrizioneTestata);
    testa->SetValue(profilo_.colonnaTestata, importo);
    testa->Update();
    const qlonglong id = testa->Value(QStringLiteral("id")).toLongLong();

    // The cash side gives what the venue side takes.
    righe->AddNew();
    scriviRiga(*righe, id, data, ora);
    righe->SetValue(QStringLiteral("Descrizione"), profilo_.descrizioneCassa);
    ImpostaImporti(*righe, importo, false);
    righe->SetValue(QStringLiteral("CodLocale"), locale);
    righe->SetValue(QStringLiteral("codConto"), finestra_[QStringLiteral("txeCassa")].text());
    righe->Update();

    righe->AddNew();
    scriviRiga(*righe, id, data, ora);
    righe->SetValue(QStringLiteral("Descrizione"), profilo_.descrizioneConto);
    ImpostaImporti(*righe, importo, true);
    righe->SetValue(QStringLiteral("codConto"), conto());
    righe->SetValue(QStringLiteral("CodLocale"), locale);
    righe->Update();
    return id;
}

}  // namespace incassi
