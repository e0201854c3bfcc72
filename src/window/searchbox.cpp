#include "window/searchbox.h"

#include "host/host.h"
#include "host/sqllexer.h"
#include "values/error.h"
#include "values/sqlquote.h"
#include "values/values.h"
#include "window/uiport.h"

namespace incassi {

namespace {

// The one table a query lists ("select * from T [where ...] [order by ...]"),
// or "" when it reads a join, a subquery or an aliased table.
QString TabellaDellaQuery(const QString& sql) {
    Lexed lx;
    LexClassicSql(sql, lx);
    const auto& t = lx.tokens;
    int depth = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i].kind == TokKind::LParen) ++depth;
        if (t[i].kind == TokKind::RParen) --depth;
        if (depth != 0 || t[i].kind != TokKind::Ident || !TokenIs(sql, t[i], u"from")) continue;
        if (i + 1 >= t.size()) return {};
        const Token& tab = t[i + 1];
        if (tab.kind != TokKind::Ident && tab.kind != TokKind::QuotedIdent) return {};
        if (i + 2 < t.size()) {
            const Token& dopo = t[i + 2];
            const bool fine = dopo.kind == TokKind::Semicolon ||
                              (dopo.kind == TokKind::Ident &&
                               (TokenIs(sql, dopo, u"where") || TokenIs(sql, dopo, u"order") ||
                                TokenIs(sql, dopo, u"group")));
            if (!fine) return {};
        }
        return TokenText(sql, tab);
    }
    return {};
}

}  // namespace

CasellaRicerca::CasellaRicerca(const QString& nome, Host& host) : Controllo(nome), host_(host) {}

void CasellaRicerca::setQuery(const QString& sql) {
    query_ = sql;
    colonna_.clear();
}

void CasellaRicerca::setCamporicerca(const QString& campo) {
    camporicerca_ = campo;
    colonna_.clear();
}

QString CasellaRicerca::colonnaRicerca() const {
    if (!colonna_.isEmpty()) return colonna_;
    if (query_.trimmed().isEmpty() || camporicerca_.trimmed().isEmpty()) {
        throw Errore(QStringLiteral("%1: query o camporicerca non impostati").arg(nome()));
    }
    const QString tabella = TabellaDellaQuery(query_);
    if (!tabella.isEmpty()) {
        colonna_ = host_.Campo(tabella, camporicerca_);
    } else {
        // A join: the column as the query's rows name it.
        RecordSetPtr rs = host_.OpenRecordSetAsync(query_, 1);
        const int i = rs->FieldIndex(camporicerca_.trimmed());
        if (i < 0) {
            throw Errore(
                QStringLiteral("%1: la query non ha il campo %2").arg(nome(), camporicerca_));
        }
        colonna_ = rs->Field(i).name;
    }
    return colonna_;
}

bool CasellaRicerca::ImpostaCodice(const QString& codiceScelto) {
    const QString cod = codiceScelto.trimmed();
    if (cod.isEmpty()) {
        setText(QString());
        descrizione_.clear();
        codiceDescritto_.clear();
        return true;
    }
    const auto trovato = cerca(cod);
    if (!trovato) return false;
    setText(trovato->first);
    descrizione_ = trovato->second;
    codiceDescritto_ = trovato->first;
    if (onChange) onChange(*this);
    return true;
}

std::optional<std::pair<QString, QString>> CasellaRicerca::cerca(const QString& cod) const {
    const QString colonna = colonnaRicerca();
    RecordSetPtr rs = host_.OpenRecordSet(
        QStringLiteral("select * from (") + query_ + QStringLiteral(") elenco where elenco.") +
        colonna + QStringLiteral("='") + sql::Raddoppia(cod) + QStringLiteral("'"));
    if (rs->Eof()) return std::nullopt;
    QStringList parti;
    for (const QString& c : visualizza_.split(u',', Qt::SkipEmptyParts)) {
        const QString campo = c.trimmed();
        if (!rs->HasField(campo)) continue;  // a design-time name the query lacks
        // The code leads the display text already ("code description").
        if (campo.compare(camporicerca_.trimmed(), Qt::CaseInsensitive) == 0) continue;
        const QString t = Txt(NullAVuoto(rs->Value(campo))).trimmed();
        if (!t.isEmpty()) parti << t;
    }
    return std::pair{Txt(rs->Value(colonna)), parti.join(u' ')};
}

bool CasellaRicerca::Scegli(UiPort& ui) {
    RecordSetPtr rs = host_.OpenRecordSet(query_);
    const QString scelta = ui.ElencoScelta(rs, caption().isEmpty() ? nome() : caption(), nomevista,
                                           camporicerca_, false);
    if (scelta.isEmpty()) return false;
    return ImpostaCodice(scelta);
}

QString CasellaRicerca::descrizione() const {
    // A code set without a check (a stored document shown, say) is described
    // the first time it is shown; the answer is kept for that code.
    const QString codice = text().trimmed();
    if (!codice.isEmpty() && text() != codiceDescritto_ && !query_.isEmpty()) {
        codiceDescritto_ = text();
        descrizione_.clear();
        try {
            if (const auto trovato = cerca(codice)) descrizione_ = trovato->second;
        } catch (const Errore&) {
            // A description is only shown: without it the code is shown alone.
        }
    }
    return text() == codiceDescritto_ ? descrizione_ : QString();
}

QString CasellaRicerca::testoVisualizzato() const {
    const QString d = descrizione();
    if (d.isEmpty()) return text();
    return text() + u' ' + d;
}

}  // namespace incassi
