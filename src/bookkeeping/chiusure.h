#pragma once

// Closing and reopening advances and refills, the latest-document test of a
// machine, and the machine card's update by a collection and its restoration
// by a deletion. Every statement runs through the host; callers run them
// inside the save's or the deletion's transaction. A header changed here takes
// a new version, so a window still showing the old one cannot save over it.

#include <QDate>
#include <QString>
#include <initializer_list>

namespace incassi {

class Host;
class RecordSet;

// The advance (ACC) and refill (REF) rows of machine `scheda` dated on or
// before `data` and still open are settled by collection `chiusura`.
void ChiudiAcconto(Host& host, qlonglong chiusura, qlonglong scheda, const QDate& data);
void ChiudiRefill(Host& host, qlonglong chiusura, qlonglong scheda, const QDate& data);
// The rows collection `chiusura` settled open again (a refill keeps its IdChiusura).
void RiapriAcconto(Host& host, qlonglong chiusura, qlonglong scheda);
void RiapriRefill(Host& host, qlonglong chiusura, qlonglong scheda);
// The advance headers collection `chiusura` settled open again.
void RiapriAccontoT(Host& host, qlonglong chiusura);

// The venue's open advance headers of `causale` ("ACC" or "ACL") dated on or
// before the collection and with a lower id are settled by it; for ACC the
// headers' Chiuso flags then follow their rows.
void ChiudiTesteAcconti(Host& host, const QString& causale, qlonglong chiusura,
                        const QString& codLocale, const QDate& data);
// A closed ACC header with an open row opens again; an open one whose rows
// are all closed is closed.
void RicalcolaChiusoAcconti(Host& host);

// Whether a document of `causale` dated `data` at `codLocale` is the latest
// for the machine: the machine stands at the venue and no later document of
// the kinds that would make this one stale exists.
bool UltimoDocumento(Host& host, qlonglong scheda, const QDate& data, const QString& causale,
                     const QString& codLocale);

// The machine card after a collection row: last reading date, meters and the
// money in each hopper (and, when asked, the money loaded in each hopper).
void AggiornaScheda(Host& host, RecordSet& riga, const QDate& data, bool meters, bool caricati);

enum class Ripristino {
    Contatori,           // meters and date from the previous reading
    HopperDaLivelli,     // the hoppers' money from the row's own levels
    HopperDaPrecedenti,  // the hoppers' money from the previous levels
    Caricati,            // the money loaded in the hoppers from the previous levels
};
// Puts a machine card back as it was before a deleted collection row.
void RipristinaScheda(Host& host, RecordSet& riga, std::initializer_list<Ripristino> cosa);

}  // namespace incassi
