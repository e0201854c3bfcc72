#include "wizards/wizardcassa.h"

#include <cmath>

#include "bookkeeping/archivio.h"
#include "host/host.h"
#include "values/error.h"
#include "values/values.h"

namespace incassi {

namespace {

const QString kValuta = QStringLiteral("€");
const QString kSaldoIniziale = QStringLiteral("0,00");

QString TestoImportoLista(const QVariant& v) {
    const double x = Num(v);
    return x != 0 ? FormatoNumero(x, 2) : QString();
}

QString TestoDataLista(const QVariant& v) {
    if (IsNull(v)) return {};
    if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime)
        return TestoData(v.toDate());
    if (const auto d = ParseData(Txt(v))) return TestoData(*d);
    return Txt(v);
}

}  // namespace

QString NomeFrame(int pagina) {
    return QStringLiteral("Frame1_%1").arg(pagina);
}

QString DescrizioneDaVisualizzato(const QString& visualizzato) {
    const QString t = visualizzato.trimmed();
    const qsizetype spazio = t.indexOf(u' ');
    if (spazio < 0) return t;
    return t.mid(spazio + 1).trimmed();
}

WizardCassa::WizardCassa(Host& host, UiPort& ui, QString titolo)
    : host_(host), ui_(ui), titolo_(std::move(titolo)) {}

WizardCassa::~WizardCassa() = default;

CasellaRicerca& WizardCassa::casella(const QString& nome) {
    return finestra_.casella(nome);
}

Controllo& WizardCassa::aggiungi(const QString& nome, const QString& etichetta) {
    Controllo& c = finestra_.aggiungi(nome);
    c.setCaption(etichetta);
    return c;
}

CasellaRicerca& WizardCassa::aggiungiRicerca(const QString& nome, const QString& etichetta,
                                             const QString& query, const QString& visualizza,
                                             const QString& campo, const QString& vista) {
    // Every search box is given the host when it is created.
    auto& c = finestra_.aggiungi<CasellaRicerca>(nome, host_);
    c.setCaption(etichetta);
    c.setQuery(query);
    c.setVisualizza(visualizza);
    c.setCamporicerca(campo);
    c.nomevista = c.modulo = vista;
    return c;
}

CasellaRicerca& WizardCassa::aggiungiEsattore() {
    auto& c = aggiungiRicerca(
        QStringLiteral("txeCodEsattore"), QStringLiteral("Esattore"),
        QStringLiteral(
            "Select * from anagraficaoperatori where mansione='Esattore' order by cognome"),
        QStringLiteral("cognome,nome"), QStringLiteral("CodiceOperatore"),
        QStringLiteral("AnagTecnici"));
    c.parametri = QStringLiteral("mansione");
    c.codice = QStringLiteral("esattore");
    return c;
}

CasellaRicerca& WizardCassa::aggiungiConto(const QString& nome, const QString& etichetta,
                                           const QString& query) {
    return aggiungiRicerca(nome, etichetta, query, QStringLiteral("CodiceConto,Descrizione"),
                           QStringLiteral("codiceConto"), QStringLiteral("AnagPianoConti"));
}

void WizardCassa::aggiungiFrame(int pagina, const QString& didascalia) {
    Controllo& f = aggiungi(NomeFrame(pagina), didascalia);
    f.setVisible(pagina == 0);
}

void WizardCassa::aggiungiSaldoOggi() {
    aggiungi(QStringLiteral("SaldoOggi"), QStringLiteral("Saldo aggiornato a oggi"))
        .setText(kSaldoIniziale);
}

void WizardCassa::mostraSaldo(const QString& nome, double valore) {
    finestra_[nome].setText(FormatoNumero(valore, 2));
}

void WizardCassa::aggiungiRiepilogo() {
    aggiungiFrame(2, QStringLiteral("Riepilogo"));
    aggiungi(QStringLiteral("Lista"));
    aggiungi(QStringLiteral("LabSaldo")).setText(QStringLiteral("Saldo dopo la movimentazione"));
    aggiungi(QStringLiteral("Saldo")).setText(kSaldoIniziale);
    aggiungi(QStringLiteral("Label5"))
        .setText(QStringLiteral("Cliccare su Genera per registrare e confermare le modifiche"));
    aggiungi(QStringLiteral("CmdIndietro"), didascalie::Indietro).setEnabled(false);
    aggiungi(QStringLiteral("CmdAvanti"), didascalie::Avanti);
    aggiungi(QStringLiteral("CmdAnnulla"), didascalie::Annulla);
}

void WizardCassa::Apri() {
    const QDate oggi = orologio();
    finestra_[QStringLiteral("txtData")].setValue(oggi);
    associazione_ = host_.OpenRecordSet(QStringLiteral("SELECT * FROM  TabAssociazioneConti"));
    Controllo& aziende = finestra_[QStringLiteral("CmbAzienda")];
    aziende.svuotaElementi();
    RecordSetPtr rs = host_.OpenRecordSet(QStringLiteral("SELECT * FROM anagraficaAziende"));
    for (; !rs->Eof(); rs->MoveNext()) {
        const QString codice = Txt(rs->Value(QStringLiteral("CodiceAzienda")));
        aziende.aggiungiElemento(codice, codice);
    }
    if (!aziende.elementi().empty()) aziende.setListIndex(0);
    finestra_[QStringLiteral("LabHelp")].setText(
        QStringLiteral("Selezionare il locale, esattore e azienda. Selezionare avanti per "
                       "inserire il valore e tipo del prestito."));
    apriWizard();
    pagina_ = 0;
    mostraPagina();
}

QString WizardCassa::contoAssociazione(const QString& colonna) const {
    if (!associazione_ || associazione_->Eof() || !associazione_->HasField(colonna)) return {};
    return Txt(associazione_->Value(colonna));
}

void WizardCassa::riempiMovimenti(Archivio& archivio, const QString& conto,
                                  const QString& codLocale) {
    // An account of years holds more rows than anyone reads: the newest are
    // listed, and a last line says that older ones exist.
    auto righe = archivio.Movimenti(conto, codLocale, kMovimentiMostrati + 1);
    RecordSet& rs = *righe;
    movimenti_.clear();
    for (; !rs.Eof(); rs.MoveNext()) {
        if (int(movimenti_.size()) == kMovimentiMostrati) {
            movimenti_.push_back({QString(),
                                  QStringLiteral("(movimenti più vecchi non mostrati: il saldo "
                                                 "li comprende)"),
                                  QString(), QString()});
            break;
        }
        movimenti_.push_back({TestoDataLista(rs.Value(QStringLiteral("Data"))),
                              Txt(NullAVuoto(rs.Value(QStringLiteral("Descrizione")))),
                              TestoImportoLista(rs.Value(QStringLiteral("dare"))),
                              TestoImportoLista(rs.Value(QStringLiteral("avere")))});
    }
}

std::optional<QDate> WizardCassa::dataDocumento() const {
    const auto d = ParseData(finestra_[QStringLiteral("txtData")].text());
    if (!d || !DataPlausibile(*d)) return std::nullopt;
    return d;
}

void WizardCassa::cassaPredefinita(const QString& nome) {
    CasellaRicerca& c = casella(nome);
    if (!c.text().trimmed().isEmpty()) return;
    const QString cassa = contoAssociazione(QStringLiteral("cassa"));
    // An association account the list does not offer is still the account.
    if (!c.ImpostaCodice(cassa)) c.setText(cassa);
}

void WizardCassa::ImpostaImporti(RecordSet& rs, double importo, bool dareSePositivo) {
    const double arrotondato = std::fabs(Round(importo, 2));
    const bool dare = (importo > 0) == dareSePositivo;
    rs.SetValue(QStringLiteral("dare"), dare ? arrotondato : 0.0);
    rs.SetValue(QStringLiteral("avere"), dare ? 0.0 : arrotondato);
}

void WizardCassa::scriviTestata(RecordSet& rs, const QDate& data, const QDateTime& ora) {
    rs.SetValue(QStringLiteral("DataRegistrazione"), data);
    rs.SetValue(QStringLiteral("CodEsattore"), finestra_[QStringLiteral("txeCodEsattore")].text());
    rs.SetValue(QStringLiteral("iddata"), ora);
    const QString note = finestra_[QStringLiteral("txtNote")].text();
    if (!note.isEmpty()) rs.SetValue(QStringLiteral("annotazioni"), note);
    rs.SetValue(QStringLiteral("idoperatore"), host_.user());
    const Controllo& azienda = finestra_[QStringLiteral("CmbAzienda")];
    if (azienda.listIndex() >= 0) rs.SetValue(QStringLiteral("CodiceAzienda"), azienda.text());
}

void WizardCassa::scriviRiga(RecordSet& rs, qlonglong idTesta, const QDate& data,
                             const QDateTime& ora) {
    rs.SetValue(QStringLiteral("Idtesta"), idTesta);
    rs.SetValue(QStringLiteral("Data"), data);
    rs.SetValue(QStringLiteral("iddata"), ora);
    rs.SetValue(QStringLiteral("idoperatore"), host_.user());
    // Both rows of a wizard's document carry 1.
    rs.SetValue(QStringLiteral("Riga"), 1);
}

std::optional<double> WizardCassa::Importo() const {
    const QString testo = finestra_[QStringLiteral("txtDenaro")].text();
    return LeggiImporto(testo, kValuta);
}

void WizardCassa::DenaroLasciato() {
    Controllo& denaro = finestra_[QStringLiteral("txtDenaro")];
    denaro.setText(TestoImporto(denaro.text(), kValuta));
}

void WizardCassa::avvisa(const QString& testo, Icona icona) {
    ui_.Messaggio(testo, titolo_, icona, Pulsanti::Ok);
}

void WizardCassa::Comando(const QString& nome) {
    if (nome.compare(u"CmdAvanti", Qt::CaseInsensitive) == 0) {
        Avanti();
    } else if (nome.compare(u"CmdIndietro", Qt::CaseInsensitive) == 0) {
        Indietro();
    } else if (nome.compare(u"CmdAnnulla", Qt::CaseInsensitive) == 0) {
        Annulla();
    }
}

void WizardCassa::Avanti() {
    if (chiusa_) return;
    try {
        if (!puoAvanzare()) return;
        Controllo& avanti = finestra_[QStringLiteral("CmdAvanti")];
        if (avanti.caption() == didascalie::Genera) {
            if (!genera()) return;
            focus_ = QStringLiteral("CmdAnnulla");
            finestra_[QStringLiteral("CmdAnnulla")].setCaption(didascalie::Chiudi);
            chiusa_ = true;
            return;
        }
        // The amount is read from its formatted text from here on.
        if (pagina_ == 1) DenaroLasciato();
        pagina_ = std::min(pagina_ + 1, 2);
        mostraPagina();
    } catch (const std::exception& e) {
        avvisa(QStringLiteral("Avanti: ") + QString::fromStdString(e.what()), Icona::Critico);
    }
}

void WizardCassa::Indietro() {
    if (chiusa_ || pagina_ == 0) return;
    try {
        --pagina_;
        mostraPagina();
    } catch (const std::exception& e) {
        avvisa(QStringLiteral("Indietro: ") + QString::fromStdString(e.what()), Icona::Critico);
    }
}

void WizardCassa::Annulla() {
    chiusa_ = true;
}

bool WizardCassa::Timer() {
    if (chiusa_) return true;
    if (!host_.ChiudiFinestre()) return false;
    chiusa_ = true;
    return true;
}

void WizardCassa::mostraPagina() {
    focus_.clear();
    Controllo& avanti = finestra_[QStringLiteral("CmdAvanti")];
    Controllo& indietro = finestra_[QStringLiteral("CmdIndietro")];
    if (pagina_ == 0) {
        // Back on the criteria: a changed venue is recomputed on the way forward.
        saldoScaduto_ = true;
        focus_ = campoIniziale();
        avanti.setCaption(didascalie::Avanti);
        indietro.setEnabled(false);
    } else if (pagina_ == 1) {
        if (saldoScaduto_) calcolaSaldoOggi();
        saldoScaduto_ = false;
        avanti.setCaption(didascalie::Avanti);
        indietro.setEnabled(true);
        entraPagina1();
    } else {
        saldoScaduto_ = false;
        avanti.setCaption(didascalie::Genera);
        indietro.setEnabled(true);
        focus_ = QStringLiteral("CmdAvanti");  // Enter generates
        entraPagina2();
    }
    for (int p = 0; p < 3; ++p)
        finestra_[NomeFrame(p)].setVisible(p == pagina_);
}

bool WizardCassa::genera() {
    // The right is checked where the document is written, whoever asks.
    if (!host_.UserInserimento()) {
        avvisa(QStringLiteral("Operazione non consentita: l'operatore %1 non ha il permesso di "
                              "inserire documenti.")
                   .arg(host_.user()),
               Icona::Esclamazione);
        return false;
    }
    const std::optional<double> importo = Importo();
    if (!importo || *importo == 0) {
        avvisa(QStringLiteral("L'importo è zero o non è un numero: nessun movimento è stato "
                              "registrato. Tornare indietro e inserire un importo."),
               Icona::Esclamazione);
        return false;
    }
    const std::optional<QDate> data = dataDocumento();
    if (!data) {
        avvisa(MessaggioDataNonValida(finestra_[QStringLiteral("txtData")].text()) +
                   QStringLiteral(" Nessun movimento è stato registrato."),
               Icona::Esclamazione);
        return false;
    }
    if (!puoGenerare(*importo)) return false;
    try {
        // Header and rows: all or nothing.
        TransazioneHost transazione(host_);
        const qlonglong id = scrivi(*importo, *data, adesso());
        transazione.commit();
        idGenerato_ = id;
    } catch (const std::exception& e) {
        avvisa(QStringLiteral("Errore durante la generazione: nessun movimento è stato "
                              "registrato.\n") +
                   QString::fromStdString(e.what()),
               Icona::Critico);
        return false;
    }
    return true;
}

}  // namespace incassi
