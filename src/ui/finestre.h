#pragma once

// The plug-in's windows on the Qt side: the base of every window (it polls
// the host's close request), the adapter the launcher keeps, the placeholder
// of the windows not built yet, and the one place where the views register
// their factories.

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "entry/lanciatore.h"

namespace incassi {
class Host;
class UiPort;
}  // namespace incassi

namespace incassi::ui {

// "..:: " + title + " ::..".
QString TitoloFinestra(const QString& titolo);

// Puts a window in the middle of its screen.
void CentraSulloSchermo(QWidget* w);

// While a command works the pointer is busy.
class PuntatoreOccupato {
  public:
    PuntatoreOccupato();
    ~PuntatoreOccupato();
    PuntatoreOccupato(const PuntatoreOccupato&) = delete;
    PuntatoreOccupato& operator=(const PuntatoreOccupato&) = delete;
};

// A top-level window of the plug-in. Every 3000 ms it asks the host whether
// all plug-in windows must close; when they must it stops asking and closes.
// It is deleted when closed.
class FinestraPlugin : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kIntervalloChiusura = 3000;

    FinestraPlugin(Host* host, QWidget* parent = nullptr);
    QTimer& timerChiusura() { return timer_; }
    // One poll of the close request (what the timer runs).
    void controllaChiusura();
    Host* host() const { return host_; }

  private:
    Host* host_;
    QTimer timer_;
};

// Says that the window `nome` is not available yet.
class FinestraSegnaposto : public FinestraPlugin {
    Q_OBJECT
  public:
    FinestraSegnaposto(Host* host, const QString& nome, QWidget* parent = nullptr);
};

// The launcher's handle on a window: it shows it, modally with a local event
// loop that ends when the window is gone.
class FinestraQt : public Finestra {
  public:
    explicit FinestraQt(QWidget* w) : w_(w) {}
    void Mostra(bool modale) override;
    bool Aperta() const override { return !w_.isNull(); }
    QWidget* widget() const { return w_.data(); }

  private:
    QPointer<QWidget> w_;
};

// Registers the factory of every view built so far, and the placeholder for
// the rest. `aperte` receives each window created (the host's screenshots
// and its close-all use it).
void RegistraViste(RegistroFinestre& registro, UiPort& ui,
                   std::function<void(QWidget*)> aperte = {});

}  // namespace incassi::ui
