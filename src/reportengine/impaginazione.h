#pragma once

// The layout pass: a report's content cut into A4 pages of positioned texts,
// lines and shaded boxes, in millimetres. The page header repeats on every
// page, a table's header row too, and each page ends with "Pagina n di m".
// Drawing the pages (printer, PDF, preview) is a loop over what is here.
// Needs a QGuiApplication (fonts are measured).

#include <QColor>
#include <QPagedPaintDevice>
#include <QRectF>
#include <QString>
#include <vector>

#include "reports/report.h"

namespace incassi::stampa {

struct Carattere {
    double punti = 9;
    bool grassetto = false;
};

struct Elemento {
    enum class Tipo { Testo, Linea, Riempimento };
    Tipo tipo = Tipo::Testo;
    QRectF r;  // mm; a line goes from the top left to the bottom right
    QString testo;
    Carattere carattere;
    Allineamento allineamento = Allineamento::Sinistra;
    bool aCapo = false;  // the text wraps inside r
    QColor colore = Qt::black;
    double spessore = 0.2;  // lines, mm
};

struct Pagina {
    std::vector<Elemento> elementi;
};

struct Impaginato {
    QSizeF formato;  // mm
    bool orizzontale = false;
    std::vector<Pagina> pagine;
};

Impaginato Impagina(const Contenuto& c);

// Draws the pages on a printer or a PDF writer (A4, the report's orientation).
// `pagine` limits the pages drawn to an inclusive range (1-based; 0: all).
void Disegna(const Impaginato& im, QPagedPaintDevice& dispositivo, int daPagina = 0,
             int aPagina = 0);
// The PDF of the report. Throws Errore when the file cannot be written.
void ScriviPdf(const Impaginato& im, const QString& file, const QString& titolo);

}  // namespace incassi::stampa
