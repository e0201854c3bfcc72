#pragma once

// Export files of a report: the names (never an earlier file's), the Excel
// workbook and the Word document. The PDF is drawn from the pages.

#include <QString>

#include "reports/report.h"

namespace incassi::stampa {

enum class FormatoExport { Excel, Pdf, Word };

// "xlsx", "pdf", "docx".
QString Estensione(FormatoExport f);
// The folder under the install folder: "export/Xls", "export/pdf", "export/Doc".
QString CartellaExport(const QString& percorso, FormatoExport f);

// The first free name `codice` + n + "." + `estensione` in `cartella` (n from
// 1), created empty so that no other export takes it in the meantime; the
// folder is created when missing. Throws Errore when nothing can be written.
QString NuovoFileExport(const QString& cartella, const QString& codice, const QString& estensione);

// A workbook of one sheet: numbers as numbers with the amount format, dates
// as dates, totals as SUBTOTAL formulas over their rows (grand totals over
// every row above, which SUBTOTAL counts once), the first table's header row
// frozen. Throws Errore when the file cannot be written.
void ScriviXlsx(const Contenuto& c, const QString& file);

// A Word document (OOXML) with the same blocks: paragraphs, and tables with
// the same columns, header rows repeated on each page.
void ScriviDocx(const Contenuto& c, const QString& file);

}  // namespace incassi::stampa
