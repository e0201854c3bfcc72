#pragma once

// The suite's database, declared once: every table with its columns (type,
// maximum length, the schema version each arrived in) and its indexes. The DDL
// of each engine and the upgrade steps are generated from this declaration.

#include <QString>
#include <QStringList>
#include <vector>

#include "host/fieldtype.h"

namespace incassi {
class Database;
}

namespace incassi::schema {

// The schema version this program writes. Raise it when a column, table or
// index arrives, and declare the newcomer with dalla(<new version>).
inline constexpr int kVersioneSchema = 6;

// Table holding the version of the schema (one row).
inline constexpr const char* kTabellaVersione = "SchemaVersione";

struct Colonna {
    QString nome;
    FieldType tipo = FieldType::Unknown;
    int lunghezza = 0;  // maximum length of a Text column
    int versione = 1;   // schema version the column arrived in
    bool zero = false;  // starts at 0 rather than Null (flags always do)

    Colonna dalla(int v) const {
        Colonna c = *this;
        c.versione = v;
        return c;
    }
    Colonna inizioZero() const {
        Colonna c = *this;
        c.zero = true;
        return c;
    }
};

struct Indice {
    QString nome;
    QStringList colonne;
    bool unico = false;
    int versione = 1;
};

struct Tabella {
    QString nome;
    std::vector<Colonna> colonne;  // besides the counter key `id`
    std::vector<Indice> indici;
    int versione = 1;
    // From this schema version on an id once given is never given again, even
    // after its row is deleted (document numbers); 0: ids may be reused.
    int chiaveUnicaDalla = 0;

    const Colonna* colonna(const QString& n) const;
};

// Column helpers, so the declaration reads as a list of names and kinds.
inline Colonna Codice(const QString& n, int len = 20) {
    return {n, FieldType::Text, len};
}
inline Colonna Testo(const QString& n, int len = 100) {
    return {n, FieldType::Text, len};
}
inline Colonna Note(const QString& n) {
    return {n, FieldType::Memo};
}
inline Colonna Intero(const QString& n) {
    return {n, FieldType::Integer};
}
inline Colonna Importo(const QString& n) {  // euro, and any other real number
    return {n, FieldType::Double};
}
inline Colonna Data(const QString& n) {  // a day without time
    return {n, FieldType::Date};
}
inline Colonna Istante(const QString& n) {  // a timestamp
    return {n, FieldType::DateTime};
}
inline Colonna Flag(const QString& n) {  // 0 / -1, never Null
    return {n, FieldType::Flag, 0, 1, true};
}
inline Indice Idx(const QString& nome, const QStringList& colonne) {
    return {nome, colonne, false};
}
inline Indice Unico(const QString& nome, const QStringList& colonne) {
    return {nome, colonne, true};
}

// The whole declaration, grouped by subject.
const std::vector<Tabella>& Tabelle();
void TabelleDocumenti(std::vector<Tabella>& out);
void TabelleApparecchi(std::vector<Tabella>& out);
void TabelleLocali(std::vector<Tabella>& out);
void TabelleAnagrafiche(std::vector<Tabella>& out);
void TabelleOperatori(std::vector<Tabella>& out);

}  // namespace incassi::schema
