#include "reports/report.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "host/database.h"
#include "values/error.h"
#include "values/values.h"

namespace incassi::stampa {

namespace {

// One row in scope: its columns and values.
struct Riga {
    std::vector<ResultColumn> colonne;
    std::vector<QVariant> valori;

    const QVariant* cerca(const QString& nome) const {
        for (size_t i = 0; i < colonne.size(); ++i) {
            if (colonne[i].name.compare(nome, Qt::CaseInsensitive) == 0) return &valori[i];
        }
        return nullptr;
    }
};

Formato FormatoDa(const QString& s, const QString& file) {
    static const std::pair<const char*, Formato> kNomi[] = {
        {"testo", Formato::Testo},   {"importo", Formato::Importo},
        {"intero", Formato::Intero}, {"numero", Formato::Numero},
        {"data", Formato::Data},     {"percentuale", Formato::Percentuale},
    };
    if (s.isEmpty()) return Formato::Testo;
    for (const auto& [n, f] : kNomi)
        if (s.compare(QLatin1String(n), Qt::CaseInsensitive) == 0) return f;
    throw Errore(QStringLiteral("Report %1: formato sconosciuto \"%2\".").arg(file, s));
}

Allineamento AllineamentoDa(const QString& s, Allineamento predefinito) {
    if (s.compare(u"centro", Qt::CaseInsensitive) == 0) return Allineamento::Centro;
    if (s.compare(u"destra", Qt::CaseInsensitive) == 0) return Allineamento::Destra;
    if (s.compare(u"sinistra", Qt::CaseInsensitive) == 0) return Allineamento::Sinistra;
    return predefinito;
}

Stile StileDa(const QString& s) {
    static const std::pair<const char*, Stile> kNomi[] = {
        {"titolo", Stile::Titolo},
        {"sottotitolo", Stile::Sottotitolo},
        {"piccolo", Stile::Piccolo},
        {"grassetto", Stile::Grassetto},
    };
    for (const auto& [n, st] : kNomi)
        if (s.compare(QLatin1String(n), Qt::CaseInsensitive) == 0) return st;
    return Stile::Normale;
}

class Valutatore {
  public:
    Valutatore(QString file, Database& db, const QString& utente, const QDate& oggi)
        : file_(std::move(file)), db_(db) {
        Riga extra;
        extra.colonne = {ResultColumn{QStringLiteral("utente"), {}, FieldType::Text, 0},
                         ResultColumn{QStringLiteral("oggi"), {}, FieldType::Date, 0}};
        extra.valori = {utente, oggi};
        ambito_.push_back(std::move(extra));
        ambito_.push_back(primaRiga(QStringLiteral("SELECT * FROM Parametri")));
        ambito_.push_back(primaRiga(QStringLiteral("SELECT * FROM anagraficalocali ORDER BY id")));
    }

    void blocchi(const QJsonArray& def, std::vector<Blocco>& out) {
        for (const QJsonValue& v : def)
            blocco(v.toObject(), out);
    }

  private:
    [[noreturn]] void errore(const QString& cosa) const {
        throw Errore(QStringLiteral("Report %1: %2").arg(QFileInfo(file_).fileName(), cosa));
    }

    Riga primaRiga(const QString& sql) {
        const QueryResult r = db_.queryNative(sql + QStringLiteral(" LIMIT 1"), {});
        Riga riga;
        riga.colonne = r.columns;
        if (r.rows.empty())
            riga.valori.assign(r.columns.size(), QVariant());
        else
            riga.valori = r.rows[0];
        return riga;
    }

    QVariant campo(const QString& nome) const {
        for (auto it = ambito_.rbegin(); it != ambito_.rend(); ++it)
            if (const QVariant* v = it->cerca(nome)) return *v;
        errore(QStringLiteral("il campo \"%1\" non è tra i dati della stampa.").arg(nome));
    }

    // "{Campo}" and "{Campo|formato}" replaced by the values in scope.
    QString sostituisci(const QString& testo) const {
        static const QRegularExpression kSegnaposto(
            QStringLiteral("\\{([A-Za-z0-9_]+)(\\|([a-z]+))?\\}"));
        QString out;
        qsizetype da = 0;
        for (auto it = kSegnaposto.globalMatch(testo); it.hasNext();) {
            const auto m = it.next();
            out += testo.mid(da, m.capturedStart() - da);
            out += TestoValore(campo(m.captured(1)), FormatoDa(m.captured(3), file_));
            da = m.capturedEnd();
        }
        return out + testo.mid(da);
    }

    // A statement over the scratch tables: ":Campo" bound from the rows in scope.
    QueryResult interroga(const QString& sql) {
        static const QRegularExpression kParametro(
            QStringLiteral("'[^']*'|:([A-Za-z_][A-Za-z0-9_]*)"));
        QString nativo;
        std::vector<QVariant> valori;
        qsizetype da = 0;
        for (auto it = kParametro.globalMatch(sql); it.hasNext();) {
            const auto m = it.next();
            if (m.captured(1).isEmpty()) continue;  // a quoted text
            nativo += sql.mid(da, m.capturedStart() - da) + u'?';
            valori.push_back(campo(m.captured(1)));
            da = m.capturedEnd();
        }
        nativo += sql.mid(da);
        try {
            return db_.queryNative(nativo, valori);
        } catch (const Errore& e) {
            errore(e.testo());
        }
    }

    static QString Select(const QString& colonne, const QJsonObject& o) {
        QString sql = QStringLiteral("SELECT %1 FROM %2").arg(colonne, o[u"da"].toString());
        if (const QString dove = o[u"dove"].toString(); !dove.isEmpty())
            sql += QStringLiteral(" WHERE ") + dove;
        if (const QString ordine = o[u"ordine"].toString(); !ordine.isEmpty())
            sql += QStringLiteral(" ORDER BY ") + ordine;
        return sql;
    }

    void blocco(const QJsonObject& o, std::vector<Blocco>& out) {
        const QString tipo = o[u"tipo"].toString().toLower();
        if (tipo == u"testo") {
            if (const QString se = o[u"se"].toString(); !se.isEmpty()) {
                const QVariant v = campo(se);
                if (IsNullOrEmpty(v) ||
                    (v.canConvert<double>() && Num(v) == 0 && v.typeId() != QMetaType::QString))
                    return;
            }
            Blocco b;
            b.tipo = Blocco::Tipo::Testo;
            b.testo = sostituisci(o[u"testo"].toString());
            b.stile = StileDa(o[u"stile"].toString());
            b.allineamento = AllineamentoDa(o[u"allineamento"].toString(), Allineamento::Sinistra);
            out.push_back(std::move(b));
        } else if (tipo == u"gruppo") {
            gruppo(o, out);
        } else if (tipo == u"tabella") {
            out.push_back(tabella(o));
        } else if (tipo == u"totali") {
            // No table before (an empty period): no grand total either.
            if (!tabelle_.empty()) out.push_back(totali(o));
        } else if (tipo == u"campi") {
            out.push_back(campi(o));
        } else if (tipo == u"firme") {
            Blocco b;
            b.tipo = Blocco::Tipo::Firme;
            for (const QJsonValue& f : o[u"firme"].toArray())
                b.firme << sostituisci(f.toString());
            out.push_back(std::move(b));
        } else if (tipo == u"spazio") {
            Blocco b;
            b.tipo = Blocco::Tipo::Spazio;
            b.altezza = o[u"altezza"].toDouble(4);
            out.push_back(std::move(b));
        } else {
            errore(QStringLiteral("blocco di tipo sconosciuto \"%1\".").arg(tipo));
        }
    }

    void gruppo(const QJsonObject& o, std::vector<Blocco>& out) {
        const QueryResult r = interroga(Select(QStringLiteral("*"), o));
        if (r.rows.empty()) {
            if (const QString vuoto = o[u"seVuoto"].toString(); !vuoto.isEmpty()) {
                Blocco b;
                b.testo = sostituisci(vuoto);
                out.push_back(std::move(b));
            }
            return;
        }
        const QJsonArray interni = o[u"blocchi"].toArray();
        bool primo = true;
        for (const auto& valori : r.rows) {
            if (!primo && o[u"nuovaPagina"].toBool()) {
                Blocco salto;
                salto.tipo = Blocco::Tipo::NuovaPagina;
                out.push_back(std::move(salto));
            }
            primo = false;
            ambito_.push_back(Riga{r.columns, valori});
            blocchi(interni, out);
            ambito_.pop_back();
        }
    }

    Blocco tabella(const QJsonObject& o) {
        Blocco b;
        b.tipo = Blocco::Tipo::Tabella;
        QStringList espressioni;
        for (const QJsonValue& v : o[u"colonne"].toArray()) {
            const QJsonObject c = v.toObject();
            ColonnaTabella col;
            col.titolo = c[u"titolo"].toString();
            col.peso = c[u"larghezza"].toDouble(10);
            col.formato = FormatoDa(c[u"formato"].toString(), file_);
            col.allineamento = AllineamentoDa(
                c[u"allineamento"].toString(),
                Numerico(col.formato) ? Allineamento::Destra : Allineamento::Sinistra);
            col.totale = c[u"totale"].toBool() && Numerico(col.formato);
            QString e = c[u"espressione"].toString();
            if (e.isEmpty()) e = c[u"campo"].toString();
            if (e.isEmpty())
                errore(QStringLiteral("la colonna \"%1\" non ha né campo né espressione.")
                           .arg(col.titolo));
            espressioni << QStringLiteral("%1 AS c%2").arg(e).arg(espressioni.size());
            b.colonne.push_back(col);
        }
        if (b.colonne.empty()) errore(QStringLiteral("una tabella senza colonne."));
        const QueryResult r = interroga(Select(espressioni.join(QStringLiteral(", ")), o));
        b.somme.assign(b.colonne.size(), Dec());
        b.righe.reserve(r.rows.size());
        for (const auto& valori : r.rows) {
            std::vector<QVariant> riga(b.colonne.size());
            for (size_t i = 0; i < b.colonne.size(); ++i) {
                riga[i] = ValoreTipizzato(valori[i], b.colonne[i].formato);
                if (b.colonne[i].totale) b.somme[i] += Dec::DaCella(riga[i]);
            }
            b.righe.push_back(std::move(riga));
        }
        for (Dec& s : b.somme)
            s = s.arrotonda(2);
        b.etichettaTotali = sostituisci(o[u"totali"].toString());
        b.conTotali = !b.etichettaTotali.isEmpty();
        if (b.conTotali) tabelle_.push_back(b);
        return b;
    }

    Blocco totali(const QJsonObject& o) {
        Blocco b;
        b.tipo = Blocco::Tipo::Tabella;
        b.generale = true;
        b.conTotali = true;
        b.colonne = tabelle_.front().colonne;
        b.etichettaTotali = sostituisci(o[u"etichetta"].toString());
        b.somme.assign(b.colonne.size(), Dec());
        for (const Blocco& t : tabelle_) {
            if (t.colonne.size() != b.colonne.size())
                errore(QStringLiteral("totali di tabelle diverse."));
            for (size_t i = 0; i < b.somme.size(); ++i)
                b.somme[i] += t.somme[i];
        }
        tabelle_.clear();
        return b;
    }

    Blocco campi(const QJsonObject& o) {
        Blocco b;
        b.tipo = Blocco::Tipo::Campi;
        b.perRiga = std::max(1, o[u"perRiga"].toInt(2));
        if (!o[u"da"].toString().isEmpty()) {
            const QueryResult r = interroga(Select(
                QStringLiteral("%1, %2").arg(o[u"etichetta"].toString(), o[u"valore"].toString()),
                o));
            const Formato f = FormatoDa(o[u"formato"].toString(), file_);
            for (const auto& valori : r.rows)
                b.voci.push_back({Txt(valori[0]), ValoreTipizzato(valori[1], f), f});
            return b;
        }
        for (const QJsonValue& v : o[u"voci"].toArray()) {
            const QJsonObject voce = v.toObject();
            const Formato f = FormatoDa(voce[u"formato"].toString(), file_);
            b.voci.push_back({sostituisci(voce[u"etichetta"].toString()),
                              ValoreTipizzato(campo(voce[u"campo"].toString()), f), f});
        }
        return b;
    }

    QString file_;
    Database& db_;
    std::vector<Riga> ambito_;
    std::vector<Blocco> tabelle_;  // the tables with totals since the last grand total
};

}  // namespace

bool Numerico(Formato f) {
    return f == Formato::Importo || f == Formato::Intero || f == Formato::Numero ||
           f == Formato::Percentuale;
}

QVariant ValoreTipizzato(const QVariant& v, Formato f) {
    if (IsNull(v)) return {};
    if (Numerico(f)) return Num(v);
    if (f == Formato::Data) {
        if (v.typeId() == QMetaType::QDate) return v;
        if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().date();
        const QString s = v.toString();
        QDate d = QDate::fromString(s.left(10), Qt::ISODate);
        if (!d.isValid()) d = ParseData(s).value_or(QDate());
        return d.isValid() ? QVariant(d) : QVariant(s);
    }
    return Txt(v);
}

QString TestoValore(const QVariant& v, Formato f) {
    const QVariant t = ValoreTipizzato(v, f);
    if (IsNull(t)) return {};
    switch (f) {
        case Formato::Importo:
            return FormatoNumero(t.toDouble(), 2);
        case Formato::Intero:
            return FormatoNumero(t.toDouble(), 0);
        case Formato::Numero:
            return FormatoNumero(t.toDouble(), 2, false);
        case Formato::Percentuale:
            return FormatoNumero(t.toDouble(), 2, false) + QStringLiteral(" %");
        case Formato::Data:
            return t.typeId() == QMetaType::QDate ? TestoData(t.toDate()) : t.toString();
        case Formato::Testo:
            break;
    }
    return Txt(t);
}

int Contenuto::righe() const {
    int n = 0;
    for (const Blocco& b : corpo)
        n += int(b.righe.size());
    return n;
}

Contenuto ApriReport(const QString& fileReport, const QString& archivio, const QString& utente,
                     const QDate& oggi) {
    QFile f(fileReport);
    if (!f.open(QIODevice::ReadOnly)) {
        throw Errore(
            QStringLiteral("Il report %1 non esiste o non si può leggere.").arg(fileReport));
    }
    QJsonParseError e;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &e);
    if (!doc.isObject()) {
        throw Errore(QStringLiteral("Il report %1 non è valido: %2 (posizione %3).")
                         .arg(fileReport, e.errorString())
                         .arg(e.offset));
    }
    const QJsonObject def = doc.object();
    auto db = Database::OpenSqlite(archivio, true);
    Valutatore v(fileReport, *db, utente, oggi);
    Contenuto c;
    c.titolo = def[u"titolo"].toString();
    c.orizzontale = def[u"orizzontale"].toBool();
    v.blocchi(def[u"intestazione"].toArray(), c.intestazione);
    v.blocchi(def[u"corpo"].toArray(), c.corpo);
    c.piede = QStringLiteral("Stampato il %1 da %2").arg(TestoData(oggi), utente);
    return c;
}

}  // namespace incassi::stampa
