#pragma once

// The controls of a window model. A control is known by its name, whose first
// three characters (compared without regard to case) say its kind: "txt" text
// box, "txe" search box, "cmb" combo list, "lll" label, "chk" check box, and so
// on. The generic operations of a window (clear, required check, browse / edit
// mode, header binding) act on controls by that prefix and by their Tag.

#include <QString>
#include <QVariant>
#include <cstdint>
#include <vector>

#include "host/recordset.h"
#include "window/gridlayout.h"

namespace incassi {

// Colours are Windows colour values (0x00BBGGRR, or a system colour index
// with the high bit set).
using Colore = std::uint32_t;

namespace colori {
inline constexpr Colore Normale = 0x80000005;  // the system window colour
inline constexpr Colore Rosso = 0x0000FF;
inline constexpr Colore Giallo = 0x00FFFF;
inline constexpr Colore Bianco = 0xFFFFFF;
inline constexpr Colore Verde = 0x00FF00;
inline constexpr Colore Pulsante = 0x8000000F;  // the system button colour
}  // namespace colori

// The required markers held in a control's Tag.
inline const QString TagObbligatorio = QStringLiteral("Obbligatorio");
inline const QString TagRichiesto = QStringLiteral("required");

// The kind of a control, from its name.
enum class TipoControllo {
    Etichetta,       // lll, Eti, ati: a caption
    Lista,           // lis: a list view of items
    Testo,           // txt, axt, axe, txl, ttt: a text
    Ricerca,         // txe: a search box (a code chosen from a list)
    Combo,           // cmb, cmi, amb, ami: a list with a selected item
    ComboEditabile,  // cmg: a combo whose text can be typed
    Check,           // chk, ahk, Che, ahe: 0 / 1
    Griglia,         // TDB or a name beginning with "Griglia": rows of a record set
    Altro,           // buttons and anything else
};

// The first three characters of a name in lower case ("txeCodLocale" -> "txe").
QString Prefisso(const QString& nome);
TipoControllo TipoDaNome(const QString& nome);
// The name less its three-letter prefix: the column it binds to.
QString NomeColonna(const QString& nome);

struct ElementoLista {
    QString testo;
    QVariant dato;  // the item data (a key), invalid when none
};

class Controllo {
  public:
    explicit Controllo(QString nome);
    virtual ~Controllo() = default;
    Controllo(const Controllo&) = delete;
    Controllo& operator=(const Controllo&) = delete;

    const QString& nome() const { return nome_; }
    QString prefisso() const { return Prefisso(nome_); }
    TipoControllo tipo() const { return tipo_; }
    bool chiamato(const QString& nome) const;  // same name, without regard to case

    // Text boxes, search boxes and editable combos: the text. Combos: the text
    // of the selected item ("" when none). Labels: the caption. Check boxes:
    // "0" or "1".
    QString text() const;
    void setText(const QString& testo);
    // The value as the control holds it: a text, a caption, 0/1 for check
    // boxes, the selected item's data (or text) for combos, Null for no choice.
    QVariant value() const;
    // Sets the value: dates and numbers are shown the Italian way (dd/mm/yyyy,
    // "12,5"), Null as the empty text; check boxes take 1 for a true value.
    void setValue(const QVariant& valore);

    const QString& caption() const { return s_.caption; }
    void setCaption(const QString& c) { s_.caption = c; }

    const QString& tag() const { return s_.tag; }
    void setTag(const QString& t) { s_.tag = t; }
    Colore backColor() const { return s_.backColor; }
    void setBackColor(Colore c) { s_.backColor = c; }
    bool enabled() const { return s_.enabled; }
    void setEnabled(bool on) { s_.enabled = on; }
    bool visible() const { return s_.visible; }
    void setVisible(bool on) { s_.visible = on; }
    int maxLength() const { return s_.maxLength; }  // 0: not limited
    void setMaxLength(int n) { s_.maxLength = n; }

    // Combos and list views: items with item data, and the selected index.
    const std::vector<ElementoLista>& elementi() const { return s_.elementi; }
    void aggiungiElemento(const QString& testo, const QVariant& dato = {});
    void svuotaElementi();
    int listIndex() const { return s_.listIndex; }
    void setListIndex(int i);  // -1 for no selection; out of range throws Errore
    // Selects the first item whose text or data equals `valore` (texts without
    // regard to case); no match leaves no selection. Returns whether one matched.
    bool selezionaPerValore(const QVariant& valore);
    // Combos whose text can be typed.
    bool editabile() const { return tipo_ == TipoControllo::ComboEditabile; }

    // Check boxes: 0 unchecked, 1 checked.
    int checked() const { return s_.checked; }
    void setChecked(int v) { s_.checked = v ? 1 : 0; }

    // Grids: the bound record set; its cursor is the grid's current row.
    const RecordSetPtr& recordset() const { return s_.recordset; }
    void setRecordset(RecordSetPtr rs) { s_.recordset = std::move(rs); }
    LayoutGriglia& layout() { return s_.layout; }
    const LayoutGriglia& layout() const { return s_.layout; }

    // Everything the control holds besides its name, to put it back as it was.
    struct Stato {
        QString testo;
        QString caption;
        QString tag;
        Colore backColor = colori::Normale;
        bool enabled = true;
        bool visible = true;
        int maxLength = 0;
        std::vector<ElementoLista> elementi;
        int listIndex = -1;
        int checked = 0;
        RecordSetPtr recordset;
        LayoutGriglia layout;
    };
    const Stato& stato() const { return s_; }
    void ripristina(const Stato& s) { s_ = s; }

  private:
    // A required field marked as missing loses the mark once it holds a value.
    void togliEvidenza();
    QString nome_;
    TipoControllo tipo_;
    Stato s_;
};

}  // namespace incassi
