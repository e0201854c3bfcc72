#include "wizards/wizardsala.h"

#include "host/host.h"
#include "values/error.h"
#include "values/sqlquote.h"
#include "values/values.h"

namespace incassi {

namespace {

Dec Cella(const RecordSet& rs, const QString& campo) {
    return Dec::DaCella(rs.Value(campo));
}

}  // namespace

FrmWizardSala::FrmWizardSala(Host& host, QString codLocale, QDate data, QDate dataIncasso)
    : host_(host),
      codLocale_(std::move(codLocale).trimmed()),
      data_(data),
      dataIncasso_(dataIncasso.isValid() ? dataIncasso : data) {}

const QStringList& FrmWizardSala::Colonne() {
    static const QStringList kColonne = {
        "Apparecchio",       "Hopper",        "Parziale In",  "Parziale OUT",    "Data Rilevazione",
        "Vecchio Hopper",    "Cassetto",      "Ammanco",      "LinkApparecchio", "LinkScheda",
        "LinkHopper",        "LinkContatore", "Contatore In", "Contatore OUT",   "Old Contatore In",
        "Old Contatore OUT", "Acconti",       "Refill"};
    return kColonne;
}

void FrmWizardSala::Carica() {
    righe_.clear();
    if (codLocale_.isEmpty() || !data_.isValid()) return;
    auto macchine = host_.OpenRecordSet(
        QStringLiteral(
            "SELECT MagSchede.*, MagProdottoDistinta.IdProdottoFinito, "
            "MagProdottoFinito.OrdineIncasso FROM (MagSchede INNER JOIN MagProdottoDistinta ON "
            "MagSchede.id = MagProdottoDistinta.linkScheda) INNER JOIN MagProdottoFinito ON "
            "MagProdottoDistinta.IdProdottoFinito = MagProdottoFinito.id Where "
            "(((MagSchede.CodLocale) = '%1')) and (MagSchede.TipologiaIncasso=6) ORDER BY "
            "MagProdottoFinito.OrdineIncasso;")
            .arg(sql::Raddoppia(codLocale_)));
    for (; !macchine->Eof(); macchine->MoveNext()) {
        const RecordSet& m = *macchine;
        RigaSala r;
        const QString aams = Txt(m.Value(QStringLiteral("CodiceAAMS")));
        r.apparecchio = Txt(m.Value(QStringLiteral("nomegioco"))) + QStringLiteral(" - ") + aams;
        r.vecchioHopper = Cella(m, QStringLiteral("attualeh1")) +
                          Cella(m, QStringLiteral("attualeh2")) +
                          Cella(m, QStringLiteral("attualeh3"));
        r.linkApparecchio = m.Value(QStringLiteral("IdProdottoFinito")).toLongLong();
        r.linkScheda = m.Value(QStringLiteral("id")).toLongLong();
        r.vecchioIn = Cella(m, QStringLiteral("cntotin"));
        r.vecchioOut = Cella(m, QStringLiteral("cntotout"));

        // The hall's latest hopper document since the day.
        auto hop = host_.OpenRecordSet(
            QStringLiteral("SELECT NoteIncassi.* FROM NoteIncassi INNER JOIN NoteTeste ON "
                           "NoteIncassi.IdTesta = NoteTeste.id WHERE "
                           "(((NoteTeste.CodCausale)='hop')) AND NoteIncassi.LinkScheda=%1 and "
                           "DataIncasso>=%2 ORDER BY DataIncasso DESC")
                .arg(r.linkScheda)
                .arg(sql::Data(data_)));
        if (!hop->Eof()) {
            Dec h;
            for (const char* n : {"1", "2", "3"})
                h += Cella(*hop, QStringLiteral("LivelloH") + QLatin1String(n)) *
                     Cella(*hop, QStringLiteral("TipoH") + QLatin1String(n));
            r.hopper = h.arrotonda(2).toDouble();
            r.linkHopper = hop->Value(QStringLiteral("id"));
        }

        // The first reading on or after the day; the partials against the
        // card's meters, scaled as the collection scales them.
        auto lettura = host_.OpenRecordSet(
            QStringLiteral("SELECT * FROM contatori where codiceaams='%1' and DataContatore>=%2 "
                           "order by DataContatore asc")
                .arg(sql::Raddoppia(aams), sql::Data(data_)));
        if (!lettura->Eof()) {
            r.dataRilevazione = lettura->Value(QStringLiteral("DataContatore")).toDate();
            r.linkContatore = lettura->Value(QStringLiteral("id"));
            r.contatoreIn = lettura->Value(QStringLiteral("cntotin"));
            r.contatoreOut = lettura->Value(QStringLiteral("cntotout"));
            auto scala = [&](const char* campo) {
                const QVariant v = m.Value(QLatin1String(campo));
                return IsNull(v) ? Dec(1) : Dec::DaCella(v);
            };
            r.parzialeIn = ((Dec::DaCella(r.contatoreIn) - r.vecchioIn) * scala("MoltiplicatoreIn"))
                               .arrotonda(2)
                               .toDouble();
            r.parzialeOut =
                ((Dec::DaCella(r.contatoreOut) - r.vecchioOut) * scala("Moltiplicatoreout"))
                    .arrotonda(2)
                    .toDouble();
        }
        righe_.push_back(std::move(r));
    }
}

FrmWizardSala::Totali FrmWizardSala::totali() const {
    Totali t;
    for (const RigaSala& r : righe_) {
        ++t.apparecchi;
        t.vecchioHopper += r.vecchioHopper;
        if (!IsNull(r.parzialeIn)) {
            ++t.conLettura;
            t.parzialeIn += Dec::DaCella(r.parzialeIn);
            t.parzialeOut += Dec::DaCella(r.parzialeOut);
        }
        if (!IsNull(r.hopper)) {
            ++t.conHopper;
            t.hopper += Dec::DaCella(r.hopper);
        }
    }
    return t;
}

bool FrmWizardSala::Comando(const QString& nome) {
    auto e = [&](const char* c) {
        return nome.compare(QLatin1String(c), Qt::CaseInsensitive) == 0;
    };
    if (e("CmdAvanti")) {
        if (pagina_ == 0)
            pagina_ = 1;
        else
            chiusa_ = true;
        return true;
    }
    if (e("CmdIndietro")) {
        if (pagina_ == 0) return false;
        pagina_ = 0;
        return true;
    }
    if (e("CmdAnnulla")) {
        chiusa_ = true;
        return true;
    }
    if (e("CmdCreaIncasso")) {
        if (righe_.empty() || !creaIncasso) return false;
        std::vector<qlonglong> schede;
        for (const RigaSala& r : righe_)
            schede.push_back(r.linkScheda);
        creaIncasso(codLocale_, dataIncasso_, schede);
        chiusa_ = true;
        return true;
    }
    throw Errore(QStringLiteral("Comando sconosciuto nel wizard della sala: %1").arg(nome));
}

bool FrmWizardSala::Timer() {
    if (!chiusa_ && host_.ChiudiFinestre()) chiusa_ = true;
    return chiusa_;
}

}  // namespace incassi
