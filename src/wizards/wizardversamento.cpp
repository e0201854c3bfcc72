#include "wizards/wizardversamento.h"

#include "bookkeeping/archivio.h"
#include "bookkeeping/primanota.h"
#include "host/host.h"
#include "values/sqlquote.h"
#include "values/values.h"
#include "window/uiport.h"

namespace incassi {

namespace {

const QString kQueryConti =
    QStringLiteral("select * from AnagraficaPianoConti where codiceconto  Like '01.01.%'");

}  // namespace

WizardVersamento::WizardVersamento(Host& host, UiPort& ui) : WizardCassa(host, ui, Titolo()) {
    aggiungiFrame(0, QStringLiteral("Criteri per il versamento"));
    aggiungi(QStringLiteral("CmbAzienda"), QStringLiteral("Azienda"));
    aggiungi(QStringLiteral("txtData"), QStringLiteral("Data Versamento Giroconto"));
    aggiungiEsattore();
    aggiungi(QStringLiteral("LabHelp"));

    aggiungiFrame(1, QStringLiteral("Dettaglio Versamenti"));
    aggiungi(QStringLiteral("txtDenaro"), QStringLiteral("Importo versamento"));
    aggiungiConto(QStringLiteral("txeDalConto"), QStringLiteral("Giroconto dal conto"),
                  kQueryConti);
    aggiungiConto(QStringLiteral("txeCassa"), QStringLiteral("Giroconto al conto"), kQueryConti);
    aggiungi(QStringLiteral("txtNote"), QStringLiteral("Annotazioni sul giroconto"));
    aggiungiSaldoOggi();

    aggiungiRiepilogo();
}

void WizardVersamento::calcolaSaldoOggi() {
    // The main cash account's balance, whichever accounts are chosen.
    mostraSaldo(QStringLiteral("SaldoOggi"), Archivio(host_).SaldoConto(cassa()).toDouble());
}

void WizardVersamento::entraPagina1() {
    focus_ = QStringLiteral("txtDenaro");
}

void WizardVersamento::entraPagina2() {
    cassaPredefinita(QStringLiteral("txeCassa"));
    const double importo = Round(Importo().value_or(0), 2);
    const bool dallaCassa = finestra_[QStringLiteral("txeDalConto")].text().trimmed().compare(
                                cassa(), Qt::CaseInsensitive) == 0;
    Archivio archivio(host_);
    const double oggi = archivio.SaldoConto(cassa()).toDouble();
    mostraSaldo(QStringLiteral("Saldo"), dallaCassa ? oggi - importo : oggi + importo);
    riempiMovimenti(archivio, cassa(), QString());
}

bool WizardVersamento::puoGenerare(double) {
    const QString dal = finestra_[QStringLiteral("txeDalConto")].text().trimmed();
    const QString al = finestra_[QStringLiteral("txeCassa")].text().trimmed();
    // A row on no account would leave the money without a source or a place;
    // a transfer to the account it comes from moves nothing.
    QString manca;
    if (dal.isEmpty()) {
        manca = QStringLiteral("Selezionare il conto di prelevamento");
    } else if (al.isEmpty()) {
        manca = QStringLiteral(
            "Selezionare il conto di versamento (nella tabella delle "
            "associazioni dei conti manca il conto del ruolo cassa)");
    } else if (dal.compare(al, Qt::CaseInsensitive) == 0) {
        manca = QStringLiteral("Il conto di prelevamento e quello di versamento coincidono");
    } else if (const QStringList ignoti = ContiSconosciuti(host_, {dal, al}); !ignoti.isEmpty()) {
        manca = QStringLiteral("Il conto %1 non è nel piano dei conti").arg(ignoti.front());
    }
    if (manca.isEmpty()) return true;
    avvisa(manca + QStringLiteral(": nessun movimento è stato registrato."), Icona::Esclamazione);
    return false;
}

qlonglong WizardVersamento::scrivi(double importo, const QDate& data, const QDateTime& ora) {
    Archivio archivio(host_);
    RecordSetPtr testa = archivio.TestataVuota();
    RecordSetPtr righe = archivio.RigheVuote();
    CasellaRicerca& al = casella(QStringLiteral("txeCassa"));
    CasellaRicerca& dal = casella(QStringLiteral("txeDalConto"));

    testa->AddNew();
    scriviTestata(*testa, data, ora);
    testa->SetValue(QStringLiteral("CodCausale"), QStringLiteral("CP"));
    testa->SetValue(QStringLiteral("Descrizione"), QStringLiteral("Giroconto"));
    testa->Update();
    const qlonglong id = testa->Value(QStringLiteral("id")).toLongLong();

    righe->AddNew();
    scriviRiga(*righe, id, data, ora);
    righe->SetValue(
        QStringLiteral("Descrizione"),
        QStringLiteral("Versamento ") + DescrizioneDaVisualizzato(al.testoVisualizzato()));
    ImpostaImporti(*righe, importo, true);
    righe->SetValue(QStringLiteral("codConto"), al.text());
    righe->Update();

    righe->AddNew();
    scriviRiga(*righe, id, data, ora);
    righe->SetValue(
        QStringLiteral("Descrizione"),
        QStringLiteral("Prelevamento ") + DescrizioneDaVisualizzato(dal.testoVisualizzato()));
    ImpostaImporti(*righe, importo, false);
    righe->SetValue(QStringLiteral("codConto"), dal.text());
    righe->Update();
    return id;
}

}  // namespace incassi
