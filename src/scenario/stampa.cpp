#include "scenario/stampa.h"

#include <QDateTime>
#include <QJsonArray>

#include "host/host.h"
#include "scenario/uiscenario.h"
#include "values/error.h"
#include "values/values.h"

namespace incassi::scenario {

namespace {

// The requested columns as the record set spells them; every column when
// none is requested.
QStringList Colonne(const RecordSet& rs, const QStringList& richieste, const QString& dove) {
    QStringList out;
    if (richieste.isEmpty()) {
        for (int i = 0; i < rs.FieldCount(); ++i)
            out << rs.Field(i).name;
        return out;
    }
    for (const QString& c : richieste) {
        if (!rs.HasField(c))
            throw Errore(QStringLiteral("Colonna sconosciuta in %1: %2").arg(dove, c));
        out << c;
    }
    return out;
}

// Every row from the first, each an object of the chosen columns. The
// cursor is put back where it was.
QJsonArray Righe(RecordSet& rs, const QStringList& richieste, const QString& dove) {
    const QStringList colonne = Colonne(rs, richieste, dove);
    const bool vuoto = rs.Bof() || rs.Eof();
    const int posizione = vuoto ? 0 : rs.AbsolutePosition();
    QJsonArray out;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        QJsonObject riga;
        for (const QString& c : colonne)
            riga.insert(c, ValoreJson(rs.Value(c)));
        out.append(riga);
    }
    if (posizione > 0) rs.SetAbsolutePosition(posizione);
    return out;
}

QString TestoColore(Colore c) {
    return QStringLiteral("0x") + QStringLiteral("%1").arg(c, 8, 16, QLatin1Char('0')).toUpper();
}

QJsonValue Controllo_(AdattatoreFinestra& f, const StampaControllo& sc) {
    Controllo* c = f.finestra().trova(sc.nome);
    if (!c) {
        throw Errore(
            QStringLiteral("Controllo sconosciuto nella finestra %1: %2").arg(f.nome(), sc.nome));
    }
    if (c->tipo() == TipoControllo::Griglia) {
        throw Errore(QStringLiteral("%1 è una griglia: stamparla fra le griglie").arg(c->nome()));
    }
    if (!sc.dettagli) return ValoreControllo(*c);
    return QJsonObject{{QStringLiteral("valore"), ValoreControllo(*c)},
                       {QStringLiteral("abilitato"), c->enabled()},
                       {QStringLiteral("visibile"), c->visible()},
                       {QStringLiteral("colore"), TestoColore(c->backColor())},
                       {QStringLiteral("tag"), c->tag()}};
}

QJsonArray Messaggi(const ScriptedUi& ui) {
    QJsonArray out;
    for (const MessaggioRegistrato& m : ui.messaggi()) {
        out.append(QJsonObject{{QStringLiteral("testo"), m.testo},
                               {QStringLiteral("titolo"), m.titolo},
                               {QStringLiteral("icona"), TestoIcona(m.icona)},
                               {QStringLiteral("pulsanti"), TestoPulsanti(m.pulsanti)},
                               {QStringLiteral("risposta"), TestoRisposta(m.risposta)}});
    }
    return out;
}

QJsonObject Scelte(const UiScenario& ui) {
    QJsonArray elenchi;
    for (const SceltaRegistrata& e : ui.copione().elenchi()) {
        elenchi.append(QJsonObject{{QStringLiteral("titolo"), e.titolo},
                                   {QStringLiteral("elenco"), e.chiaveElenco},
                                   {QStringLiteral("campo"), e.campoChiave},
                                   {QStringLiteral("multipla"), e.sceltaMultipla},
                                   {QStringLiteral("righe"), e.righe},
                                   {QStringLiteral("risposta"), e.risposta}});
    }
    QJsonArray ricerche;
    for (const auto& [r, risposta] : ui.ricerche()) {
        ricerche.append(QJsonObject{{QStringLiteral("titolo"), r.Caption},
                                    {QStringLiteral("modulo"), r.Modulo},
                                    {QStringLiteral("campo"), r.CampoRicerca},
                                    {QStringLiteral("risposta"), risposta}});
    }
    return {{QStringLiteral("elenchi"), elenchi},
            {QStringLiteral("ricerche"), ricerche},
            {QStringLiteral("file"), QJsonArray::fromStringList(ui.copione().dialoghiFile())}};
}

// A text that reads as a number: a plain Italian number, or an amount as the
// amount fields show it, its currency prefix followed by a blank ("€. 1.234,56",
// "L. 1.000"). A code that begins like a prefix ("L007", "E.12") stays a text.
std::optional<double> NumeroStampabile(const QString& testo) {
    const QString t = testo.trimmed();
    if (t.isEmpty()) return std::nullopt;
    const QChar c = t[0];
    if (c.isDigit() || c == u'-' || c == u'+' || c == u',') return ParseNumero(t);
    for (const QString& prefisso : {QStringLiteral("€"), QStringLiteral("€."), QStringLiteral("E."),
                                    QStringLiteral("L."), QStringLiteral("L")}) {
        if (t.startsWith(prefisso + u' ')) return ParseNumero(t);
    }
    return std::nullopt;
}

}  // namespace

QJsonValue ValoreJson(const QVariant& v) {
    if (IsNull(v)) return QJsonValue::Null;
    switch (v.typeId()) {
        case QMetaType::QDate:
            return v.toDate().toString(Qt::ISODate);
        case QMetaType::QDateTime:
            return v.toDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
        case QMetaType::Bool:
            return v.toBool();
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            return v.toLongLong();
        case QMetaType::Double:
        case QMetaType::Float:
            return Round(v.toDouble(), 2);
        default:
            return v.toString();
    }
}

QJsonValue ValoreControllo(const Controllo& c) {
    QString testo;
    switch (c.tipo()) {
        case TipoControllo::Check:
            return c.checked();
        case TipoControllo::Ricerca:
        case TipoControllo::Combo:
        case TipoControllo::ComboEditabile:
            return c.text();
        case TipoControllo::Etichetta:
            testo = c.caption();
            break;
        case TipoControllo::Testo:
            testo = c.text();
            break;
        default:
            // Labels outside the caption prefixes keep their figure in the
            // text; buttons show their caption.
            testo = c.text().isEmpty() ? c.caption() : c.text();
    }
    if (const auto n = NumeroStampabile(testo)) return Round(*n, 2);
    return testo;
}

void ControllaStampa(const Stampa& stampa, AdattatoreFinestra& f, Host& host) {
    for (const StampaControllo& sc : stampa.controlli) {
        Controllo* c = f.finestra().trova(sc.nome);
        if (!c) {
            throw Errore(QStringLiteral("Controllo sconosciuto nella finestra %1: %2")
                             .arg(f.nome(), sc.nome));
        }
        if (c->tipo() == TipoControllo::Griglia) {
            throw Errore(
                QStringLiteral("%1 è una griglia: stamparla fra le griglie").arg(c->nome()));
        }
    }
    for (const StampaGriglia& g : stampa.griglie) {
        RecordSetPtr rs = f.righe(g.griglia);
        if (!f.griglie().contains(g.griglia, Qt::CaseInsensitive)) {
            throw Errore(QStringLiteral("Griglia sconosciuta nella finestra %1: %2")
                             .arg(f.nome(), g.griglia));
        }
        if (rs) Colonne(*rs, g.colonne, QStringLiteral("griglia ") + g.griglia);
    }
    for (const StampaTabella& t : stampa.tabelle) {
        RecordSetPtr rs = host.OpenRecordSet(t.sql);
        Colonne(*rs, t.colonne, QStringLiteral("tabella ") + t.nome);
    }
}

QJsonObject StampaStato(const Stampa& stampa, AdattatoreFinestra& f, const UiScenario& ui,
                        Host& host) {
    QJsonObject out{{QStringLiteral("finestra"), f.nome()},
                    {QStringLiteral("risposteNonUsate"), ui.copione().risposteRimaste()}};
    if (!stampa.controlli.empty()) {
        QJsonObject controlli;
        for (const StampaControllo& sc : stampa.controlli)
            controlli.insert(sc.nome, Controllo_(f, sc));
        out.insert(QStringLiteral("controlli"), controlli);
    }
    if (!stampa.griglie.empty()) {
        QJsonObject griglie;
        for (const StampaGriglia& g : stampa.griglie) {
            RecordSetPtr rs = f.righe(g.griglia);
            if (!rs) {
                throw Errore(QStringLiteral("Griglia sconosciuta nella finestra %1: %2")
                                 .arg(f.nome(), g.griglia));
            }
            griglie.insert(g.griglia,
                           Righe(*rs, g.colonne, QStringLiteral("griglia ") + g.griglia));
        }
        out.insert(QStringLiteral("griglie"), griglie);
    }
    if (stampa.messaggi) out.insert(QStringLiteral("messaggi"), Messaggi(ui.copione()));
    if (stampa.elenchi) out.insert(QStringLiteral("scelte"), Scelte(ui));
    if (stampa.stato) out.insert(QStringLiteral("stato"), f.Stato());
    if (!stampa.tabelle.empty()) {
        QJsonObject tabelle;
        for (const StampaTabella& t : stampa.tabelle) {
            RecordSetPtr rs = host.OpenRecordSet(t.sql);
            tabelle.insert(t.nome, Righe(*rs, t.colonne, QStringLiteral("tabella ") + t.nome));
        }
        out.insert(QStringLiteral("tabelle"), tabelle);
    }
    return out;
}

}  // namespace incassi::scenario
