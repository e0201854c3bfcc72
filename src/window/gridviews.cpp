#include "window/gridviews.h"

#include <QDir>
#include <QFileInfo>

#include "host/host.h"
#include "values/sqlquote.h"
#include "values/values.h"

namespace incassi {

namespace {

// The file `nome` in `cartella`, matched without regard to case when the
// exact name is not there; the exact path when nothing matches.
QString TrovaFile(const QString& cartella, const QString& nome) {
    const QDir dir(cartella);
    const QString esatto = dir.filePath(nome);
    if (QFileInfo::exists(esatto)) return esatto;
    const QStringList presenti = dir.entryList(QDir::Files);
    for (const QString& f : presenti)
        if (f.compare(nome, Qt::CaseInsensitive) == 0) return dir.filePath(f);
    return esatto;
}

QString SenzaBase(const QString& vista) {
    return vista.startsWith(PrefissoBase, Qt::CaseInsensitive) ? vista.mid(PrefissoBase.size())
                                                               : vista;
}

bool Applica(const QString& file, const QString& nome, LayoutGriglia& griglia) {
    auto layout = LeggiLayout(file, nome);
    if (!layout) return false;
    griglia = std::move(*layout);
    return true;
}

}  // namespace

VisteGriglia::VisteGriglia(Host& host) : host_(host) {}

QString VisteGriglia::fileBase(const QString& vista) const {
    return TrovaFile(QDir(host_.percorso()).filePath(QStringLiteral("parametri")),
                     vista + QStringLiteral(".grx"));
}

QString VisteGriglia::filePersonale(const QString& vista) const {
    return TrovaFile(QDir(host_.percorso()).filePath(QStringLiteral("pers")),
                     host_.user() + vista + QStringLiteral(".grx"));
}

bool VisteGriglia::CaricaVista(const QString& nomeVista, LayoutGriglia& griglia) const {
    if (nomeVista.startsWith(PrefissoBase, Qt::CaseInsensitive))
        return CaricaBase(SenzaBase(nomeVista), griglia);
    return Applica(filePersonale(nomeVista), host_.user() + nomeVista, griglia);
}

bool VisteGriglia::CaricaBase(const QString& vista, LayoutGriglia& griglia) const {
    return Applica(fileBase(vista), vista, griglia);
}

bool VisteGriglia::CaricaSecondoPreferenza(const QString& vista, bool personale,
                                           LayoutGriglia& griglia) const {
    const QString nome = SenzaBase(vista);
    if (personale && CaricaVista(nome, griglia)) return true;
    return CaricaBase(nome, griglia);
}

QString VisteGriglia::ScegliVista(const QString& codiceRicerca, const QString& vistaBase,
                                  LayoutGriglia& griglia) const {
    RecordSetPtr rs = host_.OpenRecordSetPreferenze(
        QStringLiteral("select * from viste where codiceoperatore='") +
        sql::Raddoppia(host_.user()) + QStringLiteral("' and preferito<>0 and codicericerca='") +
        sql::Raddoppia(codiceRicerca) + QStringLiteral("'"));
    if (!rs->Eof()) {
        const QString vista = Txt(NullAVuoto(rs->Value(QStringLiteral("NomeVista"))));
        if (!vista.isEmpty() && CaricaVista(vista, griglia)) return vista;
    }
    return CaricaVista(vistaBase, griglia) ? vistaBase : QString();
}

std::vector<VoceVista> VisteGriglia::MenuViste(const QString& codiceRicerca,
                                               const QString& vistaBase,
                                               const QString& testoBase) const {
    std::vector<VoceVista> voci;
    RecordSetPtr rs = host_.OpenRecordSetPreferenze(
        QStringLiteral("select * from viste where codiceoperatore='") +
        sql::Raddoppia(host_.user()) + QStringLiteral("' and codicericerca='") +
        sql::Raddoppia(codiceRicerca) + QStringLiteral("'"));
    for (; !rs->Eof(); rs->MoveNext()) {
        const QString vista = Txt(NullAVuoto(rs->Value(QStringLiteral("NomeVista"))));
        voci.push_back({vista, vista});
    }
    voci.push_back({vistaBase, testoBase});
    return voci;
}

}  // namespace incassi
