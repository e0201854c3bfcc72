#include "reportengine/impaginazione.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <map>
#include <numeric>

#include "values/error.h"

namespace incassi::stampa {

namespace {

constexpr double kMargine = 12;        // mm, every side
constexpr double kPiede = 7;           // the footer band, mm
constexpr double kRisoluzione = 1200;  // dpi of the measures
constexpr double kPadding = 1.2;       // mm, left and right in a cell
constexpr double kConTitolo = 18;      // mm of table kept with its heading
constexpr double kTestoIntero = 30;    // mm of text a column keeps whole
const QColor kGrigio(225, 225, 225);
const QColor kZebra(245, 245, 245);

QFont Font(const Carattere& c) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(c.punti);
    f.setBold(c.grassetto);
    // Outlines without hinting: the same widths on the PDF, the printer and the screen.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// Text measures in millimetres, taken at a fine resolution.
class Misure {
  public:
    Misure() : riferimento_(1, 1, QImage::Format_RGB32) {
        const int dpm = int(kRisoluzione / 0.0254);
        riferimento_.setDotsPerMeterX(dpm);
        riferimento_.setDotsPerMeterY(dpm);
    }
    // Metrics are costly to make: one per size and weight.
    const QFontMetricsF& metriche(const Carattere& c) const {
        const auto chiave = std::make_pair(c.punti, c.grassetto);
        auto it = metriche_.find(chiave);
        if (it == metriche_.end())
            it = metriche_.emplace(chiave, QFontMetricsF(Font(c), &riferimento_)).first;
        return it->second;
    }
    static double mm(double px) { return px * 25.4 / kRisoluzione; }
    static double px(double mm) { return mm * kRisoluzione / 25.4; }
    double larghezza(const Carattere& c, const QString& s) const {
        return mm(metriche(c).horizontalAdvance(s));
    }
    double riga(const Carattere& c) const { return mm(metriche(c).height()); }
    double altezzaACapo(const Carattere& c, const QString& s, double larghezza) const {
        return mm(
            metriche(c)
                .boundingRect(QRectF(0, 0, px(larghezza), 1e9), Qt::TextWordWrap | Qt::AlignLeft, s)
                .height());
    }
    QString tronca(const Carattere& c, const QString& s, double larghezza) const {
        // Cut only what the measure says is too wide: elision measures a little wider.
        if (this->larghezza(c, s) <= larghezza) return s;
        return metriche(c).elidedText(s, Qt::ElideRight, px(larghezza));
    }

  private:
    QImage riferimento_;
    mutable std::map<std::pair<double, bool>, QFontMetricsF> metriche_;
};

Carattere CarattereDi(Stile s) {
    switch (s) {
        case Stile::Titolo:
            return {14, true};
        case Stile::Sottotitolo:
            return {11, true};
        case Stile::Piccolo:
            return {7, false};
        case Stile::Grassetto:
            return {9, true};
        case Stile::Normale:
            break;
    }
    return {9, false};
}

class Impaginatore {
  public:
    explicit Impaginatore(const Contenuto& c) : c_(c) {
        im_.orizzontale = c.orizzontale;
        im_.formato = c.orizzontale ? QSizeF(297, 210) : QSizeF(210, 297);
        larghezza_ = im_.formato.width() - 2 * kMargine;
        fondo_ = im_.formato.height() - kMargine - kPiede;
        // The page header, laid out once and repeated.
        double y = kMargine;
        for (const Blocco& b : c.intestazione) {
            if (b.tipo != Blocco::Tipo::Testo) continue;
            y += scrivi(b, y, intestazione_);
        }
        if (!intestazione_.empty()) {
            y += 1;
            intestazione_.push_back(linea(kMargine, y, kMargine + larghezza_, y, 0.3));
            y += 3;
        }
        inizio_ = y;
    }

    Impaginato esegui() {
        nuovaPagina();
        for (corrente_ = 0; corrente_ < c_.corpo.size(); ++corrente_)
            PerBlocco(c_.corpo[corrente_], *this);
        piedi();
        return std::move(im_);
    }

    // The blocks, through PerBlocco.
    void testo(const Blocco& b) {
        // A heading stays with the table under it: its header and first rows
        // go on the same page.
        const size_t dopo = corrente_ + 1;
        const bool titolo = dopo < c_.corpo.size() &&
                            c_.corpo[dopo].tipo == Blocco::Tipo::Tabella &&
                            !c_.corpo[dopo].generale;
        spazio(altezzaTesto(b) + (titolo ? kConTitolo : 0));
        y_ += scrivi(b, y_, pagina().elementi);
    }
    void spazio(const Blocco& b) { y_ = std::min(y_ + b.altezza, fondo_); }
    void nuovaPagina(const Blocco&) {
        if (y_ > inizio_) nuovaPagina();
    }
    // tabella, campi and firme below are PerBlocco's too.
    Pagina& pagina() { return im_.pagine.back(); }

    void nuovaPagina() {
        im_.pagine.emplace_back();
        pagina().elementi = intestazione_;
        y_ = inizio_;
    }

    // Room for `h` more millimetres on this page, or a new page.
    bool spazio(double h) {
        if (y_ + h <= fondo_ || y_ <= inizio_) return false;
        nuovaPagina();
        return true;
    }

    static Elemento linea(double x1, double y1, double x2, double y2, double spessore = 0.2) {
        Elemento e;
        e.tipo = Elemento::Tipo::Linea;
        e.r = QRectF(QPointF(x1, y1), QPointF(x2, y2));
        e.spessore = spessore;
        return e;
    }

    static Elemento riempimento(const QRectF& r, const QColor& colore) {
        Elemento e;
        e.tipo = Elemento::Tipo::Riempimento;
        e.r = r;
        e.colore = colore;
        return e;
    }

    static Elemento scritta(const QRectF& r, const QString& t, const Carattere& c,
                            Allineamento a = Allineamento::Sinistra, bool aCapo = false) {
        Elemento e;
        e.r = r;
        e.testo = t;
        e.carattere = c;
        e.allineamento = a;
        e.aCapo = aCapo;
        return e;
    }

    double altezzaTesto(const Blocco& b) const {
        const Carattere c = CarattereDi(b.stile);
        return std::max(m_.riga(c), m_.altezzaACapo(c, b.testo, larghezza_)) + 1;
    }

    double scrivi(const Blocco& b, double y, std::vector<Elemento>& out) const {
        const Carattere c = CarattereDi(b.stile);
        const double h = altezzaTesto(b);
        out.push_back(
            scritta(QRectF(kMargine, y, larghezza_, h - 1), b.testo, c, b.allineamento, true));
        return h;
    }

    // Column widths: by weight, never narrower than what a number or a
    // header word needs; the font shrinks when the page is too narrow.
    std::vector<double> larghezze(const Blocco& b, Carattere& c, Carattere& cg) const {
        for (double punti = 8;; punti -= 0.5) {
            c = {punti, false};
            cg = {punti, true};
            const size_t n = b.colonne.size();
            std::vector<double> minimo(n, 0);
            for (size_t i = 0; i < n; ++i) {
                const ColonnaTabella& col = b.colonne[i];
                for (const QString& parola : col.titolo.split(u' ', Qt::SkipEmptyParts))
                    minimo[i] = std::max(minimo[i], m_.larghezza(cg, parola));
                // Numbers and dates whole; texts whole up to a limit (codes
                // are never cut), longer ones cut with an ellipsis.
                const bool intero = Numerico(col.formato) || col.formato == Formato::Data;
                double contenuto = 0;
                for (const auto& r : b.righe)
                    contenuto =
                        std::max(contenuto, m_.larghezza(c, TestoValore(r[i], col.formato)));
                minimo[i] =
                    std::max(minimo[i], intero ? contenuto : std::min(contenuto, kTestoIntero));
                if (intero) {
                    if (col.totale)
                        minimo[i] = std::max(
                            minimo[i],
                            m_.larghezza(cg, TestoValore(b.somme[i].toDouble(), col.formato)));
                }
                minimo[i] += 2 * kPadding;
            }
            std::vector<double> w(n, 0);
            std::vector<bool> fissa(n, false);
            for (bool cambiato = true; cambiato;) {
                cambiato = false;
                double libero = larghezza_, pesi = 0;
                for (size_t i = 0; i < n; ++i) {
                    if (fissa[i])
                        libero -= w[i];
                    else
                        pesi += b.colonne[i].peso;
                }
                for (size_t i = 0; i < n; ++i) {
                    if (fissa[i]) continue;
                    w[i] = pesi > 0 ? libero * b.colonne[i].peso / pesi : 0;
                    if (w[i] < minimo[i]) {
                        w[i] = minimo[i];
                        fissa[i] = true;
                        cambiato = true;
                    }
                }
            }
            if (std::accumulate(w.begin(), w.end(), 0.0) <= larghezza_ + 0.01 || punti <= 5)
                return w;
        }
    }

    void tabella(const Blocco& b) {
        Carattere c, cg;
        const std::vector<double> w = larghezze(b, c, cg);
        const double rh = m_.riga(c) * 1.3;
        double hh = rh;
        for (size_t i = 0; i < w.size(); ++i)
            hh = std::max(hh, m_.altezzaACapo(cg, b.colonne[i].titolo, w[i] - 2 * kPadding) + rh -
                                  m_.riga(c));
        auto cella = [&](double x, size_t i, double y, double h, const QString& t,
                         const Carattere& car, bool aCapo) {
            QString s = t;
            if (!aCapo && !Numerico(b.colonne[i].formato))
                s = m_.tronca(car, t, w[i] - 2 * kPadding);
            pagina().elementi.push_back(scritta(QRectF(x + kPadding, y, w[i] - 2 * kPadding, h), s,
                                                car, b.colonne[i].allineamento, aCapo));
        };
        auto intestazione = [&] {
            pagina().elementi.push_back(riempimento(QRectF(kMargine, y_, larghezza_, hh), kGrigio));
            double x = kMargine;
            for (size_t i = 0; i < w.size(); ++i) {
                cella(x, i, y_, hh, b.colonne[i].titolo, cg, true);
                x += w[i];
            }
            y_ += hh;
            pagina().elementi.push_back(linea(kMargine, y_, kMargine + larghezza_, y_));
        };
        // The header with at least one row (or the totals) under it.
        spazio(hh + rh * (b.conTotali && !b.righe.empty() ? 2 : 1));
        intestazione();
        for (size_t r = 0; r < b.righe.size(); ++r) {
            if (spazio(rh)) intestazione();
            if (r % 2 == 1)
                pagina().elementi.push_back(
                    riempimento(QRectF(kMargine, y_, larghezza_, rh), kZebra));
            double x = kMargine;
            for (size_t i = 0; i < w.size(); ++i) {
                cella(x, i, y_, rh, TestoValore(b.righe[r][i], b.colonne[i].formato), c, false);
                x += w[i];
            }
            y_ += rh;
        }
        if (b.conTotali) {
            if (spazio(rh)) intestazione();
            pagina().elementi.push_back(linea(kMargine, y_, kMargine + larghezza_, y_, 0.3));
            double x = kMargine;
            for (size_t i = 0; i < w.size(); ++i) {
                if (i == 0) {
                    pagina().elementi.push_back(
                        scritta(QRectF(x + kPadding, y_, larghezza_, rh), b.etichettaTotali, cg));
                } else if (b.colonne[i].totale) {
                    cella(x, i, y_, rh, TestoValore(b.somme[i].toDouble(), b.colonne[i].formato),
                          cg, false);
                }
                x += w[i];
            }
            y_ += rh;
        }
        y_ += 3;
    }

    void campi(const Blocco& b) {
        const Carattere c{9, false}, cg{9, true};
        const int n = b.perRiga;
        const double cw = larghezza_ / n;
        const double rh = m_.riga(c) * 1.35;
        double le = 0;
        for (const Voce& v : b.voci)
            le = std::max(le, m_.larghezza(cg, v.etichetta) + 3);
        le = std::min(le, cw * 0.6);
        for (size_t i = 0; i < b.voci.size(); ++i) {
            const int col = int(i % size_t(n));
            if (col == 0) spazio(rh);
            const Voce& v = b.voci[i];
            const double x = kMargine + col * cw;
            pagina().elementi.push_back(
                scritta(QRectF(x, y_, le, rh), m_.tronca(cg, v.etichetta, le), cg));
            const bool numero = Numerico(v.formato);
            const double vw = cw - le - (numero ? 6 : 2);
            pagina().elementi.push_back(
                scritta(QRectF(x + le, y_, vw, rh),
                        numero ? TestoValore(v.valore, v.formato)
                               : m_.tronca(c, TestoValore(v.valore, v.formato), vw),
                        c, numero ? Allineamento::Destra : Allineamento::Sinistra));
            pagina().elementi.push_back(linea(x, y_ + rh, x + cw - 4, y_ + rh, 0.1));
            if (col == n - 1 || i + 1 == b.voci.size()) y_ += rh;
        }
        y_ += 2;
    }

    void firme(const Blocco& b) {
        if (b.firme.isEmpty()) return;
        const Carattere c{9, false};
        spazio(24);
        const double cw = larghezza_ / double(b.firme.size());
        for (int i = 0; i < b.firme.size(); ++i) {
            const double x = kMargine + i * cw;
            pagina().elementi.push_back(linea(x + 8, y_ + 14, x + cw - 8, y_ + 14, 0.25));
            pagina().elementi.push_back(scritta(QRectF(x, y_ + 15, cw, m_.riga(c) + 1), b.firme[i],
                                                c, Allineamento::Centro));
        }
        y_ += 24;
    }

    void piedi() {
        const Carattere c{7, false};
        const double y = im_.formato.height() - kMargine - kPiede + 2;
        const int n = int(im_.pagine.size());
        for (int i = 0; i < n; ++i) {
            auto& el = im_.pagine[size_t(i)].elementi;
            el.push_back(linea(kMargine, y, kMargine + larghezza_, y, 0.1));
            el.push_back(
                scritta(QRectF(kMargine, y + 0.5, larghezza_ / 2, kPiede - 2), c_.piede, c));
            el.push_back(scritta(
                QRectF(kMargine + larghezza_ / 2, y + 0.5, larghezza_ / 2, kPiede - 2),
                QStringLiteral("Pagina %1 di %2").arg(i + 1).arg(n), c, Allineamento::Destra));
        }
    }

  private:
    const Contenuto& c_;
    Misure m_;
    Impaginato im_;
    std::vector<Elemento> intestazione_;
    size_t corrente_ = 0;  // the block being laid out
    double larghezza_ = 0, fondo_ = 0, inizio_ = 0, y_ = 0;
};

Qt::Alignment Allinea(Allineamento a) {
    switch (a) {
        case Allineamento::Destra:
            return Qt::AlignRight;
        case Allineamento::Centro:
            return Qt::AlignHCenter;
        case Allineamento::Sinistra:
            break;
    }
    return Qt::AlignLeft;
}

}  // namespace

Impaginato Impagina(const Contenuto& c) {
    return Impaginatore(c).esegui();
}

void Disegna(const Impaginato& im, QPagedPaintDevice& d, int daPagina, int aPagina) {
    d.setPageSize(QPageSize(QPageSize::A4));
    d.setPageOrientation(im.orizzontale ? QPageLayout::Landscape : QPageLayout::Portrait);
    d.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    const int n = int(im.pagine.size());
    const int da = daPagina > 0 ? std::min(daPagina, n) : 1;
    const int a = aPagina > 0 ? std::min(aPagina, n) : n;
    QPainter p;
    if (!p.begin(&d)) throw Errore(QStringLiteral("Impossibile iniziare la stampa."));
    // The painter starts where the device can print: page coordinates are
    // shifted by that margin.
    const QPointF origine = d.pageLayout().paintRect(QPageLayout::Millimeter).topLeft();
    const double sx = d.logicalDpiX() / 25.4, sy = d.logicalDpiY() / 25.4;
    auto r = [&](const QRectF& mm) {
        return QRectF((mm.left() - origine.x()) * sx, (mm.top() - origine.y()) * sy,
                      mm.width() * sx, mm.height() * sy);
    };
    for (int i = da; i <= a; ++i) {
        if (i > da) d.newPage();
        for (const Elemento& e : im.pagine[size_t(i - 1)].elementi) {
            switch (e.tipo) {
                case Elemento::Tipo::Riempimento:
                    p.fillRect(r(e.r), e.colore);
                    break;
                case Elemento::Tipo::Linea: {
                    QPen penna(e.colore);
                    penna.setWidthF(e.spessore * sx);
                    p.setPen(penna);
                    const QRectF l = r(e.r);
                    p.drawLine(l.topLeft(), l.bottomRight());
                    break;
                }
                case Elemento::Tipo::Testo:
                    p.setPen(e.colore);
                    p.setFont(Font(e.carattere));
                    p.drawText(r(e.r),
                               int(Allinea(e.allineamento) |
                                   (e.aCapo ? Qt::AlignTop | Qt::TextWordWrap : Qt::AlignVCenter)),
                               e.testo);
                    break;
            }
        }
    }
    p.end();
}

void ScriviPdf(const Impaginato& im, const QString& file, const QString& titolo) {
    {
        QFile prova(file);
        if (!prova.open(QIODevice::WriteOnly)) {
            throw Errore(QStringLiteral("Impossibile scrivere il file %1: %2")
                             .arg(file, prova.errorString()));
        }
    }
    QPdfWriter w(file);
    w.setResolution(600);
    w.setTitle(titolo);
    w.setCreator(QStringLiteral("Incassi"));
    Disegna(im, w);
}

}  // namespace incassi::stampa
