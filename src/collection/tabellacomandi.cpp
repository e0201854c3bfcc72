// The collection window's commands by name, for the Qt view and incassi-run
// alike, with the two rules every command obeys: it runs only while its
// button is enabled, and the money field being typed into is committed first.
// Rights are checked by the actions themselves, whoever calls them.

#include "collection/frmincassi.h"
#include "host/host.h"
#include "window/uiport.h"

namespace incassi {

namespace {

struct VoceComando {
    const char* nome;
    void (*esegui)(FrmIncassi&);
    bool soloModifica = false;       // changes money: only on a document being edited
    const char* pulsante = nullptr;  // enabled as this button, when not its own
    bool scarta = false;             // throws the edit away: the field typed into is not read
};

const VoceComando kComandi[] = {
    {"Nuovo", [](FrmIncassi& f) { f.Nuovo(); }},
    {"Modifica", [](FrmIncassi& f) { f.Modifica(); }},
    {"Salva", [](FrmIncassi& f) { f.Salva(); }},
    {"Annulla", [](FrmIncassi& f) { f.AnnullaSeConfermato(); }, false, nullptr, true},
    {"Elimina", [](FrmIncassi& f) { f.Elimina(); }},
    {"Cerca", [](FrmIncassi& f) { f.Cerca(); }},
    {"Filtro", [](FrmIncassi& f) { f.MostraFiltro(!f.filtroVisibile()); }},
    {"ApplicaFiltro", [](FrmIncassi& f) { f.ApplicaFiltro(); }, false, "Filtro"},
    {"Primo", [](FrmIncassi& f) { f.Muovi(FrmIncassi::Verso::Primo); }},
    {"Precedente", [](FrmIncassi& f) { f.Muovi(FrmIncassi::Verso::Precedente); }},
    {"Successivo", [](FrmIncassi& f) { f.Muovi(FrmIncassi::Verso::Successivo); }},
    {"Ultimo", [](FrmIncassi& f) { f.Muovi(FrmIncassi::Verso::Ultimo); }},
    {"CaricaApparecchi", [](FrmIncassi& f) { f.CaricaApparecchi(); }},
    {"EliminaRigaApparecchio", [](FrmIncassi& f) { f.EliminaRigaApparecchio(); }, true},
    {"InserisciRigaNota", [](FrmIncassi& f) { f.InserisciRigaNota(); }, true},
    {"EliminaRigaNota", [](FrmIncassi& f) { f.EliminaRigaNota(); }, true},
    {"ScegliPartenza", [](FrmIncassi& f) { f.ScegliEstremo(true); }, true},
    {"ScegliDestinazione", [](FrmIncassi& f) { f.ScegliEstremo(false); }, true},
    {"CalcolaDettagli", [](FrmIncassi& f) { f.CalcolaDettagli(); }, true},
    {"Saldi", [](FrmIncassi& f) { f.Saldi(); }, true},
    {"ContaDocumenti", [](FrmIncassi& f) { f.ContaDocumenti(); }},
    {"Stampa", [](FrmIncassi& f) { f.Stampa(); }},
    {"CmNota", [](FrmIncassi& f) { f.Nota(); }},
    {"ContatoriIsola", [](FrmIncassi& f) { f.ContatoriIsola(); }},
    {"CmdAcconto", [](FrmIncassi& f) { f.CmdAcconto(); }},
    {"CmdChiudiIncasso", [](FrmIncassi& f) { f.CmdChiudiIncasso(); }},
    {"CmdRicalcola", [](FrmIncassi& f) { f.CmdRicalcola(); }},
    {"CmdNoDenaro", [](FrmIncassi& f) { f.CmdNoDenaro(); }},
    {"CmdRimanenza", [](FrmIncassi& f) { f.CmdRimanenza(); }},
    {"CmdAcconti", [](FrmIncassi& f) { f.CmdAcconti(); }},
};

const VoceComando* Trova(const QString& nome) {
    for (const VoceComando& c : kComandi) {
        if (nome.compare(QLatin1String(c.nome), Qt::CaseInsensitive) == 0) return &c;
    }
    return nullptr;
}

}  // namespace

QStringList FrmIncassi::Comandi() {
    QStringList out;
    for (const VoceComando& c : kComandi)
        out << QLatin1String(c.nome);
    return out;
}

bool FrmIncassi::Abilitato(const QString& nome) const {
    const VoceComando* v = Trova(nome);
    if (v && v->soloModifica && !modifica_) return false;
    if (v && v->pulsante) return Abilitato(QLatin1String(v->pulsante));
    if (const PulsanteBarra* b = finestra_.barra().trova(nome)) return b->enabled;
    if (const Controllo* c = finestra_.trova(nome)) return c->enabled() && c->visible();
    return v != nullptr;
}

bool FrmIncassi::Esegui(const QString& nome) {
    const VoceComando* c = Trova(nome);
    if (!c || !Abilitato(nome)) return false;
    // A typed amount that is no number stops the command where it stands.
    if (!c->scarta && !confermaCampo()) return false;
    c->esegui(*this);
    return true;
}

void FrmIncassi::CampoDigitato(const QString& campo) {
    if (CampoDenaro(campo)) campoDigitato_ = campo;
}

bool FrmIncassi::confermaCampo() {
    if (campoDigitato_.isEmpty()) return true;
    const QString campo = campoDigitato_;  // leaving the field clears it
    return UscitaCampo(campo);
}

bool FrmIncassi::consentito(bool diritto, const QString& azione) {
    if (diritto) return true;
    ui_.Messaggio(QStringLiteral("Operazione non consentita: l'operatore %1 non ha il permesso di "
                                 "%2.")
                      .arg(host_.user(), azione),
                  titolo_, Icona::Esclamazione);
    return false;
}

bool FrmIncassi::filtroVisibile() const {
    return finestra_[QStringLiteral("CCausale")].visible();
}

void FrmIncassi::MostraFiltro(bool visibile) {
    for (const char* nome : {"CCausale", "TxLocale", "DataFiltro", "DataFiltroFine"})
        finestra_[QLatin1String(nome)].setVisible(visibile);
}

}  // namespace incassi
