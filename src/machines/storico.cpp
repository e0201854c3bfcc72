#include "machines/storico.h"

#include "bookkeeping/archivio.h"
#include "host/host.h"
#include "values/causali.h"
#include "values/sqlquote.h"
#include "values/values.h"

namespace incassi {

namespace {

constexpr int kLarghezzaData = 10;
constexpr int kLarghezzaMinima = 11;

// Fixed-width columns: each as wide as its heading and two blanks, so that
// headings of two words never run into the next one; at least kLarghezzaMinima.
class Tabella {
  public:
    explicit Tabella(const QStringList& titoli) {
        intestazione_ = QStringLiteral("Data").leftJustified(kLarghezzaData, u' ');
        for (const QString& t : titoli) {
            larghezze_.push_back(std::max(kLarghezzaMinima, int(t.size()) + 2));
            intestazione_ += t.rightJustified(larghezze_.back(), u' ');
        }
    }
    const QString& intestazione() const { return intestazione_; }
    QString riga(const QDate& data, const QStringList& valori) const {
        QString r = TestoData(data).leftJustified(kLarghezzaData, u' ', true);
        for (int i = 0; i < valori.size(); ++i) {
            const int w = i < int(larghezze_.size()) ? larghezze_[size_t(i)] : kLarghezzaMinima;
            r += valori[i].rightJustified(w, u' ');
        }
        return r;
    }

  private:
    QString intestazione_;
    std::vector<int> larghezze_;
};

QString Importo(const Dec& d) {
    return FormatoNumero(d.toDouble(), 2);
}

Dec V(RecordSet& rs, const QString& campo) {
    return Dec::DaCella(rs.Value(campo));
}
Dec V(RecordSet& rs, const char* campo) {
    return V(rs, QLatin1String(campo));
}

}  // namespace

Pannello StoricoLocale(Host& host, const QString& codLocale, const QDate& data) {
    Pannello p;
    const Tabella tab({QStringLiteral("Incassabile"), QStringLiteral("Abbuoni"),
                       QStringLiteral("Ammanchi"), QStringLiteral("Refill"),
                       QStringLiteral("Var. Hopper"), QStringLiteral("Causale"),
                       QStringLiteral("Hopper"), QStringLiteral("Acconti")});
    p.intestazione = tab.intestazione();
    Archivio archivio(host);
    auto doc = archivio.DocumentiDelLocale(codLocale, data);
    QList<qlonglong> teste;
    for (; !doc->Eof() && teste.size() < 6; doc->MoveNext())
        teste << doc->Value(QStringLiteral("id")).toLongLong();
    // The machine rows' sums of the six documents, in one statement.
    auto somme = archivio.SommeMacchine(teste);
    doc->MoveFirst();
    for (; !doc->Eof() && p.righe.size() < 6; doc->MoveNext()) {
        const QString causale = Txt(doc->Value(QStringLiteral("CodCausale")));
        somme->MoveFirst();
        const bool conRighe = somme->Find(
            QStringLiteral("IdTesta=%1").arg(doc->Value(QStringLiteral("id")).toLongLong()));
        const auto somma = [&](const char* campo) { return conRighe ? V(*somme, campo) : Dec(); };
        Dec ammanchi, variazione, hopper;
        if (CausaleDi(causale) == Causale::CAM) {
            hopper = somma("sumCassetto");
            variazione = somma("sumVariazione");
            ammanchi = somma("sumAmmanchi");
        } else {
            hopper = somma("hop1") + somma("hop2") + somma("hop3");
            variazione = V(*doc, "variazionehopper");
            ammanchi = V(*doc, "ammanconoleggiatore") + V(*doc, "AmmancoLocale");
        }
        p.righe << tab.riga(
            doc->Value(QStringLiteral("DataRegistrazione")).toDate(),
            {Importo(V(*doc, "DaRiscuotereTeorica")), Importo(V(*doc, "Arrotondamenti")),
             Importo(ammanchi), Importo(V(*doc, "RefillNoleggiatore") + V(*doc, "refillLocale")),
             Importo(variazione), causale, Importo(hopper),
             Importo(V(*doc, "acconto") + V(*doc, "AccontoLocale"))});
    }
    return p;
}

StoricoMacchina StoricoApparecchio(Host& host, qlonglong id, int tipoIncasso,
                                   const QString& causale, const QString& codLocale,
                                   const QDate& data) {
    StoricoMacchina s;
    auto storia = Archivio(host).StoriaMacchina(id, tipoIncasso, codLocale, data);

    // The money each hopper held before this collection.
    auto scheda = host.OpenRecordSet(QStringLiteral("select * from magschede where id=%1").arg(id));
    const bool haStoria = !storia->Eof();
    const QDate dataScheda =
        scheda->Eof() ? QDate() : scheda->Value(QStringLiteral("ultimoIncasso")).toDate();
    const QDate dataStoria =
        haStoria ? storia->Value(QStringLiteral("DataIncasso")).toDate() : QDate();
    bool schedaHaSoldi = false;
    if (!scheda->Eof()) {
        for (int n = 1; n <= 3; ++n) {
            schedaHaSoldi |= !IsNullOrEmpty(scheda->Value(QStringLiteral("attualeh%1").arg(n)));
        }
    }
    const bool usaScheda = schedaHaSoldi && (!haStoria || !dataStoria.isValid() ||
                                             (dataScheda.isValid() && dataScheda >= dataStoria));
    for (int n = 1; n <= 3; ++n) {
        if (usaScheda) {
            s.hopperPrecedente[size_t(n - 1)] =
                Dec::DaCella(scheda->Value(QStringLiteral("attualeh%1").arg(n)));
        } else if (haStoria) {
            s.hopperPrecedente[size_t(n - 1)] =
                Dec::DaCella(storia->Value(QStringLiteral("LivelloH%1").arg(n))) *
                Dec::DaCella(storia->Value(QStringLiteral("TipoH%1").arg(n)));
        }
    }

    const bool cambiamonete =
        tipoIncasso == 2 || tipoIncasso == 9 || CausaleDi(causale) == Causale::CAM;
    QStringList titoli;
    if (cambiamonete) {
        titoli = QStringList({QStringLiteral("Moneta   ->"), QStringLiteral("Banconote->"),
                              QStringLiteral("Moneta   <-"), QStringLiteral("Banconote<-"),
                              QStringLiteral("Cassa"), QStringLiteral("Ammanchi"),
                              QStringLiteral("Variazione Hopper")});
    } else if (tipoIncasso == 6) {
        titoli = QStringList({QStringLiteral("Media Introdotto"), QStringLiteral("Introdotto"),
                              QStringLiteral("Uscite"), QStringLiteral("CNTOTIN"),
                              QStringLiteral("CNTOTOUT"), QStringLiteral("Hopper1"),
                              QStringLiteral("Hopper2"), QStringLiteral("Hp 3"),
                              QStringLiteral("Variazione Hopper")});
    } else {
        titoli = QStringList({QStringLiteral("Hopper"), QStringLiteral("Cassetto"),
                              QStringLiteral("Incassabile"), QStringLiteral("Var.Hop"),
                              QStringLiteral("Tasse"), QStringLiteral("Utile"),
                              QStringLiteral("Utile Locale"), QStringLiteral("Utile Nolegg"),
                              QStringLiteral("Parziale In"), QStringLiteral("ParzialeOUT"),
                              QStringLiteral("ContatoreIn"), QStringLiteral("ContatorOUT")});
    }
    const Tabella tab(titoli);
    s.pannello.intestazione = tab.intestazione();
    const Tabella tabHopper({QStringLiteral("Hopper1"), QStringLiteral("Hopper2"),
                             QStringLiteral("Hopper3"), QStringLiteral("Totale"),
                             QStringLiteral("Var. Hopper")});
    s.hopper.intestazione = tabHopper.intestazione();
    const Tabella tabCassetto({QStringLiteral("Cassetto"), QStringLiteral("Ammanchi"),
                               QStringLiteral("Incassabile"), QStringLiteral("Giorni"),
                               QStringLiteral("Al giorno")});
    s.cassetto.intestazione = tabCassetto.intestazione();

    for (; !storia->Eof() && s.pannello.righe.size() < 10; storia->MoveNext()) {
        RecordSet& r = *storia;
        const QDate giornoRiga = r.Value(QStringLiteral("DataIncasso")).toDate();
        Dec hopper[3];
        for (int n = 0; n < 3; ++n) {
            hopper[n] = V(r, QStringLiteral("LivelloH%1").arg(n + 1)) *
                        V(r, QStringLiteral("TipoH%1").arg(n + 1));
        }
        QStringList valori;
        if (cambiamonete) {
            valori = {Importo(V(r, "monetaaggiunta")),  Importo(V(r, "banconoteaggiunte")),
                      Importo(V(r, "monetaritirata")),  Importo(V(r, "banconoteRitirate")),
                      Importo(V(r, "cassetto")),        Importo(V(r, "Ammanchi")),
                      Importo(V(r, "variazionehopper"))};
        } else if (tipoIncasso == 6) {
            const Dec giorni = V(r, "NumGiorniIncasso");
            const Dec media = giorni.zero() ? Dec() : (V(r, "Parzialein") / giorni).arrotonda(2);
            QString introdotto = Importo(V(r, "Parzialein"));
            if (Txt(r.Value(QStringLiteral("CodCausale"))).compare(u"ref", Qt::CaseInsensitive) ==
                0) {
                introdotto =
                    (QStringLiteral("+") + FormatoNumero(V(r, "refillLocale").toDouble(), 2));
            }
            valori = {Importo(media),
                      introdotto,
                      Importo(V(r, "Parzialeout")),
                      Importo(V(r, "ContatoreIn")),
                      Importo(V(r, "ContatoreOUT")),
                      Importo(hopper[0]),
                      Importo(hopper[1]),
                      Importo(hopper[2]),
                      Importo(V(r, "variazionehopper"))};
        } else {
            const Dec utile = V(r, "IncassoVs") + V(r, "IncassoNs");
            valori = {Importo(hopper[0] + hopper[1] + hopper[2]),
                      Importo(V(r, "cassetto")),
                      Importo(V(r, "cassetto") - V(r, "Ammanchi")),
                      Importo(V(r, "variazionehopper")),
                      Importo(V(r, "totaletasse")),
                      Importo(utile),
                      Importo(V(r, "IncassoVs")),
                      Importo(V(r, "IncassoNs")),
                      Importo(V(r, "Parzialein")),
                      Importo(V(r, "Parzialeout")),
                      Importo(V(r, "ContatoreIn")),
                      Importo(V(r, "ContatoreOUT"))};
        }
        s.pannello.righe << tab.riga(giornoRiga, valori);

        s.hopper.righe << tabHopper.riga(
            giornoRiga,
            {Importo(hopper[0]), Importo(hopper[1]), Importo(hopper[2]),
             Importo(hopper[0] + hopper[1] + hopper[2]), Importo(V(r, "variazionehopper"))});
        const Dec cassa = V(r, "cassetto");
        const Dec giorni = V(r, "NumGiorniIncasso");
        s.cassetto.righe << tabCassetto.riga(
            giornoRiga, {Importo(cassa), Importo(V(r, "Ammanchi")),
                         Importo(cassa - V(r, "Ammanchi")), FormatoNumero(giorni.toDouble(), 0),
                         giorni.zero() ? QString() : Importo((cassa / giorni).arrotonda(2))});
    }
    return s;
}

}  // namespace incassi
