#pragma once

// The fuzzer's bytes as the texts a person or a file could give: UTF-8, and,
// for an even number of bytes, raw UTF-16 with whatever surrogates it holds.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

inline std::vector<QString> TestiDaByte(const uint8_t* dati, size_t n) {
    std::vector<QString> testi{
        QString::fromUtf8(reinterpret_cast<const char*>(dati), qsizetype(n))};
    if (n % 2 == 0 && n > 0) {
        testi.push_back(QString(reinterpret_cast<const QChar*>(dati), qsizetype(n / 2)));
    }
    return testi;
}

// A broken property is a crash the fuzzer keeps.
#define VERO(condizione)                 \
    do {                                 \
        if (!(condizione)) std::abort(); \
    } while (0)
