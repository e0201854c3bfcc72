#pragma once

// Opening the plug-in's windows by name. `configura::Start` names the window;
// a launcher creates it, unless it is still open, and shows it. The views
// register one factory per window name; a name without a factory opens the
// placeholder window, which says that the window is not available yet.

#include <QHash>
#include <QString>
#include <functional>
#include <memory>

namespace incassi {

class configura;

// The names of the windows `Start` can open.
namespace finestre {
inline const QString Incassi = QStringLiteral("FrmIncassi");
inline const QString WizardPrestito = QStringLiteral("FrmWizardPre");
inline const QString Versamento = QStringLiteral("FrmVersamento");
inline const QString WizardRimanenze = QStringLiteral("FrmWizardRimanenze");

// The function codes the host starts the module with, and their windows. The
// order decides when codes are compared; the first match wins.
struct Funzione {
    QString codice;
    QString finestra;
};
inline const Funzione Funzioni[] = {
    {QStringLiteral("Incassi"), Incassi},
    {QStringLiteral("Prestito"), WizardPrestito},
    {QStringLiteral("Giroconto"), Versamento},
    {QStringLiteral("Rimanenza"), WizardRimanenze},
};
}  // namespace finestre

class Lanciatore {
  public:
    virtual ~Lanciatore() = default;
    // Shows the window `nome`: modally (returning when it closes) or not.
    virtual void Apri(const QString& nome, bool modale) = 0;
};

// A window as the launcher keeps it.
class Finestra {
  public:
    virtual ~Finestra() = default;
    virtual void Mostra(bool modale) = 0;
    // False once the user or the close request has closed it.
    virtual bool Aperta() const = 0;
};

// What a factory is given: the entry object (its properties, the host and the
// operator record, which every window reads) and the name it is asked for.
using FabbricaFinestra =
    std::function<std::unique_ptr<Finestra>(configura& entrata, const QString& nome)>;

// The launcher of the views: factories by window name (without regard to
// case), a placeholder factory for the rest, and the windows still open.
class RegistroFinestre : public Lanciatore {
  public:
    explicit RegistroFinestre(configura& entrata) : entrata_(entrata) {}

    void Registra(const QString& nome, FabbricaFinestra fabbrica);
    void RegistraSegnaposto(FabbricaFinestra fabbrica) { segnaposto_ = std::move(fabbrica); }

    // Creates the window when it is not open (the placeholder when there is no
    // factory for it) and shows it. Nothing opens when neither exists.
    void Apri(const QString& nome, bool modale) override;

    // The open window of that name, nullptr when there is none.
    Finestra* Aperta(const QString& nome) const;

  private:
    configura& entrata_;
    QHash<QString, FabbricaFinestra> fabbriche_;  // key: lower-case name
    FabbricaFinestra segnaposto_;
    QHash<QString, std::shared_ptr<Finestra>> aperte_;
};

}  // namespace incassi
