#pragma once

#include <QString>
#include <source_location>
#include <stdexcept>
#include <string>

namespace incassi {

// The one exception type for the system's own failures. It carries the Italian
// text shown to the user and the place in the code where it was raised.
class Errore : public std::runtime_error {
  public:
    explicit Errore(const QString& testo,
                    std::source_location dove = std::source_location::current())
        : std::runtime_error(testo.toStdString()), testo_(testo), dove_(dove) {}

    const QString& testo() const noexcept { return testo_; }
    QString dove() const {
        return QStringLiteral("%1:%2 (%3)")
            .arg(QString::fromUtf8(dove_.file_name()))
            .arg(dove_.line())
            .arg(QString::fromUtf8(dove_.function_name()));
    }

  private:
    QString testo_;
    std::source_location dove_;
};

}  // namespace incassi
