#include "window/frmconfigura.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

#include "host/host.h"
#include "values/error.h"
#include "values/sqlquote.h"
#include "values/values.h"
#include "window/gridviews.h"
#include "window/uiport.h"

namespace incassi {

namespace {

const QString kTorvane = QStringLiteral("Torvane");

bool Si(UiPort& ui, const QString& domanda, const QString& titolo) {
    return ui.Messaggio(domanda, titolo, Icona::Domanda, Pulsanti::SiNo) == Risposta::Si;
}

// Every field of the record set in the layout: one the layout lacks joins it
// hidden, after the others.
void Completa(LayoutGriglia& layout, const QStringList& campi) {
    int ordine = 0;
    for (const ColonnaLayout& c : layout.colonne)
        ordine = std::max(ordine, c.ordine + 1);
    for (const QString& campo : campi) {
        const bool presente =
            std::any_of(layout.colonne.begin(), layout.colonne.end(), [&](const ColonnaLayout& c) {
                return c.campo.compare(campo, Qt::CaseInsensitive) == 0;
            });
        if (!presente) layout.colonne.push_back({campo, ordine++, 0, campo, false, {}});
    }
}

}  // namespace

FrmConfigura::FrmConfigura(Host& host, UiPort& ui, QString codiceRicerca, LayoutGriglia layout,
                           const QStringList& campi)
    : host_(host), ui_(ui), codice_(std::move(codiceRicerca)), layout_(std::move(layout)) {
    Completa(layout_, campi);
}

QStringList FrmConfigura::visibili() const {
    std::vector<const ColonnaLayout*> v;
    for (const ColonnaLayout& c : layout_.colonne)
        if (c.visibile) v.push_back(&c);
    std::stable_sort(v.begin(), v.end(), [](auto a, auto b) { return a->ordine < b->ordine; });
    QStringList out;
    for (const ColonnaLayout* c : v)
        out << c->campo;
    return out;
}

QStringList FrmConfigura::nascosti() const {
    QStringList out;
    for (const ColonnaLayout& c : layout_.colonne)
        if (!c.visibile) out << c.campo;
    return out;
}

void FrmConfigura::mostra(const QString& campo, bool visibile) {
    for (ColonnaLayout& c : layout_.colonne)
        if (c.campo.compare(campo, Qt::CaseInsensitive) == 0) c.visibile = visibile;
}

void FrmConfigura::mostraTutti(bool visibili) {
    for (ColonnaLayout& c : layout_.colonne)
        c.visibile = visibili;
}

QString FrmConfigura::condizione() const {
    return QStringLiteral("codiceoperatore='%1' and codicericerca='%2'")
        .arg(sql::Raddoppia(host_.user()), sql::Raddoppia(codice_));
}

QStringList FrmConfigura::viste() const {
    QStringList out;
    for (auto rs = host_.OpenRecordSetPreferenze(QStringLiteral("select * from viste where ") +
                                                 condizione());
         !rs->Eof(); rs->MoveNext())
        out << Txt(NullAVuoto(rs->Value(QStringLiteral("NomeVista"))));
    return out;
}

QString FrmConfigura::preferita() const {
    auto rs = host_.OpenRecordSetPreferenze(QStringLiteral("select * from viste where ") +
                                            condizione() + QStringLiteral(" and preferito<>0"));
    return rs->Eof() ? QString() : Txt(rs->Value(QStringLiteral("NomeVista")));
}

QString FrmConfigura::NomeNonValido(const QString& nome) {
    const QString n = nome.trimmed();
    if (n.isEmpty()) return QStringLiteral("il nome è vuoto");
    if (n.contains(QLatin1String(".."))) return QStringLiteral("il nome non può contenere \"..\"");
    static const QRegularExpression kVietati(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    if (n.contains(kVietati))
        return QStringLiteral(
            "il nome non può contenere \\ / : * ? \" < > | né caratteri di controllo");
    if (n.size() > 100) return QStringLiteral("il nome è più lungo di 100 caratteri");
    if (n.endsWith(u'.')) return QStringLiteral("il nome non può finire con un punto");
    return {};
}

template <typename F>
bool FrmConfigura::protetto(F&& f) {
    try {
        return f();
    } catch (const Errore&) {
        ui_.Messaggio(QStringLiteral("Errore nel modulo di ricerca, rivolgersi all'assistenza"),
                      kTorvane, Icona::Critico);
        return false;
    }
}

bool FrmConfigura::Salva(const QString& nomeDato, bool predefinita) {
    const QString nome = nomeDato.trimmed();
    if (const QString perche = NomeNonValido(nome); !perche.isEmpty()) {
        ui_.Messaggio(QStringLiteral("Impossibile salvare la vista: %1.").arg(perche), Titolo(),
                      Icona::Esclamazione);
        return false;
    }
    if (!Si(ui_, QStringLiteral("Salvo la vista corrente?"),
            QStringLiteral("Conferma salvataggio")))
        return false;
    return protetto([&] {
        const QString file = VisteGriglia(host_).filePersonale(nome);
        if (viste().contains(nome, Qt::CaseInsensitive) && !QFileInfo::exists(file)) {
            ui_.Messaggio(QStringLiteral("Impossibile salvare la vista con questo nome, è già "
                                         "presente un'altra vista salvata nello stesso modo."),
                          kTorvane, Icona::Informazione);
            return false;
        }
        ScriviLayout(file, host_.user() + nome, layout_);
        TransazioneHost tr(host_);
        if (predefinita)
            host_.Execute(QStringLiteral("UPDATE viste SET preferito=0 WHERE ") + condizione());
        const QString questa =
            condizione() + QStringLiteral(" and nomevista='%1'").arg(sql::Raddoppia(nome));
        const QString valore = predefinita ? QStringLiteral("-1") : QStringLiteral("0");
        if (host_.Execute(
                QStringLiteral("UPDATE viste SET preferito=%1 WHERE %2").arg(valore, questa)) ==
            0) {
            host_.Execute(QStringLiteral("INSERT INTO viste (NomeVista, codiceoperatore, "
                                         "codicericerca, preferito) VALUES ('%1', '%2', '%3', %4)")
                              .arg(sql::Raddoppia(nome), sql::Raddoppia(host_.user()),
                                   sql::Raddoppia(codice_), valore));
        }
        tr.commit();
        ui_.Messaggio(QStringLiteral("Salvataggio Completato"), QStringLiteral("Salvataggio"),
                      Icona::Informazione);
        return true;
    });
}

bool FrmConfigura::Attiva(const QString& nome) {
    if (nome.isEmpty() || !Si(ui_, QStringLiteral("Vuoi modificare la vista selezionata"),
                              QStringLiteral("Conferma modifica")))
        return false;
    return protetto([&] {
        // One preferred view per operator and grid: the others lose it.
        TransazioneHost tr(host_);
        host_.Execute(QStringLiteral("UPDATE viste SET preferito=0 WHERE ") + condizione());
        const int fatte = host_.Execute(
            QStringLiteral("UPDATE viste SET preferito=-1 WHERE %1 and nomevista='%2'")
                .arg(condizione(), sql::Raddoppia(nome)));
        tr.commit();
        return fatte > 0;
    });
}

bool FrmConfigura::EliminaVista(const QString& nome) {
    if (nome.isEmpty() || !Si(ui_, QStringLiteral("Vuoi eliminare la vista selezionata"),
                              QStringLiteral("Conferma eliminazione")))
        return false;
    return protetto([&] {
        const int fatte =
            host_.Execute(QStringLiteral("DELETE FROM viste WHERE %1 and nomevista='%2'")
                              .arg(condizione(), sql::Raddoppia(nome)));
        if (fatte == 0) return false;
        ui_.Messaggio(QStringLiteral("Cancellazione effettuata"),
                      QStringLiteral("Personalizza Ricerche"), Icona::Informazione);
        return true;
    });
}

bool FrmConfigura::CaricaVista(const QString& nome) {
    LayoutGriglia vista;
    if (!VisteGriglia(host_).CaricaVista(nome, vista)) return false;
    QStringList campi;
    for (const ColonnaLayout& c : layout_.colonne)
        campi << c.campo;
    Completa(vista, campi);
    layout_ = std::move(vista);
    return true;
}

bool FrmConfigura::CaricaDefault() {
    if (!Si(ui_, QStringLiteral("Carico la vista base?"), QStringLiteral("Conferma Lettura")))
        return false;
    LayoutGriglia base;
    if (!VisteGriglia(host_).CaricaBase(codice_, base)) {
        ui_.Messaggio(
            QStringLiteral("La vista base di questa griglia non esiste o non si può leggere."),
            Titolo(), Icona::Esclamazione);
        return false;
    }
    QStringList campi;
    for (const ColonnaLayout& c : layout_.colonne)
        campi << c.campo;
    Completa(base, campi);
    layout_ = std::move(base);
    return true;
}

bool FrmConfigura::SalvaComeBase() {
    if (!host_.UserAdmin()) {
        ui_.Messaggio(QStringLiteral("Solo un amministratore può salvare la vista base, che vale "
                                     "per tutti gli operatori."),
                      Titolo(), Icona::Esclamazione);
        return false;
    }
    if (!Si(ui_, QStringLiteral("Salvo la vista come vista base?"),
            QStringLiteral("Conferma salvataggio")))
        return false;
    try {
        ScriviLayout(VisteGriglia(host_).fileBase(codice_), codice_, layout_);
    } catch (const Errore& e) {
        ui_.Messaggio(QStringLiteral("Impossibile salvare la vista base: %1").arg(e.testo()),
                      Titolo(), Icona::Esclamazione);
        return false;
    }
    ui_.Messaggio(QStringLiteral("Salvataggio effettuato"), Titolo(), Icona::Informazione);
    return true;
}

}  // namespace incassi
