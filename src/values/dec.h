#pragma once

// An exact decimal number for the money arithmetic of the calculations:
// a fixed point with nine decimals. Values enter through their 15-digit decimal
// reading (so 2.675 is 2.675, not 2.67499999...), sums and products are exact,
// and rounding happens only where a formula rounds, half-to-even.

#include <QString>
#include <QVariant>
#include <compare>

namespace incassi {

__extension__ typedef __int128 Int128;

class Dec {
  public:
    static constexpr int kDecimali = 9;

    constexpr Dec() = default;
    // Whole numbers convert implicitly so formulas read naturally: x * 100.
    constexpr Dec(int v) : m_(static_cast<Int128>(v) * kScala) {}  // NOLINT

    static Dec DaDouble(double v);
    // A cell or field: Null and empty count as 0, text is read by Italian rules
    // (text that is not a number counts as 0).
    static Dec DaCella(const QVariant& v);

    double toDouble() const;
    QString toString() const;  // plain text with "." decimals, e.g. "-12.5"

    Dec arrotonda(int cifre) const;  // half-to-even
    bool zero() const { return m_ == 0; }
    bool negativo() const { return m_ < 0; }

    Dec operator-() const { return Raw(-m_); }
    Dec operator+(const Dec& o) const { return Raw(m_ + o.m_); }
    Dec operator-(const Dec& o) const { return Raw(m_ - o.m_); }
    Dec operator*(const Dec& o) const;
    // Division rounds half-to-even at nine decimals; dividing by 0 throws Errore.
    Dec operator/(const Dec& o) const;
    Dec& operator+=(const Dec& o) { return *this = *this + o; }
    Dec& operator-=(const Dec& o) { return *this = *this - o; }
    auto operator<=>(const Dec& o) const = default;
    bool operator==(const Dec& o) const = default;

  private:
    static constexpr Int128 kScala = 1000000000;
    static Dec Raw(Int128 m) {
        Dec d;
        d.m_ = m;
        return d;
    }
    // Divides n by d rounding half-to-even.
    static Int128 DividiPari(Int128 n, Int128 d);

    Int128 m_ = 0;  // the value times 10^9
};

}  // namespace incassi
