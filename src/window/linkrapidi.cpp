#include "window/linkrapidi.h"

#include "host/host.h"
#include "host/sqllexer.h"
#include "values/error.h"
#include "values/sqlquote.h"
#include "values/values.h"
#include "window/uiport.h"

namespace incassi {

namespace {

const QString kTorvane = QStringLiteral("Torvane");
const QString kModale = QStringLiteral("<Modale>");

}  // namespace

LinkRapidi::LinkRapidi(Host& host, UiPort& ui, QString modulo,
                       std::function<bool(const ProprietaIngresso&)> avvia)
    : host_(host), ui_(ui), modulo_(std::move(modulo)), avvia_(std::move(avvia)) {}

bool LinkRapidi::elencato(int visibilita) const {
    switch (visibilita) {
        case 0:
            return true;
        case 1:
            return host_.UserInserimento() || host_.UserModifica();
        case 2:
            return host_.UserAdmin();
        default:
            return false;
    }
}

std::vector<VoceLink> LinkRapidi::voci() const {
    std::vector<VoceLink> out;
    for (auto rs = host_.OpenRecordsetMenu(
             QStringLiteral("SELECT * FROM linkrapidi WHERE modulo='%1' ORDER BY ordine")
                 .arg(sql::Raddoppia(modulo_)));
         !rs->Eof(); rs->MoveNext()) {
        if (!elencato(int(Num(rs->Value(QStringLiteral("visibilita")))))) continue;
        out.push_back({QStringLiteral("Link:") + Txt(rs->Value(QStringLiteral("id"))),
                       Txt(rs->Value(QStringLiteral("Descrizione"))),
                       Txt(rs->Value(QStringLiteral("icona"))),
                       Txt(rs->Value(QStringLiteral("Descrizioneestesa")))});
    }
    return out;
}

bool LinkRapidi::SoloSelect(const QString& testo) {
    Lexed l;
    try {
        LexClassicSql(testo, l);
    } catch (const Errore&) {
        return false;
    }
    if (l.tokens.empty() || !TokenIs(testo, l.tokens.front(), u"select")) return false;
    for (const Token& t : l.tokens) {
        if (t.kind == TokKind::Semicolon) return false;
        if (t.kind != TokKind::Ident) continue;
        for (const char* vietata : {"insert", "update", "delete", "drop", "alter", "create",
                                    "attach", "detach", "pragma", "replace", "into", "vacuum"}) {
            if (TokenIs(testo, t, QString::fromLatin1(vietata))) return false;
        }
    }
    return true;
}

bool LinkRapidi::Esegui(const QString& chiave, const QString& posizione) {
    if (!chiave.startsWith(u"Link:", Qt::CaseInsensitive)) return false;
    bool ok = false;
    const qlonglong id = chiave.mid(5).toLongLong(&ok);
    if (!ok) return false;
    auto link =
        host_.OpenRecordsetMenu(QStringLiteral("SELECT * FROM linkrapidi WHERE id=%1").arg(id));
    if (link->Eof()) return false;
    const QVariant parametri = link->Value(QStringLiteral("Parametri"));
    const QString modulo = Txt(link->Value(QStringLiteral("ModuloAvvio")));
    auto avvisa = [&](const QString& testo) {
        ui_.Messaggio(testo, kTorvane, Icona::Esclamazione);
        return false;
    };
    try {
        QString risposta;
        const QString nomeQuery = Txt(link->Value(QStringLiteral("nomequery")));
        if (!nomeQuery.isEmpty()) {
            auto q = host_.OpenRecordsetMenu(
                QStringLiteral("SELECT * FROM queryrapide WHERE nomequery='%1'")
                    .arg(sql::Raddoppia(nomeQuery)));
            if (q->Eof()) return avvisa(QStringLiteral("Query non trovata :->"));
            QString testo = Txt(q->Value(QStringLiteral("testoquery"))).trimmed();
            if (!SoloSelect(testo)) {
                return avvisa(QStringLiteral("La query \"%1\" non è una sola SELECT: non viene "
                                             "eseguita.")
                                  .arg(nomeQuery));
            }
            const QString campo = Txt(q->Value(QStringLiteral("CampoRicerca")));
            if (!campo.isEmpty() && !posizione.isEmpty()) {
                const bool numero =
                    Txt(q->Value(QStringLiteral("tipocampo"))).compare(u"N", Qt::CaseInsensitive) ==
                    0;
                QString valore;
                if (numero) {
                    // Written by the quoting helper: a number and nothing else.
                    try {
                        valore = sql::Numero(QVariant(posizione));
                    } catch (const Errore&) {
                        return avvisa(
                            QStringLiteral("Il valore \"%1\" non è un numero.").arg(posizione));
                    }
                } else {
                    valore = QStringLiteral("'%1'").arg(sql::Raddoppia(posizione));
                }
                const bool conWhere =
                    testo.contains(QStringLiteral(" where "), Qt::CaseInsensitive);
                testo += QStringLiteral(" %1 %2=%3")
                             .arg(conWhere ? QStringLiteral("and") : QStringLiteral("where"), campo,
                                  valore);
            }
            testo += u' ' + Txt(q->Value(QStringLiteral("Ordine")));
            const RichiestaRicerca r =
                NuovaRicerca(host_, Txt(link->Value(QStringLiteral("NomeVista"))),
                             Txt(link->Value(QStringLiteral("Descrizioneestesa"))),
                             host_.OpenRecordSet(testo), Txt(q->Value(QStringLiteral("campo"))));
            risposta = ui_.Ricerca(r);
            if (risposta.isEmpty()) return false;
        }
        if (modulo.isEmpty()) return false;
        ProprietaIngresso p;
        p.CodiceStampa = modulo;
        p.CodiceEsportazione = modulo;
        if (!IsNull(parametri)) {
            QString campo = Txt(parametri);
            p.Modale =
                campo.contains(kModale, Qt::CaseInsensitive) ? QStringLiteral("1") : QString();
            p.CampoRicerca = campo.remove(kModale, Qt::CaseInsensitive).trimmed();
            p.Risposta = risposta;
        }
        if (!avvia_ || !avvia_(p)) {
            return avvisa(QStringLiteral("Il modulo \"%1\" non è disponibile in questa "
                                         "installazione.")
                              .arg(modulo));
        }
        return true;
    } catch (const Errore&) {
        ui_.Messaggio(
            QStringLiteral("Si è verificato un errore nella funzione CaricaEstensioniLink "
                           "Ricerca->parametri:") +
                Txt(parametri),
            kTorvane, Icona::Critico);
        return false;
    }
}

}  // namespace incassi
