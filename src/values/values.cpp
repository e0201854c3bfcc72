#include "values/values.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <string>

#include "values/error.h"

namespace incassi {

namespace {

// A decimal number as exact digits: (-1)^negativo * cifre * 10^esponente.
// `cifre` has no leading or trailing zeros; zero is the empty string.
struct Decimale {
    bool negativo = false;
    std::string cifre;
    int esponente = 0;
};

void TogliZeri(Decimale& d) {
    const auto primo = d.cifre.find_first_not_of('0');
    if (primo == std::string::npos) {
        d = Decimale{};
        return;
    }
    d.cifre.erase(0, primo);
    const auto ultimo = d.cifre.find_last_not_of('0');
    d.esponente += static_cast<int>(d.cifre.size() - 1 - ultimo);
    d.cifre.erase(ultimo + 1);
}

// The value as a person reads it: 15 significant digits, which hides the
// binary error of values such as 2.675 (stored as 2.67499999...).
Decimale Quindici(double value) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    const std::string testo(buf, r.ptr);
    Decimale d;
    std::size_t i = 0;
    if (testo[i] == '-') {
        d.negativo = true;
        ++i;
    }
    const auto e = testo.find('e', i);
    for (; i < e; ++i) {
        if (testo[i] != '.') d.cifre.push_back(testo[i]);
    }
    d.esponente = std::stoi(testo.substr(e + 1)) - 14;
    TogliZeri(d);
    return d;
}

// Half-to-even rounding at `digits` decimals, done on the digits themselves.
Decimale Arrotonda(Decimale d, int digits) {
    if (d.cifre.empty() || d.esponente >= -digits) return d;
    const long long togliere = static_cast<long long>(-digits) - d.esponente;
    const auto lunghezza = static_cast<long long>(d.cifre.size());
    if (togliere > lunghezza) return Decimale{};

    const auto tenute = static_cast<std::size_t>(lunghezza - togliere);
    const char prima = d.cifre[tenute];
    const bool resto = d.cifre.find_first_not_of('0', tenute + 1) != std::string::npos;
    const bool dispari = tenute > 0 && (d.cifre[tenute - 1] - '0') % 2 == 1;
    const bool suPiu = prima > '5' || (prima == '5' && (resto || dispari));

    d.cifre.erase(tenute);
    d.esponente = -digits;
    if (suPiu) {
        auto i = d.cifre.size();
        while (i > 0 && d.cifre[i - 1] == '9')
            d.cifre[--i] = '0';
        if (i == 0) {
            d.cifre.insert(d.cifre.begin(), '1');
        } else {
            ++d.cifre[i - 1];
        }
    }
    TogliZeri(d);
    return d;
}

std::optional<double> ComeDouble(const Decimale& d) {
    if (d.cifre.empty()) return 0.0;
    const std::string testo = (d.negativo ? "-" : "") + d.cifre + "e" + std::to_string(d.esponente);
    double valore = 0;
    const auto r = std::from_chars(testo.data(), testo.data() + testo.size(), valore);
    if (r.ec != std::errc{}) return std::nullopt;
    return valore;
}

// Plain text of the number, at least `decimali` decimals, optionally with "."
// grouping thousands. Zero is never negative here, so it gets no sign.
QString Testo(const Decimale& d, int decimali, QChar virgola, bool gruppi) {
    std::string intera;
    std::string frazione;
    const auto lunghezza = static_cast<long long>(d.cifre.size());
    if (d.cifre.empty()) {
        intera = "0";
    } else if (d.esponente >= 0) {
        intera = d.cifre + std::string(static_cast<std::size_t>(d.esponente), '0');
    } else if (-d.esponente >= lunghezza) {
        intera = "0";
        frazione = std::string(static_cast<std::size_t>(-d.esponente - lunghezza), '0') + d.cifre;
    } else {
        const auto taglio = static_cast<std::size_t>(lunghezza + d.esponente);
        intera = d.cifre.substr(0, taglio);
        frazione = d.cifre.substr(taglio);
    }
    if (static_cast<int>(frazione.size()) < decimali) {
        frazione.append(static_cast<std::size_t>(decimali) - frazione.size(), '0');
    }

    QString out;
    if (d.negativo) out += QLatin1Char('-');
    for (std::size_t i = 0; i < intera.size(); ++i) {
        if (gruppi && i > 0 && (intera.size() - i) % 3 == 0) out += QLatin1Char('.');
        out += QLatin1Char(intera[i]);
    }
    if (!frazione.empty()) {
        out += virgola;
        out += QString::fromLatin1(frazione.data(), static_cast<qsizetype>(frazione.size()));
    }
    return out;
}

bool Cifra(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The currency prefixes a typed amount may start with, longest first.
const QString kPrefissi[] = {QStringLiteral("€."), QStringLiteral("€"), QStringLiteral("E."),
                             QStringLiteral("L."), QStringLiteral("L")};

}  // namespace

bool TipoIntero(int tipo) {
    switch (tipo) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
            return true;
        default:
            return false;
    }
}

bool TipoNumerico(int tipo) {
    return TipoIntero(tipo) || tipo == QMetaType::Double || tipo == QMetaType::Float;
}

bool IsNull(const QVariant& v) {
    return v.isNull();
}

bool IsNullOrEmpty(const QVariant& v) {
    if (v.isNull()) return true;
    return v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty();
}

QVariant NullAZero(const QVariant& v) {
    return IsNullOrEmpty(v) ? QVariant(0) : v;
}

QVariant NullAVuoto(const QVariant& v) {
    return v.isNull() ? QVariant(QStringLiteral("")) : v;
}

QVariant RoundCell(const QVariant& v, int digits) {
    if (IsNullOrEmpty(v)) return QVariant(QStringLiteral(""));
    return QVariant(Round(Num(v), digits));
}

double Num(const QVariant& v) {
    if (v.isNull()) return 0;
    const int tipo = v.typeId();
    if (tipo == QMetaType::Bool) return v.toBool() ? -1 : 0;
    if (tipo == QMetaType::QString) return ParseNumero(v.toString()).value_or(0);
    if (TipoNumerico(tipo)) return v.toDouble();
    return 0;
}

QString Txt(const QVariant& v) {
    if (v.isNull()) return QString();
    switch (v.typeId()) {
        case QMetaType::QDate:
            return TestoData(v.toDate());
        case QMetaType::Double:
        case QMetaType::Float:
            return TestoNumero(v.toDouble());
        default:
            return v.toString();
    }
}

bool Flag(const QVariant& v) {
    if (v.isNull()) return false;
    const int tipo = v.typeId();
    if (tipo == QMetaType::Bool) return v.toBool();
    if (tipo == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
            t.compare(QLatin1String("vero"), Qt::CaseInsensitive) == 0) {
            return true;
        }
        const auto n = ParseNumero(t);
        return n && *n != 0;
    }
    if (TipoNumerico(tipo)) {
        const double n = v.toDouble();
        return n != 0 && !std::isnan(n);
    }
    return false;
}

double Round(double value, int digits) {
    if (!std::isfinite(value)) return value;
    const auto r = ComeDouble(Arrotonda(Quindici(value), digits));
    // Only the largest doubles can round past the range; they stay as they are.
    if (!r) return value;
    return *r == 0 ? 0.0 : *r;
}

std::optional<double> ParseNumero(const QString& text) {
    QString t = text.trimmed();
    for (const QString& p : kPrefissi) {
        if (t.startsWith(p, Qt::CaseInsensitive)) {
            t = t.mid(p.size()).trimmed();
            break;
        }
    }

    std::string numero;
    qsizetype i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) {
        if (t[i] == QLatin1Char('-')) numero.push_back('-');
        ++i;
    }

    // Integer part: digits, with "." only between complete groups of three.
    int gruppo = 0;
    bool puntoVisto = false;
    bool cifre = false;
    for (; i < t.size() && t[i] != QLatin1Char(','); ++i) {
        const QChar c = t[i];
        if (Cifra(c)) {
            numero.push_back(static_cast<char>(c.unicode()));
            ++gruppo;
            cifre = true;
        } else if (c == QLatin1Char('.')) {
            if (gruppo == 0 || gruppo > 3 || (puntoVisto && gruppo != 3)) return std::nullopt;
            puntoVisto = true;
            gruppo = 0;
        } else {
            return std::nullopt;
        }
    }
    if (puntoVisto && gruppo != 3) return std::nullopt;

    if (i < t.size()) {  // the decimal comma
        numero.push_back('.');
        for (++i; i < t.size(); ++i) {
            if (!Cifra(t[i])) return std::nullopt;
            numero.push_back(static_cast<char>(t[i].unicode()));
            cifre = true;
        }
    }
    if (!cifre) return std::nullopt;

    double valore = 0;
    const auto r = std::from_chars(numero.data(), numero.data() + numero.size(), valore);
    if (r.ec != std::errc{} || r.ptr != numero.data() + numero.size()) return std::nullopt;
    return valore == 0 ? 0.0 : valore;
}

QString TestoImporto(const QString& input, const QString& valuta) {
    const QString t = input.trimmed();
    for (const QChar c : t) {
        if (c == QLatin1Char('L') || c == QLatin1Char('l') || c == QLatin1Char('E') ||
            c == QLatin1Char('e') || c == QChar(u'\u20AC')) {
            return t;
        }
    }

    const bool lire = valuta.trimmed().compare(QLatin1String("L"), Qt::CaseInsensitive) == 0;
    QString s = t;
    // A lone "." typed in a euro amount is the decimal point; lire have no
    // decimals, so there it groups thousands.
    if (!lire && !s.contains(QLatin1Char(',')) && s.count(QLatin1Char('.')) == 1) {
        s.replace(QLatin1Char('.'), QLatin1Char(','));
    }
    const auto numero = ParseNumero(s);
    if (!numero) return t;

    if (lire) {
        Decimale d = Arrotonda(Quindici(*numero), 0);
        // A short figure such as "5" or "150" is an amount in millions.
        qsizetype cifre = 0;
        for (const QChar c : s)
            cifre += Cifra(c) ? 1 : 0;
        if (!s.contains(QLatin1Char(',')) && cifre <= 3 && !d.cifre.empty()) d.esponente += 6;
        return QStringLiteral("L. ") + Testo(d, 0, QLatin1Char(','), true);
    }
    return QStringLiteral("€. ") +
           Testo(Arrotonda(Quindici(*numero), 2), 2, QLatin1Char(','), true);
}

std::optional<double> LeggiImporto(const QString& testo, const QString& valuta) {
    return ParseNumero(TestoImporto(testo, valuta));
}

QString FormatoNumero(double value, int decimals, bool groupThousands) {
    if (!std::isfinite(value)) return QString();
    return Testo(Arrotonda(Quindici(value), decimals), decimals, QLatin1Char(','), groupThousands);
}

QString TestoNumero(double value) {
    if (!std::isfinite(value)) return QString();
    return Testo(Quindici(value), 0, QLatin1Char(','), false);
}

bool CodiceTra(const QString& codice, std::initializer_list<const char*> codici) {
    const QString c = codice.trimmed();
    for (const char* k : codici) {
        if (c.compare(QLatin1String(k), Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

QString TestoData(const QDate& d) {
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QDate PrimaDataDocumento() {
    return QDate(1990, 1, 1);
}

QDate UltimaDataDocumento() {
    return QDate(2100, 12, 31);
}

bool DataPlausibile(const QDate& d) {
    return d.isValid() && d >= PrimaDataDocumento() && d <= UltimaDataDocumento();
}

QString MessaggioDataNonValida(const QString& testo) {
    return QStringLiteral("La data \"%1\" non è valida: scrivere una data fra il %2 e il %3.")
        .arg(testo.trimmed(), TestoData(PrimaDataDocumento()), TestoData(UltimaDataDocumento()));
}

std::optional<QDate> ParseData(const QString& text) {
    static const QRegularExpression italiana(
        QStringLiteral("^([0-9]{1,2})/([0-9]{1,2})/([0-9]{4})$"));
    static const QRegularExpression iso(QStringLiteral("^([0-9]{4})-([0-9]{2})-([0-9]{2})$"));
    const QString t = text.trimmed();
    QDate d;
    if (const auto m = italiana.match(t); m.hasMatch()) {
        d = QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    } else if (const auto n = iso.match(t); n.hasMatch()) {
        d = QDate(n.captured(1).toInt(), n.captured(2).toInt(), n.captured(3).toInt());
    }
    if (!d.isValid()) return std::nullopt;
    return d;
}

QString DataSql(const QDate& d, FormatoDataSql formato) {
    if (!d.isValid()) throw Errore(QStringLiteral("Data non valida per l'istruzione SQL"));
    const QString anno = QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0'));
    const QString mese = QStringLiteral("%1").arg(d.month(), 2, 10, QLatin1Char('0'));
    const QString giorno = QStringLiteral("%1").arg(d.day(), 2, 10, QLatin1Char('0'));
    switch (formato) {
        case FormatoDataSql::MeseGiornoAnnoBarra:
            return QStringLiteral("#%1/%2/%3#").arg(mese, giorno, anno);
        case FormatoDataSql::AnnoMeseGiorno:
            return QStringLiteral("#%1-%2-%3#").arg(anno, mese, giorno);
        case FormatoDataSql::MeseGiornoAnnoTrattino:
            break;
    }
    return QStringLiteral("#%1-%2-%3#").arg(mese, giorno, anno);
}

}  // namespace incassi
