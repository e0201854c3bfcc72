#pragma once

// The bookkeeping rows of a document (NoteRighe), held in the batch record set
// of the note grid until the save. A document has at most one row per account;
// the writers find it by account, delete it when the amount is 0, and insert it
// with the document's date, venue, id and operator otherwise. Dare and Avere
// are never negative: a negative amount lands on the other side.

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

#include "host/recordset.h"
#include "values/dec.h"

namespace incassi {

class Host;

struct DocumentoNota {
    QDate data;
    QString codLocale;
    qlonglong id = 0;  // 0 for a document not yet saved
    QString operatore;
};

// One movement a causal asks for: `dare` is the signed amount seen from the
// debit side (a negative amount is a credit).
struct Movimento {
    QString conto;
    QString descrizione;
    Dec dare;
};

class PrimaNota {
  public:
    PrimaNota(RecordSet& righe, DocumentoNota documento);

    // The two writers: the credit-side writer puts a positive amount in Avere,
    // the debit-side writer in Dare; a negative amount goes to the other side.
    void AggiornaRighePrimanotaAvere(const QString& conto, const QString& descrizione,
                                     const Dec& importo, int riga);
    void AggiornaRighePrimanotaDare(const QString& conto, const QString& descrizione,
                                    const Dec& importo, int riga);

    // Writes the movements of a causal: movements on the same account add up
    // into its one row. Rows on accounts beginning with `prefissoRicostruito`
    // (the tax section) that no movement names are removed.
    void Scrivi(const std::vector<Movimento>& movimenti,
                const QString& prefissoRicostruito = QString());

    // Debit minus credit of every row, exact to the cent.
    Dec Sbilancio();

  private:
    bool trova(const QString& conto);
    void scriviRiga(const QString& conto, const QString& descrizione, const Dec& dare, int riga);

    RecordSet& righe_;
    DocumentoNota doc_;
};

// The account of that code (without regard to case) as the chart spells it.
std::optional<QString> ContoDelPiano(Host& host, const QString& conto);
// The codes of `conti` that are not in the chart as written (without regard to
// case; a code with blanks around it is not there), in one read.
QStringList ContiSconosciuti(Host& host, const QStringList& conti);

}  // namespace incassi
