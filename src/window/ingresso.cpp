#include "window/ingresso.h"

#include "values/values.h"

namespace incassi {

RecordOperatore RecordOperatore::Da(RecordSet& rs) {
    RecordOperatore r;
    if (rs.Eof()) return r;
    r.trovato = true;
    r.codiceditta = rs.Value(QStringLiteral("codiceditta"));
    r.accessocompleto = Flag(rs.Value(QStringLiteral("accessocompleto")));
    return r;
}

bool RecordOperatore::ristretto() const {
    return trovato && !accessocompleto && !IsNull(codiceditta);
}

QString RecordOperatore::azienda() const {
    return Txt(codiceditta);
}

}  // namespace incassi
