#pragma once

// The print window: a report chosen from the module's register (or the
// operator's own), the current collection or the venue's collections of a
// period, printed through the preview or exported to Excel, PDF or Word.
// The report reads a scratch copy of the documents, never the live tables.

#include <QDate>
#include <QString>
#include <functional>

#include "reports/esportazione.h"
#include "reports/report.h"
#include "window/windowmodel.h"

namespace incassi {
class Host;
class UiPort;
}  // namespace incassi

namespace incassi::stampa {

// What the collection window hands over: its function code, the document it
// shows (0: none stored) and the venue.
struct RichiestaStampa {
    QString codiceStampa;
    qlonglong documento = 0;
    QString codLocale;
    QString insegna;
    QDate data;  // the document's day
};

// The report engine as the print window sees it.
class MotoreReport {
  public:
    virtual ~MotoreReport() = default;
    // Shows the report in the preview window, from which it is printed.
    virtual void Anteprima(const Contenuto& c) = 0;
    // Writes the report to `file` (already created, empty) in format `f`.
    virtual void Esporta(const Contenuto& c, FormatoExport f, const QString& file) = 0;
};

class FrmStampa {
  public:
    FrmStampa(Host& host, UiPort& ui, MotoreReport& motore, RichiestaStampa richiesta);

    static QString Titolo() { return QStringLiteral("Stampa"); }

    // Fills the report lists, the companies and the dates.
    void Apri();

    ModelloFinestra& finestra() { return finestra_; }
    Controllo& operator[](const QString& nome) { return finestra_[nome]; }
    // The tab shown: 0 "Stampe Base", 1 "Personalizzate".
    int scheda() const { return scheda_; }
    void setScheda(int s) { scheda_ = s == 1 ? 1 : 0; }

    // "CmdStampa", "CmdExportExcel", "CmdPdf", "CmdXls", "CmdAzzera",
    // "cmdChiudi"; false when the command did not run to its end.
    static QStringList Comandi();
    bool Esegui(const QString& comando);
    // The host's close request, polled by the timer; true when the window must close.
    bool Timer();
    bool chiusa() const { return chiusa_; }

    // What the last command made: the file exported ("" for the preview),
    // and the rows of the report.
    const QString& ultimoFile() const { return ultimoFile_; }
    // Writes `c` to the next free export file of its format and opens it with
    // its program (or says where it is); the file's path. Throws Errore.
    QString Esporta(const Contenuto& c, FormatoExport formato);
    int righeUltimoReport() const { return righe_; }

    // Called for each document copied into the scratch database; false stops
    // the command (nothing is printed or exported).
    std::function<bool(int fatti, int totale)> avanzamento;
    std::function<QDate()> orologio = [] { return QDate::currentDate(); };

  private:
    bool stampa(std::optional<FormatoExport> formato);
    // The report chosen in the visible list (the first when none is), or false
    // with a message when the list is empty.
    bool scelta(qlonglong& id);
    bool selezioneValida();

    Host& host_;
    UiPort& ui_;
    MotoreReport& motore_;
    RichiestaStampa r_;
    ModelloFinestra finestra_;
    int scheda_ = 0;
    bool chiusa_ = false;
    QString ultimoFile_;
    int righe_ = 0;
};

}  // namespace incassi::stampa
