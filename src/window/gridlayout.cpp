#include "window/gridlayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <algorithm>

#include "values/error.h"

namespace incassi {

namespace {

const QString kFormato = QStringLiteral("incassi-grx");
constexpr int kVersione = 1;

struct Corrotto {};  // a member of the wrong type: the file is not ours

// Readers that take a default for a missing member and reject a wrong type.
QString Testo(const QJsonObject& o, const char* chiave, const QString& predefinito = {}) {
    const QJsonValue v = o.value(QLatin1String(chiave));
    if (v.isUndefined() || v.isNull()) return predefinito;
    if (!v.isString()) throw Corrotto{};
    return v.toString();
}

constexpr int kLarghezzaMassima = 2000;                           // pixels
constexpr double kDimensioneMinima = 6, kDimensioneMassima = 48;  // points

double Numero(const QJsonObject& o, const char* chiave, double predefinito) {
    const QJsonValue v = o.value(QLatin1String(chiave));
    if (v.isUndefined() || v.isNull()) return predefinito;
    if (!v.isDouble()) throw Corrotto{};
    return v.toDouble();
}

int Intero(const QJsonObject& o, const char* chiave, int predefinito) {
    const double d = Numero(o, chiave, predefinito);
    if (d < -1e9 || d > 1e9) throw Corrotto{};
    return int(d);
}

std::uint32_t ColoreJson(const QJsonObject& o, const char* chiave, std::uint32_t predefinito) {
    const double d = Numero(o, chiave, predefinito);
    if (d < 0 || d > 4294967295.0) throw Corrotto{};
    return std::uint32_t(d);
}

bool Bool(const QJsonObject& o, const char* chiave, bool predefinito) {
    const QJsonValue v = o.value(QLatin1String(chiave));
    if (v.isUndefined() || v.isNull()) return predefinito;
    if (!v.isBool()) throw Corrotto{};
    return v.toBool();
}

QJsonObject Oggetto(const QJsonObject& o, const char* chiave) {
    const QJsonValue v = o.value(QLatin1String(chiave));
    if (v.isUndefined() || v.isNull()) return {};
    if (!v.isObject()) throw Corrotto{};
    return v.toObject();
}

LayoutGriglia DaJson(const QJsonObject& o) {
    LayoutGriglia l;
    const QJsonValue colonne = o.value(QLatin1String("colonne"));
    if (!colonne.isUndefined() && !colonne.isNull()) {
        if (!colonne.isArray()) throw Corrotto{};
        for (const QJsonValue& v : colonne.toArray()) {
            if (!v.isObject()) throw Corrotto{};
            const QJsonObject c = v.toObject();
            ColonnaLayout col;
            col.campo = Testo(c, "campo");
            col.ordine = Intero(c, "ordine", int(l.colonne.size()));
            // A width no screen can show is taken as the widest that can.
            col.larghezza = std::clamp(Intero(c, "larghezza", 0), 0, kLarghezzaMassima);
            col.titolo = Testo(c, "titolo", col.campo);
            col.visibile = Bool(c, "visibile", true);
            col.formato = Testo(c, "formato");
            l.colonne.push_back(col);
        }
    }
    const QJsonObject carattere = Oggetto(o, "carattere");
    l.carattere = Testo(carattere, "famiglia");
    // A size that would make the grid unreadable or invisible is brought into
    // the range a person can read; 0 keeps the default.
    l.dimensione = Numero(carattere, "dimensione", 0);
    if (l.dimensione != 0)
        l.dimensione = std::clamp(l.dimensione, kDimensioneMinima, kDimensioneMassima);
    const QJsonObject colori = Oggetto(o, "colori");
    l.coloreDispari = ColoreJson(colori, "dispari", l.coloreDispari);
    l.colorePari = ColoreJson(colori, "pari", l.colorePari);
    const QJsonObject stile = Oggetto(o, "stile");
    l.checkBox = Bool(stile, "checkBox", false);
    l.raggruppamento = Bool(stile, "raggruppamento", false);
    l.evidenziaRiga = Bool(stile, "evidenziaRiga", false);
    l.letturaFacilitata = Bool(stile, "letturaFacilitata", false);
    l.spostaColonne = Bool(stile, "spostaColonne", false);
    l.ridimensionaRighe = Bool(stile, "ridimensionaRighe", false);
    l.ridimensionaColonneBloccate = Bool(stile, "ridimensionaColonneBloccate", false);
    return l;
}

QJsonObject AJson(const LayoutGriglia& l) {
    QJsonArray colonne;
    for (const ColonnaLayout& c : l.colonne) {
        colonne.append(QJsonObject{{QStringLiteral("campo"), c.campo},
                                   {QStringLiteral("ordine"), c.ordine},
                                   {QStringLiteral("larghezza"), c.larghezza},
                                   {QStringLiteral("titolo"), c.titolo},
                                   {QStringLiteral("visibile"), c.visibile},
                                   {QStringLiteral("formato"), c.formato}});
    }
    return QJsonObject{
        {QStringLiteral("colonne"), colonne},
        {QStringLiteral("carattere"), QJsonObject{{QStringLiteral("famiglia"), l.carattere},
                                                  {QStringLiteral("dimensione"), l.dimensione}}},
        {QStringLiteral("colori"), QJsonObject{{QStringLiteral("dispari"), double(l.coloreDispari)},
                                               {QStringLiteral("pari"), double(l.colorePari)}}},
        {QStringLiteral("stile"),
         QJsonObject{
             {QStringLiteral("checkBox"), l.checkBox},
             {QStringLiteral("raggruppamento"), l.raggruppamento},
             {QStringLiteral("evidenziaRiga"), l.evidenziaRiga},
             {QStringLiteral("letturaFacilitata"), l.letturaFacilitata},
             {QStringLiteral("spostaColonne"), l.spostaColonne},
             {QStringLiteral("ridimensionaRighe"), l.ridimensionaRighe},
             {QStringLiteral("ridimensionaColonneBloccate"), l.ridimensionaColonneBloccate}}},
    };
}

// The layouts object of a file's contents; nothing when they are not ours.
std::optional<QJsonObject> LeggiTesto(const QByteArray& contenuto) {
    QJsonParseError errore{};
    const QJsonDocument doc = QJsonDocument::fromJson(contenuto, &errore);
    if (errore.error != QJsonParseError::NoError || !doc.isObject()) return std::nullopt;
    const QJsonObject radice = doc.object();
    if (radice.value(QLatin1String("formato")).toString() != kFormato) return std::nullopt;
    const QJsonValue layout = radice.value(QLatin1String("layout"));
    if (!layout.isObject()) return std::nullopt;
    return layout.toObject();
}

// The layouts object of a file; nothing when the file is missing or not ours.
std::optional<QJsonObject> LeggiFile(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return LeggiTesto(f.readAll());
}

// The key of layout `nome` in `layouts`, without regard to case.
QString Chiave(const QJsonObject& layouts, const QString& nome) {
    for (auto it = layouts.begin(); it != layouts.end(); ++it)
        if (it.key().compare(nome, Qt::CaseInsensitive) == 0) return it.key();
    return {};
}

}  // namespace

std::optional<LayoutGriglia> LeggiLayout(const QString& file, const QString& nome) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return LayoutDaTesto(f.readAll(), nome);
}

std::optional<LayoutGriglia> LayoutDaTesto(const QByteArray& contenuto, const QString& nome) {
    const auto layouts = LeggiTesto(contenuto);
    if (!layouts) return std::nullopt;
    const QString chiave = Chiave(*layouts, nome);
    if (chiave.isEmpty()) return std::nullopt;
    const QJsonValue v = layouts->value(chiave);
    if (!v.isObject()) return std::nullopt;
    try {
        return DaJson(v.toObject());
    } catch (const Corrotto&) {
        return std::nullopt;
    }
}

QStringList NomiLayout(const QString& file) {
    const auto layouts = LeggiFile(file);
    return layouts ? layouts->keys() : QStringList();
}

void ScriviLayout(const QString& file, const QString& nome, const LayoutGriglia& layout) {
    QJsonObject layouts = LeggiFile(file).value_or(QJsonObject());
    const QString vecchia = Chiave(layouts, nome);
    if (!vecchia.isEmpty()) layouts.remove(vecchia);
    layouts.insert(nome, AJson(layout));
    const QJsonObject radice{{QStringLiteral("formato"), kFormato},
                             {QStringLiteral("versione"), kVersione},
                             {QStringLiteral("layout"), layouts}};

    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(QJsonDocument(radice).toJson(QJsonDocument::Indented)) < 0 || !f.commit()) {
        throw Errore(QStringLiteral("Impossibile salvare la vista nel file %1: %2")
                         .arg(file, f.errorString()));
    }
}

}  // namespace incassi
