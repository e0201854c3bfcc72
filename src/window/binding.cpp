#include "window/binding.h"

#include "values/values.h"

namespace incassi {

namespace {

// The column a control binds to, or -1 when it binds to none.
int Colonna(const Controllo& c, const RecordSet& rs) {
    switch (c.tipo()) {
        case TipoControllo::Griglia:
        case TipoControllo::Lista:
        case TipoControllo::Altro:
            return -1;
        default:
            break;
    }
    // Browse-only fields (navigation, filters) never hold the document's data.
    if (c.prefisso() == u"txl") return -1;
    const QString colonna = NomeColonna(c.nome());
    if (colonna.isEmpty()) return -1;
    return rs.FieldIndex(colonna);
}

bool CasellaDiTesto(const Controllo& c) {
    return c.tipo() == TipoControllo::Testo || c.tipo() == TipoControllo::Ricerca;
}

}  // namespace

int ControlliARiga(const ModelloFinestra& finestra, RecordSet& rs) {
    int scritte = 0;
    for (const auto& c : finestra) {
        const int i = Colonna(*c, rs);
        if (i < 0) continue;
        const FieldInfo& f = rs.Field(i);
        if (!f.writable || f.name.compare(u"id", Qt::CaseInsensitive) == 0) continue;
        QVariant v;
        switch (c->tipo()) {
            case TipoControllo::Check:
                v = c->checked() != 0;
                break;
            case TipoControllo::Etichetta:
                v = c->caption();
                break;
            default:
                v = c->value();
        }
        rs.SetValue(f.name, v);
        ++scritte;
    }
    return scritte;
}

int RigaAControlli(RecordSet& rs, ModelloFinestra& finestra) {
    int riempiti = 0;
    for (const auto& c : finestra) {
        const int i = Colonna(*c, rs);
        if (i < 0) continue;
        const QVariant v = rs.Value(i);
        switch (c->tipo()) {
            case TipoControllo::Etichetta: {
                // Captions are labels "lll" and "Eti"; "ati" labels of a second
                // panel follow the same rule.
                c->setCaption(Txt(v));
                break;
            }
            case TipoControllo::Combo:
            case TipoControllo::ComboEditabile:
                c->setValue(v);
                break;
            case TipoControllo::Check:
                c->setChecked(Flag(v));
                break;
            default:
                c->setText(Txt(NullAVuoto(v)));
                if (CasellaDiTesto(*c) && rs.Field(i).type == FieldType::Text)
                    c->setMaxLength(rs.Field(i).maxLength);
        }
        ++riempiti;
    }
    return riempiti;
}

void RiempiLista(RecordSet& rs, const QString& campo, Controllo& lista) {
    RiempiListaChiavi(rs, campo, QString(), lista);
}

void RiempiListaChiavi(RecordSet& rs, const QString& campo, const QString& campoChiave,
                       Controllo& lista) {
    rs.MoveFirst();
    if (rs.Eof()) return;
    lista.svuotaElementi();
    for (; !rs.Eof(); rs.MoveNext()) {
        lista.aggiungiElemento(Txt(NullAVuoto(rs.Value(campo))),
                               campoChiave.isEmpty() ? QVariant() : rs.Value(campoChiave));
    }
}

}  // namespace incassi
