#include "ui/elenco.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>
#include <set>

#include "values/values.h"

namespace incassi::ui {

namespace {

QString TestoCella(const QVariant& v) {
    if (v.typeId() == QMetaType::QDate) return TestoData(v.toDate());
    if (v.typeId() == QMetaType::QDateTime)
        return TestoData(v.toDateTime().date()) + v.toDateTime().toString(QStringLiteral(" hh:mm"));
    if (v.typeId() == QMetaType::Double) return TestoNumero(v.toDouble());
    return Txt(v);
}

// A cell that sorts by its value: numbers and dates in their order, texts
// without regard to case.
class Cella : public QTableWidgetItem {
  public:
    Cella(const QString& testo, const QVariant& valore) : QTableWidgetItem(testo) {
        setData(kOrdine, valore);
    }
    bool operator<(const QTableWidgetItem& altra) const override {
        const QVariant a = data(kOrdine), b = altra.data(kOrdine);
        if (IsNull(a) || IsNull(b)) return IsNull(a) && !IsNull(b);
        const bool numeri = a.typeId() != QMetaType::QString && b.typeId() != QMetaType::QString &&
                            a.canConvert<double>() && b.canConvert<double>() &&
                            a.typeId() != QMetaType::QDate && b.typeId() != QMetaType::QDate;
        if (numeri) return a.toDouble() < b.toDouble();
        if (a.typeId() == QMetaType::QDate && b.typeId() == QMetaType::QDate)
            return a.toDate() < b.toDate();
        if (a.typeId() == QMetaType::QDateTime && b.typeId() == QMetaType::QDateTime)
            return a.toDateTime() < b.toDateTime();
        return text().compare(altra.text(), Qt::CaseInsensitive) < 0;
    }

  private:
    static constexpr int kOrdine = Qt::UserRole + 1;
};

}  // namespace

DialogoElenco::DialogoElenco(const RecordSetPtr& rs, const QString& titolo,
                             const QString& campoChiave, bool sceltaMultipla, QWidget* parent)
    : QDialog(parent),
      filtro_(new QLineEdit(this)),
      tabella_(new QTableWidget(this)),
      altre_(new QLabel(this)),
      multipla_(sceltaMultipla) {
    altre_->setObjectName(QStringLiteral("lblAltre"));
    altre_->setWordWrap(true);
    altre_->hide();
    setWindowTitle(titolo);
    filtro_->setPlaceholderText(QStringLiteral("Filtra"));
    filtro_->setClearButtonEnabled(true);
    tabella_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabella_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabella_->setSelectionMode(sceltaMultipla ? QAbstractItemView::MultiSelection
                                              : QAbstractItemView::SingleSelection);
    tabella_->verticalHeader()->hide();
    tabella_->horizontalHeader()->setStretchLastSection(true);
    auto* pulsanti = new QDialogButtonBox(this);
    if (sceltaMultipla) {
        // Several rows are usually all of them: every row starts chosen.
        auto* tutti =
            pulsanti->addButton(QStringLiteral("Seleziona tutti"), QDialogButtonBox::ActionRole);
        tutti->setObjectName(QStringLiteral("SelezionaTutti"));
        connect(tutti, &QPushButton::clicked, tabella_, &QTableWidget::selectAll);
        auto* nessuno =
            pulsanti->addButton(QStringLiteral("Nessuno"), QDialogButtonBox::ActionRole);
        nessuno->setObjectName(QStringLiteral("Nessuno"));
        connect(nessuno, &QPushButton::clicked, tabella_, &QTableWidget::clearSelection);
    }
    pulsanti->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    pulsanti->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filtro_);
    layout->addWidget(tabella_, 1);
    layout->addWidget(altre_);
    layout->addWidget(pulsanti);
    connect(pulsanti, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pulsanti, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(filtro_, &QLineEdit::textChanged, this, &DialogoElenco::filtra);
    connect(tabella_, &QTableWidget::cellDoubleClicked, this, [this] {
        if (!multipla_) accept();
    });
    if (rs) carica(*rs, campoChiave);
    if (sceltaMultipla) tabella_->selectAll();
    resize(640, 420);
}

void DialogoElenco::carica(RecordSet& rs, const QString& campoChiave) {
    QStringList intestazioni;
    for (int i = 0; i < rs.FieldCount(); ++i)
        intestazioni << rs.Field(i).name;
    tabella_->setColumnCount(rs.FieldCount());
    tabella_->setHorizontalHeaderLabels(intestazioni);
    for (int i = 0; i < rs.FieldCount(); ++i)
        tabella_->horizontalHeaderItem(i)->setData(Qt::UserRole, intestazioni[i]);
    const int chiave = rs.FieldIndex(campoChiave);
    // The window's cursor is put back where it was.
    const int posizione = rs.RecordCount() > 0 ? rs.AbsolutePosition() : -1;
    int riga = 0;
    if (rs.RecordCount() > 0) rs.MoveFirst();
    while (!rs.Eof()) {
        if (riga == kRigheMostrate) {
            altre_->setText(QStringLiteral("Sono mostrate le prime %1 righe: restringere la "
                                           "ricerca per vedere le altre.")
                                .arg(FormatoNumero(kRigheMostrate, 0)));
            altre_->show();
            break;
        }
        tabella_->insertRow(riga);
        for (int i = 0; i < rs.FieldCount(); ++i)
            tabella_->setItem(riga, i, new Cella(TestoCella(rs.Value(i)), rs.Value(i)));
        if (chiave >= 0 && rs.FieldCount() > 0)
            tabella_->item(riga, 0)->setData(Qt::UserRole, Txt(rs.Value(chiave)));
        ++riga;
        rs.MoveNext();
    }
    if (posizione > 0) rs.SetAbsolutePosition(posizione);
    // Technical columns (ids, stamps) and columns with nothing in them are
    // not shown; the key column always is.
    for (int i = 0; i < rs.FieldCount(); ++i) {
        if (i == chiave) continue;
        bool vuota = riga > 0;
        for (int r = 0; r < riga && vuota; ++r)
            vuota = tabella_->item(r, i)->text().trimmed().isEmpty();
        if (intestazioni[i].startsWith(u"id", Qt::CaseInsensitive) || vuota)
            tabella_->setColumnHidden(i, true);
    }
    tabella_->resizeColumnsToContents();
    tabella_->setSortingEnabled(true);
    tabella_->horizontalHeader()->setSortIndicatorShown(false);
    connect(tabella_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this] { tabella_->horizontalHeader()->setSortIndicatorShown(true); });
}

void DialogoElenco::applicaVista(const LayoutGriglia& vista) {
    if (vista.colonne.empty()) return;
    std::vector<ColonnaLayout> colonne = vista.colonne;
    std::stable_sort(colonne.begin(), colonne.end(),
                     [](const auto& a, const auto& b) { return a.ordine < b.ordine; });
    QHeaderView* h = tabella_->horizontalHeader();
    for (int c = 0; c < tabella_->columnCount(); ++c)
        tabella_->setColumnHidden(c, true);
    int posto = 0;
    for (const ColonnaLayout& col : colonne) {
        for (int c = 0; c < tabella_->columnCount(); ++c) {
            QTableWidgetItem* testa = tabella_->horizontalHeaderItem(c);
            if (!testa ||
                testa->data(Qt::UserRole).toString().compare(col.campo, Qt::CaseInsensitive) != 0)
                continue;
            if (!col.visibile) break;
            tabella_->setColumnHidden(c, false);
            if (!col.titolo.isEmpty()) testa->setText(col.titolo);
            if (col.larghezza > 0) tabella_->setColumnWidth(c, col.larghezza);
            h->moveSection(h->visualIndex(c), posto++);
            break;
        }
    }
}

void DialogoElenco::filtra(const QString& testo) {
    const QString cerca = testo.trimmed();
    for (int r = 0; r < tabella_->rowCount(); ++r) {
        bool trovato = cerca.isEmpty();
        for (int c = 0; c < tabella_->columnCount() && !trovato; ++c) {
            const QTableWidgetItem* item = tabella_->item(r, c);
            trovato = item && item->text().contains(cerca, Qt::CaseInsensitive);
        }
        tabella_->setRowHidden(r, !trovato);
        if (!trovato) {
            for (int c = 0; c < tabella_->columnCount(); ++c) {
                if (QTableWidgetItem* item = tabella_->item(r, c)) item->setSelected(false);
            }
        }
    }
}

QString DialogoElenco::scelta() const {
    std::set<int> righe;
    const auto selezionati = tabella_->selectedItems();
    for (const QTableWidgetItem* item : selezionati) {
        if (!tabella_->isRowHidden(item->row())) righe.insert(item->row());
    }
    QString risultato;
    for (int r : righe) {
        const QTableWidgetItem* prima = tabella_->item(r, 0);
        const QString chiave = prima ? prima->data(Qt::UserRole).toString() : QString();
        if (!multipla_) return chiave;
        risultato += chiave + u'|';
    }
    return risultato;
}

}  // namespace incassi::ui
