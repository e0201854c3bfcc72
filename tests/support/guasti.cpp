#include "support/guasti.h"

#include "values/error.h"
#include "values/values.h"

namespace incassi::test {

Guasto::Guasto(Database& db) : db_(db) {
    db_.setOsservatore([this](const QString& sql, const std::vector<QVariant>&) {
        ++inviate_;
        if (n_ > 0 && inviate_ == n_) {
            scattato_ = true;
            throw Errore(QStringLiteral("guasto simulato all'istruzione %1: %2").arg(n_).arg(sql));
        }
    });
}

Guasto::~Guasto() {
    db_.setOsservatore({});
}

void Guasto::al(int n) {
    n_ = n;
    inviate_ = 0;
    scattato_ = false;
}

QStringList DumpDatabase(Database& db) {
    QStringList out;
    for (const QString& tabella : db.tables()) {
        const QueryResult r = db.queryNative(QStringLiteral("SELECT * FROM %1 ORDER BY 1")
                                                 .arg(db.dialect().quoteIdentifier(tabella)),
                                             {});
        std::vector<bool> salta;
        for (const ResultColumn& c : r.columns) {
            salta.push_back(c.name.compare(u"iddata", Qt::CaseInsensitive) == 0 ||
                            c.name.compare(u"aggiornato", Qt::CaseInsensitive) == 0);
        }
        for (const auto& riga : r.rows) {
            QStringList campi;
            for (size_t i = 0; i < riga.size(); ++i)
                campi << (salta[i] ? QStringLiteral("-") : riga[i].toString());
            out << tabella + u':' + campi.join(u'|');
        }
    }
    return out;
}

QStringList DumpFinestra(const ModelloFinestra& finestra) {
    QStringList out;
    for (const auto& c : finestra) {
        const Controllo::Stato& s = c->stato();
        QStringList elementi;
        for (const ElementoLista& e : s.elementi)
            elementi << e.testo + u'=' + Txt(e.dato);
        out << QStringLiteral(
                   "%1 testo=%2 caption=%3 tag=%4 colore=%5 abilitato=%6 visibile=%7 "
                   "scelta=%8 spunta=%9 voci=%10")
                   .arg(c->nome(), s.testo, s.caption, s.tag)
                   .arg(s.backColor)
                   .arg(s.enabled)
                   .arg(s.visible)
                   .arg(s.listIndex)
                   .arg(s.checked)
                   .arg(elementi.join(u';'));
        if (!s.recordset) continue;
        RecordSet& rs = *s.recordset;
        const bool fuori = rs.Bof() || rs.Eof();
        const int posizione = fuori ? -1 : rs.AbsolutePosition();
        out << QStringLiteral("  righe=%1 posizione=%2 modifiche=%3")
                   .arg(rs.RecordCount())
                   .arg(posizione)
                   .arg(rs.HasPendingChanges());
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            QStringList campi;
            for (int i = 0; i < rs.FieldCount(); ++i)
                campi << Txt(rs.Value(i));
            out << QStringLiteral("  ") + campi.join(u'|');
        }
        if (posizione > 0) rs.SetAbsolutePosition(posizione);
    }
    return out;
}

std::string Differenza(const QStringList& prima, const QStringList& dopo) {
    for (qsizetype i = 0; i < std::max(prima.size(), dopo.size()); ++i) {
        const QString a = prima.value(i, QStringLiteral("(niente)"));
        const QString b = dopo.value(i, QStringLiteral("(niente)"));
        if (a != b)
            return QStringLiteral("riga %1:\n  era %2\n  è  %3").arg(i).arg(a, b).toStdString();
    }
    return {};
}

}  // namespace incassi::test
