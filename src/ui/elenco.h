#pragma once

// The pick list: the rows of a record set in a table with a filter box above.
// One row or several can be chosen (several start all chosen, with "Seleziona
// tutti" and "Nessuno"); the result is the key field of the chosen row, or of
// every chosen row each followed by "|", or "" when none. Ids, stamps and
// empty columns are not shown, unless the list has a saved view: then its
// columns and captions. A click on a heading sorts by that column (numbers as
// numbers, dates as dates). The search dialog is the same list with a caption
// and the field it returns.

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include "host/recordset.h"
#include "window/gridlayout.h"

namespace incassi::ui {

class DialogoElenco : public QDialog {
    Q_OBJECT
  public:
    // A list longer than this shows its first rows and says that more exist:
    // a table of hundreds of thousands of rows freezes the window and helps nobody.
    static constexpr int kRigheMostrate = 10000;

    DialogoElenco(const RecordSetPtr& rs, const QString& titolo, const QString& campoChiave,
                  bool sceltaMultipla, QWidget* parent = nullptr);

    QLineEdit* filtro() { return filtro_; }
    QTableWidget* tabella() { return tabella_; }
    // Shows only the rows holding `testo` in some column (without regard to case).
    void filtra(const QString& testo);
    // The chosen keys, as described above; hidden rows are never chosen.
    QString scelta() const;
    // The columns, captions, order and widths of a saved view of the list;
    // columns the view does not name are hidden.
    void applicaVista(const LayoutGriglia& vista);

  private:
    void carica(RecordSet& rs, const QString& campoChiave);

    QLineEdit* filtro_;
    QTableWidget* tabella_;
    QLabel* altre_;  // says that rows past kRigheMostrate are not shown
    bool multipla_;
};

}  // namespace incassi::ui
