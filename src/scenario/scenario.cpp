#include "scenario/scenario.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include "entry/configura.h"
#include "values/error.h"
#include "values/values.h"

namespace incassi::scenario {

namespace {

// The keys an action takes; those marked with '*' are required. Every object
// of the file may also carry a "nota", a comment for the reader.
struct FormaAzione {
    const char* azione;
    std::initializer_list<const char*> chiavi;
};

const FormaAzione kAzioni[] = {
    {"imposta", {"controllo*", "valore*"}},
    {"scegli", {"controllo*", "codice*"}},
    {"esci", {"controllo*"}},
    {"cella", {"riga*", "colonna*", "valore*", "griglia"}},
    {"invio", {"colonna*", "riga", "griglia"}},
    {"riga", {"riga*", "griglia"}},
    {"entra", {"griglia"}},
    {"comando", {"nome*"}},
    {"menu", {"voce*"}},
    {"nuovo", {}},
    {"vai", {"dove*"}},
};

const QString kNota = QStringLiteral("nota");

class Lettore {
  public:
    explicit Lettore(QString file) : file_(std::move(file)) {}

    [[noreturn]] void errore(const QString& dove, const QString& testo) const {
        throw Errore(QStringLiteral("Scenario %1: %2: %3").arg(file_, dove, testo));
    }

    // Refuses the keys of `o` that are not in `ammesse` (nor "nota").
    void soloChiavi(const QJsonObject& o, const QString& dove, const QStringList& ammesse) const {
        for (auto it = o.begin(); it != o.end(); ++it) {
            if (it.key() != kNota && !ammesse.contains(it.key())) {
                errore(dove, QStringLiteral("chiave sconosciuta \"%1\" (ammesse: %2)")
                                 .arg(it.key(), ammesse.join(QStringLiteral(", "))));
            }
        }
    }

    QString testo(const QJsonValue& v, const QString& dove) const {
        if (v.isString()) return v.toString();
        if (v.isDouble()) return TestoNumero(v.toDouble());
        errore(dove, QStringLiteral("atteso un testo"));
    }

    QJsonObject oggetto(const QJsonValue& v, const QString& dove) const {
        if (!v.isObject()) errore(dove, QStringLiteral("atteso un oggetto"));
        return v.toObject();
    }

    QJsonArray lista(const QJsonValue& v, const QString& dove) const {
        if (!v.isArray()) errore(dove, QStringLiteral("attesa una lista"));
        return v.toArray();
    }

    QStringList testi(const QJsonValue& v, const QString& dove) const {
        QStringList out;
        const QJsonArray a = lista(v, dove);
        for (qsizetype i = 0; i < a.size(); ++i)
            out << testo(a[i], QStringLiteral("%1[%2]").arg(dove).arg(i + 1));
        return out;
    }

    bool vero(const QJsonValue& v, const QString& dove) const {
        if (!v.isBool()) errore(dove, QStringLiteral("atteso true o false"));
        return v.toBool();
    }

  private:
    QString file_;
};

ProprietaIngresso LeggiIngresso(const Lettore& l, const QJsonObject& o) {
    const QString dove = QStringLiteral("ingresso");
    l.soloChiavi(o, dove,
                 {QStringLiteral("funzione"), QStringLiteral("Codice"), QStringLiteral("Parametri"),
                  QStringLiteral("CampoRicerca"), QStringLiteral("Risposta"),
                  QStringLiteral("Modale"), QStringLiteral("CodiceEsportazione")});
    auto t = [&](const char* chiave) {
        const QString k = QLatin1String(chiave);
        return o.contains(k) ? l.testo(o.value(k), dove + u'.' + k) : QString();
    };
    ProprietaIngresso p;
    p.CodiceStampa = t("funzione");
    p.Codice = t("Codice");
    p.Parametri = t("Parametri");
    p.CampoRicerca = t("CampoRicerca");
    p.Risposta = t("Risposta");
    p.Modale = t("Modale");
    p.CodiceEsportazione = t("CodiceEsportazione");
    return p;
}

std::vector<Impostazione> LeggiImpostazioni(const Lettore& l, const QJsonObject& o) {
    std::vector<Impostazione> out;
    for (auto s = o.begin(); s != o.end(); ++s) {
        if (s.key() == kNota) continue;
        const QString dove = QStringLiteral("impostazioni.") + s.key();
        const QJsonObject chiavi = l.oggetto(s.value(), dove);
        for (auto k = chiavi.begin(); k != chiavi.end(); ++k) {
            const QJsonValue v = k.value();
            QVariant valore;
            if (v.isBool()) {
                valore = v.toBool() ? -1 : 0;  // the suite stores Booleans as 0 / -1
            } else if (v.isDouble()) {
                const double d = v.toDouble();
                valore = d == qint64(d) ? QVariant(qint64(d)) : QVariant(d);
            } else if (v.isString()) {
                valore = v.toString();
            } else {
                l.errore(dove + u'.' + k.key(), QStringLiteral("atteso un numero, un testo o "
                                                               "true/false"));
            }
            out.push_back({s.key(), k.key(), valore});
        }
    }
    return out;
}

Risposte LeggiRisposte(const Lettore& l, const QJsonObject& o) {
    const QString dove = QStringLiteral("risposte");
    l.soloChiavi(o, dove,
                 {QStringLiteral("messaggi"), QStringLiteral("elenchi"), QStringLiteral("ricerche"),
                  QStringLiteral("file")});
    Risposte r;
    const QStringList messaggi =
        o.contains(u"messaggi") ? l.testi(o.value(u"messaggi"), dove + QStringLiteral(".messaggi"))
                                : QStringList();
    for (const QString& m : messaggi) {
        static const std::pair<const char*, Risposta> kNomi[] = {{"ok", Risposta::Ok},
                                                                 {"annulla", Risposta::Annulla},
                                                                 {"si", Risposta::Si},
                                                                 {"s\u00ec", Risposta::Si},
                                                                 {"no", Risposta::No}};
        bool trovata = false;
        for (const auto& [nome, risposta] : kNomi) {
            if (m.trimmed().compare(QString::fromUtf8(nome), Qt::CaseInsensitive) == 0) {
                r.messaggi.push_back(risposta);
                trovata = true;
            }
        }
        if (!trovata) {
            l.errore(dove + QStringLiteral(".messaggi"),
                     QStringLiteral("risposta sconosciuta \"%1\" (ammesse: Ok, Annulla, Si, No)")
                         .arg(m));
        }
    }
    if (o.contains(u"elenchi"))
        r.elenchi = l.testi(o.value(u"elenchi"), dove + QStringLiteral(".elenchi"));
    if (o.contains(u"ricerche"))
        r.ricerche = l.testi(o.value(u"ricerche"), dove + QStringLiteral(".ricerche"));
    if (o.contains(u"file")) r.file = l.testi(o.value(u"file"), dove + QStringLiteral(".file"));
    return r;
}

Passo LeggiPasso(const Lettore& l, const QJsonValue& v, int numero) {
    const QString dove = QStringLiteral("passi[%1]").arg(numero);
    const QJsonObject o = l.oggetto(v, dove);
    const QString azione = o.value(u"azione").toString();
    const FormaAzione* forma = nullptr;
    for (const FormaAzione& f : kAzioni) {
        if (azione == QLatin1String(f.azione)) forma = &f;
    }
    if (!forma) {
        l.errore(dove, QStringLiteral("azione sconosciuta \"%1\" (ammesse: %2)")
                           .arg(azione, Azioni().join(QStringLiteral(", "))));
    }
    QStringList ammesse{QStringLiteral("azione")};
    for (const char* c : forma->chiavi) {
        QString chiave = QLatin1String(c);
        const bool richiesta = chiave.endsWith(u'*');
        if (richiesta) chiave.chop(1);
        if (richiesta && !o.contains(chiave)) {
            l.errore(dove, QStringLiteral("all'azione \"%1\" manca \"%2\"").arg(azione, chiave));
        }
        ammesse << chiave;
    }
    l.soloChiavi(o, dove, ammesse);
    for (const char* chiave : {"controllo", "colonna", "griglia", "nome", "voce", "dove"}) {
        if (o.contains(QLatin1String(chiave))) {
            l.testo(o.value(QLatin1String(chiave)), dove + u'.' + QLatin1String(chiave));
        }
    }
    if (o.contains(u"riga") && (!o.value(u"riga").isDouble() || o.value(u"riga").toDouble() < 1 ||
                                o.value(u"riga").toDouble() != o.value(u"riga").toInt())) {
        l.errore(dove + QStringLiteral(".riga"),
                 QStringLiteral("atteso un numero di riga da 1 in su"));
    }
    Passo p;
    p.numero = numero;
    p.azione = azione;
    p.argomenti = o;
    p.argomenti.remove(QStringLiteral("azione"));
    p.argomenti.remove(kNota);
    return p;
}

Stampa LeggiStampa(const Lettore& l, const QJsonObject& o) {
    const QString dove = QStringLiteral("stampa");
    l.soloChiavi(o, dove,
                 {QStringLiteral("controlli"), QStringLiteral("griglie"), QStringLiteral("tabelle"),
                  QStringLiteral("messaggi"), QStringLiteral("elenchi"), QStringLiteral("stato")});
    Stampa s;
    const QJsonArray controlli =
        o.contains(u"controlli")
            ? l.lista(o.value(u"controlli"), dove + QStringLiteral(".controlli"))
            : QJsonArray();
    for (qsizetype i = 0; i < controlli.size(); ++i) {
        const QString d = QStringLiteral("stampa.controlli[%1]").arg(i + 1);
        if (controlli[i].isString()) {
            s.controlli.push_back({controlli[i].toString(), false});
            continue;
        }
        const QJsonObject c = l.oggetto(controlli[i], d);
        l.soloChiavi(c, d, {QStringLiteral("nome"), QStringLiteral("dettagli")});
        if (!c.contains(u"nome")) l.errore(d, QStringLiteral("manca \"nome\""));
        s.controlli.push_back({l.testo(c.value(u"nome"), d + QStringLiteral(".nome")),
                               c.contains(u"dettagli") && l.vero(c.value(u"dettagli"), d)});
    }
    const QJsonArray griglie = o.contains(u"griglie")
                                   ? l.lista(o.value(u"griglie"), dove + QStringLiteral(".griglie"))
                                   : QJsonArray();
    for (qsizetype i = 0; i < griglie.size(); ++i) {
        const QString d = QStringLiteral("stampa.griglie[%1]").arg(i + 1);
        const QJsonObject g = l.oggetto(griglie[i], d);
        l.soloChiavi(g, d, {QStringLiteral("griglia"), QStringLiteral("colonne")});
        if (!g.contains(u"griglia")) l.errore(d, QStringLiteral("manca \"griglia\""));
        s.griglie.push_back({l.testo(g.value(u"griglia"), d + QStringLiteral(".griglia")),
                             g.contains(u"colonne")
                                 ? l.testi(g.value(u"colonne"), d + QStringLiteral(".colonne"))
                                 : QStringList()});
    }
    const QJsonArray tabelle = o.contains(u"tabelle")
                                   ? l.lista(o.value(u"tabelle"), dove + QStringLiteral(".tabelle"))
                                   : QJsonArray();
    for (qsizetype i = 0; i < tabelle.size(); ++i) {
        const QString d = QStringLiteral("stampa.tabelle[%1]").arg(i + 1);
        const QJsonObject t = l.oggetto(tabelle[i], d);
        l.soloChiavi(t, d,
                     {QStringLiteral("nome"), QStringLiteral("sql"), QStringLiteral("tabella"),
                      QStringLiteral("dove"), QStringLiteral("ordine"), QStringLiteral("colonne")});
        StampaTabella st;
        if (t.contains(u"sql") == t.contains(u"tabella"))
            l.errore(d, QStringLiteral("serve \"sql\" oppure \"tabella\", uno dei due"));
        if (t.contains(u"sql")) {
            st.sql = l.testo(t.value(u"sql"), d + QStringLiteral(".sql")).trimmed();
            if (t.contains(u"dove") || t.contains(u"ordine"))
                l.errore(d, QStringLiteral("\"dove\" e \"ordine\" valgono solo con \"tabella\""));
            if (!st.sql.startsWith(u"select", Qt::CaseInsensitive))
                l.errore(d + QStringLiteral(".sql"), QStringLiteral("solo interrogazioni select"));
        } else {
            const QString tabella = l.testo(t.value(u"tabella"), d + QStringLiteral(".tabella"));
            st.sql = QStringLiteral("select * from ") + tabella;
            if (t.contains(u"dove"))
                st.sql += QStringLiteral(" where ") + l.testo(t.value(u"dove"), d);
            if (t.contains(u"ordine"))
                st.sql += QStringLiteral(" order by ") + l.testo(t.value(u"ordine"), d);
            st.nome = tabella;
        }
        if (t.contains(u"nome")) st.nome = l.testo(t.value(u"nome"), d + QStringLiteral(".nome"));
        if (st.nome.isEmpty()) l.errore(d, QStringLiteral("manca \"nome\""));
        for (const StampaTabella& altra : s.tabelle) {
            if (altra.nome == st.nome)
                l.errore(d, QStringLiteral("nome \"%1\" già usato").arg(st.nome));
        }
        if (t.contains(u"colonne"))
            st.colonne = l.testi(t.value(u"colonne"), d + QStringLiteral(".colonne"));
        s.tabelle.push_back(st);
    }
    if (o.contains(u"messaggi"))
        s.messaggi = l.vero(o.value(u"messaggi"), dove + QStringLiteral(".messaggi"));
    if (o.contains(u"elenchi"))
        s.elenchi = l.vero(o.value(u"elenchi"), dove + QStringLiteral(".elenchi"));
    if (o.contains(u"stato")) s.stato = l.vero(o.value(u"stato"), dove + QStringLiteral(".stato"));
    return s;
}

}  // namespace

QString Passo::testo(const QString& chiave) const {
    const QJsonValue v = argomenti.value(chiave);
    return v.isDouble() ? TestoNumero(v.toDouble()) : v.toString();
}

int Passo::intero(const QString& chiave, int predefinito) const {
    return argomenti.contains(chiave) ? argomenti.value(chiave).toInt() : predefinito;
}

QString Passo::nome() const {
    return QStringLiteral("passo %1 (%2)").arg(numero).arg(azione);
}

QStringList Azioni() {
    QStringList out;
    for (const FormaAzione& f : kAzioni)
        out << QLatin1String(f.azione);
    return out;
}

Scenario LeggiScenario(const QByteArray& json, const QString& file) {
    const Lettore l(file);
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &pe);
    if (pe.error != QJsonParseError::NoError) {
        // The offset as a line, which is what an editor shows.
        const int riga = int(json.left(pe.offset).count('\n')) + 1;
        l.errore(QStringLiteral("riga %1").arg(riga),
                 QStringLiteral("JSON non valido (%1)").arg(pe.errorString()));
    }
    if (!doc.isObject()) l.errore(QStringLiteral("radice"), QStringLiteral("atteso un oggetto"));
    const QJsonObject o = doc.object();
    l.soloChiavi(
        o, QStringLiteral("radice"),
        {QStringLiteral("descrizione"), QStringLiteral("finestra"), QStringLiteral("ingresso"),
         QStringLiteral("operatore"), QStringLiteral("oggi"), QStringLiteral("impostazioni"),
         QStringLiteral("risposte"), QStringLiteral("passi"), QStringLiteral("stampa")});
    Scenario s;
    s.file = file;
    if (o.contains(u"ingresso"))
        s.ingresso = LeggiIngresso(l, l.oggetto(o.value(u"ingresso"), QStringLiteral("ingresso")));
    if (o.contains(u"finestra")) {
        s.finestra = l.testo(o.value(u"finestra"), QStringLiteral("finestra"));
        const QString daCodice = FinestraDaCodice(s.ingresso.CodiceStampa);
        if (!s.ingresso.CodiceStampa.isEmpty() &&
            daCodice.compare(s.finestra, Qt::CaseInsensitive) != 0) {
            l.errore(QStringLiteral("finestra"),
                     QStringLiteral("la funzione \"%1\" apre %2, non %3")
                         .arg(s.ingresso.CodiceStampa,
                              daCodice.isEmpty() ? QStringLiteral("nessuna finestra") : daCodice,
                              s.finestra));
        }
    } else if (!s.ingresso.CodiceStampa.isEmpty()) {
        s.finestra = FinestraDaCodice(s.ingresso.CodiceStampa);
        if (s.finestra.isEmpty()) {
            l.errore(
                QStringLiteral("ingresso.funzione"),
                QStringLiteral("codice funzione sconosciuto \"%1\"").arg(s.ingresso.CodiceStampa));
        }
    } else {
        l.errore(QStringLiteral("radice"),
                 QStringLiteral("serve \"finestra\" oppure \"ingresso.funzione\""));
    }
    if (!o.contains(u"operatore"))
        l.errore(QStringLiteral("radice"), QStringLiteral("manca \"operatore\""));
    s.operatore = l.testo(o.value(u"operatore"), QStringLiteral("operatore"));
    if (o.contains(u"oggi")) {
        const QString t = l.testo(o.value(u"oggi"), QStringLiteral("oggi"));
        const auto d = ParseData(t);
        if (!d) l.errore(QStringLiteral("oggi"), QStringLiteral("data non valida \"%1\"").arg(t));
        s.oggi = *d;
    }
    if (o.contains(u"impostazioni")) {
        s.impostazioni = LeggiImpostazioni(
            l, l.oggetto(o.value(u"impostazioni"), QStringLiteral("impostazioni")));
    }
    if (o.contains(u"risposte"))
        s.risposte = LeggiRisposte(l, l.oggetto(o.value(u"risposte"), QStringLiteral("risposte")));
    if (o.contains(u"passi")) {
        const QJsonArray passi = l.lista(o.value(u"passi"), QStringLiteral("passi"));
        for (qsizetype i = 0; i < passi.size(); ++i)
            s.passi.push_back(LeggiPasso(l, passi[i], int(i + 1)));
    }
    if (o.contains(u"stampa"))
        s.stampa = LeggiStampa(l, l.oggetto(o.value(u"stampa"), QStringLiteral("stampa")));
    return s;
}

Scenario LeggiScenarioDaFile(const QString& percorso) {
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly)) {
        throw Errore(QStringLiteral("Scenario %1: impossibile leggerlo (%2)")
                         .arg(percorso, f.errorString()));
    }
    return LeggiScenario(f.readAll(), percorso);
}

}  // namespace incassi::scenario
