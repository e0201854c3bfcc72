#include "window/controls.h"

#include "values/error.h"
#include "values/values.h"

namespace incassi {

QString Prefisso(const QString& nome) {
    return nome.left(3).toLower();
}

TipoControllo TipoDaNome(const QString& nome) {
    if (nome.startsWith(QStringLiteral("Griglia"), Qt::CaseInsensitive))
        return TipoControllo::Griglia;
    const QString p = Prefisso(nome);
    auto in = [&](std::initializer_list<const char*> lista) {
        for (const char* s : lista)
            if (p == QLatin1String(s)) return true;
        return false;
    };
    if (in({"lll", "eti", "ati"})) return TipoControllo::Etichetta;
    if (p == u"lis") return TipoControllo::Lista;
    if (p == u"txe") return TipoControllo::Ricerca;
    if (in({"txt", "axt", "axe", "txl", "ttt"})) return TipoControllo::Testo;
    if (in({"cmb", "cmi", "amb", "ami"})) return TipoControllo::Combo;
    if (p == u"cmg") return TipoControllo::ComboEditabile;
    if (in({"chk", "ahk", "che", "ahe"})) return TipoControllo::Check;
    if (p == u"tdb") return TipoControllo::Griglia;
    return TipoControllo::Altro;
}

QString NomeColonna(const QString& nome) {
    return nome.mid(3);
}

Controllo::Controllo(QString nome) : nome_(std::move(nome)), tipo_(TipoDaNome(nome_)) {}

bool Controllo::chiamato(const QString& nome) const {
    return nome_.compare(nome, Qt::CaseInsensitive) == 0;
}

QString Controllo::text() const {
    switch (tipo_) {
        case TipoControllo::Etichetta:
            return s_.caption;
        case TipoControllo::Check:
            return QString::number(s_.checked);
        case TipoControllo::Combo:
        case TipoControllo::ComboEditabile:
        case TipoControllo::Lista:
            if (s_.listIndex >= 0) return s_.elementi[size_t(s_.listIndex)].testo;
            return editabile() ? s_.testo : QString();
        default:
            return s_.testo;
    }
}

void Controllo::setText(const QString& testo) {
    switch (tipo_) {
        case TipoControllo::Etichetta:
            s_.caption = testo;
            return;
        case TipoControllo::Check:
            setChecked(Flag(testo));
            return;
        case TipoControllo::Combo:
        case TipoControllo::ComboEditabile:
        case TipoControllo::Lista:
            s_.listIndex = -1;
            for (size_t i = 0; i < s_.elementi.size(); ++i) {
                if (s_.elementi[i].testo.compare(testo, Qt::CaseInsensitive) == 0) {
                    s_.listIndex = int(i);
                    break;
                }
            }
            s_.testo = editabile() ? testo : QString();
            break;
        default:
            s_.testo = testo;
    }
    togliEvidenza();
}

void Controllo::togliEvidenza() {
    if (s_.tag.isEmpty() || (s_.backColor != colori::Rosso && s_.backColor != colori::Giallo))
        return;
    const bool elenco = tipo_ == TipoControllo::Combo || tipo_ == TipoControllo::ComboEditabile ||
                        tipo_ == TipoControllo::Lista;
    if (!s_.testo.trimmed().isEmpty() || (elenco && s_.listIndex >= 0))
        s_.backColor = colori::Normale;
}

QVariant Controllo::value() const {
    switch (tipo_) {
        case TipoControllo::Check:
            return s_.checked;
        case TipoControllo::Combo:
        case TipoControllo::ComboEditabile:
        case TipoControllo::Lista:
            if (s_.listIndex >= 0) {
                const ElementoLista& e = s_.elementi[size_t(s_.listIndex)];
                return e.dato.isValid() ? e.dato : QVariant(e.testo);
            }
            return editabile() ? QVariant(s_.testo) : QVariant();
        default:
            return text();
    }
}

void Controllo::setValue(const QVariant& valore) {
    switch (tipo_) {
        case TipoControllo::Check:
            setChecked(Flag(valore));
            return;
        case TipoControllo::Combo:
        case TipoControllo::ComboEditabile:
        case TipoControllo::Lista:
            if (!selezionaPerValore(valore) && editabile()) s_.testo = Txt(valore);
            return;
        default:
            setText(Txt(valore));
    }
}

void Controllo::aggiungiElemento(const QString& testo, const QVariant& dato) {
    s_.elementi.push_back({testo, dato});
}

void Controllo::svuotaElementi() {
    s_.elementi.clear();
    s_.listIndex = -1;
}

void Controllo::setListIndex(int i) {
    if (i < -1 || i >= int(s_.elementi.size())) {
        throw Errore(QStringLiteral("%1: elemento %2 inesistente").arg(nome_, QString::number(i)));
    }
    s_.listIndex = i;
    togliEvidenza();
}

namespace {

bool Uguali(const QVariant& a, const QVariant& b) {
    if (IsNull(a) || IsNull(b)) return false;
    const bool numeri = a.typeId() != QMetaType::QString || b.typeId() != QMetaType::QString;
    if (numeri) {
        const auto na = a.typeId() == QMetaType::QString ? ParseNumero(a.toString())
                                                         : std::optional<double>(Num(a));
        const auto nb = b.typeId() == QMetaType::QString ? ParseNumero(b.toString())
                                                         : std::optional<double>(Num(b));
        if (na && nb) return *na == *nb;
    }
    return Txt(a).compare(Txt(b), Qt::CaseInsensitive) == 0;
}

}  // namespace

bool Controllo::selezionaPerValore(const QVariant& valore) {
    s_.listIndex = -1;
    for (size_t i = 0; i < s_.elementi.size(); ++i) {
        const ElementoLista& e = s_.elementi[i];
        if (Uguali(e.testo, valore) || Uguali(e.dato, valore)) {
            s_.listIndex = int(i);
            togliEvidenza();
            return true;
        }
    }
    return false;
}

}  // namespace incassi
