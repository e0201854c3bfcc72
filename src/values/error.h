#pragma once

#include <QString>
#include <stdexcept>
#include <string>
#include <version>

#if defined(__cpp_lib_source_location)
#include <source_location>
#endif

namespace incassi {

#if defined(__cpp_lib_source_location)
using PosizioneCodice = std::source_location;
#else
// Clang 14 (the fuzzing build) has no std::source_location with libstdc++ 12:
// the same three facts from the compiler's builtins.
struct PosizioneCodice {
    static constexpr PosizioneCodice current(const char* file = __builtin_FILE(),
                                             int line = __builtin_LINE(),
                                             const char* function = __builtin_FUNCTION()) {
        return {file, line, function};
    }
    constexpr const char* file_name() const { return file_; }
    constexpr unsigned line() const { return unsigned(line_); }
    constexpr const char* function_name() const { return function_; }
    const char* file_;
    int line_;
    const char* function_;
};
#endif

// The one exception type for the system's own failures. It carries the Italian
// text shown to the user and the place in the code where it was raised.
class Errore : public std::runtime_error {
  public:
    explicit Errore(const QString& testo, PosizioneCodice dove = PosizioneCodice::current())
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
    PosizioneCodice dove_;
};

}  // namespace incassi
