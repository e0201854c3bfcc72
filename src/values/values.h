#pragma once

// Helpers for the two empty states of a value: Null (a database Null, an
// isNull() QVariant) and Empty (nothing typed: an empty text). Business code
// reads every database field and grid cell through these, never by hand.

#include <QDate>
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <optional>

namespace incassi {

// True for a database Null (an invalid QVariant or a typed null value).
bool IsNull(const QVariant& v);
// True for Null or an empty (or blank) text.
bool IsNullOrEmpty(const QVariant& v);

// Value or zero: Null or empty text gives the number 0; anything else unchanged.
QVariant NullAZero(const QVariant& v);
// Text or empty: Null gives the empty text; anything else unchanged.
QVariant NullAVuoto(const QVariant& v);
// Null gives Empty (an empty text), an empty text stays empty text,
// anything else gives its number rounded half-to-even to `digits` decimals.
QVariant RoundCell(const QVariant& v, int digits);

// Whether a QVariant's type (its typeId) holds a whole number, or any number.
bool TipoIntero(int tipo);
bool TipoNumerico(int tipo);

// A cell or field as a number: Null and empty count as 0; text is read by
// Italian rules; a text that is not a number counts as 0.
double Num(const QVariant& v);
// A cell or field as text: Null gives "".
QString Txt(const QVariant& v);
// Flags are 0 / -1 in the database; any non-zero number or "true" is true.
bool Flag(const QVariant& v);

// Rounds half-to-even on the decimal value a person reads: the binary error is
// corrected first (the value is taken at 15 significant digits), then the
// decimal digits are rounded. 0.125 -> 0.12, 0.135 -> 0.14, 2.675 -> 2.68.
double Round(double value, int digits = 2);

// Text to number by Italian rules: "," is the decimal separator, "." groups
// thousands. Accepts a leading "-" or "+", surrounding blanks, and the currency
// prefixes "€.", "€", "E.", "L." and "L". Returns nullopt when the text is not
// a number (the empty text is not a number).
std::optional<double> ParseNumero(const QString& text);

// Normalises an amount typed by the user. `valuta` is "e"/"E" for euro or
// "L"/"l" for lire. An input that already holds "L", "E" or "€" comes back
// unchanged (trimmed). Euro: "€. " prefix, "-" sign, "." thousands, "," and two
// decimals, rounded half-to-even. Lire: "L. " prefix, whole lire with "."
// thousands; a short figure (at most three digits, no decimals) is taken in
// millions and gets ".000.000". A lone "." typed as decimal point counts as ",".
// A text that holds no number comes back unchanged. The result always reads
// back through ParseNumero as the amount it shows.
QString TestoImporto(const QString& input, const QString& valuta);

// An amount as the collector typed it, read the one way every amount field is
// read: the text TestoImporto makes of it, then its number ("1.5" and "1.500"
// typed in euro are the decimal point: 1,5 and 1,50; "1.000,5" is 1000,5).
std::optional<double> LeggiImporto(const QString& testo,
                                   const QString& valuta = QStringLiteral("e"));

// Number shown the Italian way, e.g. 1234.5 -> "1.234,50" with 2 decimals.
QString FormatoNumero(double value, int decimals = 2, bool groupThousands = true);
// Number as a plain text without grouping: 0 -> "0", -12.5 -> "-12,5".
QString TestoNumero(double value);

// Whether a code (causal, column name) is one of `codici`, without regard to
// case or surrounding blanks.
bool CodiceTra(const QString& codice, std::initializer_list<const char*> codici);

// Dates shown as dd/mm/yyyy; read from dd/mm/yyyy, d/m/yyyy or yyyy-mm-dd.
QString TestoData(const QDate& d);
std::optional<QDate> ParseData(const QString& text);

// The days a document may carry: from 1990 to 2100. A date outside them is a
// typing slip (a missing digit, a wrong century), never a collection.
QDate PrimaDataDocumento();
QDate UltimaDataDocumento();
bool DataPlausibile(const QDate& d);
// The message for a document date that is not a date or not plausible.
QString MessaggioDataNonValida(const QString& testo);

// The three date literal forms of the classic SQL dialect.
enum class FormatoDataSql { MeseGiornoAnnoTrattino, MeseGiornoAnnoBarra, AnnoMeseGiorno };
// #mm-dd-yyyy#, #mm/dd/yyyy# or #yyyy-mm-dd#.
QString DataSql(const QDate& d, FormatoDataSql formato = FormatoDataSql::MeseGiornoAnnoTrattino);

}  // namespace incassi
