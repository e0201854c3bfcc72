#include "collection/preferenze.h"

#include "values/sqlquote.h"

namespace incassi {

namespace {

const char* const kGruppo[] = {"AmmancoAutomatico", "AbbuoniAutomatico", "RimanenzaAutomatico"};

bool NelGruppo(const VocePreferenza& v) {
    for (const char* k : kGruppo) {
        if (qstrcmp(k, v.chiave) == 0) return true;
    }
    return false;
}

}  // namespace

const std::vector<VocePreferenza>& VociPreferenze() {
    static const std::vector<VocePreferenza> voci = {
        {"MenuAmmanco", "AmmancoAutomatico", false},
        {"MenuAbbuoni", "AbbuoniAutomatico", true},
        {"MenuRimanenza", "RimanenzaAutomatico", false},
        {"MenuPersNewSLOT", "PersNewSLOT", false},
        {"MenuPersApparecchi", "PersApparecchi", false},
        {"MenuPersAcconti", "PersAcconti", false},
        {"MenuPersRefill", "PersRefill", false},
        {"MenuPersCambiamonete", "PersCambiamonete", false},
        {"MenuPersChRh", "PersChRh", false},
        {"MenuPersFurti", "PersFurti", false},
        {"MenuVisHopper", "VisHopper", false},
        {"MenuVisCassetto", "VisCassetto", false},
        {"MenuVisCam", "VisCambiamonete", false},
        {"MenuLocaliSospesi", "VisLocaliSospesi", false},
        {"MenuNoContatori", "VisContatori", false},
        {"MenuMantieni", "ManData", false},
        {"MnuMantieniCaus", "ManCausale", false},
        {"MenuVisRef", "VisRefill", false},
    };
    return voci;
}

void Preferenze::Leggi() {
    const auto& voci = VociPreferenze();
    stato_.assign(voci.size(), false);
    for (size_t i = 0; i < voci.size(); ++i) {
        stato_[i] = host_.LeggiFlag(QStringLiteral("Incassi"), QLatin1String(voci[i].chiave),
                                    voci[i].predefinita);
    }
}

const VocePreferenza* Preferenze::voce(const QString& nome) const {
    for (const VocePreferenza& v : VociPreferenze()) {
        if (nome.compare(QLatin1String(v.chiave), Qt::CaseInsensitive) == 0 ||
            nome.compare(QLatin1String(v.menu), Qt::CaseInsensitive) == 0) {
            return &v;
        }
    }
    return nullptr;
}

bool Preferenze::attiva(const QString& nome) const {
    const VocePreferenza* v = voce(nome);
    if (!v || stato_.empty()) return v && v->predefinita;
    return stato_[size_t(v - VociPreferenze().data())];
}

void Preferenze::scrivi(const VocePreferenza& v, bool on) {
    if (stato_.empty()) Leggi();
    stato_[size_t(&v - VociPreferenze().data())] = on;
    host_.salvasettaggio(QStringLiteral("Incassi"), QLatin1String(v.chiave), on ? -1 : 0);
}

bool Preferenze::Clic(const QString& menu) {
    const VocePreferenza* v = voce(menu);
    if (!v) return false;
    if (NelGruppo(*v)) {
        ImpostaDifferenze(qstrcmp(v->chiave, kGruppo[0]) == 0, qstrcmp(v->chiave, kGruppo[1]) == 0,
                          qstrcmp(v->chiave, kGruppo[2]) == 0);
        return true;
    }
    scrivi(*v, !attiva(menu));
    return true;
}

void Preferenze::ImpostaDifferenze(bool ammanco, bool abbuoni, bool rimanenza) {
    const bool valori[] = {ammanco, abbuoni, rimanenza};
    for (int i = 0; i < 3; ++i)
        scrivi(*voce(QLatin1String(kGruppo[i])), valori[i]);
}

MenuItem Preferenze::Menu() const {
    MenuItem m;
    m.key = QStringLiteral("MenuPreferenze");
    m.caption = QStringLiteral("&Preferenze");
    for (const VocePreferenza& v : VociPreferenze()) {
        MenuItem voce;
        voce.key = QLatin1String(v.menu);
        voce.caption = QLatin1String(v.chiave);
        voce.checkable = true;
        voce.checked = attiva(voce.key);
        m.children.push_back(voce);
    }
    m.children.push_back({QStringLiteral("MenuPercorsoScan"),
                          QStringLiteral("Cartella scanner..."),
                          false,
                          false,
                          true,
                          {}});
    m.children.push_back(
        {QStringLiteral("MenuVersione"), QStringLiteral("Versione"), false, false, true, {}});
    return m;
}

QString QueryLocali(const RecordOperatore& operatore, bool sospesi) {
    if (operatore.ristretto()) {
        const QString azienda = sql::Raddoppia(operatore.azienda());
        return sospesi
                   ? QStringLiteral("select * from Anagraficalocali where CodiceAzienda='%1'")
                         .arg(azienda)
                   : QStringLiteral(
                         "select * from Anagraficalocali where sospeso=0 and CodiceAzienda='%1'")
                         .arg(azienda);
    }
    return sospesi ? QStringLiteral("select * from Anagraficalocali ")
                   : QStringLiteral("select * from Anagraficalocali where sospeso=0");
}

QString CartellaScanner(const QString& file) {
    const qsizetype cut = std::max(file.lastIndexOf(u'\\'), file.lastIndexOf(u'/'));
    return cut < 0 ? QString() : file.left(cut + 1);
}

}  // namespace incassi
