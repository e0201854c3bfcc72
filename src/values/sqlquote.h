#pragma once

// The one quoting helper: every value concatenated into a statement of the
// classic dialect passes through these functions. Field names are checked
// against a table's columns by the host (Host::Campo).

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

#include "values/values.h"

namespace incassi::sql {

// 'text' with every single quote doubled.
QString Testo(const QString& value);
// The text with its single quotes doubled, without the surrounding quotes
// (for statements that write the quotes themselves: "codlocale='" + ... + "'").
QString Raddoppia(const QString& value);
// A LIKE pattern that matches `value` anywhere in the text: its "%", "_" and
// "!" are taken as they are (escaped with "!"), quotes doubled. The statement
// writes the quotes and "escape '!'": "campo like '" + Contiene(x) + "' escape '!'".
QString Contiene(const QString& value);
// A number written from a parsed number: "12.5", "-3", "0". Text is read by
// Italian rules first; anything that is not a number throws Errore.
QString Numero(double value);
QString Numero(const QVariant& value);
// An integer key such as an id; throws Errore when the value is not an integer.
QString Intero(const QVariant& value);
// The integer keys of an IN list, "1,2,3"; an empty list gives Null, which
// matches nothing.
QString Interi(const QList<qlonglong>& values);
// A date literal between # signs.
QString Data(const QDate& d, FormatoDataSql formato = FormatoDataSql::MeseGiornoAnnoTrattino);

}  // namespace incassi::sql
