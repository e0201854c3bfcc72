// The collection window in scenario runs.

#include <QJsonArray>

#include "collection/frmincassi.h"
#include "common/error.h"
#include "scenario/adattatori.h"

namespace incassi::scenario {

namespace {

const QString kGrigliaIncassi = QStringLiteral("GrigliaIncassi");
const QString kGrigliaNota = QStringLiteral("GrigliaNota");

bool Uguale(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

void VociMenu(const std::vector<MenuItem>& voci, QStringList& foglie, QStringList& spuntate) {
    for (const MenuItem& v : voci) {
        if (v.children.empty()) {
            foglie << v.key;
            if (v.checkable && v.checked) spuntate << v.key;
        }
        VociMenu(v.children, foglie, spuntate);
    }
}

class Incassi : public AdattatoreFinestra {
  public:
    explicit Incassi(ContestoFinestra& c) : f_(c.host, c.ui, c.proprieta, c.operatore) {
        if (c.oggi.isValid()) {
            const QDate oggi = c.oggi;
            f_.orologio = [oggi] { return oggi; };
        }
        aggiungiComando(QStringLiteral("Nuovo"), [this] { f_.Nuovo(); });
        aggiungiComando(QStringLiteral("Modifica"), [this] { f_.Modifica(); });
        aggiungiComando(QStringLiteral("Salva"), [this] { f_.Salva(); });
        aggiungiComando(QStringLiteral("Annulla"), [this] { f_.Annulla(); });
        aggiungiComando(QStringLiteral("Elimina"), [this] { f_.Elimina(); });
        aggiungiComando(QStringLiteral("Filtro"), [this] { f_.ApplicaFiltro(); });
        aggiungiComando(QStringLiteral("Cerca"), [this] { f_.Cerca(); });
        aggiungiComando(QStringLiteral("CaricaApparecchi"), [this] { f_.CaricaApparecchi(); });
        aggiungiComando(QStringLiteral("CalcolaDettagli"), [this] { f_.CalcolaDettagli(); });
        aggiungiComando(QStringLiteral("Saldi"), [this] { f_.Saldi(); });
        aggiungiComando(QStringLiteral("ContaDocumenti"), [this] { f_.ContaDocumenti(); });
        aggiungiComando(QStringLiteral("CmdAcconto"), [this] { f_.CmdAcconto(); });
        aggiungiComando(QStringLiteral("CmdChiudiIncasso"), [this] { f_.CmdChiudiIncasso(); });
        aggiungiComando(QStringLiteral("CmdRicalcola"), [this] { f_.CmdRicalcola(); });
        aggiungiComando(QStringLiteral("CmdNoDenaro"), [this] { f_.CmdNoDenaro(); });
        aggiungiComando(QStringLiteral("CmdRimanenza"), [this] { f_.CmdRimanenza(); });
        aggiungiComando(QStringLiteral("CmdAcconti"), [this] { f_.CmdAcconti(); });
        aggiungiComando(QStringLiteral("Chiudi"), [this] { chiusa_ = f_.Chiudi(); });
        aggiungiComando(QStringLiteral("Timer"), [this] { chiusa_ = f_.Timer(); });
    }

    QString nome() const override { return QStringLiteral("FrmIncassi"); }
    void Apri() override { f_.Apri(); }
    ModelloFinestra& finestra() override { return f_.finestra(); }

    QStringList griglie() const override { return {kGrigliaIncassi, kGrigliaNota}; }
    RecordSetPtr righe(const QString& griglia) override {
        if (Uguale(griglia, kGrigliaIncassi)) return f_.righeIncassi();
        if (Uguale(griglia, kGrigliaNota)) return f_.righeNota();
        return nullptr;
    }

    void UscitaCampo(const QString& controllo) override { f_.UscitaCampo(controllo); }

    void CellaModificata(const QString& griglia, const QString& colonna) override {
        if (Uguale(griglia, kGrigliaNota)) {
            f_.CellaNotaModificata(colonna);
        } else {
            f_.CellaModificata(colonna);
        }
    }

    void Invio(const QString& griglia, const QString& colonna) override {
        if (!Uguale(griglia, kGrigliaIncassi)) AdattatoreFinestra::Invio(griglia, colonna);
        f_.InvioInColonna(colonna);
    }

    void RigaCorrente(const QString& griglia) override {
        if (Uguale(griglia, kGrigliaIncassi)) f_.RigaCorrente();
    }

    void EntraGriglia(const QString& griglia) override {
        if (Uguale(griglia, kGrigliaIncassi)) f_.EntraGriglia();
    }

    void Menu(const QString& voce) override {
        QStringList foglie, spuntate;
        VociMenu(f_.menu().menus, foglie, spuntate);
        if (!foglie.contains(voce, Qt::CaseInsensitive)) {
            throw Errore(
                QStringLiteral("Voce di menu sconosciuta nella finestra %1: %2").arg(nome(), voce));
        }
        f_.ClicMenu(voce);
    }

    void Vai(const QString& dove) override {
        static const std::pair<const char*, FrmIncassi::Verso> kVersi[] = {
            {"primo", FrmIncassi::Verso::Primo},
            {"precedente", FrmIncassi::Verso::Precedente},
            {"successivo", FrmIncassi::Verso::Successivo},
            {"ultimo", FrmIncassi::Verso::Ultimo}};
        for (const auto& [nome, verso] : kVersi) {
            if (Uguale(dove, QLatin1String(nome))) return f_.Muovi(verso);
        }
        throw Errore(QStringLiteral("Spostamento sconosciuto \"%1\" (ammessi: primo, "
                                    "precedente, successivo, ultimo)")
                         .arg(dove));
    }

    QJsonObject Stato() override {
        QStringList foglie, spuntate;
        VociMenu(f_.menu().menus, foglie, spuntate);
        return {{QStringLiteral("titolo"), f_.titolo()},
                {QStringLiteral("record"), f_.stato()},
                {QStringLiteral("nuovo"), f_.nuovo()},
                {QStringLiteral("modifica"), f_.inModifica()},
                {QStringLiteral("focus"), f_.focus()},
                {QStringLiteral("chiusa"), chiusa_},
                {QStringLiteral("menuSpuntati"), QJsonArray::fromStringList(spuntate)}};
    }

  private:
    FrmIncassi f_;
    bool chiusa_ = false;
};

}  // namespace

std::unique_ptr<AdattatoreFinestra> AdattatoreIncassi(ContestoFinestra& c) {
    return std::make_unique<Incassi>(c);
}

}  // namespace incassi::scenario
