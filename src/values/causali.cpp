#include "values/causali.h"

namespace incassi {

namespace {

const struct {
    Causale causale;
    const char* codice;
} kCausali[] = {
    {Causale::INC, "INC"}, {Causale::INC6, "INC6"}, {Causale::FUR, "FUR"}, {Causale::CAM, "CAM"},
    {Causale::ACC, "ACC"}, {Causale::ACL, "ACL"},   {Causale::REF, "REF"}, {Causale::CH, "CH"},
    {Causale::RH, "RH"},   {Causale::PRE, "PRE"},   {Causale::CP, "CP"},   {Causale::HOP, "HOP"},
};

}  // namespace

Causale CausaleDi(const QString& codice) {
    const QString c = codice.trimmed();
    if (c.isEmpty()) return Causale::Nessuna;
    for (const auto& k : kCausali) {
        if (c.compare(QLatin1String(k.codice), Qt::CaseInsensitive) == 0) return k.causale;
    }
    return Causale::Altra;
}

QString CodiceCausale(Causale c) {
    for (const auto& k : kCausali) {
        if (k.causale == c) return QLatin1String(k.codice);
    }
    return {};
}

bool CausaleTra(const QString& codice, std::initializer_list<Causale> causali) {
    const Causale c = CausaleDi(codice);
    for (Causale k : causali)
        if (k == c) return true;
    return false;
}

}  // namespace incassi
