#include "values/dec.h"

#include <charconv>
#include <cmath>
#include <string>

#include "values/error.h"
#include "values/values.h"

namespace incassi {

namespace {

constexpr Int128 kLimite = static_cast<Int128>(1) << 100;

void Controlla(Int128 m) {
    if (m > kLimite || m < -kLimite) {
        throw Errore(QStringLiteral("Valore numerico fuori dai limiti del calcolo"));
    }
}

std::string Cifre(Int128 v) {
    if (v == 0) return "0";
    std::string s;
    while (v > 0) {
        s.insert(s.begin(), char('0' + int(v % 10)));
        v /= 10;
    }
    return s;
}

}  // namespace

Int128 Dec::DividiPari(Int128 n, Int128 d) {
    if (d < 0) {
        n = -n;
        d = -d;
    }
    Int128 q = n / d;
    Int128 r = n % d;
    if (r < 0) r = -r;
    const Int128 doppio = 2 * r;
    if (doppio > d || (doppio == d && (q % 2 != 0))) q += n < 0 ? -1 : 1;
    return q;
}

Dec Dec::DaDouble(double v) {
    if (!std::isfinite(v)) throw Errore(QStringLiteral("Valore numerico non valido"));
    if (v == 0) return Dec();
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    const std::string testo(buf, r.ptr);
    const auto e = testo.find('e');
    bool negativo = false;
    Int128 mantissa = 0;
    for (size_t i = 0; i < e; ++i) {
        if (testo[i] == '-') negativo = true;
        if (testo[i] >= '0' && testo[i] <= '9') mantissa = mantissa * 10 + (testo[i] - '0');
    }
    // value = mantissa * 10^(esponente - 14); scaled by 10^9.
    int esponente = std::stoi(testo.substr(e + 1)) - 14 + kDecimali;
    if (esponente > 20)
        throw Errore(QStringLiteral("Valore numerico fuori dai limiti del calcolo"));
    Int128 m = mantissa;
    if (esponente >= 0) {
        for (int i = 0; i < esponente; ++i)
            m *= 10;
    } else {
        Int128 p = 1;
        for (int i = 0; i < -esponente && p < kLimite; ++i)
            p *= 10;
        m = DividiPari(m, p);
    }
    Controlla(m);
    return Raw(negativo ? -m : m);
}

Dec Dec::DaCella(const QVariant& v) {
    return DaDouble(Num(v));
}

QString Dec::toString() const {
    const bool neg = m_ < 0;
    const Int128 a = neg ? -m_ : m_;
    std::string intera = Cifre(a / kScala);
    std::string frazione = Cifre(a % kScala);
    frazione.insert(frazione.begin(), size_t(kDecimali) - frazione.size(), '0');
    while (!frazione.empty() && frazione.back() == '0')
        frazione.pop_back();
    std::string s = (neg ? "-" : "") + intera + (frazione.empty() ? "" : "." + frazione);
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

double Dec::toDouble() const {
    if (m_ == 0) return 0.0;
    const QByteArray s = toString().toLatin1();
    double v = 0;
    std::from_chars(s.constData(), s.constData() + s.size(), v);
    return v;
}

Dec Dec::arrotonda(int cifre) const {
    if (cifre >= kDecimali) return *this;
    Int128 p = 1;
    for (int i = 0; i < kDecimali - cifre; ++i)
        p *= 10;
    return Raw(DividiPari(m_, p) * p);
}

Dec Dec::operator*(const Dec& o) const {
    Controlla(m_);
    Controlla(o.m_);
    // Both factors stay below 2^100 / 10^9 in practice; check the product.
    const Int128 a = m_ < 0 ? -m_ : m_, b = o.m_ < 0 ? -o.m_ : o.m_;
    if (a != 0 && b > (static_cast<Int128>(1) << 126) / a) {
        throw Errore(QStringLiteral("Valore numerico fuori dai limiti del calcolo"));
    }
    return Raw(DividiPari(m_ * o.m_, kScala));
}

Dec Dec::operator/(const Dec& o) const {
    if (o.m_ == 0) throw Errore(QStringLiteral("Divisione per zero"));
    Controlla(m_);
    return Raw(DividiPari(m_ * kScala, o.m_));
}

}  // namespace incassi
