#pragma once

// Grid layouts and the ".grx" files that keep them. A file is a JSON document
// holding several named layouts:
//
//   { "formato": "incassi-grx", "versione": 1,
//     "layout": { "NoteIncassi": {
//         "colonne": [ { "campo": "CodLocale", "ordine": 0, "larghezza": 80,
//                        "titolo": "Locale", "visibile": true, "formato": "" } ],
//         "carattere": { "famiglia": "DejaVu Sans", "dimensione": 9 },
//         "colori": { "dispari": 16777215, "pari": 15790320 },
//         "stile": { "checkBox": true, "raggruppamento": false, ... } } } }
//
// Layout names compare without regard to case. Members missing from a layout
// take their defaults; a member of the wrong type makes the file corrupt.

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace incassi {

struct ColonnaLayout {
    QString campo;  // the record set's field shown in the column
    int ordine = 0;
    int larghezza = 0;  // pixels; 0 leaves the grid's default
    QString titolo;
    bool visibile = true;
    QString formato;  // display format, e.g. "#,##0.00" or "dd/mm/yyyy"

    bool operator==(const ColonnaLayout&) const = default;
};

struct LayoutGriglia {
    std::vector<ColonnaLayout> colonne;
    QString carattere;                       // font family, empty for the default
    double dimensione = 0;                   // font size in points, 0 for the default
    std::uint32_t coloreDispari = 0xFFFFFF;  // Windows colour values
    std::uint32_t colorePari = 0xFFFFFF;
    bool checkBox = false;  // 0 / -1 values shown as check boxes
    bool raggruppamento = false;
    bool evidenziaRiga = false;
    bool letturaFacilitata = false;
    bool spostaColonne = false;
    bool ridimensionaRighe = false;
    bool ridimensionaColonneBloccate = false;

    bool operator==(const LayoutGriglia&) const = default;
};

// Reads the layout `nome` from `file`. Nothing when the file is missing,
// unreadable or corrupt, or holds no layout of that name.
std::optional<LayoutGriglia> LeggiLayout(const QString& file, const QString& nome);
// The same, from the contents of such a file.
std::optional<LayoutGriglia> LayoutDaTesto(const QByteArray& contenuto, const QString& nome);
// The names of the layouts a file holds (empty for a missing or corrupt file).
QStringList NomiLayout(const QString& file);
// Writes the layout `nome` into `file`, keeping the file's other layouts (a
// corrupt file is replaced). The folder is created when missing; the file is
// replaced whole or not at all. Throws Errore when it cannot be written.
void ScriviLayout(const QString& file, const QString& nome, const LayoutGriglia& layout);

}  // namespace incassi
