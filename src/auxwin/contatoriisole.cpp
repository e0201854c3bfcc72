#include "auxwin/contatoriisole.h"

#include "values/values.h"
#include "window/uiport.h"

namespace incassi {

namespace {

Dec Cella(const RecordSet& rs, const QString& campo) {
    return Dec::DaCella(rs.Value(campo));
}

}  // namespace

FrmContatoriIsole::FrmContatoriIsole(UiPort& ui, RecordSetPtr righe, QString apparecchio,
                                     bool modificabile)
    : ui_(ui),
      righe_(std::move(righe)),
      apparecchio_(std::move(apparecchio)),
      modificabile_(modificabile) {}

const QStringList& FrmContatoriIsole::ColonneNascoste() {
    static const QStringList kNascoste = {"id",
                                          "iddata",
                                          "idoperatore",
                                          "numerocontatore",
                                          "tipocontatore",
                                          "moltiplicatore",
                                          "linkcontatore",
                                          "linkscheda",
                                          "idtesta",
                                          "datavecchiocontatore"};
    return kNascoste;
}

bool FrmContatoriIsole::CellaModificata(const QString& colonna, const QVariant& prima) {
    if (!modificabile_ || !righe_ || righe_->Bof() || righe_->Eof()) return false;
    RecordSet& r = *righe_;
    const Dec vecchio = Cella(r, QStringLiteral("VecchioContatore"));
    const Dec moltiplicatore = Cella(r, QStringLiteral("Moltiplicatore"));
    if (colonna.compare(u"ContatoreAttuale", Qt::CaseInsensitive) == 0) {
        const QVariant lettura = r.Value(QStringLiteral("ContatoreAttuale"));
        r.SetValue(QStringLiteral("contatore"), lettura);
        r.SetValue(QStringLiteral("Parziale"),
                   ((Dec::DaCella(lettura) - vecchio) * moltiplicatore).arrotonda(2).toDouble());
    } else if (colonna.compare(u"Parziale", Qt::CaseInsensitive) == 0) {
        if (moltiplicatore.zero()) {
            ui_.Messaggio(QStringLiteral("Il contatore ha moltiplicatore 0: il parziale non dà una "
                                         "lettura. Scrivere la lettura del contatore."),
                          Titolo(), Icona::Esclamazione);
            r.SetValue(QStringLiteral("Parziale"), prima);
            r.Update();
            return false;
        }
        const double lettura = (Cella(r, QStringLiteral("Parziale")) / moltiplicatore + vecchio)
                                   .arrotonda(2)
                                   .toDouble();
        r.SetValue(QStringLiteral("ContatoreAttuale"), lettura);
        r.SetValue(QStringLiteral("contatore"), lettura);
    } else {
        return true;
    }
    r.Update();
    return true;
}

FrmContatoriIsole::Totali FrmContatoriIsole::Somma(RecordSet& righe) {
    Totali t;
    if (righe.RecordCount() == 0) return t;
    const int posizione = righe.AbsolutePosition();
    for (righe.MoveFirst(); !righe.Eof(); righe.MoveNext()) {
        const QString tipo = Txt(righe.Value(QStringLiteral("tipocontatore"))).trimmed().toUpper();
        const Dec parziale = Cella(righe, QStringLiteral("Parziale"));
        if (tipo.startsWith(u'I'))
            t.in += parziale;
        else if (!tipo.startsWith(u'V'))
            t.out += parziale;
    }
    if (posizione > 0) righe.SetAbsolutePosition(posizione);
    return t;
}

FrmContatoriIsole::Totali FrmContatoriIsole::Chiudi() {
    if (!righe_) return {};
    if (modificabile_) righe_->UpdateBatch();
    return Somma(*righe_);
}

}  // namespace incassi
