// The collection window in scenario runs.

#include <QJsonArray>

#include "collection/frmincassi.h"
#include "scenario/adattatori.h"
#include "values/error.h"

namespace incassi::scenario {

namespace {

const QString kGrigliaIncassi = QStringLiteral("GrigliaIncassi");
const QString kGrigliaNota = QStringLiteral("GrigliaNota");
// The island meters of the current row, between ApriContatoriIsola and
// ChiudiContatoriIsola.
const QString kGrigliaContatori = QStringLiteral("GrigliaContatori");

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
        // The window's own command table; a command that is disabled now
        // (by the mode or the operator's rights) stops the run.
        for (const QString& nome : FrmIncassi::Comandi()) {
            aggiungiComando(nome, [this, nome] {
                if (!f_.Esegui(nome)) {
                    throw Errore(QStringLiteral("Comando non disponibile in questo momento nella "
                                                "finestra %1: %2")
                                     .arg(this->nome(), nome));
                }
            });
        }
        aggiungiComando(QStringLiteral("ApriContatoriIsola"), [this] {
            isola_ = f_.ApriIsola();
            if (!isola_) {
                throw Errore(QStringLiteral("La riga corrente di %1 non è un apparecchio a più "
                                            "contatori")
                                 .arg(kGrigliaIncassi));
            }
        });
        aggiungiComando(QStringLiteral("ChiudiContatoriIsola"), [this] {
            if (!isola_) throw Errore(QStringLiteral("I contatori dell'isola non sono aperti"));
            f_.ChiudiIsola(*isola_);
            isola_.reset();
        });
        aggiungiComando(QStringLiteral("Chiudi"), [this] { chiusa_ = f_.Chiudi(); });
        aggiungiComando(QStringLiteral("Timer"), [this] { chiusa_ = f_.Timer(); });
    }

    QString nome() const override { return QStringLiteral("FrmIncassi"); }
    void Apri() override { f_.Apri(); }
    ModelloFinestra& finestra() override { return f_.finestra(); }

    QStringList griglie() const override {
        return {kGrigliaIncassi, kGrigliaNota, kGrigliaContatori};
    }
    RecordSetPtr righe(const QString& griglia) override {
        if (Uguale(griglia, kGrigliaIncassi)) return f_.righeIncassi();
        if (Uguale(griglia, kGrigliaNota)) return f_.righeNota();
        if (Uguale(griglia, kGrigliaContatori)) return isola_ ? isola_->righe() : nullptr;
        return nullptr;
    }

    void UscitaCampo(const QString& controllo) override { f_.UscitaCampo(controllo); }
    void Digitato(const QString& controllo) override { f_.CampoDigitato(controllo); }

    void CellaModificata(const QString& griglia, const QString& colonna,
                         const QVariant& prima) override {
        if (Uguale(griglia, kGrigliaNota)) {
            f_.CellaNotaModificata(colonna, prima);
        } else if (Uguale(griglia, kGrigliaContatori)) {
            if (isola_) isola_->CellaModificata(colonna, prima);
        } else {
            f_.CellaModificata(colonna, prima);
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

    QStringList eventi() const override {
        return {QStringLiteral("esci"), QStringLiteral("cella"), QStringLiteral("invio"),
                QStringLiteral("menu"), QStringLiteral("vai")};
    }
    QStringList vociMenu() const override {
        QStringList foglie, spuntate;
        VociMenu(f_.menu().menus, foglie, spuntate);
        return foglie;
    }

    void Menu(const QString& voce) override {
        if (!vociMenu().contains(voce, Qt::CaseInsensitive)) {
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
    std::unique_ptr<FrmContatoriIsole> isola_;
    bool chiusa_ = false;
};

}  // namespace

std::unique_ptr<AdattatoreFinestra> AdattatoreIncassi(ContestoFinestra& c) {
    return std::make_unique<Incassi>(c);
}

}  // namespace incassi::scenario
