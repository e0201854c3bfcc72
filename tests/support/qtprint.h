#pragma once

// Readable Qt values and amounts in test failure messages.

#include <QString>
#include <QVariant>
#include <ostream>

#include "values/dec.h"

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QVariant& v, std::ostream* os) {
    *os << v.toString().toStdString();
}

namespace incassi {
inline void PrintTo(const Dec& d, std::ostream* os) {
    *os << d.toString().toStdString();
}
}  // namespace incassi
