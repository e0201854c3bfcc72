#include "reports/esportazione.h"

#include <xlsxwriter.h>
#include <zip.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <memory>

#include "values/error.h"
#include "values/values.h"

namespace incassi::stampa {

QString Estensione(FormatoExport f) {
    switch (f) {
        case FormatoExport::Excel:
            return QStringLiteral("xlsx");
        case FormatoExport::Pdf:
            return QStringLiteral("pdf");
        case FormatoExport::Word:
            return QStringLiteral("docx");
    }
    return {};
}

QString CartellaExport(const QString& percorso, FormatoExport f) {
    const char* sotto = f == FormatoExport::Excel ? "export/Xls"
                        : f == FormatoExport::Pdf ? "export/pdf"
                                                  : "export/Doc";
    return QDir(percorso).filePath(QLatin1String(sotto));
}

QString NuovoFileExport(const QString& cartella, const QString& codice, const QString& estensione) {
    if (!QDir().mkpath(cartella)) {
        throw Errore(QStringLiteral("Impossibile creare la cartella %1.").arg(cartella));
    }
    const QDir dir(cartella);
    for (int n = 1; n < 1000000; ++n) {
        const QString nome =
            dir.filePath(QStringLiteral("%1%2.%3").arg(codice).arg(n).arg(estensione));
        if (QFileInfo::exists(nome)) continue;
        // NewOnly: another export taking the same number at the same moment fails here.
        QFile f(nome);
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return nome;
        if (!QFileInfo::exists(nome)) {
            throw Errore(QStringLiteral("Impossibile scrivere nella cartella %1: %2")
                             .arg(cartella, f.errorString()));
        }
    }
    throw Errore(QStringLiteral("Troppi file nella cartella %1.").arg(cartella));
}

namespace {

// ---- Excel ---------------------------------------------------------------

class Foglio {
  public:
    explicit Foglio(const QString& file) : wb_(workbook_new(QFile::encodeName(file).constData())) {
        if (!wb_) throw Errore(QStringLiteral("Impossibile creare il file %1.").arg(file));
        file_ = file;
        ws_ = workbook_add_worksheet(wb_, nullptr);
        grassetto_ = formato(true);
        titolo_ = formato(true);
        format_set_font_size(titolo_, 14);
        intestazione_ = formato(true);
        format_set_bottom(intestazione_, LXW_BORDER_THIN);
        format_set_text_wrap(intestazione_);
        format_set_align(intestazione_, LXW_ALIGN_VERTICAL_TOP);
        for (bool b : {false, true}) {
            importo_[b] = formato(b, "#,##0.00");
            intero_[b] = formato(b, "#,##0");
            numero_[b] = formato(b, "0.00");
            data_[b] = formato(b, "dd/mm/yyyy");
            testo_[b] = b ? grassetto_ : nullptr;
        }
        for (lxw_format* f : {importo_[true], intero_[true], numero_[true]})
            format_set_top(f, LXW_BORDER_THIN);
    }
    ~Foglio() {
        if (wb_) workbook_close(wb_);
    }

    void chiudi() {
        const lxw_error e = workbook_close(std::exchange(wb_, nullptr));
        if (e != LXW_NO_ERROR) {
            throw Errore(QStringLiteral("Impossibile scrivere il file %1: %2")
                             .arg(file_, QString::fromUtf8(lxw_strerror(e))));
        }
    }

    void testo(const Blocco& b) {
        lxw_format* f = b.stile == Stile::Titolo        ? titolo_
                        : b.stile == Stile::Sottotitolo ? grassetto_
                        : b.stile == Stile::Grassetto   ? grassetto_
                                                        : nullptr;
        stringa(riga_++, 0, b.testo, f);
    }

    void tabella(const Blocco& b) {
        colonne(b);
        if (b.generale) {
            totali(b, primaDellaSerie_, riga_ - 1);
            primaDellaSerie_ = -1;
            return;
        }
        for (size_t c = 0; c < b.colonne.size(); ++c)
            stringa(riga_, lxw_col_t(c), b.colonne[c].titolo, intestazione_);
        if (!congelato_ && riga_ < 12) {
            worksheet_freeze_panes(ws_, riga_ + 1, 0);
            congelato_ = true;
        }
        ++riga_;
        const int prima = riga_;
        if (primaDellaSerie_ < 0) primaDellaSerie_ = prima;
        for (const auto& r : b.righe) {
            for (size_t c = 0; c < r.size(); ++c)
                valore(riga_, lxw_col_t(c), r[c], b.colonne[c].formato, false);
            ++riga_;
        }
        if (b.conTotali) totali(b, prima, riga_ - 1);
        ++riga_;
    }

    void campi(const Blocco& b) {
        for (size_t i = 0; i < b.voci.size(); ++i) {
            const int col = int(i % size_t(b.perRiga)) * 2;
            stringa(riga_, lxw_col_t(col), b.voci[i].etichetta, grassetto_);
            valore(riga_, lxw_col_t(col + 1), b.voci[i].valore, b.voci[i].formato, false);
            if (col / 2 == b.perRiga - 1 || i + 1 == b.voci.size()) ++riga_;
        }
    }

    void firme(const Blocco& b) {
        riga_ += 2;
        for (int i = 0; i < b.firme.size(); ++i) {
            stringa(riga_, lxw_col_t(i * 3), QStringLiteral("______________________"), nullptr);
            stringa(riga_ + 1, lxw_col_t(i * 3), b.firme[i], nullptr);
        }
        riga_ += 2;
    }

    void salta(int righe) { riga_ += righe; }
    void spazio(const Blocco&) { salta(1); }
    void nuovaPagina(const Blocco&) { salta(1); }

  private:
    lxw_format* formato(bool bold, const char* numero = nullptr) {
        lxw_format* f = workbook_add_format(wb_);
        if (bold) format_set_bold(f);
        if (numero) format_set_num_format(f, numero);
        return f;
    }

    void stringa(int r, lxw_col_t c, const QString& s, lxw_format* f) {
        if (s.isEmpty()) return;
        worksheet_write_string(ws_, lxw_row_t(r), c, s.toUtf8().constData(), f);
    }

    lxw_format* numerico(Formato f, bool totale) {
        switch (f) {
            case Formato::Importo:
                return importo_[totale];
            case Formato::Intero:
                return intero_[totale];
            default:
                return numero_[totale];
        }
    }

    void valore(int r, lxw_col_t c, const QVariant& v, Formato f, bool totale) {
        if (IsNull(v)) return;
        if (Numerico(f)) {
            worksheet_write_number(ws_, lxw_row_t(r), c, v.toDouble(), numerico(f, totale));
        } else if (f == Formato::Data && v.typeId() == QMetaType::QDate) {
            const QDate d = v.toDate();
            lxw_datetime dt{d.year(), d.month(), d.day(), 0, 0, 0.0};
            worksheet_write_datetime(ws_, lxw_row_t(r), c, &dt, data_[totale]);
        } else {
            stringa(r, c, v.toString(), testo_[totale]);
        }
    }

    // The totals row under rows `da`..`a`: SUBTOTAL leaves out the subtotals
    // inside the range, so a grand total over many tables counts each row once.
    void totali(const Blocco& b, int da, int a) {
        stringa(riga_, 0, b.etichettaTotali, grassetto_);
        for (size_t c = 0; c < b.colonne.size(); ++c) {
            if (!b.colonne[c].totale) continue;
            const double somma = b.somme[c].toDouble();
            if (da < 0 || a < da) {
                worksheet_write_number(ws_, lxw_row_t(riga_), lxw_col_t(c), somma,
                                       numerico(b.colonne[c].formato, true));
                continue;
            }
            char intervallo[LXW_MAX_CELL_RANGE_LENGTH];
            lxw_rowcol_to_range(intervallo, lxw_row_t(da), lxw_col_t(c), lxw_row_t(a),
                                lxw_col_t(c));
            const QByteArray formula = "=SUBTOTAL(9," + QByteArray(intervallo) + ")";
            worksheet_write_formula_num(ws_, lxw_row_t(riga_), lxw_col_t(c), formula.constData(),
                                        numerico(b.colonne[c].formato, true), somma);
        }
        ++riga_;
    }

    // Column widths from the first table: its weights, wide enough for amounts.
    void colonne(const Blocco& b) {
        if (larghezze_) return;
        larghezze_ = true;
        for (size_t c = 0; c < b.colonne.size(); ++c) {
            const double w =
                std::max(b.colonne[c].peso * 1.3, Numerico(b.colonne[c].formato) ? 12.0 : 8.0);
            worksheet_set_column(ws_, lxw_col_t(c), lxw_col_t(c), w, nullptr);
        }
    }

    QString file_;
    lxw_workbook* wb_ = nullptr;
    lxw_worksheet* ws_ = nullptr;
    lxw_format *grassetto_, *titolo_, *intestazione_;
    lxw_format *importo_[2], *intero_[2], *numero_[2], *data_[2], *testo_[2];
    int riga_ = 0;
    int primaDellaSerie_ = -1;  // first data row since the last grand total
    bool congelato_ = false;
    bool larghezze_ = false;
};

void Blocchi(Foglio& f, const std::vector<Blocco>& blocchi) {
    for (const Blocco& b : blocchi)
        PerBlocco(b, f);
}

// ---- Word ----------------------------------------------------------------

QString X(const QString& s) {
    return s.toHtmlEscaped();
}

// A run of text: `mezziPunti` is the size in half points.
QString Run(const QString& testo, bool grassetto, int mezziPunti) {
    QString rpr;
    if (grassetto) rpr += QStringLiteral("<w:b/>");
    rpr += QStringLiteral("<w:sz w:val=\"%1\"/>").arg(mezziPunti);
    return QStringLiteral("<w:r><w:rPr>%1</w:rPr><w:t xml:space=\"preserve\">%2</w:t></w:r>")
        .arg(rpr, X(testo));
}

QString Jc(Allineamento a) {
    return a == Allineamento::Destra   ? QStringLiteral("right")
           : a == Allineamento::Centro ? QStringLiteral("center")
                                       : QStringLiteral("left");
}

QString Paragrafo(const QString& testo, bool grassetto, int mezziPunti,
                  Allineamento a = Allineamento::Sinistra) {
    return QStringLiteral(
               "<w:p><w:pPr><w:spacing w:before=\"0\" w:after=\"60\"/><w:jc "
               "w:val=\"%1\"/></w:pPr>%2</w:p>")
        .arg(Jc(a), Run(testo, grassetto, mezziPunti));
}

QString Cella(const QString& testo, int larghezza, Allineamento a, bool grassetto, int mezziPunti,
              bool bordoSotto = false) {
    const QString bordo = bordoSotto ? QStringLiteral(
                                           "<w:tcBorders><w:bottom w:val=\"single\" "
                                           "w:sz=\"6\" w:color=\"000000\"/></w:tcBorders>")
                                     : QString();
    return QStringLiteral(
               "<w:tc><w:tcPr><w:tcW w:w=\"%1\" w:type=\"dxa\"/>%2</w:tcPr><w:p><w:pPr>"
               "<w:spacing w:before=\"0\" w:after=\"0\"/><w:jc w:val=\"%3\"/></w:pPr>%4"
               "</w:p></w:tc>")
        .arg(larghezza)
        .arg(bordo, Jc(a), Run(testo, grassetto, mezziPunti));
}

QString Tabella(const QString& griglia, const QString& righe) {
    return QStringLiteral(
               "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/><w:tblLayout "
               "w:type=\"fixed\"/></w:tblPr><w:tblGrid>%1</w:tblGrid>%2</w:tbl>")
        .arg(griglia, righe);
}

class Documento {
  public:
    explicit Documento(const Contenuto& c) : orizzontale_(c.orizzontale) {}

    void blocchi(const std::vector<Blocco>& v) {
        for (const Blocco& b : v)
            PerBlocco(b, *this);
    }

    // The blocks, through PerBlocco.
    void testo(const Blocco& b) {
        const bool grassetto = b.stile != Stile::Normale && b.stile != Stile::Piccolo;
        const int mezziPunti = b.stile == Stile::Titolo        ? 28
                               : b.stile == Stile::Sottotitolo ? 24
                                                               : 18;
        corpo_ += Paragrafo(b.testo, grassetto, mezziPunti, b.allineamento);
    }
    void spazio(const Blocco&) { corpo_ += Paragrafo(QString(), false, 18); }
    void nuovaPagina(const Blocco&) {
        corpo_ += QStringLiteral("<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>");
    }

    QByteArray xml() const {
        // A4 in twentieths of a point, margins of about 12 mm.
        const QString pagina =
            orizzontale_
                ? QStringLiteral("<w:pgSz w:w=\"16838\" w:h=\"11906\" w:orient=\"landscape\"/>")
                : QStringLiteral("<w:pgSz w:w=\"11906\" w:h=\"16838\"/>");
        return QStringLiteral(
                   "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                   "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/"
                   "main\"><w:body>%1<w:sectPr>%2<w:pgMar w:top=\"680\" w:right=\"680\" "
                   "w:bottom=\"680\" w:left=\"680\" w:header=\"340\" w:footer=\"340\" "
                   "w:gutter=\"0\"/></w:sectPr></w:body></w:document>")
            .arg(corpo_, pagina)
            .toUtf8();
    }

    // tabella, campi and firme are PerBlocco's too.
    int larghezzaUtile() const { return orizzontale_ ? 16838 - 1360 : 11906 - 1360; }

    void tabella(const Blocco& b) {
        double pesi = 0;
        for (const auto& c : b.colonne)
            pesi += c.peso;
        std::vector<int> w;
        QString griglia;
        for (const auto& c : b.colonne) {
            w.push_back(int(larghezzaUtile() * c.peso / pesi));
            griglia += QStringLiteral("<w:gridCol w:w=\"%1\"/>").arg(w.back());
        }
        QString righe;
        if (!b.generale) {
            righe += QStringLiteral("<w:tr><w:trPr><w:tblHeader/></w:trPr>");
            for (size_t c = 0; c < b.colonne.size(); ++c)
                righe +=
                    Cella(b.colonne[c].titolo, w[c], b.colonne[c].allineamento, true, 14, true);
            righe += QStringLiteral("</w:tr>");
            for (const auto& r : b.righe) {
                righe += QStringLiteral("<w:tr>");
                for (size_t c = 0; c < r.size(); ++c) {
                    righe += Cella(TestoValore(r[c], b.colonne[c].formato), w[c],
                                   b.colonne[c].allineamento, false, 14);
                }
                righe += QStringLiteral("</w:tr>");
            }
        }
        if (b.conTotali) {
            righe += QStringLiteral("<w:tr>");
            for (size_t c = 0; c < b.colonne.size(); ++c) {
                const QString t = c == 0 ? b.etichettaTotali
                                  : b.colonne[c].totale
                                      ? TestoValore(b.somme[c].toDouble(), b.colonne[c].formato)
                                      : QString();
                righe += Cella(t, w[c], c == 0 ? Allineamento::Sinistra : b.colonne[c].allineamento,
                               true, 14);
            }
            righe += QStringLiteral("</w:tr>");
        }
        corpo_ += Tabella(griglia, righe) + Paragrafo(QString(), false, 12);
    }

    void campi(const Blocco& b) {
        const int coppie = b.perRiga;
        const int w = larghezzaUtile() / (coppie * 2);
        QString griglia;
        for (int i = 0; i < coppie * 2; ++i)
            griglia += QStringLiteral("<w:gridCol w:w=\"%1\"/>").arg(w);
        QString righe;
        for (size_t i = 0; i < b.voci.size(); i += size_t(coppie)) {
            righe += QStringLiteral("<w:tr>");
            for (size_t j = i; j < i + size_t(coppie); ++j) {
                if (j < b.voci.size()) {
                    const Voce& v = b.voci[j];
                    righe += Cella(v.etichetta, w, Allineamento::Sinistra, true, 16);
                    righe +=
                        Cella(TestoValore(v.valore, v.formato), w,
                              Numerico(v.formato) ? Allineamento::Destra : Allineamento::Sinistra,
                              false, 16);
                } else {
                    righe += Cella(QString(), w, Allineamento::Sinistra, false, 16) +
                             Cella(QString(), w, Allineamento::Sinistra, false, 16);
                }
            }
            righe += QStringLiteral("</w:tr>");
        }
        corpo_ += Tabella(griglia, righe) + Paragrafo(QString(), false, 12);
    }

    void firme(const Blocco& b) {
        if (b.firme.isEmpty()) return;
        const int w = larghezzaUtile() / int(b.firme.size());
        QString griglia, linee, didascalie;
        for (const QString& f : b.firme) {
            griglia += QStringLiteral("<w:gridCol w:w=\"%1\"/>").arg(w);
            linee += Cella(QStringLiteral("______________________________"), w,
                           Allineamento::Centro, false, 18);
            didascalie += Cella(f, w, Allineamento::Centro, false, 18);
        }
        corpo_ += Paragrafo(QString(), false, 18) +
                  Tabella(griglia,
                          QStringLiteral("<w:tr>%1</w:tr><w:tr>%2</w:tr>").arg(linee, didascalie));
    }

  private:
    bool orizzontale_;
    QString corpo_;
};

const char kContentTypes[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" "
    "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/word/document.xml\" "
    "ContentType=\"application/"
    "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
    "</Types>";

const char kRels[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"word/document.xml\"/></Relationships>";

}  // namespace

void ScriviXlsx(const Contenuto& c, const QString& file) {
    Foglio f(file);
    Blocchi(f, c.intestazione);
    f.salta(1);
    Blocchi(f, c.corpo);
    f.chiudi();
}

void ScriviDocx(const Contenuto& c, const QString& file) {
    Documento d(c);
    d.blocchi(c.intestazione);
    d.blocchi(c.corpo);
    const QByteArray documento = d.xml();
    int errore = 0;
    zip_t* z = zip_open(QFile::encodeName(file).constData(), ZIP_CREATE | ZIP_TRUNCATE, &errore);
    if (!z) throw Errore(QStringLiteral("Impossibile creare il file %1.").arg(file));
    const std::pair<const char*, QByteArray> parti[] = {
        {"[Content_Types].xml", QByteArray(kContentTypes)},
        {"_rels/.rels", QByteArray(kRels)},
        {"word/document.xml", documento},
    };
    for (const auto& [nome, dati] : parti) {
        // The buffers live until zip_close, which reads them.
        zip_source_t* s = zip_source_buffer(z, dati.constData(), zip_uint64_t(dati.size()), 0);
        if (!s || zip_file_add(z, nome, s, ZIP_FL_ENC_UTF_8) < 0) {
            if (s) zip_source_free(s);
            const QString e = QString::fromUtf8(zip_strerror(z));
            zip_discard(z);
            throw Errore(QStringLiteral("Impossibile scrivere il file %1: %2").arg(file, e));
        }
    }
    if (zip_close(z) != 0) {
        const QString e = QString::fromUtf8(zip_strerror(z));
        zip_discard(z);
        throw Errore(QStringLiteral("Impossibile scrivere il file %1: %2").arg(file, e));
    }
}

}  // namespace incassi::stampa
