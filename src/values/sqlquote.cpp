#include "values/sqlquote.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

#include "values/error.h"

namespace incassi::sql {

namespace {

bool TipoVirgola(int tipo) {
    return tipo == QMetaType::Double || tipo == QMetaType::Float;
}

[[noreturn]] void NonNumerico(const QVariant& value) {
    throw Errore(QStringLiteral("Valore non numerico: '%1'").arg(value.toString()));
}

[[noreturn]] void NonIntero(const QVariant& value) {
    throw Errore(QStringLiteral("Valore non intero: '%1'").arg(Txt(value)));
}

}  // namespace

QString Raddoppia(const QString& value) {
    QString out = value;
    return out.replace(QLatin1Char('\''), QLatin1String("''"));
}

QString Testo(const QString& value) {
    return QLatin1Char('\'') + Raddoppia(value) + QLatin1Char('\'');
}

QString Contiene(const QString& value) {
    QString pattern;
    pattern.reserve(value.size() + 2);
    pattern += u'%';
    for (const QChar c : value) {
        if (c == u'%' || c == u'_' || c == u'!') pattern += u'!';
        pattern += c;
    }
    pattern += u'%';
    return Raddoppia(pattern);
}

QString Numero(double value) {
    if (!std::isfinite(value)) {
        throw Errore(QStringLiteral("Numero non valido: '%1'").arg(value));
    }
    // The plain Italian text has no grouping, so its only "," is the decimal one.
    return TestoNumero(value).replace(QLatin1Char(','), QLatin1Char('.'));
}

QString Numero(const QVariant& value) {
    if (value.isNull()) throw Errore(QStringLiteral("Valore mancante dove serve un numero"));
    const int tipo = value.typeId();
    if (tipo == QMetaType::QString) {
        const auto n = ParseNumero(value.toString());
        if (!n) NonNumerico(value);
        return Numero(*n);
    }
    if (tipo == QMetaType::Bool || TipoNumerico(tipo)) return Numero(Num(value));
    NonNumerico(value);
}

QString Interi(const QList<qlonglong>& values) {
    if (values.isEmpty()) return QStringLiteral("Null");
    QStringList elenco;
    for (const qlonglong v : values)
        elenco << QString::number(v);
    return elenco.join(u',');
}

QString Intero(const QVariant& value) {
    if (value.isNull()) throw Errore(QStringLiteral("Valore mancante dove serve un intero"));
    const int tipo = value.typeId();
    if (tipo == QMetaType::ULongLong || tipo == QMetaType::ULong) {
        return QString::number(value.toULongLong());
    }
    if (TipoIntero(tipo)) return QString::number(value.toLongLong());
    if (tipo == QMetaType::Bool) return value.toBool() ? QStringLiteral("-1") : QStringLiteral("0");
    if (TipoVirgola(tipo)) {
        // Exactly representable integers only: beyond 2^53 a double is no key.
        const double d = value.toDouble();
        constexpr double kLimite = 9007199254740992.0;
        if (!std::isfinite(d) || d != std::trunc(d) || std::fabs(d) > kLimite) NonIntero(value);
        return QString::number(static_cast<qlonglong>(d));
    }
    if (tipo == QMetaType::QString) {
        static const QRegularExpression cifre(QStringLiteral("^[+-]?[0-9]+$"));
        const QString t = value.toString().trimmed();
        bool ok = false;
        const qlonglong n = t.toLongLong(&ok);
        if (!cifre.match(t).hasMatch() || !ok) NonIntero(value);
        return QString::number(n);
    }
    NonIntero(value);
}

QString Data(const QDate& d, FormatoDataSql formato) {
    return DataSql(d, formato);
}

}  // namespace incassi::sql
