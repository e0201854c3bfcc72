#pragma once

// The UI port of tests and scenario runs: it gives queued answers and records
// every question. A message box with the OK button alone needs no answer (it
// has only one); any other question takes the next answer of its queue, and
// an empty queue or an answer that is not one of the buttons throws Errore
// naming the question, so a run never hangs and never guesses.

#include <QStringList>
#include <deque>
#include <vector>

#include "window/uiport.h"

namespace incassi {

struct MessaggioRegistrato {
    QString testo;
    QString titolo;
    Icona icona = Icona::Nessuna;
    Pulsanti pulsanti = Pulsanti::Ok;
    std::optional<Risposta> predefinita;
    Risposta risposta = Risposta::Ok;
};

struct SceltaRegistrata {
    QString titolo;        // pick list title, or the search dialog's Caption
    QString chiaveElenco;  // list key, or the search dialog's Modulo
    QString campoChiave;   // key field, or CampoRicerca
    bool sceltaMultipla = false;
    int righe = 0;  // rows of the record set shown (-1 when there was none)
    QString risposta;
};

class ScriptedUi : public UiPort {
  public:
    // Answers, taken in order by their kind of question.
    ScriptedUi& rispondi(Risposta r);
    ScriptedUi& rispondiElenco(const QString& chiavi);
    ScriptedUi& rispondiRicerca(const QString& chiave);
    ScriptedUi& rispondiFile(const QString& percorso);

    Risposta Messaggio(const QString& testo, const QString& titolo, Icona icona, Pulsanti pulsanti,
                       std::optional<Risposta> predefinita) override;
    QString ElencoScelta(const RecordSetPtr& rs, const QString& titolo, const QString& chiaveElenco,
                         const QString& campoChiave, bool sceltaMultipla) override;
    QString Ricerca(const RichiestaRicerca& richiesta) override;
    QString ApriFile(const QString& titolo, const QString& cartella,
                     const QString& filtro) override;
    QString SalvaFile(const QString& titolo, const QString& percorsoProposto,
                      const QString& filtro) override;
    bool ApriConProgramma(const QString& percorso) override;

    // What was asked, in order.
    const std::vector<MessaggioRegistrato>& messaggi() const { return messaggi_; }
    const std::vector<SceltaRegistrata>& elenchi() const { return elenchi_; }
    const std::vector<RichiestaRicerca>& ricerche() const { return ricerche_; }
    const QStringList& dialoghiFile() const { return dialoghiFile_; }  // their titles
    const QStringList& fileAperti() const { return fileAperti_; }
    // Answers prepared but not used: a test usually expects none left.
    int risposteRimaste() const;

  private:
    QString prossimoFile(const QString& titolo);

    std::deque<Risposta> risposte_;
    std::deque<QString> elenco_;
    std::deque<QString> ricerca_;
    std::deque<QString> file_;
    std::vector<MessaggioRegistrato> messaggi_;
    std::vector<SceltaRegistrata> elenchi_;
    std::vector<RichiestaRicerca> ricerche_;
    QStringList dialoghiFile_;
    QStringList fileAperti_;
};

}  // namespace incassi
