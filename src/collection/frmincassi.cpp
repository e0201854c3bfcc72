#include "collection/frmincassi.h"

#include "bookkeeping/archivio.h"
#include "host/host.h"
#include "values/causali.h"
#include "values/error.h"
#include "values/sqlquote.h"
#include "values/values.h"
#include "window/binding.h"
#include "window/uiport.h"

namespace incassi {

namespace {

// The header fields of the window in their order (the required check and the
// clearing walk them in this order), with their required markers.
struct DefinizioneControllo {
    const char* nome;
    const char* tag;
};

const DefinizioneControllo kTestata[] = {
    {"txtDataRegistrazione", "Obbligatorio"},
    {"txeCodCausale", "Obbligatorio"},
    {"txeCodLocale", "required"},
    {"txeCodEsattore", "required"},
    {"txeCodAGente", ""},
    {"txeCodSubAgente", ""},
    {"CmbCodiceAzienda", ""},
    {"CmiTipologiaIncasso", ""},
    {"CmiGestioneDenaro", ""},
    {"CmiIncassoGettoni", ""},
    {"CmiIncassoTasse", ""},
    {"ChkTerzoGestore", ""},
    {"chkAttesaFatture", ""},
    {"txtDescrizione", ""},
    {"txtAnnotazioni", ""},
    {"txtNumeroTerminale", ""},
    {"txtDenaroConteggiato", ""},
    {"txtDataConteggio", ""},
    {"txtidOnda", ""},
    {"ChkQuietanzato", ""},
    {"ChkFatturato", ""},
    {"ChkChiuso", ""},
    {"ChkBloccato", ""},
    {"EtiId", ""},
};

// The money panel: editable amounts, then totals and balances.
const char* const kDenaro[] = {
    "txtRiscosso",
    "txtAcconto",
    "txtAccontoLocale",
    "txtAnticipoLocale",
    "txtAmmancoLocale",
    "txtAmmancoNoleggiatore",
    "tttAmmanchi",
    "txtFurtoLocale",
    "txtFurtoNoleggiatore",
    "tttFurti",
    "txtArrotondamenti",
    "txtRimanenza",
    "txtVersatoALocale",
    "txtVarPrestito",
    "LLLTotIntrodotto",
    "lllTotUscite",
    "lllTotPreu",
    "lllTotAAMS",
    "lllTotRete",
    "lllAcconto",
    "lllAccontoLocale",
    "lllRefillLocale",
    "lllRefillNoleggiatore",
    "lllVariazioneHopper",
    "lllUtileLocale",
    "lllUtileNoleggiatore",
    "lllTotDaDividere",
    "lllQuotaNolTeorica",
    "lllQuotaConcessionario",
    "lllTeorico",
    "lllDaRiscuotereTeorica",
    "lllDaRiscuotere",
    "lllVariazioni",
    "LllVarDebito",
};

// Labels outside the clearing prefixes, reset by hand on a new document.
// Amounts shown outside the money panel's value.
const char* const kAltriImporti[] = {"lllQuotaConcessionario", "lllTeorico", "LabPrestitoPre",
                                     "txSbilancio"};

const char* const kEtichette[] = {"LabInMenoOut", "LabDenaroAcasa", "LabTasse", "LabPrestitoPre",
                                  "txSbilancio"};

}  // namespace

FrmIncassi::FrmIncassi(Host& host, UiPort& ui, ProprietaIngresso& proprieta,
                       RecordOperatore operatore)
    : host_(host), ui_(ui), prop_(proprieta), operatore_(std::move(operatore)), pref_(host) {
    creaControlli();
}

FrmIncassi::~FrmIncassi() = default;

CasellaRicerca& FrmIncassi::casella(const QString& nome) {
    return finestra_.casella(nome);
}

void FrmIncassi::creaControlli() {
    auto ricerca = [&](const char* nome, const QString& query, const char* visualizza,
                       const char* campo, const char* vista) -> CasellaRicerca& {
        auto& c = finestra_.aggiungi<CasellaRicerca>(QLatin1String(nome), host_);
        c.setQuery(query);
        c.setVisualizza(QLatin1String(visualizza));
        c.setCamporicerca(QLatin1String(campo));
        c.nomevista = c.modulo = QLatin1String(vista);
        return c;
    };
    for (const DefinizioneControllo& d : kTestata) {
        const QString nome = QLatin1String(d.nome);
        Controllo* c = nullptr;
        if (nome.compare(u"txeCodLocale", Qt::CaseInsensitive) == 0) {
            c = &ricerca(d.nome, QueryLocali(operatore_, false), "Insegna,citta", "codLocale",
                         "AnagLocali");
        } else if (nome.compare(u"txeCodCausale", Qt::CaseInsensitive) == 0) {
            c = &ricerca(d.nome,
                         QStringLiteral("select * from AnagraficaCausali order by codicecausale"),
                         "codiceCausale,Descrizione", "codiceCausale", "AnagCausali");
        } else if (nome.compare(u"txeCodEsattore", Qt::CaseInsensitive) == 0) {
            auto& r = ricerca(
                d.nome,
                QStringLiteral("Select * from anagraficaoperatori where mansione='Esattore' "
                               "order by cognome"),
                "cognome,nome", "CodiceOperatore", "AnagTecnici");
            r.parametri = QStringLiteral("mansione");
            r.codice = QStringLiteral("esattore");
            c = &r;
        } else if (nome.startsWith(u"txeCod", Qt::CaseInsensitive)) {
            auto& r =
                ricerca(d.nome,
                        QStringLiteral("Select * from anagraficaoperatori where mansione='Agente' "
                                       "order by cognome"),
                        "cognome,nome", "CodiceOperatore", "AnagTecnici");
            r.parametri = QStringLiteral("mansione");
            r.codice = QStringLiteral("Agente");
            c = &r;
        } else {
            c = &finestra_.aggiungi(nome);
        }
        c->setTag(QLatin1String(d.tag));
    }
    for (const char* nome : kDenaro)
        finestra_.aggiungi(QLatin1String(nome));
    for (const char* nome : kEtichette)
        finestra_.aggiungi(QLatin1String(nome));
    finestra_.aggiungi(QStringLiteral("CmNota"));
    // The settlement commands beside the money panel.
    for (const char* nome : {"CmdAcconto", "CmdChiudiIncasso", "CmdRicalcola", "CmdNoDenaro",
                             "CmdRimanenza", "CmdAcconti"}) {
        finestra_.aggiungi(QLatin1String(nome));
    }
    // The filter panel: causal, venue and date; enabled while browsing.
    finestra_.aggiungi(QStringLiteral("CCausale"));
    ricerca("TxLocale", QueryLocali(operatore_, false), "Insegna,citta", "codLocale", "AnagLocali");
    finestra_.aggiungi(QStringLiteral("DataFiltro"));
    finestra_.aggiungi(QStringLiteral("DataFiltroFine"));
    // The filter panel starts hidden.
    MostraFiltro(false);
    finestra_.aggiungi(QStringLiteral("GrigliaIncassi"));
    finestra_.aggiungi(QStringLiteral("GrigliaNota"));

    finestra_[QStringLiteral("CmiGestioneDenaro")].aggiungiElemento(QStringLiteral("Noleggiatore"),
                                                                    QStringLiteral("Noleggiatore"));
    finestra_[QStringLiteral("CmiGestioneDenaro")].aggiungiElemento(QStringLiteral("Locale"),
                                                                    QStringLiteral("Locale"));
    casella(QStringLiteral("txeCodLocale")).onChange = [this](CasellaRicerca&) { SceltaLocale(); };
    casella(QStringLiteral("txeCodCausale")).onChange = [this](CasellaRicerca&) {
        SceltaCausale();
    };

    BarraStrumenti& b = finestra_.barra();
    b.aggiungi(QStringLiteral("Nuovo"), RuoloPulsante::Nuovo);
    b.aggiungi(QStringLiteral("Modifica"), RuoloPulsante::Modifica);
    b.aggiungi(QStringLiteral("Cerca"), RuoloPulsante::Ricerca);
    b.aggiungi(QStringLiteral("Filtro"), RuoloPulsante::Ricerca);
    b.aggiungi(QStringLiteral("Elimina"), RuoloPulsante::Elimina);
    b.aggiungi(QStringLiteral("Stampa"), RuoloPulsante::Stampa);
    b.aggiungi(QStringLiteral("RicerchePers"), RuoloPulsante::RicerchePers);
    b.aggiungi(QStringLiteral("Salva"), RuoloPulsante::Salva);
    b.aggiungi(QStringLiteral("Annulla"), RuoloPulsante::Annulla);
    b.aggiungi(QStringLiteral("CaricaApparecchi"), RuoloPulsante::SoloModifica);
    for (const char* k : {"Primo", "Precedente", "Successivo", "Ultimo"})
        b.aggiungi(QLatin1String(k));
}

void FrmIncassi::Apri() {
    try {
        // Global configuration.
        auto conf = host_.OpenRecordSet(QStringLiteral("select * from Zconfigurazioni"));
        hopperDaCassa_ = !conf->Eof() && Flag(conf->Value(QStringLiteral("HoppergestitoDaCassa")));
        // Today, the operator and the title.
        oggi_ = orologio();
        titolo_ = Titolo();
        // Both date filters start today.
        finestra_[QStringLiteral("DataFiltro")].setValue(oggi_);
        finestra_[QStringLiteral("DataFiltroFine")].setValue(oggi_);
        // The preferences.
        pref_.Leggi();
        // The document list.
        apriDocumenti();
        // The lookup lists, once.
        apriElenchi();
        // Keyboard help.
        aiutoTasti_ = QStringLiteral(
            "tasti di scelta rapida.\nINS = Nuovo record\nCtrl+INS = Modifica\nCANC = Elimina\nF12 "
            "= Salva\n"
            "F2 = elenco\nESC = Annulla modifiche");
        // The menu, completed by the host.
        menu_.menus.clear();
        menu_.menus.push_back(pref_.Menu());
        menu_.menus.push_back({QStringLiteral("MenuApparecchi"),
                               QStringLiteral("&Apparecchi"),
                               false,
                               false,
                               true,
                               {{QStringLiteral("MenuInsAppRitirati"),
                                 QStringLiteral("Inserisci apparecchi ritirati"),
                                 true,
                                 ritirati_,
                                 true,
                                 {}},
                                {QStringLiteral("MenuWizardSala"),
                                 QStringLiteral("Wizard incasso sala giochi..."),
                                 false,
                                 false,
                                 true,
                                 {}}}});
        host_.SetupMenu(menu_);
        ImpostaModalita(finestra_, host_, true);
        MostraTestata();
    } catch (const Errore& e) {
        ui_.Messaggio(QStringLiteral("Apertura della finestra: ") + e.testo(), titolo_,
                      Icona::Critico);
    }
}

void FrmIncassi::apriDocumenti() {
    const QString codice = prop_.Codice.trimmed();
    bool numero = false;
    const qlonglong id = codice.toLongLong(&numero);
    Archivio archivio(host_);
    if (numero && id > 0) {
        documenti_ = archivio.ElencoDi(id);
    } else if (!prop_.Parametri.trimmed().isEmpty()) {
        documenti_ = archivio.ElencoCon(prop_.Parametri, prop_.Codice);
        titolo_ = QStringLiteral("..:: ") + prop_.Parametri + QStringLiteral(" -> ") +
                  prop_.Codice + QStringLiteral(" ::..");
    } else {
        documenti_ = archivio.Elenco({}, operatore_.ristretto() ? operatore_.azienda() : QString());
    }
    // Positioned on the row of CampoRicerca = Risposta, whichever list is
    // open (a quick link starts the window so, with no Parametri).
    if (!(numero && id > 0) && !prop_.CampoRicerca.isEmpty() && !prop_.Risposta.isEmpty()) {
        const QString campo = host_.Campo(QStringLiteral("NoteTeste"), prop_.CampoRicerca);
        if (!documenti_->Find(campo + QStringLiteral("='") + sql::Raddoppia(prop_.Risposta) +
                              u'\'')) {
            documenti_->MoveFirst();
        }
    }
}

void FrmIncassi::apriElenchi() {
    ElenchiIncassi& e = elenchi_;
    e.categorieMinisteriali =
        host_.OpenRecordSet(QStringLiteral("select * from AnagCategoriaMinisteriale"));
    e.categorieApparecchi = host_.OpenRecordsetMenu(
        QStringLiteral("SELECT * FROM ANAGcategorieapparecchi order by ordine"));
    e.statiPrenotazione = host_.OpenRecordSet(
        QStringLiteral("select * from statoprenotazione order by statoprenotazione"));
    e.viste = host_.OpenRecordSetPreferenze(QStringLiteral("select * from viste"));
    e.pianoConti = host_.OpenRecordSet(QStringLiteral(
        "select CodiceConto,Descrizione from AnagraficaPianoConti order by codiceconto"));
    e.causali = host_.OpenRecordSet(QStringLiteral("select * from AnagraficaCausali"));
    e.bollettari = host_.OpenRecordSet(QStringLiteral("select * from tipobollettari"));
    e.gettoni = host_.OpenRecordSet(QStringLiteral("select * from IncassoGettoni"));
    e.tasse = host_.OpenRecordSet(QStringLiteral("select * from IncassoTasse"));
    e.tipologie = host_.OpenRecordSet(QStringLiteral("select * from incassoTipologia"));
    e.tasseAttive =
        host_.OpenRecordSet(QStringLiteral("select * from anagraficaTasse where attiva<>0"));
    e.defaultIncassi = host_.OpenRecordSet(QStringLiteral("select * from DefaultIncassi"));
    e.conti = host_.OpenRecordSet(QStringLiteral("Select * from TabAssociazioneConti"));
    // Read a page at a time: an operator may have thousands of venues.
    e.locali = host_.OpenRecordSetAsync(
        QueryLocali(operatore_, pref_.attiva(QStringLiteral("VisLocaliSospesi"))), 100);
    e.aziende =
        host_.OpenRecordSet(QStringLiteral("select * from anagraficaaziende order by ordine"));
    e.pers = host_.OpenRecordSet(QStringLiteral("select * from Zpers"));

    predefinita_ = LeggiRipartizionePredefinita(host_);
    conti_ = ContiAssociati::Da(*e.conti);
    aggiornaQueryLocali();
    RiempiListaChiavi(*e.tipologie, QStringLiteral("Descrizione"), QStringLiteral("Codice"),
                      finestra_[QStringLiteral("CmiTipologiaIncasso")]);
    RiempiListaChiavi(*e.tasse, QStringLiteral("Codice"), QStringLiteral("Codice"),
                      finestra_[QStringLiteral("CmiIncassoTasse")]);
    RiempiListaChiavi(*e.gettoni, QStringLiteral("Descrizione"), QStringLiteral("Codice"),
                      finestra_[QStringLiteral("CmiIncassoGettoni")]);
    RiempiListaChiavi(*e.aziende, QStringLiteral("CodiceAzienda"), QStringLiteral("CodiceAzienda"),
                      finestra_[QStringLiteral("CmbCodiceAzienda")]);
    RiempiListaChiavi(*e.causali, QStringLiteral("codiceCausale"), QStringLiteral("codiceCausale"),
                      finestra_[QStringLiteral("CCausale")]);
}

void FrmIncassi::aggiornaQueryLocali() {
    const QString q = QueryLocali(operatore_, pref_.attiva(QStringLiteral("VisLocaliSospesi")));
    casella(QStringLiteral("txeCodLocale")).setQuery(q);
    casella(QStringLiteral("TxLocale")).setQuery(q);
}

QDate FrmIncassi::dataRegistrazione() const {
    const Controllo* c = finestra_.trova(QStringLiteral("txtDataRegistrazione"));
    return c ? ParseData(c->text()).value_or(QDate()) : QDate();
}

std::optional<int> FrmIncassi::tipologiaScelta() const {
    const Controllo* c = finestra_.trova(QStringLiteral("CmiTipologiaIncasso"));
    if (!c || c->listIndex() < 0) return std::nullopt;
    const QVariant dato = c->elementi()[size_t(c->listIndex())].dato;
    const auto n = ParseNumero(Txt(dato));
    return n ? std::optional<int>(int(*n)) : std::nullopt;
}

void FrmIncassi::leggiLocale() {
    const QString codLocale = finestra_[QStringLiteral("txeCodLocale")].text().trimmed();
    locale_ =
        codLocale.isEmpty()
            ? host_.OpenRecordSet(QStringLiteral("select * from anagraficalocali where id=-1"))
            : host_.OpenRecordSet(
                  QStringLiteral("select * from anagraficalocali where codlocale='%1'")
                      .arg(sql::Raddoppia(codLocale)));
}

void FrmIncassi::ImpostaLocale(bool rileggi) {
    const QString causale = finestra_[QStringLiteral("txeCodCausale")].text().trimmed();
    const QString codLocale = finestra_[QStringLiteral("txeCodLocale")].text().trimmed();
    if (elenchi_.causali) {
        elenchi_.causali->SetFilter(
            QStringLiteral("Codicecausale='%1'").arg(sql::Raddoppia(causale)));
    }
    if (rileggi || !locale_) leggiLocale();
    if (!locale_->Eof()) {
        auto scegli = [&](const char* combo, const char* campo) {
            Controllo& c = finestra_[QLatin1String(combo)];
            const QVariant v = locale_->Value(QLatin1String(campo));
            if (c.editabile()) {
                c.setText(Txt(v));
            } else {
                c.selezionaPerValore(v);
            }
        };
        scegli("CmiGestioneDenaro", "GestioneDenaro");
        scegli("CmiIncassoGettoni", "IncassoGettoni");
        scegli("CmiIncassoTasse", "IncassoTasse");
        scegli("CmiTipologiaIncasso", "tipologiaincasso");
    }
    // The grid's tab follows the causal's kind of view; advances to the venue have their own.
    schedaGriglia_ = 0;
    if (CausaleDi(causale) == Causale::ACL) {
        schedaGriglia_ = -1;
    } else if (elenchi_.causali && !elenchi_.causali->Eof()) {
        schedaGriglia_ = int(Num(elenchi_.causali->Value(QStringLiteral("tipovideata"))));
    }
    auto caratteristiche = host_.OpenRecordSet(
        QStringLiteral("select * from anagraficalocalicaratteristiche where codlocale='%1'")
            .arg(sql::Raddoppia(codLocale)));
    if (!caratteristiche->Eof()) {
        finestra_[QStringLiteral("chkAttesaFatture")].setChecked(
            Flag(caratteristiche->Value(QStringLiteral("AttesaFatturaC7"))) ? 1 : 0);
    }
}

void FrmIncassi::MostraTestata() {
    const bool presente = documenti_ && !documenti_->Bof() && !documenti_->Eof();
    // The count of a long list is not asked for each move: once known it is
    // shown, until then the rows read so far.
    if (presente) {
        const QString totale =
            documenti_->CountKnown()
                ? QString::number(documenti_->RecordCount())
                : QString::number(documenti_->LoadedCount()) + QStringLiteral("+");
        stato_ = QStringLiteral("Record %1 di %2").arg(documenti_->AbsolutePosition()).arg(totale);
    } else {
        stato_ = QStringLiteral("Record 0 di 0");
    }
    const QString codLocale =
        presente ? Txt(documenti_->Value(QStringLiteral("CodLocale"))) : QString();
    versioneLetta_ = presente ? qlonglong(Num(documenti_->Value(QStringLiteral("Versione")))) : 0;
    // Nothing of the document shown before stays: every field starts clean,
    // then takes what this header holds.
    pulisci(false);
    if (presente) RigaAControlli(*documenti_, finestra_);
    // The rows of the document shown, or none.
    const qlonglong id = presente ? documenti_->Value(QStringLiteral("id")).toLongLong() : 0;
    Archivio archivio(host_);
    nota_ = archivio.RigheNota(id);
    incassi_ = archivio.RigheIncassi(id);
    finestra_[QStringLiteral("GrigliaNota")].setRecordset(nota_);
    finestra_[QStringLiteral("GrigliaIncassi")].setRecordset(incassi_);
    righeDelDocumento();
    coloraNota(codLocale);
    ImpostaLocale();
    // The panel as it was saved, every amount in one format; the venue's
    // history as of the document's day.
    if (presente) {
        mostraPannello(PannelloMemorizzato(Valori()));
        for (const char* nome : kAltriImporti)
            scriviImporto(nome, importo(nome));
    }
    const QDate data = dataRegistrazione();
    storicoLocale_ =
        presente && data.isValid() ? StoricoLocale(host_, codLocale, data) : Pannello{};
    storicoApparecchio_ = {};
    storicoDi_ = -1;
    // The machine history follows the grid's current row: its first one.
    if (presente && incassi_->RecordCount() > 0) {
        incassi_->MoveFirst();
        RigaCorrente();
    }
    nuovaModifica();
    aggiornaSbilancio();
}

void FrmIncassi::pulisci(bool mantieniCausale) {
    PulisciCampi(finestra_, mantieniCausale);
    // Every amount reads zero the one way amounts read.
    mostraPannello(ValoriPannello{});
    for (const char* nome : kAltriImporti)
        scriviImporto(nome, Dec());
}

void FrmIncassi::nuovaModifica() {
    mantieniRimanenza_ = false;
    rimanenzaUsata_ = false;
    // Like every command that changes money, only on a document being edited.
    finestra_[QStringLiteral("CmdRimanenza")].setEnabled(modifica_);
    conguaglio_ = Dec();
    campoDigitato_.clear();
    impronte_.clear();
}

void FrmIncassi::ContaDocumenti() {
    if (!documenti_ || documenti_->Bof() || documenti_->Eof()) return;
    stato_ = QStringLiteral("Record %1 di %2")
                 .arg(documenti_->AbsolutePosition())
                 .arg(documenti_->RecordCount());
}

void FrmIncassi::coloraNota(const QString& codLocale) {
    Controllo& nota = finestra_[QStringLiteral("CmNota")];
    if (!nota.visible()) return;
    auto note = host_.OpenRecordSet(QStringLiteral("select * from notalocale where codlocale='%1'")
                                        .arg(sql::Raddoppia(codLocale)));
    nota.setBackColor(note->Eof() ? colori::Pulsante : colori::Verde);
}

void FrmIncassi::Nuovo() {
    if (!consentito(host_.UserInserimento(), QStringLiteral("inserire documenti"))) return;
    nuovo_ = modifica_ = true;
    finestra_[QStringLiteral("CmNota")].setBackColor(colori::Pulsante);
    ImpostaModalita(finestra_, host_, false);
    pulisci(pref_.attiva(QStringLiteral("ManCausale")));
    finestra_[QStringLiteral("EtiId")].setCaption(QStringLiteral("0"));
    const QDate data =
        pref_.attiva(QStringLiteral("ManData")) && ultimaData_.isValid() ? ultimaData_ : oggi_;
    finestra_[QStringLiteral("txtDataRegistrazione")].setValue(data);
    Archivio archivio(host_);
    nota_ = archivio.RigheNota(0);
    incassi_ = archivio.RigheIncassi(0);
    finestra_[QStringLiteral("GrigliaNota")].setRecordset(nota_);
    finestra_[QStringLiteral("GrigliaIncassi")].setRecordset(incassi_);
    if (operatore_.ristretto()) {
        finestra_[QStringLiteral("CmbCodiceAzienda")].selezionaPerValore(operatore_.azienda());
    }
    storicoLocale_ = {};
    storicoApparecchio_ = {};
    storicoDi_ = -1;
    nuovaModifica();
    annotaPartenza();
    // The list's position means nothing until the document is saved.
    stato_ = QStringLiteral("Nuovo documento");
    focus_ = QStringLiteral("txtDataRegistrazione");
}

void FrmIncassi::ClicMenu(const QString& chiave) {
    try {
        if (chiave.compare(u"MenuPercorsoScan", Qt::CaseInsensitive) == 0) {
            const QString file =
                ui_.ApriFile(QStringLiteral("Cartella dello scanner"), QString(), QString());
            if (file.isEmpty()) return;
            const QString cartella = CartellaScanner(file);
            host_.salvasettaggio(QStringLiteral("Scanner"), QStringLiteral("Percorso"), cartella);
            ui_.Messaggio(cartella + u'\n' + QStringLiteral("Percorso impostato correttamente"),
                          QString(), Icona::Informazione);
        } else if (chiave.compare(u"MenuVersione", Qt::CaseInsensitive) == 0) {
            ui_.Messaggio(QStringLiteral("Gestione Incassi Versione %1.%2%3")
                              .arg(INCASSI_VERSION_MAJOR)
                              .arg(INCASSI_VERSION_MINOR)
                              .arg(INCASSI_VERSION_PATCH),
                          QString(), Icona::Informazione);
        } else if (chiave.compare(u"MenuInsAppRitirati", Qt::CaseInsensitive) == 0) {
            ritirati_ = !ritirati_;
        } else if (chiave.compare(u"MenuWizardSala", Qt::CaseInsensitive) == 0) {
            ApriWizardSala();
        } else if (pref_.Clic(chiave)) {
            if (chiave.compare(u"MenuLocaliSospesi", Qt::CaseInsensitive) == 0)
                aggiornaQueryLocali();
        }
    } catch (const Errore& e) {
        ui_.Messaggio(chiave + u' ' + e.testo(), titolo_, Icona::Critico);
    }
}

const MenuBar& FrmIncassi::menu() const {
    for (MenuItem& m : menu_.menus) {
        for (MenuItem& v : m.children) {
            if (!v.checkable) continue;
            v.checked = v.key.compare(u"MenuInsAppRitirati", Qt::CaseInsensitive) == 0
                            ? ritirati_
                            : pref_.attiva(v.key);
        }
    }
    return menu_;
}

bool FrmIncassi::Chiudi() {
    if (modifica_) {
        const Risposta r = ui_.Messaggio(
            QStringLiteral("Attenzione! Modifica in corso non salvata. Annullo la modifica?"),
            QStringLiteral("Modifica in corso"), Icona::Esclamazione, Pulsanti::SiNo, Risposta::No);
        if (r != Risposta::Si) return false;
        if (incassi_) incassi_->CancelBatch();
        if (nota_) nota_->CancelBatch();
        try {
            ripristinaIsole();
        } catch (const Errore& e) {
            ui_.Messaggio(e.testo(), titolo_, Icona::Critico);
        }
        nuovo_ = modifica_ = false;
    }
    prop_.CampoRicerca.clear();
    return true;
}

bool FrmIncassi::Timer() {
    if (!host_.ChiudiFinestre()) return false;
    prop_.CampoRicerca.clear();
    return true;
}

}  // namespace incassi
