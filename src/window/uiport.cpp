#include "window/uiport.h"

#include "host/host.h"

namespace incassi {

QString TestoIcona(Icona icona) {
    switch (icona) {
        case Icona::Informazione:
            return QStringLiteral("informazione");
        case Icona::Esclamazione:
            return QStringLiteral("esclamazione");
        case Icona::Critico:
            return QStringLiteral("critico");
        case Icona::Domanda:
            return QStringLiteral("domanda");
        case Icona::Nessuna:
            break;
    }
    return QStringLiteral("nessuna");
}

QString TestoPulsanti(Pulsanti pulsanti) {
    switch (pulsanti) {
        case Pulsanti::OkAnnulla:
            return QStringLiteral("OK/Annulla");
        case Pulsanti::SiNo:
            return QStringLiteral("Sì/No");
        case Pulsanti::SiNoAnnulla:
            return QStringLiteral("Sì/No/Annulla");
        case Pulsanti::Ok:
            break;
    }
    return QStringLiteral("OK");
}

QString TestoRisposta(Risposta risposta) {
    switch (risposta) {
        case Risposta::Annulla:
            return QStringLiteral("Annulla");
        case Risposta::Si:
            return QStringLiteral("Sì");
        case Risposta::No:
            return QStringLiteral("No");
        case Risposta::Ok:
            break;
    }
    return QStringLiteral("OK");
}

bool RispostaAmmessa(Pulsanti pulsanti, Risposta risposta) {
    switch (pulsanti) {
        case Pulsanti::Ok:
            return risposta == Risposta::Ok;
        case Pulsanti::OkAnnulla:
            return risposta == Risposta::Ok || risposta == Risposta::Annulla;
        case Pulsanti::SiNo:
            return risposta == Risposta::Si || risposta == Risposta::No;
        case Pulsanti::SiNoAnnulla:
            return risposta == Risposta::Si || risposta == Risposta::No ||
                   risposta == Risposta::Annulla;
    }
    return false;
}

RichiestaRicerca NuovaRicerca(Host& host, const QString& modulo, const QString& caption,
                              RecordSetPtr recordset, const QString& campoRicerca,
                              RecordSetPtr viste) {
    RichiestaRicerca r;
    r.user = host.user();
    r.Modulo = modulo;
    r.Caption = caption;
    r.Recordset = std::move(recordset);
    r.RecordsetOperatori = host.OpenRecordSet(QStringLiteral("SELECT * FROM operatori"));
    r.RecordsetViste = viste ? std::move(viste)
                             : host.OpenRecordSetPreferenze(QStringLiteral("select * from viste"));
    r.CampoRicerca = campoRicerca;
    r.percorso = host.percorso();
    r.PercorsoPers = host.percorso() + QStringLiteral("pers/");
    r.StatusBar = r.Toolbar = r.FilterBar = r.WindowsState = 1;
    return r;
}

}  // namespace incassi
