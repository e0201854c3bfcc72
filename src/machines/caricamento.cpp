#include "machines/caricamento.h"

#include "bookkeeping/archivio.h"
#include "host/host.h"
#include "machines/dispatch.h"
#include "values/causali.h"
#include "values/sqlquote.h"
#include "values/values.h"
#include "window/uiport.h"

namespace incassi {

namespace {

const QString kSelezione = QStringLiteral(
    "SELECT MagSchede.id,MagProdottoFinito.Descrizione, MagSchede.NomeGioco, "
    "MagSchede.CodiceInterno, "
    "MagSchede.CodiceAAMS, MagSchede.Nullaosta, MagSchede.CodiceABarre, "
    "MagAnagArticoli.CatApparecchio, "
    "MagProdottoFinito.id as IdApparecchio,MagProdottoFinito.OrdineIncasso, "
    "MagProdottoFinito.CodLocale, "
    "MagProdottoDistinta.TipoArticolo, MagAnagArticoli.TipoArticolo, "
    "MagProdottoFinito.CodMagazzino, "
    "MagSchede.Obsoleto, MagSchede.Venduto, "
    "MagSchede.Dismesso,MagProdottoFinito.codarticolo,MagSchede.TipologiaIncasso,MagSchede."
    "CodConcessionario,MagSchede.Contratto ");

const QString kOrigine = QStringLiteral(
    " FROM ((MagProdottoDistinta INNER JOIN MagSchede ON MagProdottoDistinta.linkScheda = "
    "MagSchede.id) INNER JOIN MagProdottoFinito ON MagProdottoDistinta.IdProdottoFinito = "
    "MagProdottoFinito.id) INNER JOIN MagAnagArticoli ON MagProdottoFinito.CodArticolo = "
    "MagAnagArticoli.CodArticolo ");

// Stands the record set on the row whose `campo` is `id`; false when none.
bool Trova(RecordSet& rs, const char* campo, qlonglong id) {
    rs.MoveFirst();
    return rs.Find(QStringLiteral("%1=%2").arg(QLatin1String(campo)).arg(id));
}

}  // namespace

CaricamentoApparecchi::CaricamentoApparecchi(Host& host, UiPort& ui,
                                             const ContestoCaricamento& contesto,
                                             RecordSet& griglia)
    : host_(host), ui_(ui), ctx_(contesto), griglia_(griglia) {}

QString CaricamentoApparecchi::QueryCandidati() const {
    const ContestoCalcolo& c = ctx_.calcolo;
    QString filtro;
    if (c.causaleE(Causale::INC6)) {
        filtro = ctx_.visCambiamonete && !ctx_.ritirati
                     ? QStringLiteral(
                           " and (MagSchede.TipologiaIncasso=6 or MagSchede.TipologiaIncasso=2)")
                     : QStringLiteral(" and MagSchede.TipologiaIncasso=6");
    } else if (c.causaleE(Causale::REF)) {
        if (ctx_.visRefill) {
            filtro = QStringLiteral(" and MagSchede.TipologiaIncasso<>2");
        } else if (ctx_.visCambiamonete) {
            filtro = QStringLiteral(
                " and (MagSchede.TipologiaIncasso=6 or MagSchede.TipologiaIncasso=2)");
        } else {
            filtro = QStringLiteral(" and MagSchede.TipologiaIncasso=6");
        }
    } else if (c.causaleE(Causale::INC)) {
        filtro =
            QStringLiteral(" and MagSchede.TipologiaIncasso<>6 and MagSchede.TipologiaIncasso<>2");
    } else if (c.causaleE(Causale::CAM)) {
        filtro = QStringLiteral(" and MagSchede.TipologiaIncasso=2");
    } else if (c.causaleE(Causale::CH) || c.causaleE(Causale::RH)) {
        filtro = QStringLiteral(" and MagSchede.TipologiaIncasso=6");
    }
    QString sql = kSelezione + kOrigine +
                  QStringLiteral(
                      " WHERE (((MagProdottoDistinta.TipoArticolo)=1) AND "
                      "((MagAnagArticoli.TipoArticolo)=4))") +
                  filtro;
    if (ctx_.ritirati) {
        // Machines withdrawn from this venue in the 30 days before the date.
        sql += QStringLiteral(
                   " and magprodottofinito.id in( SELECT MagMovRighe.CodProdottoFinito  FROM "
                   "MagMovRighe INNER JOIN MagMovTeste ON MagMovRighe.idTesta = MagMovTeste.id  "
                   "WHERE (((MagMovRighe.CodCausale)='Rnole') AND ((MagMovTeste.DataMovimento)>") +
               sql::Data(c.dataRegistrazione.addDays(-30)) +
               QStringLiteral(") AND ((MagMovTeste.CodiceLocale)='") + sql::Raddoppia(c.codLocale) +
               QStringLiteral("')) )");
    } else {
        sql += QStringLiteral(" and MagProdottoFinito.CodLocale='") + sql::Raddoppia(c.codLocale) +
               u'\'';
    }
    return sql + QStringLiteral(" order by MagProdottoFinito.OrdineIncasso;");
}

EsitoCaricamento CaricamentoApparecchi::Esegui() {
    const ContestoCalcolo& c = ctx_.calcolo;
    if (c.codLocale.trimmed().isEmpty()) {
        ui_.Messaggio(QStringLiteral("Selezionare un locale!"), QString(), Icona::Esclamazione);
        return EsitoCaricamento::LocaleMancante;
    }
    if (c.causale.trimmed().isEmpty()) {
        ui_.Messaggio(QStringLiteral("Selezionare una Causale!"), QString(), Icona::Esclamazione);
        return EsitoCaricamento::CausaleMancante;
    }
    auto candidati = host_.OpenRecordSet(QueryCandidati());
    const QString scelta =
        ctx_.scelta ? *ctx_.scelta
                    : ui_.ElencoScelta(candidati, QStringLiteral("Apparecchi nel locale"),
                                       QStringLiteral("ArtLocali"), QStringLiteral("id"), true);
    // The items before the last separator: an answer without "|" chose nothing.
    QStringList ids = scelta.split(u'|');
    ids.removeLast();
    if (ids.isEmpty()) return EsitoCaricamento::NessunaScelta;
    QList<qlonglong> scelti;
    for (const QString& testo : ids) {
        bool ok = false;
        const qlonglong id = testo.trimmed().toLongLong(&ok);
        if (ok) scelti << id;
    }
    leggiInsieme(scelti);
    for (const qlonglong id : scelti) {
        candidati->MoveFirst();
        if (!candidati->Find(QStringLiteral("id=%1").arg(id))) continue;
        if (!aggiungi(*candidati, id)) return EsitoCaricamento::Interrotto;
    }
    return EsitoCaricamento::Caricato;
}

EsitoCaricamento CaricamentoApparecchi::Ricarica(qlonglong id) {
    auto candidati = host_.OpenRecordSet(QueryCandidati());
    if (!candidati->Find(QStringLiteral("id=%1").arg(id))) {
        ui_.Messaggio(QStringLiteral("L'apparecchio %1 non è più tra quelli del locale: non è "
                                     "stato ricaricato.")
                          .arg(id),
                      QString(), Icona::Esclamazione);
        return EsitoCaricamento::Interrotto;
    }
    leggiInsieme({id});
    return aggiungi(*candidati, id) ? EsitoCaricamento::Caricato : EsitoCaricamento::Interrotto;
}

bool CaricamentoApparecchi::aggiungi(RecordSet& cand, qlonglong id) {
    const ContestoCalcolo& c = ctx_.calcolo;
    const int tipologia = int(Num(cand.Value(QStringLiteral("TipologiaIncasso"))));
    if (c.causaleE(Causale::INC6) && tipologia == 2) {
        ui_.Messaggio(QStringLiteral("Per le cambiamonete inserire la causale di incasso CAM"),
                      QString(), Icona::Informazione);
        return false;
    }
    // A machine already in the grid stops the load.
    for (griglia_.MoveFirst(); !griglia_.Eof(); griglia_.MoveNext()) {
        if (Num(griglia_.Value(QStringLiteral("linkscheda"))) == double(id)) {
            ui_.Messaggio(QStringLiteral("Apparecchio Già Inserito"), QString(),
                          Icona::Informazione);
            return false;
        }
    }
    if (!Trova(*schede_, "id", id)) return true;
    RecordSet* const scheda = schede_.get();
    const QDate ultimo = scheda->Value(QStringLiteral("ultimoIncasso")).toDate();
    if (ultimo.isValid() && ultimo > c.dataRegistrazione) {
        const QStringList righe = {
            QStringLiteral("Attenzione!! La data del contatore sulla scheda è più recente della "
                           "data di incasso!"),
            QStringLiteral("Data Scheda : ") + TestoData(ultimo) +
                QStringLiteral("      Data Incasso ") + TestoData(c.dataRegistrazione),
            QStringLiteral("Globale in     : ") + Txt(scheda->Value(QStringLiteral("cntotin"))) +
                QStringLiteral("      "),
            QStringLiteral("Globale Out : ") + Txt(scheda->Value(QStringLiteral("cntotout"))) +
                QStringLiteral("      "),
            QStringLiteral(
                "Per correggere la situazione prima di effettuare la registrazione allineare i "
                "contatori sulla scheda dell'apparecchio"),
            QStringLiteral("Proseguo ugualmente con la registrazione?"),
        };
        if (ui_.Messaggio(righe.join(u'\n'), QStringLiteral("Problema"), Icona::Critico,
                          Pulsanti::SiNo, Risposta::No) != Risposta::Si) {
            return false;
        }
    }

    RecordSet& r = griglia_;
    r.AddNew();
    r.SetValue(QStringLiteral("MoltiplicatoreIn"),
               scheda->Value(QStringLiteral("MoltiplicatoreIn")));
    r.SetValue(QStringLiteral("Moltiplicatoreout"),
               scheda->Value(QStringLiteral("Moltiplicatoreout")));
    r.SetValue(QStringLiteral("codiceAzienda"), scheda->Value(QStringLiteral("CodiceAzienda")));
    for (int n = 1; n <= 3; ++n) {
        r.SetValue(QStringLiteral("TipoH%1").arg(n),
                   Num(scheda->Value(QStringLiteral("Tipoh%1").arg(n))));
    }
    const QString categoria = Txt(cand.Value(QStringLiteral("CatApparecchio")));
    const Ripartizione rip = regole_->Scegli(id, categoria);
    r.SetValue(QStringLiteral("TipoCalcolo"), rip.tipoCalcolo);
    r.SetValue(QStringLiteral("PercLocale"), rip.percLocale);
    r.SetValue(QStringLiteral("PercNoleggiatore"), rip.percNoleggiatore);
    r.SetValue(QStringLiteral("linkscheda"), id);
    r.SetValue(QStringLiteral("LinkApparecchio"), cand.Value(QStringLiteral("IdApparecchio")));
    r.SetValue(QStringLiteral("CodArticolo"), cand.Value(QStringLiteral("codarticolo")));
    r.SetValue(QStringLiteral("TipoIncasso"),
               Txt(scheda->Value(QStringLiteral("TipologiaIncasso"))));
    r.SetValue(QStringLiteral("catapparecchio"), categoria);
    r.SetValue(QStringLiteral("Descrizione"),
               Txt(scheda->Value(QStringLiteral("NomeGioco"))) + QStringLiteral(" - ") +
                   Txt(scheda->Value(QStringLiteral("CodiceInterno"))) + QStringLiteral(" - ") +
                   Txt(scheda->Value(QStringLiteral("CodiceAAMS"))) + QStringLiteral(" - ") +
                   Txt(cand.Value(QStringLiteral("Descrizione"))));

    std::optional<QVariant> lasciato;
    if (c.causaleE(Causale::CAM)) {
        // The money left in the change machine at its last cash-box reading.
        lasciato = Archivio(host_).CassettoLasciato(id, c.dataRegistrazione);
    } else {
        const Archivio::Aperti aperti = aperti_.value(id);
        r.SetValue(QStringLiteral("acconti"), Num(aperti.acconti));
        r.SetValue(QStringLiteral("RefillGestore"), Num(aperti.refillGestore));
        r.SetValue(QStringLiteral("RefillLocale"), Num(aperti.refillLocale));
    }
    letturaPrecedente(*scheda, id);
    if (lasciato) {
        // The previous reading brings the levels from before that operation:
        // the money the last one counted is what the machine holds now.
        r.SetValue(QStringLiteral("LivelloH3"), *lasciato);
        r.SetValue(QStringLiteral("HopperOLD3"), *lasciato);
    }

    const auto importata = letture_.constFind(id);
    if (importata != letture_.constEnd()) {
        r.SetValue(QStringLiteral("ContatoreIN"), importata->first);
        r.SetValue(QStringLiteral("ContatoreOUT"), importata->second);
    }

    if (!tasse_) tasse_ = TassaAttiva(host_);
    const AliquoteTasse& tasse = *tasse_;
    r.SetValue(QStringLiteral("PercPreu"), tasse.preu);
    r.SetValue(QStringLiteral("PercAAMS"), tasse.aams);
    const QString concessionario = Txt(cand.Value(QStringLiteral("CodConcessionario")));
    const QString contratto = Txt(cand.Value(QStringLiteral("Contratto")));
    r.SetValue(QStringLiteral("CodConcessionario"), concessionario);
    r.SetValue(QStringLiteral("Contratto"), contratto);
    const ParametriRete rete = regole_->Rete(concessionario, contratto);
    r.SetValue(QStringLiteral("TipoRete"), rete.tipoRete);
    r.SetValue(QStringLiteral("PercRete"), rete.percRete);

    if (c.causaleE(Causale::CH) || c.causaleE(Causale::RH)) {
        // The coins that the money recorded on the card makes in each hopper.
        for (int n = 1; n <= 3; ++n) {
            const Dec soldi = Dec::DaCella(scheda->Value(QStringLiteral("ChHopper%1").arg(n)));
            const Dec moneta = Dec::DaCella(scheda->Value(QStringLiteral("Tipoh%1").arg(n)));
            const Dec monete = moneta.zero() ? soldi : (soldi / moneta).arrotonda(2);
            r.SetValue(QStringLiteral("HopperOLD%1").arg(n), monete.toDouble());
            r.SetValue(QStringLiteral("LivelloH%1").arg(n),
                       c.causaleE(Causale::CH) ? monete.toDouble() : 0.0);
        }
    }
    if (c.terzoGestore) {
        if (auto perc = regole_->TerzoGestore(concessionario, contratto)) {
            r.SetValue(QStringLiteral("PercNoleggiatore"), *perc);
        }
    }
    CalcoloRiga(host_, ui_, calcolo_, r).calcolaAlCaricamento();
    ++aggiunte_;
    return true;
}

void CaricamentoApparecchi::daRiga(RecordSet& riga) {
    RecordSet& r = griglia_;
    r.SetValue(QStringLiteral("VecchioContatoreIN"), riga.Value(QStringLiteral("ContatoreIN")));
    r.SetValue(QStringLiteral("VecchioContatoreOut"), riga.Value(QStringLiteral("ContatoreOUT")));
    for (int n = 1; n <= 3; ++n) {
        const QVariant livello = riga.Value(QStringLiteral("LivelloH%1").arg(n));
        r.SetValue(QStringLiteral("LivelloH%1").arg(n), livello);
        r.SetValue(QStringLiteral("HopperOLD%1").arg(n), livello);
    }
    r.SetValue(QStringLiteral("DataVecchioContatore"), riga.Value(QStringLiteral("DataIncasso")));
}

void CaricamentoApparecchi::daScheda(RecordSet& scheda, bool livelliDaScheda) {
    RecordSet& r = griglia_;
    r.SetValue(QStringLiteral("VecchioContatoreIN"), scheda.Value(QStringLiteral("cntotin")));
    r.SetValue(QStringLiteral("VecchioContatoreOut"), scheda.Value(QStringLiteral("cntotout")));
    if (livelliDaScheda) {
        // Hopper levels from the money the card holds and the coin values.
        for (int n = 1; n <= 3; ++n) {
            const Dec soldi = Dec::DaCella(scheda.Value(QStringLiteral("attualeh%1").arg(n)));
            const Dec moneta = Dec::DaCella(scheda.Value(QStringLiteral("Tipoh%1").arg(n)));
            const double livello = moneta.zero() ? 0.0 : (soldi / moneta).arrotonda(2).toDouble();
            r.SetValue(QStringLiteral("LivelloH%1").arg(n), livello);
            r.SetValue(QStringLiteral("HopperOLD%1").arg(n), livello);
        }
    }
    QDate ultimo = scheda.Value(QStringLiteral("ultimoIncasso")).toDate();
    if (!ultimo.isValid()) {
        ui_.Messaggio(
            QStringLiteral(
                "Attenzione!! il tipo di incasso impostato sull'apparecchio richiede una data di "
                "incasso "
                "impostata sulla scheda.\nLa data odierna viene presa come valore base per "
                "l'incasso con "
                "i contatori impostati a zero.\nSe si vuole impostare il valore corretto, andare "
                "nell'anagrafica scheda nella sezione contatori e aggiornare i valori presenti."),
            QString(), Icona::Esclamazione);
        ultimo = ctx_.oggi;
    }
    r.SetValue(QStringLiteral("DataVecchioContatore"), ultimo);
}

Archivio::Lettura CaricamentoApparecchi::letturaCercata() const {
    if (ctx_.ritirati) return Archivio::Lettura::UltimoIncasso;
    if (ctx_.calcolo.causaleE(Causale::INC6)) return Archivio::Lettura::ConContatori;
    return Archivio::Lettura::Qualsiasi;
}

void CaricamentoApparecchi::letturaPrecedente(RecordSet& scheda, qlonglong id) {
    const ContestoCalcolo& c = ctx_.calcolo;
    RecordSet* riga = Trova(*precedenti_, "linkscheda", id) ? precedenti_.get() : nullptr;
    bool livelliDaScheda = false;
    if (!ctx_.ritirati && c.causaleE(Causale::INC6)) {
        // The card may hold a later reading than the last collection: the later wins.
        const QDate ultimo = scheda.Value(QStringLiteral("ultimoIncasso")).toDate();
        if (riga && ultimo.isValid() &&
            ultimo > riga->Value(QStringLiteral("DataIncasso")).toDate()) {
            riga = nullptr;
        }
        livelliDaScheda = !riga;
    }
    if (riga) {
        daRiga(*riga);
    } else {
        daScheda(scheda, livelliDaScheda);
    }
    const QDate prima = griglia_.Value(QStringLiteral("DataVecchioContatore")).toDate();
    if (prima.isValid()) {
        griglia_.SetValue(QStringLiteral("NumGiorniIncasso"), prima.daysTo(c.dataRegistrazione));
    }
}

void CaricamentoApparecchi::leggiInsieme(const QList<qlonglong>& schede) {
    const ContestoCalcolo& c = ctx_.calcolo;
    const QString in = sql::Interi(schede);
    schede_ =
        host_.OpenRecordSet(QStringLiteral("select * from magschede where id in (%1)").arg(in));
    Archivio archivio(host_);
    precedenti_ =
        archivio.LetturePrecedenti(schede, c.dataRegistrazione, c.codLocale, letturaCercata());
    aperti_.clear();
    if (!c.causaleE(Causale::CAM))
        aperti_ = archivio.ApertiDelleMacchine(schede, c.dataRegistrazione);
    letture_.clear();
    if (c.causaleE(Causale::INC6) && !ctx_.visContatori) {
        // The readings imported for this date, matched by the card's AAMS code;
        // the first row of a machine counts.
        auto letture = host_.OpenRecordSet(
            QStringLiteral("select magschede.id as idScheda, contatori.cntotin, "
                           "contatori.cntotout from contatori inner join magschede on "
                           "contatori.codiceAAMS = magschede.CodiceAAMS where magschede.id in "
                           "(%1) and contatori.datacontatore=%2")
                .arg(in, sql::Data(c.dataRegistrazione)));
        for (; !letture->Eof(); letture->MoveNext()) {
            const qlonglong id = qlonglong(Num(letture->Value(QStringLiteral("idScheda"))));
            if (!letture_.contains(id)) {
                letture_.insert(id, {letture->Value(QStringLiteral("cntotin")),
                                     letture->Value(QStringLiteral("cntotout"))});
            }
        }
    }
    regole_.emplace(host_, c.codLocale, ctx_.predefinita);
    regole_->LeggiMacchine(schede);
    // The network fee already charged this month, read for all the machines
    // the first time a machine with a monthly fee asks.
    calcolo_ = c;
    reteDelMese_.reset();
    calcolo_.reteGiaAddebitata = [this, schede](qlonglong scheda, const QDate& dal) {
        if (!reteDelMese_) {
            reteDelMese_ = Archivio(host_).ReteAddebitataMacchine(
                schede, ctx_.calcolo.codLocale, dal, ctx_.calcolo.dataRegistrazione,
                ctx_.calcolo.idDocumento);
        }
        return reteDelMese_->value(scheda);
    };
}

void CaricamentoApparecchi::AggiornaRete() {
    const QVariant scheda = griglia_.Value(QStringLiteral("linkScheda"));
    if (IsNullOrEmpty(scheda)) return;
    auto rs = host_.OpenRecordSet(
        kSelezione + kOrigine + QStringLiteral("WHERE ((MagSchede.id=") + sql::Intero(scheda) +
        QStringLiteral(
            ") AND ((MagProdottoDistinta.TipoArticolo)=1) AND "
            "((MagAnagArticoli.TipoArticolo)=4))and "
            "(MagSchede.TipologiaIncasso=6 ) order by MagProdottoFinito.OrdineIncasso;"));
    if (rs->Eof()) return;
    const ParametriRete rete = CercaRete(host_, ctx_.calcolo.codLocale,
                                         Txt(rs->Value(QStringLiteral("CodConcessionario"))),
                                         Txt(rs->Value(QStringLiteral("Contratto"))));
    griglia_.SetValue(QStringLiteral("TipoRete"), rete.tipoRete);
    griglia_.SetValue(QStringLiteral("PercRete"), rete.percRete);
    CalcoloRiga calcolo(host_, ui_, ctx_.calcolo, griglia_);
    DopoModificaCella(calcolo, griglia_, ctx_.calcolo, QStringLiteral("ParzialeIn"), {});
}

}  // namespace incassi
