#pragma once

// Bulk writing of generated documents: one prepared insert per document table,
// values bound by position, commits every so many rows. Header ids are handed
// out here, so rows can point to a document before it is written.

#include <QDate>
#include <QHash>
#include <QSqlQuery>
#include <QVariant>
#include <array>
#include <memory>
#include <vector>

namespace incassi {
class Database;
}

namespace incassi::schema::gen {

// The columns written, in insert order; each list defines an enum and names.
// clang-format off
#define INCASSI_COLONNE_TESTATA(X) \
    X(id) X(CodLocale) X(CodCausale) X(DataRegistrazione) X(CodiceAzienda) X(Descrizione) \
    X(CodEsattore) X(CodAGente) X(idOnda) X(Chiuso) X(TipologiaIncasso) X(IncassoTasse) \
    X(GestioneDenaro) X(TerzoGestore) X(Riscosso) X(Acconto) X(RefillNoleggiatore) X(VarPrestito) \
    X(VarDebito) X(Rimanenza) X(VersatoALocale) X(UtileLocale) X(UtileNoleggiatore) X(TotDaDividere) \
    X(TotIntrodotto) X(TotUscite) X(TotPreu) X(TotAAMS) X(TotRete) X(TotTasse) X(QuotaConcessionario) \
    X(QuotaNolTeorica) X(DaRiscuotereTeorica) X(DaRiscuotere) X(iddata) X(idoperatore)

#define INCASSI_COLONNE_INCASSO(X)                                                                \
    X(IdTesta)                                                                                    \
    X(Riga)                                                                                       \
    X(DataIncasso)                                                                                \
    X(CodLocale)                                                                                  \
    X(CodiceAzienda)                                                                              \
    X(linkscheda) X(LinkApparecchio) X(CodArticolo) X(CatApparecchio) X(Descrizione) X(NomeGioco) \
        X(CodiceInterno) X(CodiceAAMS) X(TipoIncasso) X(CodConcessionario) X(Contratto)           \
            X(VecchioContatoreIN) X(VecchioContatoreOut) X(ContatoreIN) X(ContatoreOUT)           \
                X(MoltiplicatoreIn) X(Moltiplicatoreout) X(ParzialeIn) X(ParzialeOUT) X(Forzato)  \
                    X(DataVecchioContatore) X(NumGiorniIncasso) X(PercPreu) X(PercAAMS)           \
                        X(TipoRete) X(PercRete) X(Preu) X(AAMS) X(Rete) X(Totaletasse)            \
                            X(LivelloH1) X(LivelloH2) X(LivelloH3) X(TipoH1) X(TipoH2) X(TipoH3)  \
                                X(HopperOLD1) X(HopperOLD2) X(HopperOLD3) X(VariazioneHopper)     \
                                    X(RefillGestore) X(RefillLocale) X(acconti) X(Cassetto)       \
                                        X(Ammanchi) X(Furti) X(TipoCalcolo) X(PercLocale)         \
                                            X(PercNoleggiatore) X(IncassoVs) X(IncassoNs)         \
                                                X(QuotaConcess) X(Chiuso) X(IdChiusura) X(iddata) \
                                                    X(idoperatore)

#define INCASSI_COLONNE_RIGA(X) \
    X(IdTesta)                  \
    X(Riga)                     \
    X(Data) X(CodLocale) X(CodConto) X(Descrizione) X(Dare) X(Avere) X(iddata) X(idoperatore)

#define INCASSI_COLONNE_CONTATORE(X)                                                            \
    X(IdTesta)                                                                                  \
    X(linkscheda)                                                                               \
    X(linkcontatore)                                                                            \
    X(NumeroContatore)                                                                          \
    X(tipocontatore)                                                                            \
    X(moltiplicatore) X(DataContatore) X(vecchiocontatore) X(DataVecchioContatore) X(contatore) \
        X(ContatoreAttuale) X(Parziale) X(iddata) X(idoperatore)
// clang-format on

#define INCASSI_ENUM(n) n,
namespace colT {
enum Colonna { INCASSI_COLONNE_TESTATA(INCASSI_ENUM) N };
}
namespace colI {
enum Colonna { INCASSI_COLONNE_INCASSO(INCASSI_ENUM) N };
}
namespace colR {
enum Colonna { INCASSI_COLONNE_RIGA(INCASSI_ENUM) N };
}
namespace colC {
enum Colonna { INCASSI_COLONNE_CONTATORE(INCASSI_ENUM) N };
}
#undef INCASSI_ENUM

// One row of a table: a value per column, Null where nothing is written.
template <int N>
struct Valori {
    std::array<QVariant, N> v;
    QVariant& operator[](int c) { return v[size_t(c)]; }
    const QVariant& operator[](int c) const { return v[size_t(c)]; }
};

struct Documento {
    Valori<colT::N> testata;
    std::vector<Valori<colI::N>> incassi;
    std::vector<Valori<colR::N>> righe;
    std::vector<Valori<colC::N>> contatori;
};

class ScrittoreDocumenti {
  public:
    // Commits (or releases the savepoint, inside an outer transaction) every
    // `righePerBlocco` rows.
    explicit ScrittoreDocumenti(Database& db, qint64 righePerBlocco = 200000);
    ~ScrittoreDocumenti();
    ScrittoreDocumenti(const ScrittoreDocumenti&) = delete;
    ScrittoreDocumenti& operator=(const ScrittoreDocumenti&) = delete;

    qint64 nuovoId() { return ++ultimoId_; }
    // A day and a timestamp as the engine stores them, converted once: the
    // same few values fill millions of rows.
    const QVariant& data(const QDate& d);
    const QVariant& istante(const QDate& d, const QTime& t);
    // Writes the header and its rows; each row's IdTesta is set to the header id.
    void scrivi(Documento& d);
    // Opens the block when none is open, so other statements can join it.
    void apri();
    // Commits what is still open.
    void concludi();

    qint64 documenti() const { return documenti_; }
    qint64 righe() const { return righe_; }  // rows of every table

  private:
    struct Inserimento;

    Database& db_;
    qint64 perBlocco_;
    qint64 ultimoId_ = 0;
    qint64 documenti_ = 0, righe_ = 0, nelBlocco_ = 0;
    bool aperto_ = false;
    QHash<QDate, QVariant> date_;
    QHash<qint64, QVariant> istanti_;
    std::unique_ptr<Inserimento> testate_, incassi_, righeNota_, contatori_;
};

}  // namespace incassi::schema::gen
