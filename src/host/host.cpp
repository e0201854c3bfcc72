#include "host/host.h"

#include "values/error.h"
#include "values/values.h"

namespace incassi {

bool Host::LeggiFlag(const QString& section, const QString& key, bool defaultValue) {
    return Flag(LeggiSettaggio(section, key, defaultValue ? -1 : 0));
}

bool Host::HaColonna(const QString& table, const QString& column) {
    for (const ColumnInfo& c : Colonne(table)) {
        if (c.name.compare(column, Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

QString Host::Campo(const QString& table, const QString& column) {
    for (const ColumnInfo& c : Colonne(table)) {
        if (c.name.compare(column.trimmed(), Qt::CaseInsensitive) == 0) return c.name;
    }
    throw Errore(QStringLiteral("Il campo '%1' non esiste nella tabella %2").arg(column, table));
}

TransazioneHost::~TransazioneHost() {
    if (!done_) {
        try {
            host_.RollbackTrans();
        } catch (...) {
            // Nothing more can be undone here.
        }
    }
}

void TransazioneHost::commit() {
    host_.CommitTrans();
    done_ = true;
}

}  // namespace incassi
