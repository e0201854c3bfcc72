#include "ui/modellorecordset.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <algorithm>

#include "machines/dispatch.h"
#include "ui/colori.h"
#include "values/error.h"
#include "values/values.h"

namespace incassi::ui {

namespace {

// The decimals and grouping a numeric format asks for. The decimal separator
// is the last of "." and ",": in "#.##0,00" and "#,##0.00" alike. A lone "."
// or "," followed by exactly three placeholders after a "#" only groups.
struct FormatoNumerico {
    int decimali = 0;
    bool raggruppa = false;
};

std::optional<FormatoNumerico> LeggiFormato(const QString& formato) {
    if (formato.isEmpty() || !(formato.contains(u'0') || formato.contains(u'#'))) return {};
    for (const QChar c : formato) {
        if (c != u'0' && c != u'#' && c != u'.' && c != u',') return {};
    }
    const int punto = int(formato.lastIndexOf(u'.'));
    const int virgola = int(formato.lastIndexOf(u','));
    FormatoNumerico f;
    int separatore = std::max(punto, virgola);
    if (separatore < 0) return f;
    const bool entrambi = punto >= 0 && virgola >= 0;
    const int dopo = int(formato.size()) - separatore - 1;
    if (!entrambi && dopo == 3 && formato.startsWith(u'#')) {
        f.raggruppa = true;
        return f;
    }
    f.decimali = dopo;
    f.raggruppa = entrambi;
    return f;
}

}  // namespace

bool TipoNumerico(FieldType tipo) {
    return tipo == FieldType::Integer || tipo == FieldType::Double;
}

QString TestoCella(const QVariant& valore, FieldType tipo, const QString& formato) {
    if (IsNull(valore)) return QString();
    if (formato.compare(u"dd/mm/yyyy", Qt::CaseInsensitive) == 0 || tipo == FieldType::Date) {
        const QDate d = valore.typeId() == QMetaType::QDate
                            ? valore.toDate()
                            : ParseData(Txt(valore)).value_or(QDate());
        if (d.isValid()) return TestoData(d);
    }
    if (const auto f = LeggiFormato(formato)) {
        if (IsNullOrEmpty(valore)) return QString();
        return FormatoNumero(Num(valore), f->decimali, f->raggruppa);
    }
    switch (tipo) {
        case FieldType::Integer:
        case FieldType::Double:
            return IsNullOrEmpty(valore) ? QString() : TestoNumero(Num(valore));
        case FieldType::Flag:
            return Flag(valore) ? QStringLiteral("Sì") : QStringLiteral("No");
        default:
            return Txt(valore);
    }
}

std::optional<QVariant> ValoreDaTesto(const QString& testo, FieldType tipo) {
    const QString t = testo.trimmed();
    if (t.isEmpty() && tipo != FieldType::Text && tipo != FieldType::Memo) return QVariant();
    switch (tipo) {
        case FieldType::Integer:
        case FieldType::Double: {
            const auto n = ParseNumero(t);
            if (!n) return std::nullopt;
            if (tipo == FieldType::Integer) return QVariant(qlonglong(std::llround(*n)));
            return QVariant(*n);
        }
        case FieldType::Date:
        case FieldType::DateTime: {
            const auto d = ParseData(t);
            if (!d) return std::nullopt;
            return QVariant(*d);
        }
        case FieldType::Flag:
            return QVariant(Flag(t) ? -1 : 0);
        default:
            return QVariant(testo);
    }
}

ModelloRecordset::ModelloRecordset(QObject* parent) : QAbstractTableModel(parent) {}

void ModelloRecordset::setRecordset(RecordSetPtr rs) {
    beginResetModel();
    rs_ = std::move(rs);
    costruisciColonne();
    leggiRighe();
    endResetModel();
}

void ModelloRecordset::setLayout(const LayoutGriglia& layout) {
    beginResetModel();
    layout_ = layout;
    costruisciColonne();
    leggiRighe();
    endResetModel();
}

void ModelloRecordset::costruisciColonne() {
    colonne_.clear();
    if (layout_.colonne.empty()) {
        if (!rs_) return;
        for (int i = 0; i < rs_->FieldCount(); ++i) {
            const FieldInfo& f = rs_->Field(i);
            colonne_.push_back({f.name, f.name, QString(), 0, i, f.type, f.writable});
        }
        return;
    }
    std::vector<ColonnaLayout> ordinate = layout_.colonne;
    std::stable_sort(
        ordinate.begin(), ordinate.end(),
        [](const ColonnaLayout& a, const ColonnaLayout& b) { return a.ordine < b.ordine; });
    for (const ColonnaLayout& c : ordinate) {
        if (!c.visibile) continue;
        Colonna col{c.campo, c.titolo.isEmpty() ? c.campo : c.titolo, c.formato, c.larghezza};
        if (rs_) {
            col.indice = rs_->FieldIndex(c.campo);
            if (col.indice < 0) continue;  // a layout may name columns of other tables
            const FieldInfo& f = rs_->Field(col.indice);
            col.campo = f.name;
            col.tipo = f.type;
            col.scrivibile = f.writable;
        }
        colonne_.push_back(col);
    }
}

void ModelloRecordset::leggiRighe() {
    righe_.clear();
    if (!rs_) return;
    // The cursor is the window's current row: it is put back where it was.
    const int posizione = rs_->AbsolutePosition();
    const bool dopoUltima = posizione < 0 && rs_->Eof();
    for (rs_->MoveFirst(); !rs_->Eof(); rs_->MoveNext()) {
        std::vector<QVariant> riga;
        riga.reserve(colonne_.size());
        for (const Colonna& c : colonne_)
            riga.push_back(c.indice >= 0 ? rs_->Value(c.indice) : QVariant());
        righe_.push_back(std::move(riga));
    }
    if (posizione > 0) {
        rs_->SetAbsolutePosition(posizione);
    } else if (!dopoUltima && !righe_.empty()) {
        rs_->MoveFirst();
        rs_->MovePrevious();
    }
}

void ModelloRecordset::Ricarica() {
    const size_t prima = righe_.size();
    leggiRighe();
    if (righe_.size() != prima) {
        // Rows came or went: the views start again from the new rows.
        beginResetModel();
        endResetModel();
    } else if (!righe_.empty() && !colonne_.empty()) {
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

QString ModelloRecordset::campo(int colonna) const {
    if (colonna < 0 || colonna >= int(colonne_.size())) return QString();
    return colonne_[size_t(colonna)].campo;
}

int ModelloRecordset::colonnaDi(const QString& nome) const {
    for (size_t i = 0; i < colonne_.size(); ++i)
        if (colonne_[i].campo.compare(nome, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

int ModelloRecordset::larghezza(int colonna) const {
    if (colonna < 0 || colonna >= int(colonne_.size())) return 0;
    return colonne_[size_t(colonna)].larghezza;
}

int ModelloRecordset::rigaCorrente() const {
    if (!rs_) return -1;
    const int p = rs_->AbsolutePosition();
    return p > 0 ? p - 1 : -1;
}

void ModelloRecordset::vaiARiga(int riga) {
    if (!rs_ || riga < 0 || riga >= int(righe_.size())) return;
    if (rs_->AbsolutePosition() != riga + 1) rs_->SetAbsolutePosition(riga + 1);
}

int ModelloRecordset::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(righe_.size());
}

int ModelloRecordset::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(colonne_.size());
}

bool ModelloRecordset::casella(const Colonna& c) const {
    return c.tipo == FieldType::Flag && layout_.checkBox;
}

QVariant ModelloRecordset::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const Colonna& c = colonne_[size_t(index.column())];
    const QVariant& v = righe_[size_t(index.row())][size_t(index.column())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:  // the whole text, when a narrow column cuts it
            return casella(c) ? QVariant() : QVariant(TestoCella(v, c.tipo, c.formato));
        case Qt::EditRole:
            // The editor starts from the plain text a person types.
            if (TipoNumerico(c.tipo)) return IsNullOrEmpty(v) ? QString() : TestoNumero(Num(v));
            return TestoCella(v, c.tipo, QString());
        case Qt::CheckStateRole:
            if (!casella(c)) return {};
            return Flag(v) ? Qt::Checked : Qt::Unchecked;
        case Qt::TextAlignmentRole:
            return TipoNumerico(c.tipo) ? int(Qt::AlignRight | Qt::AlignVCenter)
                                        : int(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::BackgroundRole: {
            const Colore colore = index.row() % 2 == 0 ? layout_.coloreDispari : layout_.colorePari;
            if (colore == colori::Bianco) return {};
            return ColoreQt(colore, QPalette());
        }
        default:
            return {};
    }
}

QVariant ModelloRecordset::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole) return section + 1;
        return {};
    }
    if (section < 0 || section >= columnCount()) return {};
    const Colonna& c = colonne_[size_t(section)];
    if (role == Qt::DisplayRole) return c.titolo;
    if (role == Qt::ToolTipRole) return c.campo;
    if (role == Qt::TextAlignmentRole)
        return TipoNumerico(c.tipo) ? int(Qt::AlignRight | Qt::AlignVCenter)
                                    : int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags ModelloRecordset::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const Colonna& c = colonne_[size_t(index.column())];
    if (modificabile_ && c.scrivibile)
        f |= casella(c) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
    return f;
}

bool ModelloRecordset::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || !rs_ ||
        !(flags(index) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)))
        return false;
    const Colonna& c = colonne_[size_t(index.column())];
    std::optional<QVariant> valore;
    if (role == Qt::CheckStateRole) {
        valore = QVariant(value.toInt() == Qt::Checked ? -1 : 0);
    } else if (role == Qt::EditRole) {
        valore = ValoreDaTesto(value.toString(), c.tipo);
    }
    if (!valore) return false;
    const QVariant prima = righe_[size_t(index.row())][size_t(index.column())];
    if (TestoCella(prima, c.tipo, QString()) == TestoCella(*valore, c.tipo, QString()) &&
        IsNull(prima) == IsNull(*valore))
        return false;  // nothing changed: no recalculation
    try {
        vaiARiga(index.row());
        rs_->SetValue(c.campo, *valore);
    } catch (const Errore&) {
        return false;
    }
    righe_[size_t(index.row())][size_t(index.column())] = rs_->Value(c.indice);
    Q_EMIT dataChanged(index, index);
    if (cellaModificata) cellaModificata(c.campo, prima);
    return true;
}

DelegatoCella::DelegatoCella(ModelloRecordset& modello, QObject* parent)
    : QStyledItemDelegate(parent), modello_(modello) {}

QWidget* DelegatoCella::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* riga = qobject_cast<QLineEdit*>(editor)) {
        riga->setProperty("campo", modello_.campo(index.column()));
        const QVariant allinea = index.data(Qt::TextAlignmentRole);
        if (allinea.isValid()) riga->setAlignment(Qt::Alignment(allinea.toInt()));
        riga->installEventFilter(const_cast<DelegatoCella*>(this));
    }
    return editor;
}

bool DelegatoCella::eventFilter(QObject* oggetto, QEvent* evento) {
    auto* riga = qobject_cast<QLineEdit*>(oggetto);
    if (riga && evento->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(evento)->key() == Qt::Key_Escape) {
        // Esc cancels the cell being edited, never the window's own command.
        evento->accept();
        return true;
    }
    if (riga && evento->type() == QEvent::KeyPress) {
        auto* tasto = static_cast<QKeyEvent*>(evento);
        const QString campo = riga->property("campo").toString();
        if (tasto->key() == Qt::Key_Return || tasto->key() == Qt::Key_Enter) {
            // The value is written first (the base filter commits it), then
            // the column hears the Enter.
            const bool gestito = QStyledItemDelegate::eventFilter(oggetto, evento);
            QMetaObject::invokeMethod(
                this, [this, campo] { Q_EMIT invio(campo); }, Qt::QueuedConnection);
            return gestito;
        }
        if (tasto->text().size() == 1 && !(tasto->modifiers() & Qt::ControlModifier)) {
            const QChar digitato = tasto->text().at(0);
            const QChar scritto = TastoNellaColonna(campo, digitato);
            if (scritto != digitato) {
                riga->insert(QString(scritto));
                return true;
            }
        }
    }
    return QStyledItemDelegate::eventFilter(oggetto, evento);
}

GrigliaRecordset::GrigliaRecordset(QWidget* parent)
    : QTableView(parent), modello_(this), delegato_(modello_, this) {
    setModel(&modello_);
    setItemDelegate(&delegato_);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setAlternatingRowColors(true);
    setWordWrap(false);
    // Tab leaves the grid for the next field; Enter and the arrows move inside it.
    setTabKeyNavigation(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    connect(&delegato_, &DelegatoCella::invio, this, [this](const QString& campo) {
        Q_EMIT invio(campo);
        avanzaCella();
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& attuale, const QModelIndex&) {
                if (selezionando_ || !attuale.isValid()) return;
                if (attuale.row() == modello_.rigaCorrente()) return;
                modello_.vaiARiga(attuale.row());
                Q_EMIT rigaCambiata();
            });
    connect(&modello_, &QAbstractItemModel::modelReset, this, [this] {
        adattaColonne();
        selezionaRigaCorrente();
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int colonna, int, int larghezza) {
                // Hiding a column makes it 0 wide: that is no width the user chose.
                if (adattando_ || larghezza <= 0 || colonna >= modello_.columnCount()) return;
                larghezzeUtente_.insert(modello_.campo(colonna).toLower(), larghezza);
            });
}

QString GrigliaRecordset::larghezzeUtente() const {
    QStringList parti;
    for (auto i = larghezzeUtente_.cbegin(); i != larghezzeUtente_.cend(); ++i)
        parti << i.key() + u'=' + QString::number(i.value());
    parti.sort();
    return parti.join(u';');
}

void GrigliaRecordset::setLarghezzeUtente(const QString& testo) {
    larghezzeUtente_.clear();
    for (const QString& parte : testo.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype uguale = parte.indexOf(u'=');
        bool ok = false;
        const int larghezza = parte.mid(uguale + 1).toInt(&ok);
        if (uguale > 0 && ok && larghezza > 0)
            larghezzeUtente_.insert(parte.left(uguale).toLower(), larghezza);
    }
    applicaLarghezzeUtente();
    adattaColonne();
}

void GrigliaRecordset::applicaLarghezzeUtente() {
    adattando_ = true;
    for (int c = 0; c < modello_.columnCount(); ++c) {
        const auto w = larghezzeUtente_.constFind(modello_.campo(c).toLower());
        if (w != larghezzeUtente_.cend()) setColumnWidth(c, *w);
    }
    adattando_ = false;
}

void GrigliaRecordset::applicaLayout() {
    const LayoutGriglia& l = modello_.layoutGriglia();
    QFont f = font();
    if (!l.carattere.isEmpty()) f.setFamily(l.carattere);
    if (l.dimensione > 0) f.setPointSizeF(l.dimensione);
    setFont(f);
    // The view's switches: the whole row shows the cursor, columns move and
    // rows resize when allowed; easy reading shades every other row.
    verticalHeader()->setDefaultSectionSize(QFontMetrics(f).height() + 6);
    setSelectionBehavior(l.evidenziaRiga ? QAbstractItemView::SelectRows
                                         : QAbstractItemView::SelectItems);
    horizontalHeader()->setSectionsMovable(l.spostaColonne);
    verticalHeader()->setSectionResizeMode(l.ridimensionaRighe ? QHeaderView::Interactive
                                                               : QHeaderView::Fixed);
    adattando_ = true;
    for (int c = 0; c < modello_.columnCount(); ++c) {
        const int w = modello_.larghezza(c);
        if (w > 0) setColumnWidth(c, w);
    }
    adattando_ = false;
    applicaLarghezzeUtente();
    setAlternatingRowColors(l.letturaFacilitata && l.coloreDispari == l.colorePari);
    adattaColonne();
    selezionaRigaCorrente();
}

void GrigliaRecordset::adattaColonne() {
    // The layout's width, or more when the text of a cell (or the heading)
    // would be cut: dates and amounts are never shown in part.
    const QFontMetrics metrica(font());
    const int margine = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8;
    for (int c = 0; c < modello_.columnCount(); ++c) {
        if (isColumnHidden(c) ||
            modello_.campo(c).compare(u"Descrizione", Qt::CaseInsensitive) == 0)
            continue;
        int serve = 0;
        for (int r = 0; r < modello_.rowCount(); ++r) {
            const QString t = modello_.data(modello_.index(r, c), Qt::DisplayRole).toString();
            serve = std::max(serve, metrica.horizontalAdvance(t));
        }
        if (serve + margine > columnWidth(c)) {
            adattando_ = true;
            setColumnWidth(c, serve + margine);
            adattando_ = false;
        }
    }
}

void GrigliaRecordset::selezionaRigaCorrente() {
    const int riga = modello_.rigaCorrente();
    if (riga < 0) return;
    selezionando_ = true;
    const int colonna = currentIndex().isValid() ? currentIndex().column() : 0;
    setCurrentIndex(modello_.index(riga, std::min(colonna, modello_.columnCount() - 1)));
    selezionando_ = false;
}

void GrigliaRecordset::avanzaCella() {
    const QModelIndex attuale = currentIndex();
    if (!attuale.isValid()) return;
    int colonna = attuale.column() + 1;
    for (int riga = attuale.row(); riga < modello_.rowCount(); ++riga, colonna = 0) {
        for (; colonna < modello_.columnCount(); ++colonna) {
            const QModelIndex i = modello_.index(riga, colonna);
            if (isColumnHidden(colonna) || !(modello_.flags(i) & Qt::ItemIsEditable)) continue;
            setCurrentIndex(i);
            scrollTo(i);
            return;
        }
    }
}

void GrigliaRecordset::keyPressEvent(QKeyEvent* evento) {
    if (evento->key() == Qt::Key_F2 && elencoColonna && currentIndex().isValid() &&
        elencoColonna(modello_.campo(currentIndex().column()))) {
        return;
    }
    if ((evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) &&
        state() != QAbstractItemView::EditingState && currentIndex().isValid()) {
        Q_EMIT invio(modello_.campo(currentIndex().column()));
        avanzaCella();
        return;
    }
    QTableView::keyPressEvent(evento);
}

}  // namespace incassi::ui
