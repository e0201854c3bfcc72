#pragma once

// A record set as a Qt table model, with the columns of a grid layout (order,
// captions, widths, visibility, formats). The rows are read once per
// Ricarica, so showing them never moves the record set's cursor, which is the
// window's current row. An edited cell is parsed the Italian way, written to
// the record set on that row, then announced with its column, so that the
// window recalculates.

#include <QAbstractTableModel>
#include <QHash>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>
#include <optional>

#include "host/recordset.h"
#include "window/gridlayout.h"

namespace incassi::ui {

// How a grid shows a value: by the column's format ("#.##0,00", "#,##0.00",
// "0", "dd/mm/yyyy"), or by the field's type when there is none. Null is "".
QString TestoCella(const QVariant& valore, FieldType tipo, const QString& formato);
// A typed text as a value of the field's type: numbers by Italian rules, dates
// as dd/mm/yyyy; the empty text is Null. Nothing when the text does not fit.
std::optional<QVariant> ValoreDaTesto(const QString& testo, FieldType tipo);
// Numbers and amounts are right-aligned.
bool TipoNumerico(FieldType tipo);

class ModelloRecordset : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit ModelloRecordset(QObject* parent = nullptr);

    const RecordSetPtr& recordset() const { return rs_; }
    // A new record set or layout resets the model.
    void setRecordset(RecordSetPtr rs);
    void setLayout(const LayoutGriglia& layout);
    const LayoutGriglia& layoutGriglia() const { return layout_; }
    // Cells are editable only while the window edits a document.
    void setModificabile(bool on) { modificabile_ = on; }
    bool modificabile() const { return modificabile_; }

    // Reads the rows again (after the window changed them).
    void Ricarica();

    // The field shown in a column; -1 / "" when out of range.
    QString campo(int colonna) const;
    int colonnaDi(const QString& campo) const;
    int larghezza(int colonna) const;
    // The row the record set's cursor stands on (0-based), -1 when none.
    int rigaCorrente() const;
    // Moves the record set's cursor to a row.
    void vaiARiga(int riga);

    // Called after an edited value was written to the current row.
    // A cell was edited: its field and the value it had before.
    std::function<void(const QString& campo, const QVariant& prima)> cellaModificata;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  private:
    struct Colonna {
        QString campo;
        QString titolo;
        QString formato;
        int larghezza = 0;
        int indice = -1;  // field index in the record set
        FieldType tipo = FieldType::Unknown;
        bool scrivibile = false;
    };
    void costruisciColonne();
    void leggiRighe();
    bool casella(const Colonna& c) const;

    RecordSetPtr rs_;
    LayoutGriglia layout_;
    std::vector<Colonna> colonne_;
    std::vector<std::vector<QVariant>> righe_;
    bool modificabile_ = false;
};

// The editor of a grid's cells: numbers right-aligned, the "." key turned
// into the decimal comma in the numeric columns, and Enter announced with the
// column once the value is written.
class DelegatoCella : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit DelegatoCella(ModelloRecordset& modello, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

  Q_SIGNALS:
    void invio(const QString& campo);

  protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

  private:
    ModelloRecordset& modello_;
};

// A grid over a record set: the adapter, its editor, the layout's widths and
// font, and the current row kept on the record set's cursor.
class GrigliaRecordset : public QTableView {
    Q_OBJECT
  public:
    explicit GrigliaRecordset(QWidget* parent = nullptr);

    ModelloRecordset& modello() { return modello_; }
    DelegatoCella& delegato() { return delegato_; }
    // Applies the layout's widths and font and selects the cursor's row.
    void applicaLayout();
    void selezionaRigaCorrente();
    // Enter's move: the next cell that can be edited in the row, then the
    // first one of the next row; nothing past the last.
    void avanzaCella();
    // Widens the columns whose cells would be cut (descriptions excepted:
    // their tooltip shows them whole).
    void adattaColonne();
    // The widths the user gave columns by dragging, by field, as a text to keep
    // ("campo=larghezza;..."); set back, they apply over the layout's widths.
    QString larghezzeUtente() const;
    void setLarghezzeUtente(const QString& testo);
    // F2 in a column: the list of that column's values, when this answers
    // true; otherwise F2 edits the cell as usual.
    std::function<bool(const QString& campo)> elencoColonna;

  Q_SIGNALS:
    // The user moved to another row (the cursor already stands on it).
    void rigaCambiata();
    // Enter in a column while no cell is edited, or after an edit.
    void invio(const QString& campo);

  protected:
    void keyPressEvent(QKeyEvent* evento) override;

  private:
    ModelloRecordset modello_;
    DelegatoCella delegato_;
    bool selezionando_ = false;
    bool adattando_ = false;               // widths set by the program, not the user
    QHash<QString, int> larghezzeUtente_;  // lower-case field -> width
    void applicaLarghezzeUtente();
};

}  // namespace incassi::ui
